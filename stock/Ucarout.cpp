#include "Ucarout.h"
#include "Partners.h"
#include "CarMoves.h"
#include "Clock.h"
#include "DMsales.h"
#include "EnterMovesOn.h"
#include "Format.h"
#include "Guard.h"
#include "Messages.h"
#include "Money.h"
#include "OperatorHeader.h"
#include "PartnerPicker.h"
#include "SpeedBar.h"
#include "Uoutaddcost.h"
#include "Uselecust.h"
#include "rep_chlchk.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

const QString Serial = QStringLiteral("carserial_no");
const QString CustName = QStringLiteral("custname");
const QString NotInStock = QStringLiteral("该车辆已不在库存中，不能销售!");
// The code of the customer register is at most this long.
constexpr int CustomerCodeLength = 10;

} // namespace

Tfcarout::Tfcarout(QWidget *parent)
    : DocumentForm(parent), tb_carout(new DataSet(this)), tb_carinfor(new DataSet(this)),
      ds_carout(new DataSource(tb_carout, this)), ds_carinfor(new DataSource(tb_carinfor, this))
{
    setObjectName(QStringLiteral("fcarout"));
    setWindowTitle(QStringLiteral("车辆销售"));
    tb_carout->setObjectName(QStringLiteral("tb_carout"));
    tb_carout->setTableName(QStringLiteral("caroutstock"));
    tb_carinfor->setObjectName(QStringLiteral("tb_carinfor"));
    tb_carinfor->setTableName(QStringLiteral("carinfor"));
    tb_carinfor->setReadOnly(true);
    ds_carout->setObjectName(QStringLiteral("ds_carout"));
    ds_carinfor->setObjectName(QStringLiteral("ds_carinfor"));
    setDocument(new DocumentEntry(tb_carout,
                                  {QStringLiteral("ccaroutpre"), QStringLiteral("ccarout_s"),
                                   QStringLiteral("cs"), QStringLiteral("caroutstock"),
                                   QStringLiteral("carout_no")},
                                  this));
    // Read again inside the save: another window may have sold or returned it.
    document->beforeWrite = [this] {
        if (carInStock(tb_carout->value(Serial)))
            return true;
        Msg::warning(NotInStock, this);
        return false;
    };
    // The record is stored at once with the moment of the add as its date,
    // which the date field then shows and the save keeps unless changed.
    document->storedWithNumber = [] {
        return QVariantMap{{QStringLiteral("outstock_date"), Fmt::sqlDateTime(Clock::now())}};
    };

    auto *speedBar = new SpeedBar(this);
    SpeedItem1 = speedBar->addItem(QStringLiteral("SpeedItem1"), QStringLiteral("增加"),
                                   QStringLiteral("新增"));
    SpeedItem5 = speedBar->addItem(QStringLiteral("SpeedItem5"), QStringLiteral("入库"),
                                   QStringLiteral("提交"));
    SpeedItem3 = speedBar->addItem(QStringLiteral("SpeedItem3"), QStringLiteral("取消"));
    SpeedItem2 = speedBar->addItem(QStringLiteral("SpeedItem2"), QStringLiteral("附加费"));
    SpeedItem7 = speedBar->addItem(QStringLiteral("SpeedItem7"), QStringLiteral("退出"));

    auto named = [](auto *w, const char *name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };
    auto bound = [&](DataSource *source, const char *name, const char *field, bool editable) {
        auto *e = named(new DBEdit(this), name);
        e->setDataSource(source, QLatin1String(field));
        if (!editable) {
            e->setReadOnly(true);
            e->setFocusPolicy(Qt::NoFocus);
        }
        return e;
    };
    DBText1 = named(new DBText(this), "DBText1");
    DBText1->setDataSource(ds_carout, QStringLiteral("carout_no"));
    DBText1->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    Label10 = newOperatorName(this, QStringLiteral("Label10"));
    ComboEdit2 = named(new ComboEdit(this), "ComboEdit2");
    fitCodes(ComboEdit2, QStringLiteral("salecontract_no"));
    DBEdit1 = bound(ds_carout, "DBEdit1", "carserial_no", false);
    ComboEdit1 = named(new ComboEdit(this), "ComboEdit1");
    ComboEdit1->setMaxLength(CustomerCodeLength);
    DBEdit10 = bound(ds_carout, "DBEdit10", "saleinvoice_no", true);
    DBEdit2 = bound(ds_carout, "DBEdit2", "custname", true);
    DBEdit4 = bound(ds_carinfor, "DBEdit4", "carmodel", false);
    DBEdit19 = bound(ds_carinfor, "DBEdit19", "color", false);
    DBEdit18 = bound(ds_carinfor, "DBEdit18", "producingarea", false);
    DBEdit14 = bound(ds_carinfor, "DBEdit14", "vin_no", false);
    DBEdit15 = bound(ds_carinfor, "DBEdit15", "chassis_no", false);
    DBEdit16 = bound(ds_carinfor, "DBEdit16", "engine_no", false);
    DBEdit12 = bound(ds_carinfor, "DBEdit12", "qualifier_no", false);
    DBEdit11 = bound(ds_carinfor, "DBEdit11", "customs_no", false);
    DBEdit13 = bound(ds_carinfor, "DBEdit13", "commodity_no", false);
    DBEdit6 = bound(ds_carinfor, "DBEdit6", "factory_date", false);
    DBEdit21 = bound(ds_carinfor, "DBEdit21", "storearea", false);
    DBEdit20 = bound(ds_carinfor, "DBEdit20", "carprice", false);
    DBEdit3 = bound(ds_carout, "DBEdit3", "saleprice", true);
    DBEdit3->setAmount(QStringLiteral("销售价格"));
    DBEdit5 = bound(ds_carout, "DBEdit5", "sales", true);
    DBDateEdit2 = named(new DBDateEdit(this), "DBDateEdit2");
    DBDateEdit2->setDataSource(ds_carout, QStringLiteral("outstock_date"));
    DBDateEdit2->setDefaultToNow();
    DBEdit8 = bound(ds_carout, "DBEdit8", "salerecorder", true);

    const auto place = [](QGridLayout *g, int row, int col, const char *label, QWidget *w) {
        placeField(g, row, col, QString::fromUtf8(label), w);
    };
    QHBoxLayout *header = documentHeader(QStringLiteral("出库流水号："), DBText1, Label10);

    auto *sale = new QGridLayout;
    place(sale, 0, 0, "合 同 号：", ComboEdit2);
    place(sale, 0, 1, "序列号：", DBEdit1);
    place(sale, 1, 0, "客户代码：", ComboEdit1);
    place(sale, 1, 1, "发票号：", DBEdit10);
    place(sale, 2, 0, "客  户：", DBEdit2);

    auto *car = new QGroupBox(QStringLiteral("车辆信息："), this);
    auto *carGrid = new QGridLayout(car);
    place(carGrid, 0, 0, "型    号：", DBEdit4);
    place(carGrid, 0, 1, "颜    色：", DBEdit19);
    place(carGrid, 0, 2, "产    地：", DBEdit18);
    place(carGrid, 1, 0, "VIN_NO号：", DBEdit14);
    place(carGrid, 1, 1, "底 盘 号：", DBEdit15);
    place(carGrid, 1, 2, "发动机号：", DBEdit16);
    place(carGrid, 2, 0, "合格证号：", DBEdit12);
    place(carGrid, 2, 1, "报关单号：", DBEdit11);
    place(carGrid, 2, 2, "商检单号：", DBEdit13);
    place(carGrid, 3, 0, "出厂日期：", DBEdit6);
    place(carGrid, 3, 1, "存 放 地：", DBEdit21);
    place(carGrid, 3, 2, "出库价格：", DBEdit20);

    auto *price = new QGridLayout;
    place(price, 0, 0, "销售价格：", DBEdit3);
    place(price, 0, 1, "业务员：", DBEdit5);
    place(price, 1, 0, "出库日期：", DBDateEdit2);
    place(price, 1, 1, "经办人：", DBEdit8);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(speedBar);
    layout->addLayout(header);
    layout->addLayout(sale);
    layout->addWidget(car);
    layout->addLayout(price);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QWidget *order[] = {ComboEdit2, ComboEdit1, DBEdit10, DBEdit2, DBEdit3, DBEdit5, DBDateEdit2, DBEdit8};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(SpeedItem1, &QToolButton::clicked, this, &Tfcarout::SpeedItem1Click);
    connect(SpeedItem5, &QToolButton::clicked, this, &Tfcarout::SpeedItem5Click);
    connect(SpeedItem3, &QToolButton::clicked, this, &Tfcarout::SpeedItem3Click);
    connect(SpeedItem2, &QToolButton::clicked, this, &Tfcarout::SpeedItem2Click);
    connect(SpeedItem7, &QToolButton::clicked, this, &QWidget::close);
    connect(ComboEdit2, &ComboEdit::buttonClick, this, &Tfcarout::ComboEdit2ButtonClick);
    connect(ComboEdit1, &ComboEdit::buttonClick, this, &Tfcarout::ComboEdit1ButtonClick);
    connect(ComboEdit2, &ComboEdit::exited, this, &Tfcarout::ComboEdit2Exit);
    connect(ComboEdit1, &ComboEdit::exited, this, &Tfcarout::ComboEdit1Exit);

    FormCreate();
    installEnterMovesOn(this);
}

