#pragma once

#include "ReturnForm.h"

// 向供应商退货: a car in stock goes back to the provider it was bought from.
class Tfbackprov : public TReturnForm {
    Q_OBJECT
public:
    explicit Tfbackprov(QWidget *parent = nullptr);
    static ReturnKind kind();
};
