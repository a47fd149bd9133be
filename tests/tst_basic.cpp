// Basic data: the code tables, the own company and the partner pickers,
// driven through their real widgets.
#include "Clock.h"
#include "ListCheck.h"
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
#include "Ucustxx.h"
#include "Uperson.h"
#include "Uprovxx.h"
#include "ReportPrinter.h"

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
    const char *codeTaken; // the database refused a code that is there already
};
const CodeWindow codeWindows[] = {
    {"conttype", "cconttype", "conttypeid", "请输入类型代码!", "类型代码已存在，不能重复!"},
    {"subject", "subject", "subjectid", "请选择费用代码!", "费用代码已存在，不能重复!"},
    {"area", "dq", "dqdm", "请输入地区代码!", "地区代码已存在，不能重复!"},
    {"model", "model", "code", "请输入型号代码!", "型号代码已存在，不能重复!"},
    {"cartype", "cartype", "code", "请输入类型代码!", "车型代码已存在，不能重复!"},
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

void typeInto(QLineEdit *e, const QString &text)
{
    e->setFocus();
    e->selectAll();
    if (text.isEmpty())
        QTest::keyClick(e, Qt::Key_Delete);
    for (const QChar ch : text) { // also characters a keyboard of Latin letters lacks
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(e, &press);
    }
}

void type(QWidget *w, const char *edit, const QString &text)
{
    auto *e = w->findChild<QLineEdit *>(edit);
    QVERIFY2(e, edit);
    typeInto(e, text);
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

    void registerOpens_data();
    void registerOpens();
    void registerAdd_data();
    void registerAdd();
    void registerCodeChangeRefused_data();
    void registerCodeChangeRefused();
    void registerFindByDateRange_data();
    void registerFindByDateRange();
    void registerChoiceFilter_data();
    void registerChoiceFilter();
    void registerQueryListsItsStatement_data();
    void registerQueryListsItsStatement();
    void providerQueryStartsWithoutModel();
    void registerPrintsTheList_data();
    void registerPrintsTheList();
    void registerClosesWithoutAsking();
    void customerDeleteLeavesDocumentsTheirName_data();
    void customerDeleteLeavesDocumentsTheirName();
    void personDeletedAtOnce();
    void providerDelete_data();
    void providerDelete();
    void providerModelsStoredWithTheProvider();
    void providerModelsOfACancelledOrRefusedProvider();
    void providerModelsFollowACodeChange();

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
                << QString(c.emptyMessage ? w.emptyCode : c.dbRefusal ? w.codeTaken : "")
                << c.dbRefusal;
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

    const bool stored = message.isEmpty();
    QCOMPARE(db.count(table), stored ? 2 : 1);
    QCOMPARE(w->table()->isEditing(), !stored);
    QCOMPARE(enabled(w.get(), "SpeedItem2"), !stored);
    QCOMPARE(enabled(w.get(), "SpeedItem1"), stored);
    if (stored) {
        QVERIFY(db.messages.messages.isEmpty());
        QCOMPARE(db.scalar("SELECT count(*) FROM " + table + " WHERE " + codeField
                           + " = 'k2' AND rowid IS NOT NULL").toInt(), 1);
    } else if (dbRefusal) {
        // Named as the window labels the field, in the error box; the input is kept.
        QCOMPARE(db.messages.texts(), QStringList{message});
        QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Error);
        QCOMPARE(w->DBEdit1->text(), code);
        QCOMPARE(w->focusWidget(), w->DBEdit1);
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

// ---------------------------------------------------------------- registers

namespace {

struct RegisterKind {
    const char *name, *table, *codeField, *nameField, *caption;
    bool upperCode, registeredNow, opensOnQueryPage;
};
const RegisterKind registerKinds[] = {
    {"customer", "ccustomer", "customerid", "custname", "客户信息注册", true, true, false},
    {"provider", "cprovider", "providerid", "provname", "供应商信息注册", true, true, false},
    {"person", "cpersonnel", "personnelid", "name", "人事信息注册", false, false, true},
};

const RegisterKind &registerKind(const QString &name)
{
    for (const RegisterKind &k : registerKinds)
        if (name == k.name)
            return k;
    return registerKinds[0];
}

TRegisterForm *makeRegister(const QString &name)
{
    if (name == "provider") return new Tfprovxx;
    if (name == "person") return new Tfperson;
    return new Tfcustxx;
}

void addRegisterRows()
{
    for (const RegisterKind &k : registerKinds)
        QTest::newRow(k.name) << QString(k.name);
}

// Ctrl+Tab from the page control, as a user changes pages.
void showPage(TRegisterForm *w, QWidget *page)
{
    w->PageControl1->setFocus();
    if (w->PageControl1->currentWidget() != page)
        QTest::keyClick(w->PageControl1, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(w->PageControl1->currentWidget(), page);
}

void typeDate(DateEdit *edit, const QString &digits)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, digits);
}

QStringList column(DataSet *data, const QString &field)
{
    QStringList values;
    for (int r = 0; r < data->recordCount(); ++r)
        values << data->valueAt(r, field).toString();
    values.sort();
    return values;
}

QStringList models(TestDb &db, const QString &provider = {})
{
    return db.scalar("SELECT group_concat(providerid || ':' || carmodel) FROM (SELECT * FROM "
                     "cprovcarmodel WHERE :p IS NULL OR providerid = :p2 ORDER BY 1, 2)",
                     {{":p", provider.isEmpty() ? QVariant() : provider}, {":p2", provider}})
        .toString()
        .split(',', Qt::SkipEmptyParts);
}

} // namespace

void TestBasic::registerOpens_data()
{
    QTest::addColumn<QString>("window");
    addRegisterRows();
}

void TestBasic::registerOpens()
{
    QFETCH(QString, window);
    const RegisterKind &k = registerKind(window);
    TestDb db;
    auto w = shown(makeRegister(window));
    QCOMPARE(w->windowTitle(), QString(k.caption));
    QCOMPARE(w->PageControl1->currentWidget() == w->queryPage, k.opensOnQueryPage);
    QCOMPARE(enabled(w.get(), "SpeedItem5"), k.opensOnQueryPage);
    QVERIFY(!enabled(w.get(), "SpeedItem6"));
    QVERIFY(enabled(w.get(), "SpeedItem1") && !enabled(w.get(), "SpeedItem3"));

    // Find only on the query page; printing once the list is open, on either page.
    showPage(w.get(), w->queryPage);
    QVERIFY(enabled(w.get(), "SpeedItem5"));
    press(w.get(), "SpeedItem5");
    QVERIFY(enabled(w.get(), "SpeedItem6"));
    showPage(w.get(), w->entryPage);
    QVERIFY(!enabled(w.get(), "SpeedItem5"));
    QVERIFY(enabled(w.get(), "SpeedItem6"));
    QVERIFY(db.messages.messages.isEmpty());
}

void TestBasic::registerAdd_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("refusal"); // empty: stored
    for (const RegisterKind &k : registerKinds) {
        QTest::addRow("%s new code", k.name) << QString(k.name) << "k2a" << "";
        QTest::addRow("%s code taken", k.name)
            << QString(k.name) << "k1" << "代码已存在，不能重复!";
        QTest::addRow("%s no code", k.name) << QString(k.name) << "" << "请输入代码!";
    }
}

