#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <concepts>
#include <initializer_list>
#include <optional>

// The business codes stored in the tables, each value with its meaning once.
// Each kind is a type of its own, so that two kinds never mix; statements
// that compare with them bind or print these names, never a bare number.

// A car's state (carinfor.carstatus).
enum class CarStatus : int {
    InStock = 0,            // received from its provider, not sold
    Sold = 1,               // out of stock to a customer
    ReturnedToProvider = 2, // sent back to the provider, gone for good
    ReturnedByCustomer = 3, // brought back by its customer, in stock again
};

// The kinds of ledger entries (isprepay of both ledgers).
enum class EntryKind : int {
    Payment = 0,     // money paid or received, entered by hand
    Credit = 1,      // a carried balance or the refund of a return
    CarCharge = 2,   // the goods value of one car, verified before it counts
    AdvancedFee = 3, // a fee paid on a customer's behalf
};

// How far a contract has come (isfinished of both contract tables).
enum class ContractProgress : int {
    Saved = 0,     // entered, may still be changed
    Executing = 1, // started: cars come in or go out against it
    Delivered = 2, // every car of it is in (purchase) or out (sale)
};

template <class C>
concept BusinessCode = std::same_as<C, CarStatus> || std::same_as<C, EntryKind> || std::same_as<C, ContractProgress>;

// The number a row stores for the code.
template <BusinessCode C>
constexpr int codeNumber(C code)
{
    return static_cast<int>(code);
}

// The code as a statement binds it or a row takes it.
template <BusinessCode C>
QVariant codeValue(C code)
{
    return codeNumber(code);
}

// The stored value as that kind of code; nothing when it is null.
template <BusinessCode C>
std::optional<C> codeOf(const QVariant &stored)
{
    if (stored.isNull())
        return std::nullopt;
    return static_cast<C>(stored.toInt());
}

// A code as a statement's text holds it, and a list of codes in parentheses
// ("(0,3)"). Printed rather than bound where a partial index of the schema
// is written with the same numbers: the planner uses it only for a literal.
template <BusinessCode C>
QString sqlCode(C code)
{
    return QString::number(codeNumber(code));
}

template <BusinessCode C>
QString sqlCodes(std::initializer_list<C> codes)
{
    QStringList texts;
    for (C c : codes)
        texts << sqlCode(c);
    return QLatin1Char('(') + texts.join(QLatin1Char(',')) + QLatin1Char(')');
}
