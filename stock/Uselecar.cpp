#include "Uselecar.h"
#include "Columns.h"
#include "DBControls.h"
#include "Guard.h"
#include "QueryConditions.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

Tfselecar::Tfselecar(QWidget *owner)
    : QDialog(owner), query1(new DataSet(this)), DataSource1(new DataSource(query1, this))
{
    setObjectName(QStringLiteral("fselecar"));
    setWindowTitle(QStringLiteral("选车"));
    setWindowFlag(Qt::Tool);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    query1->setObjectName(QStringLiteral("query1"));
    // A dealer's years of cars: read as the grid scrolls, in the order of the list's key.
    query1->setPageSize(PageSize);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));

    auto *bevel = new QFrame(this);
    bevel->setFrameShape(QFrame::StyledPanel);
    auto *top = new QHBoxLayout(bevel);
    Edit1 = new QLineEdit(bevel);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2 = new QLineEdit(bevel);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    fitCodes(Edit1, QStringLiteral("carserial_no"));
    fitCodes(Edit2, QStringLiteral("chassis_no"));
    auto *label1 = new QLabel(QStringLiteral("车系列号："), bevel);
    auto *label2 = new QLabel(QStringLiteral("底盘号："), bevel);
    label1->setBuddy(Edit1);
    label2->setBuddy(Edit2);
    top->addWidget(label1);
    top->addWidget(Edit1);
    top->addWidget(label2);
    top->addWidget(Edit2);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({gridColumn("车系列号", "carserial_no", 110), gridColumn("底盘号", "chassis_no", 110),
                         gridColumn("发动机号", "engine_no", 100), gridColumn("型号", "carmodel"),
                         gridColumn("颜色", "color", 50), gridColumn("报关单号", "customs_no"),
                         gridColumn("合格证号", "qualifier_no"), gridColumn("商检号", "commodity_no"),
                         gridColumn("vin_no号", "vin_no", 110), gridColumn("出厂日期", "factory_date"),
                         gridColumn("产地", "producingarea"), gridColumn("存放地", "storearea"),
                         gridColumn("出库价格", "carprice"), gridColumn("", "carstatus", 40, false),
                         gridColumn("备注", "remarks", 120)});
    DBGrid1->setDataSource(DataSource1);
    DBGrid1->setMinimumSize(720, 280);

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

    QWidget *order[] = {Edit1, Edit2, DBGrid1, BitBtn1, BitBtn2};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    Edit1->setFocus();

    connect(Edit1, &QLineEdit::textChanged, this, &Tfselecar::Edit1Change);
    connect(Edit2, &QLineEdit::textChanged, this, &Tfselecar::Edit1Change);
    connect(BitBtn1, &QPushButton::clicked, this, &Tfselecar::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

CarList::CarList() : CarList(CarScope::InStock) {}

CarList::CarList(const QString &condition)
    : sql(QStringLiteral("select * from carinfor where (") + condition + QLatin1Char(')')),
      keys{QStringLiteral("carserial_no")}
{
}

CarList CarList::unverifiedCharges(const QString &ledger, const QString &entryKey)
{
    // Listed by entry number, the order the charges were booked in: the
    // number also tells apart the lines of one car, and the ledger's index
    // by kind and number gives the first screen without sorting every charge.
    return {QStringLiteral("select carinfor.*, %1.%2 from carinfor, %1"
                           " where carinfor.carserial_no=%1.certificate_no and (%1.isprepay=%3)"
                           " and (not (%1.isaffirm)) and (not (%1.ischeck))")
                    .arg(ledger, entryKey, sqlCode(EntryKind::CarCharge)),
            {entryKey}};
}

ListStatement Tfselecar::listStatement(const CarList &scope, const QString &serial, const QString &chassis)
{
    // The typed text narrows the scope literally, as a prefix.
    QueryConditions conditions(QueryConditions::Join::And);
    conditions.prefix(QStringLiteral("carinfor.carserial_no"), serial)
        .prefix(QStringLiteral("carinfor.chassis_no"), chassis);
    return ListStatement::of(scope.sql, conditions, scope.keys);
}

void Tfselecar::Edit1Change()
{
    listStatement(m_list, Edit1->text(), Edit2->text()).setOn(query1);
    guard([this] { query1->open(); }, this);
}

void Tfselecar::BitBtn1Click()
{
    // A row without a serial (or no row at all) is no choice.
    if (query1->isActive() && !query1->value(QStringLiteral("carserial_no")).toString().isEmpty())
        accept();
}

std::optional<QSqlRecord> Tfselecar::pick()
{
    Edit1Change();
    QPointer<Tfselecar> self(this);
    const int result = exec();
    if (!self || result != QDialog::Accepted || !query1->isActive() || query1->isEmpty())
        return std::nullopt;
    return query1->record(query1->recNo());
}

std::optional<QSqlRecord> pickCar(QWidget *owner, const CarList &scope)
{
    QPointer<Tfselecar> picker = new Tfselecar(owner);
    picker->setScope(scope);
    const std::optional<QSqlRecord> chosen = picker->pick();
    delete picker.data();
    return chosen;
}
