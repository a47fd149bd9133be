#include "ShellDialog.h"
#include "EnterMovesOn.h"
#include "Guard.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

void centreOnScreen(QWidget *window)
{
    const QWidget *owner = window->parentWidget() ? window->parentWidget()->window() : window;
    QScreen *screen = owner->screen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->geometry().center());
    window->move(frame.topLeft());
}

ShellDialog::ShellDialog(QWidget *parent, const QString &objectName, const QString &caption,
                         Qt::WindowFlags flags)
    : QDialog(parent, flags),
      BitBtn1(new QPushButton(QStringLiteral("确定"))),
      BitBtn2(new QPushButton(QStringLiteral("取消")))
{
    setObjectName(objectName);
    setWindowTitle(caption);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn1->setAutoDefault(false);
    BitBtn2->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { guard([this] { check(); }, this); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void ShellDialog::setRows(const QList<QPair<QString, QWidget *>> &rows)
{
    auto *form = new QFormLayout;
    for (const auto &row : rows) {
        if (row.first.isEmpty())
            form->addRow(row.second);
        else
            form->addRow(row.first, row.second);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    installEnterMovesOn(this);
    // As in any login box, Enter in the last field is the OK.
    if (auto *last = qobject_cast<QLineEdit *>(rows.isEmpty() ? nullptr : rows.last().second))
        enterPresses(last, BitBtn1);
}
