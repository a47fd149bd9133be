#include "Umain.h"
#include "USysRights.h"
#include "Uarea.h"
#include "Ubackprov.h"
#include "Ubackprovsele.h"
#include "Ubgsxx.h"
#include "Ucarout.h"
#include "Ucaroutsele.h"
#include "Ubuycont.h"
#include "Ubuycontchg.h"
#include "Ubuycontsele.h"
#include "Ucarin.h"
#include "Ucarinsele.h"
#include "Ubuyinout.h"
#include "Ucarincheck.h"
#include "Ucaroutcheck.h"
#include "Ucartype.h"
#include "Ucustback.h"
#include "Uconttype.h"
#include "Ucustaccountsele.h"
#include "Ucustcheck.h"
#include "Ucustoutgo.h"
#include "Ucustxx.h"
#include "Uinaddcost.h"
#include "Umodel.h"
#include "Uperson.h"
#include "Uprovaccountsele.h"
#include "Uprovcheck.h"
#include "Uprovxx.h"
#include "Usalecont.h"
#include "Usalecontchg.h"
#include "Usalecontsele.h"
#include "Usalesyj.h"
#include "Usaleyjtj.h"
#include "Usubject.h"
#include "Utax.h"
#include "DMsales.h"
#include "Guard.h"
#include "Messages.h"
#include "ModalDialog.h"
#include "Pictures.h"
#include "Rights.h"
#include "chngpw.h"
#include "initial.h"
#include "login.h"
#include "unt_logo.h"
#include "x_abou_p.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>

namespace {

struct RightsItem {
    const char *name;
    const char *caption;
    void (Tfrmmain::*click)();
};

// Position p of the rights string grants the item at index p - 1.
const RightsItem rightsItems[] = {
    {"buycont", "&B.采购合同", &Tfrmmain::buycontClick},
    {"salecont", "&S.销售合同", &Tfrmmain::salecontClick},
    {"buycontchg", "&C.采购合同变更", &Tfrmmain::buycontchgClick},
    {"salecontchg", "&X.销售合同变更", &Tfrmmain::salecontchgClick},
    {"buycontfind", "&F.采购合同查询", &Tfrmmain::buycontfindClick},
    {"salecontfind", "&L.销售合同查询", &Tfrmmain::salecontfindClick},
    {"menucarin", "&I.车辆入库", &Tfrmmain::menucarinClick},
    {"menucarout", "&O.车辆销售", &Tfrmmain::menucaroutClick},
    {"menucarinf", "&F.车辆入库库存查询", &Tfrmmain::menucarinfClick},
    {"menucaroutf", "&L.车辆销售查询", &Tfrmmain::menucaroutfClick},
    {"menuprovback", "&P.向供应商退货", &Tfrmmain::menuprovbackClick},
    {"menucustback", "&C.客户退货", &Tfrmmain::menucustbackClick},
    {"menuprovbackf", "&K.供应商退货查询", &Tfrmmain::menuprovbackfClick},
    {"menuprovpre", "&P.采购支付", &Tfrmmain::menuprovpreClick},
    {"menuprovhsh", "&I.入库财务核实", &Tfrmmain::menuprovhshClick},
    {"menuprovcom", "&D.供应商对帐", &Tfrmmain::menuprovcomClick},
    {"menucustpre", "&C.客户预付款", &Tfrmmain::menucustpreClick},
    {"menucusthsh", "&O.销售财务核实", &Tfrmmain::menucusthshClick},
    {"menucustcom", "&Z.客户对帐", &Tfrmmain::menucustcomClick},
    {"menuprovf", "&W.供应商帐目查询", &Tfrmmain::menuprovfClick},
    {"menucustf", "&Y.客户帐目查询", &Tfrmmain::menucustfClick},
    {"menubuyout", "&L.采购直接成本管理", &Tfrmmain::menubuyoutClick},
    {"menusalesrep", "&J.业务员业绩报表", &Tfrmmain::menusalesrepClick},
    {"menusalerep", "&S.销售业绩统计", &Tfrmmain::menusalerepClick},
    {"menutaxrep", "&T.报税表", &Tfrmmain::menutaxrepClick},
    {"menucompany", "&B.本公司信息注册", &Tfrmmain::menucompanyClick},
    {"menuprovlog", "&P.供应商信息注册", &Tfrmmain::menuprovlogClick},
    {"menucustlog", "&C.客户信息注册", &Tfrmmain::menucustlogClick},
    {"menuperson", "&E.人事信息登记", &Tfrmmain::menupersonClick},
    {"menurights", "&R.权限设置", &Tfrmmain::menurightsClick},
    {"menuarea", "&A.地区设置", &Tfrmmain::menuareaClick},
    {"menuconttype", "&T.合同类型设置", &Tfrmmain::menuconttypeClick},
    {"menucost", "&M.费用类型设置", &Tfrmmain::menucostClick},
    {"menutype", "&Y.车辆类型设置", &Tfrmmain::menutypeClick},
    {"menumodel", "&O.车辆型号设置", &Tfrmmain::menumodelClick},
};
constexpr int RightsPositions = int(std::size(rightsItems));
static_assert(RightsPositions == Rights::Positions);

// The rights-bound menus: their positions in order, 0 for a separator.
struct RightsMenu {
    const char *name;
    const char *caption;
    std::initializer_list<int> positions;
};
const RightsMenu rightsMenus[] = {
    {"menu2", "&C.合同管理", {1, 2, 0, 3, 4, 0, 5, 6}},
    {"menu3", "&M.进销存管理", {7, 8, 0, 9, 10, 0, 11, 12, 13}},
    {"menu4", "&F.财务管理", {14, 15, 16, 0, 17, 18, 19, 0, 20, 21, 22}},
    {"menu5", "&L.查询报表", {23, 24, 25}},
    {"menu6", "&I.基本信息管理", {26, 27, 28, 0, 29, 30, 0, 31, 32, 33, 34, 35}},
};

QMenu *addMenu(QMenuBar *bar, const char *name, const QString &caption)
{
    QMenu *menu = bar->addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

} // namespace

Tfrmmain::Tfrmmain(QWidget *parent) : QMainWindow(parent), mdiArea(new QMdiArea(this))
{
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(QStringLiteral("岚峰汽车整车销售管理系统 1.0"));
    setWindowIcon(QIcon(Pictures::programIcon()));
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    mdiArea->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(mdiArea);
    // Ctrl+F4 closes the active window on every platform, not only where it
    // is the platform's own close key (there the windows' frames have it, and
    // a second one would make the key ambiguous).
    const QKeySequence ctrlF4(Qt::CTRL | Qt::Key_F4);
    if (!QKeySequence::keyBindings(QKeySequence::Close).contains(ctrlF4)) {
        auto *closeKey = new QShortcut(ctrlF4, mdiArea);
        closeKey->setContext(Qt::WidgetWithChildrenShortcut);
        connect(closeKey, &QShortcut::activated, mdiArea, &QMdiArea::closeActiveSubWindow);
    }
    buildMenus();
    buildSpeedBar();
    setWindowState(Qt::WindowMaximized);
}

QAction *Tfrmmain::addItem(QMenu *menu, const char *name, const QString &caption,
                           void (Tfrmmain::*handler)())
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    if (handler)
        connect(a, &QAction::triggered, this, handler);
    return a;
}

