#include "ContractQuery.h"
#include "FreeTextBox.h"
#include "Codes.h"
#include "GridColumns.h"
#include "Db.h"
#include "EnterMovesOn.h"
#include "Guard.h"
#include "OperatorHeader.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

TContractQuery::TContractQuery(const ContractQueryKind &kind, QWidget *parent)
    : ChildForm(parent), m_kind(kind), m_list(new DataSet(this)),
      m_listSource(new DataSource(m_list, this)), m_lines(new DataSet(this)),
      m_linesSource(new DataSource(m_lines, this))
{
    setObjectName(kind.objectName);
    setWindowTitle(kind.caption);
    m_list->setObjectName(kind.listName);
    // Years of contracts: read as the grid scrolls, counted by the database.
    m_list->setPageSize(PageSize);
    m_listSource->setObjectName(kind.listSource);
    m_lines->setObjectName(kind.linesName);
    m_lines->setTableName(kind.linesTable);
    m_lines->setIndexName(QStringLiteral("rowid"));
    m_lines->setReadOnly(true);
    m_lines->setMaster(m_list, kind.serialField, kind.serialField);
    m_linesSource->setObjectName(kind.linesSource);

    auto *speedBar = new SpeedBar(this);
    SpeedItem8 = speedBar->addItem(QStringLiteral("SpeedItem8"), QStringLiteral("查询"));
    SpeedItem3 = speedBar->addItem(QStringLiteral("SpeedItem3"), QStringLiteral("清除条件"));
    SpeedItem6 = speedBar->addItem(QStringLiteral("SpeedItem6"), QStringLiteral("打印"));
    SpeedItem7 = speedBar->addItem(QStringLiteral("SpeedItem7"), QStringLiteral("退出"));

    auto *frame = new QGroupBox(QStringLiteral("查询条件："), this);
    Edit1 = new QLineEdit(frame);
    Edit1->setObjectName(kind.edit1Name);
    fitCodes(Edit1, QStringLiteral("contract_no"));
    ComboEdit1 = new ComboEdit(frame);
    ComboEdit1->setObjectName(kind.comboEditName);
    ComboEdit1->setUpperCase(true);
    ComboEdit1->setMaxLength(10); // the longest code of the partner registers
    Edit2 = new QLineEdit(frame);
    Edit2->setObjectName(kind.edit2Name);
    ComboBox1 = newFreeTextBox(frame, QStringLiteral("ComboBox1"));
    ComboBox2 = new QComboBox(frame);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->addItems({QString(), QStringLiteral("合同未执行"), QStringLiteral("合同开始执行"),
                         QStringLiteral("合同执行结束")});
    DateEdit1 = new DateEdit(frame);
    DateEdit1->setObjectName(QStringLiteral("DateEdit1"));
    DateEdit2 = new DateEdit(frame);
    DateEdit2->setObjectName(QStringLiteral("DateEdit2"));
    operatorName = newOperatorName(this, QStringLiteral("operatorName"));

    auto *grid = new QGridLayout(frame);
    auto place = [grid](int row, int col, const QString &label, QWidget *w) {
        placeField(grid, row, col, label, w);
    };
    place(0, 0, kind.numberLabel, Edit1);
    place(0, 1, kind.codeLabel, ComboEdit1);
    place(0, 2, kind.nameLabel, Edit2);
    place(1, 0, QStringLiteral("合同类型："), ComboBox1);
    place(1, 1, QStringLiteral("合同进程："), ComboBox2);
    place(2, 0, QStringLiteral("签约日期："), DateEdit1);
    place(2, 1, QStringLiteral("至："), DateEdit2);
    auto *op = new QHBoxLayout;
    addOperator(op, operatorName);
    grid->addLayout(op, 2, 4, 1, 2);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns(kind.upperColumns);
    DBGrid1->setDataSource(m_listSource);
    DBGrid2 = new DBGrid(this);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setColumns(kind.lowerColumns);
    DBGrid2->setDataSource(m_linesSource);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    countLabel = new QLabel(StatusBar1);
    countLabel->setObjectName(QStringLiteral("countLabel"));
    StatusBar1->addWidget(countLabel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(speedBar);
    layout->addWidget(frame);
    layout->addWidget(DBGrid1, 3);
    layout->addWidget(DBGrid2, 2);
    layout->addWidget(StatusBar1);
    resize(760, 520);

    QWidget *order[] = {Edit1, ComboEdit1, Edit2, ComboBox1, ComboBox2, DateEdit1, DateEdit2,
                        DBGrid1, DBGrid2};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(SpeedItem8, &QToolButton::clicked, this, &TContractQuery::SpeedItem8Click);
    connect(SpeedItem3, &QToolButton::clicked, this, &TContractQuery::SpeedItem3Click);
    connect(SpeedItem6, &QToolButton::clicked, this, &TContractQuery::SpeedItem6Click);
    connect(SpeedItem7, &QToolButton::clicked, this, &QWidget::close);
    connect(ComboEdit1, &ComboEdit::buttonClick, this, &TContractQuery::ComboEdit1ButtonClick);
    connect(m_list, &DataSet::stateChanged, this, &TContractQuery::listStateChanged);
    connect(m_list, &DataSet::rowsChanged, this, &TContractQuery::listStateChanged);
    connect(m_list, &DataSet::counted, this, &TContractQuery::listStateChanged);

    FormCreate();
    installEnterMovesOn(this);
}

void TContractQuery::FormCreate()
{
    Edit1->setFocus();
    guard([this] {
        setFreeTextChoices(ComboBox1, Db::firstColumn(QStringLiteral("select conttype from cconttype")));
    }, this);
    listStateChanged();
    if (m_kind.listAtOpen)
        SpeedItem8Click();
}

TContractQuery::Filter TContractQuery::filter() const
{
    Filter typed{Edit1->text(), ComboEdit1->text(), Edit2->text(), ComboBox1->currentText(), {},
                 DateEdit1->date(), DateEdit2->date()};
    // The items after the empty one, which is any progress.
    static constexpr ContractProgress Progress[] = {ContractProgress::Saved, ContractProgress::Executing,
                                       ContractProgress::Delivered};
    const int item = ComboBox2->currentIndex();
    if (item > 0 && item <= int(std::size(Progress)))
        typed.progress = Progress[item - 1];
    return typed;
}

ListStatement TContractQuery::listStatement(const ContractQueryKind &kind, const Filter &typed)
{
    QueryConditions c;
    c.prefix(QStringLiteral("contract_no"), typed.contractNo)
        .prefix(kind.codeField, typed.partnerCode)
        .prefix(kind.nameField, typed.partnerName)
        .prefix(QStringLiteral("conttype"), typed.contractType)
        .equals(QStringLiteral("isfinished"), typed.progress ? codeValue(*typed.progress) : QVariant());
    // A date not filled in adds nothing.
    c.fromDate(QStringLiteral("contract_date"), typed.from)
        .toDate(QStringLiteral("contract_date"), typed.to);
    return ListStatement::of(QStringLiteral("select * from ") + kind.table, c, {kind.serialField});
}

void TContractQuery::SpeedItem8Click()
{
    if (!DateEdit::rangePasses(DateEdit1, DateEdit2))
        return;
    listStatement(m_kind, filter()).setOn(m_list);
    // A list that cannot be read stays closed, and so "打印" stays off.
    guard([this] {
        m_list->open();
        m_lines->open();
    }, this);
}

void TContractQuery::SpeedItem3Click()
{
    for (QLineEdit *e : {Edit1, static_cast<QLineEdit *>(ComboEdit1), Edit2})
        e->clear();
    clearFreeText(ComboBox1);
    ComboBox2->setCurrentIndex(0);
    DateEdit1->clearDate();
    DateEdit2->clearDate();
}

void TContractQuery::SpeedItem6Click()
{
    if (!m_list->isActive() || m_list->isEmpty())
        return;
    const QString serial = m_list->value(m_kind.serialField).toString();
    guard([&] { m_kind.print(this, serial); }, this);
}

void TContractQuery::ComboEdit1ButtonClick()
{
    const auto picked = m_kind.pick(this);
    if (!picked)
        return;
    ComboEdit1->setText(picked->code);
    Edit2->setText(picked->name);
}

void TContractQuery::listStateChanged()
{
    const bool open = m_list->isActive();
    SpeedItem6->setEnabled(open);
    // The count follows the first screen (counted).
    countLabel->setText(open && m_list->countKnown() ? QStringLiteral("共%1份合同").arg(m_list->recordCount())
                                                     : QString());
}
