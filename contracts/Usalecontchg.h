#pragma once

#include "ContractChange.h"

// 销售合同变更: sales contracts changed before they are started.
class Tfsalecontchg : public TContractChange {
    Q_OBJECT
public:
    explicit Tfsalecontchg(QWidget *parent = nullptr);
    static ContractChangeKind kind();

    DataSet *const tq_salecont = master();
    DataSet *const tb_salecontdet = lines();
};
