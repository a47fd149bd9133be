// Basic data: the code tables, the own company and the partner pickers,
// driven through their real widgets.
#include "PartnerPicker.h"
#include "TestDb.h"
#include "Uarea.h"
#include "Ubgsxx.h"
#include "Ucartype.h"
#include "Uconttype.h"
#include "Umodel.h"
#include "Uqry_selecust.h"
#include "Uqry_seleprov.h"
#include "Uselecust.h"
#include "Useleprov.h"
#include "Usubject.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>

using FormFactory = std::function<TCodeTableForm *()>;

namespace {

FormFactory factory(const QString &window)
{
    if (window == "conttype") return [] { return new Tfconttype; };
    if (window == "subject") return [] { return new Tfsubject; };
    if (window == "area") return [] { return new Tfarea; };
    if (window == "model") return [] { return new Tfmodel; };
    return [] { return new Tfcartype; };
}

struct CodeWindow {
    const char *name;
    const char *table;
    const char *codeField;
    const char *emptyCode;
};
const CodeWindow codeWindows[] = {
    {"conttype", "cconttype", "conttypeid", "请输入类型代码!"},
    {"subject", "subject", "subjectid", "请选择费用代码!"},
    {"area", "dq", "dqdm", "请输入地区代码!"},
    {"model", "model", "code", "请输入型号代码!"},
    {"cartype", "cartype", "code", "请输入类型代码!"},
};

// A window shown offscreen, freed at the end of the test unless it closed itself.
template <class W>
struct Shown {
    explicit Shown(W *window) : w(window) { w->show(); }
    ~Shown() { delete w.data(); }
    W *get() const { return w.data(); }
    W *operator->() const { return w.data(); }
    QPointer<W> w;
};

template <class W>
Shown<W> shown(W *w)
{
    return Shown<W>(w);
}

void press(QWidget *w, const char *button)
{
    auto *b = w->findChild<QAbstractButton *>(button);
    QVERIFY2(b, button);
    QVERIFY2(b->isEnabled(), button);
    b->click();
}

void type(QWidget *w, const char *edit, const QString &text)
{
    auto *e = w->findChild<QLineEdit *>(edit);
    QVERIFY2(e, edit);
    e->setFocus();
    e->selectAll();
    if (text.isEmpty())
        QTest::keyClick(e, Qt::Key_Delete);
    for (const QChar ch : text) { // also characters a keyboard of Latin letters lacks
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(e, &press);
    }
}

// Chooses the first classification as a user would, from the keyboard.
void chooseClassification(QWidget *w)
{
    if (auto *combo = w->findChild<QComboBox *>("DBComboBox1")) {
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
    }
}

bool enabled(QWidget *w, const char *button)
{
    return w->findChild<QAbstractButton *>(button)->isEnabled();
}

} // namespace

class TestBasic : public QObject {
    Q_OBJECT

private slots:
    void codeTableChecks_data();
    void codeTableChecks();
    void feeSubjectChecksClassificationFirst();
    void closeQuestion_data();
    void closeQuestion();
    void deleteDuringAddAndOnEmptyTable();
    void modelGridPostsThroughTheCheck();
    void gridCellTextCountsAsTyped_data();
    void gridCellTextCountsAsTyped();
    void refreshingWindowsKeepTheSavedRow();

    void ownCompanyKeepsOneRow();
    void ownCompanyRefusalsAndClose();

    void customerQuickAdd();
    void providerQuickAddWithOnlyACode();
    void pickerOkOnEmptyTableAndEscape();
    void queryPickersListAndChoose();
    void pickerOwnerFreedWhilePicking();
};

// ---------------------------------------------------------------- code tables

