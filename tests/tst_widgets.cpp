// The data set's editing and the bound controls over it.
#include "DBControls.h"
#include "DBGrid.h"
#include "DBNavigator.h"
#include "Db.h"
#include "Guard.h"
#include "TestDb.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QTest>

class TestWidgets : public QObject {
    Q_OBJECT

private slots:
    void editingWritesTheRow_data();
    void editingWritesTheRow();
    void refusedPostsKeepTheRow();
    void cachedModeAppliesOrRevertsAll();
    void cachedApplyIsWholeOrNothing();
    void postThatCannotReadBackWritesNothing();
    void savesFollowTheCallersTransaction();
    void pendingUpdatesAreNeverReloadedAway();
    void detailRefusalKeepsTheMaster_data();
    void detailRefusalKeepsTheMaster();
    void detailThatCannotReadIsLeftEmpty_data();
    void detailThatCannotReadIsLeftEmpty();
    void detailFollowsAMasterThatOpens();
    void committedSaveStands_data();
    void committedSaveStands();
    void movesFindTheRowAfterAReload();
    void refusedMovesEndAWalk();

    void dateEdit_data();
    void dateEdit();
    void boundControlsWriteAsTyped();
    void codeFieldsTakeCapitals();
    void navigatorFollowsTheState();
    void destroyedControlSeesNoRow();
};

// ---------------------------------------------------------------- data set

void TestWidgets::editingWritesTheRow_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::newRow("by key") << "cconttype" << "conttypeid";
    QTest::newRow("by rowid") << "cprovcarmodel" << "carmodel";
}

void TestWidgets::editingWritesTheRow()
{
    QFETCH(QString, table);
    QFETCH(QString, field);
    TestDb db;
    db.insert(table, {{field, "b"}});
    db.insert(table, {{field, "c"}});
    DataSet ds;
    ds.setTableName(table);
    ds.open();
    ds.last();

    ds.append();
    QCOMPARE(ds.state(), DataSet::Insert);
    QCOMPARE(ds.recordCount(), 3);
    ds.setValue(field, "a");
    QVERIFY(ds.post());
    QCOMPARE(ds.state(), DataSet::Browse);
    QCOMPARE(db.count(table), 3);
    QCOMPARE(ds.value(field).toString(), QStringLiteral("a"));

    // Editing changes only this row, also its key.
    ds.setValue(field, "x");
    QCOMPARE(ds.state(), DataSet::Edit);
    QVERIFY(ds.post());
    QCOMPARE(db.scalar("SELECT group_concat(" + field + ") FROM (SELECT " + field + " FROM " + table
                       + " ORDER BY 1)").toString(),
             QStringLiteral("b,c,x"));

    // The row stays found by its key after a refresh; delete removes just it.
    ds.refresh();
    QCOMPARE(ds.value(field).toString(), QStringLiteral("x"));
    ds.first();
    ds.deleteRecord();
    QCOMPARE(db.scalar("SELECT group_concat(" + field + ") FROM " + table).toString().size(), 3);
    QCOMPARE(db.count(table, field + " = 'b'"), 0);

    // Cancel returns to the row the append started from.
    ds.first();
    ds.append();
    ds.cancel();
    QCOMPARE(ds.recordCount(), 2);
    QCOMPARE(ds.recNo(), 0);
}

void TestWidgets::refusedPostsKeepTheRow()
{
    TestDb db;
    db.insert("model", {{"code", "M1"}});
    DataSet ds;
    ds.setTableName("model");
    ds.setIndexName("code");
    bool allow = false;
    int hookCalls = 0;
    ds.beforePost = [&] {
        ++hookCalls;
        return allow;
    };
    ds.open();

    // A hook that refuses keeps the row in insert, also when moving away.
    ds.append();
    ds.setValue("model", "捷达");
    QVERIFY(!ds.post());
    ds.first();
    QCOMPARE(ds.state(), DataSet::Insert);
    QCOMPARE(ds.recNo(), 1);
    QCOMPARE(hookCalls, 2);
    QCOMPARE(db.count("model"), 1);

    // The database's refusal (the same code in other case) throws and keeps the input.
    allow = true;
    ds.setValue("code", "m1");
    QVERIFY(!guard([&] { ds.post(); }));
    QVERIFY(db.messages.lastText().contains("UNIQUE"));
    QCOMPARE(ds.state(), DataSet::Insert);
    QCOMPARE(ds.value("model").toString(), QStringLiteral("捷达"));
    ds.setValue("code", "m2");
    ds.first();
    QCOMPARE(db.count("model"), 2);
    QCOMPARE(ds.state(), DataSet::Browse);

    // An untouched new row is dropped on moving, without the hook.
    hookCalls = 0;
    ds.append();
    ds.first();
    QCOMPARE(ds.recordCount(), 2);
    QCOMPARE(hookCalls, 0);

    // A query is not edited; edit on an empty table starts a row.
    DataSet query;
    query.setSql("SELECT * FROM model");
    query.open();
    QVERIFY(!guard([&] { query.edit(); }));
    DataSet empty;
    empty.setTableName("bgsxx");
    empty.open();
    empty.edit();
    QCOMPARE(empty.state(), DataSet::Insert);
}

