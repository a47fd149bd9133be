#pragma once

#include "PartnerPicker.h"

// 选择供应商: every provider in table order, with a quick add.
class Tfseleprov : public TPartnerPicker {
    Q_OBJECT
public:
    explicit Tfseleprov(QWidget *owner = nullptr);
    static PartnerPickerInfo info();
};
