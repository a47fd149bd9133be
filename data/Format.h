#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

// The one place where values become text: for SQL, for the screen, for
// printouts and for the export, whatever the user's locale.
namespace Fmt {

inline const QString DateFormat = QStringLiteral("yyyy-MM-dd");
inline const QString TimeFormat = QStringLiteral("HH:mm:ss");
inline const QString DateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QString date(const QDate &d);          // "2024-05-01", empty for an invalid date
QString time(const QTime &t);          // "13:05:09"
QString dateTime(const QDateTime &dt); // "2024-05-01 13:05:09"

// Values to bind for date columns: the text above, or null.
QVariant sqlDate(const QDate &d);
QVariant sqlDateTime(const QDateTime &dt);

// A stored date (with or without time of day) read back; invalid when empty.
QDate toDate(const QVariant &v);
QDateTime toDateTime(const QVariant &v);

// Display text of any value: null is "", dates as above, a date field's
// stored text ("2024-05-01 13:05:09") as its date alone, money (a REAL, unless
// told otherwise) as plain decimal text, integers plain. Never throws: a REAL beyond Money's
// range shows its whole digits, NaN and infinities as "nan", "inf", "-inf".
// The export writes a date field's text as stored, its time of day included.
enum class StoredDates { DateAlone, AsStored };
// A REAL is an amount (Money's text, four places at most) unless it is a
// figure the database computed that is no amount, such as a quotient: that
// shows as the database gives it, its 15 significant digits as SQLite writes
// a REAL ("68376.0683760684" for 80000/1.17), a whole value without ".0".
enum class Reals { Amounts, AsGiven };
QString display(const QVariant &v, StoredDates dates = StoredDates::DateAlone,
                Reals reals = Reals::Amounts);

} // namespace Fmt
