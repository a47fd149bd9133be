// The login dialog and the login through the menu, the logout, and the
// password change.
#include "ShellFixture.h"
#include "DMsales.h"
#include "Modal.h"
#include "TestDb.h"
#include "chngpw.h"
#include "login.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

class TestLogin : public QObject {
    Q_OBJECT

private slots:
    void init() { TestWindow::closed.clear(); }
    // A dialog that never came up is not answered in the next test.
    void cleanup() { qDeleteAll(qApp->findChildren<QTimer *>("modalPoll")); }

    // Login, logout
    void loginCheck_data();
    void loginCheck();
    void keyboardOnlyLogin_data();
    void keyboardOnlyLogin();
    void loginThroughMenu();
    void loginFailureOfDatabase();
    void personnelUnreadableAtStartUp();
    void logout();

    // Password change
    void passwordChange_data();
    void passwordChange();
};

void TestLogin::loginCheck_data()
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

void TestLogin::loginCheck()
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

void TestLogin::keyboardOnlyLogin_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QStringList>("after"); // the keys after the password: "\n" Enter, "\t" Tab
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("message");
    QTest::newRow("Enter in 口令 logs in") << "Pass1" << QStringList{"\n"} << int(QDialog::Accepted) << "";
    QTest::newRow("a wrong password stays") << "pass1" << QStringList{"\n"} << -1 << "密码错误";
    QTest::newRow("Enter on 确定 logs in") << "Pass1" << QStringList{"\t", "\n"} << int(QDialog::Accepted)
                                          << "";
    QTest::newRow("Enter on 取消 cancels") << "Pass1" << QStringList{"\t", "\t", "\n"}
                                          << int(QDialog::Rejected) << "";
}

void TestLogin::keyboardOnlyLogin()
{
    QFETCH(QString, password);
    QFETCH(QStringList, after);
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
    // Code, Enter, password and what follows: all typed where the focus is.
    auto keys = [](const QString &text) { QTest::keyClicks(QApplication::focusWidget(), text); };
    auto enter = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); };
    keys("p01");
    enter();
    QCOMPARE(QApplication::focusWidget(), d.Edit2);
    QCOMPARE(finished, -1); // Enter in the code moves on
    keys(password);
    for (const QString &k : after) {
        if (k == "\t")
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        else
            enter();
    }
    QCOMPARE(finished, result);
    QCOMPARE(d.isVisible(), result < 0);
    QCOMPARE(db.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (result < 0)
        QCOMPARE(QApplication::focusWidget(), d.Edit2);
}

void TestLogin::loginThroughMenu()
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

void TestLogin::loginFailureOfDatabase()
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

void TestLogin::personnelUnreadableAtStartUp()
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

void TestLogin::logout()
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

void TestLogin::passwordChange_data()
{
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("byEnter"); // each field ended by Enter, the last one's pressing 确定
    // The stored password is "Old1".
    QTest::newRow("changed") << "Old1" << "New2" << "New2" << "口令更改成功。" << "" << "New2" << false;
    QTest::newRow("changed by Enter") << "Old1" << "New2" << "New2" << "口令更改成功。" << "" << "New2"
                                      << true;
    QTest::newRow("old password with case") << "old1" << "New2" << "New2" << "旧口令错误。"
                                            << "Edit1" << "Old1" << false;
    QTest::newRow("old password not trimmed") << "Old1 " << "New2" << "New2" << "旧口令错误。"
                                              << "Edit1" << "Old1" << false;
    QTest::newRow("confirmation differs") << "Old1" << "New2" << "New3" << "确认新口令错误。"
                                          << "Edit3" << "Old1" << false;
    QTest::newRow("confirmation differs, by Enter") << "Old1" << "New2" << "New3" << "确认新口令错误。"
                                                    << "Edit3" << "Old1" << true;
    QTest::newRow("blanks are not stored") << "Old1" << " New 2 " << " New 2 " << "口令更改成功。"
                                           << "" << "New 2" << false;
    QTest::newRow("the longest password") << "Old1" << "abcdefghijklXYZ" << "abcdefghijkl"
                                          << "口令更改成功。" << "" << "abcdefghijkl" << false;
}

void TestLogin::passwordChange()
{
    QFETCH(QString, oldPassword);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirmation);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(QString, stored);
    QFETCH(bool, byEnter);
    TestDb db;
    db.exec("UPDATE crights SET password = 'Old1' WHERE personnelid = 'admin'");
    db.dm->tright->refresh();
    Tfrmmain frame;
    startAndLogin(frame, "admin", "Old1");

    bool stayedOpen = false;
    QString focused, user;
    QStringList focusAfterEnter;
    whenModal<Tfchngpw>([&](Tfchngpw *d) {
        user = d->Label4->text();
        typeInto(d->Edit1, oldPassword);
        if (byEnter) {
            QVERIFY(QTest::qWaitForWindowActive(d));
            for (const QString &text : {newPassword, confirmation}) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                focusAfterEnter << QApplication::focusWidget()->objectName();
                QTest::keyClicks(QApplication::focusWidget(), text);
            }
            QVERIFY(db.messages.messages.isEmpty());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else {
            typeInto(d->Edit2, newPassword);
            typeInto(d->Edit3, confirmation);
            QTest::mouseClick(d->BitBtn1, Qt::LeftButton);
        }
        stayedOpen = d->isVisible();
        if (d->focusWidget())
            focused = d->focusWidget()->objectName();
        if (stayedOpen)
            QTest::mouseClick(d->BitBtn2, Qt::LeftButton);
    });
    frame.SpeedItem13->click();
    QCOMPARE(user, QStringLiteral("管理员"));
    if (byEnter)
        QCOMPARE(focusAfterEnter, (QStringList{"Edit2", "Edit3"}));
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

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
