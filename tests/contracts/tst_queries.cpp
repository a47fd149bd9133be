// The contract pickers and the contract queries of both twins: scopes and
// conditions, the statements the benchmark measures, print and clear.
#include "Codes.h"
#include "ContractFixture.h"
#include "DBGrid.h"
#include "ListCheck.h"
#include "ReportPrinter.h"
#include "TestDb.h"
#include "Ubuycontsele.h"
#include "Usalecontsele.h"
#include "Uselebuycont.h"
#include "Uselesalecont.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <memory>

class TestContractQueries : public QObject {
    Q_OBJECT

private slots:
    // Contract pickers
    void pickerScopes_data();
    void pickerScopes();
    void pickerChoosesTheSelectedRow_data() { addTwinRows(); }
    void pickerChoosesTheSelectedRow();

    // Contract queries
    void queryConditions_data();
    void queryConditions();
    void queryAndPickerListTheirStatements_data() { addTwinRows(); }
    void queryAndPickerListTheirStatements();
    void queryListsLinesPrintsAndClears_data() { addTwinRows(); }
    void queryListsLinesPrintsAndClears();
    void listsBeyondOnePage();
};

// ---------------------------------------------------------------- pickers

void TestContractQueries::pickerScopes_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("scope");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QStringList>("listed");
    const int notStarted = int(ContractScope::NotStarted), started = int(ContractScope::Started),
              all = int(ContractScope::All);
    for (const char *k : {"sales", "purchase"}) {
        QTest::addRow("%s change: not started", k) << QString(k) << notStarted << "" << "" << QStringList{"A1", "A5", "A6"};
        QTest::addRow("%s stock: started", k) << QString(k) << started << "" << "" << QStringList{"A2", "A4"};
        QTest::addRow("%s query: all", k) << QString(k) << all << "" << "" << QStringList{"A1", "A2", "A3", "A4", "A5", "A6"};
        QTest::addRow("%s started, a letter", k) << QString(k) << started << "h" << "" << QStringList{"A2", "A4"};
        QTest::addRow("%s not started, a letter", k) << QString(k) << notStarted << "x" << "" << QStringList{};
        QTest::addRow("%s all, code in lower case", k) << QString(k) << all << "" << "c001" << QStringList{"A1", "A3", "A4", "A6"};
        QTest::addRow("%s all, both", k) << QString(k) << all << "HT" << "C001" << QStringList{"A1", "A4"};
        QTest::addRow("%s apostrophe", k) << QString(k) << all << "HT'" << "" << QStringList{"A4"};
        QTest::addRow("%s percent", k) << QString(k) << all << "H%" << "" << QStringList{"A5"};
        QTest::addRow("%s underscore", k) << QString(k) << all << "HT_" << "" << QStringList{};
        QTest::addRow("%s underscore in the code", k) << QString(k) << notStarted << "" << "C_" << QStringList{"A5"};
    }
}

void TestContractQueries::pickerScopes()
{
    QFETCH(QString, kind);
    QFETCH(int, scope);
    QFETCH(QString, number);
    QFETCH(QString, code);
    QFETCH(QStringList, listed);
    const Twin &t = twin(kind);
    TestDb db;
    const QList<std::tuple<const char *, QVariant, const char *, int>> contracts{
        {"A1", "HT-01", "C001", 0}, {"A2", "HT-02", "C002", 1}, {"A3", "XS-03", "C001", 2},
        {"A4", "HT'4", "C001", 1},  {"A5", "H%5", "C_01", 0},  {"A6", QVariant(), "C001", 0}};
    for (const auto &[serial, no, partner, state] : contracts)
        db.insert(t.master, {{t.numberField, serial}, {"contract_no", no}, {t.codeField, partner},
                             {"isfinished", state}});
    std::unique_ptr<TContractPicker> picker;
    if (kind == "sales")
        picker.reset(new Tfselesalecont);
    else
        picker.reset(new Tfselebuycont);
    picker->setScope(ContractScope(scope));
    picker->edit1Change();
    QLineEdit *edit1 = picker->findChild<QLineEdit *>(kind == "sales" ? "Edit1" : "edit1");
    QLineEdit *edit2 = picker->findChild<QLineEdit *>(kind == "sales" ? "Edit2" : "edit2");
    QVERIFY(edit1 && edit2);
    QTest::keyClicks(edit1, number);
    QTest::keyClicks(edit2, code);
    QStringList got;
    for (int r = 0; r < picker->query1->recordCount(); ++r)
        got << picker->query1->valueAt(r, t.numberField).toString();
    QCOMPARE(got, listed);
    QVERIFY(db.messages.messages.isEmpty());

    // Emptied again, the edits list the whole scope once more.
    edit1->clear();
    edit2->clear();
    QCOMPARE(picker->query1->recordCount(),
             scope == int(ContractScope::All) ? 6 : scope == int(ContractScope::Started) ? 2 : 3);
}

