#include "Register.h"
#include "FreeTextBox.h"
#include "DMsales.h"
#include "EnterMovesOn.h"
#include "Errors.h"
#include "Guard.h"
#include "PartnerRows.h"
#include "QueryConditions.h"
#include "ReportLayouts.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

TRegisterForm::TRegisterForm(const RegisterInfo &info, QWidget *parent)
    : ChildForm(parent), m_info(info), m_table(new DataSet(this)),
      m_source(new DataSource(m_table, this)), m_query(new DataSet(this)),
      m_querySource(new DataSource(m_query, this))
{
    setObjectName(info.objectName);
    setWindowTitle(info.caption);
    m_table->setObjectName(info.tableName);
    m_table->setTableName(info.table);
    m_table->setIndexName(QStringLiteral("PrimaryKey"));
    // Both read as they are looked at: a register of a hundred thousand rows
    // opens at once, and a post places its own row without reading the rest.
    m_table->setPageSize(PageSize);
    m_source->setObjectName(info.sourceName);
    m_query->setObjectName(info.queryName);
    m_query->setSql(QStringLiteral("select * from ") + info.table);
    m_query->setPageSize(PageSize);
    m_querySource->setObjectName(info.querySourceName);
    if (info.partnerRows)
        storePartnerRowsAsRegistered(m_table, info.codeField);

    auto *speedBar = new SpeedBar(this);
    SpeedItem1 = speedBar->addItem(QStringLiteral("SpeedItem1"), QStringLiteral("增加"));
    SpeedItem2 = speedBar->addItem(QStringLiteral("SpeedItem2"), QStringLiteral("编辑"));
    SpeedItem3 = speedBar->addItem(QStringLiteral("SpeedItem3"), QStringLiteral("保存"));
    SpeedItem4 = speedBar->addItem(QStringLiteral("SpeedItem4"), QStringLiteral("取消"));
    SpeedItem5 = speedBar->addItem(QStringLiteral("SpeedItem5"), QStringLiteral("查找"));
    SpeedItem6 = speedBar->addItem(QStringLiteral("SpeedItem6"), QStringLiteral("打印"));
    SpeedItem7 = speedBar->addItem(QStringLiteral("SpeedItem7"), QStringLiteral("退出"));
    if (info.deleteButton)
        SpeedItem8 = speedBar->addItem(QStringLiteral("SpeedItem8"), QStringLiteral("删除"));
    DBNavigator1 = new DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setDataSource(m_source);
    DBNavigator1->setVisibleButtons(info.navigatorButtons);
    speedBar->addWidget(DBNavigator1);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(info.pageControlName);

    // Entry page: two columns of captioned fields, the memo across both.
    entryPage = new QWidget;
    entryPage->setObjectName(info.entryPageName);
    entryLayout = new QHBoxLayout(entryPage);
    auto *grid = new QGridLayout;
    entryLayout->addLayout(grid, 1);
    int cell = 0;
    for (const RegisterField &f : info.fields) {
        QWidget *control = nullptr;
        BoundControl *bound = nullptr;
        switch (f.kind) {
        case RegisterField::Edit:
        case RegisterField::CodeEdit: {
            auto *e = new DBEdit(entryPage);
            e->setUpperCase(f.kind == RegisterField::CodeEdit);
            control = e;
            bound = e;
            break;
        }
        case RegisterField::Memo: {
            auto *e = new DBMemo(entryPage);
            e->setTabChangesFocus(true);
            control = e;
            bound = e;
            break;
        }
        case RegisterField::Date:
        case RegisterField::TodayDate: {
            auto *e = new DBDateEdit(entryPage);
            control = e;
            bound = e;
            break;
        }
        case RegisterField::List:
        case RegisterField::FreeList: {
            auto *e = new DBComboBox(entryPage, f.kind == RegisterField::List);
            e->setItems(f.choices);
            control = e;
            bound = e;
            break;
        }
        }
        control->setObjectName(QLatin1String(f.name));
        bound->setDataSource(m_source, QLatin1String(f.field));
        if (f.kind == RegisterField::TodayDate)
            static_cast<DBDateEdit *>(control)->setDefaultToNow();
        auto *label = new QLabel(QString::fromUtf8(f.label), entryPage);
        label->setBuddy(control);
        if (f.kind == RegisterField::Memo) {
            cell += cell % 2; // a row of its own
            grid->addWidget(label, cell / 2, 0, Qt::AlignTop);
            grid->addWidget(control, cell / 2, 1, 1, 3);
            cell += 2;
        } else {
            grid->addWidget(label, cell / 2, (cell % 2) * 2);
            grid->addWidget(control, cell / 2, (cell % 2) * 2 + 1);
            ++cell;
        }
    }
    grid->setRowStretch(cell / 2 + 1, 1);

    // Query page: the conditions above the list.
    queryPage = new QWidget;
    queryPage->setObjectName(info.queryPageName);
    auto *queryLayout = new QVBoxLayout(queryPage);
    auto *conditions = new QHBoxLayout;
    conditions->addWidget(new QLabel(QStringLiteral("查询条件："), queryPage));
    auto *fromLabel = new QLabel(info.dateLabel, queryPage);
    DateEdit1 = new DateEdit(queryPage);
    DateEdit1->setObjectName(QStringLiteral("DateEdit1"));
    fromLabel->setBuddy(DateEdit1);
    auto *toLabel = new QLabel(QStringLiteral("至："), queryPage);
    DateEdit2 = new DateEdit(queryPage);
    DateEdit2->setObjectName(QStringLiteral("DateEdit2"));
    toLabel->setBuddy(DateEdit2);
    for (QWidget *w : {static_cast<QWidget *>(fromLabel), static_cast<QWidget *>(DateEdit1),
                       static_cast<QWidget *>(toLabel), static_cast<QWidget *>(DateEdit2)})
        conditions->addWidget(w);
    if (!info.choiceName.isEmpty()) {
        choiceBox = newFreeTextBox(queryPage, info.choiceName);
        setChoices(info.choices);
        choiceBox->setMinimumContentsLength(10);
        auto *choiceLabel = new QLabel(info.choiceLabel, queryPage);
        choiceLabel->setBuddy(choiceBox);
        conditions->addWidget(choiceLabel);
        conditions->addWidget(choiceBox);
    }
    conditions->addStretch();
    queryLayout->addLayout(conditions);
    DBGrid1 = new DBGrid(queryPage);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns(info.columns);
    DBGrid1->setDataSource(m_querySource);
    DBGrid1->setReadOnly(true);
    queryLayout->addWidget(DBGrid1, 1);

    PageControl1->addTab(entryPage, info.entryPageCaption);
    PageControl1->addTab(queryPage, info.queryPageCaption);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(speedBar);
    layout->addWidget(PageControl1, 1);
    resize(760, 520);

    connect(SpeedItem1, &QToolButton::clicked, this, &TRegisterForm::SpeedItem1Click);
    connect(SpeedItem2, &QToolButton::clicked, this, &TRegisterForm::SpeedItem2Click);
    connect(SpeedItem3, &QToolButton::clicked, this, &TRegisterForm::SpeedItem3Click);
    connect(SpeedItem4, &QToolButton::clicked, this, &TRegisterForm::SpeedItem4Click);
    connect(SpeedItem5, &QToolButton::clicked, this, &TRegisterForm::SpeedItem5Click);
    connect(SpeedItem6, &QToolButton::clicked, this, &TRegisterForm::SpeedItem6Click);
    connect(SpeedItem7, &QToolButton::clicked, this, &QWidget::close);
    if (SpeedItem8)
        connect(SpeedItem8, &QToolButton::clicked, this, &TRegisterForm::SpeedItem8Click);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TRegisterForm::PageControl1Change);
    // Printing is possible exactly while the list is open.
    connect(m_query, &DataSet::stateChanged, this,
            [this](DataSet::State s) { SpeedItem6->setEnabled(s != DataSet::Inactive); });
    // Typing into a stored row puts it back into editing.
    connect(m_table, &DataSet::stateChanged, this, [this](DataSet::State s) {
        if (s == DataSet::Edit || s == DataSet::Insert)
            SetRegisterEditing(true);
    });

    SpeedItem6->setEnabled(false);
    PageControl1->setCurrentWidget(info.opensOnQueryPage ? queryPage : entryPage);
    PageControl1Change();
}

