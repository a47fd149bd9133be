#include "Ucustcheck.h"
#include "Codes.h"
#include "GridColumns.h"
#include "Uselecust.h"

AccountCheckKind Tfcustcheck::kind()
{
    AccountCheckKind k;
    k.objectName = QStringLiteral("fcustcheck");
    k.caption = QStringLiteral("客户对帐管理");
    k.side = &LedgerSide::customers();
    k.groupCaption = QStringLiteral("客户信息");
    k.codeLabel = QStringLiteral("客户代码：");
    k.nameLabel = QStringLiteral("客户名称：");
    k.chargesLabel = QStringLiteral("出库信息：");
    k.codeNotFound = QStringLiteral("输入的客户代码不存在!");
    k.codeMissing = QStringLiteral("请首先选择客户代码!");
    k.pickPartner = [](QWidget *owner) { return pickPartner<Tfselecust>(owner); };
    // The handler of an entry is where the entry windows put it.
    k.payments = {QStringLiteral("tq_income"), QStringLiteral("ds_income"),
                  {gridColumn("凭证号", "certificate_no"), gridColumn("合同号", "salecont_no"),
                   gridColumn("客户预付", "income"), gridColumn("支出", "outgo"),
                   gridColumn("帐目类型", "custaccttype"), gridColumn("发票号", "invoice_no"),
                   gridColumn("经办人", "affirm_recorder"), gridColumn("付款日期", "account_date")},
                  QStringLiteral("isprepay in ")
                      + sqlCodes({EntryKind::Payment, EntryKind::Credit, EntryKind::AdvancedFee})};
    k.charges = {QStringLiteral("tq_outgo"), QStringLiteral("ds_outgo"),
                 {gridColumn("车系列号", "certificate_no"), gridColumn("合同号", "salecont_no"),
                  gridColumn("销售价格", "outgo"), gridColumn("发票号", "invoice_no"),
                  gridColumn("销售日期", "account_date")},
                 QStringLiteral("isprepay=") + sqlCode(EntryKind::CarCharge)};
    return k;
}

Tfcustcheck::Tfcustcheck(QWidget *parent) : TAccountCheck(kind(), parent) {}
