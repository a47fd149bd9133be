#pragma once

#include "ChildForm.h"
#include "DBGrid.h"
#include "DateEdit.h"
#include "GridColumns.h"
#include "ListStatement.h"
#include "QueryConditions.h"

#include <QLabel>
#include <QSize>
#include <QStatusBar>
#include <QToolButton>
#include <initializer_list>

class QVBoxLayout;

// What sets one stock query window apart from the others.
struct StockQueryKind {
    QString objectName, caption;
    QString listName, sourceName; // the list's data set and data source
    QString countName, countText; // the status bar's label, and its text before the first count
    bool printable = false;       // "打印" (SpeedItem6) before "退出"
    QSize size;                   // when the window opens
};

// A stock query window, from top to bottom: the speed bar ("查询", "清除条件",
// "打印" where the window prints, "退出"), the conditions, the grid of what
// matches them and the status bar with their count by the database. The list
// is read as the grid scrolls.
class StockQueryForm : public ChildForm {
    Q_OBJECT
public:
    static constexpr int PageSize = 200;

    QToolButton *SpeedItem1, *SpeedItem3, *SpeedItem6 = nullptr, *SpeedItem7;
    DBGrid *RxDBGrid1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;

protected:
    StockQueryForm(const StockQueryKind &kind, QWidget *parent);

    DataSet *list() const { return m_list; }
    DataSource *source() const { return m_source; }
    // The window's layout with the speed bar in it: the window adds its conditions.
    QVBoxLayout *conditionsLayout() const { return m_layout; }

    // Puts the grid of the columns and the status bar under the conditions.
    // The tab order runs through the fields as given and on into the grid.
    // Returns the status bar's label.
    QLabel *finish(const GridColumns &columns, std::initializer_list<QWidget *> order);

    // "查询": the list anew on its statement, read in pages by its key and
    // order. A date range that does not pass reads nothing; a list that cannot
    // be read stays closed.
    void runQuery(const ListStatement &statement, DateEdit *from, DateEdit *to);
    // "清除条件": every condition field given to finish() empty; a choice
    // between radio buttons stays as it is.
    void clearConditions();

private:
    const StockQueryKind m_kind;
    DataSet *m_list;
    DataSource *m_source;
    QVBoxLayout *m_layout;
    QList<QWidget *> m_fields;
};
