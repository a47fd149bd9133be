// The application shell: main window, menus, rights, login, logout,
// password change, rights editor, data initialisation, splash and about box.
#include "ChildForm.h"
#include "DBGrid.h"
#include "Drive.h"
#include "DMsales.h"
#include "Errors.h"
#include "Startup.h"
#include "USysRights.h"
#include "Modal.h"
#include "TestDb.h"
#include "Umain.h"
#include "Ubackprov.h"
#include "Ubackprovsele.h"
#include "Ubuycontchg.h"
#include "Ubuycontsele.h"
#include "Ucarin.h"
#include "Uconttype.h"
#include "Uinaddcost.h"
#include "Ucustback.h"
#include "Uoutaddcost.h"
#include "Uselecar.h"
#include "Usalecontchg.h"
#include "Usalecontsele.h"
#include "Ucustxx.h"
#include "Uperson.h"
#include "Uprovxx.h"
#include "Usalesyj.h"
#include "Usaleyjtj.h"
#include "Utax.h"
#include "chngpw.h"
#include "Clock.h"
#include "initial.h"
#include "login.h"
#include "unt_logo.h"
#include "x_abou_p.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <functional>
#include <memory>

namespace {

// The items of rights positions 1 to 35, in order.
const QStringList rightsItems{
    "buycont",      "salecont",     "buycontchg",   "salecontchg",  "buycontfind",
    "salecontfind", "menucarin",    "menucarout",   "menucarinf",   "menucaroutf",
    "menuprovback", "menucustback", "menuprovbackf", "menuprovpre", "menuprovhsh",
    "menuprovcom",  "menucustpre",  "menucusthsh",  "menucustcom",  "menuprovf",
    "menucustf",    "menubuyout",   "menusalesrep", "menusalerep",  "menutaxrep",
    "menucompany",  "menuprovlog",  "menucustlog",  "menuperson",   "menurights",
    "menuarea",     "menuconttype", "menucost",     "menutype",     "menumodel"};
const QStringList accountItems{"syslogout", "chgpass",     "datamanage", "databackup",
                               "datarestore", "datadeal", "I1"};
const QStringList alwaysItems{"syslogin", "sysexit", "menuh1", "menuv1",
                              "menuc1",   "menua1",  "menuhelp", "menusoft"};

// A business window for the registry: an edit to hold input, and a close
// that can be refused as a window with unsaved input does.
class TestWindow : public ChildForm {
public:
    TestWindow() : edit(new QLineEdit(this)) { edit->setObjectName("edit"); }
    QLineEdit *edit;
    bool refuse = false;
    static inline QStringList closed;

protected:
    void closeEvent(QCloseEvent *e) override
    {
        if (refuse) {
            e->ignore();
            return;
        }
        closed << edit->text();
        e->accept();
    }
};

// A business window that cannot be made: its constructor fails.
class BrokenWindow : public ChildForm {
public:
    BrokenWindow()
    {
        new QLineEdit(this);
        throw AppError(QStringLiteral("窗口无法打开"));
    }
};

QAction *item(QWidget &w, const QString &name)
{
    auto *a = w.findChild<QAction *>(name);
    if (!a)
        qFatal("no menu item %s", qPrintable(name));
    return a;
}

void typeInto(QLineEdit *e, const QString &text)
{
    e->clear();
    QTest::keyClicks(e, text);
}

std::shared_ptr<bool> answerLogin(const QString &code, const QString &password)
{
    return whenModal<Tflogin>([code, password](Tflogin *d) {
        typeInto(d->Edit1, code);
        typeInto(d->Edit2, password);
        QTest::mouseClick(d->BitBtn1, Qt::LeftButton);
        if (d->isVisible()) // refused: give up as a user would
            QTest::mouseClick(d->BitBtn2, Qt::LeftButton);
    });
}

// Shows the frame and goes through the splash and the login.
void startAndLogin(Tfrmmain &frame, const QString &code = "admin", const QString &password = "",
                   bool loggedIn = true)
{
    Tfrm_logo::setInterval(1);
    const auto done = answerLogin(code, password);
    frame.show();
    QVERIFY(QTest::qWaitFor([&] { return *done && !QApplication::activeModalWidget(); }, 3000));
    QCOMPARE(item(frame, "syslogout")->isEnabled(), loggedIn);
}

// Keys as a user gives them on a screen: to the focus widget of the active
// main window, so that its shortcuts, document area and filters see them.
void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), m);
    QApplication::processEvents();
}

// "@n" is Alt+n (the n-th speed button), "^X" Ctrl+X, "\n" Enter, "\r"
// Shift+Enter, "\t" Tab, anything else typed.
void keys(const QStringList &steps)
{
    for (const QString &step : steps) {
        if (step.size() == 2 && step.at(0) == '@')
            key(Qt::Key_0 + step.at(1).digitValue(), Qt::AltModifier);
        else if (step.size() == 2 && step.at(0) == '^')
            key(step.at(1).toLatin1(), Qt::ControlModifier);
        else if (step == "\n")
            key(Qt::Key_Return);
        else if (step == "\r")
            key(Qt::Key_Return, Qt::ShiftModifier);
        else if (step == "\t")
            key(Qt::Key_Tab);
        else
            for (const QChar c : step) {
                Drive::typeText(QApplication::focusWidget(), QString(c));
                QApplication::processEvents();
            }
    }
}

// The main window logged in and active, with the window of the menu item open in it.
ChildForm *openActive(Tfrmmain &frame, const char *menuItem)
{
    startAndLogin(frame);
    QApplication::setActiveWindow(&frame);
    item(frame, menuItem)->trigger();
    QApplication::processEvents();
    QMdiSubWindow *sub = frame.mdiArea->activeSubWindow();
    return sub ? qobject_cast<ChildForm *>(sub->widget()) : nullptr;
}

// A business window that no menu item opens, in the document area as its
// opener puts it there, active.
ChildForm *openInArea(Tfrmmain &frame, ChildForm *window)
{
    startAndLogin(frame);
    QApplication::setActiveWindow(&frame);
    QMdiSubWindow *sub = frame.mdiArea->addSubWindow(window);
    QObject::connect(window, &QObject::destroyed, sub, &QObject::deleteLater);
    sub->show();
    frame.mdiArea->setActiveSubWindow(sub);
    window->takeFocus();
    QApplication::processEvents();
    return window;
}

QWidget *focusIn(QWidget *window)
{
    QWidget *f = QApplication::focusWidget();
    return f && (f == window || window->isAncestorOf(f)) ? f : nullptr;
}

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

// Keeps a window from ever seeing itself activated, as where no window
// manager activates it.
class NoActivation : public QObject {
protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        return e->type() == QEvent::ActivationChange || e->type() == QEvent::WindowActivate;
    }
};

// Counts the login dialogs that come up. One that comes up while another is
// open is cancelled at once, and so is every one when told, so that a login
// started by mistake cannot block a test.
class LoginWatch : public QObject {
public:
    explicit LoginWatch(bool cancelEvery = false) : m_cancelEvery(cancelEvery)
    {
        qApp->installEventFilter(this);
    }
    int shown = 0;

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        auto *d = qobject_cast<Tflogin *>(o);
        if (!d || e->type() != QEvent::Show || e->spontaneous())
            return false;
        ++shown;
        bool nested = false;
        for (QWidget *w : QApplication::topLevelWidgets())
            nested = nested || (w != d && qobject_cast<Tflogin *>(w) && w->isVisible());
        if (nested || m_cancelEvery)
            QTimer::singleShot(0, d, &QDialog::reject);
        return false;
    }

private:
    bool m_cancelEvery;
};

void setRights(TestDb &db, const QString &id, const QVariant &rights)
{
    db.exec("UPDATE crights SET rights = :r WHERE personnelid = :id", {{":r", rights}, {":id", id}});
}

QList<int> enabledPositions(Tfrmmain &frame)
{
    QList<int> on;
    for (int p = 1; p <= rightsItems.size(); ++p)
        if (item(frame, rightsItems.at(p - 1))->isEnabled())
            on << p;
    return on;
}

QList<int> range(int from, int to)
{
    QList<int> r;
    for (int p = from; p <= to; ++p)
        r << p;
    return r;
}

} // namespace

class TestShell : public QObject {
    Q_OBJECT

private slots:
    void init() { TestWindow::closed.clear(); }
    // A dialog that never came up is not answered in the next test.
    void cleanup() { qDeleteAll(qApp->findChildren<QTimer *>("modalPoll")); }

    // Main window and rights
    void menusAndSpeedBar();
    void applyRights_data();
    void applyRights();

    // Start-up, login, logout
    void startUpShowsSplashThenLogin_data();
    void databaseAnnouncedAtStartUp_data();
    void databaseAnnouncedAtStartUp();
    void startUpShowsSplashThenLogin();
    void startUpRunsOnce();
    void cancelAtStartUpEndsProgram();
    void noSecondLoginWhileOneIsOpen();
    void loginCheck_data();
    void loginCheck();
    void enterMovesFocusInDialogs();
    void keyboardOnlyLogin_data();
    void keyboardOnlyLogin();
    void loginThroughMenu();
    void loginFailureOfDatabase();
    void personnelUnreadableAtStartUp();
    void logout();

    // Password change
    void passwordChange_data();
    void passwordChange();

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

