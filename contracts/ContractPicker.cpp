#include "ContractPicker.h"
#include "Codes.h"
#include "Columns.h"
#include "Guard.h"
#include "QueryConditions.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

TContractPicker::TContractPicker(const ContractPickerKind &kind, QWidget *owner)
    : QDialog(owner), query1(new DataSet(this)), DataSource1(new DataSource(query1, this)),
      m_kind(kind)
{
    setObjectName(kind.objectName);
    setWindowTitle(kind.caption);
    setWindowFlag(Qt::Tool);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    query1->setObjectName(QStringLiteral("query1"));
    // Years of contracts: read as the grid scrolls, in the order of their serials.
    query1->setPageSize(PageSize);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));

    auto *bevel = new QFrame(this);
    bevel->setFrameShape(QFrame::StyledPanel);
    auto *top = new QHBoxLayout(bevel);
    edit1 = new QLineEdit(bevel);
    edit1->setObjectName(kind.edit1Name);
    edit2 = new QLineEdit(bevel);
    edit2->setObjectName(kind.edit2Name);
    auto *label1 = new QLabel(QStringLiteral("合同号："), bevel);
    auto *label2 = new QLabel(kind.codeLabel, bevel);
    label1->setBuddy(edit1);
    label2->setBuddy(edit2);
    top->addWidget(label1);
    top->addWidget(edit1);
    top->addWidget(label2);
    top->addWidget(edit2);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    GridColumn code = gridColumn("", "");
    code.title = kind.codeTitle;
    code.field = kind.codeField;
    GridColumn name = gridColumn("", "", 120);
    name.title = kind.nameTitle;
    name.field = kind.nameField;
    DBGrid1->setColumns({gridColumn("合同号", "contract_no"), code, name,
                         gridColumn("支付方式", "settlemode"),
                         gridColumn("签约日期", "contract_date", 130), gridColumn("经办人", "recorder")});
    DBGrid1->setDataSource(DataSource1);
    DBGrid1->setMinimumSize(600, 240);

    BitBtn1 = new QPushButton(QStringLiteral("确定"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true); // Enter in the edits or the grid chooses the row
    BitBtn2 = new QPushButton(QStringLiteral("取消"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(bevel);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QWidget *order[] = {edit1, edit2, DBGrid1, BitBtn1, BitBtn2};
    if (kind.buttonsFirst)
        std::rotate(std::begin(order), std::begin(order) + 3, std::end(order));
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    order[0]->setFocus();

    connect(edit1, &QLineEdit::textChanged, this, &TContractPicker::edit1Change);
    connect(edit2, &QLineEdit::textChanged, this, &TContractPicker::edit1Change);
    connect(BitBtn1, &QPushButton::clicked, this, &TContractPicker::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

ListStatement TContractPicker::listStatement(const ContractPickerKind &kind, ContractScope scope,
                                             const QString &contractNo, const QString &partnerCode)
{
    QueryConditions conditions;
    switch (scope) {
    case ContractScope::NotStarted:
        conditions.equals(QStringLiteral("isfinished"), ContractProgress::Saved);
        break;
    case ContractScope::Started:
        conditions.equals(QStringLiteral("isfinished"), ContractProgress::Executing);
        break;
    case ContractScope::All: break;
    }
    // The typed text narrows the scope literally, as a prefix.
    conditions.prefix(QStringLiteral("contract_no"), contractNo).prefix(kind.codeField, partnerCode);
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
    QPointer<TContractPicker> self(this);
    const int result = exec();
    if (!self || result != QDialog::Accepted || query1->isEmpty())
        return std::nullopt;
    return PickedContract{query1->value(m_kind.serialField).toString(),
                          query1->value(QStringLiteral("contract_no")).toString(),
                          query1->value(m_kind.codeField).toString(),
                          query1->value(m_kind.nameField).toString()};
}
