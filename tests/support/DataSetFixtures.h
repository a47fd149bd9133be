#pragma once

#include "DataSet.h"

#include <QString>
#include <QStringList>

class TestDb;

// Providers p1 and p2, each with one car model; the detail follows the master.
struct ProviderModels {
    explicit ProviderModels(TestDb &db);
    DataSet master;
    DataSet detail;
};

// What a master can do that its details must follow.
void addMasterActions();
void masterAction(DataSet &master, const QString &action);

// Customers c0000.. with names that repeat, differ in case and are sometimes
// missing, so that the order needs its tiebreak and meets nulls.
void fillCustomers(TestDb &db, int rows);
QStringList customersInOrder(TestDb &db);
void openCustomers(DataSet &ds, int pageSize = 100);

// A second connection on the same file, as another desk would have.
struct OtherDesk {
    QString name = QStringLiteral("other desk");
    OtherDesk();
    ~OtherDesk();
    QString exec(const QString &sql);
};
