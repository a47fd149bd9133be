// The main window: its menus and speed bar, the rights they show, the windows
// its items open once each, exit and the window menu.
#include "ShellFixture.h"
#include "DMsales.h"
#include "Drive.h"
#include "Errors.h"
#include "TestDb.h"
#include "Ucarin.h"
#include "Uconttype.h"
#include "Uinaddcost.h"
#include "Ucustxx.h"
#include "Uperson.h"
#include "Uprovxx.h"
#include "Usalesyj.h"
#include "Usaleyjtj.h"
#include "Utax.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

namespace {

// A business window that cannot be made: its constructor fails.
class BrokenWindow : public ChildForm {
public:
    BrokenWindow()
    {
        new QLineEdit(this);
        throw AppError(QStringLiteral("窗口无法打开"));
    }
};

// A business window whose fields ask for more room once it is shown.
class GrowingWindow : public ChildForm {
public:
    GrowingWindow() : label(new QLabel("短", this))
    {
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(new QLineEdit(this));
        layout->addWidget(label);
    }
    QLabel *label;
};

// A menu item, the main window's slot of the window it opens, and its class.
using MenuWindow = std::tuple<const char *, QPointer<ChildForm> *, const char *>;

// Each item opens its window once, however often it is chosen, without a message.
void itemsOpenTheirWindows(const std::function<QList<MenuWindow>(Tfrmmain &)> &itemsOf)
{
    TestDb db;
    Tfrmmain frame;
    startAndLogin(frame);
    const QList<MenuWindow> items = itemsOf(frame);
    for (const auto &[name, slot, className] : items) {
        item(frame, name)->trigger();
        item(frame, name)->trigger(); // once only
        QVERIFY2(*slot, name);
        QCOMPARE((*slot)->metaObject()->className(), className);
    }
    QCOMPARE(frame.mdiArea->subWindowList().size(), items.size());
    QVERIFY(db.messages.messages.isEmpty());
    QVERIFY(frame.closeChildren());
}

// What a widget needs at least, as a layout grants it: a field that does
// not scroll its value (an edit, a drop-down, a date, a speed bar) the width
// it asks for.
QSize needs(const QWidget *w)
{
    QSize hint = w->minimumSizeHint();
    if (qobject_cast<const QLineEdit *>(w) || qobject_cast<const QComboBox *>(w)
        || qobject_cast<const QAbstractSpinBox *>(w) || qobject_cast<const QToolBar *>(w))
        hint.setWidth(qMax(hint.width(), w->sizeHint().width()));
    const QSize min = w->minimumSize();
    const QSizePolicy policy = w->sizePolicy();
    const bool wide = policy.horizontalPolicy() != QSizePolicy::Ignored;
    const bool high = policy.verticalPolicy() != QSizePolicy::Ignored;
    QSize need(wide ? qMax(min.width(), hint.width()) : min.width(),
               high ? qMax(min.height(), hint.height()) : min.height());
    return need.expandedTo({0, 0}).boundedTo(w->maximumSize());
}

// The window's own fields and labels shown now, not the parts of a field,
// nor the scroll area that holds them (if any) and what it scrolls.
QList<QWidget *> shownFields(ChildForm *w, QScrollArea *area)
{
    QList<QWidget *> fields;
    for (QWidget *f : w->findChildren<QWidget *>()) {
        if (!f->isVisible() || f->isWindow()
            || (!qobject_cast<QLabel *>(f) && (f->objectName().isEmpty() || f->objectName().startsWith("qt_")))
            || (area && (f == area->widget() || !area->widget()->isAncestorOf(f))))
            continue;
        bool part = false;
        for (QWidget *p = f->parentWidget(); p && p != w && p != area && !part; p = p->parentWidget())
            part = qobject_cast<QAbstractScrollArea *>(p) || qobject_cast<QComboBox *>(p)
                || qobject_cast<QAbstractSpinBox *>(p) || qobject_cast<QTabBar *>(p);
        if (!part)
            fields << f;
    }
    return fields;
}

// The visible part of a field, in the window's coordinates.
QRect inWindow(const QWidget *f, const ChildForm *w)
{
    return QRect(f->mapTo(w, QPoint(0, 0)), f->size());
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void init() { TestWindow::closed.clear(); }
    // A dialog that never came up is not answered in the next test.
    void cleanup() { qDeleteAll(qApp->findChildren<QTimer *>("modalPoll")); }

    // Main window and rights
    void menusAndSpeedBar();
    void applyRights_data();
    void applyRights();

    // Window registry and exit
    void registryOpensOnceAndKeepsInput();
    void openedWindowTakesItsSpeedKeys();
    void contractItemsOpenTheirWindows();
    void stockItemsOpenTheirWindows();
    void returnItemsOpenTheirWindows();
    void accountQueryItemsOpenTheirWindows();
    void saleFinanceAndStatisticsItemsOpenTheirWindows();
    void windowThatCannotBeMadeLeavesTheProgramRunning();
    void exitAsksChildrenInOrder();
    void windowMenuArranges();
    void shrunkWindowKeepsItsFields_data();
    void shrunkWindowKeepsItsFields();
    void openedWindowFollowsItsFields();
};

// ---------------------------------------------------------------- main window

void TestMainWindow::menusAndSpeedBar()
{
    TestDb db;
    Tfrmmain frame;
    QCOMPARE(frame.windowTitle(), QStringLiteral("岚峰汽车整车销售管理系统 1.0"));
    QVERIFY(frame.windowState() & Qt::WindowMaximized);

    // Every menu in order, "-" for a separator, a submenu by its own name.
    const QList<QPair<QString, QString>> menus{
        {"&S.系统管理", "syslogin syslogout chgpass - datamanage - sysexit"},
        {"&C.合同管理", "buycont salecont - buycontchg salecontchg - buycontfind salecontfind"},
        {"&M.进销存管理", "menucarin menucarout - menucarinf menucaroutf - menuprovback "
                          "menucustback menuprovbackf"},
        {"&F.财务管理", "menuprovpre menuprovhsh menuprovcom - menucustpre menucusthsh "
                        "menucustcom - menuprovf menucustf menubuyout"},
        {"&L.查询报表", "menusalesrep menusalerep menutaxrep"},
        {"&I.基本信息管理", "menucompany menuprovlog menucustlog - menuperson menurights - "
                            "menuarea menuconttype menucost menutype menumodel"},
        {"&W.窗口", "menuh1 menuv1 menuc1 menua1"},
        {"&H.帮助", "menuhelp menusoft"},
    };
    const QList<QAction *> bar = frame.menuBar()->actions();
    QCOMPARE(bar.size(), menus.size());
    for (int m = 0; m < menus.size(); ++m) {
        QCOMPARE(bar.at(m)->text(), menus.at(m).first);
        QCOMPARE(bar.at(m)->objectName(), QStringLiteral("menu%1").arg(m + 1));
        QStringList names;
        for (QAction *a : bar.at(m)->menu()->actions())
            names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        QCOMPARE(names.join(' '), menus.at(m).second);
    }
    QStringList sub;
    for (QAction *a : item(frame, "datamanage")->menu()->actions())
        sub << a->objectName() + "=" + a->text();
    QCOMPARE(sub, QStringList({"databackup=&B.数据备份", "datarestore=&R.数据恢复",
                               "datadeal=&M.数据整理", "I1=&I.数据初始化"}));

    QCOMPARE(item(frame, "syslogin")->shortcut(), QKeySequence("Ctrl+I"));
    QCOMPARE(item(frame, "syslogout")->shortcut(), QKeySequence("Ctrl+O"));
    QCOMPARE(item(frame, "sysexit")->text(), QStringLiteral("&X.退出"));
    QCOMPARE(item(frame, "menucarin")->text(), QStringLiteral("&I.车辆入库"));
    QCOMPARE(item(frame, "menumodel")->text(), QStringLiteral("&O.车辆型号设置"));
    QCOMPARE(item(frame, "menusoft")->text(), QStringLiteral("&A.关于本软件 "));

    const QStringList speed{"SpeedItem1=登录=登录", "SpeedItem2=注销=注销",
                            "SpeedItem13=改口令=更改口令", "SpeedItem4=入库=车辆入库",
                            "SpeedItem7=出库=车辆出库", "SpeedItem3=退出=退出"};
    QStringList got;
    for (QToolButton *b : frame.SpeedBar1->findChildren<QToolButton *>(
             QRegularExpression("^SpeedItem"))) {
        got << b->objectName() + "=" + b->text() + "=" + b->toolTip();
        QCOMPARE(b->focusPolicy(), Qt::NoFocus);
    }
    QCOMPARE(got, speed);
    QCOMPARE(frame.SpeedBar1->windowTitle(), QStringLiteral("系统"));
}

void TestMainWindow::applyRights_data()
{
    QTest::addColumn<QVariant>("rights");
    QTest::addColumn<bool>("granted");
    QTest::addColumn<QList<int>>("enabled");
    QTest::newRow("a single 1 at 1") << QVariant("1" + QString(39, '0')) << true << QList<int>{1};
    QTest::newRow("1 at 7 and 8")
        << QVariant("000000110" + QString(31, '0')) << true << QList<int>{7, 8};
    QTest::newRow("20 characters") << QVariant(QString(20, '1')) << true << range(1, 20);
    QTest::newRow("null") << QVariant() << true << QList<int>{};
    QTest::newRow("letters and blanks")
        << QVariant("1a1 1Y" + QString(29, '1') + "11111") << true
        << (QList<int>{1, 3, 5} + range(7, 35));
    // A character outside the basic plane is one position, as any other.
    QTest::newRow("U+1F600 at 1")
        << QVariant(QString::fromUcs4(U"\U0001F600") + QString(34, '1') + "00000") << true
        << range(2, 35);
    QTest::newRow("U+1F600 at 35")
        << QVariant(QString(34, '1') + QString::fromUcs4(U"\U0001F600") + "00000") << true
        << range(1, 34);
    QTest::newRow("two of them before a 1")
        << QVariant(QString::fromUcs4(U"\U0001F600\U00020000") + "1" + QString(37, '0')) << true
        << QList<int>{3};
    QTest::newRow("Chinese and U+20000")
        << QVariant(QString::fromUcs4(U"中1\U00020000") + QString(32, '1') + "00000") << true
        << (QList<int>{2} + range(4, 35));
    QTest::newRow("all granted") << QVariant(QString(40, '1')) << true << range(1, 35);
    QTest::newRow("not granted") << QVariant(QString(40, '1')) << false << QList<int>{};
}

void TestMainWindow::applyRights()
{
    QFETCH(QVariant, rights);
    QFETCH(bool, granted);
    QFETCH(QList<int>, enabled);
    TestDb db;
    Tfrmmain frame;
    setRights(db, "admin", rights);
    db.dm->tright->refresh();
    frame.ApplyRights(granted);

    QCOMPARE(enabledPositions(frame), enabled);
    QCOMPARE(frame.SpeedItem4->isEnabled(), enabled.contains(7));
    QCOMPARE(frame.SpeedItem7->isEnabled(), enabled.contains(8));
    for (const QString &name : accountItems)
        QVERIFY2(item(frame, name)->isEnabled() == granted, qPrintable(name));
    QCOMPARE(frame.SpeedItem2->isEnabled(), granted);
    QCOMPARE(frame.SpeedItem13->isEnabled(), granted);
    for (const QString &name : alwaysItems)
        QVERIFY2(item(frame, name)->isEnabled(), qPrintable(name));
    QVERIFY(frame.SpeedItem1->isEnabled());
    QVERIFY(frame.SpeedItem3->isEnabled());
    for (QAction *menu : frame.menuBar()->actions())
        QVERIFY(menu->isEnabled());
}

// ---------------------------------------------------------------- registry and exit

void TestMainWindow::openedWindowTakesItsSpeedKeys()
{
    // Opened from the menu, before any of its fields can take the focus, a
    // window already answers Alt and the place of its speed buttons.
    TestDb db;
    Tfrmmain frame;
    startAndLogin(frame);
    QApplication::setActiveWindow(&frame);
    item(frame, "salecont")->trigger();
    QVERIFY(frame.fsalecont);
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus && (focus == frame.fsalecont || frame.fsalecont->isAncestorOf(focus)));
    QTest::keyClick(focus, Qt::Key_1, Qt::AltModifier); // 增加合同
    QCOMPARE(db.count("csalecontract"), 1);
}

