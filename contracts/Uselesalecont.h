#pragma once

#include "ContractPicker.h"

// 选择销售合同: sales contracts of the caller's scope.
class Tfselesalecont : public TContractPicker {
    Q_OBJECT
public:
    explicit Tfselesalecont(QWidget *owner = nullptr);
    static ContractPickerKind kind();
};
