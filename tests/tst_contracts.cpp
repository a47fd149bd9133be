// Contract entry and printing, driven through the real windows.
#include "Clock.h"
#include "DBNavigator.h"
#include "Db.h"
#include "Format.h"
#include "ListCheck.h"
#include "ReportPrinter.h"
#include "TestDb.h"
#include "Ubuycont.h"
#include "Usalecont.h"
#include "Usalecontchg.h"
#include "Ubuycontchg.h"
#include "Ubuycontsele.h"
#include "Usalecontsele.h"
#include "Uselebuycont.h"
#include "Uselesalecont.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QSqlQuery>
#include <QKeyEvent>
#include <QMdiArea>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

namespace {

const QDateTime Now(QDate(2024, 5, 6), QTime(9, 30, 0));

// What a test needs to know of each twin.
struct Twin {
    const char *name;
    std::function<TContractEntry *()> make;
    void (*print)(QWidget *, const QString &);
    QString master, lines, numberField, codeField, nameField, typeCode;
    QString code, partyName, codeMissing, codeNotFound, closeQuestion;
};

const Twin &twin(const QString &name)
{
    static const Twin sales{"sales", [] { return new Tfsalecont; }, &Tfsalecont::PrintContract,
                            "csalecontract", "csalecontdetail", "salecont_no", "customerid",
                            "custname", "ss", "C001", "客户甲", "请输入客户代码！",
                            "输入的客户代码不存在！", "是否保存销售合同？"};
    static const Twin purchase{"purchase", [] { return new Tfbuycont; }, &Tfbuycont::PrintContract,
                               "cbuycontract", "cbuycontdetail", "buycont_no", "providerid",
                               "provname", "bs", "P001", "供应商乙", "请输入供应商代码！",
                               "输入的供应商代码不存在！", "是否保存采购合同？"};
    return name == "sales" ? sales : purchase;
}

void addTwinColumn()
{
    QTest::addColumn<QString>("kind");
}

void seed(TestDb &db)
{
    db.insert("bgsxx", {{"gsmc", "岚峰汽车"}, {"address", "本公司地址"}});
    db.insert("ccustomer", {{"customerid", "C001"}, {"custname", "客户甲"}, {"address", "客户地址"}});
    db.insert("cprovider", {{"providerid", "P001"}, {"provname", "供应商乙"}, {"address", "供方地址"}});
    db.insert("cconttype", {{"conttypeid", "01"}, {"conttype", "现货"}});
    QVERIFY(db.dm->trsk->locate("personnelid", "admin"));
    Clock::setNow(Now);
}

// A window shown offscreen, freed at the end of the test unless it closed itself.
template <class W = TContractEntry>
struct Window {
    explicit Window(W *window) : w(window)
    {
        w->show();
        (void)QTest::qWaitForWindowExposed(w); // the grid's cells have their places
    }
    ~Window() { delete w.data(); }
    W *operator->() const { return w.data(); }
    QPointer<W> w;
};

void press(QWidget *w, const char *button)
{
    auto *b = w->findChild<QAbstractButton *>(button);
    QVERIFY2(b, button);
    QVERIFY2(b->isEnabled(), button);
    b->click();
}

void typeText(QWidget *e, const QString &text)
{
    for (const QChar ch : text) { // also characters a keyboard of Latin letters lacks
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(e, &key);
    }
}

void type(QWidget *w, const char *edit, const QString &text)
{
    auto *e = w->findChild<QLineEdit *>(edit);
    QVERIFY2(e, edit);
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    typeText(e, text);
}

int column(DBGrid *grid, const QString &field)
{
    for (int c = 0; c < grid->columns().size(); ++c)
        if (grid->columns().at(c).field == field)
            return c;
    return -1;
}

QString currentField(DBGrid *grid) { return grid->columns().at(grid->currentIndex().column()).field; }

// Types into the grid's current cell as a user does and ends with Enter.
void typeCellAndEnter(DBGrid *grid, const QString &text)
{
    grid->edit(grid->currentIndex());
    auto *editor = QApplication::focusWidget() && grid->isAncestorOf(QApplication::focusWidget())
                       ? qobject_cast<QLineEdit *>(QApplication::focusWidget())
                       : nullptr;
    if (!editor)
        for (auto *e : grid->viewport()->findChildren<QLineEdit *>())
            if (e->isVisible())
                editor = e;
    QVERIFY(editor);
    editor->selectAll();
    typeText(editor, text);
    QPointer<QLineEdit> open(editor);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!open || !open->isVisible());
}