void Tfcarout::FormCreate()
{
    SetSaleEditing(false);
}

void Tfcarout::SetSaleEditing(bool on)
{
    SpeedItem1->setEnabled(!on);
    SpeedItem7->setEnabled(!on);
    SpeedItem3->setEnabled(on);
    SpeedItem5->setEnabled(on);
    // Closed before the code fields are disabled: disabling takes their
    // focus, which must not look a code up on a finished sale.
    if (!on) {
        document->close();
        tb_carinfor->close();
        ComboEdit1->clear();
        ComboEdit2->clear();
    }
    ComboEdit2->setEnabled(on);
    ComboEdit1->setEnabled(on);
}

// ---------------------------------------------------------------- adding

void Tfcarout::SpeedItem1Click()
{
    if (document->isOpen() || !chooseCar)
        return;
    const std::optional<QString> serial = chooseCar(this);
    if (!serial)
        return;
    guard([&] {
        tb_carinfor->close();
        tb_carinfor->clearFilter();
        tb_carinfor->setFilter(Serial, *serial);
        tb_carinfor->open();
        if (!document->add()) {
            tb_carinfor->close();
            return;
        }
        tb_carout->setValue(Serial, *serial);
        SetSaleEditing(true);
        ComboEdit2->setFocus();
    }, this);
}