void TestBasic::codeTableChecks_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("codeField");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message"); // empty: stored
    QTest::addColumn<bool>("dbRefusal");
    struct Case {
        const char *name, *code;
        bool emptyMessage, dbRefusal;
    };
    const Case cases[] = {{"empty code", "", true, false},
                          {"blank code", "   ", true, false},
                          {"duplicate in other case", "k1", false, true},
                          {"new code", "k2", false, false}};
    for (const CodeWindow &w : codeWindows)
        for (const Case &c : cases)
            QTest::addRow("%s %s", w.name, c.name)
                << QString(w.name) << QString(w.table) << QString(w.codeField) << QString(c.code)
                << QString(c.emptyMessage ? w.emptyCode : "") << c.dbRefusal;
}

void TestBasic::codeTableChecks()
{
    QFETCH(QString, window);
    QFETCH(QString, table);
    QFETCH(QString, codeField);
    QFETCH(QString, code);
    QFETCH(QString, message);
    QFETCH(bool, dbRefusal);

    TestDb db;
    db.insert(table, {{codeField, "K1"}});
    auto w = shown(factory(window)());
    press(w.get(), "SpeedItem1");
    chooseClassification(w.get());
    type(w.get(), "DBEdit1", code);
    type(w.get(), "DBEdit2", "名称");
    press(w.get(), "SpeedItem2");

    const bool stored = message.isEmpty() && !dbRefusal;
    QCOMPARE(db.count(table), stored ? 2 : 1);
    QCOMPARE(w->table()->isEditing(), !stored);
    QCOMPARE(enabled(w.get(), "SpeedItem2"), !stored);
    QCOMPARE(enabled(w.get(), "SpeedItem1"), stored);
    if (stored) {
        QVERIFY(db.messages.messages.isEmpty());
        QCOMPARE(db.scalar("SELECT count(*) FROM " + table + " WHERE " + codeField
                           + " = 'k2' AND rowid IS NOT NULL").toInt(), 1);
    } else if (dbRefusal) {
        QCOMPARE(db.messages.messages.size(), 1);
        QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Error);
        QVERIFY(db.messages.lastText().contains("UNIQUE"));
        QCOMPARE(w->DBEdit1->text(), code); // the input is kept
    } else {
        QCOMPARE(db.messages.texts(), QStringList{message});
        QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Warning);
        QCOMPARE(db.messages.messages.first().title, QStringLiteral("提示"));
        QCOMPARE(w->focusWidget(), w->DBEdit1);
    }
}

void TestBasic::feeSubjectChecksClassificationFirst()
{
    TestDb db;
    auto w = shown(new Tfsubject);
    press(w.get(), "SpeedItem1");
    press(w.get(), "SpeedItem2");
    QCOMPARE(db.messages.texts(), QStringList{"请选择科目分类!"});
    QCOMPARE(w->focusWidget(), w->DBComboBox1);

    // Nothing else than the four classifications can be chosen; the one chosen is stored.
    QCOMPARE(w->DBComboBox1->isEditable(), false);
    QCOMPARE(w->DBComboBox1->count(), 4);
    chooseClassification(w.get());
    QTest::keyClick(w->DBComboBox1, Qt::Key_Down);
    type(w.get(), "DBEdit1", "f1");
    press(w.get(), "SpeedItem2");
    QCOMPARE(db.scalar("SELECT subjecttype FROM subject WHERE subjectid = 'f1'").toString(),
             QStringLiteral("服务费"));
    QCOMPARE(db.scalar("SELECT subjectname IS NULL FROM subject").toInt(), 1);
}

void TestBasic::closeQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("stored");
    QTest::newRow("yes stores") << int(QMessageBox::Yes) << "a1" << true << 1;
    QTest::newRow("yes refused stays") << int(QMessageBox::Yes) << "" << false << 0;
    QTest::newRow("no discards") << int(QMessageBox::No) << "a1" << true << 0;
    QTest::newRow("cancel stays") << int(QMessageBox::Cancel) << "a1" << false << 0;
}

