#include "Ucarin.h"
#include "Partners.h"
#include "CarMoves.h"
#include "Codes.h"
#include "DMsales.h"
#include "Db.h"
#include "EnterMovesOn.h"
#include "Guard.h"
#include "Messages.h"
#include "OperatorHeader.h"
#include "PartnerPicker.h"
#include "Uselebuycont.h"
#include "Useleprov.h"
#include "rep_chlrk.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

const QString Serial = QStringLiteral("carserial_no");
const QString ProvName = QStringLiteral("provname");

// The code of the provider register is at most this long.
constexpr int ProviderCodeLength = 10;

} // namespace

Tfcarin::Tfcarin(QWidget *parent)
    : DocumentForm(parent), tb_carin(new DataSet(this)), ds_carin(new DataSource(tb_carin, this)),
      tb_carinfor(new DataSet(this)), ds_carinfor(new DataSource(tb_carinfor, this))
{
    setObjectName(QStringLiteral("fcarin"));
    setWindowTitle(QStringLiteral("车辆入库"));
    tb_carin->setObjectName(QStringLiteral("tb_carin"));
    tb_carin->setTableName(QStringLiteral("carinstock"));
    ds_carin->setObjectName(QStringLiteral("ds_carin"));
    tb_carinfor->setObjectName(QStringLiteral("tb_carinfor"));
    tb_carinfor->setTableName(QStringLiteral("carinfor"));
    // The new car waits in memory until the save writes it with the rest.
    tb_carinfor->setCachedUpdates(true);
    ds_carinfor->setObjectName(QStringLiteral("ds_carinfor"));
    setDocument(new DocumentEntry(tb_carin,
                                  {QStringLiteral("ccarinpre"), QStringLiteral("ccarin_s"), QStringLiteral("rs"),
                                   QStringLiteral("carinstock"), QStringLiteral("carin_no")},
                                  this));

    auto *speedBar = new SpeedBar(this);
    SpeedItem1 = speedBar->addItem(QStringLiteral("SpeedItem1"), QStringLiteral("增加"));
    SpeedItem5 = speedBar->addItem(QStringLiteral("SpeedItem5"), QStringLiteral("入库"));
    SpeedItem3 = speedBar->addItem(QStringLiteral("SpeedItem3"), QStringLiteral("取消"));
    SpeedItem2 = speedBar->addItem(QStringLiteral("SpeedItem2"), QStringLiteral("附加费"));
    SpeedItem7 = speedBar->addItem(QStringLiteral("SpeedItem7"), QStringLiteral("退出"));

    auto bound = [this](auto *control, const char *name, DataSource *source, const char *field) {
        control->setObjectName(QLatin1String(name));
        control->setDataSource(source, QLatin1String(field));
        return control;
    };
    DBText1 = bound(new DBText(this), "DBText1", ds_carin, "carin_no");
    DBText1->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    Label10 = newOperatorName(this, QStringLiteral("Label10"));
    ComboEdit2 = new ComboEdit(this);
    ComboEdit2->setObjectName(QStringLiteral("ComboEdit2"));
    fitCodes(ComboEdit2, QStringLiteral("buycontract_no"));
    DBEdit1 = bound(new DBEdit(this), "DBEdit1", ds_carin, "carserial_no");
    ComboEdit1 = new ComboEdit(this);
    ComboEdit1->setObjectName(QStringLiteral("ComboEdit1"));
    ComboEdit1->setMaxLength(ProviderCodeLength);
    DBEdit2 = bound(new DBEdit(this), "DBEdit2", ds_carin, "provname");
    DBEdit2->setEnabled(false);
    DBEdit2->setFocusPolicy(Qt::NoFocus);
    DBEdit10 = bound(new DBEdit(this), "DBEdit10", ds_carin, "buyinvoice_no");
    DBComboBox1 = bound(new DBComboBox(this, false), "DBComboBox1", ds_carinfor, "carmodel");
    DBEdit19 = bound(new DBEdit(this), "DBEdit19", ds_carinfor, "color");
    DBEdit18 = bound(new DBEdit(this), "DBEdit18", ds_carinfor, "producingarea");
    DBEdit14 = bound(new DBEdit(this), "DBEdit14", ds_carinfor, "vin_no");
    DBEdit15 = bound(new DBEdit(this), "DBEdit15", ds_carinfor, "chassis_no");
    DBEdit16 = bound(new DBEdit(this), "DBEdit16", ds_carinfor, "engine_no");
    DBEdit12 = bound(new DBEdit(this), "DBEdit12", ds_carinfor, "qualifier_no");
    DBEdit11 = bound(new DBEdit(this), "DBEdit11", ds_carinfor, "customs_no");
    DBEdit13 = bound(new DBEdit(this), "DBEdit13", ds_carinfor, "commodity_no");
    DBDateEdit1 = bound(new DBDateEdit(this), "DBDateEdit1", ds_carinfor, "factory_date");
    DBEdit21 = bound(new DBEdit(this), "DBEdit21", ds_carinfor, "storearea");
    DBEdit20 = bound(new DBEdit(this), "DBEdit20", ds_carinfor, "carprice");
    DBEdit20->setAmount(QStringLiteral("入库价格"));
    DBDateEdit2 = bound(new DBDateEdit(this), "DBDateEdit2", ds_carin, "instock_date");
    DBDateEdit2->setDefaultToNow();
    DBEdit8 = bound(new DBEdit(this), "DBEdit8", ds_carin, "buyrecorder");

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    const auto place = [](QGridLayout *g, int row, int col, const char *label, QWidget *w) {
        placeField(g, row, col, QString::fromUtf8(label), w);
    };
    QHBoxLayout *header = documentHeader(QStringLiteral("入库流水号："), DBText1, Label10);

    auto *top = new QGridLayout;
    place(top, 0, 0, "合 同 号：", ComboEdit2);
    place(top, 0, 1, "序列号：", DBEdit1);
    place(top, 1, 0, "代码(供)：", ComboEdit1);
    place(top, 1, 1, "供 应 商：", DBEdit2);
    place(top, 2, 0, "发票号：", DBEdit10);

    auto *group = new QGroupBox(QStringLiteral("车辆信息："), this);
    auto *car = new QGridLayout(group);
    place(car, 0, 0, "型    号：", DBComboBox1);
    place(car, 0, 1, "颜    色：", DBEdit19);
    place(car, 1, 0, "产    地：", DBEdit18);
    place(car, 1, 1, "VIN_NO号：", DBEdit14);
    place(car, 2, 0, "底 盘 号：", DBEdit15);
    place(car, 2, 1, "发动机号：", DBEdit16);
    place(car, 3, 0, "合格证号：", DBEdit12);
    place(car, 3, 1, "报关单号：", DBEdit11);
    place(car, 4, 0, "商检单号：", DBEdit13);
    place(car, 4, 1, "出厂日期：", DBDateEdit1);
    place(car, 5, 0, "存 放 地：", DBEdit21);
    place(car, 5, 1, "入库价格：", DBEdit20);

    auto *bottom = new QGridLayout;
    place(bottom, 0, 0, "入库日期：", DBDateEdit2);
    place(bottom, 0, 1, "经 办 人：", DBEdit8);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(speedBar);
    layout->addLayout(header);
    layout->addLayout(top);
    layout->addWidget(group);
    layout->addLayout(bottom);
    layout->addWidget(StatusBar1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QWidget *order[] = {ComboEdit2, DBEdit1, ComboEdit1, DBEdit10, DBComboBox1, DBEdit19, DBEdit18,
                        DBEdit14, DBEdit15, DBEdit16, DBEdit12, DBEdit11, DBEdit13, DBDateEdit1,
                        DBEdit21, DBEdit20, DBDateEdit2, DBEdit8};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(SpeedItem1, &QToolButton::clicked, this, &Tfcarin::SpeedItem1Click);
    connect(SpeedItem5, &QToolButton::clicked, this, &Tfcarin::SpeedItem5Click);
    connect(SpeedItem3, &QToolButton::clicked, this, &Tfcarin::SpeedItem3Click);
    connect(SpeedItem2, &QToolButton::clicked, this, &Tfcarin::directCostsRequested);
    connect(SpeedItem7, &QToolButton::clicked, this, &QWidget::close);
    connect(ComboEdit2, &ComboEdit::buttonClick, this, &Tfcarin::ComboEdit2ButtonClick);
    connect(ComboEdit1, &ComboEdit::buttonClick, this, &Tfcarin::ComboEdit1ButtonClick);
    connect(ComboEdit2, &ComboEdit::exited, this, &Tfcarin::ComboEdit2Exit);
    connect(ComboEdit1, &ComboEdit::exited, this, &Tfcarin::ComboEdit1Exit);
    DBComboBox1->installEventFilter(this);

    FormCreate();
    installEnterMovesOn(this);
}

void Tfcarin::FormCreate()
{
    SetInStockEditing(false);
}

void Tfcarin::SetInStockEditing(bool on)
{
    SpeedItem1->setEnabled(!on);
    SpeedItem7->setEnabled(!on);
    SpeedItem5->setEnabled(on);
    SpeedItem3->setEnabled(on);
    SpeedItem2->setEnabled(true);
    // The rows close before the fields are disabled: a field losing its focus
    // must not look its code up on a finished row.
    if (!on) {
        tb_carinfor->close();
        document->close();
        ComboEdit1->clear();
        ComboEdit2->clear();
        DBComboBox1->setItems({});
    }
    const QList<QWidget *> fields = findChildren<QWidget *>();
    for (QWidget *w : fields)
        if (dynamic_cast<BoundControl *>(w) || qobject_cast<ComboEdit *>(w))
            w->setEnabled(on && w != DBEdit2);
}

bool Tfcarin::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && watched == DBComboBox1) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            DBComboBox1Enter();
    }
    return DocumentForm::eventFilter(watched, event);
}

