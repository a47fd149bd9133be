#include "ChildForm.h"
#include "Guard.h"
#include "Messages.h"

#include <QApplication>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

// The document area gives the focus to a window's frame itself when it finds
// no field to give it to: after a question that closed while the field with
// the focus was disabled, or on opening. The frame passes it on to the window,
// where its fields and keys are.
class FrameFocus : public QObject {
public:
    FrameFocus(ChildForm *form, QObject *frame) : QObject(form), m_form(form), m_frame(frame) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_frame && event->type() == QEvent::FocusIn)
            m_form->takeFocus();
        return false;
    }

private:
    ChildForm *m_form;
    QObject *m_frame;
};

} // namespace

ChildForm::ChildForm(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // Holds the focus itself while none of its fields can (a document window
    // before its add): its speed buttons' keys then still reach it.
    setFocusPolicy(Qt::ClickFocus);
    // A click on a place that takes no focus (a speed button, a label, the
    // background) would give the window the focus and so leave the field,
    // running its check once more before the button's own. While one of its
    // fields has the focus, the window hands the focus on to that field.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        QWidget *field = now && now != this && isAncestorOf(now) ? now : nullptr;
        if (focusProxy() != field)
            setFocusProxy(field);
    });
}

bool ChildForm::event(QEvent *event)
{
    if (event->type() == QEvent::ParentChange)
        if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
            frame->installEventFilter(new FrameFocus(this, frame));
    return QWidget::event(event);
}

void ChildForm::takeFocus()
{
    const auto takes = [this](QWidget *w) {
        return w && w != this && isAncestorOf(w) && w->isEnabled() && w->isVisible()
            && (w->focusPolicy() & Qt::TabFocus);
    };
    QWidget *target = focusWidget();
    if (!takes(target)) {
        target = this;
        for (QWidget *w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain())
            if (takes(w) && !w->focusProxy()) {
                target = w;
                break;
            }
    }
    target->setFocus(Qt::OtherFocusReason);
}

bool ChildForm::askBeforeClose(const QString &question, const std::function<bool()> &save,
                               const std::function<void()> &discard)
{
    bool closes = false;
    switch (Msg::yesNoCancel(question, this)) {
    case QMessageBox::Yes:
        guard([&] { closes = save(); }, this);
        break;
    case QMessageBox::No:
        closes = guard(discard, this);
        break;
    default:
        break;
    }
    return closes;
}

void ChildForm::showAlongside(ChildForm *window) const
{
    QMdiArea *area = nullptr;
    for (QWidget *w = parentWidget(); w && !area; w = w->parentWidget())
        area = qobject_cast<QMdiArea *>(w);
    if (!area) {
        window->show();
        return;
    }
    QMdiSubWindow *sub = area->addSubWindow(window);
    connect(window, &QObject::destroyed, sub, &QObject::deleteLater);
    sub->adjustSize();
    const QRect free = area->viewport()->rect();
    sub->move(qMax(0, (free.width() - sub->width()) / 2), qMax(0, (free.height() - sub->height()) / 2));
    sub->show();
    area->setActiveSubWindow(sub);
    window->takeFocus();
}
