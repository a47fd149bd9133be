#include "Ubuycont.h"
#include "Useleprov.h"
#include "rep_cght.h"

ContractKind Tfbuycont::kind()
{
    ContractKind k;
    k.objectName = QStringLiteral("fbuycont");
    k.caption = QStringLiteral("采购合同");
    k.statusText = k.caption;
    k.masterTable = QStringLiteral("cbuycontract");
    k.linesTable = QStringLiteral("cbuycontdetail");
    k.masterName = QStringLiteral("tb_buycont");
    k.linesName = QStringLiteral("tb_buycontdet");
    k.masterSource = QStringLiteral("ds_buycont");
    k.linesSource = QStringLiteral("ds_buycontdet");
    k.numbering = {QStringLiteral("cbuycontpre"), QStringLiteral("cbuycont_s"),
                   QStringLiteral("bs"), QStringLiteral("cbuycontract"),
                   QStringLiteral("buycont_no")};
    k.codeField = QStringLiteral("providerid");
    k.nameField = QStringLiteral("provname");
    k.codeLabel = QStringLiteral("代码(供)：");
    k.nameLabel = QStringLiteral("供应商：");
    k.partners = &Partners::providers();
    k.codeMissing = QStringLiteral("请输入供应商代码！");
    k.codeNotFound = QStringLiteral("输入的供应商代码不存在！");
    k.providerModels = true;
    k.deliveryLabel = QStringLiteral("交货期：");
    k.modelTitle = QStringLiteral("型  号");
    k.startCaption = QStringLiteral("开始执行");
    k.printCaption = QStringLiteral("打印 ");
    k.settleModeFreeText = false;
    k.closeQuestion = QStringLiteral("是否保存采购合同？");
    k.emptyLinesDelete = QStringLiteral(
        "delete from cbuycontdetail where buycont_no=:aa and ifnull(qty,0)=0");
    k.pick = [](QWidget *owner) { return pickPartner<Tfseleprov>(owner); };
    k.print = &Tfbuycont::PrintContract;
    return k;
}

Tfbuycont::Tfbuycont(QWidget *parent) : TContractEntry(kind(), parent) {}

void Tfbuycont::PrintContract(QWidget *owner, const QString &serial)
{
    Tfrep_cght layout(owner);
    // The contract prints also when its provider is no longer in the register.
    printContract(layout, layout.rep_buycont,
                  QStringLiteral("SELECT cbuycontract.*, cprovider.legalperson, cprovider.address,"
                                 " cprovider.phone, cprovider.bank, cprovider.accountid"
                                 " FROM cbuycontract LEFT JOIN cprovider"
                                 " ON cbuycontract.providerid=cprovider.providerid"
                                 " WHERE buycont_no=:aa"),
                  layout.rep_buycontmx,
                  QStringLiteral("select * from cbuycontdetail where buycont_no=:aa"), serial);
}
