#include "ListPicker.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

ListPicker::ListPicker(QWidget *owner, const Filter &first, const Filter &second,
                       const GridColumns &columns, const QSize &gridSize, TabOrder order)
    : QDialog(owner), query1(new DataSet(this)), DataSource1(new DataSource(query1, this))
{
    setWindowFlag(Qt::Tool);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    query1->setObjectName(QStringLiteral("query1"));
    query1->setPageSize(PageSize);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));

    auto *bevel = new QFrame(this);
    bevel->setFrameShape(QFrame::StyledPanel);
    auto *top = new QHBoxLayout(bevel);
    const Filter *filters[] = {&first, &second};
    for (int i = 0; i < 2; ++i) {
        m_edits[i] = new QLineEdit(bevel);
        m_edits[i]->setObjectName(filters[i]->objectName);
    }
    for (int i = 0; i < 2; ++i) {
        auto *caption = new QLabel(filters[i]->caption, bevel);
        caption->setBuddy(m_edits[i]);
        top->addWidget(caption);
        top->addWidget(m_edits[i]);
    }

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns(columns);
    DBGrid1->setDataSource(DataSource1);
    DBGrid1->setMinimumSize(gridSize);

    BitBtn1 = new QPushButton(QStringLiteral("确定"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("取消"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(bevel);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);

    QWidget *chain[] = {m_edits[0], m_edits[1], DBGrid1, BitBtn1, BitBtn2};
    if (order == TabOrder::ButtonsFirst)
        std::rotate(std::begin(chain), std::begin(chain) + 3, std::end(chain));
    for (size_t i = 1; i < std::size(chain); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    chain[0]->setFocus();

    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

bool ListPicker::chooseRow()
{
    QPointer<ListPicker> self(this);
    const int result = exec();
    return self && result == QDialog::Accepted && query1->isActive() && !query1->isEmpty();
}
