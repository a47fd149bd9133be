#include "Ubuycontsele.h"
#include "GridColumns.h"
#include "Ubuycont.h"
#include "Uqry_seleprov.h"

ContractQueryKind Tfbuycontsele::kind()
{
    ContractQueryKind k;
    k.objectName = QStringLiteral("fbuycontsele");
    k.caption = QStringLiteral("采购合同查询");
    k.table = QStringLiteral("cbuycontract");
    k.linesTable = QStringLiteral("cbuycontdetail");
    k.serialField = QStringLiteral("buycont_no");
    k.listName = QStringLiteral("tq_buycont");
    k.linesName = QStringLiteral("tb_buycontdet");
    k.listSource = QStringLiteral("ds_buycont");
    k.linesSource = QStringLiteral("ds_buycontdet");
    k.edit1Name = QStringLiteral("Edit1");
    k.comboEditName = QStringLiteral("ComboEdit1");
    k.edit2Name = QStringLiteral("Edit2");
    k.numberLabel = QStringLiteral("合 同 号：");
    k.codeLabel = QStringLiteral("供应商代码：");
    k.nameLabel = QStringLiteral("供应商名称：");
    k.codeField = QStringLiteral("providerid");
    k.nameField = QStringLiteral("provname");
    k.upperColumns = {gridColumn("合同号", "contract_no"), gridColumn("合同类别", "conttype"),
                      gridColumn("供应商代码", "providerid"), gridColumn("供应商", "provname", 120),
                      gridColumn("支付方式", "settlemode"), gridColumn("交货方式", "transportmode"),
                      gridColumn("提货地点", "startarea"), gridColumn("到货地点", "arrivearea"),
                      gridColumn("经手人", "recorder"), gridColumn("到货日期", "arrive_date"),
                      gridColumn("鉴定日期", "contract_date", 130), gridColumn("备注", "remarks", 160)};
    k.lowerColumns = {gridColumn("合同流水号", "buycont_no", 110), gridColumn("车辆类型", "cartype"),
                      gridColumn("型  号", "carmodel"), gridColumn("产地", "producingarea"),
                      gridColumn("单位", "unit"), gridColumn("单价", "unitprice"),
                      gridColumn("数量", "qty")};
    k.listAtOpen = true;
    k.pick = [](QWidget *owner) { return pickPartner<Tfqry_seleprov>(owner); };
    k.print = &Tfbuycont::PrintContract;
    return k;
}

Tfbuycontsele::Tfbuycontsele(QWidget *parent) : TContractQuery(kind(), parent) {}
