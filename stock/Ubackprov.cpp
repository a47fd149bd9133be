#include "Ubackprov.h"
#include "Uselecar.h"

ReturnKind Tfbackprov::kind()
{
    ReturnKind k;
    k.objectName = QStringLiteral("fbackprov");
    k.caption = QStringLiteral("向供应商退货");
    k.move = CarReturn::toProvider();
    k.recordName = QStringLiteral("tb_carin");
    k.recordSource = QStringLiteral("ds_carin");
    k.headerFields = {{QStringLiteral("入库流水号："), QStringLiteral("carin_no")},
                      {QStringLiteral("合 同 号："), QStringLiteral("buycontract_no")},
                      {QStringLiteral("序列号："), QStringLiteral("carserial_no")},
                      {QStringLiteral("供应商代码："), QStringLiteral("providerid")},
                      {QStringLiteral("发票号："), QStringLiteral("buyinvoice_no")},
                      {QStringLiteral("供应商："), QStringLiteral("provname")},
                      {QStringLiteral("入库日期："), QStringLiteral("instock_date")},
                      {QStringLiteral("经办人："), QStringLiteral("buyrecorder")}};
    k.modelCaption = QStringLiteral("型    号：");
    k.carScope = CarScope::InStock;
    k.question = QStringLiteral("确实要向该供应商退货?");
    return k;
}

Tfbackprov::Tfbackprov(QWidget *parent) : TReturnForm(kind(), parent) {}
