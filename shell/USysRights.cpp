#include "USysRights.h"
#include "DMsales.h"
#include "EnterMovesOn.h"
#include "Errors.h"
#include "Guard.h"
#include "Messages.h"
#include "OperatorHeader.h"
#include "Rights.h"
#include "login.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QScopedValueRollback>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int ListRows = 12; // three columns of 12

} // namespace

const QStringList &TfSysRights::rightsTexts()
{
    static const QStringList texts{
        "采购合同登记",   "销售合同登记",   "采购合同变更",     "销售合同变更",   "采购合同查询",
        "销售合同查询",   "车辆入库",       "车辆销售",         "车辆入库库存查询", "车辆销售查询",
        "向供应商退货",   "客户退货",       "向供应商退货查询", "采购支付",       "入库财务核实",
        "与供应商对帐",   "客户预付款",     "车辆销售核实",     "与客户对帐",     "供应商帐目查询",
        "客户帐目查询",   "采购直接成本管理", "业务员业绩报表", "销售业绩统计",   "税报表",
        "本公司信息注册", "供应商信息注册", "客户信息注册",     "人事信息登记",   "权限设置",
        "地区设置",       "合同类型设置",   "费用类型设置",     "车辆类型设置",   "车辆型号设置"};
    Q_ASSERT(texts.size() == Rights::Positions);
    return texts;
}