void TestMainWindow::registryOpensOnceAndKeepsInput()
{
    TestDb db;
    Tfrmmain frame;
    startAndLogin(frame);
    QPointer<ChildForm> fone, ftwo;
    TestWindow *one = frame.openChild<TestWindow>(fone);
    QCOMPARE(fone.data(), one);
    QTest::keyClicks(one->edit, "kept");
    TestWindow *two = frame.openChild<TestWindow>(ftwo);
    QCOMPARE(frame.mdiArea->activeSubWindow()->widget(), two);

    QCOMPARE(frame.openChild<TestWindow>(fone), one);
    QCOMPARE(frame.mdiArea->subWindowList().size(), 2);
    QCOMPARE(frame.mdiArea->activeSubWindow()->widget(), one);
    QCOMPARE(one->edit->text(), QStringLiteral("kept"));

    // A minimised window comes back.
    frame.mdiArea->activeSubWindow()->showMinimized();
    frame.openChild<TestWindow>(fone);
    QVERIFY(!one->parentWidget()->isMinimized());

    // Closing frees the window and empties its slot; the next open makes a new one.
    one->parentWidget()->close();
    QTRY_VERIFY(!fone);
    QCOMPARE(frame.mdiArea->subWindowList().size(), 1);
    two->close();
    QTRY_VERIFY(!ftwo);
    QTRY_COMPARE(frame.mdiArea->subWindowList().size(), 0);
    QVERIFY(frame.openChild<TestWindow>(fone)->edit->text().isEmpty());

    // An item whose window has not landed opens nothing; a wired one opens its window once.
    item(frame, "databackup")->trigger();
    QCOMPARE(frame.mdiArea->subWindowList().size(), 1);
    item(frame, "menuconttype")->trigger();
    item(frame, "menuconttype")->trigger();
    QCOMPARE(frame.mdiArea->subWindowList().size(), 2);
    QVERIFY(qobject_cast<Tfconttype *>(frame.fconttype.data()));

    // The registers open from the basic-data menu.
    item(frame, "menucustlog")->trigger();
    item(frame, "menuprovlog")->trigger();
    item(frame, "menuperson")->trigger();
    QVERIFY(qobject_cast<Tfcustxx *>(frame.fcustxx.data()));
    QVERIFY(qobject_cast<Tfprovxx *>(frame.fprovxx.data()));
    QVERIFY(qobject_cast<Tfperson *>(frame.fperson.data()));
    QCOMPARE(frame.mdiArea->subWindowList().size(), 5);

    // The statistics open from the report menu.
    item(frame, "menusalesrep")->trigger();
    item(frame, "menusalerep")->trigger();
    item(frame, "menutaxrep")->trigger();
    QVERIFY(qobject_cast<Tfsalesyj *>(frame.fsalesyj.data()));
    QVERIFY(qobject_cast<Tfsaleyjtj *>(frame.fsaleyjtj.data()));
    QVERIFY(qobject_cast<Tftax *>(frame.ftax.data()));
    QCOMPARE(frame.mdiArea->subWindowList().size(), 8);
}