// Fills one line from its car-type cell by the Enter walk: type, model, origin,
// price, quantity; the walk ends on the next line.
void enterLine(DBGrid *grid, const QStringList &cells)
{
    for (const QString &text : cells)
        typeCellAndEnter(grid, text);
}

// Adds a contract and fills it so that it passes every check.
QString addFilled(TContractEntry *w, const Twin &t, const QString &contractNo = "HT-001")
{
    press(w, "SpeedItem1");
    type(w, "ComboEdit1", t.code);
    type(w, "DBEdit1", contractNo);
    type(w, "DBEdit10", "张三");
    return w->master()->value(t.numberField).toString();
}

} // namespace

class TestContracts : public QObject {
    Q_OBJECT

private slots:
    void addFillSaveThenCancelReusesSerial_data() { addTwinColumn(); QTest::newRow("sales") << "sales"; QTest::newRow("purchase") << "purchase"; }
    void addFillSaveThenCancelReusesSerial();
    void refusalsStoreNothingAndKeepInput_data();
    void refusalsStoreNothingAndKeepInput();
    void startExecution_data() { addFillSaveThenCancelReusesSerial_data(); }
    void startExecution();
    void closeQuestion_data();
    void closeQuestion();
    void printStaysEditingAndCancelStillDiscards_data() { addFillSaveThenCancelReusesSerial_data(); }
    void printStaysEditingAndCancelStillDiscards();
    void printWithoutWindowMissingPartyNoLines_data() { addFillSaveThenCancelReusesSerial_data(); }
    void printWithoutWindowMissingPartyNoLines();
    void lineEditsStayPendingAndPopup();
    void badLineValuesAreRefused();
    void lineValuesBeyondTheLimits_data();
    void lineValuesBeyondTheLimits();
    void failedSaveWritesNothingAndKeepsInput();
    void numberingFailureOpensNothing();
    void pickedLongCodeAndPickLists();
    void codeIsLookedUpOnlyWhenTheFieldIsLeft();
    void oneRefusalPerPress();
    void openCellCountsAndPickListsTakeAnyText();
    void datesNotWholeAreRefused_data();
    void datesNotWholeAreRefused();
    void enterMovesOnFromTheMemo();
    void typingIntoEmptyLinesStartsALine_data();
    void typingIntoEmptyLinesStartsALine();
    void refusedLineValueKeepsItsCell_data();
    void refusedLineValueKeepsItsCell();

    // Change of saved contracts
    void changeFieldAndLinesThenSave_data() { addFillSaveThenCancelReusesSerial_data(); }
    void changeFieldAndLinesThenSave();
    void changeCancelRestoresEveryLine_data() { addFillSaveThenCancelReusesSerial_data(); }
    void changeCancelRestoresEveryLine();
    void changeCloseQuestion_data();
    void changeCloseQuestion();
    void changeStartsTheContract_data() { addFillSaveThenCancelReusesSerial_data(); }
    void changeStartsTheContract();
    void changeRefusedWhenStartedElsewhere_data();
    void changeRefusedWhenStartedElsewhere();
    void changeWithoutContractStoresNothing_data() { addFillSaveThenCancelReusesSerial_data(); }
    void changeWithoutContractStoresNothing();
    void changeFindsWithThePicker_data() { addFillSaveThenCancelReusesSerial_data(); }
    void changeFindsWithThePicker();
    void changeStoresEveryLineAsTyped_data();
    void changeStoresEveryLineAsTyped();
    void printQuestionWhileTheContractIsShown_data();
    void printQuestionWhileTheContractIsShown();

    // Contract pickers
    void pickerScopes_data();
    void pickerScopes();
    void pickerChoosesTheSelectedRow_data() { addFillSaveThenCancelReusesSerial_data(); }
    void pickerChoosesTheSelectedRow();

    // Contract queries
    void queryConditions_data();
    void queryConditions();
    void queryAndPickerListTheirStatements_data() { addFillSaveThenCancelReusesSerial_data(); }
    void queryAndPickerListTheirStatements();
    void queryListsLinesPrintsAndClears_data() { addFillSaveThenCancelReusesSerial_data(); }
    void queryListsLinesPrintsAndClears();
    void listsBeyondOnePage();
    void keyboardOnlyContract();
};

