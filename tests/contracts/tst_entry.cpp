// Contract entry of both twins: add, save and cancel, the refusals of a save,
// the start, the close question and the print.
#include "ContractFixture.h"
#include "DBControls.h"
#include "DBGrid.h"
#include "ReportPrinter.h"
#include "TestDb.h"
#include "Usalecont.h"

#include <QApplication>
#include <QTest>

class TestContractEntry : public QObject {
    Q_OBJECT

private slots:
    void addFillSaveThenCancelReusesSerial_data() { addTwinRows(); }
    void addFillSaveThenCancelReusesSerial();
    void refusalsStoreNothingAndKeepInput_data();
    void refusalsStoreNothingAndKeepInput();
    void startExecution_data() { addTwinRows(); }
    void startExecution();
    void closeQuestion_data();
    void closeQuestion();
    void printStaysEditingAndCancelStillDiscards_data() { addTwinRows(); }
    void printStaysEditingAndCancelStillDiscards();
    void printWithoutWindowMissingPartyNoLines_data() { addTwinRows(); }
    void printWithoutWindowMissingPartyNoLines();
    void failedSaveWritesNothingAndKeepsInput();
    void numberingFailureOpensNothing();
    void datesNotWholeAreRefused_data();
    void datesNotWholeAreRefused();
};

void TestContractEntry::addFillSaveThenCancelReusesSerial()
{
    QFETCH(QString, kind);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    Window w(t.make());
    QCOMPARE(w->windowTitle(), QString(kind == "sales" ? "销售合同" : "采购合同"));
    QVERIFY(!w->ComboEdit1->isEnabled());

    const QString serial = addFilled(w.w, t);
    QVERIFY(serial.startsWith(kind == "sales" ? "SS" : "BS") && serial.endsWith("0001"));
    // Stored at once with only its number; the signing date is pending.
    QCOMPARE(db.count(t.master), 1);
    QVERIFY(db.scalar("SELECT contract_no FROM " + t.master).isNull());
    QCOMPARE(w->DBDateEdit3->date(), Now.date());

    DBGrid *grid = w->DBGrid1;
    w->N1->trigger();
    QCOMPARE(currentField(grid), QString("cartype"));
    enterLine(grid, {"轿车", "桑塔纳", "上海", "117000", "2"}); // appends the next line
    enterLine(grid, {"轿车", "捷达", "长春", "58500", "0"});
    enterLine(grid, {"轿车", "奥迪", "长春", "300000", ""});
    enterLine(grid, {"轿车", "红旗", "长春", "200000", "-1"});
    QCOMPARE(db.count(t.lines), 0); // nothing of the lines is written before the save

    db.messages.answer(QMessageBox::No); // 是否打印?
    press(w.w, "SpeedItem2");
    QCOMPARE(db.messages.texts(), QStringList{"是否打印?"});
    QCOMPARE(db.scalar("SELECT contract_no FROM " + t.master).toString(), QString("HT-001"));
    QCOMPARE(db.scalar("SELECT " + t.codeField + " FROM " + t.master).toString(), t.code);
    QCOMPARE(db.scalar("SELECT " + t.nameField + " FROM " + t.master).toString(), t.partyName);
    QCOMPARE(db.scalar("SELECT operator FROM " + t.master).toString(), QString("管理员"));
    QCOMPARE(db.scalar("SELECT register_date FROM " + t.master).toString(), QString("2024-05-06 09:30:00"));
    QCOMPARE(db.scalar("SELECT contract_date FROM " + t.master).toString(), QString("2024-05-06 09:30:00"));
    QCOMPARE(db.scalar("SELECT isfinished FROM " + t.master).toInt(), 0);
    QCOMPARE(db.scalar("SELECT recorder FROM " + t.master).toString(), QString("张三"));
    // Empty and zero quantities are gone, a negative one stays.
    QCOMPARE(db.count(t.lines), 2);
    QCOMPARE(db.count(t.lines, t.numberField + " = :n AND carmodel = '桑塔纳' AND qty = 2 AND unitprice = 117000",
                      {{":n", serial}}), 1);
    QCOMPARE(db.count(t.lines, "carmodel = '红旗' AND qty = -1"), 1);
    QVERIFY(w->SpeedItem1->isEnabled());
    QVERIFY(!w->SpeedItem2->isEnabled());
    QVERIFY(w->ComboEdit1->text().isEmpty());

    // Add and cancel: nothing left, the serial back in the pool and drawn again.
    press(w.w, "SpeedItem1");
    const QString second = w->master()->value(t.numberField).toString();
    type(w.w, "ComboEdit1", t.code);
    w->N1->trigger();
    enterLine(w->DBGrid1, {"轿车", "桑塔纳", "上海", "1", "1"});
    db.messages.answer(QMessageBox::Yes); // 确实要放弃吗？
    press(w.w, "SpeedItem3");
    QCOMPARE(db.count(t.master), 1);
    QCOMPARE(db.count(t.lines), 2);
    QCOMPARE(db.count("recycle", "recycle = 2 AND type = :t", {{":t", t.typeCode}}), 1);
    press(w.w, "SpeedItem1");
    QCOMPARE(w->master()->value(t.numberField).toString(), second);
    QCOMPARE(db.count("recycle"), 0);
}

