#include "Ubuyinout.h"
#include "Uselebuycont.h"
#include "Useleprov.h"

LedgerEntryKind Tfbuyinout::kind()
{
    LedgerEntryKind k;
    k.objectName = QStringLiteral("fbuyinout");
    k.caption = QStringLiteral("采购支付");
    k.side = &LedgerSide::providers();
    k.tableName = QStringLiteral("tb_provaccount");
    k.sourceName = QStringLiteral("ds_provaccount");
    k.codeLabel = QStringLiteral("代码(供)：");
    k.nameLabel = QStringLiteral("名称(供)：");
    k.codeMissing = QStringLiteral("请输入供应商代码!");
    k.codeNotFound = QStringLiteral("输入的供应商代码不存在!");
    k.pickPartner = [](QWidget *owner) { return pickPartner<Tfseleprov>(owner); };
    k.typeItems = {QString(), QStringLiteral("现款"), QStringLiteral("承兑")};
    k.amountLabel = QStringLiteral("预付金额：");
    k.amountField = QStringLiteral("outgo");
    k.amountMissing = QStringLiteral("请输入预付金额!");
    k.dateLabel = QStringLiteral("付款日期：");
    k.withContract = true;
    k.contractNotFound = QStringLiteral("不存在此采购合同号!");
    k.contractNotOwner = QStringLiteral("所选合同并非是该供应商签约!");
    k.pickContract = &pickContractNumber<Tfselebuycont>;
    k.entryKind = EntryKind::Payment;
    return k;
}

Tfbuyinout::Tfbuyinout(QWidget *parent) : TLedgerEntry(kind(), parent) {}