void TestWidgets::cachedModeAppliesOrRevertsAll()
{
    TestDb db;
    db.insert("cprovider", {{"providerid", "p1"}});
    db.insert("cprovider", {{"providerid", "p2"}});
    db.insert("cprovcarmodel", {{"providerid", "p1"}, {"carmodel", "桑塔纳"}});
    db.insert("cprovcarmodel", {{"providerid", "p2"}, {"carmodel", "捷达"}});
    DataSet master;
    master.setTableName("cprovider");
    master.setIndexName("PrimaryKey");
    master.open();
    DataSet detail;
    detail.setTableName("cprovcarmodel");
    detail.setMaster(&master, "providerid", "providerid");
    detail.setCachedUpdates(true);
    detail.open();
    QCOMPARE(detail.recordCount(), 1);

    auto change = [&] {
        detail.append();
        detail.setValue("carmodel", "富康");
        QVERIFY(detail.post());
        detail.first();
        detail.setValue("carmodel", "桑塔纳2000");
        QVERIFY(detail.post());
        detail.append();
        detail.setValue("carmodel", "奥迪");
        detail.post();
        detail.first();
        detail.deleteRecord();
        QVERIFY(detail.updatesPending());
        QCOMPARE(db.scalar("SELECT group_concat(carmodel) FROM cprovcarmodel").toString(),
                 QStringLiteral("桑塔纳,捷达"));
    };
    change();
    detail.cancelUpdates();
    QVERIFY(!detail.updatesPending());
    QCOMPARE(detail.recordCount(), 1);
    QCOMPARE(detail.value("carmodel").toString(), QStringLiteral("桑塔纳"));

    change();
    detail.applyUpdates();
    QVERIFY(!detail.updatesPending());
    QCOMPARE(db.scalar("SELECT group_concat(carmodel, '/') FROM (SELECT carmodel FROM cprovcarmodel "
                       "WHERE providerid = 'p1' ORDER BY carmodel)").toString(),
             QStringLiteral("奥迪/富康"));
    QCOMPARE(db.count("cprovcarmodel", "providerid = 'p2'"), 1);
    QCOMPARE(detail.recordCount(), 2);
}

void TestWidgets::cachedApplyIsWholeOrNothing()
{
    TestDb db;
    db.insert("model", {{"code", "m1"}});
    DataSet ds;
    ds.setTableName("model");
    ds.setCachedUpdates(true);
    ds.open();
    ds.append();
    ds.setValue("code", "m2");
    ds.post();
    ds.append();
    ds.setValue("code", "M1"); // taken: the whole apply fails
    ds.post();
    QVERIFY(!guard([&] { ds.applyUpdates(); }));
    QCOMPARE(db.count("model"), 1);
    QVERIFY(ds.updatesPending());
    ds.setValue("code", "m3");
    ds.post();
    ds.applyUpdates();
    QCOMPARE(db.count("model"), 3);
}

void TestWidgets::postThatCannotReadBackWritesNothing()
{
    TestDb db;
    // The stored key differs from the typed one: the row cannot be found again.
    db.exec("CREATE TRIGGER renames AFTER INSERT ON model BEGIN "
            "UPDATE model SET code = NEW.code || '!' WHERE code = NEW.code; END");
    DataSet ds;
    ds.setTableName("model");
    ds.open();
    ds.append();
    ds.setValue("code", "m1");
    QVERIFY(!guard([&] { ds.post(); }));
    QCOMPARE(db.count("model"), 0);
    QCOMPARE(ds.state(), DataSet::Insert);
    QCOMPARE(ds.value("code").toString(), QStringLiteral("m1"));
}

