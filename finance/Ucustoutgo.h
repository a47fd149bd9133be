#pragma once

#include "LedgerEntry.h"

#include <QPointer>

class Tfdelf;

// 客户预付款管理: money received from a customer.
class Tfcustoutgo : public TLedgerEntry {
    Q_OBJECT
public:
    explicit Tfcustoutgo(QWidget *parent = nullptr);
    static LedgerEntryKind kind();

    DataSet *const tb_custaccount = table();
    // The advanced-fee window opened last.
    QPointer<Tfdelf> fdelf;

    // Opens one more advanced-fee window.
    void SpeedItem2Click();

protected:
    // The advanced-fee windows opened from here close first, each with its
    // own question; one that stays open keeps this window open too.
    void closeEvent(QCloseEvent *event) override;
};