    // The keyboard in the document area
    void enterMovesOnInDocumentWindows_data();
    void enterMovesOnInDocumentWindows();
    void gridLeftByKeyboard();
    void windowKeepsKeysAfterQuestion();
    void windowOpensWithFocusOnFirstField_data();
    void windowOpensWithFocusOnFirstField();
    void speedButtonClickLeavesNoField();
    void menuOpenedByKeyboardLeavesNoField_data();
    void menuOpenedByKeyboardLeavesNoField();
    void ctrlF4ClosesTheActiveWindow();
    void downPicksFromModelList();
    void registerRemarksEnterMovesOn_data();
    void registerRemarksEnterMovesOn();
    void windowKeepsKeysAfterItsButtons_data();
    void windowKeepsKeysAfterItsButtons();
    void pagesTurnByKeyboard_data();
    void pagesTurnByKeyboard();
    void focusBackAfterDialog_data();
    void focusBackAfterDialog();

    // Splash, about box, translations
    void splashAndAbout();
    void splashTimeUpWhileShowing();
    void chineseStandardButtons();

    // Rights editor
    void rightsStored_data();
    void rightsStored();
    void rightsSaveRefused_data();
    void rightsSaveRefused();
    void rightsBoxesFollowTheRow();
    void rightsPasswordsTheLoginTakes();
    void rightsDuplicateCode();
    void rightsOfTheOperatorTakeEffect();

    // Data initialisation
    void initialise_data();
    void initialise();
    void initialiseNoKeepsEverything();
    void initialiseFailureKeepsEveryRow();
    void initialiseThroughMenu();
};

// ---------------------------------------------------------------- main window

void TestShell::menusAndSpeedBar()
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

void TestShell::applyRights_data()
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

void TestShell::applyRights()
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

// ---------------------------------------------------------------- start-up, login, logout

void TestShell::startUpShowsSplashThenLogin_data()
{
    QTest::addColumn<bool>("activated");
    QTest::newRow("window manager activates the window") << true;
    // A display without a window manager: the window is shown, never activated.
    QTest::newRow("no window manager") << false;
}

void TestShell::databaseAnnouncedAtStartUp_data()
{
    QTest::addColumn<QString>("before"); // huoyun.mdb before the start
    QTest::addColumn<int>("kind");        // the box shown, -1 for none
    QTest::addColumn<QString>("text");    // part of its text
    QTest::newRow("missing") << "missing" << int(Msg::Kind::Information) << "已新建数据库";
    QTest::newRow("not a database") << "garbage" << int(Msg::Kind::Error) << "not a database";
    QTest::newRow("a database") << "database" << -1 << "";
}

void TestShell::databaseAnnouncedAtStartUp()
{
    QFETCH(QString, before);
    QFETCH(int, kind);
    QFETCH(QString, text);
    TestDb db(false);
    if (before == "database") {
        db.startDataModule(); // made by an earlier start
        db.stopDataModule();
    } else if (before == "garbage") {
        QFile f("huoyun.mdb");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    db.dm = std::make_unique<TfrmDMcarsales>();
    QVERIFY(db.messages.messages.isEmpty()); // the data module itself shows nothing

    Startup::announceDatabase(*db.dm);
    if (kind < 0) {
        QVERIFY(db.messages.messages.isEmpty());
        return;
    }
    QCOMPARE(db.messages.messages.size(), 1);
    const Msg::Record &m = db.messages.messages.first();
    QCOMPARE(int(m.kind), kind);
    QCOMPARE(m.title, QStringLiteral("提示"));
    QVERIFY2(m.text.contains(text), qPrintable(m.text));
    if (before == "missing")
        QVERIFY(m.text.endsWith(QDir::current().absoluteFilePath("huoyun.mdb")));
}

void TestShell::startUpShowsSplashThenLogin()
{
    QFETCH(bool, activated);
    TestDb db;
    setRights(db, "admin", "0000001" + QString(33, '0'));
    Tfrm_logo::setInterval(150);
    Tfrmmain frame;
    NoActivation noActivation;
    if (!activated)
        frame.installEventFilter(&noActivation);
    QElapsedTimer clock;
    qint64 loginAfter = -1;
    bool splashGone = false;
    const auto done = whenModal<Tflogin>([&](Tflogin *d) {
        loginAfter = clock.elapsed();
        splashGone = !QApplication::topLevelWidgets().contains(frame.findChild<Tfrm_logo *>());
        QCOMPARE(d->Edit1->text(), QStringLiteral("admin")); // preset
        typeInto(d->Edit2, "");
        QTest::mouseClick(d->BitBtn1, Qt::LeftButton);
    });
    clock.start();
    frame.show();
    QVERIFY(QTest::qWaitFor([&] { return *done && !QApplication::activeModalWidget(); }, 3000));
    QVERIFY2(loginAfter >= 150, qPrintable(QString::number(loginAfter)));
    QVERIFY(splashGone);
    QCOMPARE(enabledPositions(frame), QList<int>{7});
    QCOMPARE(db.dm->operatorName(), QStringLiteral("管理员"));
    QVERIFY(frame.isVisible());
}

void TestShell::startUpRunsOnce()
{
    TestDb db;
    Tfrmmain frame;
    startAndLogin(frame);
    LoginWatch logins(true);

    // Hidden and shown again, minimised and restored, activated again.
    frame.hide();
    frame.show();
    frame.showMinimized();
    frame.showMaximized();
    frame.activateWindow();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(logins.shown, 0);
    QCOMPARE(frame.findChildren<Tfrm_logo *>().size(), 0);

    // Nor does the handler run twice when called after the start.
    frame.FormActivate();
    QCOMPARE(logins.shown, 0);
    QVERIFY(frame.isVisible());
    QVERIFY(item(frame, "syslogout")->isEnabled());
}

void TestShell::cancelAtStartUpEndsProgram()
{
    TestDb db;
    Tfrm_logo::setInterval(1);
    Tfrmmain frame;
    whenModal<Tflogin>([](Tflogin *d) { QTest::mouseClick(d->BitBtn2, Qt::LeftButton); });
    frame.show();
    QVERIFY(QTest::qWaitFor([&] { return !frame.isVisible(); }, 3000));
}

void TestShell::noSecondLoginWhileOneIsOpen()
{
    TestDb db;
    Tfrm_logo::setInterval(1);
    Tfrmmain frame;
    LoginWatch logins;
    bool itemsOff = false, frameActive = false;
    // The start-up login is open, and the main window still has the keyboard,
    // as on a display where no window manager moves it to the dialog.
    const auto done = whenModal<Tflogin>([&](Tflogin *d) {
        itemsOff = !item(frame, "syslogin")->isEnabled() && !frame.SpeedItem1->isEnabled();
        item(frame, "syslogin")->trigger();
        frame.SpeedItem1->click();
        frame.sysloginClick();
        frame.activateWindow();
        QCoreApplication::processEvents();
        frameActive = frame.isActiveWindow();
        QTest::keyClick(&frame, Qt::Key_I, Qt::ControlModifier);
        d->activateWindow();
        QCoreApplication::processEvents();
        typeInto(d->Edit2, "");
        QTest::mouseClick(d->BitBtn1, Qt::LeftButton);
    });
    frame.show();
    QVERIFY(QTest::qWaitFor([&] { return *done && !QApplication::activeModalWidget(); }, 3000));
    QVERIFY(itemsOff);
    QVERIFY(frameActive);
    QCOMPARE(logins.shown, 1);
    QVERIFY(item(frame, "syslogout")->isEnabled());

    // Afterwards the login is there again, and a login through the menu is
    // again the only one.
    QVERIFY(item(frame, "syslogin")->isEnabled());
    QVERIFY(frame.SpeedItem1->isEnabled());
    whenModal<Tflogin>([&](Tflogin *d) {
        item(frame, "syslogin")->trigger();
        frame.SpeedItem1->click();
        QTest::mouseClick(d->BitBtn2, Qt::LeftButton);
    });
    item(frame, "syslogin")->trigger();
    QCOMPARE(logins.shown, 2);
    QVERIFY(item(frame, "syslogin")->isEnabled());
    QVERIFY(frame.isVisible());
}

void TestShell::loginCheck_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message"); // empty: none
    QTest::addColumn<QString>("focus");   // the field that has the focus after a refusal
    QTest::addColumn<bool>("accepted");
    // The stored password of p01 is "Pass 1".
    QTest::newRow("code and password trimmed") << "  p01 " << " Pass 1  " << "" << "" << true;
    QTest::newRow("code without regard to case") << "P01" << "Pass 1" << "" << "" << true;
    QTest::newRow("password case") << "p01" << "pass 1" << "密码错误" << "Edit2" << false;
    QTest::newRow("wrong password") << "p01" << "Pass" << "密码错误" << "Edit2" << false;
    QTest::newRow("wrong code") << "p02" << "Pass 1" << "用户名错误，请重输用户名" << "Edit1"
                                << false;
    QTest::newRow("quote in code") << "p'01" << "" << "用户名错误，请重输用户名" << "Edit1" << false;
    QTest::newRow("empty code does nothing") << "   " << "Pass 1" << "" << "" << false;
}

void TestShell::loginCheck()
{
    QFETCH(QString, code);
    QFETCH(QString, password);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(bool, accepted);
    TestDb db;
    db.insert("crights", {{"personnelid", "p01"}, {"password", "Pass 1"}});
    Tflogin d;
    d.show();
    typeInto(d.Edit1, code);
    typeInto(d.Edit2, password);
    QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
    QCOMPARE(d.result() == QDialog::Accepted, accepted);
    QCOMPARE(d.isVisible(), !accepted);
    QCOMPARE(db.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty()) {
        QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Warning);
        QCOMPARE(db.messages.messages.first().title, QStringLiteral("提示"));
        QCOMPARE(d.focusWidget()->objectName(), focus);
    }
    if (accepted)
        QCOMPARE(d.code(), QStringLiteral("%1").arg(code.trimmed()));
    QCOMPARE(d.Edit1->maxLength(), 10);
}