void TestWidgets::savesFollowTheCallersTransaction()
{
    TestDb db;
    DataSet cached;
    cached.setTableName("model");
    cached.setCachedUpdates(true);
    cached.open();
    cached.append();
    cached.setValue("code", "m1");
    QVERIFY(cached.post());
    {
        Db::Transaction caller; // undone
        cached.applyUpdates();
    }
    QCOMPARE(db.count("model"), 0);
    QVERIFY(cached.updatesPending());
    {
        Db::Transaction caller;
        cached.applyUpdates();
        QVERIFY(cached.updatesPending());
        caller.commit();
    }
    QCOMPARE(db.count("model"), 1);
    QVERIFY(!cached.updatesPending());

    // A post undone with the caller's work is back in editing as typed.
    DataSet ds;
    ds.setTableName("model");
    ds.setIndexName("code");
    ds.open();
    ds.append();
    ds.setValue("code", "m2");
    {
        Db::Transaction caller;
        QVERIFY(ds.post());
        QCOMPARE(ds.state(), DataSet::Browse);
    }
    QCOMPARE(db.count("model"), 1);
    QCOMPARE(ds.state(), DataSet::Insert);
    QCOMPARE(ds.recordCount(), 2);
    QCOMPARE(ds.value("code").toString(), QStringLiteral("m2"));
    QVERIFY(ds.post());
    QCOMPARE(db.count("model"), 2);

    ds.first();
    ds.setValue("model", "桑塔纳");
    {
        Db::Transaction caller;
        QVERIFY(ds.post());
    }
    QCOMPARE(ds.state(), DataSet::Edit);
    QCOMPARE(ds.value("model").toString(), QStringLiteral("桑塔纳"));
    QVERIFY(db.scalar("SELECT model FROM model WHERE code = 'm1'").isNull());
    QVERIFY(ds.post());
    QCOMPARE(db.scalar("SELECT model FROM model WHERE code = 'm1'").toString(), QStringLiteral("桑塔纳"));
}

namespace {

// Providers p1 and p2, each with one car model; the detail follows the master.
struct ProviderModels {
    explicit ProviderModels(TestDb &db)
    {
        db.insert("cprovider", {{"providerid", "p1"}});
        db.insert("cprovider", {{"providerid", "p2"}});
        db.insert("cprovcarmodel", {{"providerid", "p1"}, {"carmodel", "桑塔纳"}});
        db.insert("cprovcarmodel", {{"providerid", "p2"}, {"carmodel", "捷达"}});
        master.setTableName("cprovider");
        master.setIndexName("PrimaryKey");
        master.open();
        detail.setTableName("cprovcarmodel");
        detail.setMaster(&master, "providerid", "providerid");
    }
    DataSet master;
    DataSet detail;
};

// What a master can do that its details must follow.
void addMasterActions()
{
    QTest::addColumn<QString>("action");
    for (const char *a : {"move", "refresh", "append", "delete", "close"})
        QTest::newRow(a) << a;
}

void masterAction(DataSet &master, const QString &action)
{
    if (action == "move")
        master.next();
    else if (action == "refresh")
        master.refresh();
    else if (action == "append")
        master.append();
    else if (action == "delete")
        master.deleteRecord();
    else
        master.close();
}

} // namespace

void TestWidgets::pendingUpdatesAreNeverReloadedAway()
{
    TestDb db;
    ProviderModels d(db);
    d.detail.setCachedUpdates(true);
    d.detail.open();
    d.detail.append();
    d.detail.setValue("carmodel", "富康");
    QVERIFY(d.detail.post());
    DataSource source(&d.detail);
    DBNavigator nav;
    nav.setDataSource(&source);
    QVERIFY(!nav.button(DBNavigator::Refresh)->isEnabled());

    // Whatever would read the detail again leaves its pending row in place.
    d.master.edit();
    d.master.cancel();
    QVERIFY(!guard([&] { d.detail.refresh(); }));
    QVERIFY(!guard([&] { d.master.refresh(); }));
    QVERIFY(!guard([&] { d.master.next(); }));
    QCOMPARE(d.master.recNo(), 0);
    QVERIFY(d.detail.updatesPending());
    QCOMPARE(d.detail.recordCount(), 2);

    d.detail.applyUpdates();
    QVERIFY(nav.button(DBNavigator::Refresh)->isEnabled());
    d.master.next();
    QCOMPARE(d.detail.value("carmodel").toString(), QStringLiteral("捷达"));
    QCOMPARE(db.count("cprovcarmodel", "providerid = 'p1'"), 2);
}

