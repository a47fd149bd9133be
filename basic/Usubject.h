#pragma once

#include "CodeTable.h"

// 费用科目分类设置: table `subject`.
class Tfsubject : public TCodeTableForm {
    Q_OBJECT
public:
    explicit Tfsubject(QWidget *parent = nullptr);
    DataSet *tb_subject() const { return table(); }
    static CodeTableInfo info();
};
