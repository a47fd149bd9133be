#include "Money.h"
#include "Errors.h"

#include <QRegularExpression>
#include <cmath>

namespace {

// The parts of an amount's text; nothing when it is not shaped like one.
struct Parts {
    bool negative = false;
    QString whole; // without leading zeros
    QString frac;  // up to four digits
    bool empty = true; // no digit at all: "", "-", "."
};

std::optional<Parts> split(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^([+-]?)([0-9]*)(?:\\.([0-9]{0,4}))?$"));
    const auto m = pattern.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    Parts p;
    p.negative = m.captured(1) == QLatin1String("-");
    p.whole = m.captured(2);
    p.frac = m.captured(3);
    p.empty = p.whole.isEmpty() && p.frac.isEmpty();
    while (p.whole.startsWith(QLatin1Char('0')))
        p.whole.remove(0, 1);
    return p;
}

} // namespace

void Money::outOfRange()
{
    throw AppError(QStringLiteral("金额超出可处理的范围（最大为%1）！").arg(max().toString()));
}

Money Money::fromDouble(double value)
{
    if (std::isnan(value))
        throw AppError(QStringLiteral("金额不是数字！"));
    const double units = std::round(value * Scale);
    // 2^63 is a double; every double below it is a qint64, and -2^63 is
    // outside the symmetric range.
    if (!(std::fabs(units) < 9223372036854775808.0))
        outOfRange();
    return Money(qint64(units));
}

Money Money::fromVariant(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return Money();
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
        return fromYuan(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        if (value.toULongLong() > quint64(MaxUnits))
            outOfRange();
        return fromYuan(value.toLongLong());
    case QMetaType::QString:
        if (auto parsed = parse(value.toString()))
            return *parsed;
        break;
    default:
        break;
    }
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok)
        throw AppError(QStringLiteral("“%1”不是金额！").arg(value.toString()));
    return fromDouble(d);
}

std::optional<Money> Money::parse(const QString &text)
{
    const auto p = split(text);
    if (!p || p->empty)
        return std::nullopt;
    qint64 units = 0;
    for (const QChar c : p->whole + p->frac.leftJustified(4, QLatin1Char('0'))) {
        if (__builtin_mul_overflow(units, qint64(10), &units)
            || __builtin_add_overflow(units, qint64(c.unicode() - '0'), &units))
            return std::nullopt; // beyond what four decimals in 64 bits hold
    }
    return Money(p->negative ? -units : units);
}

Money::Typed Money::checkTyped(const QString &text)
{
    const auto p = split(text);
    if (!p)
        return Typed::NotAmount;
    if (p->empty)
        return Typed::Partial;
    return p->whole.size() > TypedDigits ? Typed::TooLarge : Typed::Amount;
}

QString Money::tooLargeMessage(const QString &caption)
{
    return QStringLiteral("%1太大：最多%2位整数！").arg(caption).arg(TypedDigits);
}

QString Money::quantityMessage(const QString &caption)
{
    return QStringLiteral("%1必须在-%2到%2之间！").arg(caption).arg(MaxQuantity);
}

QString Money::sqlSum(const QString &amount)
{
    // round() of SQLite, like fromDouble, takes a half away from zero.
    return QStringLiteral("(sum(cast(round((%1)*%2) as integer))/%2.0)")
        .arg(amount, QString::number(Scale));
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
    return fromYuan(m_units < 0 ? -yuan : yuan);
}