void Tfrmmain::buildMenus()
{
    QMenuBar *bar = menuBar();

    QMenu *menu1 = addMenu(bar, "menu1", QStringLiteral("&S.系统管理"));
    m_syslogin = addItem(menu1, "syslogin", QStringLiteral("&I.登录"), &Tfrmmain::sysloginClick);
    m_syslogin->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    QAction *syslogout =
        addItem(menu1, "syslogout", QStringLiteral("&O.注销"), &Tfrmmain::syslogoutClick);
    syslogout->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    QAction *chgpass = addItem(menu1, "chgpass", QStringLiteral("&C.更改密码"), &Tfrmmain::chgpassClick);
    menu1->addSeparator();
    QMenu *datamanage = menu1->addMenu(QStringLiteral("&D.数据管理"));
    datamanage->setObjectName(QStringLiteral("datamanage"));
    datamanage->menuAction()->setObjectName(QStringLiteral("datamanage"));
    // Backup, restore and tidying carry no action.
    m_accountItems = {syslogout, chgpass, datamanage->menuAction(),
                      addItem(datamanage, "databackup", QStringLiteral("&B.数据备份")),
                      addItem(datamanage, "datarestore", QStringLiteral("&R.数据恢复")),
                      addItem(datamanage, "datadeal", QStringLiteral("&M.数据整理")),
                      addItem(datamanage, "I1", QStringLiteral("&I.数据初始化"), &Tfrmmain::I1Click)};
    menu1->addSeparator();
    addItem(menu1, "sysexit", QStringLiteral("&X.退出"), &Tfrmmain::sysexitClick);

    m_rightsItems.resize(RightsPositions);
    for (const RightsMenu &rm : rightsMenus) {
        QMenu *menu = addMenu(bar, rm.name, QString::fromUtf8(rm.caption));
        for (int p : rm.positions) {
            if (p == 0) {
                menu->addSeparator();
                continue;
            }
            const RightsItem &item = rightsItems[p - 1];
            m_rightsItems[p - 1] = addItem(menu, item.name, QString::fromUtf8(item.caption), item.click);
        }
    }

    QMenu *menu7 = addMenu(bar, "menu7", QStringLiteral("&W.窗口"));
    addItem(menu7, "menuh1", QStringLiteral("&H.水平平铺"), &Tfrmmain::menuh1Click);
    addItem(menu7, "menuv1", QStringLiteral("&V.垂直平铺"), &Tfrmmain::menuv1Click);
    addItem(menu7, "menuc1", QStringLiteral("&C.层叠"), &Tfrmmain::menuc1Click);
    addItem(menu7, "menua1", QStringLiteral("&A.排列图标"), &Tfrmmain::menua1Click);

    QMenu *menu8 = addMenu(bar, "menu8", QStringLiteral("&H.帮助"));
    addItem(menu8, "menuhelp", QStringLiteral("&H.帮助"));
    addItem(menu8, "menusoft", QStringLiteral("&A.关于本软件 "), &Tfrmmain::menusoftClick);
}

