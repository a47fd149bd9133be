#include "ChargeCheck.h"
#include "Db.h"
#include "EnterMovesOn.h"
#include "EntryLayout.h"
#include "Guard.h"
#include "Messages.h"
#include "OperatorHeader.h"
#include "Uselecar.h"

#include <QCloseEvent>

namespace {

const QString Serial = QStringLiteral("carserial_no");

const QList<CheckField> CarFields{{"车系列号：", "DBEdit7", "carserial_no"},
                                  {"底 盘 号：", "DBEdit8", "chassis_no"},
                                  {"发动机号：", "DBEdit9", "engine_no"},
                                  {"型    号：", "DBEdit10", "carmodel"},
                                  {"颜    色：", "DBEdit11", "color"},
                                  {"入库价格：", "DBEdit12", "carprice"}};

} // namespace

TChargeCheck::TChargeCheck(const ChargeCheckKind &kind, QWidget *parent)
    : ChildForm(parent), m_kind(kind), m_record(new DataSet(this)), m_car(new DataSet(this)),
      m_ledger(new DataSet(this))
{
    const LedgerSide &side = *kind.side;
    setObjectName(kind.objectName);
    setWindowTitle(kind.caption);
    m_record->setObjectName(kind.recordName);
    m_record->setTableName(kind.recordTable);
    m_car->setObjectName(QStringLiteral("tb_carinfor"));
    m_car->setTableName(QStringLiteral("carinfor"));
    m_car->setIndexName(QStringLiteral("PrimaryKey"));
    m_ledger->setObjectName(kind.ledgerName);
    m_ledger->setTableName(side.table);
    m_ledger->setIndexName(QStringLiteral("PrimaryKey"));
    auto *recordSource = new DataSource(m_record, this);
    recordSource->setObjectName(kind.recordSource);
    auto *carSource = new DataSource(m_car, this);
    carSource->setObjectName(QStringLiteral("ds_carinfor"));
    auto *ledgerSource = new DataSource(m_ledger, this);
    ledgerSource->setObjectName(kind.ledgerSource);

    auto *speedBar = new SpeedBar(this);
    SpeedItem1 = speedBar->addItem(QStringLiteral("SpeedItem1"), QStringLiteral("选车"));
    SpeedItem2 = speedBar->addItem(QStringLiteral("SpeedItem2"), QStringLiteral("确认"));
    SpeedItem3 = speedBar->addItem(QStringLiteral("SpeedItem3"), QStringLiteral("取消"));
    SpeedItem4 = speedBar->addItem(QStringLiteral("SpeedItem4"), QStringLiteral("退出"));

    auto bound = [this](auto *control, const char *name, DataSource *source, const QString &field) {
        control->setObjectName(QLatin1String(name));
        control->setDataSource(source, field);
        return control;
    };
    DBText1 = bound(new DBText(this), "DBText1", ledgerSource, side.keyField);
    DBText1->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    Label16 = newOperatorName(this, QStringLiteral("Label16"));

    auto *fields = new FieldGrid(this);
    auto shown = [&](const CheckField &f, DataSource *source) {
        DBEdit *edit = bound(new DBEdit(this), f.name, source, QLatin1String(f.field));
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
        fields->place(QString::fromUtf8(f.label), edit);
    };
    for (const CheckField &f : kind.recordFields)
        shown(f, recordSource);
    fields->endRow();
    for (const CheckField &f : CarFields)
        shown(f, carSource);
    DBEdit5 = bound(new DBEdit(this), "DBEdit5", ledgerSource, QStringLiteral("invoice_no"));
    DBEdit5->setReadOnly(!kind.invoiceEditable);
    if (!kind.invoiceEditable)
        DBEdit5->setFocusPolicy(Qt::NoFocus);
    fields->place(kind.invoiceLabel, DBEdit5);
    DBEdit13 = bound(new DBEdit(this), "DBEdit13", ledgerSource, QStringLiteral("affirm_recorder"));
    fields->place(kind.handlerLabel, DBEdit13);
    DBDateEdit1 = bound(new DBDateEdit(this), "DBDateEdit1", ledgerSource, kind.dateField);
    DBDateEdit1->setDefaultToNow();
    fields->place(QStringLiteral("核实日期："), DBDateEdit1);

    StatusBar1 = statusBar(this, kind.statusText);

    layOutEntryForm(this, speedBar, DBText1, Label16, fields, StatusBar1);

    if (kind.invoiceEditable)
        setTabOrder(DBEdit5, DBEdit13);
    setTabOrder(DBEdit13, DBDateEdit1);

    connect(SpeedItem1, &QToolButton::clicked, this, &TChargeCheck::SpeedItem1Click);
    connect(SpeedItem2, &QToolButton::clicked, this, &TChargeCheck::SpeedItem2Click);
    connect(SpeedItem3, &QToolButton::clicked, this, &TChargeCheck::SpeedItem3Click);
    connect(SpeedItem4, &QToolButton::clicked, this, &QWidget::close);
    // The record pane follows the charge.
    connect(m_ledger, &DataSet::currentChanged, this, [this] { guard([this] { showBookingRecord(); }, this); });

    // FormCreate
    SetVerifyEditing(false);
    installEnterMovesOn(this);
}

