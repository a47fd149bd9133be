#pragma once

#include "Codes.h"
#include "DataSet.h"
#include "Numbering.h"
#include "ListStatement.h"
#include "Money.h"
#include "Partners.h"

#include <QString>
#include <optional>

// One of the two ledgers, customers' or providers', and how its balance is
// counted: payments in minus charges.
struct LedgerSide {
    QString table, keyField, codeField, nameField, typeField, contractField;
    const Partners *partners; // the register of the partners and their contracts
    QString paymentColumn; // what entries of kinds 0 and 1 count as paid in
    QString chargeColumn;  // what car charges (and the customers' fees) count
    bool feesCharged = false; // customers: advanced fees are charged too
    DocumentNumbering numbering;
    // The result line of a reconciliation: money left over, money owed.
    QString creditText, debtText;

    static const LedgerSide &customers();
    static const LedgerSide &providers();
};

// The verified entries of one partner that no reconciliation has closed yet,
// summed by the database. Two counts that compare equal counted the same.
struct AccountSums {
    qint64 entries = 0; // of every kind
    // Nothing when no entry of the kind has an amount.
    std::optional<Money> payments, fees, charges;
    // Both columns over every entry, what the balance leaves out included.
    Money income, outgo;

    // The balance in whole yuan: each sum rounded half to even, then the
    // payments minus the fees minus the car charges.
    qint64 balance() const;
    bool operator==(const AccountSums &) const = default;
};

// Counts the partner's open verified entries.
AccountSums accountSums(const LedgerSide &side, const QString &code);
// The statement it runs: one row of the figures, in the order of AccountSums.
ListStatement accountSumsStatement(const LedgerSide &side, const QString &code);

// The two status panels of a reconciliation window for these sums.
QString paymentsPanel(const LedgerSide &side, const AccountSums &sums);
QString chargesPanel(const AccountSums &sums);
// The result line after a reconciliation carried this balance.
QString reconciliationText(const LedgerSide &side, qint64 balance);

// Closes the partner's open verified entries and, unless the balance is
// zero, carries it as one new open verified entry "上次余额", all in one
// transaction, stamped with the handler and today's date. It does so only
// while those entries are still exactly what `shown` counted: otherwise
// nothing is written and the result is empty. Returns the balance carried.
std::optional<qint64> reconcileAccount(const LedgerSide &side, const QString &code,
                                       const QString &name, const QString &handler,
                                       const AccountSums &shown);

// What became of a car charge's confirmation.
enum class ChargeConfirmation {
    Confirmed,       // verified and stored with what was typed
    AlreadyVerified, // verified elsewhere meanwhile: nothing written
    NotStored,       // the row's own checks refused it: nothing written
};

// Which of its car's charges the charge with that entry number is, counted
// from 1 in booking order. A car sold again after a return (or bought in
// again) has a stock record and a charge for each time, booked together: its
// n-th charge belongs to its n-th record. Booked is the order of the rows
// (rowid; neither is ever deleted), not of their numbers: a number given
// back is drawn again later.
int chargeBooking(const LedgerSide &side, const QVariant &serial, const QVariant &key);

// Whether the car charge with that entry number is still unverified and open.
bool chargeOpen(const LedgerSide &side, const QVariant &key);

// Confirms the car charge being edited in `entry`, a row of the side's
// ledger: verified, still open, stored with what was typed, in one
// transaction, while no other window has verified it. A closed charge is
// never opened again.
ChargeConfirmation confirmCharge(const LedgerSide &side, DataSet &entry);
