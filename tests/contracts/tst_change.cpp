// The change of saved contracts of both twins, and the print question after a
// save of an entry or a change.
#include "Codes.h"
#include "ContractFixture.h"
#include "DBGrid.h"
#include "DBNavigator.h"
#include "Db.h"
#include "Format.h"
#include "ReportPrinter.h"
#include "TestDb.h"
#include "Ubuycontchg.h"
#include "Usalecontchg.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

class TestContractChange : public QObject {
    Q_OBJECT

private slots:
    // Change of saved contracts
    void changeFieldAndLinesThenSave_data() { addTwinRows(); }
    void changeFieldAndLinesThenSave();
    void changeCancelRestoresEveryLine_data() { addTwinRows(); }
    void changeCancelRestoresEveryLine();
    void changeCloseQuestion_data();
    void changeCloseQuestion();
    void changeStartsTheContract_data() { addTwinRows(); }
    void changeStartsTheContract();
    void changeRefusedWhenStartedElsewhere_data();
    void changeRefusedWhenStartedElsewhere();
    void changeWithoutContractStoresNothing_data() { addTwinRows(); }
    void changeWithoutContractStoresNothing();
    void changeFindsWithThePicker_data() { addTwinRows(); }
    void changeFindsWithThePicker();
    void changeStoresEveryLineAsTyped_data();
    void changeStoresEveryLineAsTyped();
    void printQuestionWhileTheContractIsShown_data();
    void printQuestionWhileTheContractIsShown();
};

// ---------------------------------------------------------------- change

namespace {

TContractChange *makeChange(const QString &kind)
{
    if (kind == "sales")
        return new Tfsalecontchg;
    return new Tfbuycontchg;
}

// Two contracts not started (N2 the newest, with three lines), one started,
// one finished and one never saved.
void seedChangeable(TestDb &db, const Twin &t)
{
    auto contract = [&](const char *serial, const char *no, QVariant state) {
        db.insert(t.master, {{t.numberField, serial}, {"contract_no", no}, {t.codeField, t.code},
                             {t.nameField, t.partyName}, {"settlemode", "现款"},
                             {"arrive_date", "2024-06-01"}, {"isfinished", state}});
    };
    contract("N1", "HT-1", 0);
    contract("N2", "HT-2", 0);
    contract("S1", "HT-S", 1);
    contract("F1", "HT-F", 2);
    contract("E1", "HT-E", QVariant());
    const QList<std::tuple<const char *, double, int>> lines{
        {"桑塔纳", 100000, 2}, {"捷达", 50000, 1}, {"奥迪", 300000, 4}};
    for (const auto &[model, price, qty] : lines)
        db.insert(t.lines, {{t.numberField, "N2"}, {"cartype", "轿车"}, {"carmodel", model},
                            {"unitprice", price}, {"qty", qty}});
}

// The payment mode one item down, as the Down key chooses it.
void nextSettleMode(TContractChange *w)
{
    w->DBComboBox2->setFocus();
    QTest::keyClick(w->DBComboBox2, Qt::Key_Down);
}

// Types a line's unit price and quantity through the Enter walk.
void changeLine(DBGrid *grid, int row, const QString &price, const QString &qty)
{
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(row, column(grid, "unitprice")));
    if (!price.isEmpty())
        typeCellAndEnter(grid, price);
    else
        grid->setCurrentIndex(grid->model()->index(row, column(grid, "qty")));
    typeCellAndEnter(grid, qty);
}

QString storedLines(TestDb &, const Twin &t, const QString &serial = "N2")
{
    QSqlQuery q = Db::exec("SELECT carmodel, unitprice, qty FROM " + t.lines + " WHERE " + t.numberField
                               + " = :n ORDER BY rowid",
                           {{":n", serial}});
    QStringList rows;
    while (q.next())
        rows << q.value(0).toString() + ":" + Fmt::display(q.value(1)) + "x" + q.value(2).toString();
    return rows.join(' ');
}

bool changedState(TContractChange *w)
{
    const bool on = w->SpeedItem2->isEnabled();
    // The buttons move together, the start button never.
    if (w->SpeedItem3->isEnabled() != on || w->SpeedItem1->isEnabled() == on
        || w->SpeedItem7->isEnabled() == on || w->DBNavigator1->isEnabled() == on
        || !w->SpeedItem5->isEnabled())
        return !on; // neither state: fails the caller's comparison either way
    return on;
}

} // namespace

