#pragma once

#include <QString>
#include <QVariant>
#include <QtGlobal>
#include <compare>
#include <limits>
#include <optional>

// An amount in yuan with four decimal places, held as a count of
// ten-thousandths so that sums and comparisons are exact.
//
// The range is symmetric, ±922337203685477.5807, so that negating never
// fails. What would leave it (a stored REAL beyond it, NaN or infinity, a sum,
// difference or product) throws AppError with a message for the user instead
// of wrapping round.
class Money {
public:
    static constexpr qint64 Scale = 10000;
    static constexpr qint64 MaxUnits = std::numeric_limits<qint64>::max();

    constexpr Money() = default;
    static Money fromUnits(qint64 units) { return Money(checked(units)); }
    static Money fromYuan(qint64 yuan) { return Money(yuan) * Scale; }
    static constexpr Money max() { return Money(MaxUnits); }
    static constexpr Money min() { return Money(-MaxUnits); }
    // Nearest ten-thousandth of a stored REAL (33.83 is 33.8300, not 33.8299...).
    static Money fromDouble(double value);
    // A database value; null is zero. Text that is no number throws.
    static Money fromVariant(const QVariant &value);

    // Typed text: optional sign, digits, optional point and up to four
    // decimals, blanks around it allowed. Anything else, and an amount
    // beyond the range, is refused.
    static std::optional<Money> parse(const QString &text);

    // What a user may type into an amount field: at most TypedDigits whole
    // digits (99999999.9999). The sums made of typed amounts then stay far
    // inside the range (about 9.2e14 yuan): a million of them stay below 1e14,
    // and a line's price times a quantity of up to MaxQuantity is below 1e12,
    // so that even hundreds of such lines sum safely.
    static constexpr int TypedDigits = 8;
    static constexpr qint64 MaxQuantity = 9999;
    enum class Typed {
        Amount,    // an amount within the limit
        Partial,   // nothing yet, or only a sign or a point
        TooLarge,  // an amount with more whole digits than allowed
        NotAmount, // anything else
    };
    static Typed checkTyped(const QString &text);
    // The refusal of a typed amount beyond the limit, naming the field.
    static QString tooLargeMessage(const QString &caption);
    // The refusal of a typed quantity beyond ±MaxQuantity, naming the field.
    static QString quantityMessage(const QString &caption);

    constexpr qint64 units() const { return m_units; }
    double toDouble() const { return double(m_units) / Scale; }
    QVariant toVariant() const { return QVariant(toDouble()); }
    constexpr bool isZero() const { return m_units == 0; }

    // Plain decimal text: no grouping, no exponent, no trailing zeros.
    QString toString() const;

    // SQL that sums an amount expression over a statement's rows as Money
    // does: each value to the nearest ten-thousandth, added as whole counts,
    // so that no rounding error of REAL accumulates. Null over no rows or
    // only nulls, as sum() is.
    static QString sqlSum(const QString &amount);

    // Rounded to whole yuan, a half going to the even neighbour.
    Money roundedToYuan() const;

    Money operator+(Money o) const
    {
        qint64 r;
        const bool overflowed = __builtin_add_overflow(m_units, o.m_units, &r);
        return Money(checked(overflowed, r));
    }
    Money operator-(Money o) const
    {
        qint64 r;
        const bool overflowed = __builtin_sub_overflow(m_units, o.m_units, &r);
        return Money(checked(overflowed, r));
    }
    constexpr Money operator-() const { return Money(-m_units); } // the range is symmetric
    Money operator*(qint64 factor) const
    {
        qint64 r;
        const bool overflowed = __builtin_mul_overflow(m_units, factor, &r);
        return Money(checked(overflowed, r));
    }
    Money &operator+=(Money o) { return *this = *this + o; }
    Money &operator-=(Money o) { return *this = *this - o; }
    constexpr auto operator<=>(const Money &) const = default;

private:
    constexpr explicit Money(qint64 units) : m_units(units) {}
    // Units inside the range, or AppError.
    static qint64 checked(qint64 units) { return checked(false, units); }
    static qint64 checked(bool overflowed, qint64 units)
    {
        if (overflowed || units < -MaxUnits)
            outOfRange();
        return units;
    }
    [[noreturn]] static void outOfRange();
    qint64 m_units = 0;
};
