#pragma once

#include "ReturnForm.h"

// 客户退货: a sold car comes back from its customer and is in stock again.
class Tfcustback : public TReturnForm {
    Q_OBJECT
public:
    explicit Tfcustback(QWidget *parent = nullptr);
    static ReturnKind kind();
};
