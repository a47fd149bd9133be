#pragma once

#include "AccountCheck.h"

// 供应商对帐: the reconciliation of a provider's account.
class Tfprovcheck : public TAccountCheck {
    Q_OBJECT
public:
    explicit Tfprovcheck(QWidget *parent = nullptr);
    static AccountCheckKind kind();

    DataSet *const tq_outgo = paymentsQuery();
    DataSet *const tq_income = chargesQuery();
};
