#include "Ucaroutsele.h"
#include "FreeTextBox.h"
#include "Columns.h"
#include "DMsales.h"
#include "Db.h"
#include "EnterMovesOn.h"
#include "Format.h"
#include "Guard.h"
#include "PartnerPicker.h"
#include "SpeedBar.h"
#include "Uselecar.h"
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
    : ChildForm(parent), tq_carout(new DataSet(this)), ds_carout(new DataSource(tq_carout, this))
{
    setObjectName(QStringLiteral("fcaroutsele"));
    setWindowTitle(QStringLiteral("车辆销售查询"));
    tq_carout->setObjectName(QStringLiteral("tq_carout"));
    // Years of sales: read as the grid scrolls, counted by the database.
    tq_carout->setPageSize(PageSize);
    ds_carout->setObjectName(QStringLiteral("ds_carout"));

    auto *speedBar = new SpeedBar(this);
    SpeedItem1 = speedBar->addItem(QStringLiteral("SpeedItem1"), QStringLiteral("查询"));
    SpeedItem3 = speedBar->addItem(QStringLiteral("SpeedItem3"), QStringLiteral("清除条件"));
    SpeedItem6 = speedBar->addItem(QStringLiteral("SpeedItem6"), QStringLiteral("打印"));
    SpeedItem7 = speedBar->addItem(QStringLiteral("SpeedItem7"), QStringLiteral("退出"));

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
    fitCodes(Edit1, QStringLiteral("carserial_no"));
    fitCodes(Edit3, QStringLiteral("chassis_no"));
    ComboBox1 = newFreeTextBox(frame, QStringLiteral("ComboBox1"));
    DateEdit1 = named(new DateEdit(frame), "DateEdit1");
    DateEdit2 = named(new DateEdit(frame), "DateEdit2");
    Label6 = named(new QLabel(frame), "Label6");

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
    place(2, 2, "操作员：", Label6);

    RxDBGrid1 = named(new DBGrid(this), "RxDBGrid1");
    RxDBGrid1->setColumns({
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
    });
    RxDBGrid1->setDataSource(ds_carout);

    StatusBar1 = named(new QStatusBar(this), "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    statusText = named(new QLabel(QStringLiteral("车辆销售查询"), StatusBar1), "statusText");
    StatusBar1->addWidget(statusText);
    // The count of the same rows, by the database.
    showCountOn(statusText, tq_carout, QStringLiteral("共:%1 条记录"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(speedBar);
    layout->addWidget(frame);
    layout->addWidget(RxDBGrid1, 1);
    layout->addWidget(StatusBar1);
    resize(780, 520);

    QWidget *order[] = {ComboEdit2, Edit1, ComboEdit1, Edit2, Edit3, ComboBox1, DateEdit1,
                        DateEdit2, RxDBGrid1};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(SpeedItem1, &QToolButton::clicked, this, &Tfcaroutsele::SpeedItem1Click);
    connect(SpeedItem3, &QToolButton::clicked, this, &Tfcaroutsele::SpeedItem3Click);
    connect(SpeedItem6, &QToolButton::clicked, this, &Tfcaroutsele::SpeedItem6Click);
    connect(SpeedItem7, &QToolButton::clicked, this, &QWidget::close);
    connect(ComboEdit2, &ComboEdit::buttonClick, this, &Tfcaroutsele::ComboEdit2ButtonClick);
    connect(ComboEdit1, &ComboEdit::buttonClick, this, &Tfcaroutsele::ComboEdit1ButtonClick);
    connect(tq_carout, &DataSet::stateChanged, this, &Tfcaroutsele::ds_caroutStateChange);

    FormCreate();
    installEnterMovesOn(this);
}

void Tfcaroutsele::FormCreate()
{
    if (frmDMcarsales)
        Label6->setText(frmDMcarsales->operatorName());
    guard([this] {
        QStringList models;
        QSqlQuery q = Db::exec(QStringLiteral("select model from model"));
        while (q.next())
            models << q.value(0).toString();
        setFreeTextChoices(ComboBox1, models);
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

void Tfcaroutsele::SpeedItem1Click()
{
    if (!DateEdit::rangePasses(DateEdit1, DateEdit2))
        return;
    listStatement(filter()).setOn(tq_carout);
    // A list that cannot be read stays closed, and so "打印" stays off.
    guard([this] {
        tq_carout->open();
    }, this);
}

void Tfcaroutsele::SpeedItem3Click()
{
    for (QLineEdit *e : {static_cast<QLineEdit *>(ComboEdit2), Edit1,
                         static_cast<QLineEdit *>(ComboEdit1), Edit2, Edit3})
        e->clear();
    clearFreeText(ComboBox1);
    DateEdit1->clearDate();
    DateEdit2->clearDate();
}

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
        try {
            layout.Print();
        } catch (const AppError &) {
            // A printer that fails changes nothing here.
        }
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
