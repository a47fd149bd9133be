#pragma once

#include "ContractEntry.h"
#include "Drive.h"
#include "Shown.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

class DBGrid;
class TestDb;

// What the contract tests stand on: the sales and purchase twins, the rows of
// their partners, and their windows driven as a user does.

inline const QDateTime Now(QDate(2024, 5, 6), QTime(9, 30, 0));

// What a test needs to know of each twin.
struct Twin {
    const char *name;
    std::function<TContractEntry *()> make;
    void (*print)(QWidget *, const QString &);
    QString master, lines, numberField, codeField, nameField, typeCode;
    QString code, partyName, codeMissing, codeNotFound, closeQuestion;
};

const Twin &twin(const QString &name);
// The column "kind" with a row for each twin, "sales" and "purchase".
void addTwinRows();
void seed(TestDb &db);

template <class W = TContractEntry>
using Window = Shown<W>;

void press(QWidget *w, const char *button);
using Drive::typeText;
void type(QWidget *w, const char *edit, const QString &text);
using Drive::column;
QString currentField(DBGrid *grid);
// Types into the grid's current cell as a user does and ends with Enter.
void typeCellAndEnter(DBGrid *grid, const QString &text);
// Fills one line from its car-type cell by the Enter walk: type, model, origin,
// price, quantity; the walk ends on the next line.
void enterLine(DBGrid *grid, const QStringList &cells);
// Adds a contract and fills it so that it passes every check.
QString addFilled(TContractEntry *w, const Twin &t, const QString &contractNo = "HT-001");
