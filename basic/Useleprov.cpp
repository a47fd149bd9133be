#include "Useleprov.h"
#include "PartnerRows.h"

PartnerPickerInfo Tfseleprov::info()
{
    PartnerPickerInfo i;
    i.caption = QStringLiteral("选择供应商");
    i.table = QStringLiteral("cprovider");
    i.gridName = QStringLiteral("DBGrid_prov");
    i.columns = partnerColumns("供应商代码", "providerid", "供应商名称", "provname");
    i.codeField = QStringLiteral("providerid");
    i.nameField = QStringLiteral("provname");
    i.cancelName = QStringLiteral("BitBtn3");
    i.addFields = {{QStringLiteral("供应商代码："), QStringLiteral("providerid"), 10,
                    QStringLiteral("请输入供应商代码!")},
                   {QStringLiteral("供应商名称："), QStringLiteral("provname"), 40, QString()},
                   {QStringLiteral("联系人："), QStringLiteral("linkman"), 12, QString()},
                   {QStringLiteral("联系电话："), QStringLiteral("phone"), 30, QString()}};
    return i;
}

Tfseleprov::Tfseleprov(QWidget *owner) : TPartnerPicker(info(), owner)
{
    setObjectName(QStringLiteral("fseleprov"));
}
