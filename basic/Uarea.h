#pragma once

#include "CodeTable.h"

// 地区设置: table `dq`.
class Tfarea : public TCodeTableForm {
    Q_OBJECT
public:
    explicit Tfarea(QWidget *parent = nullptr);
    DataSet *tb_area() const { return table(); }
    static CodeTableInfo info();
};