void TestContractQueries::pickerChoosesTheSelectedRow()
{
    QFETCH(QString, kind);
    const Twin &t = twin(kind);
    TestDb db;
    for (const char *serial : {"A1", "A2", "A3"})
        db.insert(t.master, {{t.numberField, serial}, {"contract_no", QString("HT-") + serial},
                             {t.codeField, t.code}, {t.nameField, t.partyName}, {"isfinished", codeValue(ContractProgress::Executing)}});
    auto pick = [&] {
        return kind == "sales" ? pickContract<Tfselesalecont>(nullptr, ContractScope::All)
                               : pickContract<Tfselebuycont>(nullptr, ContractScope::All);
    };
    bool stayedOpen = false;
    QString focused; // the name: the picker is gone when it is compared
    QTimer::singleShot(0, [&] {
        auto *picker = qobject_cast<TContractPicker *>(QApplication::activeModalWidget());
        QVERIFY(picker);
        QCOMPARE(picker->windowTitle(), QString(kind == "sales" ? "选择销售合同" : "选择采购合同"));
        if (QWidget *f = picker->focusWidget())
            focused = f->objectName();
        // An empty list: "确定" leaves the dialog open.
        QTest::keyClicks(picker->edit1, "ZZ");
        QCOMPARE(picker->query1->recordCount(), 0);
        picker->BitBtn1->click();
        stayedOpen = picker->isVisible();
        picker->edit1->clear();
        picker->DBGrid1->setCurrentIndex(picker->DBGrid1->model()->index(1, 2));
        picker->BitBtn1->click();
    });
    const auto chosen = pick();
    QVERIFY(stayedOpen);
    QVERIFY(chosen);
    QCOMPARE(chosen->serial, QString("A2"));
    QCOMPARE(chosen->contractNo, QString("HT-A2"));
    QCOMPARE(chosen->partnerCode, t.code);
    QCOMPARE(chosen->partnerName, t.partyName);
    // The purchase picker starts on its button, the sales picker on the number.
    QVERIFY(!focused.isEmpty());
    QCOMPARE(focused, QString(kind == "sales" ? "Edit1" : "BitBtn1"));

    // Escape chooses nothing.
    QTimer::singleShot(0, [] {
        QWidget *picker = QApplication::activeModalWidget();
        QVERIFY(picker);
        QTest::keyClick(picker, Qt::Key_Escape);
    });
    QVERIFY(!pick());
}

// ---------------------------------------------------------------- queries

namespace {

TContractQuery *makeQuery(const QString &kind)
{
    if (kind == "sales")
        return new Tfsalecontsele;
    return new Tfbuycontsele;
}

// Five contracts of every state; Q1 has two lines.
void seedQueried(TestDb &db, const Twin &t)
{
    const QList<QVariantList> rows{
        {"Q1", "HT-01", t.code, t.partyName, "现货", 0, "2024-01-01 08:00:00"},
        {"Q2", "HT-02", "X002", "乙公司", "期货", 1, "2024-01-31 23:59:00"},
        {"Q3", "XS-03", t.code, t.partyName, "现货", 2, "2024-02-01 00:00:00"},
        {"Q4", "HT'4", "C_1", "50%公司", QVariant(), 1, "2024-01-15 12:00:00"},
        {"Q5", QVariant(), QVariant(), QVariant(), QVariant(), 0, QVariant()}};
    for (const QVariantList &r : rows)
        db.insert(t.master, {{t.numberField, r[0]}, {"contract_no", r[1]}, {t.codeField, r[2]},
                             {t.nameField, r[3]}, {"conttype", r[4]}, {"isfinished", r[5]},
                             {"contract_date", r[6]}});
    for (const char *model : {"桑塔纳", "捷达"})
        db.insert(t.lines, {{t.numberField, "Q1"}, {"carmodel", model}, {"qty", 1}});
}

// Types the dates into the query's date fields as a user does, from their start.
void typeDates(TContractQuery *w, const QString &from, const QString &to)
{
    for (auto [edit, text] : {std::pair{w->DateEdit1, from}, std::pair{w->DateEdit2, to}}) {
        edit->setFocus();
        edit->setCursorPosition(0);
        typeText(edit, text);
    }
}

QStringList listed(DataSet *list, const QString &field)
{
    QStringList serials;
    for (int r = 0; list->isActive() && r < list->recordCount(); ++r)
        serials << list->valueAt(r, field).toString();
    return serials;
}

} // namespace

