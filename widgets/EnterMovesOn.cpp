#include "EnterMovesOn.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace {

const char KeepsEnter[] = "keepsEnter";

bool keepsEnter(QWidget *w)
{
    for (; w; w = w->isWindow() ? nullptr : w->parentWidget())
        if (w->property(KeepsEnter).toBool())
            return true;
    return false;
}

class EnterFilter : public QObject {
public:
    explicit EnterFilter(QWidget *window) : QObject(window), m_window(window) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            || (key->modifiers() & ~Qt::KeypadModifier))
            return false;
        auto *w = qobject_cast<QWidget *>(watched);
        if (!w || qobject_cast<QPlainTextEdit *>(w) || qobject_cast<QTextEdit *>(w)
            || keepsEnter(w))
            return false;
        moveOn(w);
        return true;
    }

private:
    void moveOn(QWidget *from)
    {
        QWidget *next = from->nextInFocusChain();
        while (next && next != from) {
            if (next->window() == m_window && next->isEnabled() && next->isVisible()
                && (next->focusPolicy() & Qt::TabFocus) && !next->focusProxy()) {
                next->setFocus(Qt::TabFocusReason);
                return;
            }
            next = next->nextInFocusChain();
        }
    }

    QWidget *m_window;
};

} // namespace

void installEnterMovesOn(QWidget *window)
{
    auto *filter = new EnterFilter(window);
    window->installEventFilter(filter);
    for (QWidget *child : window->findChildren<QWidget *>())
        child->installEventFilter(filter);
}

void keepEnter(QWidget *control) { control->setProperty(KeepsEnter, true); }