void TestContractEntry::refusalsStoreNothingAndKeepInput_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("contractNo");
    QTest::addColumn<bool>("codeMessage"); // else the message of the contract number
    QTest::addColumn<bool>("notFound");
    for (const char *k : {"sales", "purchase"}) {
        const Twin &t = twin(k);
        QTest::addRow("%s no code", k) << QString(k) << QString() << "HT-9" << true << false;
        QTest::addRow("%s unknown code", k) << QString(k) << "X999" << "HT-9" << true << true;
        QTest::addRow("%s no contract number", k) << QString(k) << t.code << QString() << false << false;
    }
}

void TestContractEntry::refusalsStoreNothingAndKeepInput()
{
    QFETCH(QString, kind);
    QFETCH(QString, code);
    QFETCH(QString, contractNo);
    QFETCH(bool, codeMessage);
    QFETCH(bool, notFound);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    Window w(t.make());
    press(w.w, "SpeedItem1");
    type(w.w, "ComboEdit1", t.code);
    w->N1->trigger();
    enterLine(w->DBGrid1, {"轿车", "桑塔纳", "上海", "1", "3"});
    // What stands in the fields when the button is pressed counts.
    type(w.w, "ComboEdit1", code);
    type(w.w, "DBEdit1", contractNo);
    type(w.w, "DBEdit6", "杭州"); // typed last: the focus is not in the field to mend
    db.messages.clear();
    press(w.w, "SpeedItem2");
    const QString expected = !codeMessage ? "请输入合同号!" : notFound ? t.codeNotFound : t.codeMissing;
    QCOMPARE(db.messages.texts(), QStringList{expected});
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Warning);
    QCOMPARE(w->focusWidget(), codeMessage ? static_cast<QWidget *>(w->ComboEdit1) : w->DBEdit1);
    // Nothing new stored, the input still there and the contract still unsaved.
    QVERIFY(db.scalar("SELECT startarea FROM " + t.master).isNull());
    QVERIFY(db.scalar("SELECT isfinished FROM " + t.master).isNull());
    QCOMPARE(db.count(t.lines), 0);
    QCOMPARE(w->DBEdit6->text(), QString("杭州"));
    QCOMPARE(w->lines()->recordCount(), 2);
    QVERIFY(w->master()->isEditing());
    QVERIFY(w->SpeedItem2->isEnabled());

    // Mended, the same contract saves with all that was typed.
    type(w.w, "ComboEdit1", t.code);
    type(w.w, "DBEdit1", "HT-9");
    db.messages.clear();
    db.messages.answer(QMessageBox::No);
    press(w.w, "SpeedItem2");
    QCOMPARE(db.messages.texts(), QStringList{"是否打印?"});
    QCOMPARE(db.scalar("SELECT startarea FROM " + t.master).toString(), QString("杭州"));
    QCOMPARE(db.count(t.lines), 1);
}