void TestMainWindow::stockItemsOpenTheirWindows()
{
    itemsOpenTheirWindows([](Tfrmmain &frame) -> QList<MenuWindow> {
        return {{"menucarin", &frame.fcarin, "Tfcarin"},
                {"menucarinf", &frame.fcarinsele, "Tfcarinsele"},
                {"menubuyout", &frame.finaddcost, "Tfinaddcost"}};
    });
    // The speed button opens the in-stock, whose 附加费 opens the one direct costs window.
    TestDb db;
    Tfrmmain frame;
    startAndLogin(frame);
    frame.SpeedItem4->click();
    auto *carin = qobject_cast<Tfcarin *>(frame.fcarin.data());
    QVERIFY(carin);
    carin->SpeedItem2->click();
    carin->SpeedItem2->click();
    QVERIFY(qobject_cast<Tfinaddcost *>(frame.finaddcost.data()));
    QCOMPARE(frame.mdiArea->subWindowList().size(), 2);
}

void TestMainWindow::saleFinanceAndStatisticsItemsOpenTheirWindows()
{
    itemsOpenTheirWindows([](Tfrmmain &frame) -> QList<MenuWindow> {
        return {{"menucarout", &frame.fcarout, "Tfcarout"},
                {"menucaroutf", &frame.fcaroutsele, "Tfcaroutsele"},
                {"menuprovpre", &frame.fbuyinout, "Tfbuyinout"},
                {"menuprovhsh", &frame.fcarincheck, "Tfcarincheck"},
                {"menuprovcom", &frame.fprovcheck, "Tfprovcheck"},
                {"menucustpre", &frame.fcustoutgo, "Tfcustoutgo"},
                {"menucusthsh", &frame.fcaroutcheck, "Tfcaroutcheck"},
                {"menucustcom", &frame.fcustcheck, "Tfcustcheck"},
                {"menusalesrep", &frame.fsalesyj, "Tfsalesyj"},
                {"menusalerep", &frame.fsaleyjtj, "Tfsaleyjtj"},
                {"menutaxrep", &frame.ftax, "Tftax"}};
    });
}

