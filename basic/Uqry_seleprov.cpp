#include "Uqry_seleprov.h"
#include "GridColumns.h"

PartnerPickerInfo Tfqry_seleprov::info()
{
    PartnerPickerInfo i;
    i.caption = QStringLiteral("选择供应商");
    i.table = QStringLiteral("cprovider");
    i.gridName = QStringLiteral("DBGrid1");
    i.columns = {gridColumn("供应商代码", "providerid"), gridColumn("供应商名称", "provname"),
                 gridColumn("地址", "address"), gridColumn("邮编", "zip"),
                 gridColumn("电话", "phone"), gridColumn("传真", "fax"),
                 gridColumn("电报挂号", "cableaddress", 80, false), gridColumn("e_mail地址", "e_mail"),
                 gridColumn("开户行", "bank"), gridColumn("帐号", "accountid"),
                 gridColumn("税号", "taxid"), gridColumn("法人代码", "legalpersonid"),
                 gridColumn("法人代表", "legalperson"), gridColumn("联系人", "linkman"),
                 gridColumn("注册日期", "register_date"), gridColumn("备注", "remarks")};
    i.codeField = QStringLiteral("providerid");
    i.nameField = QStringLiteral("provname");
    i.cancelName = QStringLiteral("BitBtn2");
    return i;
}

Tfqry_seleprov::Tfqry_seleprov(QWidget *owner) : TPartnerPicker(info(), owner)
{
    setObjectName(QStringLiteral("fqry_seleprov"));
}
