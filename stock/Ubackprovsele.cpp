#include "Ubackprovsele.h"
#include "Codes.h"
#include "Columns.h"
#include "DMsales.h"
#include "EnterMovesOn.h"
#include "Guard.h"
#include "QueryConditions.h"
#include "SpeedBar.h"
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
    : ChildForm(parent), tq_backprov(new DataSet(this)),
      ds_backprov(new DataSource(tq_backprov, this))
{
    setObjectName(QStringLiteral("fbackprovsele"));
    setWindowTitle(QStringLiteral("向供应商退货查询"));
    tq_backprov->setObjectName(QStringLiteral("tq_backprov"));
    // Years of returns: the list is read as it is looked at.
    tq_backprov->setPageSize(PageSize);
    ds_backprov->setObjectName(QStringLiteral("ds_backprov"));

    auto *speedBar = new SpeedBar(this);
    SpeedItem1 = speedBar->addItem(QStringLiteral("SpeedItem1"), QStringLiteral("查询"));
    SpeedItem3 = speedBar->addItem(QStringLiteral("SpeedItem3"), QStringLiteral("清除条件"));
    SpeedItem7 = speedBar->addItem(QStringLiteral("SpeedItem7"), QStringLiteral("退出"));

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
    Label8 = named(new QLabel(this), "Label8");

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
    operatorRow->addWidget(new QLabel(QStringLiteral("操作员："), this), 0, Qt::AlignBottom);
    operatorRow->addWidget(Label8, 0, Qt::AlignBottom);

    RxDBGrid1 = named(new DBGrid(this), "RxDBGrid1");
    RxDBGrid1->setColumns({gridColumn("入库流水号", "carin_no", 80, false),
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
                           gridColumn("状态", "carstatus", 40, false)});
    RxDBGrid1->setDataSource(ds_backprov);
    RxDBGrid1->setReadOnly(true);

    StatusBar1 = named(new QStatusBar(this), "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    countLabel = named(new QLabel(StatusBar1), "countLabel");
    StatusBar1->addWidget(countLabel, 1);
    // The count of the same rows, by the database.
    showCountOn(countLabel, tq_backprov, QStringLiteral("共:%1 条记录"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(speedBar);
    layout->addLayout(operatorRow);
    layout->addWidget(RxDBGrid1, 1);
    layout->addWidget(StatusBar1);
    resize(780, 500);

    QWidget *order[] = {Edit1, Edit2, DateEdit1, ComboEdit1, Edit3, DateEdit2, RxDBGrid1};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(SpeedItem1, &QToolButton::clicked, this, &Tfbackprovsele::SpeedItem1Click);
    connect(SpeedItem3, &QToolButton::clicked, this, &Tfbackprovsele::SpeedItem3Click);
    connect(SpeedItem7, &QToolButton::clicked, this, &QWidget::close);
    connect(ComboEdit1, &ComboEdit::buttonClick, this, &Tfbackprovsele::ComboEdit1ButtonClick);

    // FormCreate
    Label8->setText(frmDMcarsales ? frmDMcarsales->operatorName() : QString());
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

void Tfbackprovsele::SpeedItem1Click()
{
    if (!DateEdit::rangePasses(DateEdit1, DateEdit2))
        return;
    guard([this] {
        listStatement(filter()).setOn(tq_backprov);
        tq_backprov->open();
    }, this);
}

void Tfbackprovsele::SpeedItem3Click()
{
    for (QLineEdit *e : {Edit1, Edit2, static_cast<QLineEdit *>(ComboEdit1), Edit3})
        e->clear();
    DateEdit1->clearDate();
    DateEdit2->clearDate();
}

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
