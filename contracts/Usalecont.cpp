#include "Usalecont.h"
#include "Uselecust.h"
#include "rep_xshht.h"

ContractKind Tfsalecont::kind()
{
    ContractKind k;
    k.objectName = QStringLiteral("fsalecont");
    k.caption = QStringLiteral("销售合同");
    k.statusText = k.caption;
    k.masterTable = QStringLiteral("csalecontract");
    k.linesTable = QStringLiteral("csalecontdetail");
    k.masterName = QStringLiteral("tb_salecont");
    k.linesName = QStringLiteral("tb_salecontdet");
    k.masterSource = QStringLiteral("ds_salecont");
    k.linesSource = QStringLiteral("ds_salecontdet");
    k.numbering = {QStringLiteral("csalecontpre"), QStringLiteral("csalecont_s"),
                   QStringLiteral("ss"), QStringLiteral("csalecontract"),
                   QStringLiteral("salecont_no")};
    k.codeField = QStringLiteral("customerid");
    k.nameField = QStringLiteral("custname");
    k.codeLabel = QStringLiteral("客户代码：");
    k.nameLabel = QStringLiteral("客户名称：");
    k.partners = &Partners::customers();
    k.codeMissing = QStringLiteral("请输入客户代码！");
    k.codeNotFound = QStringLiteral("输入的客户代码不存在！");
    k.providerModels = false;
    k.deliveryLabel = QStringLiteral("交货日期：");
    k.modelTitle = QStringLiteral("车辆型号");
    k.startCaption = QStringLiteral("开始执行合同");
    k.printCaption = QStringLiteral("打印");
    k.settleModeFreeText = true;
    k.closeQuestion = QStringLiteral("是否保存销售合同？");
    k.emptyLinesDelete = QStringLiteral(
        "delete from csalecontdetail where salecont_no=:aa and ifnull(qty,0)=0");
    k.pick = [](QWidget *owner) { return pickPartner<Tfselecust>(owner); };
    k.print = &Tfsalecont::PrintContract;
    return k;
}

Tfsalecont::Tfsalecont(QWidget *parent) : TContractEntry(kind(), parent) {}

void Tfsalecont::PrintContract(QWidget *owner, const QString &serial)
{
    Tfrep_xshht layout(owner);
    // The contract prints also when its customer is no longer in the register.
    printContract(layout, layout.rep_salecont,
                  QStringLiteral("SELECT csalecontract.*, ccustomer.legalperson, ccustomer.address,"
                                 " ccustomer.phone, ccustomer.bank, ccustomer.accountid"
                                 " FROM csalecontract LEFT JOIN ccustomer"
                                 " ON csalecontract.customerid=ccustomer.customerid"
                                 " WHERE salecont_no=:aa"),
                  layout.rep_salecontmx,
                  QStringLiteral("select * from csalecontdetail where salecont_no=:aa"), serial);
}
