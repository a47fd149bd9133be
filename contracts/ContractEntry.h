#pragma once

#include "DBControls.h"
#include "DBGrid.h"
#include "DocumentForm.h"
#include "PartnerPicker.h"
#include "SpeedBar.h"

#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <functional>
#include <optional>

class BandedReport;

// What sets the purchase contract window apart from the sales contract window.
struct ContractKind {
    QString objectName;
    QString caption; // also the status-bar text
    QString masterTable, linesTable;
    QString masterName, linesName, masterSource, linesSource; // object names
    DocumentNumbering numbering;
    QString codeField, nameField;
    QString codeLabel, nameLabel;
    QString nameLookup, lookupParam; // the party's name by its code
    QString codeMissing, codeNotFound;
    // Purchase: the car-model pick list holds the provider's models and both
    // lists load when a known provider code is left; sales: every model, loaded
    // when a contract is added.
    bool providerModels = false;
    QString deliveryLabel, modelTitle, startCaption, printCaption;
    bool settleModeFreeText = false;
    QString closeQuestion;
    QString emptyLinesDelete; // lines without a quantity go at save, :aa the serial
    std::function<std::optional<PickedPartner>(QWidget *owner)> pick;
    void (*print)(QWidget *owner, const QString &serial) = nullptr;
};

// The entry of new contracts: one contract at a time is added, filled with its
// lines, and then saved (state 0), started (state 1) or discarded.
class TContractEntry : public DocumentForm {
    Q_OBJECT
public:
    TContractEntry(const ContractKind &kind, QWidget *parent = nullptr);

    // 0 when the contract and its lines were stored with the given state, 1
    // when a check refused it (message shown, focus on the field to mend).
    int SaveContract(int state = 0);
    void DiscardContract();
    void SetContractEditing(bool editing);

    DataSet *master() const { return m_master; }
    DataSet *lines() const { return m_lines; }

    DBText *DBText1;
    QLabel *Label19;
    ComboEdit *ComboEdit1;
    DBEdit *DBEdit1;
    DBComboBox *DBComboBox1;
    DBComboBox *DBComboBox2;
    DBEdit *DBEdit9;
    DBDateEdit *DBDateEdit1;
    DBEdit *DBEdit6;
    DBEdit *DBEdit8;
    DBGrid *DBGrid1;
    DBEdit *DBEdit13;
    DBDateEdit *DBDateEdit3;
    DBEdit *DBEdit10;
    DBMemo *DBMemo1;
    DBEdit *DBEdit7;
    QMenu *PopupMenu1;
    QAction *N1, *N2, *N3, *N4;
    QToolButton *SpeedItem1, *SpeedItem2, *SpeedItem3, *SpeedItem5, *SpeedItem4, *SpeedItem7;
    QStatusBar *StatusBar1;

    void SpeedItem1Click();
    void SpeedItem2Click();
    void SpeedItem3Click();
    void SpeedItem5Click();
    void SpeedItem4Click();
    void ComboEdit1ButtonClick();
    void ComboEdit1Exit();
    void DBGrid1Enter();
    void DBGrid1KeyPress();
    void N1Click();
    void N2Click();
    void N3Click();
    void N4Click();

protected:
    QString closeQuestion() const override { return m_kind.closeQuestion; }
    int saveDocument() override { return SaveContract(0); }
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    // The party's name by its code; nothing when the code is not in the register.
    std::optional<QString> partyName(const QString &code) const;
    bool refuse(const QString &message, QWidget *field);
    void loadPickLists(const QString &modelsSql, const QVariantMap &binds);
    // Ends the contract in the window and then offers to print it.
    void finishAndOfferPrint();
    void selectCell(int row, const QString &field);
    // A new line with its car-type cell selected.
    void appendLine();
    bool linesPass();

    const ContractKind m_kind;
    DataSet *m_master;
    DataSource *m_masterSource;
    DataSet *m_lines;
    DataSource *m_linesSource;
    bool m_popupOn = false;
    bool m_lookingUp = false;
};

// Prints one contract on its layout: the master and lines queries set to the
// serial, the own company as the layout reads it. Errors of the printer are
// dropped (the contract is saved either way); errors of the queries throw.
void printContract(BandedReport &layout, DataSet *masterQuery, const QString &masterSql,
                   DataSet *linesQuery, const QString &linesSql, const QString &serial);
