#pragma once

#include "Codes.h"
#include "DBGrid.h"
#include "ListStatement.h"

#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlRecord>
#include <QStringList>
#include <optional>

// What the car picker lists: a statement over carinfor that ends in its
// where clause, and the key that tells its lines apart. The picker narrows
// the where clause by the typed prefixes and never widens it.
struct CarList {
    // The picker's own list: the cars in stock.
    CarList();
    // The cars whose columns meet the condition (on carinfor, without
    // "where"), each once; the condition is kept in parentheses.
    CarList(const QString &condition);
    // One line per unverified, open car charge of the ledger (its table and
    // entry number), in entry order: a car with two such charges is listed twice.
    static CarList unverifiedCharges(const QString &ledger, const QString &entryKey);

    QString sql;
    QStringList keys;

private:
    CarList(const QString &sql, const QStringList &keys) : sql(sql), keys(keys) {}
};

// Which cars a caller lets the user choose from.
namespace CarScope {

// In stock: bought in, or returned by a customer (the car sale, the return to
// a provider). It is written as the partial index of carinfor reads it.
inline const QString InStock =
    QStringLiteral("carstatus in ") + sqlCodes({CarStatus::InStock, CarStatus::ReturnedByCustomer});
// Taken in through an in-stock record and never sold (the direct costs).
inline const QString Received =
    InStock + QStringLiteral(" and carstatus=") + sqlCode(CarStatus::InStock)
    + QStringLiteral(" and exists (select 1 from carinstock where carinstock.carserial_no=carinfor.carserial_no)");
// Sold (the services and presents, the return from a customer).
inline const QString Sold = QStringLiteral("carstatus=") + sqlCode(CarStatus::Sold);
// The car charges of the provider or customer ledger still to be verified.
inline const CarList UnverifiedPurchase =
    CarList::unverifiedCharges(QStringLiteral("cprovaccount"), QStringLiteral("paccountid"));
inline const CarList UnverifiedSale =
    CarList::unverifiedCharges(QStringLiteral("ccustaccount"), QStringLiteral("caccountid"));

} // namespace CarScope

// 选车: a modal dialog listing the cars of the caller's scope, narrowed by
// the typed beginnings of the serial and the chassis number.
class Tfselecar : public QDialog {
    Q_OBJECT
public:
    explicit Tfselecar(QWidget *owner = nullptr);
    static constexpr int PageSize = 200;

    // Fixed for the dialog's life; before pick(). The default is InStock.
    void setScope(const CarList &list) { m_list = list; }
    const CarList &scope() const { return m_list; }

    // The caller's steps in one: open the list, show the dialog, read the
    // chosen car's row. Nothing on Cancel, Escape or an empty list, nor when
    // the dialog was freed while it ran.
    std::optional<QSqlRecord> pick();

    DataSet *query1;
    DataSource *DataSource1;
    QLineEdit *Edit1; // serial prefix
    QLineEdit *Edit2; // chassis prefix
    DBGrid *DBGrid1;
    QPushButton *BitBtn1; // 确定
    QPushButton *BitBtn2; // 取消

    // The scope's cars whose serial and chassis begin with the typed texts.
    static ListStatement listStatement(const CarList &scope, const QString &serial, const QString &chassis);
    // Lists them.
    void Edit1Change();
    void BitBtn1Click();

private:
    CarList m_list;
};

// Opens the car picker over the owner with the caller's scope and returns the
// chosen car's row. The dialog is the owner's child: an owner freed while it
// runs takes the dialog with it, so it lives on the heap.
std::optional<QSqlRecord> pickCar(QWidget *owner, const CarList &scope = CarScope::InStock);