void TestBasic::closeQuestion()
{
    QFETCH(int, answer);
    QFETCH(QString, code);
    QFETCH(bool, closes);
    QFETCH(int, stored);

    TestDb db;
    QPointer<Tfarea> browsing = new Tfarea;
    browsing->show();
    QVERIFY(browsing->close()); // browsing: closes without a question, and is freed
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!browsing);
    QCOMPARE(db.messages.messages.size(), 0);

    auto w2 = shown(new Tfarea);
    press(w2.get(), "SpeedItem1");
    type(w2.get(), "DBEdit1", code);
    db.messages.answer(QMessageBox::StandardButton(answer));
    QCOMPARE(w2->close(), closes);
    QCOMPARE(db.messages.messages.first().text, QStringLiteral("是否保存?"));
    QCOMPARE(db.messages.messages.first().buttons,
             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(db.messages.messages.first().defaultButton, QMessageBox::Cancel);
    QCOMPARE(db.count("dq"), stored);
    if (!closes)
        QVERIFY(w2->table()->isEditing());
}

void TestBasic::deleteDuringAddAndOnEmptyTable()
{
    TestDb db;
    auto w = shown(new Tfcartype);
    press(w.get(), "SpeedItem4"); // empty table: nothing happens
    QVERIFY(db.messages.messages.isEmpty());

    db.insert("cartype", {{"code", "a"}, {"type", "轿车"}});
    db.insert("cartype", {{"code", "b"}, {"type", "客车"}});
    w->table()->refresh();
    press(w.get(), "SpeedItem1");
    type(w.get(), "DBEdit1", "x");
    press(w.get(), "SpeedItem4");
    QCOMPARE(db.count("cartype"), 2);
    QCOMPARE(w->table()->state(), DataSet::Browse);
    QCOMPARE(w->table()->recordCount(), 2);
    QVERIFY(enabled(w.get(), "SpeedItem2"));
    QVERIFY(enabled(w.get(), "SpeedItem3"));

    // Delete removes the current stored row at once, without a question.
    QCOMPARE(w->DBEdit1->text(), QStringLiteral("a"));
    press(w.get(), "SpeedItem4");
    QCOMPARE(db.scalar("SELECT group_concat(code) FROM cartype").toString(), QStringLiteral("b"));
    QVERIFY(db.messages.messages.isEmpty());
}

void TestBasic::modelGridPostsThroughTheCheck()
{
    TestDb db;
    db.insert("model", {{"code", "m1"}, {"model", "桑塔纳"}});
    db.insert("model", {{"code", "m2"}, {"model", "捷达"}});
    auto w = shown(new Tfmodel);
    QVERIFY(w->DBGrid1->isEnabled());
    press(w.get(), "SpeedItem1");
    type(w.get(), "DBEdit2", "富康");

    // Moving in the grid posts the new row, through the same check as save.
    QAbstractItemModel *model = w->DBGrid1->model();
    w->DBGrid1->setCurrentIndex(model->index(0, 0));
    QCOMPARE(db.messages.texts(), QStringList{"请输入型号代码!"});
    QCOMPARE(db.count("model"), 2);
    QCOMPARE(w->table()->state(), DataSet::Insert);
    QCOMPARE(w->DBEdit2->text(), QStringLiteral("富康"));
    QTRY_COMPARE(w->DBGrid1->currentIndex().row(), 2);

    type(w.get(), "DBEdit1", "m3");
    w->DBGrid1->setCurrentIndex(model->index(0, 0));
    QCOMPARE(db.count("model"), 3);
    QCOMPARE(w->DBEdit1->text(), QStringLiteral("m1"));

    // A cell edited in the grid edits that row; blanking its code is refused on the next move.
    QVERIFY(model->setData(model->index(1, 1), "捷达王"));
    QVERIFY(enabled(w.get(), "SpeedItem2"));
    QVERIFY(model->setData(model->index(1, 0), ""));
    db.messages.clear();
    w->DBGrid1->setCurrentIndex(model->index(0, 0));
    QCOMPARE(db.messages.texts(), QStringList{"请输入型号代码!"});
    QCOMPARE(db.scalar("SELECT model FROM model WHERE code = 'm2'").toString(), QStringLiteral("捷达"));
    type(w.get(), "DBEdit1", "m2");
    press(w.get(), "SpeedItem2");
    QCOMPARE(db.scalar("SELECT model FROM model WHERE code = 'm2'").toString(), QStringLiteral("捷达王"));
}