void TestContractQueries::queryConditions_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("type");
    QTest::addColumn<int>("progress"); // item of "合同进程："
    QTest::addColumn<QString>("from"); // typed into the date edits
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("refusal"); // the warning instead of a list
    const QStringList all{"Q1", "Q2", "Q3", "Q4", "Q5"};
    for (const char *k : {"sales", "purchase"}) {
        const QString code = twin(k).code.toLower(); // typed in lower case
        QTest::addRow("%s nothing filled", k) << QString(k) << "" << "" << "" << "" << 0 << "" << "" << all << "";
        QTest::addRow("%s started", k) << QString(k) << "" << "" << "" << "" << 2 << "" << "" << QStringList{"Q2", "Q4"} << "";
        QTest::addRow("%s not started", k) << QString(k) << "" << "" << "" << "" << 1 << "" << "" << QStringList{"Q1", "Q5"} << "";
        QTest::addRow("%s finished", k) << QString(k) << "" << "" << "" << "" << 3 << "" << "" << QStringList{"Q3"} << "";
        QTest::addRow("%s January", k) << QString(k) << "" << "" << "" << "" << 0 << "20240101" << "20240131" << QStringList{"Q1", "Q2", "Q4"} << "";
        QTest::addRow("%s one day to 23:59", k) << QString(k) << "" << "" << "" << "" << 0 << "20240131" << "20240131" << QStringList{"Q2"} << "";
        QTest::addRow("%s only the end", k) << QString(k) << "" << "" << "" << "" << 0 << "" << "20240115" << QStringList{"Q1", "Q4"} << "";
        QTest::addRow("%s a date in part is refused", k) << QString(k) << "" << "" << "" << "" << 0 << "202402" << "" << QStringList{} << "开始日期不是有效的日期!";
        QTest::addRow("%s number prefix", k) << QString(k) << "ht" << "" << "" << "" << 0 << "" << "" << QStringList{"Q1", "Q2", "Q4"} << "";
        QTest::addRow("%s apostrophe", k) << QString(k) << "HT'" << "" << "" << "" << 0 << "" << "" << QStringList{"Q4"} << "";
        QTest::addRow("%s code in lower case", k) << QString(k) << "" << code << "" << "" << 0 << "" << "" << QStringList{"Q1", "Q3"} << "";
        QTest::addRow("%s underscore", k) << QString(k) << "" << "C_" << "" << "" << 0 << "" << "" << QStringList{"Q4"} << "";
        QTest::addRow("%s percent in the name", k) << QString(k) << "" << "" << "50%" << "" << 0 << "" << "" << QStringList{"Q4"} << "";
        QTest::addRow("%s type", k) << QString(k) << "" << "" << "" << "现货" << 0 << "" << "" << QStringList{"Q1", "Q3"} << "";
        QTest::addRow("%s all together", k) << QString(k) << "HT" << code << "" << "现" << 1 << "20240101" << "20240101" << QStringList{"Q1"} << "";
        QTest::addRow("%s nothing found", k) << QString(k) << "ZZ" << "" << "" << "" << 0 << "" << "" << QStringList{} << "";
    }
}

