#include "Ucarinsele.h"
#include "CarScope.h"
#include "FreeTextBox.h"
#include "GridColumns.h"
#include "ContractPicker.h"
#include "Db.h"
#include "EnterMovesOn.h"
#include "Guard.h"
#include "ModalDialog.h"
#include "OperatorHeader.h"
#include "PartnerPicker.h"
#include "Ucarin.h"
#include "Uselebuycont.h"
#include "Useleprn.h"
#include "Useleprov.h"
#include "rep_chlrkmx.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

Tfcarinsele::Tfcarinsele(QWidget *parent)
    : StockQueryForm({.objectName = QStringLiteral("fcarinsele"),
                      .caption = QStringLiteral("车辆入库库存查询"),
                      .listName = QStringLiteral("tq_carin"),
                      .sourceName = QStringLiteral("ds_carin"),
                      .countText = QStringLiteral("车辆入库查询"),
                      .printable = true,
                      .size = QSize(820, 520)},
                     parent),
      tq_carin(list()), ds_carin(source())
{
    auto named = [this](auto *w, const char *name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };
    ComboEdit1 = named(new ComboEdit(this), "ComboEdit1");
    ComboEdit1->setMaxLength(10); // the longest provider code
    ComboEdit2 = named(new ComboEdit(this), "ComboEdit2");
    Edit1 = named(new QLineEdit(this), "Edit1");
    Edit2 = named(new QLineEdit(this), "Edit2");
    Edit3 = named(new QLineEdit(this), "Edit3");
    fitCodes(ComboEdit2, QStringLiteral("buycontract_no"));
    fitCodes(Edit1, QStringLiteral("carserial_no"));
    fitCodes(Edit3, QStringLiteral("chassis_no"));
    DateEdit1 = named(new DateEdit(this), "DateEdit1");
    DateEdit2 = named(new DateEdit(this), "DateEdit2");
    ComboBox1 = newFreeTextBox(this, QStringLiteral("ComboBox1"));
    RadioGroup1 = named(new QGroupBox(QStringLiteral("查询类别"), this), "RadioGroup1");
    RadioGroup1Item0 = named(new QRadioButton(QStringLiteral("入库"), RadioGroup1), "RadioGroup1Item0");
    RadioGroup1Item1 = named(new QRadioButton(QStringLiteral("库存"), RadioGroup1), "RadioGroup1Item1");
    RadioGroup1Item0->setChecked(true);
    auto *items = new QHBoxLayout(RadioGroup1);
    items->addWidget(RadioGroup1Item0);
    items->addWidget(RadioGroup1Item1);
    Label6 = newOperatorName(this, QStringLiteral("Label6"));

    auto *header = new QHBoxLayout;
    header->addWidget(new QLabel(QStringLiteral("查询条件："), this));
    header->addStretch();
    addOperator(header, Label6);
    auto *fields = new QGridLayout;
    auto place = [fields](int row, int col, const char *label, QWidget *w) {
        placeField(fields, row, col, QString::fromUtf8(label), w);
    };
    place(0, 0, "代码(供)：", ComboEdit1);
    place(0, 1, "合 同 号：", ComboEdit2);
    place(0, 2, "序列号：", Edit1);
    place(1, 0, "供应商：", Edit2);
    place(1, 1, "底 盘 号：", Edit3);
    place(1, 2, "型  号：", ComboBox1);
    place(2, 0, "入库日期：", DateEdit1);
    place(2, 1, "至：", DateEdit2);
    fields->addWidget(RadioGroup1, 2, 4, 1, 2);

    conditionsLayout()->addLayout(header);
    conditionsLayout()->addLayout(fields);
    statusText = finish(
        {gridColumn("入库单号", "carin_no", 100), gridColumn("车系列号", "carserial_no", 110),
         gridColumn("采购合同号", "buycontract_no", 90), gridColumn("供应商代码", "providerid"),
         gridColumn("供应商名称", "provname", 120), gridColumn("入库类型", "carintype"),
         gridColumn("经办人", "buyrecorder"), gridColumn("入库日期", "instock_date", 130),
         gridColumn("入库发票号", "buyinvoice_no"), gridColumn("", "isback", 40, false),
         gridColumn("", "carinfor_serial_no", 40, false), gridColumn("车型", "carmodel"),
         gridColumn("报关单号", "customs_no"), gridColumn("合格证号", "qualifier_no"),
         gridColumn("商检号", "commodity_no"), gridColumn("vin_no号", "vin_no", 110),
         gridColumn("底盘号", "chassis_no", 110), gridColumn("发动机号", "engine_no", 100),
         gridColumn("出厂日期", "factory_date"), gridColumn("产地", "producingarea"),
         gridColumn("颜色", "color", 50), gridColumn("存放地", "storearea"),
         gridColumn("入库价格", "carprice"), gridColumn("采购成本费用", "addcost", 90),
         gridColumn("", "carstatus", 40, false), gridColumn("备注", "remarks", 120)},
        {ComboEdit1, ComboEdit2, Edit1, Edit2, Edit3, DateEdit1, DateEdit2, ComboBox1, RadioGroup1Item0,
         RadioGroup1Item1});

    connect(SpeedItem1, &QToolButton::clicked, this, &Tfcarinsele::SpeedItem1Click);
    connect(SpeedItem3, &QToolButton::clicked, this, &Tfcarinsele::SpeedItem3Click);
    connect(SpeedItem6, &QToolButton::clicked, this, &Tfcarinsele::SpeedItem6Click);
    connect(ComboEdit1, &ComboEdit::buttonClick, this, &Tfcarinsele::ComboEdit1ButtonClick);
    connect(ComboEdit2, &ComboEdit::buttonClick, this, &Tfcarinsele::ComboEdit2ButtonClick);
    connect(tq_carin, &DataSet::stateChanged, this, &Tfcarinsele::ds_carinStateChange);

    FormCreate();
    installEnterMovesOn(this);
}

