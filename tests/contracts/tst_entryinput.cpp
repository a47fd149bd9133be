// Contract entry as it is typed: the lines and their values, the partner code
// and its picker, the remarks, and a whole contract by the keyboard alone.
#include "ContractFixture.h"
#include "DBGrid.h"
#include "Format.h"
#include "ReportPrinter.h"
#include "TestDb.h"
#include "Ubuycont.h"
#include "Usalecont.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QMdiArea>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolButton>

class TestContractInput : public QObject {
    Q_OBJECT

private slots:
    void lineEditsStayPendingAndPopup();
    void badLineValuesAreRefused();
    void lineValuesBeyondTheLimits_data();
    void lineValuesBeyondTheLimits();
    void pickedLongCodeAndPickLists();
    void codeIsLookedUpOnlyWhenTheFieldIsLeft();
    void oneRefusalPerPress();
    void openCellCountsAndPickListsTakeAnyText();
    void lineCellsOpenTheirListOnF4_data();
    void lineCellsOpenTheirListOnF4();
    void enterMovesOnFromTheMemo();
    void typingIntoEmptyLinesStartsALine_data();
    void typingIntoEmptyLinesStartsALine();
    void refusedLineValueKeepsItsCell_data();
    void refusedLineValueKeepsItsCell();
    void keyboardOnlyContract();
};

void TestContractInput::lineEditsStayPendingAndPopup()
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

void TestContractInput::badLineValuesAreRefused()
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

void TestContractInput::lineValuesBeyondTheLimits_data()
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

void TestContractInput::lineValuesBeyondTheLimits()
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

void TestContractInput::pickedLongCodeAndPickLists()
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

void TestContractInput::codeIsLookedUpOnlyWhenTheFieldIsLeft()
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

void TestContractInput::oneRefusalPerPress()
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

void TestContractInput::openCellCountsAndPickListsTakeAnyText()
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

void TestContractInput::lineCellsOpenTheirListOnF4_data() { addTwinRows(); }

// F4 on a line's type or model opens its pick list at once, on the first
// entry that begins with what was typed, else on the first; Enter takes it.
void TestContractInput::lineCellsOpenTheirListOnF4()
{
    QFETCH(QString, kind);
    const Twin &t = twin(kind);
    TestDb db;
    seed(db);
    for (const char *type : {"轿车", "货车", "客车"})
        db.insert("cartype", {{"code", type}, {"type", type}});
    for (const char *model : {"桑塔纳", "捷达"}) {
        db.insert("model", {{"code", model}, {"model", model}});
        db.insert("cprovcarmodel", {{"providerid", "P001"}, {"carmodel", model}});
    }
    Window w(t.make());
    addFilled(w.w, t);
    QApplication::setActiveWindow(w.w);
    DBGrid *grid = w->DBGrid1;
    w->N1->trigger();
    QCOMPARE(currentField(grid), QString("cartype"));
    grid->setFocus();
    struct Step {
        QString typed;
        QString marked;
        int downs;
        QString taken;
    };
    for (const Step &step : {Step{"货", "货车", 0, "货车"}, Step{"", "桑塔纳", 1, "捷达"}}) {
        const QString field = currentField(grid);
        typeText(QApplication::focusWidget(), step.typed);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4);
        QWidget *popup = QApplication::activePopupWidget();
        QVERIFY2(popup, qPrintable(field));
        QApplication::processEvents(); // the platform's activation of the list's window
        auto *box = qobject_cast<QComboBox *>(grid->indexWidget(grid->currentIndex()));
        QVERIFY(box);
        QCOMPARE(box->view()->currentIndex().data().toString(), step.marked);
        for (int i = 0; i < step.downs; ++i)
            QTest::keyClick(popup->windowHandle(), Qt::Key_Down);
        QTest::keyClick(popup->windowHandle(), Qt::Key_Return);
        QCOMPARE(w->lines()->value(field).toString(), step.taken);
        QTest::keyClick(box, Qt::Key_Return); // the cell is done: on to the next
        QTRY_VERIFY(currentField(grid) != field);
    }
    enterLine(grid, {"上海", "100000"});
    QCOMPARE(currentField(grid), QString("qty"));
    typeCellAndEnter(grid, "1");
    db.messages.answer(QMessageBox::No); // 是否打印?
    press(w.w, "SpeedItem2");
    QCOMPARE(db.scalar("SELECT cartype || '/' || carmodel || '/' || qty FROM " + t.lines).toString(),
             QString("货车/捷达/1"));
}

void TestContractInput::enterMovesOnFromTheMemo()
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

void TestContractInput::typingIntoEmptyLinesStartsALine_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("typed");
    QTest::newRow("sales, a pick-list cell") << "sales" << "轿车";
    QTest::newRow("purchase, Latin letters") << "purchase" << "SUV";
}

void TestContractInput::typingIntoEmptyLinesStartsALine()
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

void TestContractInput::refusedLineValueKeepsItsCell_data()
{
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("qty");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("field");
    QTest::newRow("quantity not whole") << "1000" << "1.5" << "数量必须是整数！" << "qty";
    QTest::newRow("price not an amount") << "十万" << "2" << "单价必须是数字！" << "unitprice";
}

void TestContractInput::refusedLineValueKeepsItsCell()
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

void TestContractInput::keyboardOnlyContract()
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

QTEST_MAIN(TestContractInput)
#include "tst_entryinput.moc"
