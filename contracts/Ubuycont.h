#pragma once

#include "ContractEntry.h"

// 采购合同: new contracts with a provider.
class Tfbuycont : public TContractEntry {
    Q_OBJECT
public:
    explicit Tfbuycont(QWidget *parent = nullptr);
    static ContractKind kind();

    // Prints the purchase contract with this serial; the owner may be null.
    static void PrintContract(QWidget *owner, const QString &serial);

    DataSet *const tb_buycont = master();
    DataSet *const tb_buycontdet = lines();
};