QToolButton *Tfrmmain::addSpeedItem(const char *name, const QString &caption, const QString &hint,
                                    const QString &glyph, const QColor &colour,
                                    void (Tfrmmain::*handler)())
{
    QToolButton *b = SpeedBar1->addItem(QLatin1String(name), hint, caption);
    b->setStatusTip(hint);
    b->setIcon(QIcon(Pictures::glyph(colour, glyph)));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    connect(b, &QToolButton::clicked, this, handler);
    return b;
}

void Tfrmmain::buildSpeedBar()
{
    SpeedBar1 = new SpeedBar(this);
    SpeedBar1->setWindowTitle(QStringLiteral("系统"));
    SpeedBar1->setIconSize(QSize(32, 32));
    addToolBar(SpeedBar1);
    const QColor account(0x2f, 0x7d, 0x32), stock(0x1f, 0x6f, 0xb5), leave(0xb7, 0x1c, 0x1c);
    struct Speed {
        QToolButton **button;
        const char *name, *caption, *hint, *glyph;
        QColor colour;
        void (Tfrmmain::*click)();
    };
    const Speed items[] = {
        {&SpeedItem1, "SpeedItem1", "登录", "登录", "登", account, &Tfrmmain::sysloginClick},
        {&SpeedItem2, "SpeedItem2", "注销", "注销", "注", account, &Tfrmmain::syslogoutClick},
        {&SpeedItem13, "SpeedItem13", "改口令", "更改口令", "令", account, &Tfrmmain::chgpassClick},
        {&SpeedItem4, "SpeedItem4", "入库", "车辆入库", "入", stock, &Tfrmmain::menucarinClick},
        {&SpeedItem7, "SpeedItem7", "出库", "车辆出库", "出", stock, &Tfrmmain::menucaroutClick},
        {&SpeedItem3, "SpeedItem3", "退出", "退出", "退", leave, &Tfrmmain::sysexitClick},
    };
    for (const Speed &it : items)
        *it.button = addSpeedItem(it.name, QString::fromUtf8(it.caption), QString::fromUtf8(it.hint),
                                  QString::fromUtf8(it.glyph), it.colour, it.click);
}

// ---------------------------------------------------------------- rights

void Tfrmmain::ApplyRights(bool granted)
{
    QString text;
    const DataSet *tright = frmDMcarsales ? frmDMcarsales->tright : nullptr;
    if (tright && tright->isActive() && !tright->isEmpty())
        text = tright->value(QStringLiteral("rights")).toString();
    const QList<bool> rights = Rights::granted(text);

    for (int p = 1; p <= RightsPositions; ++p)
        m_rightsItems.at(p - 1)->setEnabled(granted && rights.at(p - 1));
    SpeedItem4->setEnabled(m_rightsItems.at(7 - 1)->isEnabled());
    SpeedItem7->setEnabled(m_rightsItems.at(8 - 1)->isEnabled());

    for (QAction *a : std::as_const(m_accountItems))
        a->setEnabled(granted);
    SpeedItem2->setEnabled(granted);
    SpeedItem13->setEnabled(granted);
}

// ---------------------------------------------------------------- start-up, login, logout

void Tfrmmain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Not on activation: without a window manager the window may never become
    // active. The sequence runs after the event so that its modal dialogs do
    // not nest in it; showing the window again does not run it again.
    if (m_startUp == StartUp::NotShown) {
        m_startUp = StartUp::Due;
        QTimer::singleShot(0, this, &Tfrmmain::FormActivate);
    }
}

