#include "DocumentForm.h"
#include "DBControls.h"

#include <QCloseEvent>

DocumentForm::DocumentForm(QWidget *parent) : ChildForm(parent) {}

void DocumentForm::setDocument(DocumentEntry *entry)
{
    document = entry;
    entry->beforeSave = [this] { return DBDateEdit::datesPass(this); };
}

void DocumentForm::closeEvent(QCloseEvent *event)
{
    if (hasUnsavedInput()
        && !askBeforeClose(
            closeQuestion(), [this] { return saveDocument(); },
            [this] { discardDocument(); })) {
        event->ignore();
        return;
    }
    if (document)
        document->close();
    event->accept();
}