void TestShell::enterMovesFocusInDialogs()
{
    TestDb db;
    Tflogin d;
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    d.Edit1->setFocus();
    QTest::keyClick(d.Edit1, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), d.Edit2);
    QTest::keyClick(d.Edit2, Qt::Key_Enter);
    QVERIFY(d.isVisible()); // Enter never presses OK
    QVERIFY(db.messages.messages.isEmpty());
}

void TestShell::keyboardOnlyLogin_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("tabToCancel"); // from 确定 on to 取消 before the last Enter
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("message");
    QTest::newRow("Enter on 确定 logs in") << "Pass1" << false << int(QDialog::Accepted) << "";
    QTest::newRow("a wrong password stays") << "pass1" << false << -1 << "密码错误";
    QTest::newRow("Enter on 取消 cancels") << "Pass1" << true << int(QDialog::Rejected) << "";
}

void TestShell::keyboardOnlyLogin()
{
    QFETCH(QString, password);
    QFETCH(bool, tabToCancel);
    QFETCH(int, result);
    QFETCH(QString, message);
    TestDb db;
    db.insert("crights", {{"personnelid", "p01"}, {"password", "Pass1"}});
    Tflogin d;
    int finished = -1;
    connect(&d, &QDialog::finished, &d, [&](int r) { finished = r; });
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    d.Edit1->setFocus();
    d.Edit1->selectAll();
    // Code, Enter, password, Enter, Enter: all typed where the focus is.
    auto keys = [](const QString &text) { QTest::keyClicks(QApplication::focusWidget(), text); };
    auto enter = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); };
    keys("p01");
    enter();
    QCOMPARE(QApplication::focusWidget(), d.Edit2);
    keys(password);
    enter();
    QCOMPARE(QApplication::focusWidget(), d.BitBtn1);
    if (tabToCancel)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    enter();
    QCOMPARE(finished, result);
    QCOMPARE(d.isVisible(), result < 0);
    QCOMPARE(db.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (result < 0)
        QCOMPARE(QApplication::focusWidget(), d.Edit2);
}

void TestShell::loginThroughMenu()
{
    TestDb db;
    Tfrmmain frame;
    startAndLogin(frame);
    QVERIFY(item(frame, "syslogout")->isEnabled());

    // A person registered after the start logs in with their own rights.
    db.insert("cpersonnel", {{"personnelid", "p07"}, {"Name", "李四"}});
    db.insert("crights", {{"personnelid", "p07"}, {"password", "x"},
                          {"rights", "01" + QString(38, '0')}});
    answerLogin("p07", "x");
    item(frame, "syslogin")->trigger();
    QCOMPARE(enabledPositions(frame), QList<int>{2});
    QCOMPARE(db.dm->operatorName(), QStringLiteral("李四"));

    // A refused or cancelled login, or a user without a personnel row,
    // leaves the previous user logged in.
    answerLogin("p07", "wrong");
    item(frame, "syslogin")->trigger();
    db.insert("crights", {{"personnelid", "ghost"}, {"password", ""}, {"rights", QString(40, '1')}});
    answerLogin("ghost", "");
    frame.SpeedItem1->click();
    QCOMPARE(enabledPositions(frame), QList<int>{2});
    QCOMPARE(db.dm->operatorName(), QStringLiteral("李四"));
    QVERIFY(item(frame, "chgpass")->isEnabled());
}

void TestShell::loginFailureOfDatabase()
{
    TestDb db(false);
    {
        QFile f(db.path("huoyun.mdb"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    db.startDataModule();
    Tfrmmain frame;
    QString shown;
    bool stayedOpen = false;
    whenModal<Tflogin>([&](Tflogin *d) {
        typeInto(d->Edit2, "");
        QTest::mouseClick(d->BitBtn1, Qt::LeftButton);
        stayedOpen = d->isVisible();
        shown = db.messages.lastText();
        QTest::mouseClick(d->BitBtn2, Qt::LeftButton);
    });
    frame.sysloginClick();
    QVERIFY(stayedOpen);
    QCOMPARE(db.messages.messages.size(), 1);
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Error);
    QVERIFY2(shown.contains("not a database"), qPrintable(shown));
    QCOMPARE(db.dm->operatorName(), QString());
}

void TestShell::personnelUnreadableAtStartUp()
{
    // The password check passes, but the personnel list cannot be read: the
    // database's message, and the program goes on with nobody logged in.
    TestDb db;
    db.exec("DROP TABLE cpersonnel");
    Tfrmmain frame;
    startAndLogin(frame, "admin", "", false);
    QCOMPARE(db.messages.messages.size(), 1);
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Error);
    QVERIFY2(db.messages.lastText().contains("cpersonnel"), qPrintable(db.messages.lastText()));
    QVERIFY(frame.isVisible());
    QCOMPARE(enabledPositions(frame), QList<int>{});
    QVERIFY(!item(frame, "syslogout")->isEnabled());
    QVERIFY(item(frame, "syslogin")->isEnabled());
}

void TestShell::logout()
{
    TestDb db;
    Tfrmmain frame;
    startAndLogin(frame);
    QPointer<ChildForm> a, b;
    frame.openChild<TestWindow>(a);
    frame.openChild<TestWindow>(b)->refuse = true;

    // Cancel: nothing changes.
    db.messages.answer(QMessageBox::Cancel);
    frame.SpeedItem2->click();
    QCOMPARE(db.messages.lastText(), QStringLiteral("确实注销?"));
    QCOMPARE(db.messages.messages.last().buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QVERIFY(a && b);
    QCOMPARE(enabledPositions(frame), range(1, 35));

    // A window that stays open keeps the user logged in.
    db.messages.answer(QMessageBox::Ok);
    item(frame, "syslogout")->trigger();
    QVERIFY(b);
    QCOMPARE(enabledPositions(frame), range(1, 35));

    static_cast<TestWindow *>(b.data())->refuse = false;
    db.messages.answer(QMessageBox::Ok);
    item(frame, "syslogout")->trigger();
    QTRY_VERIFY(!a && !b);
    QTRY_VERIFY(frame.mdiArea->subWindowList().isEmpty());
    QCOMPARE(enabledPositions(frame), QList<int>{});
    for (const QString &name : accountItems)
        QVERIFY(!item(frame, name)->isEnabled());
    for (QToolButton *button : {frame.SpeedItem2, frame.SpeedItem13, frame.SpeedItem4,
                                frame.SpeedItem7})
        QVERIFY(!button->isEnabled());
    for (const QString &name : alwaysItems)
        QVERIFY(item(frame, name)->isEnabled());
    QVERIFY(frame.SpeedItem1->isEnabled() && frame.SpeedItem3->isEnabled());
    QCOMPARE(db.dm->operatorName(), QStringLiteral("管理员")); // the row keeps its position

    // Logging in again enables the user's items.
    answerLogin("admin", "");
    frame.SpeedItem1->click();
    QCOMPARE(enabledPositions(frame), range(1, 35));
}

// ---------------------------------------------------------------- password change

void TestShell::passwordChange_data()
{
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("stored");
    // The stored password is "Old1".
    QTest::newRow("changed") << "Old1" << "New2" << "New2" << "口令更改成功。" << "" << "New2";
    QTest::newRow("old password with case") << "old1" << "New2" << "New2" << "旧口令错误。"
                                            << "Edit1" << "Old1";
    QTest::newRow("old password not trimmed") << "Old1 " << "New2" << "New2" << "旧口令错误。"
                                              << "Edit1" << "Old1";
    QTest::newRow("confirmation differs") << "Old1" << "New2" << "New3" << "确认新口令错误。"
                                          << "Edit3" << "Old1";
    QTest::newRow("blanks are not stored") << "Old1" << " New 2 " << " New 2 " << "口令更改成功。"
                                           << "" << "New 2";
    QTest::newRow("the longest password") << "Old1" << "abcdefghijklXYZ" << "abcdefghijkl"
                                          << "口令更改成功。" << "" << "abcdefghijkl";
}

void TestShell::passwordChange()
{
    QFETCH(QString, oldPassword);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirmation);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(QString, stored);
    TestDb db;
    db.exec("UPDATE crights SET password = 'Old1' WHERE personnelid = 'admin'");
    db.dm->tright->refresh();
    Tfrmmain frame;
    startAndLogin(frame, "admin", "Old1");

    bool stayedOpen = false;
    QString focused, user;
    whenModal<Tfchngpw>([&](Tfchngpw *d) {
        user = d->Label4->text();
        typeInto(d->Edit1, oldPassword);
        typeInto(d->Edit2, newPassword);
        typeInto(d->Edit3, confirmation);
        QTest::mouseClick(d->BitBtn1, Qt::LeftButton);
        stayedOpen = d->isVisible();
        if (d->focusWidget())
            focused = d->focusWidget()->objectName();
        if (stayedOpen)
            QTest::mouseClick(d->BitBtn2, Qt::LeftButton);
    });
    frame.SpeedItem13->click();
    QCOMPARE(user, QStringLiteral("管理员"));
    QCOMPARE(db.messages.texts(), QStringList{message});
    QCOMPARE(db.messages.messages.last().kind,
             focus.isEmpty() ? Msg::Kind::Information : Msg::Kind::Warning);
    QCOMPARE(stayedOpen, !focus.isEmpty());
    if (!focus.isEmpty())
        QCOMPARE(focused, focus);
    QCOMPARE(db.scalar("SELECT password FROM crights WHERE personnelid = 'admin'").toString(), stored);

    // What is stored is what the login takes.
    db.messages.clear();
    answerLogin("admin", stored);
    item(frame, "syslogin")->trigger();
    QVERIFY2(db.messages.messages.isEmpty(), qPrintable(db.messages.texts().join(',')));
}

// ---------------------------------------------------------------- registry and exit

void TestShell::openedWindowTakesItsSpeedKeys()
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

void TestShell::registryOpensOnceAndKeepsInput()
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

void TestShell::stockItemsOpenTheirWindows()
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

void TestShell::saleFinanceAndStatisticsItemsOpenTheirWindows()
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

void TestShell::contractItemsOpenTheirWindows()
{
    itemsOpenTheirWindows([](Tfrmmain &frame) -> QList<MenuWindow> {
        return {{"buycontchg", &frame.fbuycontchg, "Tfbuycontchg"},
                {"salecontchg", &frame.fsalecontchg, "Tfsalecontchg"},
                {"buycontfind", &frame.fbuycontsele, "Tfbuycontsele"},
                {"salecontfind", &frame.fsalecontsele, "Tfsalecontsele"}};
    });
}

void TestShell::returnItemsOpenTheirWindows()
{
    itemsOpenTheirWindows([](Tfrmmain &frame) -> QList<MenuWindow> {
        return {{"menuprovback", &frame.fbackprov, "Tfbackprov"},
                {"menucustback", &frame.fcustback, "Tfcustback"},
                {"menuprovbackf", &frame.fbackprovsele, "Tfbackprovsele"}};
    });
}

void TestShell::accountQueryItemsOpenTheirWindows()
{
    itemsOpenTheirWindows([](Tfrmmain &frame) -> QList<MenuWindow> {
        return {{"menuprovf", &frame.fprovaccountsele, "Tfprovaccountsele"},
                {"menucustf", &frame.fcustaccountsele, "Tfcustaccountsele"}};
    });
}

void TestShell::windowThatCannotBeMadeLeavesTheProgramRunning()
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

void TestShell::exitAsksChildrenInOrder()
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

void TestShell::windowMenuArranges()
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

// ---------------------------------------------------------------- keyboard in the document area

void TestShell::enterMovesOnInDocumentWindows_data()
{
    QTest::addColumn<QByteArray>("menuItem");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("stored");
    QTest::newRow("car models") << QByteArray("menumodel")
                                << QStringList{"@1", "M01", "\n", "桑塔纳2000", "@2"}
                                << "SELECT code || '/' || model FROM model" << "M01/桑塔纳2000";
    QTest::newRow("customer register")
        << QByteArray("menucustlog")
        << QStringList{"@1", "C01", "\n", "甲公司", "\n", "北京路1号", "\n", "100000", "@3"}
        << "SELECT custname || '/' || address || '/' || zip FROM ccustomer" << "甲公司/北京路1号/100000";
    QTest::newRow("purchase contract") << QByteArray("buycont") << QStringList{"@1", "P01", "\n", "HT-1", "@2"}
                                       << "SELECT providerid || '/' || contract_no FROM cbuycontract"
                                       << "P01/HT-1";
}

void TestShell::enterMovesOnInDocumentWindows()
{
    QFETCH(QByteArray, menuItem);
    QFETCH(QStringList, steps);
    QFETCH(QString, sql);
    QFETCH(QString, stored);
    TestDb db;
    db.insert("cprovider", {{"providerid", "P01"}, {"provname", "一汽"}});
    Tfrmmain frame;
    QVERIFY(openActive(frame, menuItem.constData()));
    db.messages.answer(QMessageBox::No); // 是否打印?
    keys(steps);
    QCOMPARE(db.scalar(sql).toString(), stored);
}

void TestShell::gridLeftByKeyboard()
{
    // Ctrl+Enter leaves the lines, also from a cell being typed, and
    // Ctrl+Shift+Enter goes back before them; Escape ends a cell's edit.
    QTest::failOnWarning(QRegularExpression("commitData"));
    TestDb db;
    db.insert("cprovider", {{"providerid", "P01"}, {"provname", "一汽"}});
    db.insert("cartype", {{"code", "1"}, {"type", "SUV"}});
    Tfrmmain frame;
    ChildForm *w = openActive(frame, "buycont");
    QVERIFY(w);
    auto *grid = w->findChild<DBGrid *>("DBGrid1");
    keys({"@1", "P01", "\n", "HT-2"});
    for (int i = 0; i < 20 && QApplication::focusWidget() != grid; ++i)
        key(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), grid);
    keys({"SUV"});
    QVERIFY(grid->isAncestorOf(QApplication::focusWidget())); // the cell's editor
    key(Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), w->findChild<QWidget *>("DBEdit13"));
    QCOMPARE(grid->model()->index(0, 0).data().toString(), QString("SUV"));

    key(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), grid);
    key(Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), w->findChild<QWidget *>("DBEdit8"));

    key(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), grid);
    keys({"A"});
    QVERIFY(grid->isAncestorOf(QApplication::focusWidget()));
    key(Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), grid);
    QCOMPARE(frame.mdiArea->subWindowList().size(), 1);
}