void TestBasic::registerAdd()
{
    QFETCH(QString, window);
    QFETCH(QString, code);
    QFETCH(QString, refusal);
    const bool stored = refusal.isEmpty();
    const RegisterKind &k = registerKind(window);
    TestDb db;
    Clock::setNow(QDateTime(QDate(2024, 5, 1), QTime(9, 30, 15)));
    db.insert(k.table, {{k.codeField, "K1"}});
    const int before = db.count(k.table);
    auto w = shown(makeRegister(window));
    press(w.get(), "SpeedItem1");
    QCOMPARE(w->PageControl1->currentWidget(), w->entryPage);
    QCOMPARE(w->focusWidget(), w->control("DBEdit1"));
    QVERIFY(!enabled(w.get(), "SpeedItem1") && enabled(w.get(), "SpeedItem3"));
    QVERIFY(!w->DBNavigator1->isEnabled());
    type(w.get(), "DBEdit1", code);
    type(w.get(), "DBEdit2", "名称");
    press(w.get(), "SpeedItem3");

    QCOMPARE(db.count(k.table), before + (stored ? 1 : 0));
    QCOMPARE(w->table()->isEditing(), !stored);
    QCOMPARE(enabled(w.get(), "SpeedItem3"), !stored);
    if (!stored) {
        // The database refuses it; the error box names the field by its
        // caption, the input stays and the focus is on the code to mend.
        QCOMPARE(db.messages.texts(), QStringList{refusal});
        QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Error);
        QCOMPARE(qobject_cast<QLineEdit *>(w->control("DBEdit2"))->text(), QStringLiteral("名称"));
        QCOMPARE(w->focusWidget(), w->control("DBEdit1"));
        return;
    }
    QVERIFY(db.messages.messages.isEmpty());
    const QString storedCode = k.upperCode ? QStringLiteral("K2A") : QStringLiteral("k2a");
    QCOMPARE(db.scalar(QString("SELECT %1 FROM %2 WHERE %3 = 'k2a'").arg(k.codeField, k.table, k.codeField))
                 .toString(),
             storedCode);
    QCOMPARE(db.scalar(QString("SELECT ifnull(register_date, 'null') || '/' || %1 FROM %2 WHERE %3 = 'k2a'")
                           .arg(k.nameField, k.table, k.codeField))
                 .toString(),
             (k.registeredNow ? "2024-05-01 09:30:15" : "null") + QStringLiteral("/名称"));
    QCOMPARE(w->table()->value(k.codeField).toString(), storedCode);
    QVERIFY(w->DBNavigator1->isEnabled());

    // Typing into the stored row edits it again; cancel drops the change.
    type(w.get(), "DBEdit2", "改名");
    QVERIFY(enabled(w.get(), "SpeedItem4"));
    press(w.get(), "SpeedItem4");
    QCOMPARE(qobject_cast<QLineEdit *>(w->control("DBEdit2"))->text(), QStringLiteral("名称"));
    QVERIFY(enabled(w.get(), "SpeedItem2"));
}