// ---------------------------------------------------------------- add, cancel

void Tfcarin::SpeedItem1Click()
{
    guard([this] {
        if (!document->add())
            return;
        // The new car row: stored only by the save, with the in-stock row.
        tb_carinfor->close();
        tb_carinfor->clearFilter();
        tb_carinfor->setFilter(Serial, QVariant()); // no stored car: "= null" matches none
        tb_carinfor->open();
        tb_carinfor->append();
        SetInStockEditing(true);
        ComboEdit2->setFocus();
    }, this);
}

void Tfcarin::CancelNewInStock()
{
    tb_carinfor->close(); // nothing of the car was stored
    document->discard();
}

void Tfcarin::SpeedItem3Click()
{
    guard([this] {
        CancelNewInStock();
        SetInStockEditing(false);
    }, this);
}

// ---------------------------------------------------------------- lookups

void Tfcarin::loadModels(const QString &sql, const QString &code)
{
    DBComboBox1->setItems(Db::firstColumn(sql, {{QStringLiteral(":aa"), code}}));
}

void Tfcarin::ComboEdit2ButtonClick()
{
    if (!document->isOpen())
        return;
    const auto picked = pickContract<Tfselebuycont>(this, ContractScope::Started);
    if (!picked)
        return;
    ComboEdit2->setText(picked->contractNo);
    ComboEdit1->setText(picked->partnerCode);
    guard([&] { tb_carin->setValue(ProvName, FieldLink::textValue(picked->partnerName)); }, this);
    ComboEdit2Exit(); // the contract's models
}

