#include "Uprovaccountsele.h"
#include "Useleprov.h"
#include "rep_provacc.h"

AccountKind Tfprovaccountsele::kind()
{
    AccountKind k;
    k.objectName = QStringLiteral("fprovaccountsele");
    k.caption = QStringLiteral("供应商帐目查询");
    k.table = QStringLiteral("cprovaccount");
    k.keyField = QStringLiteral("paccountid");
    k.codeField = QStringLiteral("providerid");
    k.nameField = QStringLiteral("provname");
    k.typeField = QStringLiteral("provaccttype");
    k.contractField = QStringLiteral("buycont_no");
    k.paidField = QStringLiteral("outgo");
    k.chargedField = QStringLiteral("income");
    k.codeLabel = QStringLiteral("供应商代码：");
    k.nameLabel = QStringLiteral("供应商名称：");
    k.codeTitle = QStringLiteral("供应商代码");
    k.nameTitle = QStringLiteral("供应商名称");
    k.incomeTitle = QStringLiteral("已到货款");
    k.outgoTitle = QStringLiteral("预付金额");
    k.partners = &Partners::providers();
    k.codeNotFound = QStringLiteral("输入的供应商代码不存在!");
    k.queryName = QStringLiteral("tq_provacc");
    k.sourceName = QStringLiteral("DataSource1");
    k.pick = [](QWidget *owner) { return pickPartner<Tfseleprov>(owner); };
    k.layout = [](QObject *owner) { return std::make_unique<Tfrep_provacc>(owner); };
    k.reportQuery = QStringLiteral("rep_provacc");
    return k;
}

Tfprovaccountsele::Tfprovaccountsele(QWidget *parent) : TAccountQuery(kind(), parent) {}
