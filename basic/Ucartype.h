#pragma once

#include "CodeTable.h"

// 车辆类型设置: table `cartype`.
class Tfcartype : public TCodeTableForm {
    Q_OBJECT
public:
    explicit Tfcartype(QWidget *parent = nullptr);
    DataSet *tb_cartype() const { return table(); }
    static CodeTableInfo info();
};
