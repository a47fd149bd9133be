#include "Uprovcheck.h"
#include "Codes.h"
#include "GridColumns.h"
#include "Useleprov.h"

AccountCheckKind Tfprovcheck::kind()
{
    AccountCheckKind k;
    k.objectName = QStringLiteral("fprovcheck");
    k.caption = QStringLiteral("供应商对帐");
    k.side = &LedgerSide::providers();
    k.groupCaption = QStringLiteral("供应商信息");
    k.codeLabel = QStringLiteral("代    码：");
    k.nameLabel = QStringLiteral("名  称：");
    k.chargesLabel = QStringLiteral("入库信息：");
    k.codeNotFound = QStringLiteral("输入的供应商代码不存在!");
    k.codeMissing = QStringLiteral("请首先选择供应商代码!");
    k.pickPartner = [](QWidget *owner) { return pickPartner<Tfseleprov>(owner); };
    // The handler of an entry is where the entry windows put it.
    k.payments = {QStringLiteral("tq_outgo"), QStringLiteral("ds_outgo"),
                  {gridColumn("凭证号", "certificate_no"), gridColumn("合同号", "buycont_no"),
                   gridColumn("预付金额", "outgo"), gridColumn("发票号", "invoice_no"),
                   gridColumn("帐目类型", "provaccttype"), gridColumn("经办人", "affirm_recorder"),
                   gridColumn("付款日期", "account_date")},
                  QStringLiteral("isprepay in ") + sqlCodes({EntryKind::Payment, EntryKind::Credit})};
    k.charges = {QStringLiteral("tq_income"), QStringLiteral("ds_income"),
                 {gridColumn("车系列号", "certificate_no"), gridColumn("发票号", "invoice_no"),
                  gridColumn("车价", "income"), gridColumn("到货日期", "account_date"),
                  gridColumn("合同号", "buycont_no")},
                 QStringLiteral("isprepay=") + sqlCode(EntryKind::CarCharge)};
    return k;
}

Tfprovcheck::Tfprovcheck(QWidget *parent) : TAccountCheck(kind(), parent) {}
