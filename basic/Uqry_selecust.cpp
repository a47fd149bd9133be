#include "Uqry_selecust.h"
#include "GridColumns.h"

PartnerPickerInfo Tfqry_selecust::info()
{
    PartnerPickerInfo i;
    i.caption = QStringLiteral("选择客户");
    i.table = QStringLiteral("ccustomer");
    i.gridName = QStringLiteral("DBGrid1");
    i.columns = {gridColumn(" 客户代码", "customerid"), gridColumn("客户名称", "custname"),
                 gridColumn("证件号码", "legalpersonid"), gridColumn("地址", "address"),
                 gridColumn("邮编", "zip"), gridColumn("电话", "phone"),
                 gridColumn("传真", "fax"), gridColumn("电报挂号", "cableaddress", 80, false),
                 gridColumn("e_mail地址", "e_mail"), gridColumn("开户行", "bank"),
                 gridColumn("帐号", "accountid"), gridColumn("税号", "taxid"),
                 gridColumn("法人代表", "legalperson"), gridColumn("联系人", "linkman"),
                 gridColumn("注册日期", "register_date"), gridColumn("备注", "remarks")};
    i.codeField = QStringLiteral("customerid");
    i.nameField = QStringLiteral("custname");
    i.cancelName = QStringLiteral("BitBtn2");
    return i;
}

Tfqry_selecust::Tfqry_selecust(QWidget *owner) : TPartnerPicker(info(), owner)
{
    setObjectName(QStringLiteral("fqry_selecust"));
}