void TestWidgets::detailRefusalKeepsTheMaster_data() { addMasterActions(); }

void TestWidgets::detailRefusalKeepsTheMaster()
{
    QFETCH(QString, action);
    TestDb db;
    db.exec("CREATE TRIGGER refuses BEFORE INSERT ON cprovcarmodel WHEN NEW.carmodel = 'bad' "
            "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    ProviderModels d(db);
    bool allow = false;
    d.detail.beforePost = [&] { return allow; };
    d.detail.open();
    d.detail.append();
    d.detail.setValue("carmodel", "bad");
    auto act = [&] { return guard([&] { masterAction(d.master, action); }); };

    auto unchanged = [&] {
        QCOMPARE(d.master.state(), DataSet::Browse);
        QCOMPARE(d.master.recNo(), 0);
        QCOMPARE(d.master.value("providerid").toString(), QStringLiteral("p1"));
        QCOMPARE(d.detail.state(), DataSet::Insert);
        QCOMPARE(d.detail.value("carmodel").toString(), QStringLiteral("bad"));
        QCOMPARE(d.detail.value("providerid").toString(), QStringLiteral("p1"));
        QCOMPARE(db.count("cprovider"), 2);
        QCOMPARE(db.count("cprovcarmodel"), 2);
    };

    // First the detail's check refuses, then the database.
    QVERIFY(act());
    unchanged();
    allow = true;
    QVERIFY(!act());
    QVERIFY(db.messages.lastText().contains("refused"));
    unchanged();

    // Once the detail's row is fine, the master does what was asked.
    d.detail.setValue("carmodel", "富康");
    QVERIFY(act());
    QCOMPARE(db.count("cprovcarmodel", "providerid = 'p1'"), 2);
    QCOMPARE(d.detail.state(), DataSet::Browse);
}

void TestWidgets::detailThatCannotReadIsLeftEmpty_data() { addMasterActions(); }

void TestWidgets::detailThatCannotReadIsLeftEmpty()
{
    QFETCH(QString, action);
    TestDb db;
    ProviderModels d(db);
    d.detail.open();
    DataSource source(&d.detail);
    DBGrid grid;
    grid.setDataSource(&source);
    QCOMPARE(grid.model()->rowCount(), 1);
    int moves = 0;
    connect(&d.master, &DataSet::currentChanged, this, [&] { ++moves; });

    // The detail's statement fails from now on.
    db.exec("ALTER TABLE cprovcarmodel RENAME TO gone");
    const bool done = guard([&] { masterAction(d.master, action); });

    // The master did what was asked and said so; its caller got the error.
    QVERIFY(!done);
    QCOMPARE(db.messages.messages.size(), 1);
    QVERIFY2(db.messages.lastText().contains("cprovcarmodel"), qPrintable(db.messages.lastText()));
    QCOMPARE(moves, 1);
    // The old master's lines are gone, from the data set and the grid.
    QVERIFY(d.detail.isActive());
    QVERIFY(d.detail.isEmpty());
    QCOMPARE(d.detail.state(), DataSet::Browse);
    QVERIFY(d.detail.value("carmodel").isNull());
    QCOMPARE(grid.model()->rowCount(), 0);

    // Readable again, the detail shows the lines of the master's row.
    db.exec("ALTER TABLE gone RENAME TO cprovcarmodel");
    if (action == "close")
        d.master.open();
    else
        d.detail.refresh();
    const QString now = d.master.isEmpty() || d.master.state() == DataSet::Insert
                            ? QString()
                            : d.master.value("providerid").toString();
    QCOMPARE(d.detail.recordCount(), now.isEmpty() ? 0 : 1);
    if (!now.isEmpty())
        QCOMPARE(d.detail.value("providerid").toString(), now);
    QCOMPARE(db.count("cprovcarmodel"), 2); // nothing of the lines was lost
}

void TestWidgets::detailFollowsAMasterThatOpens()
{
    TestDb db;
    ProviderModels d(db);
    d.master.close();
    d.detail.open();
    QVERIFY(d.detail.isEmpty());
    d.master.open();
    QCOMPARE(d.detail.recordCount(), 1);
    QCOMPARE(d.detail.value("carmodel").toString(), QStringLiteral("桑塔纳"));
}

void TestWidgets::committedSaveStands_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("reported");
    QTest::newRow("afterPost throws") << "afterPost" << "刷新失败";
    QTest::newRow("read after apply fails") << "apply" << "cprovcarmodel";
    QTest::newRow("read after the caller's commit fails") << "caller" << "cprovider";
}

