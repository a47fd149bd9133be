#include "Money.h"

#include <QRegularExpression>
#include <cmath>

Money Money::fromDouble(double value)
{
    return Money(std::llround(value * Scale));
}

Money Money::fromVariant(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return Money();
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return fromYuan(value.toLongLong());
    case QMetaType::QString:
        if (auto parsed = parse(value.toString()))
            return *parsed;
        break;
    default:
        break;
    }
    bool ok = false;
    double d = value.toDouble(&ok);
    return ok ? fromDouble(d) : Money();
}

std::optional<Money> Money::parse(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^([+-]?)([0-9]*)(?:\\.([0-9]{0,4}))?$"));
    const QString t = text.trimmed();
    const auto m = pattern.match(t);
    if (!m.hasMatch())
        return std::nullopt;
    const QString whole = m.captured(2);
    QString frac = m.captured(3);
    if (whole.isEmpty() && frac.isEmpty())
        return std::nullopt; // "", "-", "." are not amounts
    if (whole.size() > 14)
        return std::nullopt; // beyond what four decimals in 64 bits hold
    frac = frac.leftJustified(4, QLatin1Char('0'));
    qint64 units = (whole.isEmpty() ? 0 : whole.toLongLong()) * Scale + frac.toLongLong();
    if (m.captured(1) == QLatin1String("-"))
        units = -units;
    return Money(units);
}

QString Money::toString() const
{
    const qint64 a = m_units < 0 ? -m_units : m_units;
    QString s = QString::number(a / Scale);
    qint64 frac = a % Scale;
    if (frac != 0) {
        QString f = QString::number(frac).rightJustified(4, QLatin1Char('0'));
        while (f.endsWith(QLatin1Char('0')))
            f.chop(1);
        s += QLatin1Char('.') + f;
    }
    return m_units < 0 ? QLatin1Char('-') + s : s;
}

Money Money::roundedToYuan() const
{
    const qint64 a = m_units < 0 ? -m_units : m_units;
    qint64 yuan = a / Scale;
    const qint64 rest = a % Scale;
    if (rest > Scale / 2 || (rest == Scale / 2 && (yuan % 2) != 0))
        ++yuan;
    return Money(m_units < 0 ? -yuan * Scale : yuan * Scale);
}
