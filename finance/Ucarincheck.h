#pragma once

#include "ChargeCheck.h"

// 入库财务核实: the charges that in-stocks wrote into the provider ledger.
class Tfcarincheck : public TChargeCheck {
    Q_OBJECT
public:
    explicit Tfcarincheck(QWidget *parent = nullptr);
    static ChargeCheckKind kind();

    DataSet *const tb_carin = record();
    DataSet *const tb_carinfor = car();
    DataSet *const tb_provacc = ledger();
};