QWidget *TRegisterForm::control(const char *name) const
{
    return findChild<QWidget *>(QLatin1String(name));
}

void TRegisterForm::FormCreate()
{
    guard([this] { m_table->open(); }, this);
    SetRegisterEditing(false);
    installEnterMovesOn(this, EnterRule::EveryControl); // the remarks too
}

void TRegisterForm::SetRegisterEditing(bool editing)
{
    SpeedItem1->setEnabled(!editing);
    SpeedItem2->setEnabled(!editing);
    SpeedItem7->setEnabled(!editing);
    DBNavigator1->setEnabled(!editing);
    SpeedItem3->setEnabled(editing);
    SpeedItem4->setEnabled(editing);
}

void TRegisterForm::setChoices(const QStringList &choices)
{
    setFreeTextChoices(choiceBox, choices);
}

void TRegisterForm::PageControl1Change()
{
    SpeedItem5->setEnabled(PageControl1->currentWidget() == queryPage);
}

void TRegisterForm::SpeedItem1Click()
{
    guard([this] {
        m_table->append();
        if (m_table->state() != DataSet::Insert)
            return;
        SetRegisterEditing(true);
        PageControl1->setCurrentWidget(entryPage);
        control("DBEdit1")->setFocus();
    }, this);
}

void TRegisterForm::SpeedItem2Click()
{
    guard([this] {
        m_table->edit();
        if (!m_table->isEditing())
            return;
        SetRegisterEditing(true);
        PageControl1->setCurrentWidget(entryPage);
        control("DBEdit1")->setFocus();
    }, this);
}