void TestBasic::gridCellTextCountsAsTyped_data()
{
    QTest::addColumn<QString>("then");
    QTest::newRow("save") << "SpeedItem2";
    QTest::newRow("close, saving") << "close";
    QTest::newRow("add, nothing typed") << "SpeedItem1";
}

void TestBasic::gridCellTextCountsAsTyped()
{
    QFETCH(QString, then);
    TestDb db;
    db.insert("model", {{"code", "m1"}, {"model", "桑塔纳"}});
    db.insert("model", {{"code", "m2"}, {"model", "捷达"}});
    auto w = shown(new Tfmodel);
    QApplication::setActiveWindow(w.get());
    DBGrid *grid = w->DBGrid1;
    const QModelIndex cell = grid->model()->index(0, 1);
    grid->setFocus();
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    auto *editor = qobject_cast<QLineEdit *>(grid->indexWidget(cell));
    QVERIFY(editor);

    if (then == "SpeedItem1") {
        // The rows' reset closes the editor; the new row stays, nothing moves.
        press(w.get(), "SpeedItem1");
        QCOMPARE(w->table()->state(), DataSet::Insert);
        QCOMPARE(w->table()->recordCount(), 3);
        QTRY_COMPARE(grid->currentIndex().row(), 2);
        QCOMPARE(w->table()->state(), DataSet::Insert);
        return;
    }

    // The cell's text is the row's at once: saving or closing keeps it.
    editor->selectAll();
    QTest::keyClicks(editor, "XYZ");
    QCOMPARE(w->DBEdit2->text(), QStringLiteral("XYZ"));
    if (then == "close") {
        db.messages.answer(QMessageBox::Yes);
        QVERIFY(w->close());
        QCOMPARE(db.messages.texts(), QStringList{"是否保存?"});
    } else {
        press(w.get(), then.toLatin1());
    }
    QCOMPARE(db.scalar("SELECT model FROM model WHERE code = 'm1'").toString(), QStringLiteral("XYZ"));
}

void TestBasic::refreshingWindowsKeepTheSavedRow()
{
    TestDb db;
    db.insert("cconttype", {{"conttypeid", "z9"}});
    db.exec("UPDATE cpersonnel SET name = '张三'");
    db.dm->trsk->refresh();
    auto w = shown(new Tfconttype);
    QCOMPARE(w->Label4->text(), QStringLiteral("张三"));
    QVERIFY(!w->DBGrid1->isEnabled());

    auto area = shown(new Tfarea);
    db.insert("dq", {{"dqdm", "b"}});
    area->table()->refresh();
    press(area.get(), "SpeedItem1");
    type(area.get(), "DBEdit1", "a");
    press(area.get(), "SpeedItem2");
    // Refreshed after the post: in key order, standing on the saved row.
    QCOMPARE(area->table()->valueAt(0, "dqdm").toString(), QStringLiteral("a"));
    QCOMPARE(area->table()->recNo(), 0);
    QCOMPARE(area->DBEdit1->text(), QStringLiteral("a"));
}

// ---------------------------------------------------------------- own company

