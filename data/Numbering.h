#pragma once

#include <QString>
#include <QStringList>

// How one kind of document is numbered (the five texts NextDocumentNumber takes).
struct DocumentNumbering {
    QString prefixColumn, counterColumn, typeCode, table, numberField;
};

// Draws the next number of that kind (TfrmDMcarsales::NextDocumentNumber).
QString nextNumber(const DocumentNumbering &n);

// Gives back those of the numbers drawn that no row of the kind's table
// holds: rows added and never stored. One transaction.
void giveBackUnstoredNumbers(const DocumentNumbering &n, const QStringList &drawn);
