#pragma once

#include "ContractQuery.h"

// 销售合同查询: sales contracts of every state, listed from the first query on.
class Tfsalecontsele : public TContractQuery {
    Q_OBJECT
public:
    explicit Tfsalecontsele(QWidget *parent = nullptr);
    static ContractQueryKind kind();

    DataSet *const tq_salecont = list();
    DataSet *const tb_salecontdet = lines();
};
