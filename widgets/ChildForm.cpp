#include "ChildForm.h"
#include "Errors.h"
#include "Messages.h"

ChildForm::ChildForm(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

bool ChildForm::closeAfterAsking(const QString &question, const std::function<bool()> &save,
                                 const std::function<void()> &discard)
{
    switch (Msg::yesNoCancel(question, this)) {
    case QMessageBox::Yes: {
        bool saved = false;
        guard([&] { saved = save(); }, this);
        return saved;
    }
    case QMessageBox::No:
        return guard(discard, this);
    default:
        return false;
    }
}
