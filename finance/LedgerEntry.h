#pragma once

#include "ContractPicker.h"
#include "DBControls.h"
#include "DocumentForm.h"
#include "Ledger.h"
#include "PartnerPicker.h"
#include "SpeedBar.h"

#include <QLabel>
#include <QStatusBar>
#include <functional>
#include <optional>

// What sets the payment, prepayment and advanced-fee windows apart.
struct LedgerEntryKind {
    QString objectName, caption; // the caption is also the status-bar text
    const LedgerSide *side = nullptr;
    QString tableName, sourceName; // object names of the table and its data source
    QString codeLabel, nameLabel, codeMissing, codeNotFound;
    std::function<std::optional<PickedPartner>(QWidget *owner)> pickPartner;
    QStringList typeItems; // the type list; none: the type is fixedType
    QString fixedType;
    QString amountLabel, amountField, amountMissing;
    QString dateLabel;
    // The entry belongs to a contract of the partner (its register's contracts).
    bool withContract = false;
    QString contractNotFound, contractNotOwner;
    // Picks a contract of any state; its paper number, or nothing.
    std::function<std::optional<QString>(QWidget *owner)> pickContract;
    EntryKind entryKind = EntryKind::Payment;
    bool feesButton = false;  // "代垫费用" opens an advanced-fee window
    bool centred = false;     // opens in the middle of the screen
};

// Lets the user pick a contract of any state with the picker of that class:
// its paper number, or nothing.
template <class Picker>
std::optional<QString> pickContractNumber(QWidget *owner)
{
    if (const auto picked = pickContract<Picker>(owner, ContractScope::All))
        return picked->contractNo;
    return std::nullopt;
}

// What the customer windows share: the ledger, the partner and its messages.
LedgerEntryKind customerEntryKind();

// The entry of money paid or received, one ledger row at a time: add draws
// the number and stores the row, the user fills it in, save stores it
// verified and open, cancel deletes it and gives the number back.
class TLedgerEntry : public DocumentForm {
    Q_OBJECT
public:
    TLedgerEntry(const LedgerEntryKind &kind, QWidget *parent = nullptr);

    SaveResult SaveLedgerEntry();
    void CancelLedgerEntry();
    void SetLedgerEntryEditing(bool editing);

    DataSet *table() const { return m_table; }

    DBText *DBText1;
    QLabel *Label10;
    ComboEdit *ComboEdit1;
    DBEdit *DBEdit1;
    DBComboBox *DBComboBox1 = nullptr;
    DBEdit *DBEdit2;
    ComboEdit *ComboEdit2 = nullptr;
    DBEdit *DBEdit3;
    DBEdit *DBEdit4;
    DBDateEdit *DBDateEdit1;
    DBDateEdit *DBDateEdit2;
    DBEdit *DBEdit5;
    DBMemo *DBMemo1;
    QToolButton *SpeedItem1, *SpeedItem5, *SpeedItem3, *SpeedItem7;
    QToolButton *SpeedItem2 = nullptr;
    QStatusBar *StatusBar1;

    void SpeedItem1Click();
    void SpeedItem5Click();
    void SpeedItem3Click();
    void ComboEdit1ButtonClick();
    void ComboEdit1Exit();
    void ComboEdit2ButtonClick();
    void ComboEdit2Exit();

protected:
    QString closeQuestion() const override { return QStringLiteral("是否保存?"); }
    SaveResult saveDocument() override { return SaveLedgerEntry(); }
    void discardDocument() override { CancelLedgerEntry(); }
    void showEvent(QShowEvent *event) override;

private:

    const LedgerEntryKind m_kind;
    DataSet *m_table;
    DataSource *m_source;
    bool m_centred = false;
};