void TestMainWindow::contractItemsOpenTheirWindows()
{
    itemsOpenTheirWindows([](Tfrmmain &frame) -> QList<MenuWindow> {
        return {{"buycontchg", &frame.fbuycontchg, "Tfbuycontchg"},
                {"salecontchg", &frame.fsalecontchg, "Tfsalecontchg"},
                {"buycontfind", &frame.fbuycontsele, "Tfbuycontsele"},
                {"salecontfind", &frame.fsalecontsele, "Tfsalecontsele"}};
    });
}

void TestMainWindow::returnItemsOpenTheirWindows()
{
    itemsOpenTheirWindows([](Tfrmmain &frame) -> QList<MenuWindow> {
        return {{"menuprovback", &frame.fbackprov, "Tfbackprov"},
                {"menucustback", &frame.fcustback, "Tfcustback"},
                {"menuprovbackf", &frame.fbackprovsele, "Tfbackprovsele"}};
    });
}

void TestMainWindow::accountQueryItemsOpenTheirWindows()
{
    itemsOpenTheirWindows([](Tfrmmain &frame) -> QList<MenuWindow> {
        return {{"menuprovf", &frame.fprovaccountsele, "Tfprovaccountsele"},
                {"menucustf", &frame.fcustaccountsele, "Tfcustaccountsele"}};
    });
}

