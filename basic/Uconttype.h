#pragma once

#include "CodeTable.h"

// 合同类型设置: table `cconttype`.
class Tfconttype : public TCodeTableForm {
    Q_OBJECT
public:
    explicit Tfconttype(QWidget *parent = nullptr);
    DataSet *tb_conttype() const { return table(); }
    static CodeTableInfo info();
};
