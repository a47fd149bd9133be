#include "Uselecust.h"
#include "GridColumns.h"

PartnerPickerInfo Tfselecust::info()
{
    PartnerPickerInfo i;
    i.caption = QStringLiteral("选择客户");
    i.table = QStringLiteral("ccustomer");
    i.index = QStringLiteral("custname");
    i.gridName = QStringLiteral("DBGrid_cust");
    i.columns = {gridColumn("客户代码", "customerid"), gridColumn("客户名称", "custname"),
                 gridColumn("证件号码", "legalpersonid"), gridColumn("电话", "phone"),
                 gridColumn("地址", "address"), gridColumn("邮编", "zip"),
                 gridColumn("传真", "fax"), gridColumn("电报挂号", "cableaddress"),
                 gridColumn("e_mail地址", "e_mail"), gridColumn("开户行", "bank"),
                 gridColumn("银行帐号", "accountid"), gridColumn("税号", "taxid"),
                 gridColumn("法人代表", "legalperson"), gridColumn("联系人", "linkman"),
                 gridColumn("注册日期", "register_date"), gridColumn("备注", "remarks")};
    i.codeField = QStringLiteral("customerid");
    i.nameField = QStringLiteral("custname");
    i.cancelName = QStringLiteral("BitBtn3");
    i.toolWindow = false;
    i.addFields = {{QStringLiteral("客户代码："), QStringLiteral("customerid"), 10,
                    QStringLiteral("请输入客户代码!")},
                   {QStringLiteral("客户名称："), QStringLiteral("custname"), 40, QString()},
                   {QStringLiteral("证件号码："), QStringLiteral("legalpersonid"), 12,
                    QStringLiteral("请输入证件号码!")},
                   {QStringLiteral("联系电话："), QStringLiteral("phone"), 30, QString()}};
    return i;
}

Tfselecust::Tfselecust(QWidget *owner) : TPartnerPicker(info(), owner)
{
    setObjectName(QStringLiteral("fselecust"));
}
