#pragma once

#include "Codes.h"
#include "Ledger.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

// What moving a car into stock, out to a customer and back writes besides
// the rows its window enters: the car's state, the partner's ledger entry and
// the contract's progress. No screen: each runs in one transaction (the
// caller's, when one is open) and tells its caller how it went; the window
// turns that into its message.

// The in-stock: books the provider's unverified car charge for the in-stock
// record `carinNo`, whose car is stored with it, and finishes the purchase
// contract it names once its last car is in.
void bookReceipt(const QString &carinNo);

// The car stands in stock: bought in, or brought back by its customer.
bool carInStock(const QVariant &serial);

// The sale of the stored out-stock record `caroutNo`: its car sold, the
// customer's unverified car charge booked, and the sales contract it names
// finished once its last car is out. False, nothing written, when the car is
// no longer in stock.
[[nodiscard]] bool bookSale(const QString &caroutNo);

// What a return does: to the provider (from stock) or by the customer (of a
// sold car, back into stock).
struct CarReturn {
    // The car's stock record: its table, key, and the date and handler
    // fields the return overwrites.
    QString recordTable, recordKey, dateField, handlerField;
    // The partner's ledger: its refund is paid back there, and the record
    // names the partner with the ledger's code and name fields.
    const LedgerSide *ledger;
    QList<CarStatus> fromStatuses; // the states a car may be returned from
    CarStatus newStatus = CarStatus::InStock;
    QString amountSource;    // c.carprice of the car, r.saleprice of the record

    static const CarReturn &toProvider();
    static const CarReturn &byCustomer();
};

// The stock record a return of that car takes: the car's latest (a car sold,
// returned and sold again has two sales), null when it has none.
QVariant latestRecord(const CarReturn &kind, const QString &serial);

// The return of the car on its stock record `record`: the car's new state and
// the reason in its remarks, a verified refund of the charge in the
// partner's ledger, the return's date and handler on the record. False,
// nothing written, when the car is no longer in a state it may be returned
// from or `record` is no longer its latest.
[[nodiscard]] bool returnCar(const CarReturn &kind, const QString &serial, const QVariant &record,
                             const QDate &day, const QVariant &handler, const QVariant &reason);
