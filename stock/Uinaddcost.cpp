#include "Uinaddcost.h"
#include "GridColumns.h"
#include "DMsales.h"
#include "Db.h"
#include "Format.h"
#include "Guard.h"
#include "Messages.h"
#include "Money.h"
#include "Numbering.h"
#include "OperatorHeader.h"
#include "Uselecar.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

const QString Cost = QStringLiteral("cost");
const QString SubjectName = QStringLiteral("subjectname");

} // namespace

Tfinaddcost::Tfinaddcost(QWidget *parent)
    : ChildForm(parent), tb_carinfor(new DataSet(this)), ds_carinfor(new DataSource(tb_carinfor, this)),
      tb_addcost(new DataSet(this)), ds_addcost(new DataSource(tb_addcost, this))
{
    setObjectName(QStringLiteral("finaddcost"));
    setWindowTitle(QStringLiteral("采购直接成本管理"));
    tb_carinfor->setObjectName(QStringLiteral("tb_carinfor"));
    tb_carinfor->setTableName(QStringLiteral("carinfor"));
    tb_carinfor->setReadOnly(true);
    ds_carinfor->setObjectName(QStringLiteral("ds_carinfor"));
    tb_addcost->setObjectName(QStringLiteral("tb_addcost"));
    tb_addcost->setTableName(QStringLiteral("addcost"));
    tb_addcost->setIndexFieldNames(QStringLiteral("addcostid"));
    tb_addcost->setMaster(tb_carinfor, QStringLiteral("carserial_no"), QStringLiteral("carserial_no"));
    tb_addcost->setCachedUpdates(true);
    ds_addcost->setObjectName(QStringLiteral("ds_addcost"));
    tb_addcost->beforeInsert = [this] { return addingAllowed(); };
    tb_addcost->beforePost = [this] { return costRowPasses(); };
    // A row is numbered when it is stored, in the transaction that stores it.
    tb_addcost->beforeInsertWrite = [](QSqlRecord &row) {
        static const DocumentNumbering costs{QStringLiteral("caddcostpre"), QStringLiteral("caddcost_s"),
                                             QStringLiteral("as"), QStringLiteral("addcost"),
                                             QStringLiteral("addcostid")};
        row.setValue(costs.numberField, nextNumber(costs));
    };

    auto *speedBar = new SpeedBar(this);
    SpeedItem5 = speedBar->addItem(QStringLiteral("SpeedItem5"), QStringLiteral("选车"));
    SpeedItem2 = speedBar->addItem(QStringLiteral("SpeedItem2"), QStringLiteral("保存"));
    SpeedItem3 = speedBar->addItem(QStringLiteral("SpeedItem3"), QStringLiteral("取消"));
    SpeedItem4 = speedBar->addItem(QStringLiteral("SpeedItem4"), QStringLiteral("退出"));

    auto *group = new QGroupBox(QStringLiteral("车辆信息："), this);
    auto *fields = new QGridLayout(group);
    DBEdit *edits[6];
    const char *captions[] = {"车系列号：", "底 盘 号：", "发动机号：", "型    号：", "颜    色：", "入库价格："};
    const char *names[] = {"carserial_no", "chassis_no", "engine_no", "carmodel", "color", "carprice"};
    for (int i = 0; i < 6; ++i) {
        edits[i] = new DBEdit(group);
        edits[i]->setObjectName(QStringLiteral("DBEdit%1").arg(i + 1));
        edits[i]->setDataSource(ds_carinfor, QLatin1String(names[i]));
        edits[i]->setReadOnly(true);
        edits[i]->setFocusPolicy(Qt::NoFocus);
        auto *caption = new QLabel(QString::fromUtf8(captions[i]), group);
        caption->setBuddy(edits[i]);
        fields->addWidget(caption, i / 3, (i % 3) * 2);
        fields->addWidget(edits[i], i / 3, (i % 3) * 2 + 1);
    }
    DBEdit1 = edits[0], DBEdit2 = edits[1], DBEdit3 = edits[2];
    DBEdit4 = edits[3], DBEdit5 = edits[4], DBEdit6 = edits[5];

    Label9 = newOperatorName(this, QStringLiteral("Label9"));
    auto *header = new QHBoxLayout;
    header->addStretch();
    addOperator(header, Label9);

    dbgrid1 = new DBGrid(this);
    dbgrid1->setObjectName(QStringLiteral("dbgrid1"));
    dbgrid1->setColumns({gridColumn("", "addcostid", 80, false), gridColumn("", "carin_no", 80, false),
                         gridColumn("", "carserial_no", 80, false), gridColumn("费用名称", "subjectname", 168),
                         gridColumn("金    额", "cost", 197)});
    dbgrid1->setDataSource(ds_addcost);
    dbgrid1->setReadOnly(false);
    dbgrid1->setRowKeys(true);
    dbgrid1->setMinimumSize(420, 200);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(speedBar);
    layout->addLayout(header);
    layout->addWidget(group);
    layout->addWidget(dbgrid1, 1);

    connect(SpeedItem5, &QToolButton::clicked, this, &Tfinaddcost::SpeedItem5Click);
    connect(SpeedItem2, &QToolButton::clicked, this, &Tfinaddcost::SpeedItem2Click);
    connect(SpeedItem3, &QToolButton::clicked, this, &Tfinaddcost::SpeedItem3Click);
    connect(SpeedItem4, &QToolButton::clicked, this, &QWidget::close);
    connect(tb_addcost, &DataSet::stateChanged, this, &Tfinaddcost::ds_addcostStateChange);
    FormCreate();
}

