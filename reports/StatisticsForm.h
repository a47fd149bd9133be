#pragma once

#include "ChildForm.h"
#include "DateEdit.h"
#include "GridColumns.h"
#include "SalesStatistics.h"
#include "SpeedBar.h"

#include <QGroupBox>
#include <QLabel>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

class BandedReport;
class DBGrid;
class DataSet;
class DataSource;

// What the statistics windows and the tax report share: the operator, the
// conditions "统计条件" with a date range, and the speed bar "统计",
// "清除条件", "打印", "退出". "打印" is enabled exactly while the window's
// result is open. The window only reads; it closes without a question,
// closing its queries.
class TStatisticsForm : public ChildForm {
    Q_OBJECT
public:
    // An empty status text: no status bar.
    TStatisticsForm(const QString &objectName, const QString &caption, const QString &statusText,
                    QWidget *parent = nullptr);

    SpeedBar *SpeedBar1;
    QToolButton *SpeedItem1, *SpeedItem2, *SpeedItem3, *SpeedItem4;
    QLabel *Label14, *Label15; // "操作员：" and the operator's name
    QGroupBox *GroupBox2;
    QLabel *Label7, *Label8;
    DateEdit *DateEdit3, *DateEdit4; // from, to
    QStatusBar *StatusBar1 = nullptr;

    // "统计": each result opened on its statement for the period. One that
    // fails stays closed, without a message; the others are still opened.
    void SpeedItem1Click();
    void SpeedItem2Click();             // "清除条件": the dates blank, the figures stay
    virtual void SpeedItem3Click() = 0; // "打印"

    // Closes, sets and opens a query on a statement.
    static void openStatement(DataSet *query, const SalesStatistics::Statement &statement);

protected:
    using Result = std::pair<DataSet *, SalesStatistics::Statement>;
    // What "统计" opens, in order, for the period.
    virtual QList<Result> results(const QDate &from, const QDate &to) const = 0;

    // Where the window puts its figures or its grid, under the conditions.
    QVBoxLayout *body() const { return m_body; }
    // A query of the window behind its data source, closed when the window
    // closes.
    DataSource *addQuery(const QString &name, const QString &sourceName);
    // The data set whose being open enables "打印".
    void setResult(DataSet *result);
    // The result listed in the read-only grid DBGrid1, under the conditions.
    DBGrid *addResultGrid(DataSource *source, const GridColumns &columns);

    // The dates as they stand; false, after a warning that puts the focus
    // back, when a date field holds something that is no whole date.
    bool period(QDate &from, QDate &to);

    // A printed list: the date range as the fields show it (the blank mask
    // when none is given) and the operator into the layout's labels, the
    // layout's query opened on the statement made for the period as the date
    // fields give it now (a failure shows the database's message and prints
    // nothing), then printed; a failed print shows its error.
    using ListStatement = SalesStatistics::Statement (*)(const QDate &, const QDate &,
                                                         SalesStatistics::Names);
    void printList(BandedReport &layout, const QString &query, ListStatement statement,
                   const QString &fromLabel, const QString &toLabel, const QString &makerLabel);
    // Sets the date-range labels of a layout from the date fields.
    void setRangeLabels(BandedReport &layout, const QString &fromLabel, const QString &toLabel) const;
    // The logged-in operator's name, "" without a data module.
    static QString operatorName();

    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QVBoxLayout *m_body;
    QList<DataSet *> m_queries;
    bool m_enterMovesOn = false;
};