void TestBasic::registerCodeChangeRefused_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("refusal");
    for (const RegisterKind &k : registerKinds) {
        QTest::addRow("%s to a code taken", k.name)
            << QString(k.name) << "a2" << "代码已存在，不能重复!";
        QTest::addRow("%s emptied", k.name) << QString(k.name) << "" << "请输入代码!";
    }
}

// A stored row's code changed to one the database refuses: the row stays in
// editing as typed and is stored once mended.
void TestBasic::registerCodeChangeRefused()
{
    QFETCH(QString, window);
    QFETCH(QString, code);
    QFETCH(QString, refusal);
    const RegisterKind &k = registerKind(window);
    TestDb db;
    db.insert(k.table, {{k.codeField, "A1"}, {k.nameField, "甲"}}); // before the user admin
    db.insert(k.table, {{k.codeField, "A2"}, {k.nameField, "乙"}});
    const auto codes = [&] {
        return db.scalar(QString("SELECT group_concat(%1 || '/' || %2) FROM "
                                 "(SELECT * FROM %3 WHERE %1 <> 'admin' ORDER BY 1)")
                             .arg(k.codeField, k.nameField, k.table))
            .toString();
    };
    auto w = shown(makeRegister(window));
    showPage(w.get(), w->entryPage);
    QCOMPARE(w->table()->value(k.codeField).toString(), QStringLiteral("A1"));
    press(w.get(), "SpeedItem2");
    type(w.get(), "DBEdit1", code);
    press(w.get(), "SpeedItem3");

    QCOMPARE(db.messages.texts(), QStringList{refusal});
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Error);
    QCOMPARE(codes(), QStringLiteral("A1/甲,A2/乙"));
    QVERIFY(w->table()->isEditing());
    QVERIFY(enabled(w.get(), "SpeedItem3") && !enabled(w.get(), "SpeedItem1"));
    QCOMPARE(qobject_cast<QLineEdit *>(w->control("DBEdit1"))->text(),
             k.upperCode ? code.toUpper() : code);
    QCOMPARE(w->focusWidget(), w->control("DBEdit1"));

    type(w.get(), "DBEdit1", "K3");
    press(w.get(), "SpeedItem3");
    QCOMPARE(db.messages.messages.size(), 1);
    QCOMPARE(codes(), QStringLiteral("A2/乙,K3/甲"));
    QVERIFY(!w->table()->isEditing());
}

void TestBasic::registerFindByDateRange_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("refusal");
    const QStringList all{"r1", "r2", "r3", "r4", "r5"};
    for (const RegisterKind &k : registerKinds) {
        QTest::addRow("%s no dates", k.name) << QString(k.name) << "" << "" << all << "";
        QTest::addRow("%s one month", k.name)
            << QString(k.name) << "20240501" << "20240531" << QStringList{"r2", "r3"} << "";
        QTest::addRow("%s to only", k.name)
            << QString(k.name) << "" << "20240430" << QStringList{"r1"} << "";
        // Not taken as no date, which would list every row of the years.
        QTest::addRow("%s half typed date is refused", k.name)
            << QString(k.name) << "202405" << "20240531" << QStringList{} << "开始日期不是有效的日期!";
    }
}

