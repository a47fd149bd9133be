#include "ChildForm.h"
#include "Guard.h"
#include "Messages.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

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
}
