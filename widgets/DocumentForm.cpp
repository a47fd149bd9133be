#include "DocumentForm.h"
#include "Guard.h"
#include "Messages.h"

#include <QCloseEvent>

DocumentForm::DocumentForm(QWidget *parent) : ChildForm(parent) {}

void DocumentForm::closeEvent(QCloseEvent *event)
{
    if (document && document->isOpen()) {
        bool closes = false;
        switch (Msg::yesNoCancel(closeQuestion(), this)) {
        case QMessageBox::Yes:
            guard([&] { closes = saveDocument() == 0; }, this);
            break;
        case QMessageBox::No:
            closes = guard([&] { discardDocument(); }, this);
            break;
        default:
            break;
        }
        if (!closes) {
            event->ignore();
            return;
        }
    }
    if (document)
        document->close();
    event->accept();
}
