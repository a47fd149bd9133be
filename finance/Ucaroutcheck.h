#pragma once

#include "ChargeCheck.h"

// 销售财务核实: the charges that sales wrote into the customer ledger.
class Tfcaroutcheck : public TChargeCheck {
    Q_OBJECT
public:
    explicit Tfcaroutcheck(QWidget *parent = nullptr);
    static ChargeCheckKind kind();

    DataSet *const tb_carout = record();
    DataSet *const tb_carinfor = car();
    DataSet *const tb_custacc = ledger();
};
