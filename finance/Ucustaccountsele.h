#pragma once

#include "AccountQuery.h"

// 客户余额查询: the customers' payments and balances.
class Tfcustaccountsele : public TAccountQuery {
    Q_OBJECT
public:
    explicit Tfcustaccountsele(QWidget *parent = nullptr);
    static AccountKind kind();
};