void TestBasic::ownCompanyKeepsOneRow()
{
    TestDb db;
    auto w = shown(new Tfbgsxx);
    QVERIFY(enabled(w.get(), "SpeedItem1"));
    QVERIFY(!enabled(w.get(), "SpeedItem2"));
    press(w.get(), "SpeedItem1");
    type(w.get(), "DBEdit1", "岚峰汽车");
    type(w.get(), "DBEdit4", "ab12");
    press(w.get(), "SpeedItem2");
    QCOMPARE(db.count("bgsxx"), 1);
    QCOMPARE(db.scalar("SELECT areacode FROM bgsxx").toString(), QStringLiteral("AB12"));
    QCOMPARE(db.scalar("SELECT ywmc IS NULL FROM bgsxx").toInt(), 1);
    QCOMPARE(db.dm->tb_bgsxx_main->value("gsmc").toString(), QStringLiteral("岚峰汽车"));
    QVERIFY(!enabled(w.get(), "SpeedItem2"));

    press(w.get(), "SpeedItem1");
    type(w.get(), "DBEdit1", "岚峰");
    type(w.get(), "DBEdit11", "李四");
    type(w.get(), "DBEdit4", ""); // emptied: stored as null
    press(w.get(), "SpeedItem2");
    QCOMPARE(db.count("bgsxx"), 1);
    QCOMPARE(db.scalar("SELECT gsmc || '/' || lxr || '/' || ifnull(areacode, 'null') FROM bgsxx")
                 .toString(),
             QStringLiteral("岚峰/李四/null"));
    QVERIFY(db.messages.messages.isEmpty());
}

void TestBasic::ownCompanyRefusalsAndClose()
{
    TestDb db;
    db.insert("bgsxx", {{"gsmc", "岚峰"}});
    auto w = shown(new Tfbgsxx);
    QCOMPARE(w->DBEdit1->text(), QStringLiteral("岚峰"));
    press(w.get(), "SpeedItem1");
    type(w.get(), "DBEdit1", "  ");
    press(w.get(), "SpeedItem2");
    QCOMPARE(db.messages.texts(), QStringList{"公司名称不能为空!"});
    QCOMPARE(w->focusWidget(), w->DBEdit1);
    QVERIFY(w->tb_bgsxx->isEditing());

    type(w.get(), "DBEdit1", "新名");
    QVERIFY(w->close()); // no question; the change is dropped
    QCOMPARE(db.messages.messages.size(), 1);
    QCOMPARE(db.scalar("SELECT gsmc FROM bgsxx").toString(), QStringLiteral("岚峰"));
}

// ---------------------------------------------------------------- pickers

namespace {

// Runs the picker's dialog as a user: `act` runs once it is shown.
std::optional<PickedPartner> pickWith(TPartnerPicker &picker, std::function<void()> act)
{
    QTimer::singleShot(0, &picker, [&picker, act] {
        [&] {
            QTRY_VERIFY(QApplication::activeModalWidget() == &picker);
            act();
        }();
        if (picker.isVisible()) // a failed check must not leave the dialog open
            picker.reject();
    });
    return picker.pick();
}

} // namespace

void TestBasic::customerQuickAdd()
{
    TestDb db;
    db.insert("ccustomer", {{"customerid", "c1"}, {"custname", "王五"}, {"legalpersonid", "1"}});
    db.insert("ccustomer", {{"customerid", "c3"}, {"custname", "赵六"}, {"legalpersonid", "3"}});
    Tfselecust picker(nullptr);
    QCOMPARE(picker.windowTitle(), QStringLiteral("选择客户"));
    QCOMPARE(picker.findChild<QLineEdit *>("Edit1")->maxLength(), 10);

    const auto result = pickWith(picker, [&] {
        press(&picker, "BitBtn2"); // both empty: the code is asked for first
        type(&picker, "Edit1", "  ");
        press(&picker, "BitBtn2");
        type(&picker, "Edit1", "C1");
        press(&picker, "BitBtn2");
        QCOMPARE(db.messages.texts(),
                 (QStringList{"请输入客户代码!", "请输入客户代码!", "请输入证件号码!"}));
        QCOMPARE(picker.focusWidget(), picker.findChild<QLineEdit *>("Edit3"));

        // Enter moves on and does not confirm the dialog.
        QTest::keyClick(picker.findChild<QLineEdit *>("Edit3"), Qt::Key_Return);
        QVERIFY(picker.isVisible());

        type(&picker, "Edit3", "110");
        type(&picker, "Edit2", "李四");
        db.messages.clear();
        press(&picker, "BitBtn2"); // C1 is taken (codes compare without case)
        QCOMPARE(db.messages.messages.size(), 1);
        QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Error);
        QCOMPARE(picker.Table1->recordCount(), 2);
        QCOMPARE(picker.Table1->state(), DataSet::Browse);

        type(&picker, "Edit1", "c2");
        press(&picker, "BitBtn2");
        QCOMPARE(db.messages.messages.size(), 1);
        QCOMPARE(picker.grid->model()->index(0, 1).data().toString(), QStringLiteral("李四"));
        QCOMPARE(picker.grid->model()->rowCount(), 3);
        press(&picker, "BitBtn1");
    });
    QVERIFY(result);
    QCOMPARE(result->code, QStringLiteral("c2"));
    QCOMPARE(result->name, QStringLiteral("李四"));
    QCOMPARE(db.scalar("SELECT legalpersonid || '/' || ifnull(phone, 'null') FROM ccustomer "
                       "WHERE customerid = 'c2'").toString(),
             QStringLiteral("110/null"));
    QCOMPARE(db.count("ccustomer"), 3);
}

