#include "AccountQuery.h"
#include "BandedReport.h"
#include "Codes.h"
#include "DMsales.h"
#include "EnterMovesOn.h"
#include "Format.h"
#include "GridColumns.h"
#include "Guard.h"
#include "Money.h"
#include "OperatorHeader.h"
#include "QueryConditions.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// A partner's code and name are at most this long (the pickers' quick add).
constexpr int CodeLength = 10;
constexpr int NameLength = 40;

GridColumn titled(const QString &title, const char *field)
{
    GridColumn c = gridColumn("", field);
    c.title = title;
    return c;
}

} // namespace

const QStringList TAccountQuery::EntryDate{QStringLiteral("affirm_date"),
                                           QStringLiteral("account_date"),
                                           QStringLiteral("in_date")};

TAccountQuery::TAccountQuery(const AccountKind &kind, QWidget *parent)
    : ChildForm(parent), m_kind(kind), m_list(new DataSet(this)),
      m_source(new DataSource(m_list, this)), m_charges(new DataSet(this))
{
    setObjectName(kind.objectName);
    setWindowTitle(kind.caption);
    m_list->setObjectName(kind.queryName);
    m_list->setPageSize(PageSize);
    m_source->setObjectName(kind.sourceName);

    auto *speedBar = new SpeedBar(this);
    SpeedItem1 = speedBar->addItem(QStringLiteral("SpeedItem1"), QStringLiteral("查询"));
    SpeedItem3 = speedBar->addItem(QStringLiteral("SpeedItem3"), QStringLiteral("清除条件"));
    SpeedItem2 = speedBar->addItem(QStringLiteral("SpeedItem2"), QStringLiteral("打印"));
    SpeedItem7 = speedBar->addItem(QStringLiteral("SpeedItem7"), QStringLiteral("退出"));

    auto label = [this](const char *name, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    Label1 = newOperatorCaption(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label10 = newOperatorName(this, QStringLiteral("Label10"));

    GroupBox1 = new QGroupBox(QStringLiteral("查询条件"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Label4 = label("Label4", kind.codeLabel);
    Label5 = label("Label5", kind.nameLabel);
    Label3 = label("Label3", QStringLiteral("日期范围："));
    Label2 = label("Label2", QStringLiteral("至："));
    ComboEdit1 = new ComboEdit(GroupBox1);
    ComboEdit1->setObjectName(QStringLiteral("ComboEdit1"));
    ComboEdit1->setMaxLength(CodeLength);
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(NameLength);
    DateEdit1 = new DateEdit(GroupBox1);
    DateEdit1->setObjectName(QStringLiteral("DateEdit1"));
    DateEdit2 = new DateEdit(GroupBox1);
    DateEdit2->setObjectName(QStringLiteral("DateEdit2"));
    Label4->setBuddy(ComboEdit1);
    Label5->setBuddy(Edit1);
    Label3->setBuddy(DateEdit1);
    Label2->setBuddy(DateEdit2);
    auto *filters = new QGridLayout(GroupBox1);
    filters->addWidget(Label4, 0, 0);
    filters->addWidget(ComboEdit1, 0, 1);
    filters->addWidget(Label5, 0, 2);
    filters->addWidget(Edit1, 0, 3, 1, 3);
    filters->addWidget(Label3, 1, 0);
    filters->addWidget(DateEdit1, 1, 1);
    filters->addWidget(Label2, 1, 2);
    filters->addWidget(DateEdit2, 1, 3);
    filters->setColumnStretch(5, 1);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    // "经办人" and "是否对帐" show what the entry windows and the
    // reconciliation write: the handler and whether the entry is closed.
    DBGrid1->setColumns({gridColumn("帐目流水号", kind.keyField.toLatin1()),
                         titled(kind.codeTitle, kind.codeField.toLatin1()),
                         titled(kind.nameTitle, kind.nameField.toLatin1()),
                         gridColumn("帐目类别", kind.typeField.toLatin1()),
                         gridColumn("凭证号", "certificate_no"),
                         gridColumn("合同号", kind.contractField.toLatin1()),
                         gridColumn("发票号", "invoice_no"),
                         gridColumn("付款日期", "account_date"),
                         titled(kind.incomeTitle, "income"),
                         titled(kind.outgoTitle, "outgo"),
                         gridColumn("经办人", "affirm_recorder"),
                         gridColumn("注册日期", "in_date"),
                         gridColumn("对帐日期", "check_date"),
                         gridColumn("是否对帐", "checked"),
                         gridColumn("备注", "remarks")});
    DBGrid1->setDataSource(m_source);
    DBGrid1->setReadOnly(true);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    for (int i = 0; i < 3; ++i) {
        auto *panel = new QLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i));
        panel->setMinimumWidth(200);
        StatusBar1->addWidget(panel);
        m_panels << panel;
    }

    auto *header = new QHBoxLayout;
    header->addStretch();
    header->addWidget(Label1);
    header->addWidget(Label10);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(speedBar);
    layout->addLayout(header);
    layout->addWidget(GroupBox1);
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(StatusBar1);
    resize(760, 480);

    QWidget *order[] = {ComboEdit1, Edit1, DateEdit1, DateEdit2, DBGrid1};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(SpeedItem1, &QToolButton::clicked, this, &TAccountQuery::SpeedItem1Click);
    connect(SpeedItem3, &QToolButton::clicked, this, &TAccountQuery::SpeedItem3Click);
    connect(SpeedItem2, &QToolButton::clicked, this, &TAccountQuery::SpeedItem2Click);
    connect(SpeedItem7, &QToolButton::clicked, this, &QWidget::close);
    connect(ComboEdit1, &ComboEdit::buttonClick, this, &TAccountQuery::ComboEdit1ButtonClick);
    connect(ComboEdit1, &ComboEdit::exited, this, &TAccountQuery::ComboEdit1Exit);
    // Printing is possible exactly while the list is open.
    connect(m_list, &DataSet::stateChanged, this,
            [this](DataSet::State s) { SpeedItem2->setEnabled(s != DataSet::Inactive); });
    SpeedItem2->setEnabled(false);

    installEnterMovesOn(this);
    ComboEdit1->setFocus();
}

void TAccountQuery::ComboEdit1ButtonClick()
{
    const auto picked = m_kind.pick(this);
    if (!picked)
        return;
    ComboEdit1->setText(picked->code);
    Edit1->setText(picked->name);
}

void TAccountQuery::ComboEdit1Exit()
{
    const QString code = ComboEdit1->text();
    if (m_lookingUp || code.trimmed().isEmpty())
        return; // an empty code leaves the name as it is
    m_lookingUp = true; // the message box takes the focus too
    guard([&] {
        if (const auto name = partnerName(*m_kind.partners, code, Blanks::Kept)) {
            Edit1->setText(*name);
        } else {
            refuse(m_kind.codeNotFound, ComboEdit1);
        }
    }, this);
    m_lookingUp = false;
}

TAccountQuery::Filter TAccountQuery::filter() const
{
    return {Edit1->text(), ComboEdit1->text(), DateEdit1->date(), DateEdit2->date()};
}

QueryConditions TAccountQuery::conditions(const AccountKind &kind, const Filter &typed)
{
    // Appended to statements that end in their own where clause.
    QueryConditions c(QueryConditions::Join::And);
    c.prefix(kind.nameField, typed.name)
        .prefix(kind.codeField, typed.code)
        .fromDate(EntryDate, typed.from)
        .toDate(EntryDate, typed.to);
    return c;
}

ListStatement TAccountQuery::listStatement(const AccountKind &kind, const Filter &typed)
{
    const QueryConditions c = conditions(kind, typed);
    const QString entryDate = QueryConditions::firstOf(EntryDate);
    // In the order the database finds the rows by the first filter given,
    // as it returns them; sorting every entry of the years by its number
    // would keep the first screen waiting.
    const QString lead = c.leadingColumn();
    return ListStatement::of(QStringLiteral("select *, case when ischeck then '是' else '否' end as checked, "
                                            "%1 as entry_date from %2 where isprepay=")
                                     .arg(entryDate, kind.table)
                                     + sqlCode(EntryKind::Payment),
                             c, {kind.keyField}, lead == entryDate ? QStringLiteral("entry_date") : lead);
}

ListStatement TAccountQuery::chargesStatement(const AccountKind &kind, const Filter &typed)
{
    return ListStatement::of(QStringLiteral("select %1 from %2 where isprepay=")
                                     .arg(kind.chargedField, kind.table)
                                     + sqlCode(EntryKind::CarCharge) + QStringLiteral(" and isaffirm"),
                             conditions(kind, typed), {});
}

void TAccountQuery::SpeedItem1Click()
{
    if (!DateEdit::rangePasses(DateEdit1, DateEdit2))
        return;
    const Filter typed = filter();
    try {
        listStatement(m_kind, typed).setOn(m_list);
        m_list->open();
    } catch (const AppError &) {
        // The list's own failure is not shown: it stays closed, and the
        // totals below meet the same fault and show it.
    }
    // The sums read every row of the years: they follow the first screen, in
    // a later turn of the event loop. A query asked again replaces them.
    const quint64 due = ++m_totalsDue;
    QTimer::singleShot(0, this, [this, typed, due] {
        if (due == m_totalsDue)
            guard([&] { showTotals(typed); }, this);
    });
}

void TAccountQuery::showTotals(const Filter &typed)
{
    // Payments over the list's own rows; verified car charges, closed by a
    // reconciliation or not, over the same filters.
    const QVariant paid = m_list->total(QStringLiteral("sum(%1)").arg(m_kind.paidField));
    m_panels[0]->setText(QStringLiteral("预付金额：") + Fmt::display(paid) + QStringLiteral("元"));
    chargesStatement(m_kind, typed).setOn(m_charges);
    const QVariant charged = m_charges->total(QStringLiteral("sum(%1)").arg(m_kind.chargedField));
    m_panels[1]->setText(QStringLiteral("车款累计：") + Fmt::display(charged) + QStringLiteral("元"));
    const Money left = Money::fromVariant(paid).roundedToYuan()
                       - Money::fromVariant(charged).roundedToYuan();
    m_panels[2]->setText(QStringLiteral("预付余额：") + left.toString() + QStringLiteral("元"));
}

void TAccountQuery::SpeedItem3Click()
{
    ComboEdit1->clear();
    Edit1->clear();
    DateEdit1->clearDate();
    DateEdit2->clearDate();
}

void TAccountQuery::SpeedItem2Click()
{
    if (!DateEdit::rangePasses(DateEdit1, DateEdit2))
        return;
    // The filters as they stand now, not as the list was made.
    const QueryConditions c = conditions(m_kind, filter());
    const std::unique_ptr<BandedReport> layout = m_kind.layout(this);
    layout->findLabel(QStringLiteral("QRLabel16"))->setCaption(DateEdit1->displayText());
    layout->findLabel(QStringLiteral("QRLabel17"))->setCaption(DateEdit2->displayText());
    layout->findLabel(QStringLiteral("QRLabel19"))->setCaption(Label10->text());
    DataSet *rows = layout->findQuery(m_kind.reportQuery);
    // The layout's statement (remarks included), in the list's order.
    const QString lead = c.leadingColumn();
    if (!guard([&] {
            c.setOn(rows, rows->sql(),
                    QStringLiteral(" order by ") + (lead.isEmpty() ? QString() : lead + QStringLiteral(", "))
                            + m_kind.keyField);
            rows->open();
        }, this))
        return; // the database's message was shown; nothing is printed
    layout->printOrShowError();
}

void TAccountQuery::closeEvent(QCloseEvent *event)
{
    m_list->close();
    event->accept();
}
