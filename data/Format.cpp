#include "Format.h"
#include "Money.h"

#include <QRegularExpression>

#include <cmath>

namespace Fmt {

QString date(const QDate &d) { return d.isValid() ? d.toString(DateFormat) : QString(); }
QString time(const QTime &t) { return t.isValid() ? t.toString(TimeFormat) : QString(); }
QString dateTime(const QDateTime &dt)
{
    return dt.isValid() ? dt.toString(DateTimeFormat) : QString();
}

QVariant sqlDate(const QDate &d) { return d.isValid() ? QVariant(date(d)) : QVariant(); }
QVariant sqlDateTime(const QDateTime &dt)
{
    return dt.isValid() ? QVariant(dateTime(dt)) : QVariant();
}

QDateTime toDateTime(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return {};
    switch (v.typeId()) {
    case QMetaType::QDateTime: return v.toDateTime();
    case QMetaType::QDate: return v.toDate().startOfDay();
    default: break;
    }
    const QString s = v.toString().trimmed();
    QDateTime dt = QDateTime::fromString(s, DateTimeFormat);
    if (!dt.isValid())
        dt = QDateTime::fromString(s, QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    if (!dt.isValid()) {
        const QDate d = QDate::fromString(s, DateFormat);
        if (d.isValid())
            dt = d.startOfDay();
    }
    return dt;
}

QDate toDate(const QVariant &v) { return toDateTime(v).date(); }

QString display(const QVariant &v, StoredDates dates, Reals reals)
{
    if (v.isNull() || !v.isValid())
        return QString();
    switch (v.typeId()) {
    case QMetaType::QDate: return date(v.toDate());
    case QMetaType::QTime: return time(v.toTime());
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        return dt.time() == QTime(0, 0) ? date(dt.date()) : dateTime(dt);
    }
    case QMetaType::Double:
    case QMetaType::Float: {
        // Showing never fails: a REAL that Money cannot hold is shown as it is.
        const double d = v.toDouble();
        if (reals == Reals::AsGiven && std::isfinite(d))
            return QString::number(d, 'g', 15);
        if (std::isfinite(d) && std::fabs(d) <= Money::max().toDouble() - 1)
            return Money::fromDouble(d).toString();
        return std::isfinite(d) ? QString::number(d, 'f', 0) : QString::number(d);
    }
    case QMetaType::Bool: return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QString: {
        // A date field stores the moment its row was added; it shows the date.
        static const QRegularExpression stored(QStringLiteral("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}$"));
        const QString text = v.toString();
        return dates == StoredDates::DateAlone && stored.match(text).hasMatch() ? text.left(10) : text;
    }
    default: return v.toString();
    }
}

} // namespace Fmt
