#pragma once

#include "PartnerPicker.h"

// 选择客户: every customer in table order, for the contract query.
class Tfqry_selecust : public TPartnerPicker {
    Q_OBJECT
public:
    explicit Tfqry_selecust(QWidget *owner = nullptr);
    static PartnerPickerInfo info();
};