void TestBasic::registerFindByDateRange()
{
    QFETCH(QString, window);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, listed);
    QFETCH(QString, refusal);
    const RegisterKind &k = registerKind(window);
    TestDb db;
    db.exec(QString("DELETE FROM %1").arg(k.table));
    const QList<QPair<QString, QVariant>> rows{{"r1", "2024-04-30 23:59:59"},
                                               {"r2", "2024-05-01"},
                                               {"r3", "2024-05-31 18:00:00"},
                                               {"r4", "2024-06-01 00:00:00"},
                                               {"r5", QVariant()}};
    for (const auto &r : rows)
        db.insert(k.table, {{k.codeField, r.first}, {"register_date", r.second}});
    auto w = shown(makeRegister(window));
    showPage(w.get(), w->queryPage);
    typeDate(w->DateEdit1, from);
    typeDate(w->DateEdit2, to);
    press(w.get(), "SpeedItem5");
    if (!refusal.isEmpty()) {
        QCOMPARE(db.messages.texts(), QStringList{refusal});
        QVERIFY(!w->query()->isActive());
        return;
    }
    QCOMPARE(column(w->query(), k.codeField), listed);
    QCOMPARE(w->DBGrid1->model()->rowCount(), int(listed.size()));
    QVERIFY(db.messages.messages.isEmpty());
}

void TestBasic::registerChoiceFilter_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("men") << "person" << "男" << QStringList{"a", "c"};
    QTest::newRow("any sex") << "person" << "" << QStringList{"a", "b", "c", "d"};
    QTest::newRow("apostrophe in the sex") << "person" << "男'" << QStringList{};
    QTest::newRow("by a model supplied") << "provider" << "桑塔" << QStringList{"a", "c"};
    QTest::newRow("model case") << "provider" << "audi" << QStringList{"b"};
    QTest::newRow("no such model") << "provider" << "捷达" << QStringList{};
    QTest::newRow("apostrophe and wildcard in the model") << "provider" << "O'%" << QStringList{};
    QTest::newRow("any model") << "provider" << "" << QStringList{"a", "b", "c", "d"};
}

void TestBasic::registerChoiceFilter()
{
    QFETCH(QString, window);
    QFETCH(QString, text);
    QFETCH(QStringList, listed);
    const RegisterKind &k = registerKind(window);
    TestDb db;
    db.exec(QString("DELETE FROM %1").arg(k.table));
    const char *sexes[] = {"男", "女", "男性", nullptr};
    for (int i = 0; i < 4; ++i) {
        const QString code = QString(QChar('a' + i));
        db.insert(k.table, {{k.codeField, code}});
        if (window == "person" && sexes[i])
            db.exec("UPDATE cpersonnel SET sex = :s WHERE personnelid = :c", {{":s", sexes[i]}, {":c", code}});
    }
    // Provider a supplies two models, b one, c one; d none.
    for (const auto &[provider, model] : {std::pair{"a", "桑塔纳"}, {"a", "桑塔纳2000"},
                                          {"b", "Audi A6"}, {"c", "桑塔纳"}})
        db.insert("cprovcarmodel", {{"providerid", provider}, {"carmodel", model}});
    auto w = shown(makeRegister(window));
    QVERIFY(w->choiceBox);
    QCOMPARE(w->choiceBox->objectName(), QString(window == "person" ? "ComboBox2" : "ComboBox1"));
    showPage(w.get(), w->queryPage);
    typeInto(w->choiceBox->lineEdit(), text);
    QCOMPARE(w->choiceBox->currentText(), text);
    press(w.get(), "SpeedItem5");
    QCOMPARE(column(w->query(), k.codeField), listed);
    QVERIFY(db.messages.messages.isEmpty());
}

void TestBasic::registerQueryListsItsStatement_data()
{
    QTest::addColumn<QString>("window");
    addRegisterRows();
}

