#include "Uconttype.h"
#include "GridColumns.h"

CodeTableInfo Tfconttype::info()
{
    CodeTableInfo i;
    i.caption = QStringLiteral("合同类型设置");
    i.table = QStringLiteral("cconttype");
    i.index = QStringLiteral("PrimaryKey");
    i.tableName = QStringLiteral("tb_conttype");
    i.sourceName = QStringLiteral("ds_conttype");
    i.codeLabel = QStringLiteral("类型代码：");
    i.codeField = QStringLiteral("conttypeid");
    i.nameLabel = QStringLiteral("类型名称：");
    i.nameField = QStringLiteral("conttype");
    i.emptyCodeMessage = QStringLiteral("请输入类型代码!");
    i.columns = {gridColumn("类型代码", "conttypeid"),
                 gridColumn("类型名称", "conttype", 160)};
    i.showOperator = true;
    return i;
}

Tfconttype::Tfconttype(QWidget *parent) : TCodeTableForm(info(), parent)
{
    setObjectName(QStringLiteral("fconttype"));
}