void TestContracts::addFillSaveThenCancelReusesSerial()
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

void TestContracts::refusalsStoreNothingAndKeepInput_data()
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

void TestContracts::refusalsStoreNothingAndKeepInput()
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

void TestContracts::startExecution()
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

void TestContracts::closeQuestion_data()
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

void TestContracts::closeQuestion()
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

void TestContracts::printStaysEditingAndCancelStillDiscards()
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

void TestContracts::printWithoutWindowMissingPartyNoLines()
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

void TestContracts::lineEditsStayPendingAndPopup()
{
    TestDb db;
    seed(db);
    Window w(new Tfsalecont);
    addFilled(w.w, twin("sales"));
    DBGrid *grid = w->DBGrid1;
    DataSet *lines = w->lines();

    // Print on a contract without lines adds no blank line.
    CapturedPrints prints;
    press(w.w, "SpeedItem4");
    QCOMPARE(lines->recordCount(), 0);
    w->N3->trigger(); // nothing to delete
    QCOMPARE(lines->recordCount(), 0);

    // The walk: type to model, model to origin, origin skips the unit, price, quantity.
    w->N1->trigger();
    const QStringList order{"carmodel", "producingarea", "unitprice", "qty"};
    for (const QString &next : order) {
        typeCellAndEnter(grid, "1");
        QCOMPARE(currentField(grid), next);
    }
    grid->setCurrentIndex(grid->model()->index(0, column(grid, "unit")));
    typeCellAndEnter(grid, "辆");
    QCOMPARE(currentField(grid), QString("unit")); // Enter in the unit stays
    grid->setCurrentIndex(grid->model()->index(0, column(grid, "qty")));
    typeCellAndEnter(grid, "4");
    QCOMPARE(lines->recordCount(), 2); // the last line's quantity appends a line
    QCOMPARE(grid->currentIndex().row(), 1);
    QCOMPARE(currentField(grid), QString("cartype"));

    // "增加" on a line without a model drops it first; "删除" on a line being
    // typed drops the typing, a second "删除" the line.
    w->N1->trigger();
    QCOMPARE(lines->recordCount(), 2);
    typeCellAndEnter(grid, "轿车");
    typeCellAndEnter(grid, "捷达");
    w->N2->trigger();
    QCOMPARE(lines->recordCount(), 2);
    grid->setCurrentIndex(grid->model()->index(1, column(grid, "producingarea")));
    typeCellAndEnter(grid, "长春");
    QVERIFY(lines->isEditing());
    w->N3->trigger();
    QCOMPARE(lines->recordCount(), 2);
    QVERIFY(lines->value("producingarea").isNull());
    w->N3->trigger();
    QCOMPARE(lines->recordCount(), 1);
    QCOMPARE(db.count("csalecontdetail"), 0); // every line edit is still pending

    // "取消" drops every pending line edit, not only the current line's.
    db.messages.answer(QMessageBox::Yes);
    press(w.w, "SpeedItem3");
    QCOMPARE(db.count("csalecontdetail"), 0);
    QCOMPARE(db.count("csalecontract"), 0);
}

void TestContracts::badLineValuesAreRefused()
{
    TestDb db;
    seed(db);
    Window w(new Tfbuycont);
    addFilled(w.w, twin("purchase"));
    w->N1->trigger();
    enterLine(w->DBGrid1, {"轿车", "桑塔纳", "上海", "十万", "2"});
    press(w.w, "SpeedItem2");
    QVERIFY(db.messages.texts().contains("单价必须是数字！"));
    QCOMPARE(db.count("cbuycontdetail"), 0);
    QVERIFY(db.scalar("SELECT contract_no FROM cbuycontract").isNull());
    QVERIFY(w->SpeedItem2->isEnabled());
}

