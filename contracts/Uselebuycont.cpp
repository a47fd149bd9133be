#include "Uselebuycont.h"

ContractPickerKind Tfselebuycont::kind()
{
    ContractPickerKind k;
    k.objectName = QStringLiteral("fselebuycont");
    k.caption = QStringLiteral("选择采购合同");
    k.table = QStringLiteral("cbuycontract");
    k.serialField = QStringLiteral("buycont_no");
    k.codeField = QStringLiteral("providerid");
    k.nameField = QStringLiteral("provname");
    k.edit1Name = QStringLiteral("edit1");
    k.edit2Name = QStringLiteral("edit2");
    k.codeLabel = QStringLiteral("供应商代码：");
    k.codeTitle = QStringLiteral("供应商代码");
    k.nameTitle = QStringLiteral("供应商名称");
    k.buttonsFirst = true;
    return k;
}

Tfselebuycont::Tfselebuycont(QWidget *owner) : TContractPicker(kind(), owner) {}