void TestContractEntry::startExecution()
{
    QFETCH(QString, kind);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    Window w(t.make());
    addFilled(w.w, t);
    db.messages.answer(QMessageBox::No);
    press(w.w, "SpeedItem5");
    QCOMPARE(db.messages.texts(), QStringList{"合同执行后将无法修改，是否继续？"});
    QVERIFY(db.scalar("SELECT isfinished FROM " + t.master).isNull());
    QVERIFY(db.scalar("SELECT contract_no FROM " + t.master).isNull());
    QVERIFY(w->master()->isEditing());

    db.messages.answer(QMessageBox::Yes);
    db.messages.answer(QMessageBox::No); // 是否打印?
    press(w.w, "SpeedItem5");
    QCOMPARE(db.scalar("SELECT isfinished FROM " + t.master).toInt(), 1);
    QCOMPARE(db.scalar("SELECT contract_no FROM " + t.master).toString(), QString("HT-001"));
    QVERIFY(w->SpeedItem1->isEnabled());
    QVERIFY(!w->master()->isActive());
}

void TestContractEntry::closeQuestion_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("contractNo");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("rows");
    for (const char *k : {"sales", "purchase"}) {
        QTest::addRow("%s yes refused", k) << QString(k) << int(QMessageBox::Yes) << false << false << 1;
        QTest::addRow("%s yes saved", k) << QString(k) << int(QMessageBox::Yes) << true << true << 1;
        QTest::addRow("%s no discards", k) << QString(k) << int(QMessageBox::No) << false << true << 0;
        QTest::addRow("%s cancel keeps", k) << QString(k) << int(QMessageBox::Cancel) << true << false << 1;
    }
}

