// The rights editor: what it stores and refuses, the boxes of each row, and
// the rights of the operator taking effect in the menus.
#include "ShellFixture.h"
#include "DBNavigator.h"
#include "TestDb.h"
#include "USysRights.h"
#include "login.h"

#include <QAction>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

class TestRights : public QObject {
    Q_OBJECT

private slots:
    // A dialog that never came up is not answered in the next test.
    void cleanup() { qDeleteAll(qApp->findChildren<QTimer *>("modalPoll")); }

    // Rights editor
    void rightsStored_data();
    void rightsStored();
    void rightsSaveRefused_data();
    void rightsSaveRefused();
    void rightsBoxesFollowTheRow();
    void rightsPasswordsTheLoginTakes();
    void rightsDuplicateCode();
    void rightsListHoldsTheEditedRow_data();
    void rightsListHoldsTheEditedRow();
    void rightsOfTheOperatorTakeEffect();
};

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

void TestRights::rightsStored_data()
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

void TestRights::rightsStored()
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

void TestRights::rightsSaveRefused_data()
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

void TestRights::rightsSaveRefused()
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

void TestRights::rightsBoxesFollowTheRow()
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

void TestRights::rightsPasswordsTheLoginTakes()
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

void TestRights::rightsDuplicateCode()
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

void TestRights::rightsListHoldsTheEditedRow_data()
{
    QTest::addColumn<bool>("adding"); // else the stored user li is edited
    QTest::addColumn<QString>("moves"); // "keys" from the confirmation on, "click" on another row
    QTest::newRow("added, Enter from the list, Shift+Tab") << true << "keys";
    QTest::newRow("added, another row clicked") << true << "click";
    QTest::newRow("edited, Enter from the list, Shift+Tab") << false << "keys";
    QTest::newRow("edited, another row clicked") << false << "click";
}

// While a row is typed the list beside it stays on that row: nothing there
// stores it past the save's checks or shows another user's row under it.
void TestRights::rightsListHoldsTheEditedRow()
{
    QFETCH(bool, adding);
    QFETCH(QString, moves);
    TestDb db;
    db.insert("crights", {{"personnelid", "li"}, {"name", "Li"}, {"password", "pw"},
                          {"rights", QString(40, '0')}});
    db.insert("crights", {{"personnelid", "zhao"}, {"name", "Zhao"}, {"password", ""}});
    RightsWindow w;
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    const QString code = adding ? "wang" : "li";
    if (adding) {
        addAccount(w.get(), "wang", "pw", "pw");
    } else {
        w->table()->locate("personnelid", "li");
        w->SpeedItem7->click();
        typeInto(w->DBEdit3, "Wang");
        typeInto(w->Edit2, "pw");
    }
    const int row = w->table()->recNo();
    if (moves == "keys") {
        w->Edit2->setFocus();
        for (int k : {Qt::Key_Return, Qt::Key_Return, Qt::Key_Backtab, Qt::Key_Down, Qt::Key_Up,
                      Qt::Key_Home}) {
            QWidget *f = QApplication::focusWidget();
            QVERIFY(f);
            QTest::keyClick(f, Qt::Key(k), k == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
            QVERIFY(QApplication::focusWidget() != w->DBGrid1);
        }
    } else {
        const QRect admin = w->DBGrid1->visualRect(w->DBGrid1->model()->index(0, 0));
        QTest::mouseClick(w->DBGrid1->viewport(), Qt::LeftButton, {}, admin.center());
    }
    QCoreApplication::processEvents();

    QCOMPARE(w->table()->state(), adding ? DataSet::Insert : DataSet::Edit);
    QCOMPARE(w->table()->recNo(), row);
    QCOMPARE(w->DBGrid1->currentIndex().row(), row);
    QCOMPARE(w->DBEdit2->text(), code);
    QCOMPARE(db.count("crights"), 3);
    QCOMPARE(db.count("crights", "name = 'Wang'"), 0);
    QVERIFY(db.messages.messages.isEmpty());

    // The save, after its checks, ends the edit; the list moves again.
    w->SpeedItem2->click();
    QVERIFY2(db.messages.messages.isEmpty(), qPrintable(db.messages.texts().join(',')));
    QCOMPARE(db.count("crights", "name = 'Wang'"), 1);
    QCOMPARE(w->table()->state(), DataSet::Browse);
    QVERIFY(w->DBGrid1->isEnabled());
    const QRect admin = w->DBGrid1->visualRect(w->DBGrid1->model()->index(0, 0));
    QTest::mouseClick(w->DBGrid1->viewport(), Qt::LeftButton, {}, admin.center());
    QCOMPARE(w->table()->value("personnelid").toString(), QStringLiteral("admin"));
}

void TestRights::rightsOfTheOperatorTakeEffect()
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

QTEST_MAIN(TestRights)
#include "tst_rights.moc"
