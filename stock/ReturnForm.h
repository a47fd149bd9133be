#pragma once

#include "CarMoves.h"
#include "ChildForm.h"
#include "DBControls.h"
#include "DateEdit.h"

#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPair>
#include <QPlainTextEdit>
#include <QToolButton>
#include <functional>
#include <optional>

// What sets the return to a provider apart from the return by a customer.
struct ReturnKind {
    QString objectName, caption;
    CarReturn move; // what the return writes, its stock record's table among it
    // The names of the record's data set and data source.
    QString recordName, recordSource;
    QList<QPair<QString, QString>> headerFields; // caption, field of the record
    QString modelCaption;
    QString carScope;         // the cars the picker offers: a condition on carinfor
    QString question;
};

// One car returned: to its provider (Tfbackprov) or by its customer
// (Tfcustback). The car is chosen with the car picker; the return (returnCar
// of CarMoves.h) sets its state and reason, books a verified refund in the
// partner's ledger and puts the return's date and handler on the car's stock
// record, all in one transaction.
class TReturnForm : public ChildForm {
    Q_OBJECT
public:
    TReturnForm(const ReturnKind &kind, QWidget *parent = nullptr);

    // Chooses one car of the scope (a condition on carinfor): its serial, or
    // nothing on Cancel. Tests put a stand-in here; by default the car picker.
    using CarPicker = std::function<std::optional<QString>(QWidget *owner, const QString &scope)>;
    static CarPicker &carPicker();

    DataSet *tb_record; // tb_carin / tb_carout
    DataSource *ds_record;
    DataSet *tb_carinfor;
    DataSource *ds_carinfor;
    DateEdit *DateEdit1;
    QLineEdit *Edit1;
    QPlainTextEdit *Memo1;
    QLabel *Label21; // the operator
    QToolButton *SpeedItem1, *SpeedItem2, *SpeedItem3;

    void SpeedItem1Click();
    void SpeedItem2Click();
    // Shows the car: its latest stock record and its own row.
    void showCar(const QString &serial);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void closeCar();

    const ReturnKind m_kind;
};
