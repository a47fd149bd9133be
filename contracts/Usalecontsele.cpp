#include "Usalecontsele.h"
#include "GridColumns.h"
#include "Usalecont.h"
#include "Uqry_selecust.h"

ContractQueryKind Tfsalecontsele::kind()
{
    ContractQueryKind k;
    k.objectName = QStringLiteral("fsalecontsele");
    k.caption = QStringLiteral("销售合同查询");
    k.table = QStringLiteral("csalecontract");
    k.linesTable = QStringLiteral("csalecontdetail");
    k.serialField = QStringLiteral("salecont_no");
    k.listName = QStringLiteral("tq_salecont");
    k.linesName = QStringLiteral("tb_salecontdet");
    k.listSource = QStringLiteral("ds_salecont");
    k.linesSource = QStringLiteral("ds_salecontdet");
    k.edit1Name = QStringLiteral("edit1");
    k.comboEditName = QStringLiteral("COMBOEDIT1");
    k.edit2Name = QStringLiteral("edit2");
    k.numberLabel = QStringLiteral("合同号：");
    k.codeLabel = QStringLiteral("客户代码：");
    k.nameLabel = QStringLiteral("客户名称：");
    k.codeField = QStringLiteral("customerid");
    k.nameField = QStringLiteral("custname");
    k.upperColumns = {gridColumn("合同号", "contract_no"), gridColumn("合同类型", "conttype"),
                      gridColumn("交货方式", "transportmode"), gridColumn("提货地点", "startarea"),
                      gridColumn("到货地点", "arrivearea"), gridColumn("经手人", "recorder"),
                      gridColumn("到货日期", "arrive_date"), gridColumn("签约地点", "contractarea"),
                      gridColumn("日期", "contract_date", 130), gridColumn("操作员", "operator"),
                      gridColumn("备注", "remarks", 160)};
    k.lowerColumns = {gridColumn("车辆类型", "cartype"), gridColumn("车型", "carmodel"),
                      gridColumn("产地", "producingarea"), gridColumn("单位", "unit"),
                      gridColumn("单价", "unitprice"), gridColumn("数量", "qty")};
    k.listAtOpen = false;
    k.pick = [](QWidget *owner) { return pickPartner<Tfqry_selecust>(owner); };
    k.print = &Tfsalecont::PrintContract;
    return k;
}

Tfsalecontsele::Tfsalecontsele(QWidget *parent) : TContractQuery(kind(), parent) {}
