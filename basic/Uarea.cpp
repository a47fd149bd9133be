#include "Uarea.h"
#include "GridColumns.h"

CodeTableInfo Tfarea::info()
{
    CodeTableInfo i;
    i.caption = QStringLiteral("地区设置");
    i.table = QStringLiteral("dq");
    i.index = QStringLiteral("PrimaryKey");
    i.tableName = QStringLiteral("tb_area");
    i.sourceName = QStringLiteral("ds_area");
    i.codeLabel = QStringLiteral("地区代码：");
    i.codeField = QStringLiteral("dqdm");
    i.nameLabel = QStringLiteral("地区名称：");
    i.nameField = QStringLiteral("dqmc");
    i.emptyCodeMessage = QStringLiteral("请输入地区代码!");
    i.columns = {gridColumn("地区代码", "dqdm"),
                 gridColumn("地区名称", "dqmc", 160)};
    return i;
}

Tfarea::Tfarea(QWidget *parent) : TCodeTableForm(info(), parent)
{
    setObjectName(QStringLiteral("farea"));
}