void TestContracts::lineValuesBeyondTheLimits_data()
{
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("qty");
    QTest::addColumn<QString>("refusal"); // empty: the line is saved
    const QString priceTooLarge = "单价太大：最多8位整数！";
    const QString qtyOutOfRange = "数量必须在-9999到9999之间！";
    QTest::newRow("largest price and quantity") << "99999999.9999" << "9999" << "";
    QTest::newRow("smallest quantity") << "1" << "-9999" << "";
    QTest::newRow("price of nine digits") << "100000000" << "1" << priceTooLarge;
    QTest::newRow("price 99999999999999 × 1000") << "99999999999999" << "1000" << priceTooLarge;
    QTest::newRow("price beyond Money") << "99999999999999999999" << "1" << priceTooLarge;
    QTest::newRow("quantity over") << "1" << "10000" << qtyOutOfRange;
    QTest::newRow("quantity under") << "1" << "-10000" << qtyOutOfRange;
    QTest::newRow("quantity of twelve digits") << "1" << "100000000000" << qtyOutOfRange;
}

void TestContracts::lineValuesBeyondTheLimits()
{
    QFETCH(QString, price);
    QFETCH(QString, qty);
    QFETCH(QString, refusal);
    TestDb db;
    seed(db);
    Window w(new Tfbuycont);
    addFilled(w.w, twin("purchase"));
    w->N1->trigger();
    enterLine(w->DBGrid1, {"轿车", "桑塔纳", "上海", price, qty});
    if (refusal.isEmpty())
        db.messages.answer(QMessageBox::No); // 是否打印?
    press(w.w, "SpeedItem2");
    if (!refusal.isEmpty()) {
        QVERIFY2(db.messages.texts().contains(refusal), qPrintable(db.messages.texts().join('|')));
        QCOMPARE(db.count("cbuycontdetail"), 0);
        QVERIFY(db.scalar("SELECT contract_no FROM cbuycontract").isNull());
        return;
    }
    QCOMPARE(db.messages.texts(), QStringList{"是否打印?"});
    QCOMPARE(Fmt::display(db.scalar("SELECT unitprice FROM cbuycontdetail")), price);
    QCOMPARE(db.scalar("SELECT qty FROM cbuycontdetail").toString(), qty);
}

void TestContracts::failedSaveWritesNothingAndKeepsInput()
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

void TestContracts::numberingFailureOpensNothing()
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

void TestContracts::pickedLongCodeAndPickLists()
{
    TestDb db;
    seed(db);
    db.insert("cprovider", {{"providerid", "PROVIDER10"}, {"provname", "长代码厂"}});
    db.insert("cprovcarmodel", {{"providerid", "PROVIDER10"}, {"carmodel", "红旗"}});
    db.insert("cartype", {{"code", "1"}, {"type", "轿车"}});
    Window w(new Tfbuycont);
    press(w.w, "SpeedItem1");
    QTimer::singleShot(0, [] {
        auto *picker = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(picker);
        auto *grid = picker->findChild<DBGrid *>();
        QVERIFY(grid->dataSet()->locate("providerid", "PROVIDER10"));
        picker->findChild<QAbstractButton *>("BitBtn1")->click();
    });
    w->ComboEdit1->clickButton();
    QCOMPARE(w->ComboEdit1->text(), QString("PROVIDER10"));
    QCOMPARE(w->DBEdit7->text(), QString("长代码厂"));
    w->ComboEdit1Exit(); // leaving the field loads the provider's models
    QCOMPARE(w->DBGrid1->columns().at(1).pickList, QStringList{"红旗"});
    QCOMPARE(w->DBGrid1->columns().at(0).pickList, QStringList{"轿车"});
    type(w.w, "DBEdit1", "HT-5");
    db.messages.answer(QMessageBox::No);
    press(w.w, "SpeedItem2");
    QCOMPARE(db.scalar("SELECT providerid FROM cbuycontract").toString(), QString("PROVIDER10"));
}

void TestContracts::codeIsLookedUpOnlyWhenTheFieldIsLeft()
{
    const Twin &t = twin("sales");
    TestDb db;
    seed(db);
    Window w(t.make());
    press(w.w, "SpeedItem1");
    type(w.w, "ComboEdit1", "X999");
    db.messages.clear();
    // Another window or a menu taking the focus for a while is not leaving the field.
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(w->ComboEdit1, &out);
    }
    QVERIFY(db.messages.messages.isEmpty());
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w->ComboEdit1, &out);
    QCOMPARE(db.messages.texts(), QStringList{t.codeNotFound});
}

