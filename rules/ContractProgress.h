#pragma once

#include "Codes.h"

#include <QString>
#include <QVariant>

// The contracts of one side as the stock counts the cars moved against them:
// the contract and its lines, linked by the contract's serial, and the stock
// records that name a contract by its paper number (contract_no).
struct ContractDeliveries {
    QString contractTable, linesTable, serialField;
    QString recordTable, recordContractField;

    static const ContractDeliveries &purchases(); // the cars received: in-stock records
    static const ContractDeliveries &sales();     // the cars sold: out-stock records
};

// Marks the contract with that paper number Delivered once as many stock
// records name it as its lines order cars. Fewer or more leave its progress as
// it is, and so does a contract without lines; a blank number names none.
// True when the contract was marked.
bool finishWhenDelivered(const ContractDeliveries &side, const QVariant &contractNo);
