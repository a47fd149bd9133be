#include "Usubject.h"
#include "GridColumns.h"

CodeTableInfo Tfsubject::info()
{
    CodeTableInfo i;
    i.caption = QStringLiteral("费用科目分类设置");
    i.table = QStringLiteral("subject");
    i.index = QStringLiteral("PrimaryKey");
    i.tableName = QStringLiteral("tb_subject");
    i.sourceName = QStringLiteral("ds_subject");
    i.codeLabel = QStringLiteral("费用代码：");
    i.codeField = QStringLiteral("subjectid");
    i.nameLabel = QStringLiteral("费用名称：");
    i.nameField = QStringLiteral("subjectname");
    i.emptyCodeMessage = QStringLiteral("请选择费用代码!");
    i.columns = {gridColumn("科目分类", "subjecttype", 100),
                 gridColumn("费用代码", "subjectid"),
                 gridColumn("费用名称", "subjectname", 160)};
    i.typeLabel = QStringLiteral("科目分类：");
    i.typeField = QStringLiteral("subjecttype");
    i.emptyTypeMessage = QStringLiteral("请选择科目分类!");
    i.typeChoices = {QStringLiteral("车辆附加费"), QStringLiteral("服务费"), QStringLiteral("赠品"),
                     QStringLiteral("代垫费用")};
    return i;
}

Tfsubject::Tfsubject(QWidget *parent) : TCodeTableForm(info(), parent)
{
    setObjectName(QStringLiteral("fsubject"));
}
