#include "Ucustback.h"
#include "Uselecar.h"

ReturnKind Tfcustback::kind()
{
    ReturnKind k;
    k.objectName = QStringLiteral("fcustback");
    k.caption = QStringLiteral("客户退货");
    k.move = CarReturn::byCustomer();
    k.recordName = QStringLiteral("tb_carout");
    k.recordSource = QStringLiteral("ds_carout");
    k.headerFields = {{QStringLiteral("出库流水号："), QStringLiteral("carout_no")},
                      {QStringLiteral("合 同 号："), QStringLiteral("salecontract_no")},
                      {QStringLiteral("序列号："), QStringLiteral("carserial_no")},
                      {QStringLiteral("客户代码："), QStringLiteral("customerid")},
                      {QStringLiteral("发票号："), QStringLiteral("saleinvoice_no")},
                      {QStringLiteral("客    户："), QStringLiteral("custname")},
                      {QStringLiteral("出库日期："), QStringLiteral("outstock_date")},
                      {QStringLiteral("经办人："), QStringLiteral("salerecorder")},
                      {QStringLiteral("销售价格："), QStringLiteral("saleprice")},
                      {QStringLiteral("业务员："), QStringLiteral("sales")}};
    k.modelCaption = QStringLiteral("车    型：");
    k.carScope = CarScope::Sold;
    k.question = QStringLiteral("确实允许该客户退货?");
    return k;
}

Tfcustback::Tfcustback(QWidget *parent) : TReturnForm(kind(), parent) {}