void TestContractChange::changeFieldAndLinesThenSave()
{
    QFETCH(QString, kind);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    seedChangeable(db, t);
    CapturedPrints prints;
    Window<TContractChange> w(makeChange(kind));
    QCOMPARE(w->windowTitle(), QString(kind == "sales" ? "销售合同变更" : "采购合同变更"));
    // The newest contract not started, ready for changes; only those are listed.
    QCOMPARE(w->master()->recordCount(), 2);
    QCOMPARE(w->master()->value(t.numberField).toString(), QString("N2"));
    QCOMPARE(w->DBEdit1->text(), QString("HT-2"));
    QCOMPARE(w->lines()->recordCount(), 3);
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->DBComboBox2));
    QCOMPARE(changedState(w.w), false);
    // Only the payment mode, the delivery date, prices and quantities can change.
    QVERIFY(w->DBEdit1->isReadOnly() && w->codeEdit->isReadOnly() && w->DBMemo1->isReadOnly());
    QVERIFY(!w->DBComboBox1->isEnabled());
    QVERIFY(!(w->DBGrid1->model()->flags(w->DBGrid1->model()->index(0, column(w->DBGrid1, "carmodel")))
              & Qt::ItemIsEditable));
    QTest::keyClick(w->DBDateEdit3, Qt::Key_F4);
    QVERIFY(!w->DBDateEdit3->calendar() || !w->DBDateEdit3->calendar()->isVisible());

    nextSettleMode(w.w);
    QCOMPARE(w->DBComboBox2->currentText(), QString("承兑"));
    QCOMPARE(changedState(w.w), true);
    type(w.w, "DBDateEdit1", "20240715");
    changeLine(w->DBGrid1, 0, "120000", "3"); // the walk goes on to the next line's quantity
    QCOMPARE(w->DBGrid1->currentIndex().row(), 1);
    QCOMPARE(currentField(w->DBGrid1), QString("qty"));
    typeCellAndEnter(w->DBGrid1, "0"); // stored as typed
    // Enter in the last line's quantity adds no line.
    typeCellAndEnter(w->DBGrid1, "4");
    QCOMPARE(w->lines()->recordCount(), 3);
    QCOMPARE(w->DBGrid1->currentIndex().row(), 2);
    // Nothing is written before the save.
    QCOMPARE(db.scalar("SELECT settlemode FROM " + t.master + " WHERE contract_no = 'HT-2'").toString(),
             QString("现款"));
    QCOMPARE(storedLines(db, t), QString("桑塔纳:100000x2 捷达:50000x1 奥迪:300000x4"));

    // Saved from the keyboard: "保存合同" is the second speed button.
    QApplication::setActiveWindow(w.w);
    db.messages.answer(QMessageBox::Yes); // 是否打印?
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_2, Qt::AltModifier);
    QApplication::processEvents();
    QCOMPARE(db.messages.texts(), QStringList{"是否打印?"});
    QCOMPARE(prints.documents.size(), 1);
    QVERIFY(prints.documents.first().pages.first().texts().contains("HT-2"));
    QCOMPARE(db.scalar("SELECT settlemode || '/' || arrive_date || '/' || isfinished || '/' || contract_no FROM "
                       + t.master + " WHERE " + t.numberField + " = 'N2'").toString(),
             QString("承兑/2024-07-15/0/HT-2"));
    QCOMPARE(storedLines(db, t), QString("桑塔纳:120000x3 捷达:50000x0 奥迪:300000x4"));
    QCOMPARE(changedState(w.w), false);
    QCOMPARE(w->master()->value(t.numberField).toString(), QString("N2"));
    QCOMPARE(w->lines()->recordCount(), 3);
    // The other contracts are untouched.
    QCOMPARE(db.count(t.master, "settlemode = '现款'"), 4);
}

void TestContractChange::changeCancelRestoresEveryLine()
{
    QFETCH(QString, kind);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    seedChangeable(db, t);
    Window<TContractChange> w(makeChange(kind));
    nextSettleMode(w.w);
    changeLine(w->DBGrid1, 0, "1", "9");
    changeLine(w->DBGrid1, 1, "2", "8");
    changeLine(w->DBGrid1, 2, "3", "7");
    QCOMPARE(w->lines()->valueAt(0, "qty").toInt(), 9);

    press(w.w, "SpeedItem3");
    QCOMPARE(changedState(w.w), false);
    QVERIFY(!w->hasChanges());
    QCOMPARE(w->DBComboBox2->currentText(), QString("现款"));
    QStringList shown;
    for (int r = 0; r < w->lines()->recordCount(); ++r)
        shown << Fmt::display(w->lines()->valueAt(r, "unitprice")) + "x"
                     + w->lines()->valueAt(r, "qty").toString();
    QCOMPARE(shown, (QStringList{"100000x2", "50000x1", "300000x4"}));
    QCOMPARE(storedLines(db, t), QString("桑塔纳:100000x2 捷达:50000x1 奥迪:300000x4"));
    // The navigator moves again.
    w->DBNavigator1->button(DBNavigator::First)->click();
    QCOMPARE(w->master()->value(t.numberField).toString(), QString("N1"));
    QCOMPARE(w->lines()->recordCount(), 0);
}

