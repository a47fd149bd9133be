// The start-up: the database announced, the splash and the first login, once
// only; the splash itself, the about box and the Chinese standard buttons.
#include "ShellFixture.h"
#include "DMsales.h"
#include "Modal.h"
#include "Startup.h"
#include "TestDb.h"
#include "login.h"
#include "unt_logo.h"
#include "x_abou_p.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

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

} // namespace

class TestStartUp : public QObject {
    Q_OBJECT

private slots:
    // A dialog that never came up is not answered in the next test.
    void cleanup() { qDeleteAll(qApp->findChildren<QTimer *>("modalPoll")); }

    // Start-up
    void startUpShowsSplashThenLogin_data();
    void databaseAnnouncedAtStartUp_data();
    void databaseAnnouncedAtStartUp();
    void startUpShowsSplashThenLogin();
    void startUpRunsOnce();
    void cancelAtStartUpEndsProgram();
    void noSecondLoginWhileOneIsOpen();

    // Splash, about box, translations
    void splashAndAbout();
    void splashTimeUpWhileShowing();
    void chineseStandardButtons();
};

// ---------------------------------------------------------------- start-up

void TestStartUp::startUpShowsSplashThenLogin_data()
{
    QTest::addColumn<bool>("activated");
    QTest::newRow("window manager activates the window") << true;
    // A display without a window manager: the window is shown, never activated.
    QTest::newRow("no window manager") << false;
}

void TestStartUp::databaseAnnouncedAtStartUp_data()
{
    QTest::addColumn<QString>("before"); // huoyun.mdb before the start
    QTest::addColumn<int>("kind");        // the box shown, -1 for none
    QTest::addColumn<QString>("text");    // part of its text
    QTest::newRow("missing") << "missing" << int(Msg::Kind::Information) << "已新建数据库";
    QTest::newRow("a text file") << "text" << int(Msg::Kind::Error) << "不是数据库文件";
    QTest::newRow("a damaged database") << "damaged" << int(Msg::Kind::Error) << "已损坏";
    QTest::newRow("another program's") << "foreign" << int(Msg::Kind::Error) << "不是本系统的数据库";
    QTest::newRow("a database") << "database" << -1 << "";
}

void TestStartUp::databaseAnnouncedAtStartUp()
{
    QFETCH(QString, before);
    QFETCH(int, kind);
    QFETCH(QString, text);
    TestDb db(false);
    if (before == "database") {
        db.startDataModule(); // made by an earlier start
        db.stopDataModule();
    } else if (before == "foreign") {
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
            other.setDatabaseName("huoyun.mdb");
            QVERIFY(other.open());
            QVERIFY(QSqlQuery(other).exec("CREATE TABLE notes (body TEXT)"));
        }
        QSqlDatabase::removeDatabase("other");
    } else if (before != "missing") {
        QFile f("huoyun.mdb");
        QVERIFY(f.open(QIODevice::WriteOnly));
        // A damaged one keeps the engine's header, the rest is lost.
        f.write(before == "damaged" ? QByteArray("SQLite format 3", 16) + QByteArray(4080, 'x')
                                    : QByteArray("车辆清单\n宝来 3 辆\n"));
    }
    const QByteArray file = [] {
        QFile f("huoyun.mdb");
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    db.dm = std::make_unique<TfrmDMcarsales>();
    QVERIFY(db.messages.messages.isEmpty()); // the data module itself shows nothing

    // The program goes on only with a database it can use.
    QCOMPARE(Startup::announceDatabase(*db.dm), kind != int(Msg::Kind::Error));
    if (kind < 0) {
        QVERIFY(db.messages.messages.isEmpty());
        return;
    }
    QCOMPARE(db.messages.messages.size(), 1);
    const Msg::Record &m = db.messages.messages.first();
    QCOMPARE(int(m.kind), kind);
    QCOMPARE(m.title, QStringLiteral("提示"));
    QVERIFY2(m.text.contains(text), qPrintable(m.text));
    const QString path = QDir::toNativeSeparators(QDir::current().absoluteFilePath("huoyun.mdb"));
    QVERIFY2(m.text.contains(path), qPrintable(m.text));
    if (before == "missing")
        return;
    QVERIFY2(!QString(m.text).remove(path).contains("database"), qPrintable(m.text)); // no engine text
    db.stopDataModule();
    QFile f("huoyun.mdb");
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll() == file); // left exactly as it was
    QCOMPARE(QDir::current().entryList(QDir::Files), QStringList{"huoyun.mdb"});
}

void TestStartUp::startUpShowsSplashThenLogin()
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

void TestStartUp::startUpRunsOnce()
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

void TestStartUp::cancelAtStartUpEndsProgram()
{
    TestDb db;
    Tfrm_logo::setInterval(1);
    Tfrmmain frame;
    whenModal<Tflogin>([](Tflogin *d) { QTest::mouseClick(d->BitBtn2, Qt::LeftButton); });
    frame.show();
    QVERIFY(QTest::qWaitFor([&] { return !frame.isVisible(); }, 3000));
}

void TestStartUp::noSecondLoginWhileOneIsOpen()
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

// ---------------------------------------------------------------- splash, about, translations

void TestStartUp::splashAndAbout()
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

void TestStartUp::splashTimeUpWhileShowing()
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

void TestStartUp::chineseStandardButtons()
{
    QVERIFY(Startup::installChineseTranslations());
    QMessageBox box(QMessageBox::Question, "提示", "?",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
    QVERIFY(box.button(QMessageBox::Yes)->text().contains("是"));
    QVERIFY(box.button(QMessageBox::No)->text().contains("否"));
    QVERIFY(box.button(QMessageBox::Cancel)->text().contains("取消"));
    QVERIFY(box.button(QMessageBox::Ok)->text().contains("确定"));
}

QTEST_MAIN(TestStartUp)
#include "tst_startup.moc"
