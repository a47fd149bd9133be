#pragma once

#include "Codes.h"

#include <QString>

// Which cars a caller lets the user choose from: a condition on the columns
// of carinfor, without "where". The picker keeps it in parentheses, so the
// typed prefixes narrow it and never widen it.
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
// With a car charge in the provider or customer ledger still to be verified.
// Written as a set read once through the ledger's isprepay index: as a
// correlated "exists" the planner took that index for every car.
inline const QString UnverifiedPurchase =
    QStringLiteral("carserial_no in (select certificate_no from cprovaccount where isprepay=")
    + sqlCode(EntryKind::CarCharge) + QStringLiteral(" and not isaffirm and not ischeck)");
inline const QString UnverifiedSale =
    QStringLiteral("carserial_no in (select certificate_no from ccustaccount where isprepay=")
    + sqlCode(EntryKind::CarCharge) + QStringLiteral(" and not isaffirm and not ischeck)");

} // namespace CarScope