void Tfcarin::ComboEdit2Exit()
{
    const QString contract = ComboEdit2->text().trimmed();
    if (m_lookingUp || !tb_carin->isActive() || contract.isEmpty())
        return;
    m_lookingUp = true; // the message box takes the focus too
    guard([&] {
        QVariant provider, name;
        if (!frmDMcarsales->QueryFirstRow(
                QStringLiteral("select providerid,provname from cbuycontract where contract_no=:aa"),
                {&provider, &name}, {{QStringLiteral(":aa"), contract}})) {
            refuse(QStringLiteral("不存在此采购合同号!"), ComboEdit2);
            return;
        }
        ComboEdit1->setText(provider.toString());
        tb_carin->setValue(ProvName, name);
        loadModels(QStringLiteral("select carmodel from cbuycontdetail,cbuycontract"
                                  " where contract_no=:aa and cbuycontract.buycont_no=cbuycontdetail.buycont_no"),
                   contract);
    }, this);
    m_lookingUp = false;
}

void Tfcarin::ComboEdit1ButtonClick()
{
    if (!document->isOpen())
        return;
    const auto picked = pickPartner<Tfseleprov>(this);
    if (!picked)
        return;
    ComboEdit1->setText(picked->code);
    guard([&] { tb_carin->setValue(ProvName, FieldLink::textValue(picked->name)); }, this);
    ComboEdit1Exit(); // the provider's models
}

