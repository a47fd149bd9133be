#pragma once

#include "ContractPicker.h"

// 选择采购合同: purchase contracts of the caller's scope.
class Tfselebuycont : public TContractPicker {
    Q_OBJECT
public:
    explicit Tfselebuycont(QWidget *owner = nullptr);
    static ContractPickerKind kind();
};