void TestWidgets::committedSaveStands()
{
    QFETCH(QString, how);
    QFETCH(QString, reported);
    TestDb db;
    ProviderModels d(db);
    d.detail.open();
    DataSet other; // saved in the same caller's transaction
    other.setTableName("dq");
    other.setCachedUpdates(true);
    other.open();
    other.append();
    other.setValue("dqdm", "01");

    QString thrown;
    try {
        d.master.setCachedUpdates(how != "afterPost");
        d.master.append();
        d.master.setValue("providerid", "p3");
        if (how == "afterPost") {
            d.master.afterPost = [] { throw AppError(QStringLiteral("刷新失败")); };
            QVERIFY(d.master.post());
        } else if (how == "apply") {
            QVERIFY(d.master.post());
            db.exec("ALTER TABLE cprovcarmodel RENAME TO gone");
            d.master.applyUpdates();
        } else {
            QVERIFY(d.master.post());
            Db::Transaction caller;
            d.master.applyUpdates();
            other.applyUpdates();
            db.exec("ALTER TABLE cprovider RENAME TO gone"); // the read after the commit fails
            caller.commit();
        }
    } catch (const AppError &e) {
        thrown = e.message();
    }

    // The save counts as done; what failed after it is reported on its own.
    QCOMPARE(thrown, QString());
    if (how == "caller")
        db.exec("ALTER TABLE gone RENAME TO cprovider");
    QCOMPARE(db.count("cprovider", "providerid = 'p3'"), 1);
    QCOMPARE(d.master.state(), DataSet::Browse);
    QVERIFY(!d.master.updatesPending());
    QCOMPARE(db.messages.messages.size(), 1);
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Error);
    QVERIFY2(db.messages.lastText().contains(reported), qPrintable(db.messages.lastText()));
    if (how == "caller") { // the other data set's save was taken as stored too
        QVERIFY(!other.updatesPending());
        QCOMPARE(db.count("dq"), 1);
    }
}

void TestWidgets::movesFindTheRowAfterAReload()
{
    TestDb db;
    db.insert("model", {{"code", "a"}});
    db.insert("model", {{"code", "c"}});
    DataSet ds;
    ds.setTableName("model");
    ds.setIndexName("code");
    ds.afterPost = [&] { ds.refresh(); }; // b lands between a and c
    ds.open();
    DataSource source(&ds);
    DataSetModel model;
    model.setDataSource(&source);
    model.setColumns({{"型号代码", "code"}, {"型号名称", "model"}});
    model.setReadOnly(false);

    ds.append();
    ds.setValue("code", "b");
    QVERIFY(model.setData(model.index(1, 1), "for c"));
    QCOMPARE(ds.value("code").toString(), QStringLiteral("c"));
    QVERIFY(ds.post());
    QCOMPARE(db.scalar("SELECT group_concat(code || '=' || ifnull(model, '')) FROM "
                       "(SELECT * FROM model ORDER BY code)").toString(),
             QStringLiteral("a=,b=,c=for c"));

    ds.first();
    ds.append();
    ds.setValue("code", "ab");
    QVERIFY(ds.locate("code", "b"));
    QCOMPARE(ds.value("code").toString(), QStringLiteral("b"));
}

void TestWidgets::refusedMovesEndAWalk()
{
    TestDb db;
    for (const char *code : {"a", "b", "c"})
        db.insert("model", {{"code", code}});
    DataSet ds;
    ds.setTableName("model");
    ds.setIndexName("code");
    ds.beforePost = [] { return false; };
    ds.open();
    ds.next();
    ds.setValue("model", "x");

    ds.first();
    QCOMPARE(ds.recNo(), 1);
    QVERIFY(!ds.bof());
    ds.last();
    QVERIFY(!ds.eof());
    int steps = 0;
    while (!ds.eof() && steps < 10) {
        ds.next();
        ++steps;
    }
    QCOMPARE(steps, 1);
    while (!ds.bof() && steps < 10) {
        ds.prior();
        ++steps;
    }
    QCOMPARE(steps, 2);
    QCOMPARE(ds.recNo(), 1);
    QCOMPARE(ds.state(), DataSet::Edit);
}