void Tfrmmain::FormActivate()
{
    if (m_startUp == StartUp::Done)
        return;
    m_startUp = StartUp::Done;
    setLoginBusy(true); // no login of its own while the splash stands
    {
        Tfrm_logo splash(this);
        execModal(splash);
    }
    const Login result = runLogin();
    if (result == Login::Cancelled)
        close();
    else
        ApplyRights(result == Login::LoggedIn);
}

// While the start-up sequence or a login runs, the login command starts no
// second login. Its dialogs are modal, but where no window manager hands them
// the keyboard the main window's shortcut can still fire.
void Tfrmmain::setLoginBusy(bool busy)
{
    m_loginBusy = busy;
    m_syslogin->setEnabled(!busy);
    SpeedItem1->setEnabled(!busy);
}

Tfrmmain::Login Tfrmmain::runLogin()
{
    setLoginBusy(true);
    const auto idle = qScopeGuard([this] { setLoginBusy(false); });
    Tflogin flogin(this);
    if (execModal(flogin) != QDialog::Accepted)
        return Login::Cancelled;
    // The personnel list is read again, so that a person added since the
    // start logs in with their own row and rights.
    bool found = false;
    guard(
        [&] {
            frmDMcarsales->trsk->refresh();
            found = frmDMcarsales->trsk->locate(QStringLiteral("personnelid"), flogin.code());
            if (found)
                frmDMcarsales->tright->refresh();
        },
        this);
    return found ? Login::LoggedIn : Login::NotFound;
}

void Tfrmmain::sysloginClick()
{
    if (m_loginBusy)
        return;
    if (runLogin() == Login::LoggedIn)
        ApplyRights(true);
}

void Tfrmmain::syslogoutClick()
{
    if (!Msg::okCancel(QStringLiteral("确实注销?"), this))
        return;
    // A window that keeps its unsaved input open keeps its user logged in.
    if (!closeChildren())
        return;
    ApplyRights(false);
}

void Tfrmmain::chgpassClick()
{
    Tfchngpw fchngpw(this);
    execModal(fchngpw);
}

void Tfrmmain::sysexitClick() { close(); }

void Tfrmmain::closeEvent(QCloseEvent *event)
{
    if (closeChildren())
        event->accept();
    else
        event->ignore();
}

bool Tfrmmain::closeChildren()
{
    for (QMdiSubWindow *sub : mdiArea->subWindowList(QMdiArea::CreationOrder))
        if (!sub->close())
            return false;
    return true;
}

void Tfrmmain::I1Click()
{
    // No window may go on showing rows that the initialisation empties.
    Tfinitial finitial(this, [this] { return closeChildren(); });
    execModal(finitial);
}

void Tfrmmain::menusoftClick()
{
    Tx_AboutBox x_AboutBox(this);
    execModal(x_AboutBox);
}

// ---------------------------------------------------------------- child windows

void Tfrmmain::adopt(ChildForm *child)
{
    QMdiSubWindow *sub = mdiArea->addSubWindow(child);
    // A window that closes itself takes its frame in the document area with it.
    connect(child, &QObject::destroyed, sub, &QObject::deleteLater);
}

void Tfrmmain::showChild(ChildForm *child)
{
    auto *sub = qobject_cast<QMdiSubWindow *>(child->parentWidget());
    if (!sub)
        return;
    if (sub->isMinimized())
        sub->showNormal();
    sub->show();
    child->show();
    mdiArea->setActiveSubWindow(sub);
    sub->raise();
    child->takeFocus();
}

void Tfrmmain::tile(Qt::Orientation orientation)
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *sub : mdiArea->subWindowList(QMdiArea::StackingOrder))
        if (sub->isVisible() && !sub->isMinimized())
            windows << sub;
    if (windows.isEmpty())
        return;
    const QRect area = mdiArea->viewport()->rect();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow *sub = windows.at(i);
        if (sub->isMaximized())
            sub->showNormal();
        // Horizontal: one strip under the other across the whole width.
        if (orientation == Qt::Horizontal)
            sub->setGeometry(0, area.height() * i / n, area.width(),
                             area.height() * (i + 1) / n - area.height() * i / n);
        else
            sub->setGeometry(area.width() * i / n, 0,
                             area.width() * (i + 1) / n - area.width() * i / n, area.height());
    }
}

void Tfrmmain::menuh1Click() { tile(Qt::Horizontal); }
void Tfrmmain::menuv1Click() { tile(Qt::Vertical); }
void Tfrmmain::menuc1Click() { mdiArea->cascadeSubWindows(); }

