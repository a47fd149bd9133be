#pragma once

#include "DBControls.h"
#include "Partners.h"
#include "DBGrid.h"
#include "DocumentForm.h"
#include "PartnerPicker.h"
#include "SpeedBar.h"

#include <QLabel>
#include <QStatusBar>
#include <functional>
#include <optional>

class BandedReport;

// What sets the purchase contract windows apart from the sales contract windows.
struct ContractKind {
    QString objectName;
    QString caption;
    QString statusText; // the status bar's text
    QString masterTable, linesTable;
    QString masterName, linesName, masterSource, linesSource; // object names
    DocumentNumbering numbering;
    QString codeField, nameField;
    QString codeLabel, nameLabel;
    const Partners *partners = nullptr; // the party's register
    QString codeMissing, codeNotFound;
    // Purchase: the car-model pick list holds the provider's models and both
    // lists load when a known provider code is left; sales: every model, loaded
    // when a contract is added.
    bool providerModels = false;
    bool showSerial = true; // the serial beside "合同流水号："
    QString deliveryLabel, modelTitle, startCaption, printCaption;
    bool settleModeFreeText = false;
    QString closeQuestion;
    QString emptyLinesDelete; // the entry's save drops lines without a quantity, :aa the serial
    std::function<std::optional<PickedPartner>(QWidget *owner)> pick;
    void (*print)(QWidget *owner, const QString &serial) = nullptr;
};

// A contract's fields around the grid of its lines, as the entry of new
// contracts and the change of saved ones show them, with what both do to the
// lines: the Enter walk through a line's cells and the checks of a line.
class TContractForm : public DocumentForm {
    Q_OBJECT
public:
    // Entry: every field can be typed into and lines can be added. Change:
    // only the payment mode, the delivery date and the lines' unit prices and
    // quantities; no line can be added.
    enum class Use { Entry, Change };

    TContractForm(const ContractKind &kind, Use use, QWidget *parent = nullptr);

    DataSet *master() const { return m_master; }
    DataSet *lines() const { return m_lines; }

    SpeedBar *SpeedBar1;
    DBText *DBText1;
    QLabel *Label19;
    QLineEdit *codeEdit; // the entry's ComboEdit1; the change shows the stored code
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
    QStatusBar *StatusBar1;

    // Enter in the lines grid (DBGrid1KeyPress): car type, model, origin,
    // price, quantity, then the next line's quantity; the unit keeps it.
    void DBGrid1KeyPress();

protected:
    // Called by the window once its speed bar is filled: the operator, the
    // contract types, the Enter rule.
    void finishForm();
    // The checks of the line being stored: a whole quantity and a price
    // within their limits.
    bool linesPass();
    void selectCell(int row, const QString &field);
    // A new line with its car-type cell selected.
    void appendLine();

    const ContractKind m_kind;
    const Use m_use;
    DataSet *m_master;
    DataSource *m_masterSource;
    DataSet *m_lines;
    DataSource *m_linesSource;
};

// Prints one contract on its layout: the master and lines queries set to the
// serial, the own company as the layout reads it. A failed print is shown
// (the contract is saved either way); errors of the queries throw.
void printContract(BandedReport &layout, DataSet *masterQuery, const QString &masterSql,
                   DataSet *linesQuery, const QString &linesSql, const QString &serial);
