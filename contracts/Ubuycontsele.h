#pragma once

#include "ContractQuery.h"

// 采购合同查询: purchase contracts of every state, all listed at once.
class Tfbuycontsele : public TContractQuery {
    Q_OBJECT
public:
    explicit Tfbuycontsele(QWidget *parent = nullptr);
    static ContractQueryKind kind();

    DataSet *const tq_buycont = list();
    DataSet *const tb_buycontdet = lines();
};