void TestBasic::providerQuickAddWithOnlyACode()
{
    TestDb db;
    Tfseleprov picker(nullptr);
    const auto chosen = pickWith(picker, [&] {
        press(&picker, "BitBtn2");
        QCOMPARE(db.messages.texts(), QStringList{"请输入供应商代码!"});
        type(&picker, "Edit1", "p1");
        press(&picker, "BitBtn2");
        press(&picker, "BitBtn1");
    });
    QVERIFY(chosen);
    QCOMPARE(chosen->code, QStringLiteral("p1"));
    QCOMPARE(chosen->name, QString());
    QCOMPARE(db.scalar("SELECT provname IS NULL FROM cprovider WHERE providerid = 'p1'").toInt(), 1);
}

void TestBasic::pickerOkOnEmptyTableAndEscape()
{
    TestDb db;
    Tfselecust empty(nullptr);
    QVERIFY(!pickWith(empty, [&] { press(&empty, "BitBtn1"); }));

    db.insert("ccustomer", {{"customerid", "c1"}, {"custname", "王五"}});
    Tfselecust escaped(nullptr);
    QVERIFY(!pickWith(escaped, [&] { QTest::keyClick(escaped.grid, Qt::Key_Escape); }));
    Tfselecust cancelled(nullptr);
    QVERIFY(!pickWith(cancelled, [&] { press(&cancelled, "BitBtn3"); }));
}

void TestBasic::queryPickersListAndChoose()
{
    TestDb db;
    db.insert("cprovider", {{"providerid", "p2"}, {"provname", "一汽"}});
    db.insert("cprovider", {{"providerid", "p1"}, {"provname", "二汽"}});
    Tfqry_seleprov prov(nullptr);
    QVERIFY(!prov.findChild<QLineEdit *>("Edit1"));
    QVERIFY(prov.grid->isColumnHidden(6)); // cableaddress is there, not shown
    const auto second = pickWith(prov, [&] {
        prov.grid->setCurrentIndex(prov.grid->model()->index(1, 0));
        press(&prov, "BitBtn1");
    });
    QVERIFY(second);
    QCOMPARE(second->name, QStringLiteral("二汽"));

    Tfqry_selecust cust(nullptr);
    QCOMPARE(cust.grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral(" 客户代码"));
    QVERIFY(!pickWith(cust, [&] { press(&cust, "BitBtn2"); }));
}

void TestBasic::pickerOwnerFreedWhilePicking()
{
    TestDb db;
    db.insert("ccustomer", {{"customerid", "c1"}, {"custname", "王五"}});
    QPointer<QWidget> owner = new QWidget;
    owner->show();
    QTimer::singleShot(0, [owner] { delete owner.data(); }); // the window closed meanwhile
    QVERIFY(!pickPartner<Tfselecust>(owner));
    QVERIFY(!owner);
}

QTEST_MAIN(TestBasic)
#include "tst_basic.moc"
