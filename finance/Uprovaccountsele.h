#pragma once

#include "AccountQuery.h"

// 供应商帐目查询: the payments to providers and their balances.
class Tfprovaccountsele : public TAccountQuery {
    Q_OBJECT
public:
    explicit Tfprovaccountsele(QWidget *parent = nullptr);
    static AccountKind kind();
};
