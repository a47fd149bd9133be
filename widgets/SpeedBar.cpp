#include "SpeedBar.h"

SpeedBar::SpeedBar(QWidget *parent) : QToolBar(parent)
{
    setObjectName(QStringLiteral("SpeedBar1"));
    setFocusPolicy(Qt::NoFocus);
    setMovable(false);
    setFloatable(false);
}

QToolButton *SpeedBar::addItem(const QString &objectName, const QString &hint,
                               const QString &caption)
{
    auto *button = new QToolButton(this);
    button->setObjectName(objectName);
    button->setText(caption.isEmpty() ? hint : caption);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    addWidget(button);
    return button;
}