// What the query page lists is the statement the benchmark measures: the
// register dates and the further filter.
void TestBasic::registerQueryListsItsStatement()
{
    QFETCH(QString, window);
    const RegisterKind &k = registerKind(window);
    TestDb db;
    db.exec(QString("DELETE FROM %1").arg(k.table));
    for (const auto &[code, date] : {std::pair{"r1", "2024-05-01"}, {"r2", "2024-05-20 18:00:00"},
                                     {"r3", "2024-06-01"}, {"r4", "2024-05-02"}})
        db.insert(k.table, {{k.codeField, code}, {"register_date", date}});
    db.exec("UPDATE cpersonnel SET sex = '男' WHERE personnelid <> 'r4'");
    for (const char *provider : {"r1", "r2", "r3"})
        db.insert("cprovcarmodel", {{"providerid", provider}, {"carmodel", "桑塔纳"}});
    auto w = shown(makeRegister(window));
    showPage(w.get(), w->queryPage);
    typeDate(w->DateEdit1, "20240501");
    typeDate(w->DateEdit2, "20240531");
    const QString choice = window == "provider" ? "桑" : window == "person" ? "男" : "";
    if (w->choiceBox)
        typeInto(w->choiceBox->lineEdit(), choice);
    press(w.get(), "SpeedItem5");
    const RegisterInfo info = window == "provider" ? Tfprovxx::info()
                              : window == "person" ? Tfperson::info()
                                                   : Tfcustxx::info();
    const QString differs = differsFrom(
            w->query(), TRegisterForm::listStatement(info, QDate(2024, 5, 1), QDate(2024, 5, 31), choice));
    QVERIFY2(differs.isEmpty(), qPrintable(differs));
    QCOMPARE(column(w->query(), k.codeField),
             (window == "customer" ? QStringList{"r1", "r2", "r4"} : QStringList{"r1", "r2"}));
}

// The model box opens empty, its list holding every model: find and print
// with nothing typed take every provider, also one that supplies no model.
void TestBasic::providerQueryStartsWithoutModel()
{
    TestDb db;
    db.insert("model", {{"code", "1"}, {"model", "捷达CIF"}});
    db.insert("model", {{"code", "2"}, {"model", "桑塔纳"}});
    db.insert("cprovider", {{"providerid", "P1"}, {"provname", "一汽"}});
    db.insert("cprovider", {{"providerid", "P2"}, {"provname", "上汽"}});
    db.insert("cprovcarmodel", {{"providerid", "P2"}, {"carmodel", "桑塔纳"}});
    CapturedPrints prints;
    auto w = shown(new Tfprovxx);
    QCOMPARE(w->choiceBox->currentText(), QString());
    QCOMPARE(w->choiceBox->count(), 2);
    QCOMPARE(w->choiceBox->itemText(0), QStringLiteral("捷达CIF"));
    showPage(w.get(), w->queryPage);
    press(w.get(), "SpeedItem5");
    QCOMPARE(column(w->query(), "providerid"), (QStringList{"P1", "P2"}));
    press(w.get(), "SpeedItem6");
    QCOMPARE(prints.documents.size(), 1);
    const QStringList texts = prints.documents.first().pages.first().texts();
    QVERIFY(texts.contains("一汽"));
    QVERIFY(texts.contains("上汽"));

    // A model chosen from the list is a condition.
    w->choiceBox->setFocus();
    QTest::keyClick(w->choiceBox, Qt::Key_Down);
    QCOMPARE(w->choiceBox->currentText(), QStringLiteral("捷达CIF"));
    QTest::keyClick(w->choiceBox, Qt::Key_Down);
    press(w.get(), "SpeedItem5");
    QCOMPARE(column(w->query(), "providerid"), QStringList{"P2"});
    QVERIFY(db.messages.messages.isEmpty());
}

void TestBasic::registerPrintsTheList_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("fromLabel");
    QTest::addColumn<QString>("toLabel");
    QTest::newRow("customer") << "customer" << "QRLabel12" << "QRLabel13";
    QTest::newRow("provider") << "provider" << "QRLabel10" << "QRLabel13";
    QTest::newRow("person") << "person" << "QRLabel15" << "QRLabel16";
}