// ---------------------------------------------------------------- contract and customer

void Tfcarout::ComboEdit2ButtonClick()
{
    if (!document->isOpen() || !chooseContract)
        return;
    const std::optional<PickedContract> picked = chooseContract(this);
    if (!picked)
        return;
    ComboEdit2->setText(picked->contractNo);
    ComboEdit1->setText(picked->partnerCode);
    guard([&] { tb_carout->setValue(CustName, FieldLink::textValue(picked->partnerName)); }, this);
}

void Tfcarout::ComboEdit2Exit()
{
    if (m_lookingUp || !document->isOpen() || ComboEdit2->text().trimmed().isEmpty())
        return;
    m_lookingUp = true; // the message box takes the focus too
    guard([&] {
        QVariant customer, name;
        if (!frmDMcarsales->QueryFirstRow(
                QStringLiteral("select customerid,custname from csalecontract where contract_no=:aa"),
                {&customer, &name}, {{QStringLiteral(":aa"), ComboEdit2->text()}})) {
            refuse(QStringLiteral("不存在此销售合同号!"), ComboEdit2);
            return;
        }
        ComboEdit1->setText(customer.toString());
        tb_carout->setValue(CustName, name);
    }, this);
    m_lookingUp = false;
}

void Tfcarout::ComboEdit1ButtonClick()
{
    if (!document->isOpen())
        return;
    const auto picked = pickPartner<Tfselecust>(this);
    if (!picked)
        return;
    ComboEdit1->setText(picked->code);
    guard([&] { tb_carout->setValue(CustName, FieldLink::textValue(picked->name)); }, this);
}