void TestContracts::oneRefusalPerPress()
{
    // In the document area, as the main window holds it; the buttons pressed
    // with the mouse, which takes no focus from the field.
    const Twin &t = twin("sales");
    TestDb db;
    seed(db);
    QMdiArea area;
    QPointer<TContractEntry> w = t.make();
    area.addSubWindow(w);
    area.resize(900, 700);
    area.show();
    area.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&area));
    QTest::mouseClick(w->SpeedItem1, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), w->ComboEdit1);
    typeText(w->ComboEdit1, "X999");
    struct Press {
        QToolButton *button;
        QStringList messages;
    };
    const QList<Press> presses{{w->SpeedItem2, {t.codeNotFound}},
                               {w->SpeedItem4, {t.codeNotFound}},
                               {w->SpeedItem5, {"合同执行后将无法修改，是否继续？", t.codeNotFound}}};
    for (const Press &p : presses) {
        db.messages.clear();
        db.messages.answer(QMessageBox::Yes);
        QTest::mouseClick(p.button, Qt::LeftButton);
        QCOMPARE(db.messages.texts(), p.messages);
        QCOMPARE(QApplication::focusWidget(), w->ComboEdit1);
    }
    // A click on a caption neither leaves the field.
    db.messages.clear();
    QTest::mouseClick(w->Label19, Qt::LeftButton);
    QVERIFY(db.messages.messages.isEmpty());
    QCOMPARE(QApplication::focusWidget(), w->ComboEdit1);
    QVERIFY(db.scalar("SELECT customerid FROM csalecontract").isNull());
}

void TestContracts::openCellCountsAndPickListsTakeAnyText()
{
    const Twin &t = twin("sales");
    TestDb db;
    seed(db);
    db.insert("cartype", {{"code", "1"}, {"type", "轿车"}});
    db.insert("model", {{"code", "1"}, {"model", "桑塔纳"}});
    Window w(t.make());
    addFilled(w.w, t);
    w->N1->trigger();
    // A type that is not in the pick list is taken as typed.
    enterLine(w->DBGrid1, {"货车", "桑塔纳", "上海", "1"});
    QCOMPARE(currentField(w->DBGrid1), QString("qty"));
    // The quantity is typed and the cell left open when the button is pressed.
    w->DBGrid1->edit(w->DBGrid1->currentIndex());
    QLineEdit *editor = nullptr;
    for (auto *e : w->DBGrid1->viewport()->findChildren<QLineEdit *>())
        if (e->isVisible())
            editor = e;
    QVERIFY(editor);
    typeText(editor, "3");
    press(w.w, "SpeedItem2");
    QCOMPARE(db.scalar("SELECT cartype || '/' || carmodel || '/' || qty FROM " + t.lines).toString(),
             QString("货车/桑塔纳/3"));
}

void TestContracts::datesNotWholeAreRefused_data()
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

void TestContracts::datesNotWholeAreRefused()
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

void TestContracts::enterMovesOnFromTheMemo()
{
    const Twin &t = twin("sales");
    TestDb db;
    seed(db);
    Window w(t.make());
    addFilled(w.w, t);
    QApplication::setActiveWindow(w.w);
    w->DBMemo1->setFocus();
    typeText(w->DBMemo1, "首付三成");
    // Shift+Enter still breaks the line; Enter passes the focus on.
    QTest::keyClick(w->DBMemo1, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), w->DBMemo1);
    typeText(w->DBMemo1, "余款提车");
    QTest::keyClick(w->DBMemo1, Qt::Key_Return);
    QVERIFY(QApplication::focusWidget() != w->DBMemo1);
    QCOMPARE(w->master()->value("remarks").toString(), QString("首付三成\n余款提车"));
    QTest::keyClick(w->DBMemo1, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(w->master()->value("remarks").toString(), QString("首付三成\n余款提车"));
}

void TestContracts::typingIntoEmptyLinesStartsALine_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("typed");
    QTest::newRow("sales, a pick-list cell") << "sales" << "轿车";
    QTest::newRow("purchase, Latin letters") << "purchase" << "SUV";
}

