#include "Ucarincheck.h"
#include "Uselecar.h"

ChargeCheckKind Tfcarincheck::kind()
{
    ChargeCheckKind k;
    k.objectName = QStringLiteral("fcarincheck");
    k.caption = QStringLiteral("入库财务核实");
    k.statusText = QStringLiteral("财务核实");
    k.side = &LedgerSide::providers();
    k.carScope = CarScope::UnverifiedPurchase;
    k.recordTable = QStringLiteral("carinstock");
    k.recordName = QStringLiteral("tb_carin");
    k.recordSource = QStringLiteral("ds_carin");
    k.ledgerName = QStringLiteral("tb_provacc");
    k.ledgerSource = QStringLiteral("ds_provacc");
    k.recordFields = {{"入库单号：", "DBEdit1", "carin_no"},
                      {"采购合同：", "DBEdit2", "buycontract_no"},
                      {"供应商代码：", "DBEdit3", "providerid"},
                      {"入库日期：", "DBEdit6", "instock_date"},
                      {"供应商名称：", "DBEdit4", "provname"}};
    k.handlerLabel = QStringLiteral("经 办 人：");
    k.invoiceLabel = QStringLiteral("发 票 号：");
    k.dateField = QStringLiteral("in_date");
    k.invoiceEditable = false;
    return k;
}

Tfcarincheck::Tfcarincheck(QWidget *parent) : TChargeCheck(kind(), parent) {}
