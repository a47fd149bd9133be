#pragma once

#include "PartnerPicker.h"

// 选择客户: every customer in name order, with a quick add.
class Tfselecust : public TPartnerPicker {
    Q_OBJECT
public:
    explicit Tfselecust(QWidget *owner = nullptr);
    static PartnerPickerInfo info();
};