void TestContractQueries::queryConditions()
{
    QFETCH(QString, kind);
    QFETCH(QString, number);
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, type);
    QFETCH(int, progress);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, listed);
    QFETCH(QString, refusal);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    seedQueried(db, t);
    Window<TContractQuery> w(makeQuery(kind));
    typeText(w->Edit1, number);
    typeText(w->ComboEdit1, code);
    QCOMPARE(w->ComboEdit1->text(), code.toUpper());
    typeText(w->Edit2, name);
    typeText(w->ComboBox1->lineEdit(), type);
    w->ComboBox2->setFocus();
    for (int i = 0; i < progress; ++i)
        QTest::keyClick(w->ComboBox2, Qt::Key_Down);
    QCOMPARE(w->ComboBox2->currentIndex(), progress);
    typeDates(w.w, from, to);
    press(w.w, "SpeedItem8");
    if (!refusal.isEmpty()) {
        QCOMPARE(db.messages.texts(), QStringList{refusal});
        QCOMPARE(QApplication::focusWidget(), w->DateEdit1);
        return;
    }
    QVERIFY2(db.messages.messages.isEmpty(), qPrintable(db.messages.texts().join('|')));
    QCOMPARE(::listed(w->list(), t.numberField), listed);
    QCOMPARE(w->countLabel->text(), QString("共%1份合同").arg(listed.size()));
    QCOMPARE(w->SpeedItem6->isEnabled(), true);
}

// What the query and the picker list are the statements the benchmark measures.
void TestContractQueries::queryAndPickerListTheirStatements()
{
    QFETCH(QString, kind);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    seedQueried(db, t);
    Window<TContractQuery> w(makeQuery(kind));
    typeText(w->Edit1, "ht");
    w->ComboBox2->setFocus();
    QTest::keyClick(w->ComboBox2, Qt::Key_Down); // 合同未执行
    typeDates(w.w, "20240101", "20240131");
    press(w.w, "SpeedItem8");
    const ContractQueryKind queried = kind == "sales" ? Tfsalecontsele::kind() : Tfbuycontsele::kind();
    QString differs = differsFrom(w->list(), TContractQuery::listStatement(queried, {.contractNo = "ht",
                                                                                   .progress = ContractProgress::Saved,
                                                                                   .from = QDate(2024, 1, 1),
                                                                                   .to = QDate(2024, 1, 31)}));
    QVERIFY2(differs.isEmpty(), qPrintable(differs));
    QCOMPARE(::listed(w->list(), t.numberField), QStringList{"Q1"});

    std::unique_ptr<TContractPicker> picker;
    if (kind == "sales")
        picker.reset(new Tfselesalecont);
    else
        picker.reset(new Tfselebuycont);
    picker->setScope(ContractScope::Started);
    picker->edit1Change();
    QTest::keyClicks(picker->edit1, "HT");
    const ContractPickerKind picked = kind == "sales" ? Tfselesalecont::kind() : Tfselebuycont::kind();
    differs = differsFrom(picker->query1, TContractPicker::listStatement(picked, ContractScope::Started, "HT", {}));
    QVERIFY2(differs.isEmpty(), qPrintable(differs));
    QCOMPARE(::listed(picker->query1, t.numberField), (QStringList{"Q2", "Q4"}));
}