void TestMainWindow::windowThatCannotBeMadeLeavesTheProgramRunning()
{
    TestDb db;
    Tfrmmain frame;
    startAndLogin(frame);
    QPointer<ChildForm> broken, fine;
    QCOMPARE(frame.openChild<BrokenWindow>(broken), nullptr);
    QVERIFY(!broken);
    QCOMPARE(db.messages.texts(), QStringList{"窗口无法打开"});
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Error);
    QVERIFY(frame.mdiArea->subWindowList().isEmpty());

    // The program goes on: other windows open, and this one is tried again.
    QVERIFY(frame.openChild<TestWindow>(fine));
    QCOMPARE(frame.mdiArea->subWindowList().size(), 1);
    QCOMPARE(frame.openChild<BrokenWindow>(broken), nullptr);
    QCOMPARE(db.messages.messages.size(), 2);
    QVERIFY(frame.isVisible());
}

void TestMainWindow::exitAsksChildrenInOrder()
{
    TestDb db;
    Tfrmmain frame;
    startAndLogin(frame);
    QPointer<ChildForm> a, b, c;
    frame.openChild<TestWindow>(a)->edit->setText("a");
    auto *wb = frame.openChild<TestWindow>(b);
    wb->edit->setText("b");
    wb->refuse = true;
    frame.openChild<TestWindow>(c)->edit->setText("c");
    frame.openChild<TestWindow>(a); // stacking order differs from the order of opening

    frame.SpeedItem3->click();
    QVERIFY(frame.isVisible());
    QCOMPARE(TestWindow::closed, QStringList{"a"});
    QVERIFY(b && c);

    wb->refuse = false;
    item(frame, "sysexit")->trigger();
    QCOMPARE(TestWindow::closed, QStringList({"a", "b", "c"}));
    QVERIFY(!frame.isVisible());
    QVERIFY(db.messages.messages.isEmpty()); // the frame itself asks nothing
}