void TestContractChange::changeCloseQuestion_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QString>("stored");
    const QString before = "桑塔纳:100000x2 捷达:50000x1 奥迪:300000x4";
    const QString after = "桑塔纳:100000x5 捷达:50000x1 奥迪:300000x4";
    for (const char *k : {"sales", "purchase"}) {
        QTest::addRow("%s yes stores", k) << QString(k) << int(QMessageBox::Yes) << true << after;
        QTest::addRow("%s no drops", k) << QString(k) << int(QMessageBox::No) << true << before;
        QTest::addRow("%s cancel keeps", k) << QString(k) << int(QMessageBox::Cancel) << false << before;
    }
}

void TestContractChange::changeCloseQuestion()
{
    QFETCH(QString, kind);
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(QString, stored);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    seedChangeable(db, t);
    {
        // Without changes the window closes without a question.
        Window<TContractChange> w(makeChange(kind));
        QVERIFY(w->close());
        QVERIFY(db.messages.messages.isEmpty());
    }
    Window<TContractChange> w(makeChange(kind));
    changeLine(w->DBGrid1, 0, "", "5");
    db.messages.answer(QMessageBox::StandardButton(answer));
    QCOMPARE(w->close(), closes);
    QCOMPARE(db.messages.texts(), QStringList{"数据已修改，是否保存?"});
    QCOMPARE(db.messages.messages.first().defaultButton, QMessageBox::Cancel);
    QCOMPARE(storedLines(db, t), stored);
    if (!closes) {
        QCOMPARE(w->lines()->valueAt(0, "qty").toInt(), 5);
        QCOMPARE(changedState(w.w), true);
    }
}

void TestContractChange::changeStartsTheContract()
{
    QFETCH(QString, kind);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    seedChangeable(db, t);
    Window<TContractChange> w(makeChange(kind));
    changeLine(w->DBGrid1, 0, "", "7");
    db.messages.answer(QMessageBox::No);
    press(w.w, "SpeedItem5");
    QCOMPARE(db.messages.texts(), QStringList{"合同开始执行后将无法修改，是否继续？"});
    QCOMPARE(db.scalar("SELECT isfinished FROM " + t.master + " WHERE " + t.numberField + " = 'N2'").toInt(), 0);
    QCOMPARE(storedLines(db, t), QString("桑塔纳:100000x2 捷达:50000x1 奥迪:300000x4"));

    db.messages.clear();
    db.messages.answer(QMessageBox::Yes);
    db.messages.answer(QMessageBox::No); // 是否打印?
    press(w.w, "SpeedItem5");
    QCOMPARE(db.messages.texts(), (QStringList{"合同开始执行后将无法修改，是否继续？", "是否打印?"}));
    QCOMPARE(db.scalar("SELECT isfinished FROM " + t.master + " WHERE " + t.numberField + " = 'N2'").toInt(), 1);
    QCOMPARE(storedLines(db, t), QString("桑塔纳:100000x7 捷达:50000x1 奥迪:300000x4"));
    // The started contract has left the list; the last one left is shown.
    QCOMPARE(w->master()->recordCount(), 1);
    QCOMPARE(w->master()->value(t.numberField).toString(), QString("N1"));
    QCOMPARE(changedState(w.w), false);
}

void TestContractChange::changeRefusedWhenStartedElsewhere_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("elsewhere");
    QTest::addColumn<QString>("button");
    for (const char *k : {"sales", "purchase"})
        for (const char *b : {"SpeedItem2", "SpeedItem5"}) {
            QTest::addRow("%s started %s", k, b) << QString(k) << "UPDATE %1 SET isfinished = 1 WHERE %2 = 'N2'" << QString(b);
            QTest::addRow("%s deleted %s", k, b) << QString(k) << "DELETE FROM %1 WHERE %2 = 'N2'" << QString(b);
        }
}