TfSysRights::TfSysRights(QWidget *parent)
    : ChildForm(parent), tblSysRights(new DataSet(this)),
      dtsSysRights(new DataSource(tblSysRights, this))
{
    setObjectName(QStringLiteral("fSysRights"));
    setWindowTitle(QStringLiteral("权限设置"));
    QFont f = font();
    f.setFamily(QStringLiteral("宋体"));
    setFont(f);
    tblSysRights->setObjectName(QStringLiteral("tblSysRights"));
    tblSysRights->setTableName(QStringLiteral("crights"));
    tblSysRights->setIndexName(QStringLiteral("PrimaryKey"));
    dtsSysRights->setObjectName(QStringLiteral("dtsSysRights"));

    auto *speedBar = new SpeedBar(this);
    SpeedItem1 = speedBar->addItem(QStringLiteral("SpeedItem1"), QStringLiteral("增加"));
    SpeedItem7 = speedBar->addItem(QStringLiteral("SpeedItem7"), QStringLiteral("修改"));
    SpeedItem2 = speedBar->addItem(QStringLiteral("SpeedItem2"), QStringLiteral("保存"));
    SpeedItem3 = speedBar->addItem(QStringLiteral("SpeedItem3"), QStringLiteral("取消"));
    SpeedItem4 = speedBar->addItem(QStringLiteral("SpeedItem4"), QStringLiteral("全选"));
    SpeedItem5 = speedBar->addItem(QStringLiteral("SpeedItem5"), QStringLiteral("全不选"));
    SpeedItem6 = speedBar->addItem(QStringLiteral("SpeedItem6"), QStringLiteral("退出"));
    DBNavigator1 = new DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setDataSource(dtsSysRights);
    // Only moving: accounts are added, edited and saved by the speed bar.
    for (int b = DBNavigator::Insert; b <= DBNavigator::Refresh; ++b)
        DBNavigator1->button(DBNavigator::Button(b))->hide();
    speedBar->addWidget(DBNavigator1);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    GridColumn code{QStringLiteral("员工代码"), QStringLiteral("personnelid")};
    GridColumn name{QStringLiteral("姓名"), QStringLiteral("name"), 100};
    GridColumn password{QStringLiteral("口令"), QStringLiteral("password")};
    password.visible = false;
    DBGrid1->setColumns({code, name, password});
    DBGrid1->setDataSource(dtsSysRights);
    DBGrid1->setReadOnly(true);

    DBEdit2 = new DBEdit(this);
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    DBEdit2->setDataSource(dtsSysRights, QStringLiteral("personnelid"));
    // The login takes codes of this length.
    DBEdit2->setMaxLength(10);
    DBEdit3 = new DBEdit(this);
    DBEdit3->setObjectName(QStringLiteral("DBEdit3"));
    DBEdit3->setDataSource(dtsSysRights, QStringLiteral("name"));
    DBEdit1 = new DBEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setDataSource(dtsSysRights, QStringLiteral("password"));
    DBEdit1->setEchoMode(QLineEdit::Password);
    // No password that the login could not take can be set.
    DBEdit1->setMaxLength(Tflogin::PasswordLength);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setEchoMode(QLineEdit::Password);
    Edit2->setMaxLength(Tflogin::PasswordLength);
    Label6 = newOperatorName(this, QStringLiteral("Label6"));

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("代码："), DBEdit2);
    fields->addRow(QStringLiteral("姓名："), DBEdit3);
    fields->addRow(QStringLiteral("口令："), DBEdit1);
    fields->addRow(QStringLiteral("确认："), Edit2);
    addOperatorRow(fields, Label6);

    CheckListBox1 = new QListWidget(this);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    CheckListBox1->setFlow(QListView::TopToBottom);
    CheckListBox1->setWrapping(true);
    CheckListBox1->setResizeMode(QListView::Adjust);
    CheckListBox1->setUniformItemSizes(true);
    for (const QString &text : rightsTexts()) {
        auto *item = new QListWidgetItem(text, CheckListBox1);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    // Three columns wide enough for the longest text.
    int textWidth = 0;
    for (const QString &text : rightsTexts())
        textWidth = qMax(textWidth, CheckListBox1->fontMetrics().horizontalAdvance(text));
    const QSize cell(textWidth + CheckListBox1->style()->pixelMetric(QStyle::PM_IndicatorWidth) + 24,
                     CheckListBox1->sizeHintForRow(0));
    CheckListBox1->setGridSize(cell);
    CheckListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int frame = 2 * CheckListBox1->frameWidth() + 4;
    CheckListBox1->setFixedHeight(cell.height() * ListRows + frame);
    CheckListBox1->setMinimumWidth(cell.width() * 3 + frame);
    // The boxes show the rights of the row they stand on.
    m_rightsLink = new FieldLink(CheckListBox1, [this](const QVariant &v) { showRights(v); });
    m_rightsLink->setDataSource(dtsSysRights, QStringLiteral("rights"));

    auto *upper = new QHBoxLayout;
    upper->addLayout(fields);
    upper->addWidget(DBGrid1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(speedBar);
    layout->addLayout(upper, 1);
    layout->addWidget(CheckListBox1);

    connect(SpeedItem1, &QToolButton::clicked, this, &TfSysRights::SpeedItem1Click);
    connect(SpeedItem2, &QToolButton::clicked, this, &TfSysRights::SpeedItem2Click);
    connect(SpeedItem3, &QToolButton::clicked, this, &TfSysRights::SpeedItem3Click);
    connect(SpeedItem4, &QToolButton::clicked, this, [this] { tickAll(true); });
    connect(SpeedItem5, &QToolButton::clicked, this, [this] { tickAll(false); });
    connect(SpeedItem6, &QToolButton::clicked, this, &QWidget::close);
    connect(SpeedItem7, &QToolButton::clicked, this, &TfSysRights::SpeedItem7Click);
    connect(CheckListBox1, &QListWidget::itemChanged, this, &TfSysRights::CheckListBox1ClickCheck);

    tblSysRights->beforePost = [this] { return rowPasses(); };
    tblSysRights->afterPost = [this] { tblSysRightsAfterPost(); };
    // dtsSysRightsStateChange: typing into a stored row also puts it into editing.
    connect(tblSysRights, &DataSet::stateChanged, this,
            [this] { SetRightsEditing(tblSysRights->isEditing()); });

    // FormCreate
    guard([this] {
        tblSysRights->open();
        tblSysRights->first();
    }, this);
    SetRightsEditing(false);
    installEnterMovesOn(this);
}

void TfSysRights::SetRightsEditing(bool editing)
{
    for (QToolButton *b : {SpeedItem1, SpeedItem7, SpeedItem6})
        b->setEnabled(!editing);
    DBNavigator1->setEnabled(!editing);
    for (QToolButton *b : {SpeedItem2, SpeedItem3, SpeedItem4, SpeedItem5})
        b->setEnabled(editing);
    CheckListBox1->setEnabled(editing);
    // A stored account keeps its code: its personnel row and its login hang on it.
    DBEdit2->setReadOnly(tblSysRights->state() != DataSet::Insert);
}

void TfSysRights::showRights(const QVariant &rights)
{
    // Read as the menus read it.
    const QList<bool> granted = Rights::granted(rights.toString());
    const QScopedValueRollback showing(m_showing, true);
    for (int p = 1; p <= Rights::Positions; ++p)
        CheckListBox1->item(p - 1)->setCheckState(granted.at(p - 1) ? Qt::Checked : Qt::Unchecked);
}

void TfSysRights::writeRights()
{
    QList<bool> granted;
    for (int p = 1; p <= Rights::Positions; ++p)
        granted << (CheckListBox1->item(p - 1)->checkState() == Qt::Checked);
    m_rightsLink->write(Rights::text(granted));
}

void TfSysRights::tickAll(bool granted)
{
    if (!tblSysRights->isEditing())
        return;
    {
        const QScopedValueRollback showing(m_showing, true);
        for (int p = 1; p <= Rights::Positions; ++p)
            CheckListBox1->item(p - 1)->setCheckState(granted ? Qt::Checked : Qt::Unchecked);
    }
    writeRights();
}

void TfSysRights::CheckListBox1ClickCheck()
{
    if (m_showing || !tblSysRights->isEditing())
        return;
    writeRights();
}

bool TfSysRights::rowPasses()
{
    // The login drops blanks before and after what is typed: so are they here.
    const QString code = tblSysRights->value(QStringLiteral("personnelid")).toString();
    if (code.trimmed().isEmpty()) {
        Msg::warning(QStringLiteral("请输入代码!"), this);
        DBEdit2->setFocus();
        return false;
    }
    const QString password = tblSysRights->value(QStringLiteral("password")).toString();
    if (password != Edit2->text()) {
        Msg::warning(QStringLiteral("确认口令与口令不一致!"), this);
        Edit2->setFocus();
        return false;
    }
    if (code != code.trimmed())
        tblSysRights->setValue(QStringLiteral("personnelid"), code.trimmed());
    if (password != password.trimmed())
        tblSysRights->setValue(QStringLiteral("password"),
                               FieldLink::textValue(password.trimmed()));
    return true;
}

void TfSysRights::tblSysRightsAfterPost()
{
    const QString saved = tblSysRights->value(QStringLiteral("personnelid")).toString();
    tblSysRights->refresh();
    // The operator's own rights take effect at once.
    DataSet *tright = frmDMcarsales ? frmDMcarsales->tright : nullptr;
    if (!tright || !tright->isActive() || tright->isEmpty()
        || tright->value(QStringLiteral("personnelid")).toString().compare(saved, Qt::CaseInsensitive)
               != 0)
        return;
    tright->refresh();
    emit operatorRightsChanged();
}

void TfSysRights::SpeedItem1Click()
{
    guard([this] {
        tblSysRights->append();
        if (tblSysRights->state() == DataSet::Insert)
            DBEdit2->setFocus();
    }, this);
}

void TfSysRights::SpeedItem7Click()
{
    guard([this] {
        tblSysRights->edit();
        if (tblSysRights->isEditing())
            DBEdit3->setFocus();
    }, this);
}

void TfSysRights::SpeedItem2Click()
{
    guard([this] { tblSysRights->post(); }, this);
}

void TfSysRights::SpeedItem3Click()
{
    guard([this] { tblSysRights->cancel(); }, this);
}

void TfSysRights::closeEvent(QCloseEvent *event)
{
    // Nothing typed is lost without a question.
    if (tblSysRights->isEditing()
        && !askBeforeClose(QStringLiteral("是否保存?"), [this] { return tblSysRights->post(); },
                             [this] { tblSysRights->cancel(); })) {
        event->ignore();
        return;
    }
    guard([this] { tblSysRights->close(); }, this);
    event->accept();
}
