#pragma once

#include "ContractChange.h"

// 采购合同变更: purchase contracts changed before they are started.
class Tfbuycontchg : public TContractChange {
    Q_OBJECT
public:
    explicit Tfbuycontchg(QWidget *parent = nullptr);
    static ContractChangeKind kind();

    DataSet *const tq_buycont = master();
    DataSet *const tb_buycontdet = lines();
};
