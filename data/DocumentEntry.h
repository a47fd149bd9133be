#pragma once

#include "DataSet.h"
#include "Numbering.h"
#include "SaveResult.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <functional>


// One document edited in place, with its lines. add() draws the number and
// stores the row holding only that number; from then on the row and its lines
// are edited in memory, every change pending, until save() writes them all in
// one transaction or discard() deletes the document and gives its number back.
// A save that fails writes nothing and leaves every change pending as typed.
// A window that changes stored documents opens the data sets itself and uses
// only save().
class DocumentEntry : public QObject {
    Q_OBJECT
public:
    DocumentEntry(DataSet *master, const DocumentNumbering &numbering, QObject *parent = nullptr);

    // A data set of lines that carry the document's number in numberField.
    void addLines(DataSet *lines, const QString &numberField);

    DataSet *master() const { return m_master; }
    const DocumentNumbering &numbering() const { return m_numbering; }
    // The number of the document shown; empty when none is.
    QString number() const { return m_number; }
    bool isOpen() const { return !m_number.isEmpty(); }

    // Draws a number, stores the new row and opens the data sets on it, the
    // row being edited. False, nothing changed, when the numbering gave no
    // number; a failure throws and stores nothing.
    bool add();
    // Fields the new row is stored with besides its number, asked as add()
    // stores it (a date that its field fills in as the row is appended).
    std::function<QVariantMap()> storedWithNumber;
    // Writes the row, its lines and then what `also` runs, in one transaction.
    // Afterwards the row is stored and no longer being edited. Refused when a
    // check refused a row: nothing is written and the row is back in editing,
    // as after a failure (which throws).
    // `whileShown` runs once the transaction has committed and before the
    // data sets read their rows again, so that the document still shows as
    // it was saved (also where the reading would leave it out of a list).
    SaveResult save(const std::function<void()> &also = {}, const std::function<void()> &whileShown = {});
    // Runs first in every save (the window's check of what stands in its
    // fields, showing its own message); false refuses the save, nothing written.
    std::function<bool()> beforeSave;
    // Runs inside the save's transaction before anything is written (a check
    // of what another window or program may have changed meanwhile, showing
    // its own message); false refuses the save, nothing written.
    std::function<bool()> beforeWrite;
    // Deletes the lines and the row, gives the number back and closes.
    void discard();
    // Closes the lines, then the row; pending changes are dropped.
    void close();

private:
    void stored(const std::function<void()> &whileShown = {});
    void readAgain();
    void backToEditing();

    DataSet *m_master;
    DocumentNumbering m_numbering;
    struct Lines {
        DataSet *data;
        QString numberField;
    };
    QList<Lines> m_lines;
    QString m_number;
};
