#pragma once

#include "LedgerEntry.h"

// 采购支付: money paid to a provider.
class Tfbuyinout : public TLedgerEntry {
    Q_OBJECT
public:
    explicit Tfbuyinout(QWidget *parent = nullptr);
    static LedgerEntryKind kind();

    DataSet *const tb_provaccount = table();
};