void TestShell::windowKeepsKeysAfterQuestion()
{
    // The question after a save closes while the fields are disabled: the
    // window keeps the keyboard, and Alt+1 adds the next car.
    TestDb db;
    db.insert("cprovider", {{"providerid", "P01"}, {"provname", "一汽"}});
    db.messages.modal = true;
    Tfrmmain frame;
    ChildForm *w = openActive(frame, "menucarin");
    QVERIFY(w);
    keys({"@1", "\n", "S1", "\n", "P01", "\n"});
    w->findChild<QWidget *>("DBEdit15")->setFocus();
    keys({"C1"});
    db.messages.answer(QMessageBox::No); // 是否打印入库单?
    keys({"@2"});
    QCOMPARE(db.messages.texts(), QStringList{"是否打印入库单?"});
    QCOMPARE(db.count("carinfor", "carserial_no = 'S1'"), 1);
    QVERIFY(focusIn(w));
    keys({"@1"});
    QCOMPARE(db.count("carinstock"), 2);
    QCOMPARE(QApplication::focusWidget(), w->findChild<QWidget *>("ComboEdit2"));
}

void TestShell::windowOpensWithFocusOnFirstField_data()
{
    QTest::addColumn<QByteArray>("menuItem");
    QTest::addColumn<QString>("field");
    QTest::newRow("customer reconciliation") << QByteArray("menucustcom") << "ComboEdit1";
    QTest::newRow("provider reconciliation") << QByteArray("menuprovcom") << "ComboEdit1";
    QTest::newRow("customer account query") << QByteArray("menucustf") << "ComboEdit1";
}

void TestShell::windowOpensWithFocusOnFirstField()
{
    QFETCH(QByteArray, menuItem);
    QFETCH(QString, field);
    TestDb db;
    Tfrmmain frame;
    ChildForm *w = openActive(frame, menuItem.constData());
    QVERIFY(w);
    auto *first = w->findChild<QLineEdit *>(field);
    QCOMPARE(QApplication::focusWidget(), first);
    keys({"C01"});
    QCOMPARE(first->text(), QString("C01"));
}

void TestShell::speedButtonClickLeavesNoField()
{
    // 查询 clicked with the mouse takes no focus from the code field: no check
    // of the code runs for it; leaving the field does check it, once.
    TestDb db;
    Tfrmmain frame;
    ChildForm *w = openActive(frame, "menucustf");
    QVERIFY(w);
    auto *code = w->findChild<QLineEdit *>("ComboEdit1");
    QCOMPARE(QApplication::focusWidget(), code);
    keys({"X999"});
    QTest::mouseClick(w->findChild<QToolButton *>("SpeedItem1"), Qt::LeftButton);
    QApplication::processEvents();
    QVERIFY(!db.messages.texts().contains("输入的客户代码不存在!"));
    QCOMPARE(QApplication::focusWidget(), code);
    key(Qt::Key_Tab);
    QCOMPARE(db.messages.texts().count("输入的客户代码不存在!"), 1);
    QCOMPARE(QApplication::focusWidget(), code);
}

void TestShell::menuOpenedByKeyboardLeavesNoField_data()
{
    QTest::addColumn<QByteArray>("menuItem");
    QTest::addColumn<QByteArray>("add"); // the button that starts an entry, if any
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("message");
    const QString provider = "输入的供应商代码不存在!", customer = "输入的客户代码不存在!";
    QTest::newRow("in-stock provider") << QByteArray("menucarin") << QByteArray("SpeedItem1") << "ComboEdit1" << provider;
    QTest::newRow("in-stock contract") << QByteArray("menucarin") << QByteArray("SpeedItem1") << "ComboEdit2"
                                       << "不存在此采购合同号!";
    QTest::newRow("sale customer") << QByteArray("menucarout") << QByteArray("SpeedItem1") << "ComboEdit1" << customer;
    QTest::newRow("sale contract") << QByteArray("menucarout") << QByteArray("SpeedItem1") << "ComboEdit2"
                                   << "不存在此销售合同号!";
    QTest::newRow("purchase contract") << QByteArray("buycont") << QByteArray("SpeedItem1") << "ComboEdit1"
                                       << "输入的供应商代码不存在！";
    QTest::newRow("sales contract") << QByteArray("salecont") << QByteArray("SpeedItem1") << "ComboEdit1"
                                    << "输入的客户代码不存在！";
    QTest::newRow("purchase payment") << QByteArray("menuprovpre") << QByteArray("SpeedItem1") << "ComboEdit1"
                                      << provider;
    QTest::newRow("purchase payment contract") << QByteArray("menuprovpre") << QByteArray("SpeedItem1")
                                               << "ComboEdit2" << "不存在此采购合同号!";
    QTest::newRow("customer prepayment") << QByteArray("menucustpre") << QByteArray("SpeedItem1") << "ComboEdit1"
                                         << customer;
    QTest::newRow("customer prepayment contract") << QByteArray("menucustpre") << QByteArray("SpeedItem1")
                                                  << "ComboEdit2" << "不存在此销售合同号!";
    QTest::newRow("provider reconciliation") << QByteArray("menuprovcom") << QByteArray() << "ComboEdit1" << provider;
    QTest::newRow("customer reconciliation") << QByteArray("menucustcom") << QByteArray() << "ComboEdit1" << customer;
    QTest::newRow("provider account query") << QByteArray("menuprovf") << QByteArray() << "ComboEdit1" << provider;
    QTest::newRow("customer account query") << QByteArray("menucustf") << QByteArray() << "ComboEdit1" << customer;
    // A date typed in part is no more checked for a menu than a code is.
    QTest::newRow("in-stock factory date") << QByteArray("menucarin") << QByteArray("SpeedItem1") << "DBDateEdit1"
                                           << "出厂日期不是有效的日期!";
}

