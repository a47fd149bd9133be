#pragma once

#include "LedgerEntry.h"

// 代垫费用管理: a fee paid on a customer's behalf.
class Tfdelf : public TLedgerEntry {
    Q_OBJECT
public:
    explicit Tfdelf(QWidget *parent = nullptr);
    static LedgerEntryKind kind();

    DataSet *const tb_custaccount = table();
};
