#include "Uselesalecont.h"

ContractPickerKind Tfselesalecont::kind()
{
    ContractPickerKind k;
    k.objectName = QStringLiteral("fselesalecont");
    k.caption = QStringLiteral("选择销售合同");
    k.table = QStringLiteral("csalecontract");
    k.serialField = QStringLiteral("salecont_no");
    k.codeField = QStringLiteral("customerid");
    k.nameField = QStringLiteral("custname");
    k.edit1Name = QStringLiteral("Edit1");
    k.edit2Name = QStringLiteral("Edit2");
    k.codeLabel = QStringLiteral("客户代码：");
    k.codeTitle = QStringLiteral("客户代码");
    k.nameTitle = QStringLiteral("客户名称");
    k.buttonsFirst = false;
    return k;
}

Tfselesalecont::Tfselesalecont(QWidget *owner) : TContractPicker(kind(), owner) {}
