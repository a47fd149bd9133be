#pragma once

#include "Codes.h"
#include "DBGrid.h"

#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlRecord>
#include <optional>

// Which cars a caller lets the user choose from: a condition on the columns
// of carinfor, without "where". The picker keeps it in parentheses, so the
// typed prefixes narrow it and never widen it.
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
// With a car charge in the provider or customer ledger still to be verified.
// Written as a set read once through the ledger's isprepay index: as a
// correlated "exists" the planner took that index for every car.
inline const QString UnverifiedPurchase =
    QStringLiteral("carserial_no in (select certificate_no from cprovaccount where isprepay=")
    + sqlCode(EntryKind::CarCharge) + QStringLiteral(" and not isaffirm and not ischeck)");
inline const QString UnverifiedSale =
    QStringLiteral("carserial_no in (select certificate_no from ccustaccount where isprepay=")
    + sqlCode(EntryKind::CarCharge) + QStringLiteral(" and not isaffirm and not ischeck)");

} // namespace CarScope

// 选车: a modal dialog listing the cars of the caller's scope, narrowed by
// the typed beginnings of the serial and the chassis number.
class Tfselecar : public QDialog {
    Q_OBJECT
public:
    explicit Tfselecar(QWidget *owner = nullptr);
    static constexpr int PageSize = 200;

    // Fixed for the dialog's life; before pick(). The default is InStock.
    void setScope(const QString &condition) { m_scope = condition; }
    const QString &scope() const { return m_scope; }

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

    // Lists the scope's cars whose serial and chassis begin with the typed texts.
    void Edit1Change();
    void BitBtn1Click();

    // The statement the list runs, with its bound values (also for the benchmark).
    static QString listSql(const QString &scope);

private:
    QString m_scope = CarScope::InStock;
};

// Opens the car picker over the owner with the caller's scope and returns the
// chosen car's row. The dialog is the owner's child: an owner freed while it
// runs takes the dialog with it, so it lives on the heap.
std::optional<QSqlRecord> pickCar(QWidget *owner, const QString &scope = CarScope::InStock);
