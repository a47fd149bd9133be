#include "PickerDialog.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

PickerDialog::PickerDialog(QWidget *owner, const Names &names, const GridColumns &columns, bool toolWindow)
    : QDialog(owner), m_rows(new DataSet(this))
{
    DataSource1 = new DataSource(m_rows, this);
    if (toolWindow)
        setWindowFlag(Qt::Tool);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    m_rows->setObjectName(names.rows);
    m_rows->setPageSize(PageSize);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));

    m_grid = new DBGrid(this);
    m_grid->setObjectName(names.grid);
    m_grid->setColumns(columns);
    m_grid->setDataSource(DataSource1);

    BitBtn1 = new QPushButton(QStringLiteral("确定"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("取消"), this);
    m_cancel->setObjectName(names.cancel);
    m_buttons = new QHBoxLayout;
    m_buttons->addStretch();
    m_buttons->addWidget(BitBtn1);
    m_buttons->addWidget(m_cancel);

    m_layout = new QVBoxLayout(this);
    m_layout->addWidget(m_grid, 1);
    m_layout->addLayout(m_buttons);

    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void PickerDialog::putAbove(QWidget *widget)
{
    m_layout->insertWidget(0, widget);
}

void PickerDialog::putAbove(QLayout *layout)
{
    m_layout->insertLayout(0, layout);
}

void PickerDialog::putBeforeOk(QPushButton *button)
{
    m_buttons->insertWidget(m_buttons->indexOf(BitBtn1), button);
}

void PickerDialog::setTabChain(const QList<QWidget *> &chain)
{
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain.at(i - 1), chain.at(i));
    // Reordering leaves the cycle's start at the widgets made first (the
    // grid and the buttons), so the focus is put at the chain's head.
    chain.first()->setFocus();
}

bool PickerDialog::chooseRow()
{
    QPointer<PickerDialog> self(this);
    const int result = exec();
    return self && result == QDialog::Accepted && m_rows->isActive() && !m_rows->isEmpty();
}