void TestContracts::typingIntoEmptyLinesStartsALine()
{
    QFETCH(QString, kind);
    QFETCH(QString, typed);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    Window w(t.make());
    addFilled(w.w, t);
    QApplication::setActiveWindow(w.w);
    DBGrid *grid = w->DBGrid1;
    DataSet *lines = w->lines();
    grid->setFocus();
    QCOMPARE(lines->recordCount(), 0);

    // Keys that type nothing start no line.
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(lines->recordCount(), 0);

    // The first key starts the line and lands in its first cell with the rest.
    for (const QChar ch : typed)
        typeText(QApplication::focusWidget(), QString(ch));
    QCOMPARE(lines->recordCount(), 1);
    QCOMPARE(lines->state(), DataSet::Insert);
    QCOMPARE(currentField(grid), QString("cartype"));
    QCOMPARE(lines->value("cartype").toString(), typed);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(currentField(grid), QString("carmodel")); // the editor closes after the key
    QCOMPARE(lines->value("cartype").toString(), typed);

    // With a line there, typing edits the current cell and adds no line.
    typeText(QApplication::focusWidget(), "桑");
    QCOMPARE(lines->recordCount(), 1);
    QCOMPARE(lines->value("carmodel").toString(), QString("桑"));

    // The popup's "增加" still adds lines.
    QVERIFY(w->N1->isEnabled());
    QCOMPARE(w->N1->text(), QString("增加"));
}

void TestContracts::refusedLineValueKeepsItsCell_data()
{
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("qty");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("field");
    QTest::newRow("quantity not whole") << "1000" << "1.5" << "数量必须是整数！" << "qty";
    QTest::newRow("price not an amount") << "十万" << "2" << "单价必须是数字！" << "unitprice";
}

void TestContracts::refusedLineValueKeepsItsCell()
{
    QFETCH(QString, price);
    QFETCH(QString, qty);
    QFETCH(QString, message);
    QFETCH(QString, field);
    const Twin &t = twin("sales");
    TestDb db;
    seed(db);
    Window w(t.make());
    addFilled(w.w, t);
    DBGrid *grid = w->DBGrid1;
    w->N1->trigger();
    enterLine(grid, {"轿车", "桑塔纳", "上海", "117000", "2"});
    // The second line: Enter in its quantity stores it, and the check refuses it.
    enterLine(grid, {"轿车", "捷达", "长春", price, qty});
    QCOMPARE(db.messages.texts(), QStringList{message});
    QCOMPARE(grid->currentIndex().row(), 1);
    QCOMPARE(currentField(grid), field);
    QTRY_COMPARE(currentField(grid), field); // also once the events have settled
    QCOMPARE(grid->currentIndex().row(), 1);
    QCOMPARE(w->lines()->recNo(), 1);

    // Choosing another line is refused the same way: the cell to mend stays.
    db.messages.clear();
    grid->setCurrentIndex(grid->model()->index(0, column(grid, "cartype")));
    QCOMPARE(db.messages.texts(), QStringList{message});
    QTRY_COMPARE(grid->currentIndex().row(), 1);
    QTRY_COMPARE(currentField(grid), field);

    // Mended in place, the walk goes on to a new line.
    db.messages.clear();
    typeCellAndEnter(grid, field == "qty" ? "3" : "50000");
    if (field == "unitprice")
        typeCellAndEnter(grid, qty);
    QVERIFY(db.messages.texts().isEmpty());
    QCOMPARE(w->lines()->recordCount(), 3);
    QCOMPARE(currentField(grid), QString("cartype"));
}

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

void TestContracts::changeFieldAndLinesThenSave()
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

void TestContracts::changeCancelRestoresEveryLine()
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

void TestContracts::changeCloseQuestion_data()
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

void TestContracts::changeCloseQuestion()
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

void TestContracts::changeStartsTheContract()
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

void TestContracts::changeRefusedWhenStartedElsewhere_data()
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

void TestContracts::changeRefusedWhenStartedElsewhere()
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

