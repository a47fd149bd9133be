#pragma once

#include "Register.h"

// 人事信息注册: the personnel of `cpersonnel` (also the users of the login),
// and their printed list. It opens on the query page.
class Tfperson : public TRegisterForm {
    Q_OBJECT
public:
    explicit Tfperson(QWidget *parent = nullptr);
    static RegisterInfo info();

    DataSet *tb_per() const { return table(); }
    DataSet *tq_persele() const { return query(); }
};