void TChargeCheck::SetVerifyEditing(bool editing)
{
    SpeedItem1->setEnabled(!editing);
    SpeedItem4->setEnabled(!editing);
    SpeedItem2->setEnabled(editing);
    SpeedItem3->setEnabled(editing);
    // The record and car panes stay as they are until the next pick.
    if (!editing)
        m_ledger->close();
}

void TChargeCheck::SpeedItem1Click()
{
    // A car is listed once for each charge still to verify; whichever line
    // is picked, the lowest entry number is verified first.
    if (const std::optional<QSqlRecord> car = pickCar(this, m_kind.carScope))
        openCar(car->value(Serial).toString());
}

void TChargeCheck::openCar(const QString &serial)
{
    guard([&] {
        m_record->close();
        m_record->clearFilter();
        m_record->setFilter(Serial, serial);
        // In the order they were booked: see showBookingRecord.
        m_record->setIndexFieldNames(QStringLiteral("rowid"));
        m_car->close();
        m_car->clearFilter();
        m_car->setFilter(Serial, serial);
        m_ledger->close();
        m_ledger->clearFilter();
        m_ledger->setFilter(QStringLiteral("certificate_no"), serial);
        m_ledger->setFilter(QStringLiteral("isprepay"), codeValue(EntryKind::CarCharge));
        m_ledger->setFilter(QStringLiteral("isaffirm"), 0);
        m_ledger->setFilter(QStringLiteral("ischeck"), 0);
        m_record->open();
        m_car->open();
        m_ledger->open();
        if (m_ledger->isEmpty()) {
            // Verified elsewhere since the list was read.
            m_ledger->close();
            Msg::warning(QStringLiteral("该车没有未核实的帐目!"), this);
            return;
        }
        m_ledger->first();
        m_ledger->edit();
        SetVerifyEditing(true);
        DBEdit13->setFocus();
    }, this);
}

void TChargeCheck::showBookingRecord()
{
    if (!m_ledger->isActive() || m_ledger->isEmpty() || !m_record->isActive() || m_record->isEmpty())
        return;
    const int booked = chargeBooking(*m_kind.side, m_ledger->value(QStringLiteral("certificate_no")),
                                     m_ledger->value(m_kind.side->keyField));
    // More charges than records (rows this program did not write): the latest.
    m_record->setRecNo(qBound(0, booked - 1, m_record->recordCount() - 1));
}

SaveResult TChargeCheck::ConfirmCharge()
{
    if (DBEdit13->text().trimmed().isEmpty()) {
        return refuse(QStringLiteral("请输入经办人!"), DBEdit13);
    }
    if (!DBDateEdit::datesPass(this))
        return SaveResult::Refused;
    switch (confirmCharge(*m_kind.side, *m_ledger)) {
    case ChargeConfirmation::AlreadyVerified:
        Msg::warning(QStringLiteral("此帐目已经核实!"), this);
        cancelCharge();
        return SaveResult::Refused;
    case ChargeConfirmation::NotStored:
        return SaveResult::Refused;
    case ChargeConfirmation::Confirmed:
        break;
    }
    m_record->close();
    m_car->close();
    return SaveResult::Stored;
}

void TChargeCheck::SpeedItem2Click()
{
    guard([this] {
        if (ConfirmCharge() == SaveResult::Stored)
            SetVerifyEditing(false);
    }, this);
}

void TChargeCheck::cancelCharge()
{
    if (m_ledger->isEditing())
        m_ledger->cancel();
    SetVerifyEditing(false);
}

void TChargeCheck::SpeedItem3Click()
{
    guard([this] { cancelCharge(); }, this);
}

void TChargeCheck::closeEvent(QCloseEvent *event)
{
    if (m_ledger->isEditing()
        && !askBeforeClose(
            QStringLiteral("是否保存?"), [this] { return ConfirmCharge(); },
            [this] { cancelCharge(); })) {
        event->ignore();
        return;
    }
    guard([this] {
        m_car->close();
        m_record->close();
        m_ledger->close();
    }, this);
    event->accept();
}