// ---------------------------------------------------------------- controls

void TestWidgets::dateEdit_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty") << "" << QDate() << DateEdit::blankText();
    QTest::newRow("valid") << "20240501" << QDate(2024, 5, 1) << "2024-05-01";
    QTest::newRow("half typed") << "202405" << QDate() << "2024-05-  ";
    QTest::newRow("no such day") << "20240230" << QDate() << "2024-02-30";
    QTest::newRow("letters refused") << "ab" << QDate() << DateEdit::blankText();
}

void TestWidgets::dateEdit()
{
    QFETCH(QString, typed);
    QFETCH(QDate, date);
    QFETCH(QString, shown);
    TestDb db;
    db.insert("carinfor", {{"carserial_no", "c1"}, {"factory_date", "2020-01-02"}});
    DataSet ds;
    ds.setTableName("carinfor");
    ds.open();
    DataSource source(&ds);
    DBDateEdit edit;
    edit.setDataSource(&source, "factory_date");
    edit.show();
    QCOMPARE(edit.date(), QDate(2020, 1, 2));

    edit.setFocus();
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_Delete);
    edit.setCursorPosition(0);
    QTest::keyClicks(&edit, typed);
    QCOMPARE(edit.displayText(), shown);
    QCOMPARE(edit.date(), date);
    QCOMPARE(edit.isEmpty(), !date.isValid());
    ds.post();
    QCOMPARE(db.scalar("SELECT ifnull(factory_date, 'null') FROM carinfor").toString(),
             date.isValid() ? date.toString("yyyy-MM-dd") : QStringLiteral("null"));

    edit.setDate(QDate());
    QCOMPARE(edit.displayText(), DateEdit::blankText());
}

void TestWidgets::boundControlsWriteAsTyped()
{
    TestDb db;
    db.insert("ccustomer", {{"customerid", "c1"}, {"custname", "王五"}, {"register_date", "2024-03-04 10:00:00"}});
    DataSet ds;
    ds.setTableName("ccustomer");
    ds.open();
    DataSource source(&ds);
    QWidget window;
    auto *name = new DBEdit(&window);
    name->setDataSource(&source, "custname");
    auto *remarks = new DBMemo(&window);
    remarks->setDataSource(&source, "remarks");
    auto *zip = new DBComboBox(&window, false);
    zip->setItems({"100000", "200000"});
    zip->setDataSource(&source, "zip");
    auto *label = new DBText(&window);
    label->setDataSource(&source, "custname");
    auto *date = new DBDateEdit(&window);
    date->setDataSource(&source, "register_date");
    window.show();
    QCOMPARE(name->text(), QStringLiteral("王五"));
    QCOMPARE(date->date(), QDate(2024, 3, 4));

    // Typing into a stored row edits it; what stands in a field counts at once.
    name->setFocus();
    name->selectAll();
    QTest::keyClicks(name, "Li");
    QCOMPARE(ds.state(), DataSet::Edit);
    QCOMPARE(label->text(), QStringLiteral("Li"));
    QTest::keyClicks(remarks, "vip");
    zip->lineEdit()->selectAll();
    QTest::keyClicks(zip, "300000");
    ds.post();
    QCOMPARE(db.scalar("SELECT custname || remarks || zip FROM ccustomer").toString(),
             QStringLiteral("Livip300000"));

    // A free-text combo stores what it shows, also when the text starts like an item.
    QApplication::setActiveWindow(&window);
    zip->setFocus();
    zip->lineEdit()->selectAll();
    QTest::keyClicks(zip->lineEdit(), "10");
    QCOMPARE(zip->currentText(), QStringLiteral("10"));
    ds.post();
    QCOMPARE(db.scalar("SELECT zip FROM ccustomer").toString(), QStringLiteral("10"));

    // Emptied text is stored as null; cancel shows the stored row again.
    name->selectAll();
    QTest::keyClick(name, Qt::Key_Delete);
    ds.post();
    QVERIFY(db.scalar("SELECT custname FROM ccustomer").isNull());
    QTest::keyClicks(name, "x");
    ds.cancel();
    QCOMPARE(name->text(), QString());

    // The calendar sets the date.
    date->dropDown();
    date->calendar()->setSelectedDate(QDate(2024, 6, 7));
    emit date->calendar()->clicked(QDate(2024, 6, 7));
    ds.post();
    QCOMPARE(db.scalar("SELECT register_date FROM ccustomer").toString(), QStringLiteral("2024-06-07"));
}

