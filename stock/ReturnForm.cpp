#include "ReturnForm.h"
#include "Clock.h"
#include "DMsales.h"
#include "FieldLink.h"
#include "Guard.h"
#include "Messages.h"
#include "OperatorHeader.h"
#include "SpeedBar.h"
#include "Uselecar.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

// The car's own fields as the window shows them, the model's caption apart.
const QList<QPair<QString, QString>> CarFields{
        {QStringLiteral("颜    色："), QStringLiteral("color")},
        {QStringLiteral("产    地："), QStringLiteral("producingarea")},
        {QStringLiteral("VIN_NO号："), QStringLiteral("vin_no")},
        {QStringLiteral("底 盘 号："), QStringLiteral("chassis_no")},
        {QStringLiteral("发动机号："), QStringLiteral("engine_no")},
        {QStringLiteral("合格证号："), QStringLiteral("qualifier_no")},
        {QStringLiteral("报关单号："), QStringLiteral("customs_no")},
        {QStringLiteral("商检单号："), QStringLiteral("commodity_no")},
        {QStringLiteral("出厂日期："), QStringLiteral("factory_date")},
        {QStringLiteral("存 放 地："), QStringLiteral("storearea")},
        {QStringLiteral("入库价格："), QStringLiteral("carprice")}};

// Read-only fields two to a row, captions beside them; the texts are named
// DBText<n> from `first` on.
int placeFields(QWidget *owner, QGridLayout *grid, DataSource *source,
                const QList<QPair<QString, QString>> &fields, int first)
{
    for (int i = 0; i < fields.size(); ++i) {
        auto *text = new DBText(owner);
        text->setObjectName(QStringLiteral("DBText%1").arg(first + i));
        text->setDataSource(source, fields.at(i).second);
        text->setMinimumWidth(120);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        auto *caption = new QLabel(fields.at(i).first, owner);
        grid->addWidget(caption, i / 2, (i % 2) * 2);
        grid->addWidget(text, i / 2, (i % 2) * 2 + 1);
    }
    return first + int(fields.size());
}

} // namespace

TReturnForm::CarPicker &TReturnForm::carPicker()
{
    static CarPicker picker = [](QWidget *owner, const QString &scope) -> std::optional<QString> {
        const std::optional<QSqlRecord> car = pickCar(owner, scope);
        if (!car)
            return std::nullopt;
        return car->value(QStringLiteral("carserial_no")).toString();
    };
    return picker;
}

