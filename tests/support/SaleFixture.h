#pragma once

#include "Codes.h"
#include "Shown.h"
#include "TestDb.h"

#include <QDateTime>
#include <QPointer>
#include <QTest>
#include <QVariantMap>

// Rows the sale tests stand on, written directly.
namespace SaleFixture {

inline const QDateTime Now(QDate(2024, 5, 6), QTime(9, 30, 0));

// The operator, the clock, two customers and the fee subjects.
void seed(TestDb &db);
// A car with its status.
void addCar(TestDb &db, const QString &serial, CarStatus status, double price = 100000,
            const QVariantMap &more = {});
// A sales contract of the given state, with one line per quantity.
void addContract(TestDb &db, const QString &contractNo, const QString &customer, ContractProgress state,
                 const QList<int> &quantities);
// A stored sale of the car.
void addSale(TestDb &db, const QString &number, const QString &serial, const QString &customer,
             const QString &date, double price = 120000, const QString &contractNo = {});

} // namespace SaleFixture