void Tfcarin::ComboEdit1Exit()
{
    if (m_lookingUp || !tb_carin->isActive())
        return;
    const QString code = ComboEdit1->text().trimmed();
    m_lookingUp = true;
    guard([&] {
        if (code.isEmpty()) {
            tb_carin->setValue(ProvName, QVariant());
            return;
        }
        const auto name = partnerName(Partners::providers(), code, Blanks::Trimmed);
        if (!name) {
            refuse(QStringLiteral("输入的供应商代码不存在!"), ComboEdit1);
            return;
        }
        tb_carin->setValue(ProvName, FieldLink::textValue(*name));
        loadModels(QStringLiteral("select carmodel from cprovcarmodel where providerid=:aa"), code);
    }, this);
    m_lookingUp = false;
}

void Tfcarin::DBComboBox1Enter()
{
    if (m_lookingUp || !tb_carin->isActive() || !ComboEdit1->text().trimmed().isEmpty())
        return;
    m_lookingUp = true;
    refuse(QStringLiteral("请首先选择供应商!"), ComboEdit1);
    m_lookingUp = false;
}

// ---------------------------------------------------------------- save

SaveResult Tfcarin::SaveInStock()
{
    if (!document->isOpen())
        return SaveResult::Refused;
    const QString provider = ComboEdit1->text().trimmed();
    if (provider.isEmpty())
        return refuse(QStringLiteral("请输入供应商代码!"), ComboEdit1);
    // The name stored is the one of the code stored, read now.
    const auto provName = partnerName(Partners::providers(), provider, Blanks::Trimmed);
    if (!provName)
        return refuse(QStringLiteral("输入的供应商代码不存在!"), ComboEdit1);
    const QString serial = tb_carin->value(Serial).toString().trimmed();
    if (serial.isEmpty())
        return refuse(QStringLiteral("请输入车系列号!"), DBEdit1);
    if (tb_carinfor->value(QStringLiteral("chassis_no")).toString().trimmed().isEmpty())
        return refuse(QStringLiteral("请输入底盘号!"), DBEdit15);
    if (!Db::scalar(QStringLiteral("select carserial_no from carinfor where carserial_no=:aa"),
                    {{QStringLiteral(":aa"), serial}})
             .isNull())
        return refuse(QStringLiteral("该车系列号已存在，不能重复入库!"), DBEdit1);
    const QString contract = ComboEdit2->text().trimmed();
    if (!contract.isEmpty()) {
        // Exactly: a code typed in another letter case is not the contract's.
        if (!signedBy(Partners::providers(), contract, provider, SignerMatch::TypedTrimmed))
            return refuse(QStringLiteral("所选合同并非是该供应商签约!"), ComboEdit1);
        if (Db::scalar(QStringLiteral("select carmodel from cbuycontdetail,cbuycontract"
                                      " where cbuycontract.buycont_no=cbuycontdetail.buycont_no"
                                      " and cbuycontract.contract_no=:aa and cbuycontdetail.carmodel=:bb"),
                       {{QStringLiteral(":aa"), contract},
                        {QStringLiteral(":bb"), tb_carinfor->value(QStringLiteral("carmodel")).toString().trimmed()}})
                .isNull())
            return refuse(QStringLiteral("所选合同并没有此种车辆型号!"), DBComboBox1);
    }

    tb_carin->setValue(QStringLiteral("buycontract_no"), FieldLink::textValue(contract));
    tb_carin->setValue(QStringLiteral("providerid"), provider);
    tb_carin->setValue(ProvName, FieldLink::textValue(*provName));
    tb_carin->setValue(Serial, serial);
    tb_carinfor->setValue(Serial, serial);
    tb_carinfor->setValue(QStringLiteral("carstatus"), codeValue(CarStatus::InStock));
    return document->save([this] {
        tb_carinfor->writeUpdates();
        bookReceipt(document->number());
    });
}

void Tfcarin::SpeedItem5Click()
{
    guard([this] {
        const QString number = document->number();
        if (SaveInStock() != SaveResult::Stored)
            return;
        const bool print = Msg::question(QStringLiteral("是否打印入库单?"), this);
        SetInStockEditing(false);
        if (print)
            PrintInSlip(this, number);
    }, this);
}

// ---------------------------------------------------------------- the slip

void Tfcarin::PrintInSlip(QWidget *owner, const QString &number)
{
    Tfrep_chlrk layout(owner);
    layout.QRLabel17->setCaption(frmDMcarsales ? frmDMcarsales->operatorName() : QString());
    DataSet *query = layout.rep_chlrk;
    query->close();
    query->setSql(query->sql() + QStringLiteral(" and carinstock.carin_no=:aa"));
    query->setParam(QStringLiteral(":aa"), number);
    query->open();
    layout.printOrShowError();
}
