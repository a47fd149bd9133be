#include "Uprovxx.h"
#include "Db.h"
#include "EnterMovesOn.h"
#include "Errors.h"
#include "GridColumns.h"
#include "Guard.h"
#include "Messages.h"
#include "PartnerRows.h"
#include "QueryConditions.h"
#include "rep_gyshxx.h"

#include <QLabel>
#include <QSqlQuery>

RegisterInfo Tfprovxx::info()
{
    RegisterInfo i = partnerRegister("cprovider", "供应商代码", "providerid", "供应商名称", "provname");
    i.objectName = QStringLiteral("fprovxx");
    i.caption = QStringLiteral("供应商信息注册");
    i.tableName = QStringLiteral("tb_prov");
    i.sourceName = QStringLiteral("ds_prov");
    i.queryName = QStringLiteral("tq_provsele");
    i.querySourceName = QStringLiteral("ds_provsele");
    i.pageControlName = QStringLiteral("pagecontrol1");
    i.choiceLabel = QStringLiteral("型    号：");
    i.choiceName = QStringLiteral("ComboBox1");
    // Providers are found through the models they supply.
    i.choiceCondition = [](QueryConditions &c, const QString &model) {
        c.prefixIn(QStringLiteral("providerid"), QStringLiteral("select providerid from cprovcarmodel"),
                   QStringLiteral("carmodel"), model);
    };
    i.navigatorButtons = {DBNavigator::First, DBNavigator::Prior, DBNavigator::Next,
                          DBNavigator::Last, DBNavigator::Delete, DBNavigator::Cancel,
                          DBNavigator::Refresh};
    i.layout = [](QObject *owner) { return std::make_unique<Tfrep_gyshxx>(owner); };
    i.reportQuery = QStringLiteral("rep_prov");
    i.fromLabel = QStringLiteral("QRLabel10");
    i.toLabel = QStringLiteral("QRLabel13");
    return i;
}

Tfprovxx::Tfprovxx(QWidget *parent)
    : TRegisterForm(info(), parent), tb_provmodel(new DataSet(this)),
      ds_provmodel(new DataSource(tb_provmodel, this))
{
    tb_provmodel->setObjectName(QStringLiteral("tb_provmodel"));
    tb_provmodel->setTableName(ModelsTable);
    tb_provmodel->setMaster(tb_prov(), QStringLiteral("providerid"), QStringLiteral("providerid"));
    tb_provmodel->setCachedUpdates(true);
    tb_provmodel->setDeletedWithMaster(true);
    ds_provmodel->setObjectName(QStringLiteral("ds_provmodel"));

    // The models to choose from, in the order the database gives them.
    QStringList models;
    guard([&] { models = Db::firstColumn(QStringLiteral("select model from model ")); }, this);
    GridColumn model = gridColumn("车型", "carmodel", 120);
    model.pickList = models;
    setChoices(models);

    auto *label = new QLabel(QStringLiteral("车\n型"), entryPage);
    DBGrid2 = new DBGrid(entryPage);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setColumns({gridColumn("providerid", "providerid", 80, false), model});
    DBGrid2->setDataSource(ds_provmodel);
    DBGrid2->setMaximumWidth(170);
    label->setBuddy(DBGrid2);
    entryLayout->addWidget(label, 0, Qt::AlignTop);
    entryLayout->addWidget(DBGrid2);
    keepEnter(DBGrid2); // Enter acts inside the model grid

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    NINS = PopupMenu1->addAction(QStringLiteral("增加"), this, &Tfprovxx::NINSClick);
    NSAVE = PopupMenu1->addAction(QStringLiteral("保存"), this,
                                  [this] { guard([this] { tb_provmodel->post(); }, this); });
    NCANCEL = PopupMenu1->addAction(QStringLiteral("取消"), this,
                                    [this] { guard([this] { tb_provmodel->cancel(); }, this); });
    NDEL = PopupMenu1->addAction(QStringLiteral("删除"), this, &Tfprovxx::NDELClick);
    NINS->setObjectName(QStringLiteral("NINS"));
    NSAVE->setObjectName(QStringLiteral("NSAVE"));
    NCANCEL->setObjectName(QStringLiteral("NCANCEL"));
    NDEL->setObjectName(QStringLiteral("NDEL"));
    // From the keyboard: the menu key, or Insert and Ctrl+Delete in the grid.
    NINS->setShortcut(Qt::Key_Insert);
    NDEL->setShortcut(Qt::CTRL | Qt::Key_Delete);
    for (QAction *a : {NINS, NDEL}) {
        a->setShortcutContext(Qt::WidgetShortcut);
        DBGrid2->addAction(a);
    }
    DBGrid2->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid2, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        PopupMenu1Popup();
        PopupMenu1->exec(DBGrid2->viewport()->mapToGlobal(at));
    });
    connect(tb_provmodel, &DataSet::stateChanged, this, &Tfprovxx::PopupMenu1Popup);
    connect(tb_provmodel, &DataSet::rowsChanged, this, &Tfprovxx::PopupMenu1Popup);
    connect(tb_provmodel, &DataSet::stateChanged, this, [this](DataSet::State s) {
        if (s == DataSet::Edit || s == DataSet::Insert)
            beginModelChange();
    });

    // Deleting a provider: the navigator's own question first, then this
    // one; No keeps the provider and its models, Yes deletes both together.
    tb_prov()->beforeDelete = [this] {
        return Msg::question(QStringLiteral("确认删除吗？"), this);
    };

    FormCreate();
    guard([this] { tb_provmodel->open(); }, this);
    PopupMenu1Popup();
}

