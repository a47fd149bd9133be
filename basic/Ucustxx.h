#pragma once

#include "Register.h"

// 客户信息注册: the customers of `ccustomer`, and their printed list.
class Tfcustxx : public TRegisterForm {
    Q_OBJECT
public:
    explicit Tfcustxx(QWidget *parent = nullptr);
    static RegisterInfo info();

    DataSet *tb_cust() const { return table(); }
    DataSet *tq_custsele() const { return query(); }
};
