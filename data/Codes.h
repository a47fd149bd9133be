#pragma once

#include <QString>
#include <QStringList>
#include <initializer_list>

// The business codes stored in the tables, each value with its meaning once.
// Statements that compare with them bind or print these names, never a bare
// number.

// A car's state (carinfor.carstatus).
namespace CarStatus {
enum : int {
    InStock = 0,            // received from its provider, not sold
    Sold = 1,               // out of stock to a customer
    ReturnedToProvider = 2, // sent back to the provider, gone for good
    ReturnedByCustomer = 3, // brought back by its customer, in stock again
};
}

// The kinds of ledger entries (isprepay of both ledgers).
namespace EntryKind {
enum : int {
    Payment = 0,     // money paid or received, entered by hand
    Credit = 1,      // a carried balance or the refund of a return
    CarCharge = 2,   // the goods value of one car, verified before it counts
    AdvancedFee = 3, // a fee paid on a customer's behalf
};
}

// How far a contract has come (isfinished of both contract tables).
namespace ContractProgress {
enum : int {
    Saved = 0,     // entered, may still be changed
    Executing = 1, // started: cars come in or go out against it
    Delivered = 2, // every car of it is in (purchase) or out (sale)
};
}

// A code as a statement's text holds it, and a list of codes in parentheses
// ("(0,3)"). Printed rather than bound where a partial index of the schema
// is written with the same numbers: the planner uses it only for a literal.
inline QString sqlCode(int code) { return QString::number(code); }
inline QString sqlCodes(std::initializer_list<int> codes)
{
    QStringList texts;
    for (int c : codes)
        texts << sqlCode(c);
    return QLatin1Char('(') + texts.join(QLatin1Char(',')) + QLatin1Char(')');
}