void TestShell::menuOpenedByKeyboardLeavesNoField()
{
    // A menu opened by its access key takes the focus only while it is open:
    // the code typed is not looked up for it; leaving the field looks it up, once.
    QFETCH(QByteArray, menuItem);
    QFETCH(QByteArray, add);
    QFETCH(QString, field);
    QFETCH(QString, message);
    TestDb db;
    db.insert("carinfor", {{"carserial_no", "A1"}, {"carstatus", 0}});
    db.insert("carinstock", {{"carin_no", "RS1"}, {"carserial_no", "A1"}});
    Tfrmmain frame;
    ChildForm *w = openActive(frame, menuItem.constData());
    QVERIFY(w);
    if (menuItem == "menucarout") // the sale starts with its car
        whenModal<Tfselecar>([](Tfselecar *d) {
            QTest::keyClicks(d->Edit1, "A1");
            QTest::keyClick(d->Edit1, Qt::Key_Return);
        });
    if (!add.isEmpty()) {
        QVERIFY(Drive::press(w, add.constData()));
        QApplication::setActiveWindow(&frame); // the window manager's part
        QApplication::processEvents();
    }
    auto *code = w->findChild<QLineEdit *>(field);
    QVERIFY(code);
    QTest::mouseClick(code, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), code);
    if (qobject_cast<DateEdit *>(code)) {
        key(Qt::Key_Home); // the click stands in the mask's middle
        keys({"2024"});
    } else {
        keys({"X999"});
    }
    db.messages.clear();
    key(Qt::Key_S, Qt::AltModifier);
    QVERIFY(QApplication::activePopupWidget()); // the system menu
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QApplication::processEvents();
    QVERIFY(!QApplication::activePopupWidget());
    if (qobject_cast<QMenuBar *>(QApplication::focusWidget()))
        key(Qt::Key_Escape); // the menu bar lets go of the keyboard
    QCOMPARE(QApplication::focusWidget(), code);
    QVERIFY(db.messages.texts().isEmpty());
    key(Qt::Key_Tab);
    QCOMPARE(db.messages.texts(), QStringList{message});
    QCOMPARE(QApplication::focusWidget(), code);
}

void TestShell::ctrlF4ClosesTheActiveWindow()
{
    TestDb db;
    Tfrmmain frame;
    QPointer<ChildForm> w = openActive(frame, "menucustf");
    QVERIFY(w);
    key(Qt::Key_F4, Qt::ControlModifier);
    QTRY_VERIFY(!w);
}

void TestShell::downPicksFromModelList()
{
    TestDb db;
    db.insert("cprovider", {{"providerid", "P01"}, {"provname", "一汽"}});
    db.insert("cprovcarmodel", {{"providerid", "P01"}, {"carmodel", "桑塔纳"}});
    Tfrmmain frame;
    ChildForm *w = openActive(frame, "menucarin");
    QVERIFY(w);
    keys({"@1", "\n", "S1", "\n", "P01", "\n", "\n"});
    auto *models = w->findChild<QComboBox *>("DBComboBox1");
    QCOMPARE(QApplication::focusWidget(), models);
    key(Qt::Key_Down);
    QCOMPARE(models->currentText(), QString("桑塔纳"));
}

void TestShell::registerRemarksEnterMovesOn_data()
{
    QTest::addColumn<QByteArray>("menuItem");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("code");
    QTest::newRow("personnel") << QByteArray("menuperson") << "cpersonnel" << "personnelid";
    QTest::newRow("providers") << QByteArray("menuprovlog") << "cprovider" << "providerid";
    QTest::newRow("customers") << QByteArray("menucustlog") << "ccustomer" << "customerid";
}

void TestShell::registerRemarksEnterMovesOn()
{
    // Enter goes on from the remarks as from every field; Shift+Enter breaks
    // their line. What is typed next is not in the remarks.
    QFETCH(QByteArray, menuItem);
    QFETCH(QString, table);
    QFETCH(QString, code);
    TestDb db;
    db.insert("model", {{"code", "M1"}, {"model", "解放J6"}});
    Tfrmmain frame;
    ChildForm *w = openActive(frame, menuItem.constData());
    QVERIFY(w);
    auto *memo = w->findChild<QWidget *>("DBMemo1");
    keys({"@1", "X9"});
    for (int i = 0; i < 30 && QApplication::focusWidget() != memo; ++i)
        keys({"\n"});
    QCOMPARE(QApplication::focusWidget(), memo);
    keys({"第一行", "\r", "第二行", "\n"});
    QVERIFY(QApplication::focusWidget() != memo);
    keys({"解放J6", "@3"});
    QCOMPARE(db.scalar(QString("SELECT remarks FROM %1 WHERE %2 = 'X9'").arg(table, code)).toString(),
             QString("第一行\n第二行"));
}

void TestShell::windowKeepsKeysAfterItsButtons_data()
{
    // The window, the keys up to and with the button that disables or frees
    // the field with the focus ("car:S" chooses car S with 选车 or 新增;
    // "tab:N" tabs on to the widget N; "cell:G:F" starts a row in grid G and
    // goes to its field F), the answers to its questions, the key of its 退出,
    // and what the window stored.
    QTest::addColumn<QByteArray>("menuItem");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QString>("exitKey");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("stored");
    QTest::newRow("direct costs, saved from a cell") << QByteArray("menubuyout")
        << QStringList{"car:A1", "燃料费", "\t", "300", "@2"} << QList<int>() << "@4"
        << "SELECT subjectname || '/' || cost FROM addcost" << "燃料费/300.0";
    QTest::newRow("services, saved from a cell") << QByteArray()
        << QStringList{"@1", "cell:DBGrid1:cost", "50", "@2"} << QList<int>() << "@4"
        << "SELECT carserial_no || '/' || cost FROM servicecost" << "A1/50.0";
    QTest::newRow("provider register, saved from the models") << QByteArray("menuprovlog")
        << QStringList{"@1", "P9", "tab:DBGrid2", "解放J6", "@3"} << QList<int>() << "@7"
        << "SELECT providerid || '/' || carmodel FROM cprovcarmodel" << "P9/解放J6";
    QTest::newRow("purchase contract, saved from its lines") << QByteArray("buycont")
        << QStringList{"@1", "P01", "\n", "HT-2", "tab:DBGrid1", "SUV", "\t", "\t", "\t", "\t", "\t", "2", "@2"}
        << QList<int>{QMessageBox::No} << "@6"
        << "SELECT contract_no || '/' || cartype || '/' || qty FROM cbuycontract JOIN cbuycontdetail"
           " USING (buycont_no)"
        << "HT-2/SUV/2";
    QTest::newRow("purchase contract, cancelled from the provider") << QByteArray("buycont")
        << QStringList{"@1", "@3"} << QList<int>{QMessageBox::Yes} << "@6"
        << "SELECT count(*) FROM cbuycontract" << "0";
    QTest::newRow("purchase payment, cancelled from the provider") << QByteArray("menuprovpre")
        << QStringList{"@1", "@3"} << QList<int>() << "@4"
        << "SELECT count(*) FROM cprovaccount" << "0";
    QTest::newRow("car sale, cancelled from the contract") << QByteArray("menucarout")
        << QStringList{"car:A1", "@3"} << QList<int>() << "@5"
        << "SELECT count(*) FROM caroutstock" << "0";
    QTest::newRow("rights editor, cancelled from the rights") << QByteArray("menurights")
        << QStringList{"@1", "u1", "tab:CheckListBox1", "@4"} << QList<int>() << "@7"
        << "SELECT count(*) FROM crights" << "1";
}

void TestShell::windowKeepsKeysAfterItsButtons()
{
    QFETCH(QByteArray, menuItem);
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, answers);
    QFETCH(QString, exitKey);
    QFETCH(QString, sql);
    QFETCH(QString, stored);
    TestDb db;
    db.insert("cprovider", {{"providerid", "P01"}, {"provname", "一汽"}});
    db.insert("model", {{"code", "M1"}, {"model", "解放J6"}});
    db.insert("carinfor", {{"carserial_no", "A1"}, {"carstatus", menuItem.isEmpty() ? 1 : 0}});
    db.insert("carinstock", {{"carin_no", "RS1"}, {"carserial_no", "A1"}});
    for (int a : answers)
        db.messages.answer(QMessageBox::StandardButton(a));
    Tfrmmain frame;
    QPointer<ChildForm> w;
    if (menuItem.isEmpty()) {
        auto *services = new Tfoutaddcost;
        services->chooseCar = [](QWidget *) { return std::optional<QString>("A1"); };
        w = openInArea(frame, services);
    } else {
        w = openActive(frame, menuItem.constData());
    }
    QVERIFY(w);
    for (const QString &step : steps) {
        if (step.startsWith("car:")) {
            whenModal<Tfselecar>([serial = step.mid(4)](Tfselecar *d) {
                QTest::keyClicks(d->Edit1, serial);
                QTest::keyClick(d->Edit1, Qt::Key_Return);
            });
            keys({"@1"});
            QApplication::setActiveWindow(&frame); // the window manager's part
            QApplication::processEvents();
        } else if (step.startsWith("tab:")) {
            auto *to = w->findChild<QWidget *>(step.mid(4));
            for (int i = 0; i < 30 && QApplication::focusWidget() != to; ++i)
                keys({"\t"});
            QCOMPARE(QApplication::focusWidget(), to);
        } else if (step.startsWith("cell:")) {
            const QStringList at = step.split(':');
            auto *grid = w->findChild<DBGrid *>(at.at(1));
            grid->setFocus();
            key(Qt::Key_Insert);
            grid->setCurrentIndex(grid->model()->index(grid->dataSet()->recNo(), Drive::column(grid, at.at(2))));
        } else {
            keys({step});
        }
        QVERIFY2(focusIn(w), qPrintable(step));
    }
    QWidget *f = QApplication::focusWidget();
    QVERIFY(f && f->isEnabled() && f->isVisible());
    QVERIFY(focusIn(w));
    QCOMPARE(db.scalar(sql).toString(), stored);
    QCOMPARE(db.messages.unanswered, 0);
    keys({exitKey});
    QTRY_VERIFY(!w);
}

