#include "Uselecar.h"
#include "DBControls.h"
#include "GridColumns.h"
#include "Guard.h"
#include "QueryConditions.h"

Tfselecar::Tfselecar(QWidget *owner)
    : ListPicker(owner, {QStringLiteral("Edit1"), QStringLiteral("车系列号：")},
                 {QStringLiteral("Edit2"), QStringLiteral("底盘号：")},
                 {gridColumn("车系列号", "carserial_no", 110), gridColumn("底盘号", "chassis_no", 110),
                  gridColumn("发动机号", "engine_no", 100), gridColumn("型号", "carmodel"),
                  gridColumn("颜色", "color", 50), gridColumn("报关单号", "customs_no"),
                  gridColumn("合格证号", "qualifier_no"), gridColumn("商检号", "commodity_no"),
                  gridColumn("vin_no号", "vin_no", 110), gridColumn("出厂日期", "factory_date"),
                  gridColumn("产地", "producingarea"), gridColumn("存放地", "storearea"),
                  gridColumn("出库价格", "carprice"), gridColumn("", "carstatus", 40, false),
                  gridColumn("备注", "remarks", 120)},
                 QSize(720, 280)),
      Edit1(filterEdit(0)), Edit2(filterEdit(1))
{
    setObjectName(QStringLiteral("fselecar"));
    setWindowTitle(QStringLiteral("选车"));
    fitCodes(Edit1, QStringLiteral("carserial_no"));
    fitCodes(Edit2, QStringLiteral("chassis_no"));

    connect(Edit1, &QLineEdit::textChanged, this, &Tfselecar::Edit1Change);
    connect(Edit2, &QLineEdit::textChanged, this, &Tfselecar::Edit1Change);
    connect(BitBtn1, &QPushButton::clicked, this, &Tfselecar::BitBtn1Click);
}

ListStatement Tfselecar::listStatement(const CarList &scope, const QString &serial, const QString &chassis)
{
    // The typed text narrows the scope literally, as a prefix.
    QueryConditions conditions(QueryConditions::Join::And);
    conditions.prefix(QStringLiteral("carinfor.carserial_no"), serial)
        .prefix(QStringLiteral("carinfor.chassis_no"), chassis);
    // A dealer's years of cars: read as the grid scrolls, in the order of the list's key.
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
    if (!chooseRow())
        return std::nullopt;
    return query1->record(query1->recNo());
}

std::optional<QSqlRecord> pickCar(QWidget *owner, const CarList &scope)
{
    return openPicker<Tfselecar>(owner, [&scope](Tfselecar &picker) { picker.setScope(scope); });
}