void TestContracts::changeWithoutContractStoresNothing()
{
    QFETCH(QString, kind);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    db.insert(t.master, {{t.numberField, "S1"}, {"contract_no", "HT-S"}, {"isfinished", 1}});
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

void TestContracts::changeFindsWithThePicker()
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

void TestContracts::changeStoresEveryLineAsTyped_data()
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
void TestContracts::changeStoresEveryLineAsTyped()
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

void TestContracts::printQuestionWhileTheContractIsShown_data()
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
void TestContracts::printQuestionWhileTheContractIsShown()
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

// ---------------------------------------------------------------- pickers

void TestContracts::pickerScopes_data()
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

void TestContracts::pickerScopes()
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

void TestContracts::pickerChoosesTheSelectedRow()
{
    QFETCH(QString, kind);
    const Twin &t = twin(kind);
    TestDb db;
    for (const char *serial : {"A1", "A2", "A3"})
        db.insert(t.master, {{t.numberField, serial}, {"contract_no", QString("HT-") + serial},
                             {t.codeField, t.code}, {t.nameField, t.partyName}, {"isfinished", 1}});
    auto pick = [&] {
        return kind == "sales" ? pickContract<Tfselesalecont>(nullptr, ContractScope::All)
                               : pickContract<Tfselebuycont>(nullptr, ContractScope::All);
    };
    bool stayedOpen = false;
    QWidget *focused = nullptr;
    QTimer::singleShot(0, [&] {
        auto *picker = qobject_cast<TContractPicker *>(QApplication::activeModalWidget());
        QVERIFY(picker);
        QCOMPARE(picker->windowTitle(), QString(kind == "sales" ? "选择销售合同" : "选择采购合同"));
        focused = picker->focusWidget();
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
    QVERIFY(focused);
    QCOMPARE(focused->objectName(), QString(kind == "sales" ? "Edit1" : "BitBtn1"));

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

void TestContracts::queryConditions_data()
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

void TestContracts::queryConditions()
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
void TestContracts::queryAndPickerListTheirStatements()
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

void TestContracts::queryListsLinesPrintsAndClears()
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

void TestContracts::listsBeyondOnePage()
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

void TestContracts::keyboardOnlyContract()
{
    // A contract added, filled with its lines and saved with the keyboard alone:
    // the speed buttons by Alt and their place, the fields by Enter and Tab.
    const Twin &t = twin("sales");
    TestDb db;
    seed(db);
    Window w(t.make());
    QApplication::setActiveWindow(w.w);
    w.w->setFocus();
    const auto key = [](int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), m);
        QApplication::processEvents(); // as between a user's keys
    };
    const auto typeHere = [](const QString &text) {
        for (const QChar c : text)
        {
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
            QApplication::processEvents();
        }
    };
    key(Qt::Key_1, Qt::AltModifier); // 增加合同
    QCOMPARE(db.count(t.master), 1);
    QCOMPARE(QApplication::focusWidget(), w->ComboEdit1);
    typeHere(t.code);
    key(Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w->DBEdit1);
    typeHere("HT-9");
    for (int i = 0; i < 20 && QApplication::focusWidget() != w->DBGrid1; ++i)
        key(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w->DBGrid1);
    // Typing into the empty lines starts the first; Enter walks the cells.
    for (const char *cell : {"SUV", "A6", "CC", "117000", "2"}) {
        typeHere(cell);
        key(Qt::Key_Return);
    }
    // Escape drops the next line just begun, Ctrl+Tab leaves the grid.
    key(Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), w->DBGrid1);
    key(Qt::Key_Tab, Qt::ControlModifier);
    for (int i = 0; i < 20 && QApplication::focusWidget() != w->DBEdit10; ++i) {
        key(Qt::Key_Tab);
    }
    QCOMPARE(QApplication::focusWidget(), w->DBEdit10);
    typeHere("Zhang");
    db.messages.answer(QMessageBox::No); // 是否打印?
    key(Qt::Key_2, Qt::AltModifier);     // 保存合同
    QCOMPARE(db.messages.texts(), QStringList{"是否打印?"});
    QCOMPARE(db.scalar("SELECT contract_no FROM " + t.master).toString(), QString("HT-9"));
    QCOMPARE(db.scalar("SELECT recorder FROM " + t.master).toString(), QString("Zhang"));
    QCOMPARE(db.count(t.lines), 1);
    QCOMPARE(db.scalar("SELECT ifnull(cartype,'') || '/' || ifnull(carmodel,'') || '/' || ifnull(producingarea,'')"
                       " || '/' || ifnull(unitprice,'') || '/' || ifnull(qty,'') FROM " + t.lines).toString(),
             QString("SUV/A6/CC/117000.0/2"));
}

QTEST_MAIN(TestContracts)
#include "tst_contracts.moc"
