#include "StockQueryForm.h"
#include "DBControls.h"
#include "FreeTextBox.h"
#include "Guard.h"
#include "SpeedBar.h"

#include <QComboBox>
#include <QVBoxLayout>

StockQueryForm::StockQueryForm(const StockQueryKind &kind, QWidget *parent)
    : ChildForm(parent), m_kind(kind), m_list(new DataSet(this)),
      m_source(new DataSource(m_list, this))
{
    setObjectName(kind.objectName);
    setWindowTitle(kind.caption);
    m_list->setObjectName(kind.listName);
    // Years of records: read as the grid scrolls, counted by the database.
    m_list->setPageSize(PageSize);
    m_source->setObjectName(kind.sourceName);

    auto *speedBar = new SpeedBar(this);
    SpeedItem1 = speedBar->addItem(QStringLiteral("SpeedItem1"), QStringLiteral("查询"));
    SpeedItem3 = speedBar->addItem(QStringLiteral("SpeedItem3"), QStringLiteral("清除条件"));
    if (kind.printable)
        SpeedItem6 = speedBar->addItem(QStringLiteral("SpeedItem6"), QStringLiteral("打印"));
    SpeedItem7 = speedBar->addItem(QStringLiteral("SpeedItem7"), QStringLiteral("退出"));
    connect(SpeedItem7, &QToolButton::clicked, this, &QWidget::close);

    m_layout = new QVBoxLayout(this);
    m_layout->addWidget(speedBar);
}

QLabel *StockQueryForm::finish(const GridColumns &columns, std::initializer_list<QWidget *> order)
{
    RxDBGrid1 = new DBGrid(this);
    RxDBGrid1->setObjectName(QStringLiteral("RxDBGrid1"));
    RxDBGrid1->setColumns(columns);
    RxDBGrid1->setDataSource(m_source);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    auto *count = new QLabel(m_kind.countText, StatusBar1);
    count->setObjectName(m_kind.countName);
    StatusBar1->addWidget(count, 1);
    showCountOn(count, m_list, QStringLiteral("共:%1 条记录"));

    m_layout->addWidget(RxDBGrid1, 1);
    m_layout->addWidget(StatusBar1);
    resize(m_kind.size);

    m_fields = order;
    for (qsizetype i = 1; i < m_fields.size(); ++i)
        setTabOrder(m_fields.at(i - 1), m_fields.at(i));
    setTabOrder(m_fields.last(), RxDBGrid1);
    return count;
}

void StockQueryForm::runQuery(const ListStatement &statement, DateEdit *from, DateEdit *to)
{
    if (!DateEdit::rangePasses(from, to))
        return;
    guard([&] {
        statement.setOn(m_list);
        m_list->open();
    }, this);
}

void StockQueryForm::clearConditions()
{
    for (QWidget *field : m_fields) {
        if (auto *date = qobject_cast<DateEdit *>(field))
            date->clearDate();
        else if (auto *edit = qobject_cast<QLineEdit *>(field))
            edit->clear();
        else if (auto *box = qobject_cast<QComboBox *>(field))
            clearFreeText(box);
    }
}
