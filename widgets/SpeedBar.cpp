#include "SpeedBar.h"

#include <QMainWindow>
#include <QShortcut>

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
    // The buttons take no focus, so a business window reaches them by Alt and
    // their place on the bar (Alt+1 the first), only while that window has the
    // focus. The main window's buttons repeat its menu items and their keys.
    QWidget *window = parentWidget();
    const int place = ++m_items;
    if (window && !qobject_cast<QMainWindow *>(window) && place <= 9) {
        auto *key = new QShortcut(QKeySequence(Qt::ALT | Qt::Key(Qt::Key_0 + place % 10)), window);
        key->setContext(Qt::WidgetWithChildrenShortcut);
        connect(key, &QShortcut::activated, button, &QToolButton::click);
    }
    return button;
}