void TestShell::pagesTurnByKeyboard_data()
{
    // The window, the field it opens with, and the first field of its other page.
    QTest::addColumn<QByteArray>("menuItem");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("other");
    QTest::newRow("personnel register, on its query page") << QByteArray("menuperson") << "DateEdit1"
                                                           << "DBEdit1";
    QTest::newRow("provider register") << QByteArray("menuprovlog") << "DBEdit1" << "DateEdit1";
    QTest::newRow("customer register") << QByteArray("menucustlog") << "DBEdit1" << "DateEdit1";
    QTest::newRow("services and presents") << QByteArray() << "DBGrid1" << "DBGrid4";
}

void TestShell::pagesTurnByKeyboard()
{
    QFETCH(QByteArray, menuItem);
    QFETCH(QString, first);
    QFETCH(QString, other);
    TestDb db;
    Tfrmmain frame;
    ChildForm *w = menuItem.isEmpty() ? openInArea(frame, new Tfoutaddcost)
                                      : openActive(frame, menuItem.constData());
    QVERIFY(w);
    auto *pages = w->findChild<QTabWidget *>();
    const int opened = pages->currentIndex();
    QCOMPARE(QApplication::focusWidget(), w->findChild<QWidget *>(first));
    key(Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(pages->currentIndex(), (opened + 1) % 2);
    QCOMPARE(QApplication::focusWidget(), w->findChild<QWidget *>(other));
    key(Qt::Key_PageDown, Qt::ControlModifier); // round to the first again
    QCOMPARE(pages->currentIndex(), opened);
    QCOMPARE(QApplication::focusWidget(), w->findChild<QWidget *>(first));
    key(Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(pages->currentIndex(), (opened + 1) % 2);
    // From the page's tab, which Shift+Tab still reaches, onto the page.
    pages->findChild<QTabBar *>()->setFocus();
    key(Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(pages->currentIndex(), opened);
    QCOMPARE(QApplication::focusWidget(), w->findChild<QWidget *>(first));
}

void TestShell::focusBackAfterDialog_data()
{
    // The window and its field with the focus, what opens the dialog (a
    // menu item, else keys), and the dialog's class.
    QTest::addColumn<QByteArray>("menuItem");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QByteArray>("dialogItem");
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("password change") << QByteArray("menucustf") << "ComboEdit1" << QByteArray("chgpass")
                                     << QStringList();
    QTest::newRow("login") << QByteArray("menucustf") << "ComboEdit1" << QByteArray() << QStringList{"^I"};
    QTest::newRow("about box") << QByteArray("menuprovcom") << "ComboEdit1" << QByteArray("menusoft")
                               << QStringList();
    QTest::newRow("data initialisation") << QByteArray("menucustf") << "ComboEdit1" << QByteArray("I1")
                                         << QStringList();
    QTest::newRow("report choice") << QByteArray("menucarinf") << "ComboEdit1" << QByteArray()
                                   << QStringList{"@1", "@3"};
}

void TestShell::focusBackAfterDialog()
{
    // Nobody gives the activation back when the dialog closes (offscreen, or a
    // window manager after a tool window): the window and its field get it.
    QFETCH(QByteArray, menuItem);
    QFETCH(QString, field);
    QFETCH(QByteArray, dialogItem);
    QFETCH(QStringList, steps);
    TestDb db;
    Tfrmmain frame;
    ChildForm *w = openActive(frame, menuItem.constData());
    QVERIFY(w);
    auto *typed = w->findChild<QWidget *>(field);
    QCOMPARE(QApplication::focusWidget(), typed);
    const auto closed = whenModal<QDialog>([](QDialog *d) { QTest::keyClick(d, Qt::Key_Escape); });
    if (!dialogItem.isEmpty())
        item(frame, dialogItem)->trigger();
    keys(steps);
    QVERIFY(*closed);
    QTRY_COMPARE(QApplication::activeWindow(), &frame);
    QCOMPARE(frame.mdiArea->activeSubWindow(), w->parentWidget());
    QCOMPARE(QApplication::focusWidget(), typed);
    // The main window's keys reach it: Ctrl+O asks for the logout.
    keys({"^O"});
    QCOMPARE(db.messages.lastText(), QString("确实注销?"));
}

// ---------------------------------------------------------------- splash, about, translations

void TestShell::splashAndAbout()
{
    TestDb db;
    Tfrm_logo::setInterval(3000);
    Tfrm_logo splash;
    QCOMPARE(splash.Timer1->interval(), 3000);
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    splash.show();
    QTest::keyClick(&splash, Qt::Key_Escape);
    QVERIFY(!splash.close());
    QVERIFY(splash.isVisible());
    splash.Timer1->setInterval(1);
    splash.Timer1->start();
    QTRY_VERIFY(!splash.isVisible());

    // Centred on the screen, not on a small owner in its corner.
    QWidget owner;
    owner.setGeometry(0, 0, 200, 150);
    owner.show();
    Tfrm_logo owned(&owner);
    owned.show();
    const QPoint middle = owner.screen()->geometry().center();
    QVERIFY2((owned.frameGeometry().center() - middle).manhattanLength() <= 1,
             qPrintable(QStringLiteral("splash at %1,%2").arg(owned.frameGeometry().center().x())
                            .arg(owned.frameGeometry().center().y())));

    Tfrmmain frame;
    QString title, dbVer;
    whenModal<Tx_AboutBox>([&](Tx_AboutBox *d) {
        title = d->windowTitle();
        dbVer = d->lbl_dbVer->text();
        QVERIFY(d->OKButton->isDefault());
        QCOMPARE(d->OKButton->text(), QStringLiteral("OK"));
        QTest::mouseClick(d->OKButton, Qt::LeftButton);
    });
    item(frame, "menusoft")->trigger();
    QCOMPARE(title, QStringLiteral("关于"));
    QCOMPARE(dbVer, QStringLiteral("数据库版本:190804"));
}

void TestShell::splashTimeUpWhileShowing()
{
    // Outside the application's loop (as the start-up runs in tests and in
    // tools) showing a splash screen runs pending events; a time that is up
    // by then still ends the splash's modal loop.
    Tfrm_logo::setInterval(0);
    Tfrm_logo splash;
    bool hung = false;
    QTimer rescue; // only for a splash that stays in its loop: shown again, it closes
    rescue.setSingleShot(true);
    connect(&rescue, &QTimer::timeout, &splash, [&] {
        hung = true;
        splash.show();
        splash.Timer1->start();
    });
    rescue.start(5000);
    QCOMPARE(splash.exec(), int(QDialog::Accepted));
    QVERIFY(!hung);
}

void TestShell::chineseStandardButtons()
{
    QVERIFY(Startup::installChineseTranslations());
    QMessageBox box(QMessageBox::Question, "提示", "?",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
    QVERIFY(box.button(QMessageBox::Yes)->text().contains("是"));
    QVERIFY(box.button(QMessageBox::No)->text().contains("否"));
    QVERIFY(box.button(QMessageBox::Cancel)->text().contains("取消"));
    QVERIFY(box.button(QMessageBox::Ok)->text().contains("确定"));
}

// ---------------------------------------------------------------- rights editor

namespace {

QString rightsOf(TestDb &db, const QString &id)
{
    return db.scalar("SELECT rights FROM crights WHERE personnelid = :id", {{":id", id}}).toString();
}

void toggleBox(TfSysRights *w, int p)
{
    w->CheckListBox1->setFocus();
    w->CheckListBox1->setCurrentRow(p - 1);
    QTest::keyClick(w->CheckListBox1, Qt::Key_Space);
}

QList<int> tickedBoxes(TfSysRights *w)
{
    QList<int> on;
    for (int p = 1; p <= w->CheckListBox1->count(); ++p)
        if (w->CheckListBox1->item(p - 1)->checkState() == Qt::Checked)
            on << p;
    return on;
}

// The rights editor on its own, freed at the end unless it closed itself.
struct RightsWindow {
    RightsWindow() : w(new TfSysRights) { w->show(); }
    ~RightsWindow() { delete w.data(); }
    TfSysRights *operator->() const { return w.data(); }
    TfSysRights *get() const { return w.data(); }
    QPointer<TfSysRights> w;
};

void addAccount(TfSysRights *w, const QString &code, const QString &password,
                const QString &confirmation)
{
    w->SpeedItem1->click();
    typeInto(w->DBEdit2, code);
    typeInto(w->DBEdit3, "Wang");
    typeInto(w->DBEdit1, password);
    typeInto(w->Edit2, confirmation);
}

} // namespace

void TestShell::rightsStored_data()
{
    QTest::addColumn<QString>("pressed"); // 全选 "all", 全不选 "none", in this order
    QTest::addColumn<QList<int>>("toggled");
    QTest::addColumn<QString>("stored");
    QTest::newRow("all") << "all" << QList<int>{} << QString(35, '1') + "00000";
    QTest::newRow("all then none") << "all none" << QList<int>{} << QString(40, '0');
    QTest::newRow("one box") << "" << QList<int>{1} << "1" + QString(39, '0');
    QTest::newRow("boxes 7, 8 and 35")
        << "" << QList<int>{7, 8, 35} << "000000110000000000000000000000000010000" "0";
    QTest::newRow("all, box 30 cleared")
        << "all" << QList<int>{30} << QString(29, '1') + "0" + QString(5, '1') + "00000";
    QTest::newRow("box ticked and cleared") << "" << QList<int>{3, 3} << QString(40, '0');
}

void TestShell::rightsStored()
{
    QFETCH(QString, pressed);
    QFETCH(QList<int>, toggled);
    QFETCH(QString, stored);
    TestDb db;
    RightsWindow w;
    QCOMPARE(w->windowTitle(), QStringLiteral("权限设置"));
    QCOMPARE(tickedBoxes(w.get()), range(1, 35)); // on admin
    QVERIFY(!w->CheckListBox1->isEnabled());
    addAccount(w.get(), "wang", "pw", "pw");
    QVERIFY(w->CheckListBox1->isEnabled());
    QCOMPARE(tickedBoxes(w.get()), QList<int>{}); // a new row has no rights
    for (const QString &b : pressed.split(' ', Qt::SkipEmptyParts))
        (b == "all" ? w->SpeedItem4 : w->SpeedItem5)->click();
    for (int p : toggled)
        toggleBox(w.get(), p);
    w->SpeedItem2->click();

    QVERIFY2(db.messages.messages.isEmpty(), qPrintable(db.messages.texts().join(',')));
    QCOMPARE(rightsOf(db, "wang"), stored);
    QCOMPARE(db.scalar("SELECT password FROM crights WHERE personnelid = 'wang'").toString(),
             QStringLiteral("pw"));
    QCOMPARE(w->table()->state(), DataSet::Browse);
    QVERIFY(w->SpeedItem1->isEnabled() && !w->SpeedItem2->isEnabled());
    QVERIFY(!w->CheckListBox1->isEnabled());
    QCOMPARE(w->CheckListBox1->item(0)->text(), QStringLiteral("采购合同登记"));
    QCOMPARE(w->CheckListBox1->item(34)->text(), QStringLiteral("车辆型号设置"));
}

void TestShell::rightsSaveRefused_data()
{
    QTest::addColumn<QString>("code"); // empty: edit the stored user li (password "pw")
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("code of blanks") << "   " << "" << "" << "请输入代码!" << "DBEdit2";
    QTest::newRow("confirmation differs") << "wang" << "abc" << "abd" << "确认口令与口令不一致!"
                                          << "Edit2";
    QTest::newRow("confirmation differs in case") << "wang" << "abc" << "ABC"
                                                  << "确认口令与口令不一致!" << "Edit2";
    QTest::newRow("stored password not confirmed") << "" << "" << "" << "确认口令与口令不一致!"
                                                   << "Edit2";
}

void TestShell::rightsSaveRefused()
{
    QFETCH(QString, code);
    QFETCH(QString, password);
    QFETCH(QString, confirmation);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDb db;
    db.insert("crights", {{"personnelid", "li"}, {"name", "Li"}, {"password", "pw"},
                          {"rights", QString(40, '0')}});
    RightsWindow w;
    if (code.isEmpty()) {
        w->table()->locate("personnelid", "li");
        w->SpeedItem7->click();
        QVERIFY(w->DBEdit2->isReadOnly()); // a stored account keeps its code
        w->SpeedItem4->click();
    } else {
        addAccount(w.get(), code, password, confirmation);
        QVERIFY(!w->DBEdit2->isReadOnly());
    }
    w->SpeedItem2->click();

    QCOMPARE(db.messages.texts(), QStringList{message});
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Warning);
    QCOMPARE(w->focusWidget()->objectName(), focus);
    QVERIFY(w->table()->isEditing());
    QVERIFY(w->SpeedItem2->isEnabled());
    QCOMPARE(db.count("crights"), 2);
    QCOMPARE(rightsOf(db, "li"), QString(40, '0'));
}

void TestShell::rightsBoxesFollowTheRow()
{
    TestDb db;
    db.insert("crights", {{"personnelid", "li"}, {"password", "pw"},
                          {"rights", "1010000" + QString(28, '0') + "11111"}});
    db.insert("crights", {{"personnelid", "zhao"}, {"password", ""}});
    RightsWindow w;
    auto *next = w->DBNavigator1->button(DBNavigator::Next);
    next->click();
    QCOMPARE(w->table()->value("personnelid").toString(), QStringLiteral("li"));
    QCOMPARE(tickedBoxes(w.get()), QList<int>({1, 3}));
    next->click();
    QCOMPARE(tickedBoxes(w.get()), QList<int>{}); // no rights stored
    w->DBNavigator1->button(DBNavigator::Prior)->click();
    QCOMPARE(tickedBoxes(w.get()), QList<int>({1, 3}));

    // Boxes changed and then cancelled show the stored rights again.
    w->SpeedItem7->click();
    QVERIFY(!w->DBNavigator1->isEnabled());
    toggleBox(w.get(), 2);
    QCOMPARE(tickedBoxes(w.get()), QList<int>({1, 2, 3}));
    w->SpeedItem3->click();
    QCOMPARE(tickedBoxes(w.get()), QList<int>({1, 3}));
    QCOMPARE(rightsOf(db, "li"), "1010000" + QString(28, '0') + "11111");

    // Saved without touching the boxes: the stored string stays as it was.
    w->SpeedItem7->click();
    typeInto(w->DBEdit3, "Li Si");
    typeInto(w->Edit2, "pw");
    w->SpeedItem2->click();
    QVERIFY(db.messages.messages.isEmpty());
    QCOMPARE(rightsOf(db, "li"), "1010000" + QString(28, '0') + "11111");
    QCOMPARE(db.scalar("SELECT name FROM crights WHERE personnelid = 'li'").toString(),
             QStringLiteral("Li Si"));
}

void TestShell::rightsPasswordsTheLoginTakes()
{
    TestDb db;
    RightsWindow w;
    addAccount(w.get(), " wang ", "abcdefghijklmnop", "abcdefghijklmnop");
    QCOMPARE(w->DBEdit1->text(), QStringLiteral("abcdefghijkl"));
    QCOMPARE(w->DBEdit1->echoMode(), QLineEdit::Password);
    QCOMPARE(w->Edit2->echoMode(), QLineEdit::Password);
    // Blanks before and after, which the login drops, are not stored.
    typeInto(w->DBEdit1, " pw 1 ");
    typeInto(w->Edit2, " pw 1 ");
    w->SpeedItem2->click();
    QVERIFY(db.messages.messages.isEmpty());
    QCOMPARE(db.scalar("SELECT personnelid || '/' || password FROM crights WHERE name = 'Wang'")
                 .toString(),
             QStringLiteral("wang/pw 1"));

    Tflogin d;
    d.show();
    typeInto(d.Edit1, "wang");
    typeInto(d.Edit2, " pw 1 ");
    QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
    QCOMPARE(d.result(), int(QDialog::Accepted));
}

void TestShell::rightsDuplicateCode()
{
    TestDb db;
    RightsWindow w;
    addAccount(w.get(), "ADMIN", "", "");
    w->SpeedItem2->click();
    QCOMPARE(db.messages.messages.size(), 1);
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Error);
    QCOMPARE(w->table()->state(), DataSet::Insert);
    QCOMPARE(db.count("crights"), 1);
    // Cancel returns to the stored rows.
    w->SpeedItem3->click();
    QCOMPARE(w->table()->state(), DataSet::Browse);
    QCOMPARE(w->table()->recordCount(), 1);
}

void TestShell::rightsOfTheOperatorTakeEffect()
{
    TestDb db;
    db.insert("cpersonnel", {{"personnelid", "li"}, {"Name", "Li"}});
    db.insert("crights", {{"personnelid", "li"}, {"password", ""}, {"rights", QString(40, '1')}});
    Tfrmmain frame;
    startAndLogin(frame);
    item(frame, "menurights")->trigger();
    auto *w = qobject_cast<TfSysRights *>(frame.fSysRights.data());
    QVERIFY(w);
    QCOMPARE(w->Label6->text(), QStringLiteral("管理员"));

    // Another user's rights leave the operator's menus alone.
    w->table()->locate("personnelid", "li");
    w->SpeedItem7->click();
    w->SpeedItem5->click();
    w->SpeedItem2->click();
    QCOMPARE(rightsOf(db, "li"), QString(40, '0'));
    QCOMPARE(enabledPositions(frame), range(1, 35));

    // The operator's own take effect at once.
    w->table()->locate("personnelid", "admin");
    w->SpeedItem7->click();
    w->SpeedItem5->click();
    toggleBox(w, 30);
    w->SpeedItem2->click();
    QVERIFY(db.messages.messages.isEmpty());
    QCOMPARE(enabledPositions(frame), QList<int>{30});
    QVERIFY(item(frame, "I1")->isEnabled());

    // Exit closes the window.
    w->SpeedItem6->click();
    QTRY_VERIFY(!frame.fSysRights);
}

// ---------------------------------------------------------------- data initialisation

namespace {

struct FilledRow {
    const char *box; // the register's box; "" for business data, always emptied
    const char *table;
    QVariantMap row;
};

// One row in every table that initialisation may empty.
const QList<FilledRow> filledRows{
    {"ckbgsxx", "bgsxx", {{"gsmc", "Own"}}},
    {"ckdq", "dq", {{"dqdm", "01"}}},
    {"ckgys", "cprovcarmodel", {{"providerid", "p1"}, {"carmodel", "M"}}},
    {"ckgys", "cprovider", {{"providerid", "p1"}}},
    {"ckkhxx", "ccustomer", {{"customerid", "c1"}}},
    {"ckrsk", "cpersonnel", {{"personnelid", "li"}}},
    {"ckrsk", "crights", {{"personnelid", "li"}}},
    {"ckht", "cconttype", {{"conttypeid", "t1"}}},
    {"ckfy", "subject", {{"subjectid", "s1"}}},
    {"ckcllx", "cartype", {{"code", "k1"}}},
    {"ckclxh", "model", {{"code", "m1"}}},
    {"", "addcost", {{"addcostid", "a"}}},
    {"", "carinfor", {{"carserial_no", "car1"}}},
    {"", "carinstock", {{"carin_no", "r"}}},
    {"", "caroutstock", {{"carout_no", "o"}}},
    {"", "cbuycontdetail", {{"buycont_no", "b"}}},
    {"", "cbuycontract", {{"buycont_no", "b"}}},
    {"", "ccustaccount", {{"caccountid", "k"}}},
    {"", "cprovaccount", {{"paccountid", "p"}}},
    {"", "recycle", {{"s_code", "cmsp"}, {"recycle", 3}, {"type", "ss"}}},
    {"", "servicecost", {{"serviceid", "v"}}},
    {"", "csalecontdetail", {{"salecont_no", "s"}}},
    {"", "csalecontract", {{"salecont_no", "s"}}},
    {"", "delfcost", {{"id", "d"}}},
    {"", "presentcost", {{"presentid", "z"}}},
};

void fillEveryTable(TestDb &db)
{
    for (const FilledRow &f : filledRows)
        db.insert(f.table, f.row);
    db.exec("UPDATE XTDH SET YM_S = '202401', csalecont_s = 57, ccarin_s = 9");
}

// The tables that still hold the row filled in.
QStringList keptTables(TestDb &db)
{
    QStringList kept;
    for (const FilledRow &f : filledRows) {
        const QString field = f.row.firstKey();
        if (db.count(f.table, field + " = :v", {{":v", f.row.first()}}) > 0)
            kept << f.table;
    }
    return kept;
}

const QString admin = "cpersonnel:1 crights:1";
QString adminRows(TestDb &db)
{
    return QString("cpersonnel:%1 crights:%2")
        .arg(db.count("cpersonnel", "personnelid = 'admin'"))
        .arg(db.count("crights", "personnelid = 'admin'"));
}

QString numbering(TestDb &db)
{
    return QString("%1 rows, ").arg(db.count("XTDH"))
           + db.scalar("SELECT id || '/' || YM_S || '/' || (csalecont_s + cbuycont_s + caddcost_s + "
                       "ccarin_s + ccarout_s + cprovacc_s + ccustacc_s + cservice_s + cpresent_s) "
                       "FROM XTDH").toString();
}

void tick(Tfinitial &d, const QStringList &boxes)
{
    for (const QString &name : boxes) {
        auto *box = d.findChild<QCheckBox *>(name);
        QVERIFY2(box, qPrintable(name));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Space);
        QVERIFY(box->isChecked());
    }
}

} // namespace

void TestShell::initialise_data()
{
    QTest::addColumn<QStringList>("ticked");
    QTest::newRow("nothing ticked") << QStringList{};
    QTest::newRow("personnel") << QStringList{"ckrsk"};
    QTest::newRow("providers and car models") << QStringList{"ckgys", "ckclxh"};
    QTest::newRow("every register") << QStringList{"ckbgsxx", "ckdq", "ckgys", "ckkhxx", "ckrsk",
                                                   "ckht", "ckfy", "ckcllx", "ckclxh"};
}

void TestShell::initialise()
{
    QFETCH(QStringList, ticked);
    TestDb db;
    fillEveryTable(db);
    Clock::setNow(QDateTime(QDate(2025, 3, 9), QTime(10, 0)));
    Tfinitial d;
    d.show();
    QCOMPARE(d.windowTitle(), QStringLiteral("数据初始化"));
    tick(d, ticked);
    db.messages.answer(QMessageBox::Yes);
    d.BitBtn1->setFocus();
    QTest::keyClick(d.BitBtn1, Qt::Key_Return);

    QCOMPARE(db.messages.texts(), QStringList({"确认初始化吗?", "完成初始化"}));
    QCOMPARE(db.messages.messages.first().title, QStringLiteral("确认"));
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Question);
    QCOMPARE(db.messages.messages.first().buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(db.messages.messages.last().kind, Msg::Kind::Information);
    QCOMPARE(d.result(), int(QDialog::Accepted));

    QStringList expected;
    for (const FilledRow &f : filledRows)
        if (*f.box && !ticked.contains(f.box))
            expected << f.table;
    QCOMPARE(keptTables(db), expected);
    QCOMPARE(adminRows(db), admin);
    QCOMPARE(db.count("DHSZ"), 1);
    QCOMPARE(numbering(db), QStringLiteral("1 rows, cms001/202503/0"));
    QCOMPARE(db.dm->NextDocumentNumber("csalecontpre", "csalecont_s", "ss", "csalecontract",
                                       "salecont_no"),
             QStringLiteral("SS2025030001"));
}

void TestShell::initialiseNoKeepsEverything()
{
    TestDb db;
    fillEveryTable(db);
    Tfinitial d;
    d.show();
    tick(d, {"ckrsk", "ckdq"});
    db.messages.answer(QMessageBox::No);
    QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
    QCOMPARE(db.messages.texts(), QStringList{"确认初始化吗?"});
    QVERIFY(d.isVisible());
    QCOMPARE(keptTables(db).size(), filledRows.size());
    QCOMPARE(numbering(db), QStringLiteral("1 rows, cms001/202401/66"));

    // Cancel closes the dialog and nothing is done.
    QTest::mouseClick(d.BitBtn2, Qt::LeftButton);
    QCOMPARE(d.result(), int(QDialog::Rejected));
    QCOMPARE(keptTables(db).size(), filledRows.size());
}

void TestShell::initialiseFailureKeepsEveryRow()
{
    TestDb db;
    fillEveryTable(db);
    // The last statement fails, after everything else was emptied.
    db.exec("CREATE TRIGGER xtdh_kept BEFORE DELETE ON XTDH BEGIN SELECT RAISE(ABORT, 'XTDH is "
            "locked'); END");
    Tfinitial d;
    d.show();
    tick(d, {"ckbgsxx", "ckdq", "ckgys", "ckkhxx", "ckrsk", "ckht", "ckfy", "ckcllx", "ckclxh"});
    db.messages.answer(QMessageBox::Yes);
    QTest::mouseClick(d.BitBtn1, Qt::LeftButton);

    QCOMPARE(db.messages.messages.size(), 2);
    QCOMPARE(db.messages.messages.last().kind, Msg::Kind::Error);
    QVERIFY2(db.messages.lastText().contains("XTDH is locked"), qPrintable(db.messages.lastText()));
    QVERIFY(d.isVisible());
    QCOMPARE(keptTables(db).size(), filledRows.size());
    QCOMPARE(numbering(db), QStringLiteral("1 rows, cms001/202401/66"));
}

void TestShell::initialiseThroughMenu()
{
    TestDb db;
    fillEveryTable(db);
    db.insert("cpersonnel", {{"personnelid", "zhang"}, {"Name", "张三"}});
    db.insert("crights", {{"personnelid", "zhang"}, {"password", "z"},
                          {"rights", "11" + QString(38, '0')}});
    Tfrmmain frame;
    startAndLogin(frame, "zhang", "z");
    QPointer<ChildForm> fone, ftwo;
    frame.openChild<TestWindow>(fone)->edit->setText("one");
    auto *two = frame.openChild<TestWindow>(ftwo);
    two->edit->setText("two");
    two->refuse = true; // unsaved input kept open

    auto run = [&] {
        whenModal<Tfinitial>([&](Tfinitial *d) {
            tick(*d, {"ckrsk"});
            db.messages.answer(QMessageBox::Yes);
            QTest::mouseClick(d->BitBtn1, Qt::LeftButton);
            if (d->isVisible())
                QTest::mouseClick(d->BitBtn2, Qt::LeftButton);
        });
        item(frame, "I1")->trigger();
    };
    run();
    QCOMPARE(db.messages.texts(), QStringList({"确认初始化吗?", "请先关闭所有窗口，再进行数据初始化!"}));
    QCOMPARE(keptTables(db).size(), filledRows.size());
    QVERIFY(ftwo);

    db.messages.clear();
    two->refuse = false;
    run();
    QCOMPARE(db.messages.texts(), QStringList({"确认初始化吗?", "完成初始化"}));
    QCOMPARE(TestWindow::closed, QStringList({"one", "two"}));
    QTRY_COMPARE(frame.mdiArea->subWindowList().size(), 0);
    // The operator at work and admin are kept; every other person is gone.
    QCOMPARE(db.count("cpersonnel"), 2);
    QCOMPARE(db.count("crights"), 2);
    QCOMPARE(db.count("crights", "personnelid IN ('admin', 'zhang')"), 2);
    QCOMPARE(db.dm->operatorName(), QStringLiteral("张三"));
    QCOMPARE(enabledPositions(frame), QList<int>({1, 2}));
    QCOMPARE(db.dm->trsk->recordCount(), 2);

    // admin can still log in.
    db.messages.clear();
    answerLogin("admin", "");
    item(frame, "syslogin")->trigger();
    QVERIFY(db.messages.messages.isEmpty());
    QCOMPARE(db.dm->operatorName(), QStringLiteral("管理员"));
    QCOMPARE(enabledPositions(frame), range(1, 35));
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