SaveResult TRegisterForm::saveEntry() { return storedIf(DBDateEdit::datesPass(this) && m_table->post()); }

void TRegisterForm::cancelEntry() { m_table->cancel(); }

void TRegisterForm::SpeedItem3Click()
{
    guard([this] {
        if (saveEntry() == SaveResult::Stored)
            SetRegisterEditing(false);
    }, this);
}

void TRegisterForm::SpeedItem4Click()
{
    guard([this] { cancelEntry(); }, this);
    SetRegisterEditing(false);
}

ListStatement TRegisterForm::listStatement(const RegisterInfo &info, const QDate &from, const QDate &to,
                                           const QString &choice)
{
    QueryConditions c;
    c.fromDate(QStringLiteral("register_date"), from).toDate(QStringLiteral("register_date"), to);
    if (info.choiceCondition)
        info.choiceCondition(c, choice);
    // As the database finds the rows by the first filter given (the key alone
    // without one): a year of customers is not sorted for the first screen.
    return ListStatement::of(QStringLiteral("select * from ") + info.table, c, {info.codeField},
                             c.leadingColumn());
}

void TRegisterForm::openList(DataSet *list) const
{
    listStatement(m_info, DateEdit1->date(), DateEdit2->date(),
                  choiceBox ? choiceBox->currentText() : QString())
        .setOn(list);
    list->open();
}

void TRegisterForm::SpeedItem5Click()
{
    if (!DateEdit::rangePasses(DateEdit1, DateEdit2))
        return;
    guard([this] { openList(m_query); }, this);
}

void TRegisterForm::SpeedItem6Click()
{
    if (!DateEdit::rangePasses(DateEdit1, DateEdit2))
        return;
    const std::unique_ptr<ListReport> layout = m_info.layout(this);
    DataSet *rows = layout->findQuery(m_info.reportQuery);
    if (!guard([&] { openList(rows); }, this))
        return; // the database's message was shown; nothing is printed
    // The dates as shown: the blank mask when none is given.
    layout->findLabel(m_info.fromLabel)->setCaption(DateEdit1->displayText());
    layout->findLabel(m_info.toLabel)->setCaption(DateEdit2->displayText());
    layout->findLabel(QStringLiteral("QRLabel5"))
        ->setCaption(frmDMcarsales ? frmDMcarsales->operatorName() : QString());
    layout->printOrShowError();
}

void TRegisterForm::SpeedItem8Click()
{
    // At once, without a question, also while a row is being edited.
    guard([this] { m_table->deleteRecord(); }, this);
}

void TRegisterForm::closeEvent(QCloseEvent *event)
{
    // No question: a row being entered or edited is dropped.
    guard([this] {
        cancelEntry();
        m_table->close();
        m_query->close();
    }, this);
    event->accept();
}
