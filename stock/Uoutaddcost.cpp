#include "Uoutaddcost.h"
#include "GridColumns.h"
#include "DMsales.h"
#include "Db.h"
#include "Format.h"
#include "Guard.h"
#include "Messages.h"
#include "Money.h"
#include "OperatorHeader.h"
#include "SpeedBar.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QVBoxLayout>

namespace {

const QString SerialField = QStringLiteral("carserial_no");
const QString CostField = QStringLiteral("cost");
const QString NameField = QStringLiteral("subjectname");

QStringList subjects(const QString &type)
{
    return Db::firstColumn(QStringLiteral("select subjectname from subject where subjecttype=:aa"),
                           {{QStringLiteral(":aa"), type}});
}

} // namespace

Tfoutaddcost::Tfoutaddcost(QWidget *parent)
    : ChildForm(parent), tb_carinfor(new DataSet(this)), tb_service(new DataSet(this)),
      tb_present(new DataSet(this)), ds_carinfor(new DataSource(tb_carinfor, this)),
      ds_service(new DataSource(tb_service, this)), ds_present(new DataSource(tb_present, this))
{
    setObjectName(QStringLiteral("foutaddcost"));
    setWindowTitle(QStringLiteral("销售附加业务管理"));
    tb_carinfor->setObjectName(QStringLiteral("tb_carinfor"));
    tb_carinfor->setTableName(QStringLiteral("carinfor"));
    tb_carinfor->setReadOnly(true);
    tb_service->setObjectName(QStringLiteral("tb_service"));
    tb_service->setTableName(QStringLiteral("servicecost"));
    tb_service->setIndexFieldNames(QStringLiteral("carserial_no;serviceid"));
    tb_present->setObjectName(QStringLiteral("tb_present"));
    tb_present->setTableName(QStringLiteral("presentcost"));
    tb_present->setIndexFieldNames(QStringLiteral("carserial_no;presentid"));
    ds_carinfor->setObjectName(QStringLiteral("ds_carinfor"));
    ds_service->setObjectName(QStringLiteral("ds_service"));
    ds_present->setObjectName(QStringLiteral("ds_present"));

    auto *speedBar = new SpeedBar(this);
    SpeedItem5 = speedBar->addItem(QStringLiteral("SpeedItem5"), QStringLiteral("选车"));
    SpeedItem2 = speedBar->addItem(QStringLiteral("SpeedItem2"), QStringLiteral("保存"));
    SpeedItem3 = speedBar->addItem(QStringLiteral("SpeedItem3"), QStringLiteral("取消"));
    SpeedItem4 = speedBar->addItem(QStringLiteral("SpeedItem4"), QStringLiteral("退出"));

    auto *info = new QGroupBox(QStringLiteral("车辆信息："), this);
    auto *infoGrid = new QGridLayout(info);
    auto shown = [&](const char *name, const char *field, int row, int col, const char *label) {
        auto *edit = new DBEdit(info);
        edit->setObjectName(QLatin1String(name));
        edit->setDataSource(ds_carinfor, QLatin1String(field));
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
        auto *caption = new QLabel(QString::fromUtf8(label), info);
        caption->setBuddy(edit);
        infoGrid->addWidget(caption, row, col * 2);
        infoGrid->addWidget(edit, row, col * 2 + 1);
        return edit;
    };
    DBEdit1 = shown("DBEdit1", "carserial_no", 0, 0, "车系列号：");
    DBEdit2 = shown("DBEdit2", "chassis_no", 0, 1, "底 盘 号：");
    DBEdit3 = shown("DBEdit3", "engine_no", 0, 2, "发动机号：");
    DBEdit5 = shown("DBEdit5", "carmodel", 1, 0, "车    型：");
    DBEdit4 = shown("DBEdit4", "color", 1, 1, "颜    色：");
    DBEdit6 = shown("DBEdit6", "carprice", 1, 2, "入库价格：");
    Label9 = newOperatorName(info, QStringLiteral("Label9"));
    placeOperator(infoGrid, 2, 0, Label9);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto grid = [this](const char *name, DataSource *source, const GridColumns &columns,
                       const char *caption) {
        auto *g = new DBGrid(PageControl1);
        g->setObjectName(QLatin1String(name));
        g->setColumns(columns);
        g->setDataSource(source);
        g->setReadOnly(false);
        g->setRowKeys(true);
        g->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
        PageControl1->addTab(g, QString::fromUtf8(caption));
        return g;
    };
    GridColumn serviceNo = gridColumn("流水号", "serviceid", 110);
    serviceNo.readOnly = true;
    GridColumn presentNo = gridColumn("流水号", "presentid", 110);
    presentNo.readOnly = true;
    DBGrid1 = grid("DBGrid1", ds_service,
                   {serviceNo, gridColumn("费用名称", "subjectname", 160), gridColumn("金额", "cost")},
                   "服务费");
    DBGrid4 = grid("DBGrid4", ds_present,
                   {presentNo, gridColumn("", "carout_no", 80, false),
                    gridColumn("", "carserial_no", 80, false),
                    gridColumn("费用名称", "subjectname", 160), gridColumn("金额", "cost")},
                   "赠品");

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(speedBar);
    layout->addWidget(info);
    layout->addWidget(PageControl1, 1);
    resize(620, 420);

    m_service = {tb_service, DBGrid1,
                 {QStringLiteral("cservicepre"), QStringLiteral("cservice_s"), QStringLiteral("vs"),
                  QStringLiteral("servicecost"), QStringLiteral("serviceid")},
                 {}, {}};
    m_present = {tb_present, DBGrid4,
                 {QStringLiteral("cpresentpre"), QStringLiteral("cpresent_s"), QStringLiteral("zs"),
                  QStringLiteral("presentcost"), QStringLiteral("presentid")},
                 {}, {}};
    setUpTable(m_service);
    setUpTable(m_present);

    connect(SpeedItem5, &QToolButton::clicked, this, &Tfoutaddcost::SpeedItem5Click);
    connect(SpeedItem2, &QToolButton::clicked, this, &Tfoutaddcost::SpeedItem2Click);
    connect(SpeedItem3, &QToolButton::clicked, this, &Tfoutaddcost::SpeedItem3Click);
    connect(SpeedItem4, &QToolButton::clicked, this, &QWidget::close);

    FormCreate();
}

