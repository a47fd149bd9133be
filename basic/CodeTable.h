#pragma once

#include "ChildForm.h"
#include "DBControls.h"
#include "DBGrid.h"
#include "GridColumns.h"
#include "SpeedBar.h"

#include <QLabel>

// What sets one code-table window apart from the others.
struct CodeTableInfo {
    QString caption;
    QString table;
    QString index;      // the order of the grid
    QString tableName;  // object names of the table and its data source
    QString sourceName;
    QString codeLabel, codeField;
    QString nameLabel, nameField;
    GridColumns columns;
    QString emptyCodeMessage;
    // Fee subjects: a classification chosen from this list, checked first.
    QString typeLabel, typeField, emptyTypeMessage;
    QStringList typeChoices;
    bool showOperator = false;    // "操作员：" with the operator's name
    bool gridEditable = false;    // rows can be chosen and changed in the grid
};

// A small table of codes and names: two bound edits, a grid over the whole
// table and a speed bar. Every post, also one caused by adding a row or by
// moving in an editable grid, runs the save check, so a row without its code
// is never stored.
class TCodeTableForm : public ChildForm {
    Q_OBJECT
public:
    TCodeTableForm(const CodeTableInfo &info, QWidget *parent = nullptr);
    static constexpr int PageSize = 200;

    // Stored also when nothing was being edited. A database refusal throws
    // and keeps the row pending.
    SaveResult SaveCodeRow();
    void SetCodeTableEditing(bool editing);

    DataSet *table() const { return m_table; }

    DBEdit *DBEdit1;
    DBEdit *DBEdit2;
    DBComboBox *DBComboBox1 = nullptr; // fee subjects only
    QLabel *Label4 = nullptr;          // the operator, contract types only
    DBGrid *DBGrid1;
    QToolButton *SpeedItem1;
    QToolButton *SpeedItem2;
    QToolButton *SpeedItem3;
    QToolButton *SpeedItem4;
    QToolButton *SpeedItem6;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    bool rowPasses();
    void SpeedItem1Click();
    void SpeedItem2Click();
    void SpeedItem3Click();
    void SpeedItem4Click();

    const CodeTableInfo m_info;
    DataSet *m_table;
    DataSource *m_source;
};