void TestContractQueries::queryListsLinesPrintsAndClears()
{
    QFETCH(QString, kind);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    seedQueried(db, t);
    CapturedPrints prints;
    Window<TContractQuery> w(makeQuery(kind));
    QCOMPARE(w->windowTitle(), QString(kind == "sales" ? "销售合同查询" : "采购合同查询"));
    QCOMPARE(w->focusWidget(), static_cast<QWidget *>(w->Edit1));
    QCOMPARE(w->ComboBox1->count(), 1); // the contract types
    if (kind == "sales") {
        // Empty until the first query, and nothing to print.
        QVERIFY(!w->list()->isActive());
        QVERIFY(!w->SpeedItem6->isEnabled());
        w->SpeedItem6Click();
        QVERIFY(prints.documents.isEmpty());
        press(w.w, "SpeedItem8");
    }
    QCOMPARE(w->list()->recordCount(), 5);
    QVERIFY(w->SpeedItem6->isEnabled());

    // The lower grid shows the lines of the contract under the cursor.
    QCOMPARE(w->list()->value(t.numberField).toString(), QString("Q1"));
    QCOMPARE(w->lines()->recordCount(), 2);
    w->DBGrid1->setFocus();
    QTest::keyClick(w->DBGrid1, Qt::Key_Down);
    QCOMPARE(w->list()->value(t.numberField).toString(), QString("Q2"));
    QCOMPARE(w->lines()->recordCount(), 0);

    // "打印" prints the contract under the cursor.
    QTest::keyClick(w->DBGrid1, Qt::Key_Up);
    press(w.w, "SpeedItem6");
    QCOMPARE(prints.documents.size(), 1);
    const QStringList texts = prints.documents.first().pages.first().texts();
    QVERIFY(texts.contains("HT-01"));
    QVERIFY(texts.contains("桑塔纳"));

    // An empty list prints nothing.
    typeText(w->Edit1, "ZZ");
    press(w.w, "SpeedItem8");
    QCOMPARE(w->list()->recordCount(), 0);
    press(w.w, "SpeedItem6");
    QCOMPARE(prints.documents.size(), 1);

    // "清除条件" empties every condition; the next query lists everything again.
    typeText(w->Edit2, "甲");
    w->ComboBox2->setCurrentIndex(2);
    w->DateEdit1->setDate(QDate(2024, 1, 1));
    press(w.w, "SpeedItem3");
    QCOMPARE(w->list()->recordCount(), 0); // the list is not changed
    for (QLineEdit *e : {w->Edit1, static_cast<QLineEdit *>(w->ComboEdit1), w->Edit2})
        QVERIFY(e->text().isEmpty());
    QCOMPARE(w->ComboBox2->currentIndex(), 0);
    QCOMPARE(w->DateEdit1->displayText(), DateEdit::blankText());
    press(w.w, "SpeedItem8");
    QCOMPARE(w->list()->recordCount(), 5);

    // The partner picker fills the code and the name.
    QTimer::singleShot(0, [&] {
        auto *picker = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(picker);
        picker->findChild<QAbstractButton *>("BitBtn1")->click();
    });
    w->ComboEdit1->clickButton();
    QCOMPARE(w->ComboEdit1->text(), t.code);
    QCOMPARE(w->Edit2->text(), t.partyName);

    // A list that cannot be read stays closed, and "打印" with it.
    db.exec("ALTER TABLE " + t.master + " RENAME TO gone");
    press(w.w, "SpeedItem8");
    QCOMPARE(db.messages.messages.size(), 1);
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Error);
    QVERIFY(!w->list()->isActive());
    QVERIFY(!w->SpeedItem6->isEnabled());
    QVERIFY(w->countLabel->text().isEmpty());
}

void TestContractQueries::listsBeyondOnePage()
{
    const Twin &t = twin("sales");
    TestDb db;
    seed(db);
    const int many = TContractQuery::PageSize * 2 + 50;
    db.exec("BEGIN");
    for (int i = 0; i < many; ++i)
        db.insert(t.master, {{t.numberField, QString("S%1").arg(i, 4, 10, QChar('0'))},
                             {"contract_no", QString("HT-%1").arg(i, 4, 10, QChar('0'))},
                             {t.codeField, t.code}, {"isfinished", i % 3}});
    db.exec("COMMIT");
    Window<TContractQuery> w(makeQuery("sales"));
    press(w.w, "SpeedItem8");
    // The first screen is there before the count, which follows.
    QCOMPARE(w->DBGrid1->model()->rowCount(), int(TContractQuery::PageSize));
    QVERIFY(w->countLabel->text().isEmpty());
    QVERIFY(w->SpeedItem6->isEnabled());
    QTRY_COMPARE(w->countLabel->text(), QString("共%1份合同").arg(many));
    QCOMPARE(w->DBGrid1->model()->rowCount(), many);
    w->list()->last();
    QCOMPARE(w->list()->value("contract_no").toString(), QString("HT-%1").arg(many - 1, 4, 10, QChar('0')));
    typeText(w->Edit1, "HT-04");
    w->ComboBox2->setCurrentIndex(2); // started: i % 3 == 1
    press(w.w, "SpeedItem8");
    QCOMPARE(w->countLabel->text(), QString("共17份合同")); // 0400, 0403 .. 0448

    // The picker's scope over the same rows: a third of them not started.
    Tfselesalecont picker;
    picker.setScope(ContractScope::NotStarted);
    picker.edit1Change();
    QCOMPARE(picker.query1->recordCount(), (many + 2) / 3);
    picker.query1->last();
    QCOMPARE(picker.query1->value("isfinished").toInt(), 0);
}

QTEST_MAIN(TestContractQueries)
#include "tst_queries.moc"
