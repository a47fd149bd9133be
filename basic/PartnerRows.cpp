#include "PartnerRows.h"
#include "Clock.h"
#include "DataSet.h"
#include "Format.h"
#include "GridColumns.h"

void storePartnerRowsAsRegistered(DataSet *table, const QString &codeField)
{
    const auto check = table->beforePost;
    table->beforePost = [table, codeField, check] {
        if (check && !check())
            return false;
        const QVariant code = table->value(codeField);
        if (!code.isNull() && code.toString() != code.toString().toUpper())
            table->setValue(codeField, code.toString().toUpper());
        const QString date = QStringLiteral("register_date");
        if (table->value(date).isNull())
            table->setValue(date, Fmt::sqlDateTime(Clock::now()));
        return true;
    };
}

QList<RegisterField> partnerFields(const char *codeField, const char *nameField)
{
    using F = RegisterField;
    return {{"代    码：", codeField, "DBEdit1", F::CodeEdit},
            {"名    称：", nameField, "DBEdit2"},
            {"地    址：", "address", "DBEdit4"},
            {"邮    编：", "zip", "DBEdit5"},
            {"联系电话：", "phone", "DBEdit6"},
            {"传    真：", "Fax", "DBEdit7"},
            {"E-MAIL：", "e_mail", "DBEdit8"},
            {"联 系 人：", "linkman", "DBEdit11"},
            {"开 户 行：", "bank", "DBEdit12"},
            {"银行帐号：", "accountid", "DBEdit13"},
            {"税    号：", "taxid", "DBEdit14"},
            {"建档日期：", "register_date", "DBDateEdit1", F::TodayDate},
            {"法人代表：", "legalperson", "DBEdit15"},
            {"法人代码：", "legalpersonid", "DBEdit9"},
            {"电报挂号：", "cableaddress", "DBEdit3"},
            {"备    注：", "remarks", "DBMemo1", F::Memo}};
}

GridColumns partnerColumns(const char *codeTitle, const char *codeField, const char *nameTitle,
                           const char *nameField)
{
    return {gridColumn(codeTitle, codeField), gridColumn(nameTitle, nameField, 160),
            gridColumn("地址", "address", 160), gridColumn("邮编", "zip"),
            gridColumn("电话", "phone"), gridColumn("传真", "fax"),
            gridColumn("电报挂号", "cableaddress"), gridColumn("e_mail地址", "e_mail"),
            gridColumn("开户行", "bank"), gridColumn("银行帐号", "accountid"),
            gridColumn("税号", "taxid"), gridColumn("法人代码", "legalpersonid"),
            gridColumn("法人代表", "legalperson"), gridColumn("联系人", "linkman"),
            gridColumn("注册日期", "register_date", 130), gridColumn("备注", "remarks", 160)};
}


RegisterInfo partnerRegister(const char *table, const char *codeTitle, const char *codeField,
                             const char *nameTitle, const char *nameField)
{
    RegisterInfo i;
    i.table = QLatin1String(table);
    i.codeField = QLatin1String(codeField);
    i.entryPageName = QStringLiteral("tabsheet1");
    i.entryPageCaption = QStringLiteral("信息输入");
    i.queryPageName = QStringLiteral("TabSheet2");
    i.queryPageCaption = QStringLiteral("浏览打印");
    i.dateLabel = QStringLiteral("建档日期：");
    i.fields = partnerFields(codeField, nameField);
    i.columns = partnerColumns(codeTitle, codeField, nameTitle, nameField);
    i.partnerRows = true;
    return i;
}