void TestBasic::registerPrintsTheList()
{
    QFETCH(QString, window);
    QFETCH(QString, fromLabel);
    QFETCH(QString, toLabel);
    const RegisterKind &k = registerKind(window);
    TestDb db;
    db.exec("UPDATE cpersonnel SET name = '张三'");
    db.dm->trsk->refresh();
    db.insert(k.table, {{k.codeField, "in"}, {k.nameField, "范围内"}, {"address", "北京路1号"},
                        {"register_date", "2024-05-02 10:00:00"}});
    db.insert(k.table, {{k.codeField, "out"}, {k.nameField, "范围外"}, {"register_date", "2024-04-02"}});
    CapturedPrints prints;
    auto w = shown(makeRegister(window));
    showPage(w.get(), w->queryPage);
    typeDate(w->DateEdit1, "20240501");
    press(w.get(), "SpeedItem5");
    press(w.get(), "SpeedItem6");
    QCOMPARE(prints.documents.size(), 1);
    const Rpt::Page &page = prints.documents.first().pages.first();
    const QStringList texts = page.texts();
    QVERIFY(texts.contains("范围内"));
    QVERIFY(texts.contains("北京路1号"));
    QVERIFY(!texts.contains("范围外"));
    auto label = [&](const QString &name) {
        for (const Rpt::PageItem &item : page.items)
            if (item.source == name)
                return item.text;
        return QStringLiteral("<none>");
    };
    // The dates as shown, the blank mask where none is given; the operator.
    QCOMPARE(label(fromLabel), QStringLiteral("2024-05-01"));
    QCOMPARE(label(toLabel), DateEdit::blankText());
    QCOMPARE(label("QRLabel5"), QStringLiteral("张三"));
    QVERIFY(db.messages.messages.isEmpty());
}

void TestBasic::registerClosesWithoutAsking()
{
    TestDb db;
    auto w = shown(new Tfcustxx);
    press(w.get(), "SpeedItem1");
    type(w.get(), "DBEdit1", "c9");
    QVERIFY(w->close());
    QCOMPARE(db.count("ccustomer"), 0);
    QVERIFY(db.messages.messages.isEmpty());
}

void TestBasic::customerDeleteLeavesDocumentsTheirName_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("yes") << int(QMessageBox::Yes);
    QTest::newRow("no") << int(QMessageBox::No);
}

void TestBasic::customerDeleteLeavesDocumentsTheirName()
{
    QFETCH(int, answer);
    TestDb db;
    db.insert("ccustomer", {{"customerid", "C1"}, {"custname", "王五"}});
    db.insert("csalecontract", {{"salecont_no", "SS1"}, {"contract_no", "HT1"},
                                {"customerid", "C1"}, {"custname", "王五"}});
    auto w = shown(new Tfcustxx);
    db.messages.answer(QMessageBox::StandardButton(answer));
    w->DBNavigator1->button(DBNavigator::Delete)->click();
    QCOMPARE(db.messages.texts(), QStringList{"Delete record?"}); // no second question
    QCOMPARE(db.count("ccustomer"), answer == QMessageBox::Yes ? 0 : 1);
    QCOMPARE(db.scalar("SELECT custname FROM csalecontract").toString(), QStringLiteral("王五"));
    // Only the buttons the window names are there.
    QVERIFY(w->DBNavigator1->button(DBNavigator::Refresh)->isVisibleTo(w.get()));
    QVERIFY(!w->DBNavigator1->button(DBNavigator::Insert)->isVisibleTo(w.get()));
}

void TestBasic::personDeletedAtOnce()
{
    TestDb db;
    db.insert("cpersonnel", {{"personnelid", "p1"}, {"name", "李四"}});
    auto w = shown(new Tfperson);
    QVERIFY(w->tb_per()->locate("personnelid", "p1"));
    press(w.get(), "SpeedItem2");
    type(w.get(), "DBEdit2", "改名");
    press(w.get(), "SpeedItem8"); // also while editing, without a question
    QCOMPARE(db.count("cpersonnel", "personnelid = 'p1'"), 0);
    QCOMPARE(db.count("cpersonnel"), 1);
    QVERIFY(db.messages.messages.isEmpty());
    // The buttons are left as they were; save then has nothing to store.
    press(w.get(), "SpeedItem3");
    QVERIFY(enabled(w.get(), "SpeedItem1"));
    QCOMPARE(db.count("cpersonnel"), 1);
}

void TestBasic::providerDelete_data()
{
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("failing"); // the database refuses the provider's delete
    QTest::addColumn<bool>("deleted");
    QTest::newRow("no at the navigator") << QList<int>{QMessageBox::No} << false << false;
    QTest::newRow("no at the window's question keeps the models too")
        << QList<int>{QMessageBox::Yes, QMessageBox::No} << false << false;
    QTest::newRow("yes deletes both") << QList<int>{QMessageBox::Yes, QMessageBox::Yes} << false << true;
    QTest::newRow("a refused delete keeps both")
        << QList<int>{QMessageBox::Yes, QMessageBox::Yes} << true << false;
}