void Tfoutaddcost::FormCreate()
{
    guard([this] {
        for (auto [g, type] : {std::pair{DBGrid1, QStringLiteral("服务费")},
                               std::pair{DBGrid4, QStringLiteral("赠品")}}) {
            GridColumns columns = g->columns();
            for (GridColumn &c : columns)
                if (c.field == NameField)
                    c.pickList = subjects(type);
            g->setColumns(columns);
        }
    }, this);
    ds_StateChange();
}

void Tfoutaddcost::setUpTable(CostTable &table)
{
    DataSet *data = table.data;
    data->setCachedUpdates(true);
    // The number is drawn before the row exists: a failed draw adds no row.
    data->beforeInsert = [this, &table] {
        if (!tb_carinfor->isActive() || tb_carinfor->isEmpty())
            return false;
        table.next = nextNumber(table.numbering);
        table.drawn << table.next;
        return true;
    };
    data->afterInsert = [this, &table] {
        table.data->setValue(table.numbering.numberField, table.next);
        table.data->setValue(SerialField, tb_carinfor->value(SerialField));
    };
    data->beforePost = [this, &table] { return costPasses(table); };
    connect(data, &DataSet::stateChanged, this, &Tfoutaddcost::ds_StateChange);
    connect(data, &DataSet::rowsChanged, this, &Tfoutaddcost::ds_StateChange);
    connect(data, &DataSet::valuesChanged, this, &Tfoutaddcost::ds_StateChange);
}