void TestMainWindow::windowMenuArranges()
{
    TestDb db;
    Tfrmmain frame;
    startAndLogin(frame);
    QPointer<ChildForm> a, b;
    frame.openChild<TestWindow>(a);
    frame.openChild<TestWindow>(b);
    const QRect area = frame.mdiArea->viewport()->rect();
    QMdiSubWindow *sa = frame.mdiArea->subWindowList(QMdiArea::CreationOrder).at(0);
    QMdiSubWindow *sb = frame.mdiArea->subWindowList(QMdiArea::CreationOrder).at(1);

    item(frame, "menuh1")->trigger();
    QCOMPARE(sa->width(), area.width());
    QCOMPARE(sb->width(), area.width());
    QCOMPARE(sa->height() + sb->height(), area.height());
    QVERIFY(sa->y() != sb->y());

    item(frame, "menuv1")->trigger();
    QCOMPARE(sa->height(), area.height());
    QCOMPARE(sa->width() + sb->width(), area.width());
    QVERIFY(sa->x() != sb->x());

    item(frame, "menuc1")->trigger();
    QVERIFY(sa->pos() != sb->pos());

    sa->showMinimized();
    sb->showMinimized();
    item(frame, "menua1")->trigger();
    QCOMPARE(sa->geometry().bottom(), area.bottom());
    QCOMPARE(sb->x(), sa->x() + sa->width());
}

void TestMainWindow::shrunkWindowKeepsItsFields_data()
{
    QTest::addColumn<QString>("menuItem");
    QTest::addColumn<QString>("button"); // pressed in the window opened: the window it opens
    for (const QString &name : rightsItems)
        QTest::newRow(qPrintable(name)) << name << QString();
    QTest::newRow("menucarout SpeedItem2") << "menucarout" << "SpeedItem2";
    QTest::newRow("menucustpre SpeedItem2") << "menucustpre" << "SpeedItem2";
}

