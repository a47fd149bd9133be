#include "Umodel.h"
#include "GridColumns.h"

CodeTableInfo Tfmodel::info()
{
    CodeTableInfo i;
    i.caption = QStringLiteral("车辆型号设置");
    i.table = QStringLiteral("model");
    i.index = QStringLiteral("code");
    i.tableName = QStringLiteral("tb_model");
    i.sourceName = QStringLiteral("ds_model");
    i.codeLabel = QStringLiteral("型号代码：");
    i.codeField = QStringLiteral("code");
    i.nameLabel = QStringLiteral("型号名称：");
    i.nameField = QStringLiteral("model");
    i.emptyCodeMessage = QStringLiteral("请输入型号代码!");
    i.columns = {gridColumn("型号代码", "code"),
                 gridColumn("型号名称", "model", 160)};
    i.gridEditable = true;
    return i;
}

Tfmodel::Tfmodel(QWidget *parent) : TCodeTableForm(info(), parent)
{
    setObjectName(QStringLiteral("fmodel"));
}
