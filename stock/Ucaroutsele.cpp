#include "Ucaroutsele.h"
#include "CarScope.h"
#include "FreeTextBox.h"
#include "GridColumns.h"
#include "Db.h"
#include "EnterMovesOn.h"
#include "Format.h"
#include "Guard.h"
#include "OperatorHeader.h"
#include "PartnerPicker.h"
#include "Uselecust.h"
#include "rep_chlchkmx.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace {

// The sums of a car's presents and services (per serial number, so a car
// sold twice shows the same sums on both sales).
const QString CostSums = QStringLiteral(
    "(select sum(cost) from presentcost where carinfor.carserial_no=presentcost.carserial_no) as %1,"
    " (select sum(cost) from servicecost where carinfor.carserial_no=servicecost.carserial_no) as %2");

} // namespace

Tfcaroutsele::Tfcaroutsele(QWidget *parent)
    : StockQueryForm({.objectName = QStringLiteral("fcaroutsele"),
                      .caption = QStringLiteral("车辆销售查询"),
                      .listName = QStringLiteral("tq_carout"),
                      .sourceName = QStringLiteral("ds_carout"),
                      .countName = QStringLiteral("statusText"),
                      .countText = QStringLiteral("车辆销售查询"),
                      .printable = true,
                      .size = QSize(780, 520)},
                     parent),
      tq_carout(list()), ds_carout(source())
{
    auto *frame = new QGroupBox(QStringLiteral("查询条件："), this);
    auto named = [frame](auto *w, const char *name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };
    ComboEdit2 = named(new ComboEdit(frame), "ComboEdit2");
    Edit1 = named(new QLineEdit(frame), "Edit1");
    ComboEdit1 = named(new ComboEdit(frame), "ComboEdit1");
    Edit2 = named(new QLineEdit(frame), "Edit2");
    Edit3 = named(new QLineEdit(frame), "Edit3");
    fitCodes(ComboEdit2, QStringLiteral("salecontract_no"));
    fitCodes(Edit1, QStringLiteral("carserial_no"));
    fitCodes(Edit3, QStringLiteral("chassis_no"));
    ComboBox1 = newFreeTextBox(frame, QStringLiteral("ComboBox1"));
    DateEdit1 = named(new DateEdit(frame), "DateEdit1");
    DateEdit2 = named(new DateEdit(frame), "DateEdit2");
    Label6 = newOperatorName(frame, QStringLiteral("Label6"));

    auto *grid = new QGridLayout(frame);
    auto place = [grid](int row, int col, const char *label, QWidget *w) {
        placeField(grid, row, col, QString::fromUtf8(label), w);
    };
    place(0, 0, "合 同 号：", ComboEdit2);
    place(0, 1, "序列号：", Edit1);
    place(0, 2, "客户代码：", ComboEdit1);
    place(1, 0, "客  户：", Edit2);
    place(1, 1, "底 盘 号：", Edit3);
    place(1, 2, "型  号：", ComboBox1);
    place(2, 0, "入库日期：", DateEdit1);
    place(2, 1, "至：", DateEdit2);
    placeOperator(grid, 2, 2, Label6);

    conditionsLayout()->addWidget(frame);
    statusText = finish({
        gridColumn("", "carout_no", 80, false),
        gridColumn("车系列号", "carserial_no", 110),
        gridColumn("销售合同号", "salecontract_no"),
        gridColumn("客户代码", "customerid"),
        gridColumn("客户名称", "custname", 120),
        gridColumn("出库类型", "carouttype", 80, false),
        gridColumn("销售发票号", "saleinvoice_no"),
        gridColumn("经办人", "salerecorder"),
        gridColumn("业务员", "sales"),
        gridColumn("出库日期", "outstock_date", 130),
        gridColumn("", "carserial_no", 80, false),
        gridColumn("车型", "carmodel"),
        gridColumn("报关单号", "customs_no"),
        gridColumn("合格证号", "qualifier_no"),
        gridColumn("商检号", "commodity_no"),
        gridColumn("vin_no号", "vin_no"),
        gridColumn("底盘号", "chassis_no"),
        gridColumn("发动机号", "engine_no"),
        gridColumn("出厂日期", "factory_date"),
        gridColumn("产地", "producingarea"),
        gridColumn("颜色", "color"),
        gridColumn("存放地", "storearea"),
        gridColumn("出库价格", "carprice"),
        gridColumn("销售价格", "saleprice"),
        gridColumn("赠品费用", "aa"),
        gridColumn("服务费用", "bb"),
        gridColumn("", "carstatus", 80, false),
        gridColumn("备注", "remarks", 120),
        gridColumn("", "isback", 80, false),
    }, {ComboEdit2, Edit1, ComboEdit1, Edit2, Edit3, ComboBox1, DateEdit1, DateEdit2});

    connect(SpeedItem1, &QToolButton::clicked, this, &Tfcaroutsele::SpeedItem1Click);
    connect(SpeedItem3, &QToolButton::clicked, this, &Tfcaroutsele::SpeedItem3Click);
    connect(SpeedItem6, &QToolButton::clicked, this, &Tfcaroutsele::SpeedItem6Click);
    connect(ComboEdit2, &ComboEdit::buttonClick, this, &Tfcaroutsele::ComboEdit2ButtonClick);
    connect(ComboEdit1, &ComboEdit::buttonClick, this, &Tfcaroutsele::ComboEdit1ButtonClick);
    connect(tq_carout, &DataSet::stateChanged, this, &Tfcaroutsele::ds_caroutStateChange);

    FormCreate();
    installEnterMovesOn(this);
}

