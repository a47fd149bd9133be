#include "ChildForm.h"
#include "Guard.h"
#include "Messages.h"

ChildForm::ChildForm(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // Holds the focus itself while none of its fields can (a document window
    // before its add): its speed buttons' keys then still reach it.
    setFocusPolicy(Qt::ClickFocus);
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