bool Tfoutaddcost::costPasses(CostTable &table)
{
    const QString text = Fmt::display(table.data->value(CostField));
    const QString refusal = amountRefusal(QStringLiteral("金额"), text);
    if (refusal.isEmpty()) {
        // Stored as the amount typed, not as text.
        const auto amount = Money::parse(text);
        table.data->setValue(CostField, amount ? amount->toVariant() : QVariant());
        return true;
    }
    Msg::warning(refusal, this);
    PageControl1->setCurrentWidget(table.grid);
    const GridColumns &columns = table.grid->columns();
    for (int c = 0; c < columns.size(); ++c)
        if (columns.at(c).field == CostField)
            table.grid->setCurrentIndex(table.grid->model()->index(table.data->recNo(), c));
    table.grid->setFocus();
    return false;
}

bool Tfoutaddcost::isPending() const
{
    for (const DataSet *d : {tb_service, tb_present})
        if (d->isEditing() || d->updatesPending())
            return true;
    return false;
}

void Tfoutaddcost::ds_StateChange()
{
    const bool editing = isPending();
    SpeedItem2->setEnabled(editing);
    SpeedItem3->setEnabled(editing);
    SpeedItem4->setEnabled(!editing);
    SpeedItem5->setEnabled(!editing);
}

void Tfoutaddcost::giveBackUnstored()
{
    Db::Transaction t;
    for (const CostTable *table : {&m_service, &m_present})
        giveBackUnstoredNumbers(table->numbering, table->drawn);
    auto forget = [this] {
        m_service.drawn.clear();
        m_present.drawn.clear();
    };
    Db::Transaction::whenCommitted(forget);
    t.commit();
}

SaveResult Tfoutaddcost::SaveCosts()
{
    {
        Db::Transaction t;
        for (CostTable *table : {&m_service, &m_present}) {
            if (!table->data->isActive())
                continue;
            if (!table->data->writeUpdates())
                return SaveResult::Refused;
        }
        giveBackUnstored();
        t.commit();
    }
    for (DataSet *d : {tb_service, tb_present})
        if (d->isActive())
            d->updatesWritten();
    ds_StateChange();
    return SaveResult::Stored;
}

void Tfoutaddcost::DiscardCosts()
{
    giveBackUnstored();
    for (DataSet *d : {tb_service, tb_present})
        d->cancelUpdates();
    ds_StateChange();
}

void Tfoutaddcost::SpeedItem2Click()
{
    guard([this] { SaveCosts(); }, this);
}

void Tfoutaddcost::SpeedItem3Click()
{
    guard([this] { DiscardCosts(); }, this);
}

void Tfoutaddcost::ShowCar(const QString &serial)
{
    giveBackUnstored(); // rows added and dropped again on the car shown so far
    closeTables();
    tb_carinfor->setFilter(SerialField, serial);
    tb_carinfor->open();
    for (DataSet *d : {tb_service, tb_present}) {
        d->setFilter(SerialField, serial);
        d->open();
    }
    PageControl1->setCurrentIndex(0);
    PageControl1->currentWidget()->setFocus(); // the car's rows take the typing
    ds_StateChange();
}

void Tfoutaddcost::SpeedItem5Click()
{
    if (isPending() || !chooseCar)
        return;
    const std::optional<QString> serial = chooseCar(this);
    if (!serial)
        return;
    guard([&] { ShowCar(*serial); }, this);
}

void Tfoutaddcost::closeTables()
{
    for (DataSet *d : {tb_present, tb_service, tb_carinfor}) {
        d->close();
        d->clearFilter();
    }
}

void Tfoutaddcost::closeEvent(QCloseEvent *event)
{
    if (isPending()
        && !askBeforeClose(QStringLiteral("数据已修改，是否保存?"), [this] { return SaveCosts(); },
                           [this] { DiscardCosts(); })) {
        event->ignore();
        return;
    }
    guard([this] { giveBackUnstored(); }, this);
    closeTables();
    event->accept();
}
