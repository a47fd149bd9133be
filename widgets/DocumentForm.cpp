#include "DocumentForm.h"
#include "DBControls.h"
#include "Errors.h"
#include "Messages.h"

#include <QCloseEvent>

DocumentForm::DocumentForm(QWidget *parent) : ChildForm(parent) {}

void DocumentForm::setDocument(DocumentEntry *entry)
{
    document = entry;
    entry->beforeSave = [this] { return DBDateEdit::datesPass(this); };
}

void DocumentForm::closeEvent(QCloseEvent *event)
{
    if (hasUnsavedInput()) {
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