TReturnForm::TReturnForm(const ReturnKind &kind, QWidget *parent)
    : ChildForm(parent), tb_record(new DataSet(this)), ds_record(new DataSource(tb_record, this)),
      tb_carinfor(new DataSet(this)), ds_carinfor(new DataSource(tb_carinfor, this)), m_kind(kind)
{
    setObjectName(kind.objectName);
    setWindowTitle(kind.caption);
    tb_record->setObjectName(kind.recordName);
    tb_record->setTableName(kind.move.recordTable);
    tb_record->setIndexName(QStringLiteral("PrimaryKey"));
    tb_record->setReadOnly(true); // the return writes by statements, in its transaction
    ds_record->setObjectName(kind.recordSource);
    tb_carinfor->setObjectName(QStringLiteral("tb_carinfor"));
    tb_carinfor->setTableName(QStringLiteral("carinfor"));
    tb_carinfor->setIndexName(QStringLiteral("PrimaryKey"));
    tb_carinfor->setReadOnly(true);
    ds_carinfor->setObjectName(QStringLiteral("ds_carinfor"));

    auto *speedBar = new SpeedBar(this);
    SpeedItem1 = speedBar->addItem(QStringLiteral("SpeedItem1"), QStringLiteral("选车"));
    SpeedItem2 = speedBar->addItem(QStringLiteral("SpeedItem2"), QStringLiteral("退货"));
    SpeedItem3 = speedBar->addItem(QStringLiteral("SpeedItem3"), QStringLiteral("退出"));

    auto *header = new QGridLayout;
    int next = placeFields(this, header, ds_record, kind.headerFields, 1);

    auto *carGroup = new QGroupBox(QStringLiteral("车辆信息："), this);
    carGroup->setObjectName(QStringLiteral("GroupBox1"));
    auto *carGrid = new QGridLayout(carGroup);
    QList<QPair<QString, QString>> carFields{{kind.modelCaption, QStringLiteral("carmodel")}};
    carFields += CarFields;
    placeFields(carGroup, carGrid, ds_carinfor, carFields, next);

    DateEdit1 = new DateEdit(this);
    DateEdit1->setObjectName(QStringLiteral("DateEdit1"));
    // A return is usually entered on its day.
    DateEdit1->setDate(Clock::today());
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setTabChangesFocus(true);
    Memo1->setFixedHeight(60);
    Label21 = newOperatorName(this, QStringLiteral("Label21"));

    auto *inputs = new QGridLayout;
    auto place = [inputs](int row, int col, const QString &caption, QWidget *w) {
        placeField(inputs, row, col, caption, w, Qt::AlignTop);
    };
    place(0, 0, QStringLiteral("退货日期："), DateEdit1);
    place(0, 1, QStringLiteral("退货经办人："), Edit1);
    place(1, 0, QStringLiteral("退货原因："), Memo1);
    inputs->removeWidget(Memo1);
    inputs->addWidget(Memo1, 1, 1, 1, 3);
    placeOperator(inputs, 2, 1, Label21);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(speedBar);
    layout->addLayout(header);
    layout->addWidget(carGroup);
    layout->addLayout(inputs);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(DateEdit1, Edit1);
    setTabOrder(Edit1, Memo1);

    connect(SpeedItem1, &QToolButton::clicked, this, &TReturnForm::SpeedItem1Click);
    connect(SpeedItem2, &QToolButton::clicked, this, &TReturnForm::SpeedItem2Click);
    connect(SpeedItem3, &QToolButton::clicked, this, &QWidget::close);
    // ds_carinforStateChange: a return needs a car shown.
    connect(tb_carinfor, &DataSet::stateChanged, this,
            [this](DataSet::State s) { SpeedItem2->setEnabled(s != DataSet::Inactive); });
    SpeedItem2->setEnabled(false);

    // FormCreate
    Memo1->clear();
    DateEdit1->setFocus();
}

void TReturnForm::SpeedItem1Click()
{
    const CarPicker &pick = carPicker();
    if (!pick)
        return;
    const std::optional<QString> serial = pick(this, m_kind.carScope);
    if (serial && !serial->isEmpty())
        guard([&] { showCar(*serial); }, this);
}

void TReturnForm::showCar(const QString &serial)
{
    closeCar();
    // The record by its own key: never another sale of the same car.
    tb_record->clearFilter();
    tb_record->setFilter(m_kind.move.recordKey, latestRecord(m_kind.move, serial));
    tb_carinfor->clearFilter();
    tb_carinfor->setFilter(QStringLiteral("carserial_no"), serial);
    tb_record->open();
    tb_carinfor->open();
}

void TReturnForm::closeCar()
{
    tb_record->close();
    tb_carinfor->close();
}

void TReturnForm::SpeedItem2Click()
{
    if (!tb_carinfor->isActive() || tb_carinfor->isEmpty())
        return;
    const QDate day = DateEdit1->date();
    if (!day.isValid()) {
        Msg::warning(QStringLiteral("请输入退货日期!"), this);
        DateEdit1->setFocus();
        return;
    }
    if (!Msg::question(m_kind.question, this))
        return;
    const QString serial = tb_carinfor->value(QStringLiteral("carserial_no")).toString();
    const QVariant record = tb_record->isEmpty() ? QVariant() : tb_record->value(m_kind.move.recordKey);
    bool returned = false;
    if (!guard([&] {
            returned = returnCar(m_kind.move, serial, record, day, FieldLink::textValue(Edit1->text()),
                                 FieldLink::textValue(Memo1->toPlainText()));
        }, this))
        return; // the database's message was shown; the car and the inputs stay
    if (!returned) {
        Msg::warning(QStringLiteral("该车辆状态已改变，请重新选车!"), this);
        guard([this] { closeCar(); }, this);
        return;
    }
    // Done: no car shown; the inputs keep their texts for the next return.
    guard([this] { closeCar(); }, this);
}

void TReturnForm::closeEvent(QCloseEvent *event)
{
    // FormCloseQuery: the window always closes, without a question.
    guard([this] { closeCar(); }, this);
    event->accept();
}
