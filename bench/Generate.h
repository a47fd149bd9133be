#pragma once

#include <QSqlDatabase>
#include <QString>

// A dealer's years of data, made once: 100,000 cars with their contracts, stock
// records, returns, costs, presents and services, 100,000 customers, 2,000
// providers and a million ledger rows, in the program's own schema. Written to
// a temporary name and renamed when complete. Returns seconds taken.
double generateDatabase(const QString &path);

// The file on the program's one connection, set up as the program sets it up.
QSqlDatabase openDatabase(const QString &path);

// Values the typical conditions of the benchmark look for.
namespace Typical {
QString customer();     // a customer with about a hundred ledger rows
QString provider();     // a provider with a few hundred ledger rows
QString namePrefix();   // a city: a few percent of the partners' names
QString serialPrefix(); // a hundred or so cars
QString contractPrefix();
} // namespace Typical