void Tfcaroutsele::FormCreate()
{
    guard([this] {
        setFreeTextChoices(ComboBox1, Db::firstColumn(QStringLiteral("select model from model")));
    }, this);
    ds_caroutStateChange();
}

QString Tfcaroutsele::listSql()
{
    return QStringLiteral(
               "select caroutstock.carout_no, caroutstock.carserial_no, caroutstock.salecontract_no,"
               " caroutstock.customerid, caroutstock.custname, caroutstock.carouttype,"
               " caroutstock.saleinvoice_no, caroutstock.salerecorder, caroutstock.sales,"
               " caroutstock.outstock_date, caroutstock.saleprice, carinfor.carmodel,"
               " carinfor.customs_no, carinfor.qualifier_no, carinfor.commodity_no, carinfor.vin_no,"
               " carinfor.chassis_no, carinfor.engine_no, carinfor.factory_date,"
               " carinfor.producingarea, carinfor.color, carinfor.storearea, carinfor.carprice,"
               " carinfor.carstatus, carinfor.remarks, carinfor.isback, ")
        + CostSums.arg(QStringLiteral("aa"), QStringLiteral("bb"))
        + QStringLiteral(" from caroutstock, carinfor"
                         " where caroutstock.carserial_no=carinfor.carserial_no and ")
        + CarScope::Sold;
}

QString Tfcaroutsele::printSql()
{
    // Every sale prints, also one whose customer left the register.
    return QStringLiteral(
               "select carout_no, salecontract_no as salecont, caroutstock.custname as cname,"
               " ccustomer.legalpersonid, caroutstock.carserial_no as serial_no, salerecorder, sales,"
               " outstock_date, saleinvoice_no, carinfor.*, ")
        + CostSums.arg(QStringLiteral("present"), QStringLiteral("service"))
        + QStringLiteral(" from caroutstock join carinfor on carinfor.carserial_no=caroutstock.carserial_no"
                         " left join ccustomer on caroutstock.customerid=ccustomer.customerid"
                         " where ")
        + CarScope::Sold;
}

Tfcaroutsele::Filter Tfcaroutsele::filter() const
{
    return {Edit1->text(), ComboEdit1->text(), ComboEdit2->text(), Edit2->text(),
            Edit3->text(), ComboBox1->currentText(), DateEdit1->date(), DateEdit2->date()};
}

QueryConditions Tfcaroutsele::conditions(const Filter &typed)
{
    // Fields named by their table: the printed list joins the customers too.
    QueryConditions c(QueryConditions::Join::And);
    c.prefix(QStringLiteral("caroutstock.carserial_no"), typed.serial)
        .prefix(QStringLiteral("caroutstock.customerid"), typed.customerCode)
        .prefix(QStringLiteral("caroutstock.salecontract_no"), typed.contractNo)
        .prefix(QStringLiteral("caroutstock.custname"), typed.customerName)
        .prefix(QStringLiteral("carinfor.chassis_no"), typed.chassis)
        .prefix(QStringLiteral("carinfor.carmodel"), typed.model)
        .fromDate(QStringLiteral("caroutstock.outstock_date"), typed.from)
        .toDate(QStringLiteral("caroutstock.outstock_date"), typed.to);
    return c;
}

ListStatement Tfcaroutsele::listStatement(const Filter &typed)
{
    return ListStatement::of(listSql(), conditions(typed), {QStringLiteral("carout_no")},
                             QStringLiteral("outstock_date"));
}

// A list that cannot be read stays closed, and so "打印" stays off.
void Tfcaroutsele::SpeedItem1Click() { runQuery(listStatement(filter()), DateEdit1, DateEdit2); }

void Tfcaroutsele::SpeedItem3Click() { clearConditions(); }

void Tfcaroutsele::SpeedItem6Click()
{
    if (!tq_carout->isActive() || !DateEdit::rangePasses(DateEdit1, DateEdit2))
        return;
    guard([this] {
        Tfrep_chlchkmx layout(this);
        auto shown = [](const DateEdit *e) { return e->isEmpty() ? QString() : Fmt::date(e->date()); };
        layout.QRLabel16->setCaption(shown(DateEdit1));
        layout.QRLabel17->setCaption(shown(DateEdit2));
        layout.QRLabel19->setCaption(Label6->text());
        conditions(filter()).setOn(layout.rep_chlchkmx, printSql(), QStringLiteral(" order by carout_no"));
        layout.rep_chlchkmx->open();
        layout.printOrShowError();
    }, this);
}

void Tfcaroutsele::ComboEdit2ButtonClick()
{
    if (!chooseContract)
        return;
    if (const auto picked = chooseContract(this))
        ComboEdit2->setText(picked->contractNo);
}

void Tfcaroutsele::ComboEdit1ButtonClick()
{
    if (const auto picked = pickPartner<Tfselecust>(this)) {
        ComboEdit1->setText(picked->code);
        Edit2->setText(picked->name);
    }
}

void Tfcaroutsele::ds_caroutStateChange() { SpeedItem6->setEnabled(tq_carout->isActive()); }