void TestContractChange::changeRefusedWhenStartedElsewhere()
{
    QFETCH(QString, kind);
    QFETCH(QString, elsewhere);
    QFETCH(QString, button);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    seedChangeable(db, t);
    Window<TContractChange> w(makeChange(kind));
    nextSettleMode(w.w);
    changeLine(w->DBGrid1, 0, "", "6");
    db.exec(elsewhere.arg(t.master, t.numberField));
    const int rows = db.count(t.master);
    if (button == "SpeedItem5")
        db.messages.answer(QMessageBox::Yes);
    press(w.w, qPrintable(button));
    const QString refusal = "该合同已开始执行或已被删除，不能保存修改！";
    QCOMPARE(db.messages.lastText(), refusal);
    QCOMPARE(db.messages.messages.last().kind, Msg::Kind::Warning);
    // Nothing written over it, no row made again; the changes are still there.
    QCOMPARE(db.count(t.master), rows);
    QCOMPARE(db.count(t.master, "settlemode = '承兑'"), 0);
    QCOMPARE(storedLines(db, t), QString("桑塔纳:100000x2 捷达:50000x1 奥迪:300000x4"));
    QCOMPARE(w->DBComboBox2->currentText(), QString("承兑"));
    QCOMPARE(w->lines()->valueAt(0, "qty").toInt(), 6);
    QCOMPARE(w->master()->value("isfinished").toInt(), 0);
    QCOMPARE(changedState(w.w), true);

    // "取消" drops the changes and the contract leaves the list.
    press(w.w, "SpeedItem3");
    QCOMPARE(w->master()->recordCount(), 1);
    QCOMPARE(db.count(t.master), rows);
}

void TestContractChange::changeWithoutContractStoresNothing()
{
    QFETCH(QString, kind);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    db.insert(t.master, {{t.numberField, "S1"}, {"contract_no", "HT-S"}, {"isfinished", codeValue(ContractProgress::Executing)}});
    Window<TContractChange> w(makeChange(kind));
    QCOMPARE(w->master()->recordCount(), 0);
    nextSettleMode(w.w);
    type(w.w, "DBDateEdit1", "20240715");
    w->DBGrid1->setFocus();
    QTest::keyClicks(w->DBGrid1, "5");
    w->SpeedItem2Click();
    w->SpeedItem3Click();
    press(w.w, "SpeedItem5");
    QVERIFY(db.messages.messages.isEmpty());
    QCOMPARE(db.count(t.master), 1);
    QCOMPARE(db.count(t.lines), 0);
    QVERIFY(!w->master()->isEditing());
    QCOMPARE(w->lines()->recordCount(), 0);
    QVERIFY(w->close());
    QVERIFY(db.messages.messages.isEmpty());
}

void TestContractChange::changeFindsWithThePicker()
{
    QFETCH(QString, kind);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    seedChangeable(db, t);
    Window<TContractChange> w(makeChange(kind));
    QStringList listed;
    QTimer::singleShot(0, [&] {
        auto *picker = qobject_cast<TContractPicker *>(QApplication::activeModalWidget());
        QVERIFY(picker);
        for (int r = 0; r < picker->query1->recordCount(); ++r)
            listed << picker->query1->valueAt(r, t.numberField).toString();
        picker->DBGrid1->setCurrentIndex(picker->DBGrid1->model()->index(0, 0));
        QTest::keyClick(picker->DBGrid1, Qt::Key_Return); // Enter chooses the row
    });
    press(w.w, "SpeedItem1");
    // Only contracts not started are offered.
    QCOMPARE(listed, (QStringList{"N1", "N2"}));
    QCOMPARE(w->master()->value(t.numberField).toString(), QString("N1"));
    QCOMPARE(w->DBEdit1->text(), QString("HT-1"));
}

void TestContractChange::changeStoresEveryLineAsTyped_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("qty");
    for (const char *k : {"sales", "purchase"})
        for (const char *way : {"save", "start", "close yes"})
            for (const char *qty : {"0", ""})
                QTest::addRow("%s %s qty '%s'", k, way, qty) << QString(k) << QString(way) << QString(qty);
}

