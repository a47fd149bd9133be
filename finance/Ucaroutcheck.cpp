#include "Ucaroutcheck.h"
#include "Uselecar.h"

ChargeCheckKind Tfcaroutcheck::kind()
{
    ChargeCheckKind k;
    k.objectName = QStringLiteral("fcaroutcheck");
    k.caption = QStringLiteral("销售财务核实");
    k.statusText = QStringLiteral("销售财务核实");
    k.side = &LedgerSide::customers();
    k.carScope = CarScope::UnverifiedSale;
    k.recordTable = QStringLiteral("caroutstock");
    k.recordName = QStringLiteral("tb_carout");
    k.recordSource = QStringLiteral("ds_carout");
    k.ledgerName = QStringLiteral("tb_custacc");
    k.ledgerSource = QStringLiteral("ds_custacc");
    k.recordFields = {{"出库单号：", "DBEdit1", "carout_no"},
                      {"销售合同：", "DBEdit2", "salecontract_no"},
                      {"客户代码：", "DBEdit3", "customerid"},
                      {"出库日期：", "DBEdit6", "outstock_date"},
                      {"客户名称：", "DBEdit4", "custname"},
                      {"销售价格：", "DBEdit14", "saleprice"}};
    k.handlerLabel = QStringLiteral("经办人：");
    k.invoiceLabel = QStringLiteral("销售发票号：");
    k.dateField = QStringLiteral("account_date");
    k.invoiceEditable = true;
    return k;
}

Tfcaroutcheck::Tfcaroutcheck(QWidget *parent) : TChargeCheck(kind(), parent) {}
