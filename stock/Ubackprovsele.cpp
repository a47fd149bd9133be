#include "Ubackprovsele.h"
#include "Codes.h"
#include "EnterMovesOn.h"
#include "GridColumns.h"
#include "Guard.h"
#include "OperatorHeader.h"
#include "QueryConditions.h"
#include "Useleprov.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

// The rows of both tables, each name once: the in-stock record's serial is
// the one shown, the car's own equals it by the join.
const QString Fields = QStringLiteral(
        "carinstock.carin_no, carinstock.carserial_no, buycontract_no, providerid, provname,"
        " buyrecorder, instock_date, buyinvoice_no, carmodel, customs_no, qualifier_no,"
        " commodity_no, vin_no, chassis_no, engine_no, factory_date, producingarea, color,"
        " storearea, carprice, remarks, carstatus");
const QString Returned = QStringLiteral(
        " from carinstock, carinfor where carinstock.carserial_no = carinfor.carserial_no"
        " and carstatus = ") + sqlCode(CarStatus::ReturnedToProvider);

} // namespace

QString Tfbackprovsele::baseText() { return QStringLiteral("select ") + Fields + Returned; }

Tfbackprovsele::Tfbackprovsele(QWidget *parent)
    : StockQueryForm({.objectName = QStringLiteral("fbackprovsele"),
                      .caption = QStringLiteral("向供应商退货查询"),
                      .listName = QStringLiteral("tq_backprov"),
                      .sourceName = QStringLiteral("ds_backprov"),
                      .countName = QStringLiteral("countLabel"),
                      .size = QSize(780, 500)},
                     parent),
      tq_backprov(list()), ds_backprov(source())
{
    auto named = [](auto *w, const char *name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };
    Edit1 = named(new QLineEdit(this), "Edit1");
    Edit2 = named(new QLineEdit(this), "Edit2");
    fitCodes(Edit1, QStringLiteral("carserial_no"));
    fitCodes(Edit2, QStringLiteral("chassis_no"));
    ComboEdit1 = named(new ComboEdit(this), "ComboEdit1");
    Edit3 = named(new QLineEdit(this), "Edit3");
    DateEdit1 = named(new DateEdit(this), "DateEdit1");
    DateEdit2 = named(new DateEdit(this), "DateEdit2");
    Label8 = newOperatorName(this, QStringLiteral("Label8"));

    auto *frame = new QGroupBox(QStringLiteral("查询条件："), this);
    frame->setObjectName(QStringLiteral("GroupBox1"));
    auto *grid = new QGridLayout(frame);
    auto place = [grid](int row, int col, const QString &label, QWidget *w) {
        placeField(grid, row, col, label, w);
    };
    place(0, 0, QStringLiteral("序 列 号："), Edit1);
    place(0, 1, QStringLiteral("底盘号："), Edit2);
    place(0, 2, QStringLiteral("退货日期："), DateEdit1);
    place(1, 0, QStringLiteral("代码(供)："), ComboEdit1);
    place(1, 1, QStringLiteral("供应商："), Edit3);
    place(1, 2, QStringLiteral("至："), DateEdit2);

    auto *operatorRow = new QHBoxLayout;
    operatorRow->addWidget(frame, 1);
    addOperator(operatorRow, Label8, 0, Qt::AlignBottom);

    conditionsLayout()->addLayout(operatorRow);
    countLabel = finish({gridColumn("入库流水号", "carin_no", 80, false),
                         gridColumn("车系列号", "carserial_no", 120),
                         gridColumn("采购合同号", "buycontract_no"),
                         gridColumn("供应商代码", "providerid"),
                         gridColumn("供应商名称", "provname", 140),
                         gridColumn("退货经办人", "buyrecorder"),
                         gridColumn("退货日期", "instock_date", 90),
                         gridColumn("入库发票号", "buyinvoice_no"),
                         gridColumn("车型", "carmodel"),
                         gridColumn("报关单号", "customs_no"),
                         gridColumn("合格证号", "qualifier_no"),
                         gridColumn("商检号", "commodity_no"),
                         gridColumn("vin_no号", "vin_no"),
                         gridColumn("底盘号", "chassis_no"),
                         gridColumn("发动机号", "engine_no"),
                         gridColumn("出厂日期", "factory_date", 90),
                         gridColumn("产地", "producingarea"),
                         gridColumn("颜色", "color"),
                         gridColumn("存放地", "storearea"),
                         gridColumn("入库价格", "carprice"),
                         gridColumn("退货原因", "remarks", 160),
                         gridColumn("状态", "carstatus", 40, false)},
                        {Edit1, Edit2, DateEdit1, ComboEdit1, Edit3, DateEdit2});

    connect(SpeedItem1, &QToolButton::clicked, this, &Tfbackprovsele::SpeedItem1Click);
    connect(SpeedItem3, &QToolButton::clicked, this, &Tfbackprovsele::SpeedItem3Click);
    connect(ComboEdit1, &ComboEdit::buttonClick, this, &Tfbackprovsele::ComboEdit1ButtonClick);

    // FormCreate
    installEnterMovesOn(this);
}

Tfbackprovsele::Filter Tfbackprovsele::filter() const
{
    return {Edit1->text(), ComboEdit1->text(), Edit3->text(), Edit2->text(), DateEdit1->date(),
            DateEdit2->date()};
}

ListStatement Tfbackprovsele::listStatement(const Filter &typed)
{
    // A date field left blank adds nothing.
    QueryConditions c(QueryConditions::Join::And);
    c.prefix(QStringLiteral("carinstock.carserial_no"), typed.serial)
            .prefix(QStringLiteral("providerid"), typed.providerCode)
            .prefix(QStringLiteral("provname"), typed.providerName)
            .prefix(QStringLiteral("chassis_no"), typed.chassis)
            .fromDate(QStringLiteral("instock_date"), typed.from)
            .toDate(QStringLiteral("instock_date"), typed.to);
    // Latest returns last; the record's number keeps one day's returns apart.
    return ListStatement::of(baseText(), c, {QStringLiteral("carin_no")}, QStringLiteral("instock_date"));
}

void Tfbackprovsele::SpeedItem1Click() { runQuery(listStatement(filter()), DateEdit1, DateEdit2); }

void Tfbackprovsele::SpeedItem3Click() { clearConditions(); }

void Tfbackprovsele::ComboEdit1ButtonClick()
{
    if (const auto picked = pickPartner<Tfseleprov>(this))
        ComboEdit1->setText(picked->code);
}

void Tfbackprovsele::closeEvent(QCloseEvent *event)
{
    guard([this] { tq_backprov->close(); }, this);
    event->accept();
}