void TestBasic::providerDelete()
{
    QFETCH(QList<int>, answers);
    QFETCH(bool, failing);
    QFETCH(bool, deleted);
    TestDb db;
    db.insert("cprovider", {{"providerid", "P1"}});
    db.insert("cprovider", {{"providerid", "P2"}});
    db.insert("cprovcarmodel", {{"providerid", "P1"}, {"carmodel", "桑塔纳"}});
    db.insert("cprovcarmodel", {{"providerid", "P1"}, {"carmodel", "捷达"}});
    db.insert("cprovcarmodel", {{"providerid", "P2"}, {"carmodel", "富康"}});
    if (failing)
        db.exec("CREATE TRIGGER keep BEFORE DELETE ON cprovider BEGIN SELECT RAISE(ABORT, 'kept'); END");
    auto w = shown(new Tfprovxx);
    QCOMPARE(w->tb_provmodel->recordCount(), 2);
    for (int a : answers)
        db.messages.answer(QMessageBox::StandardButton(a));
    w->DBNavigator1->button(DBNavigator::Delete)->click();

    QStringList asked{"Delete record?"};
    if (answers.size() > 1)
        asked << "确认删除吗？";
    QCOMPARE(db.messages.texts().mid(0, asked.size()), asked);
    if (failing)
        QVERIFY(db.messages.lastText().startsWith("kept"));
    else
        QCOMPARE(db.messages.messages.size(), asked.size());
    QCOMPARE(db.count("cprovider"), deleted ? 1 : 2);
    QCOMPARE(models(db), (deleted ? QStringList{"P2:富康"}
                                  : QStringList{"P1:捷达", "P1:桑塔纳", "P2:富康"}));
    // The model grid shows the current provider's models.
    QCOMPARE(column(w->tb_provmodel, "carmodel"),
             (deleted ? QStringList{"富康"} : QStringList{"捷达", "桑塔纳"}));
}

void TestBasic::providerModelsStoredWithTheProvider()
{
    TestDb db;
    db.insert("model", {{"code", "1"}, {"model", "桑塔纳"}});
    db.insert("model", {{"code", "2"}, {"model", "捷达"}});
    db.insert("cprovider", {{"providerid", "P0"}});
    db.insert("cprovcarmodel", {{"providerid", "P0"}, {"carmodel", "富康"}});
    auto w = shown(new Tfprovxx);
    QApplication::setActiveWindow(w.get());
    QCOMPARE(w->choiceBox->count(), 2);
    QCOMPARE(w->DBGrid2->columns().at(1).pickList, (QStringList{"桑塔纳", "捷达"}));
    QCOMPARE(column(w->tb_provmodel, "carmodel"), QStringList{"富康"});

    press(w.get(), "SpeedItem1");
    QCOMPARE(w->tb_provmodel->recordCount(), 0);
    type(w.get(), "DBEdit1", "p1");
    type(w.get(), "DBEdit2", "一汽");
    // Two models through the menu's add (the Insert key), one row left empty.
    for (const QString &model : {QString("桑塔纳"), QString("捷达"), QString()}) {
        w->DBGrid2->setFocus();
        QTest::keyClick(w->DBGrid2, Qt::Key_Insert);
        QCOMPARE(w->tb_provmodel->state(), DataSet::Insert);
        if (!model.isEmpty())
            QVERIFY(w->DBGrid2->model()->setData(w->DBGrid2->currentIndex(), model));
    }
    w->PopupMenu1Popup();
    QVERIFY(w->NSAVE->isEnabled() && w->NCANCEL->isEnabled() && w->NDEL->isEnabled());
    // Enter acts inside the model grid: the focus stays there.
    w->DBGrid2->setFocus();
    QTest::keyClick(w->DBGrid2, Qt::Key_Return);
    QVERIFY(w->DBGrid2->isAncestorOf(QApplication::focusWidget()) || w->DBGrid2->hasFocus());
    QCOMPARE(db.count("cprovcarmodel"), 1); // nothing written before the save
    press(w.get(), "SpeedItem3");
    QVERIFY(db.messages.messages.isEmpty());
    QCOMPARE(db.scalar("SELECT provname FROM cprovider WHERE providerid = 'P1'").toString(),
             QStringLiteral("一汽"));
    QCOMPARE(models(db, "P1"), (QStringList{"P1:捷达", "P1:桑塔纳"}));
    QCOMPARE(w->tb_provmodel->recordCount(), 2);
    QVERIFY(!w->tb_provmodel->updatesPending());
    QVERIFY(w->DBGrid2->editTriggers() == QAbstractItemView::NoEditTriggers);

    // Deleting a model in browsing edits the provider; save stores the change.
    w->DBGrid2->setFocus();
    QTest::keyClick(w->DBGrid2, Qt::Key_Delete, Qt::ControlModifier);
    QVERIFY(enabled(w.get(), "SpeedItem3"));
    QCOMPARE(db.count("cprovcarmodel", "providerid = 'P1'"), 2);
    press(w.get(), "SpeedItem3");
    QCOMPARE(db.count("cprovcarmodel", "providerid = 'P1'"), 1);

    // The models follow the current provider.
    w->tb_prov()->first();
    QCOMPARE(column(w->tb_provmodel, "carmodel"), QStringList{"富康"});
    QCOMPARE(models(db, "P0"), QStringList{"P0:富康"});
}