// A line whose quantity is changed to 0 or emptied keeps its model, origin
// and price, whichever way the change is stored.
void TestContractChange::changeStoresEveryLineAsTyped()
{
    QFETCH(QString, kind);
    QFETCH(QString, way);
    QFETCH(QString, qty);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    seedChangeable(db, t);
    db.exec("UPDATE " + t.lines + " SET producingarea = '上海' WHERE carmodel = '捷达'");
    Window<TContractChange> w(makeChange(kind));
    if (!qty.isEmpty()) {
        changeLine(w->DBGrid1, 1, "51000", qty);
    } else {
        // The quantity emptied with the Delete key.
        changeLine(w->DBGrid1, 1, "51000", "9");
        w->DBGrid1->setCurrentIndex(w->DBGrid1->model()->index(1, column(w->DBGrid1, "qty")));
        QTest::keyClick(w->DBGrid1, Qt::Key_F2);
        QWidget *editor = QApplication::focusWidget();
        QVERIFY(editor && w->DBGrid1->isAncestorOf(editor));
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Delete);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(w->DBGrid1->hasFocus());
    }
    if (way == "save") {
        db.messages.answer(QMessageBox::No); // 是否打印?
        press(w.w, "SpeedItem2");
    } else if (way == "start") {
        db.messages.answer(QMessageBox::Yes);
        db.messages.answer(QMessageBox::No); // 是否打印?
        press(w.w, "SpeedItem5");
    } else {
        db.messages.answer(QMessageBox::Yes);
        QVERIFY(w->close());
    }
    QCOMPARE(db.messages.unanswered, 0);
    QCOMPARE(storedLines(db, t), "桑塔纳:100000x2 捷达:51000x" + qty + " 奥迪:300000x4");
    QCOMPARE(db.scalar("SELECT cartype || '/' || producingarea || '/' || typeof(qty) FROM " + t.lines
                       + " WHERE carmodel = '捷达'").toString(),
             "轿车/上海/" + QString(qty.isEmpty() ? "null" : "integer"));
    QCOMPARE(db.scalar("SELECT isfinished FROM " + t.master + " WHERE " + t.numberField + " = 'N2'").toInt(),
             way == "start" ? 1 : 0);
}

void TestContractChange::printQuestionWhileTheContractIsShown_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("change");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("printFails");
    for (const char *k : {"sales", "purchase"})
        for (bool change : {false, true})
            for (const char *button : {"SpeedItem2", "SpeedItem5"})
                for (bool fails : {false, true})
                    QTest::addRow("%s %s %s%s", k, change ? "change" : "entry", button,
                                  fails ? ", print fails" : "")
                        << QString(k) << change << QString(button) << fails;
}

// "是否打印?" comes while the saved contract is on the screen; the window
// empties it (or goes on to the next contract) only afterwards. A print that
// fails shows its error and leaves the saved contract saved.
void TestContractChange::printQuestionWhileTheContractIsShown()
{
    QFETCH(QString, kind);
    QFETCH(bool, change);
    QFETCH(QString, button);
    QFETCH(bool, printFails);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    seedChangeable(db, t);
    CapturedPrints prints;
    prints.fail = printFails;
    Window<TContractForm> w(change ? static_cast<TContractForm *>(makeChange(kind)) : t.make());
    QString expected = "HT-2";
    if (change) {
        nextSettleMode(static_cast<TContractChange *>(w.w.data()));
    } else {
        addFilled(static_cast<TContractEntry *>(w.w.data()), t, "HT-9");
        expected = "HT-9";
    }
    QStringList shown;
    db.messages.whenShown = [&](const Msg::Record &m) {
        if (m.text == "是否打印?")
            shown << w->DBEdit1->text() << w->codeEdit->text()
                  << (w->master()->isActive() ? w->master()->value("settlemode").toString() : "closed");
    };
    if (button == "SpeedItem5")
        db.messages.answer(QMessageBox::Yes);
    db.messages.answer(QMessageBox::Yes); // 是否打印?
    press(w.w, qPrintable(button));
    QCOMPARE(db.messages.unanswered, 0);
    QCOMPARE(shown, (QStringList{expected, t.code, change ? "承兑" : ""}));
    const qsizetype asked = button == "SpeedItem5" ? 2 : 1;
    if (printFails) {
        QCOMPARE(prints.documents.size(), 0);
        QCOMPARE(db.messages.messages.size(), asked + 1);
        QVERIFY(db.messages.lastIsPrintFailure());
    } else {
        QCOMPARE(db.messages.messages.size(), asked);
        QCOMPARE(prints.documents.size(), 1);
        QVERIFY(prints.documents.first().pages.first().texts().contains(expected));
    }
    // Saved all the same.
    QCOMPARE(db.scalar("SELECT isfinished FROM " + t.master + " WHERE contract_no = :n", {{":n", expected}}).toInt(),
             button == "SpeedItem5" ? 1 : 0);
    if (change)
        QCOMPARE(db.scalar("SELECT settlemode FROM " + t.master + " WHERE contract_no = 'HT-2'").toString(),
                 QString("承兑"));
    // Then the contract is closed, or the started one has left the list.
    if (!change)
        QVERIFY(w->DBEdit1->text().isEmpty() && !w->master()->isActive() && w->codeEdit->text().isEmpty());
    else
        QCOMPARE(w->DBEdit1->text(), QString(button == "SpeedItem5" ? "HT-1" : "HT-2"));
}

QTEST_MAIN(TestContractChange)
#include "tst_change.moc"
