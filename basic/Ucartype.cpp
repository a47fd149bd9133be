#include "Ucartype.h"
#include "GridColumns.h"

CodeTableInfo Tfcartype::info()
{
    CodeTableInfo i;
    i.caption = QStringLiteral("车辆类型设置");
    i.table = QStringLiteral("cartype");
    i.index = QStringLiteral("code");
    i.tableName = QStringLiteral("tb_cartype");
    i.sourceName = QStringLiteral("ds_cartype");
    i.codeLabel = QStringLiteral("车型代码：");
    i.codeField = QStringLiteral("code");
    i.nameLabel = QStringLiteral("类型名称：");
    i.nameField = QStringLiteral("type");
    i.emptyCodeMessage = QStringLiteral("请输入类型代码!");
    i.columns = {gridColumn("类型代码", "code"),
                 gridColumn("类型名称", "type", 160)};
    return i;
}

Tfcartype::Tfcartype(QWidget *parent) : TCodeTableForm(info(), parent)
{
    setObjectName(QStringLiteral("fcartype"));
}
