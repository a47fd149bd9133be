#pragma once

#include "Codes.h"
#include "Ledger.h"

#include <QString>
#include <QStringList>

// What the car picker lists: a statement over carinfor that ends in its
// where clause, and the key that tells its lines apart. The picker narrows
// the where clause by the typed prefixes and never widens it.
struct CarList {
    // The picker's own list: the cars in stock.
    CarList();
    // The cars whose columns meet the condition (on carinfor, without
    // "where"), each once; the condition is kept in parentheses.
    CarList(const QString &condition);
    // One line per unverified, open car charge of the ledger (its table and
    // entry number), in entry order: a car with two such charges is listed twice.
    static CarList unverifiedCharges(const LedgerSide &ledger);

    QString sql;
    QStringList keys;

private:
    CarList(const QString &sql, const QStringList &keys) : sql(sql), keys(keys) {}
};

// Which cars a caller lets the user choose from: a condition on the columns
// of carinfor, without "where", or a list of its own.
namespace CarScope {

// In stock: bought in, or returned by a customer (the car sale, the return to
// a provider). It is written as the partial index of carinfor reads it.
inline const QString InStock =
    QStringLiteral("carstatus in ") + sqlCodes({CarStatus::InStock, CarStatus::ReturnedByCustomer});
// Taken in through an in-stock record and never sold (the direct costs).
inline const QString Received =
    InStock + QStringLiteral(" and carstatus=") + sqlCode(CarStatus::InStock)
    + QStringLiteral(" and exists (select 1 from carinstock where carinstock.carserial_no=carinfor.carserial_no)");
// Sold (the services and presents, the return from a customer).
inline const QString Sold = QStringLiteral("carstatus=") + sqlCode(CarStatus::Sold);
// The car charges of the provider or customer ledger still to be verified.
inline const CarList UnverifiedPurchase =
    CarList::unverifiedCharges(LedgerSide::providers());
inline const CarList UnverifiedSale =
    CarList::unverifiedCharges(LedgerSide::customers());

} // namespace CarScope
