#pragma once

#include "ChildForm.h"
#include "DocumentEntry.h"

// A window that makes one new document at a time, or changes stored ones.
// Closing it with unsaved input asks closeQuestion(): Yes saves and a refused save keeps
// the window open, No discards the document, Cancel keeps everything.
class DocumentForm : public ChildForm {
    Q_OBJECT
public:
    explicit DocumentForm(QWidget *parent = nullptr);

protected:
    virtual QString closeQuestion() const = 0;
    // Whether closing asks closeQuestion(): by default while a document is open.
    virtual bool hasUnsavedInput() const { return document && document->isOpen(); }
    // The window's save routine.
    virtual SaveResult saveDocument() = 0;
    virtual void discardDocument() { document->discard(); }

    void closeEvent(QCloseEvent *event) override;

    // The window's document. Its every save first checks the window's date
    // fields: a date typed in part is never stored as empty.
    void setDocument(DocumentEntry *entry);
    DocumentEntry *document = nullptr; // set by the window through setDocument
};
