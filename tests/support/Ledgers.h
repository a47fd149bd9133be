#pragma once

#include "Codes.h"

#include <QString>
#include <QVariant>

class TestDb;

// One entry of the customer or provider ledger, as the window that writes it
// leaves it: a car charge (kind 2) as the in-stock or sale writes it, with the
// car's serial number, or any other kind.
struct LedgerEntryRow {
    bool customers = true;
    QString key, code;
    EntryKind kind = EntryKind::Payment;
    QVariant income = {}, outgo = {};
    bool affirmed = true;
    bool checked = false;
    QString certificate = {};
};

void addLedgerEntry(TestDb &db, const LedgerEntryRow &row);
