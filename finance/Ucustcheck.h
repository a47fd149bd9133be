#pragma once

#include "AccountCheck.h"

// 客户对帐管理: the reconciliation of a customer's account.
class Tfcustcheck : public TAccountCheck {
    Q_OBJECT
public:
    explicit Tfcustcheck(QWidget *parent = nullptr);
    static AccountCheckKind kind();

    DataSet *const tq_income = paymentsQuery();
    DataSet *const tq_outgo = chargesQuery();
};