void Tfcarout::ComboEdit1Exit()
{
    if (m_lookingUp || !document->isOpen())
        return;
    m_lookingUp = true;
    guard([&] {
        if (ComboEdit1->text().trimmed().isEmpty()) {
            tb_carout->setValue(CustName, QVariant());
            return;
        }
        const auto name = partnerName(Partners::customers(), ComboEdit1->text(), Blanks::Kept);
        if (!name) {
            refuse(QStringLiteral("输入的客户代码不存在!"), ComboEdit1);
            return;
        }
        tb_carout->setValue(CustName, FieldLink::textValue(*name));
    }, this);
    m_lookingUp = false;
}

// ---------------------------------------------------------------- saving

SaveResult Tfcarout::SaveSale()
{
    const QString customer = ComboEdit1->text().trimmed();
    if (customer.isEmpty())
        return refuse(QStringLiteral("请输入客户代码!"), ComboEdit1);
    if (DBEdit3->text().trimmed().isEmpty())
        return refuse(QStringLiteral("请输入销售价格!"), DBEdit3);
    const QString refusal = amountRefusal(QStringLiteral("销售价格"), DBEdit3->text());
    if (!refusal.isEmpty())
        return refuse(refusal, DBEdit3);
    if (!ComboEdit2->text().trimmed().isEmpty()) {
        if (!signedBy(Partners::customers(), ComboEdit2->text(), customer, SignerMatch::BothTrimmed))
            return refuse(QStringLiteral("所选合同并非是该客户签约!"), ComboEdit1);
    }
    tb_carout->setValue(QStringLiteral("salecontract_no"), FieldLink::textValue(ComboEdit2->text()));
    tb_carout->setValue(QStringLiteral("customerid"), FieldLink::textValue(ComboEdit1->text()));
    // The price as an amount, in the record and the charge alike.
    tb_carout->setValue(QStringLiteral("saleprice"), Money::parse(DBEdit3->text())->toVariant());
    return document->save([this] {
        if (!bookSale(document->number()))
            throw AppError(NotInStock);
    });
}

void Tfcarout::SpeedItem5Click()
{
    guard([this] {
        if (!document->isOpen() || SaveSale() != SaveResult::Stored)
            return;
        const QString number = document->number();
        const bool print = Msg::question(QStringLiteral("是否打印出库单?"), this);
        SetSaleEditing(false);
        if (print)
            PrintOutSlip(number);
    }, this);
}

void Tfcarout::PrintOutSlip(const QString &number)
{
    Tfrep_chlchk layout(this);
    layout.QRLabel17->setCaption(Label10->text());
    DataSet *slip = layout.rep_chlchk;
    slip->close();
    // The sale prints also when its customer left the register.
    slip->setSql(QStringLiteral(
        "select carinfor.*, caroutstock.carout_no, caroutstock.salecontract_no,"
        " caroutstock.customerid, caroutstock.custname, caroutstock.carouttype,"
        " caroutstock.salerecorder, caroutstock.sales, caroutstock.outstock_date,"
        " caroutstock.saleinvoice_no, caroutstock.saleprice, ccustomer.legalpersonid"
        " from caroutstock join carinfor on carinfor.carserial_no=caroutstock.carserial_no"
        " left join ccustomer on caroutstock.customerid=ccustomer.customerid"
        " where carout_no=:aa"));
    slip->setParam(QStringLiteral(":aa"), number);
    slip->open();
    layout.printOrShowError();
}

// ---------------------------------------------------------------- cancelling

void Tfcarout::CancelNewSale() { document->discard(); }

void Tfcarout::SpeedItem3Click()
{
    guard([this] {
        CancelNewSale();
        SetSaleEditing(false);
    }, this);
}

void Tfcarout::SpeedItem2Click()
{
    guard([this] {
        foutaddcost = new Tfoutaddcost;
        showAlongside(foutaddcost);
    }, this);
}