void Tfrmmain::menua1Click()
{
    // Minimised windows in a row along the bottom of the area.
    const QRect area = mdiArea->viewport()->rect();
    int x = 0, y = -1;
    for (QMdiSubWindow *sub : mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!sub->isMinimized())
            continue;
        const QSize s = sub->size();
        if (y < 0)
            y = area.height() - s.height();
        if (x > 0 && x + s.width() > area.width()) {
            x = 0;
            y -= s.height();
        }
        sub->move(x, y);
        x += s.width();
    }
}

// The business windows: each item opens its window here when it lands, as
// openChild<Tfconttype>(fconttype). Until then the item opens nothing.
void Tfrmmain::buycontClick() { openChild<Tfbuycont>(fbuycont); }
void Tfrmmain::salecontClick() { openChild<Tfsalecont>(fsalecont); }
void Tfrmmain::buycontchgClick() { openChild<Tfbuycontchg>(fbuycontchg); }
void Tfrmmain::salecontchgClick() { openChild<Tfsalecontchg>(fsalecontchg); }
void Tfrmmain::buycontfindClick() { openChild<Tfbuycontsele>(fbuycontsele); }
void Tfrmmain::salecontfindClick() { openChild<Tfsalecontsele>(fsalecontsele); }
void Tfrmmain::menucarinClick()
{
    if (auto *w = openChild<Tfcarin>(fcarin))
        connect(w, &Tfcarin::directCostsRequested, this, &Tfrmmain::menubuyoutClick, Qt::UniqueConnection);
}
void Tfrmmain::menucaroutClick() { openChild<Tfcarout>(fcarout); }
void Tfrmmain::menucarinfClick() { openChild<Tfcarinsele>(fcarinsele); }
void Tfrmmain::menucaroutfClick() { openChild<Tfcaroutsele>(fcaroutsele); }
void Tfrmmain::menuprovbackClick() { openChild<Tfbackprov>(fbackprov); }
void Tfrmmain::menucustbackClick() { openChild<Tfcustback>(fcustback); }
void Tfrmmain::menuprovbackfClick() { openChild<Tfbackprovsele>(fbackprovsele); }
void Tfrmmain::menuprovpreClick() { openChild<Tfbuyinout>(fbuyinout); }
void Tfrmmain::menuprovhshClick() { openChild<Tfcarincheck>(fcarincheck); }
void Tfrmmain::menuprovcomClick() { openChild<Tfprovcheck>(fprovcheck); }
void Tfrmmain::menucustpreClick() { openChild<Tfcustoutgo>(fcustoutgo); }
void Tfrmmain::menucusthshClick() { openChild<Tfcaroutcheck>(fcaroutcheck); }
void Tfrmmain::menucustcomClick() { openChild<Tfcustcheck>(fcustcheck); }
void Tfrmmain::menuprovfClick() { openChild<Tfprovaccountsele>(fprovaccountsele); }
void Tfrmmain::menucustfClick() { openChild<Tfcustaccountsele>(fcustaccountsele); }
void Tfrmmain::menubuyoutClick() { openChild<Tfinaddcost>(finaddcost); }
void Tfrmmain::menusalesrepClick() { openChild<Tfsalesyj>(fsalesyj); }
void Tfrmmain::menusalerepClick() { openChild<Tfsaleyjtj>(fsaleyjtj); }
void Tfrmmain::menutaxrepClick() { openChild<Tftax>(ftax); }
void Tfrmmain::menucompanyClick() { openChild<Tfbgsxx>(fbgsxx); }
void Tfrmmain::menuprovlogClick() { openChild<Tfprovxx>(fprovxx); }
void Tfrmmain::menucustlogClick() { openChild<Tfcustxx>(fcustxx); }
void Tfrmmain::menupersonClick() { openChild<Tfperson>(fperson); }
void Tfrmmain::menurightsClick()
{
    const bool made = !fSysRights;
    auto *w = openChild<TfSysRights>(fSysRights);
    if (made)
        connect(w, &TfSysRights::operatorRightsChanged, this, [this] { ApplyRights(true); });
}
void Tfrmmain::menuareaClick() { openChild<Tfarea>(farea); }
void Tfrmmain::menuconttypeClick() { openChild<Tfconttype>(fconttype); }
void Tfrmmain::menucostClick() { openChild<Tfsubject>(fsubject); }
void Tfrmmain::menutypeClick() { openChild<Tfcartype>(fcartype); }
void Tfrmmain::menumodelClick() { openChild<Tfmodel>(fmodel); }
