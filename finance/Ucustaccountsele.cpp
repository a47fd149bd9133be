#include "Ucustaccountsele.h"
#include "Uselecust.h"
#include "rep_custacc.h"

AccountKind Tfcustaccountsele::kind()
{
    AccountKind k;
    k.objectName = QStringLiteral("fcustaccountsele");
    k.caption = QStringLiteral("客户余额查询");
    k.table = QStringLiteral("ccustaccount");
    k.keyField = QStringLiteral("caccountid");
    k.codeField = QStringLiteral("customerid");
    k.nameField = QStringLiteral("custname");
    k.typeField = QStringLiteral("custaccttype");
    k.contractField = QStringLiteral("salecont_no");
    k.paidField = QStringLiteral("income");
    k.chargedField = QStringLiteral("outgo");
    k.codeLabel = QStringLiteral("客户代码：");
    k.nameLabel = QStringLiteral("客户名称：");
    k.codeTitle = QStringLiteral("客户代码");
    k.nameTitle = QStringLiteral("客户名称");
    k.incomeTitle = QStringLiteral("客户预付");
    k.outgoTitle = QStringLiteral("销售金额");
    k.partners = &Partners::customers();
    k.codeNotFound = QStringLiteral("输入的客户代码不存在!");
    k.queryName = QStringLiteral("tq_custacc");
    k.sourceName = QStringLiteral("ds_custacc");
    k.pick = [](QWidget *owner) { return pickPartner<Tfselecust>(owner); };
    k.layout = [](QObject *owner) { return std::make_unique<Tfrep_custacc>(owner); };
    k.reportQuery = QStringLiteral("rep_custacc");
    return k;
}

Tfcustaccountsele::Tfcustaccountsele(QWidget *parent) : TAccountQuery(kind(), parent) {}
