#include "Udelf.h"

LedgerEntryKind Tfdelf::kind()
{
    LedgerEntryKind k = customerEntryKind();
    k.objectName = QStringLiteral("fdelf");
    k.caption = QStringLiteral("代垫费用管理");
    k.fixedType = QStringLiteral("代垫费用");
    k.amountLabel = QStringLiteral("代垫金额：");
    k.amountField = QStringLiteral("outgo");
    k.amountMissing = QStringLiteral("请输入代垫金额!");
    k.dateLabel = QStringLiteral("代垫日期：");
    k.entryKind = EntryKind::AdvancedFee;
    k.centred = true;
    return k;
}

Tfdelf::Tfdelf(QWidget *parent) : TLedgerEntry(kind(), parent) {}
