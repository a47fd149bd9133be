#include "ContractPicker.h"
#include "Codes.h"
#include "DBControls.h"
#include "GridColumns.h"
#include "Guard.h"
#include "QueryConditions.h"

#include <QLayout>

namespace {

GridColumns contractColumns(const ContractPickerKind &kind)
{
    GridColumn code = gridColumn("", "");
    code.title = kind.codeTitle;
    code.field = kind.codeField;
    GridColumn name = gridColumn("", "", 120);
    name.title = kind.nameTitle;
    name.field = kind.nameField;
    return {gridColumn("合同号", "contract_no"), code, name, gridColumn("支付方式", "settlemode"),
            gridColumn("签约日期", "contract_date", 130), gridColumn("经办人", "recorder")};
}

} // namespace

TContractPicker::TContractPicker(const ContractPickerKind &kind, QWidget *owner)
    : ListPicker(owner, {kind.edit1Name, QStringLiteral("合同号：")}, {kind.edit2Name, kind.codeLabel},
                 contractColumns(kind), QSize(600, 240),
                 kind.buttonsFirst ? TabOrder::ButtonsFirst : TabOrder::EditsFirst),
      edit1(filterEdit(0)), edit2(filterEdit(1)), m_kind(kind)
{
    setObjectName(kind.objectName);
    setWindowTitle(kind.caption);
    fitCodes(edit1, QStringLiteral("contract_no"));
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(edit1, &QLineEdit::textChanged, this, &TContractPicker::edit1Change);
    connect(edit2, &QLineEdit::textChanged, this, &TContractPicker::edit1Change);
    connect(BitBtn1, &QPushButton::clicked, this, &TContractPicker::BitBtn1Click);
}

ListStatement TContractPicker::listStatement(const ContractPickerKind &kind, ContractScope scope,
                                             const QString &contractNo, const QString &partnerCode)
{
    QueryConditions conditions;
    switch (scope) {
    case ContractScope::NotStarted:
        conditions.equals(QStringLiteral("isfinished"), codeValue(ContractProgress::Saved));
        break;
    case ContractScope::Started:
        conditions.equals(QStringLiteral("isfinished"), codeValue(ContractProgress::Executing));
        break;
    case ContractScope::All: break;
    }
    // The typed text narrows the scope literally, as a prefix.
    conditions.prefix(QStringLiteral("contract_no"), contractNo).prefix(kind.codeField, partnerCode);
    // Years of contracts: read as the grid scrolls, in the order of their serials.
    return ListStatement::of(QStringLiteral("select * from ") + kind.table, conditions, {kind.serialField});
}

void TContractPicker::edit1Change()
{
    listStatement(m_kind, m_scope, edit1->text(), edit2->text()).setOn(query1);
    guard([this] { query1->open(); }, this);
}

void TContractPicker::BitBtn1Click()
{
    if (query1->isActive() && !query1->isEmpty())
        accept(); // otherwise the dialog stays open
}

std::optional<PickedContract> TContractPicker::pick()
{
    edit1Change();
    if (!query1->isActive())
        return std::nullopt;
    if (!chooseRow())
        return std::nullopt;
    return PickedContract{query1->value(m_kind.serialField).toString(),
                          query1->value(QStringLiteral("contract_no")).toString(),
                          query1->value(m_kind.codeField).toString(),
                          query1->value(m_kind.nameField).toString()};
}
