#pragma once

#include "CodeTable.h"

// 车辆型号设置: table `model`.
class Tfmodel : public TCodeTableForm {
    Q_OBJECT
public:
    explicit Tfmodel(QWidget *parent = nullptr);
    DataSet *tb_model() const { return table(); }
    static CodeTableInfo info();
};
