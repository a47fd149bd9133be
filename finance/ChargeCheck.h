#pragma once

#include "ChildForm.h"
#include "DBControls.h"
#include "Ledger.h"
#include "SpeedBar.h"
#include "Uselecar.h"

#include <QLabel>
#include <QStatusBar>

// One labelled field of the record or car pane.
struct CheckField {
    const char *label;
    const char *name; // object name of its edit
    const char *field;
};

// What sets the in-stock verification apart from the sale verification.
struct ChargeCheckKind {
    QString objectName, caption, statusText;
    const LedgerSide *side = nullptr;
    CarList carScope; // the car charges of this ledger still to verify
    QString recordTable, recordName, recordSource; // the stock record of the car
    QString ledgerName, ledgerSource;
    QList<CheckField> recordFields;
    QString handlerLabel, invoiceLabel, dateField;
    bool invoiceEditable = false;
};

// The financial verification of car charges: the user picks a car with an
// unverified charge, checks what its stock record holds, and confirms the
// charge with a handler and a date. Only then does the charge count in the
// partner's balance.
class TChargeCheck : public ChildForm {
    Q_OBJECT
public:
    TChargeCheck(const ChargeCheckKind &kind, QWidget *parent = nullptr);

    // Stored when the charge was confirmed.
    SaveResult ConfirmCharge();
    void SetVerifyEditing(bool editing);

    DataSet *record() const { return m_record; }
    DataSet *car() const { return m_car; }
    DataSet *ledger() const { return m_ledger; }

    DBText *DBText1;
    QLabel *Label16;
    DBEdit *DBEdit5;  // invoice
    DBEdit *DBEdit13; // handler
    DBDateEdit *DBDateEdit1;
    QToolButton *SpeedItem1, *SpeedItem2, *SpeedItem3, *SpeedItem4;
    QStatusBar *StatusBar1;

    void SpeedItem1Click();
    void SpeedItem2Click();
    void SpeedItem3Click();
    // Opens the records of the car with this serial and its first unverified
    // charge for editing; what the pick does once a car is chosen.
    void openCar(const QString &serial);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void cancelCharge();
    // Puts the record pane on the stock record that booked the current charge.
    void showBookingRecord();

    const ChargeCheckKind m_kind;
    DataSet *m_record;
    DataSet *m_car;
    DataSet *m_ledger;
};