void Tfprovxx::SetRegisterEditing(bool editing)
{
    TRegisterForm::SetRegisterEditing(editing);
    DBGrid2->setReadOnly(!editing);
}

void Tfprovxx::PopupMenu1Popup()
{
    const bool open = tb_provmodel->isActive();
    NINS->setEnabled(open);
    NSAVE->setEnabled(tb_provmodel->isEditing());
    NCANCEL->setEnabled(tb_provmodel->isEditing());
    NDEL->setEnabled(open && !tb_provmodel->isEmpty());
}

bool Tfprovxx::beginModelChange()
{
    DataSet *prov = tb_prov();
    if (!prov->isEditing()) {
        if (!guard([prov] { prov->edit(); }, this) || !prov->isEditing())
            return false;
    }
    SetRegisterEditing(true);
    return true;
}

void Tfprovxx::NINSClick()
{
    if (!beginModelChange())
        return;
    guard([this] {
        tb_provmodel->append();
        if (tb_provmodel->state() == DataSet::Insert) {
            DBGrid2->setFocus();
            DBGrid2->setCurrentIndex(DBGrid2->model()->index(tb_provmodel->recNo(), 1));
        }
    }, this);
}

void Tfprovxx::NDELClick()
{
    if (!tb_provmodel->isEmpty() && beginModelChange())
        guard([this] { tb_provmodel->deleteRecord(); }, this);
}

SaveResult Tfprovxx::saveEntry()
{
    if (!DBDateEdit::datesPass(this) || !tb_provmodel->checkBrowseMode())
        return SaveResult::Refused;
    // The provider first, then its models under its code (also a code just
    // changed); a model row without a model is not kept. All or nothing.
    Db::Transaction t;
    if (!tb_prov()->post())
        return SaveResult::Refused;
    const QString code = tb_prov()->value(QStringLiteral("providerid")).toString();
    for (int r = tb_provmodel->recordCount() - 1; r >= 0; --r) {
        if (!tb_provmodel->setRecNo(r))
            return SaveResult::Refused;
        if (tb_provmodel->value(QStringLiteral("carmodel")).toString().trimmed().isEmpty()) {
            tb_provmodel->deleteRecord();
        } else if (tb_provmodel->value(QStringLiteral("providerid")).toString() != code) {
            tb_provmodel->setValue(QStringLiteral("providerid"), code);
            if (!tb_provmodel->post())
                return SaveResult::Refused;
        }
    }
    tb_provmodel->applyUpdates();
    t.commit();
    return SaveResult::Stored;
}

void Tfprovxx::cancelEntry()
{
    tb_provmodel->cancelUpdates();
    tb_prov()->cancel();
}