void TestContractEntry::closeQuestion()
{
    QFETCH(QString, kind);
    QFETCH(int, answer);
    QFETCH(bool, contractNo);
    QFETCH(bool, closes);
    QFETCH(int, rows);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    Window w(t.make());
    addFilled(w.w, t, contractNo ? "HT-001" : "");
    w->N1->trigger();
    enterLine(w->DBGrid1, {"轿车", "桑塔纳", "上海", "1", "3"});
    db.messages.answer(QMessageBox::StandardButton(answer));
    QCOMPARE(w->close(), closes);
    QCOMPARE(db.messages.messages.first().text, t.closeQuestion);
    QCOMPARE(db.messages.messages.first().buttons,
             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(db.messages.messages.first().defaultButton, QMessageBox::Cancel);
    QCOMPARE(db.count(t.master), rows);
    QCOMPARE(db.count(t.lines), answer == QMessageBox::Yes && closes ? 1 : 0);
    if (!closes) {
        QVERIFY(w.w);
        QVERIFY(w->master()->isEditing());
        QCOMPARE(w->lines()->recordCount(), 2);
        QVERIFY(db.scalar("SELECT isfinished FROM " + t.master).isNull());
    } else if (answer == QMessageBox::No) {
        QCOMPARE(db.count("recycle", "recycle = 1 AND type = :t", {{":t", t.typeCode}}), 1);
    } else {
        QCOMPARE(db.scalar("SELECT isfinished FROM " + t.master).toInt(), 0);
    }
}

void TestContractEntry::printStaysEditingAndCancelStillDiscards()
{
    QFETCH(QString, kind);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    CapturedPrints prints;
    Window w(t.make());
    const QString serial = addFilled(w.w, t);
    w->N1->trigger();
    enterLine(w->DBGrid1, {"轿车", "桑塔纳", "上海", "117000", "2"});
    enterLine(w->DBGrid1, {"轿车", "捷达", "长春", "58500", "1"});
    press(w.w, "SpeedItem4");
    QCOMPARE(prints.documents.size(), 1);
    const QStringList texts = prints.documents.first().pages.first().texts();
    for (const QString &s : {QString("HT-001"), t.partyName, QString("桑塔纳"), QString("捷达"),
                             QString("张三"), QString("岚峰汽车"), QString("29.25")})
        QVERIFY2(texts.contains(s), qPrintable(s));
    QCOMPARE(db.scalar("SELECT isfinished FROM " + t.master).toInt(), 0);
    QCOMPARE(db.count(t.lines), 2);
    QVERIFY(w->master()->isEditing());
    QVERIFY(w->SpeedItem2->isEnabled());

    // A failed print says so once; the contract is discarded all the same afterwards.
    prints.fail = true;
    press(w.w, "SpeedItem4");
    QCOMPARE(db.messages.messages.size(), 1);
    QVERIFY(db.messages.lastIsPrintFailure());
    QVERIFY(w->master()->isEditing());
    db.messages.clear();
    db.messages.answer(QMessageBox::Yes);
    press(w.w, "SpeedItem3");
    QCOMPARE(db.count(t.master), 0);
    QCOMPARE(db.count(t.lines), 0);
    QCOMPARE(db.count("recycle", "recycle = :s AND type = :t",
                      {{":s", serial.right(4).toInt()}, {":t", t.typeCode}}), 1);
}

void TestContractEntry::printWithoutWindowMissingPartyNoLines()
{
    QFETCH(QString, kind);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    db.insert(t.master, {{t.numberField, "N1"}, {"contract_no", "HT-77"}, {t.codeField, "GONE"},
                         {t.nameField, "旧名"}, {"recorder", "李四"}});
    db.insert(t.lines, {{t.numberField, "OTHER"}, {"carmodel", "别的"}, {"qty", 1}});
    CapturedPrints prints;
    t.print(nullptr, "N1");
    QCOMPARE(prints.documents.size(), 1);
    const Rpt::Page &page = prints.documents.first().pages.first();
    const QStringList texts = page.texts();
    QVERIFY(texts.contains("HT-77"));
    QVERIFY(texts.contains("旧名"));
    QVERIFY(texts.contains("李四"));
    QVERIFY(!texts.contains("别的"));
    QVERIFY(!texts.contains("客户地址") && !texts.contains("供方地址"));
    for (const auto &item : page.items)
        QVERIFY(item.source != "carmodel"); // no detail row at all
}

void TestContractEntry::failedSaveWritesNothingAndKeepsInput()
{
    TestDb db;
    seed(db);
    Window w(new Tfsalecont);
    addFilled(w.w, twin("sales"));
    w->N1->trigger();
    enterLine(w->DBGrid1, {"轿车", "桑塔纳", "上海", "1", "3"});
    // The lines are written after the row: a refusal there must take the row back too.
    db.exec("CREATE TRIGGER refuse BEFORE INSERT ON csalecontdetail BEGIN SELECT RAISE(ABORT, '磁盘已满'); END");
    press(w.w, "SpeedItem2");
    QCOMPARE(db.messages.messages.size(), 1);
    QVERIFY(db.messages.lastText().contains("磁盘已满"));
    QVERIFY(db.scalar("SELECT contract_no FROM csalecontract").isNull());
    QCOMPARE(db.count("csalecontdetail"), 0);
    QVERIFY(w->master()->isEditing());
    QCOMPARE(w->DBEdit1->text(), QString("HT-001"));

    // Everything typed is still pending and lands whole on the next save.
    db.exec("DROP TRIGGER refuse");
    db.messages.answer(QMessageBox::No);
    press(w.w, "SpeedItem2");
    QCOMPARE(db.scalar("SELECT contract_no FROM csalecontract").toString(), QString("HT-001"));
    QCOMPARE(db.count("csalecontdetail", "qty = 3"), 1);
}

void TestContractEntry::numberingFailureOpensNothing()
{
    TestDb db;
    seed(db);
    db.exec("DELETE FROM XTDH");
    Window w(new Tfsalecont);
    press(w.w, "SpeedItem1");
    QCOMPARE(db.messages.messages.size(), 1);
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Error);
    QCOMPARE(db.count("csalecontract"), 0);
    QVERIFY(w->SpeedItem1->isEnabled());
    QVERIFY(!w->master()->isActive());
}