void Tfinaddcost::FormCreate()
{
    guard([this] {
        const QStringList names =
            Db::firstColumn(QStringLiteral("select subjectname from subject where subjecttype=:aa"),
                            {{QStringLiteral(":aa"), QStringLiteral("车辆附加费")}});
        GridColumns columns = dbgrid1->columns();
        for (GridColumn &c : columns)
            if (c.field == SubjectName)
                c.pickList = names;
        dbgrid1->setColumns(columns);
    }, this);
    arrange(false);
}

void Tfinaddcost::arrange(bool open)
{
    SpeedItem2->setEnabled(open);
    SpeedItem3->setEnabled(open);
    SpeedItem4->setEnabled(!open);
    SpeedItem5->setEnabled(!open);
}

void Tfinaddcost::ds_addcostStateChange(DataSet::State state)
{
    // Opening and every edit bring "保存" and "取消"; after they were pressed
    // the rows stay shown in browse state with "选车" and "退出" back.
    const DataSet::State was = m_costState;
    m_costState = state;
    if (state == DataSet::Inactive)
        arrange(false);
    else if (state != DataSet::Browse || was == DataSet::Inactive)
        arrange(true);
}

void Tfinaddcost::SpeedItem5Click()
{
    const auto chosen = pickCar(this, CarScope::Received);
    if (!chosen)
        return;
    showCar(chosen->value(QStringLiteral("carserial_no")).toString());
}

void Tfinaddcost::showCar(const QString &serial)
{
    guard([&] {
        tb_addcost->close();
        tb_carinfor->close();
        tb_carinfor->clearFilter();
        tb_carinfor->setFilter(QStringLiteral("carserial_no"), serial);
        tb_carinfor->open();
        tb_addcost->open();
    }, this);
    dbgrid1->setFocus();
}

bool Tfinaddcost::addingAllowed()
{
    if (tb_carinfor->isActive() && !tb_carinfor->isEmpty())
        return true;
    Msg::warning(QStringLiteral("请首先选择车辆!"), this);
    return false;
}

bool Tfinaddcost::costRowPasses()
{
    const QVariant cost = tb_addcost->value(Cost);
    const auto typed = cost.isNull() ? Money::Typed::Amount : Money::checkTyped(Fmt::display(cost));
    if (typed == Money::Typed::Amount)
        return true;
    Msg::warning(typed == Money::Typed::TooLarge ? Money::tooLargeMessage(QStringLiteral("金额"))
                                                 : QStringLiteral("金额必须是数字！"),
                 this);
    const GridColumns &columns = dbgrid1->columns();
    for (int c = 0; c < columns.size(); ++c)
        if (columns.at(c).field == Cost)
            dbgrid1->setCurrentIndex(dbgrid1->model()->index(tb_addcost->recNo(), c));
    return false;
}

bool Tfinaddcost::hasChanges() const
{
    return tb_addcost->isActive()
        && ((tb_addcost->isEditing() && tb_addcost->isModified()) || tb_addcost->updatesPending());
}

SaveResult Tfinaddcost::save()
{
    tb_addcost->applyUpdates();
    return storedIf(!tb_addcost->isEditing() && !tb_addcost->updatesPending());
}

void Tfinaddcost::SpeedItem2Click()
{
    guard([this] {
        if (save() == SaveResult::Stored)
            arrange(false);
    }, this);
}

void Tfinaddcost::SpeedItem3Click()
{
    guard([this] {
        tb_addcost->cancelUpdates();
        arrange(false);
    }, this);
}

void Tfinaddcost::closeEvent(QCloseEvent *event)
{
    // Pending costs are never dropped unasked.
    if (hasChanges()
        && !askBeforeClose(QStringLiteral("数据已修改，是否保存?"), [this] { return save(); },
                           [this] { tb_addcost->cancelUpdates(); })) {
        event->ignore();
        return;
    }
    guard([this] {
        tb_addcost->close();
        tb_carinfor->close();
    }, this);
    event->accept();
}