void TestBasic::providerModelsOfACancelledOrRefusedProvider()
{
    TestDb db;
    db.insert("cprovider", {{"providerid", "P0"}});
    auto w = shown(new Tfprovxx);
    auto addWithModel = [&](const QString &code) {
        press(w.get(), "SpeedItem1");
        type(w.get(), "DBEdit1", code);
        w->NINS->trigger();
        QVERIFY(w->DBGrid2->model()->setData(w->DBGrid2->model()->index(0, 1), "桑塔纳"));
    };
    addWithModel("p1");
    press(w.get(), "SpeedItem4");
    QCOMPARE(db.count("cprovider"), 1);
    QCOMPARE(db.count("cprovcarmodel"), 0);
    QVERIFY(!w->tb_provmodel->updatesPending());

    // Refused by the key: nothing is written, everything stays to be mended.
    addWithModel("p0");
    press(w.get(), "SpeedItem3");
    QCOMPARE(db.messages.messages.size(), 1);
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Error);
    QCOMPARE(db.count("cprovider"), 1);
    QCOMPARE(db.count("cprovcarmodel"), 0);
    QCOMPARE(w->tb_prov()->state(), DataSet::Insert);
    QCOMPARE(w->tb_provmodel->recordCount(), 1);
    type(w.get(), "DBEdit1", "p2");
    press(w.get(), "SpeedItem3");
    QCOMPARE(db.count("cprovider"), 2);
    QCOMPARE(models(db), QStringList{"P2:桑塔纳"});

    // Closing in the middle of an entry stores nothing and asks nothing.
    addWithModel("p3");
    db.messages.clear();
    QVERIFY(w->close());
    QCOMPARE(db.count("cprovider"), 2);
    QCOMPARE(models(db), QStringList{"P2:桑塔纳"});
    QVERIFY(db.messages.messages.isEmpty());
}

void TestBasic::providerModelsFollowACodeChange()
{
    TestDb db;
    db.insert("cprovider", {{"providerid", "P1"}});
    db.insert("cprovcarmodel", {{"providerid", "P1"}, {"carmodel", "桑塔纳"}});
    auto w = shown(new Tfprovxx);
    press(w.get(), "SpeedItem2");
    type(w.get(), "DBEdit1", "P9");
    press(w.get(), "SpeedItem3");
    QVERIFY(db.messages.messages.isEmpty());
    QCOMPARE(models(db), QStringList{"P9:桑塔纳"});
    QCOMPARE(column(w->tb_provmodel, "carmodel"), QStringList{"桑塔纳"});
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
    Clock::setNow(QDateTime(QDate(2024, 5, 1), QTime(9, 30)));
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
        QCOMPARE(db.messages.texts(), QStringList{"客户代码已存在，不能重复!"});
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
    // Stored as typed: the code as it stands, no registration date.
    QCOMPARE(result->code, QStringLiteral("c2"));
    QCOMPARE(result->name, QStringLiteral("李四"));
    QCOMPARE(db.scalar("SELECT customerid || '/' || legalpersonid || '/' || ifnull(phone, 'null') || '/' "
                       "|| ifnull(register_date, 'null') FROM ccustomer WHERE customerid = 'c2'").toString(),
             QStringLiteral("c2/110/null/null"));
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
    QCOMPARE(db.scalar("SELECT providerid || '/' || (provname IS NULL) || '/' || (register_date IS NULL) "
                       "FROM cprovider").toString(),
             QStringLiteral("p1/1/1"));
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
