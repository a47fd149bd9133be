#include "PartnerPicker.h"
#include "EnterMovesOn.h"
#include "Guard.h"
#include "FieldLink.h"
#include "Messages.h"

#include <QFormLayout>
#include <QLayout>

TPartnerPicker::TPartnerPicker(const PartnerPickerInfo &info, QWidget *owner)
    : PickerDialog(owner, {QStringLiteral("Table1"), info.gridName, info.cancelName}, info.columns,
                   info.toolWindow),
      Table1(pickerRows()), grid(pickerGrid()), cancelButton(pickerCancel()), m_info(info)
{
    setWindowTitle(info.caption);
    Table1->setTableName(info.table);
    Table1->setIndexFieldNames(info.index);
    // A quick-added row is stored as typed: no capitals, no registration
    // date. Codes are matched without regard to case everywhere.

    if (!info.addFields.isEmpty()) {
        auto *form = new QFormLayout;
        for (int i = 0; i < info.addFields.size(); ++i) {
            auto *edit = new QLineEdit(this);
            edit->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
            edit->setMaxLength(info.addFields.at(i).maxLength);
            form->addRow(info.addFields.at(i).label, edit);
            addEdits << edit;
            leadsIntoGrid(edit);
        }
        putAbove(form);
        addButton = new QPushButton(QStringLiteral("新增"), this);
        addButton->setObjectName(QStringLiteral("BitBtn2"));
        addButton->setAutoDefault(false);
        putBeforeOk(addButton);
        connect(addButton, &QPushButton::clicked, this, &TPartnerPicker::BitBtn2Click);
        // Enter goes from the last field to 新增, not into the grid, where it
        // would take a row.
        QList<QWidget *> chain(addEdits.begin(), addEdits.end());
        setTabChain(chain << addButton << grid << BitBtn1 << cancelButton);
    }
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    if (info.toolWindow)
        layout()->setSizeConstraint(QLayout::SetFixedSize);
    else
        resize(640, 420);
    // Enter moves between the quick-add fields instead of confirming; Down
    // goes from them into the grid.
    if (!info.addFields.isEmpty())
        installEnterMovesOn(this);
}

void TPartnerPicker::BitBtn2Click()
{
    for (int i = 0; i < addEdits.size(); ++i) {
        const QString &message = m_info.addFields.at(i).emptyMessage;
        if (!message.isEmpty() && addEdits.at(i)->text().trimmed().isEmpty()) {
            Msg::warning(message, this);
            addEdits.at(i)->setFocus();
            return;
        }
    }
    guard([this] {
        Table1->append();
        if (Table1->state() != DataSet::Insert)
            return; // no new row: never write the typed values over a stored one
        try {
            for (int i = 0; i < addEdits.size(); ++i)
                Table1->setValue(m_info.addFields.at(i).field,
                                 FieldLink::textValue(addEdits.at(i)->text()));
            if (!Table1->post()) {
                Table1->cancel();
                return;
            }
        } catch (const AppError &) {
            Table1->cancel(); // a refused row is never listed or handed on
            throw;
        }
        Table1->refresh();
    }, this);
}

std::optional<PickedPartner> TPartnerPicker::pick()
{
    if (!guard([this] { Table1->open(); }, parentWidget()))
        return std::nullopt;
    if (!chooseRow())
        return std::nullopt;
    return PickedPartner{Table1->value(m_info.codeField).toString(),
                         Table1->value(m_info.nameField).toString()};
}
