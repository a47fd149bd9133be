#pragma once

#include "ChildForm.h"
#include "DBControls.h"
#include "DBGrid.h"
#include "DBNavigator.h"
#include "GridColumns.h"
#include "ListStatement.h"
#include "SpeedBar.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QTabWidget>
#include <functional>
#include <memory>

class ListReport;
class QueryConditions;

// One control of a register's entry page.
struct RegisterField {
    enum Kind {
        Edit,
        CodeEdit,  // typed letters become capitals
        Memo,
        Date,
        TodayDate, // an empty date takes the current date and time when the row is edited
        List,      // a drop-down list, nothing else can be chosen
        FreeList,  // a drop-down list that takes any text
    };
    const char *label;
    const char *field;
    const char *name;
    Kind kind = Edit;
    QStringList choices;
};

// What sets one register window apart from the others.
struct RegisterInfo {
    QString objectName, caption;
    QString table, codeField;
    QString tableName, sourceName;           // the entry page's table and its data source
    QString queryName, querySourceName;      // the query page's list and its data source
    QString pageControlName;
    QString entryPageName, entryPageCaption;
    QString queryPageName, queryPageCaption;
    QString dateLabel;                       // the caption of the register-date range
    bool opensOnQueryPage = false;
    QList<RegisterField> fields;
    GridColumns columns;                     // the query page's grid

    // A further filter of the query page: a free-text combo box, and the
    // condition its text adds.
    QString choiceLabel, choiceName;
    QStringList choices;
    std::function<void(QueryConditions &, const QString &text)> choiceCondition;

    QList<DBNavigator::Button> navigatorButtons;
    bool deleteButton = false;    // SpeedItem8 deletes at once, without a question
    bool partnerRows = false;     // a customer or provider, stored as the pickers store them

    // The printed list: the layout, its query and its date-range labels.
    std::function<std::unique_ptr<ListReport>(QObject *owner)> layout;
    QString reportQuery, fromLabel, toLabel;
};

// A register: a table edited row by row on the entry page, and a query page
// listing its rows registered in a date range, which it prints. Browsing and
// editing show only in the enabled buttons. It closes without a question,
// dropping a row being entered.
class TRegisterForm : public ChildForm {
    Q_OBJECT
public:
    TRegisterForm(const RegisterInfo &info, QWidget *parent = nullptr);
    static constexpr int PageSize = 200;

    virtual void SetRegisterEditing(bool editing);
    // The query page's list for its register dates (invalid: open) and the
    // text of its further filter. It is ordered by the first filter's column,
    // where the database looks first.
    static ListStatement listStatement(const RegisterInfo &info, const QDate &from, const QDate &to,
                                       const QString &choice);

    DataSet *table() const { return m_table; }
    DataSet *query() const { return m_query; }
    DataSource *source() const { return m_source; }
    QWidget *control(const char *name) const;
    // The list of the query page's combo box; the box itself shows no text.
    void setChoices(const QStringList &choices);

    QTabWidget *PageControl1;
    QWidget *entryPage;
    QWidget *queryPage;
    QHBoxLayout *entryLayout; // the fields, and room beside them
    DateEdit *DateEdit1;
    DateEdit *DateEdit2;
    QComboBox *choiceBox = nullptr;
    DBGrid *DBGrid1;
    DBNavigator *DBNavigator1;
    QToolButton *SpeedItem1, *SpeedItem2, *SpeedItem3, *SpeedItem4, *SpeedItem5, *SpeedItem6,
        *SpeedItem7;
    QToolButton *SpeedItem8 = nullptr;

    void SpeedItem1Click();
    void SpeedItem2Click();
    void SpeedItem3Click();
    void SpeedItem4Click();
    void SpeedItem5Click();
    void SpeedItem6Click();
    void SpeedItem8Click();

protected:
    // Opens the table, switches to browsing and sets up the Enter rule; each
    // register calls it once its own controls exist.
    void FormCreate();
    // Stores the row being entered or edited.
    virtual SaveResult saveEntry();
    // Drops what is being entered or edited.
    virtual void cancelEntry();

    void closeEvent(QCloseEvent *event) override;

private:
    void PageControl1Change();
    // Reopens a list on the base statement and the query page's conditions.
    void openList(DataSet *list) const;

    const RegisterInfo m_info;
    DataSet *m_table;
    DataSource *m_source;
    DataSet *m_query;
    DataSource *m_querySource;
};
