#include "Udelf.h"
#include "Uselecust.h"

LedgerEntryKind Tfdelf::kind()
{
    LedgerEntryKind k = {};
    k.objectName = QStringLiteral("fdelf");
    k.caption = QStringLiteral("代垫费用管理");
    k.side = &LedgerSide::customers();
    k.tableName = QStringLiteral("tb_custaccount");
    k.sourceName = QStringLiteral("ds_custpre");
    k.codeLabel = QStringLiteral("客户代码：");
    k.nameLabel = QStringLiteral("客户名称：");
    k.codeMissing = QStringLiteral("请输入客户代码!");
    k.codeNotFound = QStringLiteral("输入的客户代码不存在!");
    k.pickPartner = [](QWidget *owner) { return pickPartner<Tfselecust>(owner); };
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