// A window made smaller than its fields (by the window menu's tiling or a
// frame dragged) keeps every field at the size it needs, side by side, and
// shows scroll bars that reach every field.
void TestMainWindow::shrunkWindowKeepsItsFields()
{
    QFETCH(QString, menuItem);
    QFETCH(QString, button);
    TestDb db;
    Tfrmmain frame;
    startAndLogin(frame);
    item(frame, menuItem)->trigger();
    QMdiSubWindow *sub = frame.mdiArea->activeSubWindow();
    QVERIFY(sub);
    auto *w = qobject_cast<ChildForm *>(sub->widget());
    QVERIFY(w);
    QWidget *outer = sub;
    if (!button.isEmpty()) {
        auto childForms = [] {
            QSet<ChildForm *> all;
            for (QWidget *x : QApplication::allWidgets())
                if (auto *c = qobject_cast<ChildForm *>(x))
                    all << c;
            return all;
        };
        const QSet<ChildForm *> before = childForms();
        QVERIFY(Drive::press(w, qPrintable(button)));
        const QSet<ChildForm *> opened = childForms() - before;
        QCOMPARE(opened.size(), 1);
        w = *opened.begin();
        outer = w->isWindow() ? static_cast<QWidget *>(w) : w->parentWidget();
    }
    const QSize hint = outer->sizeHint();
    outer->resize(hint);
    QCoreApplication::processEvents();
    // The window's scroll area, where its fields stand.
    auto *area = w->findChild<QScrollArea *>(QString(), Qt::FindDirectChildrenOnly);
    if (area)
        QVERIFY2(!area->horizontalScrollBar()->isVisible() && !area->verticalScrollBar()->isVisible(),
                 "scroll bars where the fields have their room");

    outer->resize(hint / 3);
    QCoreApplication::processEvents();
    const QList<QWidget *> fields = shownFields(w, area);
    QVERIFY(fields.size() > 1);
    for (QWidget *f : fields) {
        const QSize need = needs(f);
        QVERIFY2(f->width() >= need.width() && f->height() >= need.height(),
                 qPrintable(QString("%1 %2: %3x%4, needs %5x%6").arg(f->metaObject()->className(), f->objectName())
                                .arg(f->width()).arg(f->height()).arg(need.width()).arg(need.height())));
        for (QWidget *g : fields)
            if (g != f && g->parentWidget() == f->parentWidget())
                QVERIFY2(!f->geometry().intersects(g->geometry()),
                         qPrintable(QString("%1 %2 overlaps %3 %4")
                                        .arg(f->metaObject()->className(), f->objectName(),
                                             g->metaObject()->className(), g->objectName())));
    }

    // The scroll bars reach the fields cut off.
    QVERIFY(area);
    const QRect shown = QRect(area->viewport()->mapTo(w, QPoint(0, 0)), area->viewport()->size());
    for (Qt::Orientation o : {Qt::Horizontal, Qt::Vertical}) {
        QScrollBar *bar = o == Qt::Horizontal ? area->horizontalScrollBar() : area->verticalScrollBar();
        auto end = [&](QWidget *f) {
            const QRect r = inWindow(f, w);
            return o == Qt::Horizontal ? r.right() - shown.right() : r.bottom() - shown.bottom();
        };
        int beyond = 0;
        for (QWidget *f : fields)
            beyond = qMax(beyond, end(f));
        QCOMPARE(bar->isVisible(), beyond > 0);
        bar->setValue(bar->maximum());
        for (QWidget *f : fields)
            QVERIFY2(end(f) <= 0, qPrintable(f->objectName()));
    }

    // A field cut off that takes the focus (by Enter, or the window's own
    // moves) is scrolled into view.
    QWidget *far = nullptr;
    area->horizontalScrollBar()->setValue(0);
    area->verticalScrollBar()->setValue(0);
    for (QWidget *f : fields)
        if (f->isEnabled() && (f->focusPolicy() & Qt::TabFocus) && !f->focusProxy()
            && !qobject_cast<QAbstractScrollArea *>(f) && !shown.contains(inWindow(f, w)))
            far = f;
    if (far) {
        far->setFocus();
        // As much of it as fits, from its start.
        QRect seen = inWindow(far, w);
        seen.setSize(seen.size().boundedTo(shown.size()));
        QVERIFY2(shown.contains(seen), qPrintable(far->objectName()));
    }
}

// A window's fields may ask for more room once shown (polished by the
// desktop's style and fonts): the window opened grows with them rather than
// open with scroll bars, until its frame is sized otherwise.
void TestMainWindow::openedWindowFollowsItsFields()
{
    TestDb db;
    Tfrmmain frame;
    startAndLogin(frame);
    QPointer<ChildForm> slot;
    auto *w = frame.openChild<GrowingWindow>(slot);
    QCoreApplication::processEvents();
    auto *area = w->findChild<QScrollArea *>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(area);
    auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget());
    const int opened = sub->width();
    w->label->setText(QString(60, QChar(0x957f)));
    QCoreApplication::processEvents();
    QTRY_VERIFY(sub->width() > opened && !area->horizontalScrollBar()->isVisible());

    // Tiled, the window keeps the size it was given.
    item(frame, "menuv1")->trigger();
    const QSize tiled = sub->size();
    w->label->setText(QString(90, QChar(0x957f)));
    QTRY_VERIFY(area->horizontalScrollBar()->isVisible());
    QCOMPARE(sub->size(), tiled);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