void Tfcarinsele::FormCreate()
{
    guard([this] {
        setFreeTextChoices(ComboBox1, Db::firstColumn(QStringLiteral("select model from model")));
    }, this);
    ComboEdit1->setFocus();
    ds_carinStateChange();
}

QString Tfcarinsele::listSql(bool inStockNow)
{
    // One name per column: the car's own serial is carinfor_serial_no.
    return QStringLiteral(
               "select carinstock.carin_no, carinstock.carserial_no, buycontract_no, providerid, provname,"
               " carintype, buyrecorder, instock_date, buyinvoice_no, isback,"
               " carinfor.carserial_no as carinfor_serial_no, carmodel, customs_no, qualifier_no,"
               " commodity_no, vin_no, chassis_no, engine_no, factory_date, producingarea, color, storearea,"
               " carprice, (select sum(cost) from addcost where addcost.carserial_no=carinfor.carserial_no)"
               " as addcost, carstatus, remarks"
               " from carinstock, carinfor where carinstock.carserial_no=carinfor.carserial_no")
        + QStringLiteral(" and (")
        + (inStockNow ? CarScope::InStock
                      : QStringLiteral("carstatus in ")
                            + sqlCodes({CarStatus::InStock, CarStatus::Sold, CarStatus::ReturnedByCustomer}))
        + QLatin1Char(')');
}

Tfcarinsele::Filter Tfcarinsele::filter() const
{
    return {Edit1->text(), ComboEdit1->text(), ComboEdit2->text(), Edit2->text(),
            Edit3->text(), ComboBox1->currentText(), DateEdit1->date(), DateEdit2->date()};
}

QueryConditions Tfcarinsele::conditions(const Filter &typed)
{
    // Texts count as typed, blanks too; a date not filled in adds nothing.
    QueryConditions c(QueryConditions::Join::And);
    c.prefix(QStringLiteral("carinstock.carserial_no"), typed.serial)
        .prefix(QStringLiteral("providerid"), typed.providerCode)
        .prefix(QStringLiteral("buycontract_no"), typed.contractNo)
        .prefix(QStringLiteral("provname"), typed.providerName)
        .prefix(QStringLiteral("chassis_no"), typed.chassis)
        .prefix(QStringLiteral("carmodel"), typed.model)
        .fromDate(QStringLiteral("instock_date"), typed.from)
        .toDate(QStringLiteral("instock_date"), typed.to);
    return c;
}

ListStatement Tfcarinsele::listStatement(bool inStockNow, const Filter &typed)
{
    return ListStatement::of(listSql(inStockNow), conditions(typed), {QStringLiteral("carin_no")},
                             QStringLiteral("instock_date"));
}

// A list that cannot be read stays closed, and so "打印" stays off.
void Tfcarinsele::SpeedItem1Click() { runQuery(listStatement(inStockNow(), filter()), DateEdit1, DateEdit2); }

void Tfcarinsele::SpeedItem3Click() { clearConditions(); }

void Tfcarinsele::ds_carinStateChange() { SpeedItem6->setEnabled(tq_carin->isActive()); }

void Tfcarinsele::ComboEdit2ButtonClick()
{
    const auto picked = pickContract<Tfselebuycont>(this, ContractScope::All);
    if (picked)
        ComboEdit2->setText(picked->contractNo);
}

void Tfcarinsele::ComboEdit1ButtonClick()
{
    const auto picked = pickPartner<Tfseleprov>(this);
    if (!picked)
        return;
    ComboEdit1->setText(picked->code);
    Edit2->setText(picked->name);
}

void Tfcarinsele::SpeedItem6Click()
{
    if (!tq_carin->isActive())
        return;
    if (inStockNow()) {
        PrintInStockList();
        return;
    }
    QPointer<Tfseleprn> choice = new Tfseleprn(this);
    const int result = execModal(*choice);
    delete choice.data();
    if (result == Tfseleprn::List) {
        PrintInStockList();
    } else if (result == Tfseleprn::Slip && !tq_carin->isEmpty()) {
        // An empty list has no slip to print.
        const QString number = tq_carin->value(QStringLiteral("carin_no")).toString();
        guard([&] { Tfcarin::PrintInSlip(this, number); }, this);
    }
}

void Tfcarinsele::PrintInStockList()
{
    if (!DateEdit::rangePasses(DateEdit1, DateEdit2))
        return;
    guard([this] {
        Tfrep_chlrkmx layout(this);
        const bool now = inStockNow();
        layout.QRLabel1->setCaption(now ? QStringLiteral("车辆库存明细表") : QStringLiteral("车辆入库明细表"));
        layout.QRLabel16->setCaption(DateEdit1->displayText());
        layout.QRLabel17->setCaption(DateEdit2->displayText());
        layout.QRLabel19->setCaption(Label6->text());
        // The conditions as they stand now, which may differ from the list shown.
        conditions(filter()).setOn(layout.rep_chlrkmx, listSql(now), QStringLiteral(" order by carin_no"));
        layout.rep_chlrkmx->open();
        layout.printOrShowError();
    }, this);
}
