#pragma once

#include "ChildForm.h"
#include "Codes.h"
#include "DBControls.h"
#include "DBGrid.h"
#include "ListStatement.h"
#include "PartnerPicker.h"
#include "QueryConditions.h"
#include "SpeedBar.h"

#include <QComboBox>
#include <QLabel>
#include <QStatusBar>
#include <optional>
#include <functional>
#include <optional>

// What sets the purchase contract query apart from the sales one.
struct ContractQueryKind {
    QString objectName, caption;
    QString table, linesTable, serialField;
    QString listName, linesName, listSource, linesSource; // object names
    QString edit1Name, comboEditName, edit2Name;
    QString numberLabel, codeLabel, nameLabel;
    QString codeField, nameField;
    GridColumns upperColumns, lowerColumns;
    bool listAtOpen = false; // every contract listed as soon as the window opens
    std::function<std::optional<PickedPartner>(QWidget *owner)> pick;
    void (*print)(QWidget *owner, const QString &serial) = nullptr;
};

// Finds contracts of every state by the conditions filled in, shows the lines
// of the contract under the cursor and prints it. It changes nothing.
class TContractQuery : public ChildForm {
    Q_OBJECT
public:
    TContractQuery(const ContractQueryKind &kind, QWidget *parent = nullptr);
    static constexpr int PageSize = 200;

    DataSet *list() const { return m_list; }
    DataSet *lines() const { return m_lines; }
    // What the conditions hold: texts as typed, the progress (none for any),
    // a date blank (invalid) for none.
    struct Filter {
        QString contractNo, partnerCode, partnerName, contractType;
        std::optional<ContractProgress> progress;
        QDate from, to;
    };
    Filter filter() const;
    // The contracts of every state as the window lists them, each filled
    // condition bound.
    static ListStatement listStatement(const ContractQueryKind &kind, const Filter &typed);

    QLabel *operatorName;
    QLineEdit *Edit1;      // contract number
    ComboEdit *ComboEdit1; // partner code
    QLineEdit *Edit2;      // partner name
    QComboBox *ComboBox1;  // contract type
    QComboBox *ComboBox2;  // progress
    DateEdit *DateEdit1, *DateEdit2;
    DBGrid *DBGrid1, *DBGrid2;
    QToolButton *SpeedItem8, *SpeedItem3, *SpeedItem6, *SpeedItem7;
    QStatusBar *StatusBar1;
    QLabel *countLabel; // how many contracts the list holds

    void SpeedItem8Click(); // 查询
    void SpeedItem3Click(); // 清除条件
    void SpeedItem6Click(); // 打印
    void ComboEdit1ButtonClick();

private:
    void FormCreate();
    void listStateChanged();

    const ContractQueryKind m_kind;
    DataSet *m_list;
    DataSource *m_listSource;
    DataSet *m_lines;
    DataSource *m_linesSource;
};
