#pragma once

#include "Codes.h"
#include "ContractForm.h"

#include <QMenu>

// The entry of new contracts: one contract at a time is added, filled with its
// lines, and then saved, started or discarded.
class TContractEntry : public TContractForm {
    Q_OBJECT
public:
    TContractEntry(const ContractKind &kind, QWidget *parent = nullptr);

    // Stores the contract and its lines with the given state.
    SaveResult SaveContract(ContractProgress state = ContractProgress::Saved);
    void DiscardContract();
    void SetContractEditing(bool editing);

    ComboEdit *ComboEdit1;
    QMenu *PopupMenu1;
    QAction *N1, *N2, *N3, *N4;
    QToolButton *SpeedItem1, *SpeedItem2, *SpeedItem3, *SpeedItem5, *SpeedItem4, *SpeedItem7;

    void SpeedItem1Click();
    void SpeedItem2Click();
    void SpeedItem3Click();
    void SpeedItem5Click();
    void SpeedItem4Click();
    void ComboEdit1ButtonClick();
    void ComboEdit1Exit();
    void DBGrid1Enter();
    void N1Click();
    void N2Click();
    void N3Click();
    void N4Click();

protected:
    QString closeQuestion() const override { return m_kind.closeQuestion; }
    SaveResult saveDocument() override { return SaveContract(ContractProgress::Saved); }

private:
    void FormCreate();
    void loadPickLists(const QString &modelsSql, const QVariantMap &binds);
    // Offers to print the saved contract, then ends it in the window.
    void finishAndOfferPrint();

    bool m_popupOn = false;
    bool m_lookingUp = false;
};
