#pragma once

#include "ContractEntry.h"

// 销售合同: new contracts with a customer.
class Tfsalecont : public TContractEntry {
    Q_OBJECT
public:
    explicit Tfsalecont(QWidget *parent = nullptr);
    static ContractKind kind();

    // Prints the sales contract with this serial; the owner may be null.
    static void PrintContract(QWidget *owner, const QString &serial);

    DataSet *const tb_salecont = master();
    DataSet *const tb_salecontdet = lines();
};
