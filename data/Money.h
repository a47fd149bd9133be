#pragma once

#include <QString>
#include <QVariant>
#include <QtGlobal>
#include <compare>
#include <optional>

// An amount in yuan with four decimal places, held as a count of
// ten-thousandths so that sums and comparisons are exact.
class Money {
public:
    static constexpr qint64 Scale = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(qint64 units) { return Money(units); }
    static constexpr Money fromYuan(qint64 yuan) { return Money(yuan * Scale); }
    // Nearest ten-thousandth of a stored REAL (33.83 is 33.8300, not 33.8299...).
    static Money fromDouble(double value);
    // A database value; null (and anything not a number) is zero.
    static Money fromVariant(const QVariant &value);

    // Typed text: optional sign, digits, optional point and up to four
    // decimals, blanks around it allowed. Anything else is refused.
    static std::optional<Money> parse(const QString &text);

    constexpr qint64 units() const { return m_units; }
    double toDouble() const { return double(m_units) / Scale; }
    QVariant toVariant() const { return QVariant(toDouble()); }
    constexpr bool isZero() const { return m_units == 0; }

    // Plain decimal text: no grouping, no exponent, no trailing zeros.
    QString toString() const;

    // Rounded to whole yuan, a half going to the even neighbour.
    Money roundedToYuan() const;

    constexpr Money operator+(Money o) const { return Money(m_units + o.m_units); }
    constexpr Money operator-(Money o) const { return Money(m_units - o.m_units); }
    constexpr Money operator-() const { return Money(-m_units); }
    constexpr Money operator*(qint64 factor) const { return Money(m_units * factor); }
    Money &operator+=(Money o) { m_units += o.m_units; return *this; }
    Money &operator-=(Money o) { m_units -= o.m_units; return *this; }
    constexpr auto operator<=>(const Money &) const = default;

private:
    constexpr explicit Money(qint64 units) : m_units(units) {}
    qint64 m_units = 0;
};
