#include "PickerDialog.h"
#include "EnterMovesOn.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace {

// What a field above the grid does with the keys that move through rows.
const char FieldRole[] = "pickerField";
enum Role { None, NarrowsList, LeadsIntoGrid };

bool movesRow(int key)
{
    return key == Qt::Key_Down || key == Qt::Key_Up || key == Qt::Key_PageDown || key == Qt::Key_PageUp;
}

} // namespace

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
    connect(m_grid, &DBGrid::enterPressed, BitBtn1, &QPushButton::click);
    keepEnter(m_grid); // also where Enter moves on between the fields above
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

void PickerDialog::narrowsList(QWidget *field)
{
    field->setProperty(FieldRole, int(NarrowsList));
    keepEnter(field);
    field->installEventFilter(this);
}

void PickerDialog::leadsIntoGrid(QWidget *field)
{
    field->setProperty(FieldRole, int(LeadsIntoGrid));
    field->installEventFilter(this);
}

bool PickerDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & ~Qt::KeypadModifier)
        return false;
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    switch (watched->property(FieldRole).toInt()) {
    case NarrowsList:
        if (enter) {
            BitBtn1->click();
            return true;
        }
        if (movesRow(key->key())) {
            // The grid moves as under its own keys; the typing goes on here.
            QKeyEvent moved(QEvent::KeyPress, key->key(), key->modifiers());
            QCoreApplication::sendEvent(m_grid, &moved);
            return true;
        }
        return false;
    case LeadsIntoGrid:
        if (key->key() != Qt::Key_Down)
            return false;
        m_grid->setFocus(Qt::TabFocusReason);
        return true;
    default: return false;
    }
}

bool PickerDialog::chooseRow()
{
    QPointer<PickerDialog> self(this);
    const int result = exec();
    return self && result == QDialog::Accepted && m_rows->isActive() && !m_rows->isEmpty();
}
