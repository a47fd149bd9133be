#pragma once

#include "ChildForm.h"
#include "Partners.h"
#include "DBControls.h"
#include "DBGrid.h"
#include "DateEdit.h"
#include "ListStatement.h"
#include "PartnerPicker.h"
#include "SpeedBar.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QToolButton>
#include <functional>
#include <memory>
#include <optional>

class BandedReport;
class QueryConditions;

// What sets the customer and the provider account query apart.
struct AccountKind {
    QString objectName, caption;
    QString table, keyField, codeField, nameField, typeField, contractField;
    QString paidField;    // money paid in: summed over payments (kind 0)
    QString chargedField; // the goods value of a car: summed over verified charges (kind 2)
    QString codeLabel, nameLabel;
    QString codeTitle, nameTitle, incomeTitle, outgoTitle; // grid titles of their own
    const Partners *partners = nullptr; // the register the typed code is looked up in
    QString codeNotFound;
    QString queryName, sourceName; // the grid's query and data source
    std::function<std::optional<PickedPartner>(QWidget *owner)> pick;
    // The printed statement: its layout and the query that drives it.
    std::function<std::unique_ptr<BandedReport>(QObject *owner)> layout;
    QString reportQuery;
};

// Lists the payments entered by hand in one ledger, by partner and by the
// entries' date, with three totals computed by the database: the payments,
// the verified car charges (closed by a reconciliation or not) and the
// difference of the two, each rounded to whole yuan; and prints the list.
// It only reads.
class TAccountQuery : public ChildForm {
    Q_OBJECT
public:
    TAccountQuery(const AccountKind &kind, QWidget *parent = nullptr);
    static constexpr int PageSize = 200;

    // An entry's date as stored: the date it was confirmed where it has one,
    // else its payment date, else its registration date.
    static const QStringList EntryDate;

    // What the filters hold: texts as typed, a date blank (invalid) for none.
    struct Filter {
        QString name, code;
        QDate from, to;
    };
    // The filters' conditions: name and code as prefixes, typed text taken
    // literally; the date range on the entries' date.
    static QueryConditions conditions(const AccountKind &kind, const Filter &typed);
    // The payments entered by hand as the window lists them.
    static ListStatement listStatement(const AccountKind &kind, const Filter &typed);
    // The verified car charges, closed by a reconciliation or not, over the
    // same filters: only summed.
    static ListStatement chargesStatement(const AccountKind &kind, const Filter &typed);

    DataSet *query() const { return m_list; }
    DataSet *charges() const { return m_charges; }
    // The text of one of the three panels of the status line.
    QString panelText(int panel) const { return m_panels.value(panel)->text(); }

    QToolButton *SpeedItem1, *SpeedItem3, *SpeedItem2, *SpeedItem7;
    QLabel *Label1, *Label10;
    QGroupBox *GroupBox1;
    QLabel *Label4, *Label5, *Label3, *Label2;
    ComboEdit *ComboEdit1;
    QLineEdit *Edit1;
    DateEdit *DateEdit1, *DateEdit2;
    DBGrid *DBGrid1;
    QStatusBar *StatusBar1;

    void ComboEdit1ButtonClick();
    void ComboEdit1Exit();
    void SpeedItem1Click(); // 查询
    void SpeedItem3Click(); // 清除条件
    void SpeedItem2Click(); // 打印

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Filter filter() const; // as the controls stand
    void showTotals(const Filter &typed);

    const AccountKind m_kind;
    DataSet *m_list;
    DataSource *m_source;
    DataSet *m_charges; // only summed, never opened
    QList<QLabel *> m_panels;
    quint64 m_totalsDue = 0; // the query whose sums are to be shown
    bool m_lookingUp = false;
};
