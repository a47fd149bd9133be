#pragma once

#include "PartnerPicker.h"

// 选择供应商: every provider in table order, for the contract query.
class Tfqry_seleprov : public TPartnerPicker {
    Q_OBJECT
public:
    explicit Tfqry_seleprov(QWidget *owner = nullptr);
    static PartnerPickerInfo info();
};