void TestWidgets::codeFieldsTakeCapitals()
{
    TestDb db;
    db.insert("model", {{"code", "m1"}});
    DataSet ds;
    ds.setTableName("model");
    ds.open();
    DataSource source(&ds);
    QWidget window;
    auto *bound = new DBEdit(&window);
    bound->setUpperCase(true);
    bound->setDataSource(&source, "code");
    auto *plain = new QLineEdit(&window);
    setUpperCaseInput(plain);
    window.show();
    // A stored value is shown in capitals but stays as it is until typed over.
    QCOMPARE(bound->text(), QStringLiteral("M1"));
    QCOMPARE(ds.state(), DataSet::Browse);
    QCOMPARE(ds.value("code").toString(), QStringLiteral("m1"));

    for (QLineEdit *e : {static_cast<QLineEdit *>(bound), plain}) {
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, "ab");
        QTest::keyClick(e, Qt::Key_Left);
        QTest::keyClicks(e, "x");
        QCOMPARE(e->text(), QStringLiteral("AXB"));
        QCOMPARE(e->cursorPosition(), 2);
    }
    QCOMPARE(ds.value("code").toString(), QStringLiteral("AXB"));
    QVERIFY(ds.post());
    QCOMPARE(db.scalar("SELECT code FROM model").toString(), QStringLiteral("AXB"));
}

void TestWidgets::navigatorFollowsTheState()
{
    TestDb db;
    db.insert("dq", {{"dqdm", "a"}});
    db.insert("dq", {{"dqdm", "b"}});
    DataSet ds;
    ds.setTableName("dq");
    ds.setIndexName("PrimaryKey");
    ds.open();
    DataSource source(&ds);
    DBNavigator nav;
    nav.setDataSource(&source);
    QVERIFY(!nav.button(DBNavigator::Prior)->isEnabled());
    nav.button(DBNavigator::Next)->click();
    QCOMPARE(ds.recNo(), 1);
    QVERIFY(!nav.button(DBNavigator::Next)->isEnabled());
    nav.button(DBNavigator::Insert)->click();
    QVERIFY(nav.button(DBNavigator::Post)->isEnabled());
    QVERIFY(!nav.button(DBNavigator::Edit)->isEnabled());
    ds.setValue("dqdm", "c");
    nav.button(DBNavigator::Post)->click();
    QCOMPARE(db.count("dq"), 3);
    nav.button(DBNavigator::Delete)->click();
    QCOMPARE(db.count("dq"), 2);
}

namespace {

// A bound control whose widget part runs code after the bound part is gone,
// as a widget's own teardown can (focus moving on, children deleted).
struct DyingWidget : QWidget {
    std::function<void()> whileDying;
    ~DyingWidget() override { whileDying(); }
};

struct Probe : DyingWidget, BoundControl {
    explicit Probe(bool *gone, int *shownWhileGone)
        : BoundControl(new FieldLink(this, [gone, shownWhileGone](const QVariant &) {
              if (*gone)
                  ++*shownWhileGone;
          })),
          m_gone(gone)
    {
    }
    ~Probe() override { *m_gone = true; }
    bool *m_gone;
};

} // namespace

void TestWidgets::destroyedControlSeesNoRow()
{
    TestDb db;
    db.insert("dq", {{"dqdm", "a"}});
    db.insert("dq", {{"dqdm", "b"}});
    DataSet ds;
    ds.setTableName("dq");
    ds.open();
    DataSource source(&ds);
    bool gone = false;
    int shownWhileGone = 0;
    auto *probe = new Probe(&gone, &shownWhileGone);
    probe->setDataSource(&source, "dqdm");
    probe->whileDying = [&] { ds.next(); };
    delete probe;
    QCOMPARE(ds.recNo(), 1);
    QCOMPARE(shownWhileGone, 0);
}

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
