#include "StatisticsForm.h"
#include "BandedReport.h"
#include "DMsales.h"
#include "DBGrid.h"
#include "DataSet.h"
#include "EnterMovesOn.h"
#include "Errors.h"
#include "Guard.h"
#include "OperatorHeader.h"

#include <QCloseEvent>
#include <QHBoxLayout>

TStatisticsForm::TStatisticsForm(const QString &objectName, const QString &caption,
                                 const QString &statusText, QWidget *parent)
    : ChildForm(parent)
{
    setObjectName(objectName);
    setWindowTitle(caption);

    SpeedBar1 = new SpeedBar(this);
    SpeedItem1 = SpeedBar1->addItem(QStringLiteral("SpeedItem1"), QStringLiteral("统计"));
    SpeedItem2 = SpeedBar1->addItem(QStringLiteral("SpeedItem2"), QStringLiteral("清除条件"));
    SpeedItem3 = SpeedBar1->addItem(QStringLiteral("SpeedItem3"), QStringLiteral("打印"));
    SpeedItem4 = SpeedBar1->addItem(QStringLiteral("SpeedItem4"), QStringLiteral("退出"));

    Label14 = newOperatorCaption(this);
    Label14->setObjectName(QStringLiteral("Label14"));
    Label15 = newOperatorName(this, QStringLiteral("Label15"));

    GroupBox2 = new QGroupBox(QStringLiteral("统计条件"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    Label7 = new QLabel(QStringLiteral("日期范围："), GroupBox2);
    Label7->setObjectName(QStringLiteral("Label7"));
    DateEdit3 = new DateEdit(GroupBox2);
    DateEdit3->setObjectName(QStringLiteral("DateEdit3"));
    Label7->setBuddy(DateEdit3);
    Label8 = new QLabel(QStringLiteral("至："), GroupBox2);
    Label8->setObjectName(QStringLiteral("Label8"));
    DateEdit4 = new DateEdit(GroupBox2);
    DateEdit4->setObjectName(QStringLiteral("DateEdit4"));
    Label8->setBuddy(DateEdit4);
    auto *conditions = new QHBoxLayout(GroupBox2);
    for (QWidget *w : {static_cast<QWidget *>(Label7), static_cast<QWidget *>(DateEdit3),
                       static_cast<QWidget *>(Label8), static_cast<QWidget *>(DateEdit4)})
        conditions->addWidget(w);
    conditions->addStretch();

    auto *operatorLine = new QHBoxLayout;
    operatorLine->addStretch();
    operatorLine->addWidget(Label14);
    operatorLine->addWidget(Label15);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SpeedBar1);
    layout->addLayout(operatorLine);
    layout->addWidget(GroupBox2);
    m_body = new QVBoxLayout;
    layout->addLayout(m_body, 1);
    if (!statusText.isEmpty()) {
        StatusBar1 = new QStatusBar(this);
        StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
        StatusBar1->setSizeGripEnabled(false);
        StatusBar1->addWidget(new QLabel(statusText, StatusBar1));
        layout->addWidget(StatusBar1);
    }

    connect(SpeedItem1, &QToolButton::clicked, this, &TStatisticsForm::SpeedItem1Click);
    connect(SpeedItem2, &QToolButton::clicked, this, &TStatisticsForm::SpeedItem2Click);
    connect(SpeedItem3, &QToolButton::clicked, this, [this] { SpeedItem3Click(); });
    connect(SpeedItem4, &QToolButton::clicked, this, &QWidget::close);
    SpeedItem3->setEnabled(false);
}

DataSource *TStatisticsForm::addQuery(const QString &name, const QString &sourceName)
{
    auto *query = new DataSet(this);
    query->setObjectName(name);
    auto *source = new DataSource(query, this);
    source->setObjectName(sourceName);
    m_queries << query;
    return source;
}

DBGrid *TStatisticsForm::addResultGrid(DataSource *source, const GridColumns &columns)
{
    auto *grid = new DBGrid(this);
    grid->setObjectName(QStringLiteral("DBGrid1"));
    grid->setColumns(columns);
    grid->setDataSource(source);
    grid->setReadOnly(true);
    m_body->addWidget(grid, 1);
    setResult(source->dataSet());
    return grid;
}

void TStatisticsForm::setResult(DataSet *result)
{
    connect(result, &DataSet::stateChanged, this,
            [this](DataSet::State s) { SpeedItem3->setEnabled(s != DataSet::Inactive); });
    SpeedItem3->setEnabled(result->isActive());
}

void TStatisticsForm::SpeedItem1Click()
{
    QDate from, to;
    if (!period(from, to))
        return;
    BusyCursor busy;
    for (const auto &[query, statement] : results(from, to)) {
        try {
            openStatement(query, statement);
        } catch (const AppError &) {
            query->close();
        }
    }
}

void TStatisticsForm::SpeedItem2Click()
{
    DateEdit3->clearDate();
    DateEdit4->clearDate();
}

bool TStatisticsForm::period(QDate &from, QDate &to)
{
    if (!DateEdit::rangePasses(DateEdit3, DateEdit4))
        return false;
    from = DateEdit3->date();
    to = DateEdit4->date();
    return true;
}

void TStatisticsForm::openStatement(DataSet *query, const SalesStatistics::Statement &statement)
{
    query->close();
    query->setSql(statement.sql);
    query->clearParams();
    for (auto b = statement.binds.cbegin(); b != statement.binds.cend(); ++b)
        query->setParam(b.key(), b.value());
    query->open();
}

void TStatisticsForm::setRangeLabels(BandedReport &layout, const QString &fromLabel,
                                     const QString &toLabel) const
{
    // The dates as shown: the blank mask when none is given.
    layout.findLabel(fromLabel)->setCaption(DateEdit3->displayText());
    layout.findLabel(toLabel)->setCaption(DateEdit4->displayText());
}

QString TStatisticsForm::operatorName()
{
    return frmDMcarsales ? frmDMcarsales->operatorName() : QString();
}

void TStatisticsForm::printList(BandedReport &layout, const QString &query,
                                ListStatement statement, const QString &fromLabel,
                                const QString &toLabel, const QString &makerLabel)
{
    QDate from, to;
    if (!period(from, to))
        return;
    setRangeLabels(layout, fromLabel, toLabel);
    layout.findLabel(makerLabel)->setCaption(operatorName());
    if (!guard([&] {
            BusyCursor busy;
            openStatement(layout.findQuery(query), statement(from, to, SalesStatistics::Names::Print));
        }, this))
        return; // the database's message was shown; nothing is printed
    layout.printOrShowError();
}

void TStatisticsForm::showEvent(QShowEvent *event)
{
    // Enter moves on as in every child window. The rule reaches the controls
    // that exist when it is installed: the figures and the grid of each
    // window come after this base, and are all there once it shows.
    if (!m_enterMovesOn) {
        m_enterMovesOn = true;
        installEnterMovesOn(this);
    }
    ChildForm::showEvent(event);
}

void TStatisticsForm::closeEvent(QCloseEvent *event)
{
    for (DataSet *q : m_queries)
        guard([q] { q->close(); }, this);
    event->accept();
}
