#include "EnterMovesOn.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTextEdit>
#include <QWidget>

namespace {

const char KeepsEnter[] = "keepsEnter";
const char PressesOnEnter[] = "enterPresses";

bool keepsEnter(QWidget *w)
{
    for (; w; w = w->isWindow() ? nullptr : w->parentWidget())
        if (w->property(KeepsEnter).toBool())
            return true;
    return false;
}

class EnterFilter : public QObject {
public:
    EnterFilter(QWidget *window, EnterRule rule) : QObject(window), m_window(window), m_rule(rule)
    {
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            || (key->modifiers() & ~Qt::KeypadModifier))
            return false;
        // A key that a control keeping its Enter left unused comes on to its
        // parents: it is theirs no more than the control's.
        auto *w = qobject_cast<QWidget *>(watched);
        if (!w || keepsEnter(w) || keepsEnter(QApplication::focusWidget()))
            return false;
        const bool multiLine = qobject_cast<QPlainTextEdit *>(w) || qobject_cast<QTextEdit *>(w);
        if (multiLine && m_rule == EnterRule::ExceptMultiLine)
            return false;
        // A check box or radio button is passed like an edit; a button is pressed.
        auto *button = qobject_cast<QAbstractButton *>(w);
        if (button && !qobject_cast<QCheckBox *>(w) && !qobject_cast<QRadioButton *>(w)) {
            button->click();
            return true;
        }
        const auto target = w->property(PressesOnEnter).value<QPointer<QAbstractButton>>();
        if (target && target->isEnabled()) {
            target->click();
            return true;
        }
        moveOn(w);
        return true;
    }

private:
    void moveOn(QWidget *from)
    {
        QWidget *next = from->nextInFocusChain();
        while (next && next != from) {
            // Inside the window: in the main window's document area its
            // controls' window() is the main window.
            if (m_window->isAncestorOf(next) && next->isEnabled() && next->isVisible()
                && (next->focusPolicy() & Qt::TabFocus) && !next->focusProxy()) {
                next->setFocus(Qt::TabFocusReason);
                return;
            }
            next = next->nextInFocusChain();
        }
    }

    QWidget *m_window;
    EnterRule m_rule;
};

} // namespace

void installEnterMovesOn(QWidget *window, EnterRule rule)
{
    auto *filter = new EnterFilter(window, rule);
    window->installEventFilter(filter);
    for (QWidget *child : window->findChildren<QWidget *>())
        child->installEventFilter(filter);
}

void keepEnter(QWidget *control) { control->setProperty(KeepsEnter, true); }

void enterPresses(QWidget *field, QAbstractButton *button)
{
    field->setProperty(PressesOnEnter, QVariant::fromValue(QPointer<QAbstractButton>(button)));
}
