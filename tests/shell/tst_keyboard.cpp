// The keyboard in the document area, in the windows the menus open: Enter and
// Tab, the speed keys after buttons and questions, pages, and the focus after
// a menu or a dialog; the row keys and Enter in the pickers.
#include "Codes.h"
#include "DBControls.h"
#include "ShellFixture.h"
#include "DBGrid.h"
#include "DateEdit.h"
#include "Drive.h"
#include "Modal.h"
#include "TestDb.h"
#include "PickerDialog.h"
#include "Uoutaddcost.h"
#include "Uqry_selecust.h"
#include "Uqry_seleprov.h"
#include "Uselebuycont.h"
#include "Uselecar.h"
#include "Uselecust.h"
#include "Useleprov.h"
#include "Uselesalecont.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHash>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <array>
#include <optional>

namespace {

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

// "car:S" chooses car S in the car picker that Alt+1 (选车, 新增) opens.
void chooseCar(Tfrmmain &frame, const QString &serial)
{
    whenModal<Tfselecar>([serial](Tfselecar *d) {
        QTest::keyClicks(d->Edit1, serial);
        QTest::keyClick(d->Edit1, Qt::Key_Return);
    });
    key(Qt::Key_1, Qt::AltModifier);
    QApplication::setActiveWindow(&frame); // the window manager's part
    QApplication::processEvents();
}

QWidget *focusIn(QWidget *window)
{
    QWidget *f = QApplication::focusWidget();
    return f && (f == window || window->isAncestorOf(f)) ? f : nullptr;
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    // A dialog that never came up is not answered in the next test.
    void cleanup() { qDeleteAll(qApp->findChildren<QTimer *>("modalPoll")); }

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
    void closedRecordTakesNoTyping_data();
    void closedRecordTakesNoTyping();
    void pagesTurnByKeyboard_data();
    void pagesTurnByKeyboard();
    void focusBackAfterDialog_data();
    void focusBackAfterDialog();

    // Pickers
    void pickerKeys_data();
    void pickerKeys();
};

// ---------------------------------------------------------------- keyboard in the document area

void TestKeyboard::enterMovesOnInDocumentWindows_data()
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

void TestKeyboard::enterMovesOnInDocumentWindows()
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

void TestKeyboard::gridLeftByKeyboard()
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

void TestKeyboard::windowKeepsKeysAfterQuestion()
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

void TestKeyboard::windowOpensWithFocusOnFirstField_data()
{
    QTest::addColumn<QByteArray>("menuItem");
    QTest::addColumn<QString>("field");
    QTest::newRow("customer reconciliation") << QByteArray("menucustcom") << "ComboEdit1";
    QTest::newRow("provider reconciliation") << QByteArray("menuprovcom") << "ComboEdit1";
    QTest::newRow("customer account query") << QByteArray("menucustf") << "ComboEdit1";
}

void TestKeyboard::windowOpensWithFocusOnFirstField()
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

void TestKeyboard::speedButtonClickLeavesNoField()
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

void TestKeyboard::menuOpenedByKeyboardLeavesNoField_data()
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

void TestKeyboard::menuOpenedByKeyboardLeavesNoField()
{
    // A menu opened by its access key takes the focus only while it is open:
    // the code typed is not looked up for it; leaving the field looks it up, once.
    QFETCH(QByteArray, menuItem);
    QFETCH(QByteArray, add);
    QFETCH(QString, field);
    QFETCH(QString, message);
    TestDb db;
    db.insert("carinfor", {{"carserial_no", "A1"}, {"carstatus", codeValue(CarStatus::InStock)}});
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

void TestKeyboard::ctrlF4ClosesTheActiveWindow()
{
    TestDb db;
    Tfrmmain frame;
    QPointer<ChildForm> w = openActive(frame, "menucustf");
    QVERIFY(w);
    key(Qt::Key_F4, Qt::ControlModifier);
    QTRY_VERIFY(!w);
}

void TestKeyboard::downPicksFromModelList()
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

void TestKeyboard::registerRemarksEnterMovesOn_data()
{
    QTest::addColumn<QByteArray>("menuItem");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("code");
    QTest::newRow("personnel") << QByteArray("menuperson") << "cpersonnel" << "personnelid";
    QTest::newRow("providers") << QByteArray("menuprovlog") << "cprovider" << "providerid";
    QTest::newRow("customers") << QByteArray("menucustlog") << "ccustomer" << "customerid";
}

void TestKeyboard::registerRemarksEnterMovesOn()
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

void TestKeyboard::windowKeepsKeysAfterItsButtons_data()
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

void TestKeyboard::windowKeepsKeysAfterItsButtons()
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
            chooseCar(frame, step.mid(4));
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

namespace {

// What a field shows.
QString shownText(const QWidget *field)
{
    if (auto *e = qobject_cast<const QLineEdit *>(field))
        return e->displayText();
    if (auto *m = qobject_cast<const QPlainTextEdit *>(field))
        return m->toPlainText();
    if (auto *c = qobject_cast<const QComboBox *>(field))
        return c->currentText();
    return QString();
}

} // namespace

void TestKeyboard::closedRecordTakesNoTyping_data()
{
    // The window (a menu item, and the button of its window that opens it),
    // what opens its record ("car:S" chooses car S), and a field typed then.
    QTest::addColumn<QByteArray>("menuItem");
    QTest::addColumn<QByteArray>("opener");
    QTest::addColumn<QString>("add");
    QTest::addColumn<QString>("field");
    QTest::newRow("purchase contract") << QByteArray("buycont") << QByteArray() << "@1" << "DBEdit1";
    QTest::newRow("sales contract") << QByteArray("salecont") << QByteArray() << "@1" << "DBEdit1";
    QTest::newRow("car sale") << QByteArray("menucarout") << QByteArray() << "car:A1" << "DBEdit3";
    QTest::newRow("customer prepayment") << QByteArray("menucustpre") << QByteArray() << "@1" << "DBEdit2";
    QTest::newRow("purchase payment") << QByteArray("menuprovpre") << QByteArray() << "@1" << "DBEdit2";
    QTest::newRow("advanced fees") << QByteArray("menucustpre") << QByteArray("SpeedItem2") << "@1"
                                   << "DBEdit2";
    QTest::newRow("sale verification") << QByteArray("menucusthsh") << QByteArray() << "car:A2"
                                       << "DBEdit13";
    QTest::newRow("in-stock verification") << QByteArray("menuprovhsh") << QByteArray() << "car:A2"
                                           << "DBEdit13";
}

void TestKeyboard::closedRecordTakesNoTyping()
{
    // Before its record is open a window's bound fields take no key and say
    // nothing; nothing is stored. Opened, they take typing.
    QFETCH(QByteArray, menuItem);
    QFETCH(QByteArray, opener);
    QFETCH(QString, add);
    QFETCH(QString, field);
    TestDb db;
    db.insert("carinfor", {{"carserial_no", "A1"}, {"carstatus", 0}});
    db.insert("carinstock", {{"carin_no", "RS1"}, {"carserial_no", "A1"}});
    db.insert("carinfor", {{"carserial_no", "A2"}, {"carstatus", 1}});
    db.insert("cprovaccount", {{"paccountid", "PS1"}, {"certificate_no", "A2"}, {"isprepay", 2}});
    db.insert("ccustaccount", {{"caccountid", "KS1"}, {"certificate_no", "A2"}, {"isprepay", 2}});
    Tfrmmain frame;
    QPointer<QWidget> w = openActive(frame, menuItem.constData());
    QVERIFY(w);
    if (!opener.isEmpty()) {
        QVERIFY(Drive::press(w, opener.constData()));
        w = w->findChild<ChildForm *>();
        QVERIFY(w);
        QApplication::setActiveWindow(w);
    }
    const QVariant changes = db.scalar("SELECT total_changes()");

    int fields = 0;
    for (QWidget *f : w->findChildren<QWidget *>()) {
        if (!dynamic_cast<BoundControl *>(f) || !f->isVisibleTo(w) || !f->isEnabled()
            || !(f->focusPolicy() & Qt::TabFocus))
            continue;
        ++fields;
        f->setFocus();
        QCOMPARE(QApplication::focusWidget(), f);
        const QString shown = shownText(f);
        keys({"7x 甲"});
        for (int k : {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Down, Qt::Key_F4}) {
            key(k);
            QVERIFY2(!QApplication::activePopupWidget(), qPrintable(f->objectName()));
        }
        QCOMPARE(shownText(f), shown);
        QVERIFY2(db.messages.texts().isEmpty(), qPrintable(f->objectName() + ": " + db.messages.texts().join(' ')));
        QCOMPARE(QApplication::focusWidget(), f);
        key(Qt::Key_Tab); // moves on as from any field, a memo's too
        QCOMPARE(shownText(f), shown);
        QVERIFY(focusIn(w));
    }
    QVERIFY(fields > 1);
    QCOMPARE(db.scalar("SELECT total_changes()"), changes);

    if (add.startsWith("car:"))
        chooseCar(frame, add.mid(4));
    else
        keys({add});
    auto *typed = w->findChild<QLineEdit *>(field);
    QVERIFY(typed && typed->isEnabled());
    typed->setFocus();
    QCOMPARE(QApplication::focusWidget(), typed);
    keys({"7"});
    QCOMPARE(typed->text(), QString("7"));
    QCOMPARE(db.messages.texts(), QStringList());
}

void TestKeyboard::pagesTurnByKeyboard_data()
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

void TestKeyboard::pagesTurnByKeyboard()
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

void TestKeyboard::focusBackAfterDialog_data()
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

void TestKeyboard::focusBackAfterDialog()
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

// ---------------------------------------------------------------- pickers

namespace {

// A picker opened as its callers open it, over five rows listed in the order
// of their codes K1..K5; it answers the code of the row chosen.
struct PickerUnderTest {
    std::function<void(TestDb &)> seed;
    std::function<std::optional<QString>()> pick;
};

PickerUnderTest pickerUnderTest(const QString &name)
{
    const auto partners = [](const char *table, const char *code, const char *partnerName) {
        return [=](TestDb &db) {
            for (int i = 1; i <= 5; ++i)
                db.insert(table, {{code, QString("K%1").arg(i)}, {partnerName, QString("名%1").arg(i)}});
        };
    };
    const auto contracts = [](const char *table, const char *serial, const char *code) {
        return [=](TestDb &db) {
            for (int i = 1; i <= 5; ++i)
                db.insert(table, {{serial, QString("S%1").arg(i)}, {"contract_no", QString("K%1").arg(i)},
                                  {code, "P1"}, {"isfinished", codeValue(ContractProgress::Executing)}});
        };
    };
    const auto partner = [](const std::optional<PickedPartner> &p) {
        return p ? std::optional<QString>(p->code) : std::nullopt;
    };
    const auto contract = [](const std::optional<PickedContract> &c) {
        return c ? std::optional<QString>(c->contractNo) : std::nullopt;
    };
    const auto customers = partners("ccustomer", "customerid", "custname");
    const auto providers = partners("cprovider", "providerid", "provname");
    if (name == "选择客户")
        return {customers, [=] { return partner(pickPartner<Tfselecust>(nullptr)); }};
    if (name == "选择供应商")
        return {providers, [=] { return partner(pickPartner<Tfseleprov>(nullptr)); }};
    if (name == "查询的选择客户")
        return {customers, [=] { return partner(pickPartner<Tfqry_selecust>(nullptr)); }};
    if (name == "查询的选择供应商")
        return {providers, [=] { return partner(pickPartner<Tfqry_seleprov>(nullptr)); }};
    if (name == "选择销售合同")
        return {contracts("csalecontract", "salecont_no", "customerid"),
                [=] { return contract(pickContract<Tfselesalecont>(nullptr, ContractScope::Started)); }};
    if (name == "选择采购合同")
        return {contracts("cbuycontract", "buycont_no", "providerid"),
                [=] { return contract(pickContract<Tfselebuycont>(nullptr, ContractScope::Started)); }};
    return {[](TestDb &db) {
                for (int i = 1; i <= 5; ++i)
                    db.insert("carinfor", {{"carserial_no", QString("K%1").arg(i)},
                                           {"chassis_no", QString("DP%1").arg(i)},
                                           {"carstatus", codeValue(CarStatus::InStock)}});
            },
            [] {
                const auto car = pickCar(nullptr);
                return car ? std::optional<QString>(car->value("carserial_no").toString()) : std::nullopt;
            }};
}

int pickerKey(const QString &name)
{
    static const QHash<QString, int> keys{{"Down", Qt::Key_Down}, {"Up", Qt::Key_Up},
                                          {"PgDn", Qt::Key_PageDown}, {"PgUp", Qt::Key_PageUp},
                                          {"Enter", Qt::Key_Return}};
    return keys.value(name);
}

} // namespace

void TestKeyboard::pickerKeys_data()
{
    // The field the keys start in ("" where the focus opens, "grid"), the
    // keys, then: the focus and the grid's row when the dialog is still open
    // after them, or the row chosen ("" for the focus).
    QTest::addColumn<QString>("picker");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("row");
    const QStringList all{"选择客户", "选择供应商", "查询的选择客户", "查询的选择供应商",
                          "选择销售合同", "选择采购合同", "选车"};
    for (const QString &p : all) {
        const QByteArray n = p.toUtf8();
        QTest::addRow("%s: Enter in the grid takes its row", n.constData())
            << p << "grid" << QStringList{"Down", "Enter"} << "" << 1;
        QTest::addRow("%s: PgDn in the grid, Enter", n.constData())
            << p << "grid" << QStringList{"PgDn", "Up", "Enter"} << "" << 3;
    }
    // The filter fields: the row moves, the focus stays, Enter takes the row.
    const QList<std::array<QString, 3>> filters{
        {"选择销售合同", "Edit1", "Edit2"}, {"选择采购合同", "edit1", "edit2"}, {"选车", "Edit1", "Edit2"}};
    for (const auto &[p, first, second] : filters) {
        const QByteArray n = p.toUtf8();
        QTest::addRow("%s: Down in the first filter", n.constData())
            << p << first << QStringList{"Down", "Down"} << first << 2;
        QTest::addRow("%s: Down, Up, Enter in the first filter", n.constData())
            << p << first << QStringList{"Down", "Down", "Up", "Enter"} << "" << 1;
        QTest::addRow("%s: PgDn in the second filter", n.constData())
            << p << second << QStringList{"PgDn"} << second << 4;
        QTest::addRow("%s: PgDn, PgUp, Down, Enter in the second filter", n.constData())
            << p << second << QStringList{"PgDn", "PgUp", "Down", "Enter"} << "" << 1;
        QTest::addRow("%s: Enter in a filter takes the first row", n.constData())
            << p << first << QStringList{"Enter"} << "" << 0;
    }
    QTest::newRow("选择销售合同: opens on the number, Down, Enter")
        << "选择销售合同" << "" << QStringList{"Down", "Enter"} << "" << 1;
    // The quick add: Enter moves on to its button, Down goes into the grid.
    for (const QString &p : {QString("选择客户"), QString("选择供应商")}) {
        const QByteArray n = p.toUtf8();
        QTest::addRow("%s: Down from a quick-add field goes into the grid", n.constData())
            << p << "Edit2" << QStringList{"Down"} << "grid" << 0;
        QTest::addRow("%s: Down into the grid, Down, Enter", n.constData())
            << p << "Edit1" << QStringList{"Down", "Down", "Enter"} << "" << 1;
        QTest::addRow("%s: Enter moves on in the quick add", n.constData())
            << p << "Edit1" << QStringList{"Enter"} << "Edit2" << 0;
        QTest::addRow("%s: Enter from the last quick-add field to 新增", n.constData())
            << p << "Edit4" << QStringList{"Enter"} << "BitBtn2" << 0;
    }
}

void TestKeyboard::pickerKeys()
{
    QFETCH(QString, picker);
    QFETCH(QString, start);
    QFETCH(QStringList, steps);
    QFETCH(QString, focus);
    QFETCH(int, row);
    TestDb db;
    const PickerUnderTest under = pickerUnderTest(picker);
    under.seed(db);
    QString focusAfter;
    int rowAfter = -1;
    const auto done = whenModal<PickerDialog>([&](PickerDialog *d) {
        QVERIFY(QTest::qWaitForWindowActive(d));
        auto *grid = d->findChild<DBGrid *>();
        QWidget *first = start == "grid" ? grid : d->findChild<QWidget *>(start);
        if (!start.isEmpty()) {
            QVERIFY2(first, qPrintable(start));
            first->setFocus();
        }
        QPointer<PickerDialog> open(d);
        for (const QString &step : steps) {
            QVERIFY(open && open->isVisible());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(pickerKey(step)));
        }
        if (!open || !open->isVisible())
            return;
        QWidget *f = QApplication::focusWidget();
        focusAfter = f == grid ? QString("grid") : f ? f->objectName() : QString();
        rowAfter = grid->currentIndex().row();
        d->reject();
    });
    const std::optional<QString> chosen = under.pick();
    QVERIFY(*done);
    QVERIFY(db.messages.messages.isEmpty());
    if (focus.isEmpty()) {
        QVERIFY2(chosen, qPrintable(QString("still open, the focus on %1").arg(focusAfter)));
        QCOMPARE(*chosen, QString("K%1").arg(row + 1));
    } else {
        QVERIFY(!chosen);
        QCOMPARE(focusAfter, focus);
        QCOMPARE(rowAfter, row);
    }
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
