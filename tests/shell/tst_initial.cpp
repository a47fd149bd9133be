// The data initialisation: the tables it empties and those it keeps, its
// numbering afresh, and its refusal while a window stays open.
#include "ShellFixture.h"
#include "Clock.h"
#include "DMsales.h"
#include "Modal.h"
#include "TestDb.h"
#include "initial.h"

#include <QAction>
#include <QCheckBox>
#include <QMdiArea>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestInitialise : public QObject {
    Q_OBJECT

private slots:
    void init() { TestWindow::closed.clear(); }
    // A dialog that never came up is not answered in the next test.
    void cleanup() { qDeleteAll(qApp->findChildren<QTimer *>("modalPoll")); }

    // Data initialisation
    void initialise_data();
    void initialise();
    void initialiseNoKeepsEverything();
    void initialiseFailureKeepsEveryRow();
    void initialiseThroughMenu();
};

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

void TestInitialise::initialise_data()
{
    QTest::addColumn<QStringList>("ticked");
    QTest::newRow("nothing ticked") << QStringList{};
    QTest::newRow("personnel") << QStringList{"ckrsk"};
    QTest::newRow("providers and car models") << QStringList{"ckgys", "ckclxh"};
    QTest::newRow("every register") << QStringList{"ckbgsxx", "ckdq", "ckgys", "ckkhxx", "ckrsk",
                                                   "ckht", "ckfy", "ckcllx", "ckclxh"};
}

void TestInitialise::initialise()
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

void TestInitialise::initialiseNoKeepsEverything()
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

void TestInitialise::initialiseFailureKeepsEveryRow()
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

void TestInitialise::initialiseThroughMenu()
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

QTEST_MAIN(TestInitialise)
#include "tst_initial.moc"