void TestContractEntry::datesNotWholeAreRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("mended"); // typed at last: blank stores null
    QTest::addColumn<QString>("stored");
    QTest::newRow("sales delivery half typed")
        << "sales" << "DBDateEdit1" << "arrive_date" << "202405" << "2024-05-  "
        << "交货日期不是有效的日期!" << "" << "null";
    QTest::newRow("purchase delivery year only")
        << "purchase" << "DBDateEdit1" << "arrive_date" << "2024" << "2024-  -  "
        << "交货期不是有效的日期!" << "20240601" << "2024-06-01";
    QTest::newRow("sales signing no such day")
        << "sales" << "DBDateEdit3" << "contract_date" << "20240230" << "2024-02-30"
        << "签定日期不是有效的日期!" << "20240601" << "2024-06-01";
    QTest::newRow("purchase signing no such month")
        << "purchase" << "DBDateEdit3" << "contract_date" << "20241345" << "2024-13-45"
        << "签定日期不是有效的日期!" << "" << "null";
}

void TestContractEntry::datesNotWholeAreRefused()
{
    QFETCH(QString, kind);
    QFETCH(QString, field);
    QFETCH(QString, column);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, message);
    QFETCH(QString, mended);
    QFETCH(QString, stored);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    Window w(t.make());
    QApplication::setActiveWindow(w.w);
    addFilled(w.w, t);
    w->N1->trigger();
    enterLine(w->DBGrid1, {"轿车", "桑塔纳", "上海", "1", "3"});
    auto *date = w->findChild<DBDateEdit *>(field);
    QVERIFY(date);
    const QByteArray name = field.toLatin1();
    type(w.w, name, typed);
    QCOMPARE(date->displayText(), shown);

    // Saving: the message names the field, the focus is back in it, the text
    // stays and nothing is stored.
    db.messages.clear();
    type(w.w, "DBEdit6", "杭州"); // leaving by typing elsewhere is refused too
    QCOMPARE(db.messages.texts(), QStringList{message});
    QCOMPARE(QApplication::focusWidget(), date);
    db.messages.clear();
    press(w.w, "SpeedItem2");
    QCOMPARE(db.messages.texts(), QStringList{message});
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Warning);
    QCOMPARE(QApplication::focusWidget(), date);
    QCOMPARE(date->displayText(), shown);
    QVERIFY(db.scalar("SELECT contract_no FROM " + t.master).isNull());
    QVERIFY(db.scalar("SELECT " + column + " FROM " + t.master).isNull());
    QVERIFY(db.scalar("SELECT isfinished FROM " + t.master).isNull());
    QCOMPARE(db.count(t.lines), 0);
    QVERIFY(w->master()->isEditing());
    QVERIFY(w->SpeedItem2->isEnabled());

    // Leaving by Enter is refused as well.
    db.messages.clear();
    QTest::keyClick(date, Qt::Key_Return);
    QCOMPARE(db.messages.texts(), QStringList{message});
    QCOMPARE(QApplication::focusWidget(), date);

    // Mended (a whole date, or emptied on purpose), the contract saves.
    type(w.w, name, mended);
    db.messages.clear();
    db.messages.answer(QMessageBox::No); // 是否打印?
    press(w.w, "SpeedItem2");
    QCOMPARE(db.messages.texts(), QStringList{"是否打印?"});
    QCOMPARE(db.scalar("SELECT ifnull(" + column + ", 'null') FROM " + t.master).toString(), stored);
    QCOMPARE(db.scalar("SELECT contract_no FROM " + t.master).toString(), QString("HT-001"));
    QCOMPARE(db.count(t.lines), 1);
}

QTEST_MAIN(TestContractEntry)
#include "tst_entry.moc"
