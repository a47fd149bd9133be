#include "PartnerPicker.h"
#include "EnterMovesOn.h"
#include "Guard.h"
#include "FieldLink.h"
#include "Messages.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

TPartnerPicker::TPartnerPicker(const PartnerPickerInfo &info, QWidget *owner)
    : QDialog(owner), Table1(new DataSet(this)), DataSource1(new DataSource(Table1, this)),
      m_info(info)
{
    setWindowTitle(info.caption);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    if (info.toolWindow)
        setWindowFlag(Qt::Tool);
    Table1->setObjectName(QStringLiteral("Table1"));
    Table1->setTableName(info.table);
    Table1->setIndexFieldNames(info.index);
    // A dealer's partners run to a hundred thousand: read as the grid scrolls.
    Table1->setPageSize(PageSize);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    // A quick-added row is stored as typed: no capitals, no registration
    // date. Codes are matched without regard to case everywhere.

    auto *layout = new QVBoxLayout(this);
    if (!info.addFields.isEmpty()) {
        auto *form = new QFormLayout;
        for (int i = 0; i < info.addFields.size(); ++i) {
            auto *edit = new QLineEdit(this);
            edit->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
            edit->setMaxLength(info.addFields.at(i).maxLength);
            form->addRow(info.addFields.at(i).label, edit);
            addEdits << edit;
        }
        layout->addLayout(form);
    }

    grid = new DBGrid(this);
    grid->setObjectName(info.gridName);
    grid->setColumns(info.columns);
    grid->setDataSource(DataSource1);
    layout->addWidget(grid, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    if (!info.addFields.isEmpty()) {
        addButton = new QPushButton(QStringLiteral("新增"), this);
        addButton->setObjectName(QStringLiteral("BitBtn2"));
        addButton->setAutoDefault(false);
        buttons->addWidget(addButton);
        connect(addButton, &QPushButton::clicked, this, &TPartnerPicker::BitBtn2Click);
    }
    BitBtn1 = new QPushButton(QStringLiteral("确定"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    cancelButton = new QPushButton(QStringLiteral("取消"), this);
    cancelButton->setObjectName(info.cancelName);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(cancelButton);
    layout->addLayout(buttons);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    if (info.toolWindow)
        layout->setSizeConstraint(QLayout::SetFixedSize);
    else
        resize(640, 420);
    // Enter moves between the quick-add fields instead of confirming.
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
    QPointer<TPartnerPicker> self(this);
    const int result = exec();
    if (!self || result != QDialog::Accepted || Table1->isEmpty())
        return std::nullopt;
    return PickedPartner{Table1->value(m_info.codeField).toString(),
                         Table1->value(m_info.nameField).toString()};
}
