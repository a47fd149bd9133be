// The data set's editing and the bound controls over it.
#include "DBControls.h"
#include "DBGrid.h"
#include "DBNavigator.h"
#include "Db.h"
#include "EnterMovesOn.h"
#include "Errors.h"
#include "Format.h"
#include "Fonts.h"
#include "Guard.h"
#include "TestDb.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QPushButton>
#include <QLabel>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>

class TestWidgets : public QObject {
    Q_OBJECT

private slots:
    void editingWritesTheRow_data();
    void editingWritesTheRow();
    void refusedPostsKeepTheRow();
    void cachedModeAppliesOrRevertsAll();
    void cachedApplyIsWholeOrNothing();
    void postThatCannotReadBackWritesNothing();
    void keyDrawnWhenTheRowIsWritten_data();
    void keyDrawnWhenTheRowIsWritten();
    void savesFollowTheCallersTransaction();
    void pendingUpdatesAreNeverReloadedAway();
    void detailRowsGoWithTheirMaster_data();
    void detailRowsGoWithTheirMaster();
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
    void calendarKeys_data();
    void calendarKeys();
    void comboEditKeysOpenItsPicker_data();
    void comboEditKeysOpenItsPicker();
    void boundControlsWriteAsTyped();
    void amountEditTakesOnlyAmountsWithinTheLimit();
    void amountPassesOnlyAmounts_data();
    void amountPassesOnlyAmounts();
    void comboEditExitedOnlyWhenTheUserLeaves();
    void codeFieldsTakeCapitals();
    void navigatorFollowsTheState();
    void navigatorAsksBeforeDeleting_data();
    void navigatorAsksBeforeDeleting();
    void navigatorRefusesADateNotWhole();
    void destroyedControlSeesNoRow();
    void comboEditShowsCapitals();
    void gridOpensOnItsFirstRow();
    void freeTextComboKeysGoOnFromTheShownItem();

    // Keyboard
    void enterMovesOnAndPressesButtons_data();
    void enterMovesOnAndPressesButtons();
    void namedFontsDrawChinese_data();
    void namedFontsDrawChinese();
    // Lists read in pages
    void pagedListReadsEveryRowInOrder_data();
    void pagedListReadsEveryRowInOrder();
    void pagedListFindsCountsAndRefreshes();
    void pagedPostPlacesItsOwnRow();
    void pagedFirstScreenBeforeItsCount();
    void gridFollowsRowsWithoutAReset_data();
    void gridFollowsRowsWithoutAReset();
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

void TestWidgets::keyDrawnWhenTheRowIsWritten_data()
{
    QTest::addColumn<bool>("cached");
    QTest::newRow("cached") << true;
    QTest::newRow("direct") << false;
}

void TestWidgets::keyDrawnWhenTheRowIsWritten()
{
    QFETCH(bool, cached);
    TestDb db;
    DataSet ds;
    ds.setTableName("addcost");
    ds.setCachedUpdates(cached);
    ds.beforeInsertWrite = [](QSqlRecord &row) {
        row.setValue("addcostid", frmDMcarsales->NextDocumentNumber(
                                          "caddcostpre", "caddcost_s", "as", "addcost", "addcostid"));
    };
    ds.open();
    // A failing write takes its numbers back with it.
    db.exec("CREATE TRIGGER refuses BEFORE INSERT ON addcost WHEN NEW.cost < 0 "
            "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    ds.append();
    ds.setValue("cost", 10.0);
    QVERIFY(ds.post());
    ds.append();
    ds.setValue("cost", -1.0);
    if (cached)
        QVERIFY(!guard([&] { ds.applyUpdates(); }));
    else
        QVERIFY(!guard([&] { ds.post(); }));
    QCOMPARE(db.count("addcost"), cached ? 0 : 1);
    QCOMPARE(db.scalar("SELECT caddcost_s FROM XTDH").toInt(), cached ? 0 : 1);
    ds.setValue("cost", 20.0);
    if (cached)
        ds.applyUpdates();
    else
        QVERIFY(ds.post());
    const QString ym = db.scalar("SELECT YM_S FROM XTDH").toString();
    QCOMPARE(db.scalar("SELECT group_concat(addcostid, ' ') FROM (SELECT addcostid FROM addcost ORDER BY cost)")
                     .toString(),
             "AS" + ym + "0001 AS" + ym + "0002");
    QCOMPARE(ds.recordCount(), 2);
    QVERIFY(!ds.value("addcostid").isNull());
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

void TestWidgets::detailRowsGoWithTheirMaster_data()
{
    QTest::addColumn<bool>("withMaster");
    QTest::addColumn<bool>("failing"); // the database refuses the master's delete
    QTest::addColumn<QString>("left");
    QTest::newRow("go with it") << true << false << "p2:捷达";
    QTest::newRow("stay without the flag") << false << false << "p1:桑塔纳,p2:捷达";
    QTest::newRow("stay when the master stays") << true << true << "p1:桑塔纳,p2:捷达";
}

void TestWidgets::detailRowsGoWithTheirMaster()
{
    QFETCH(bool, withMaster);
    QFETCH(bool, failing);
    QFETCH(QString, left);
    TestDb db;
    ProviderModels d(db);
    if (failing)
        db.exec("CREATE TRIGGER keep BEFORE DELETE ON cprovider BEGIN SELECT RAISE(ABORT, 'kept'); END");
    d.detail.setDeletedWithMaster(withMaster);
    d.detail.open();
    QCOMPARE(guard([&] { d.master.deleteRecord(); }), !failing);
    QCOMPARE(db.scalar("SELECT group_concat(m, ',') FROM (SELECT providerid || ':' || carmodel AS m "
                       "FROM cprovcarmodel ORDER BY 1)").toString(),
             left);
    QCOMPARE(db.count("cprovider"), failing ? 2 : 1);
    // The detail follows the row now current.
    QCOMPARE(d.detail.value("carmodel").toString(), failing ? QString("桑塔纳") : QString("捷达"));
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

namespace {

// A bound date edit on a car's factory date (stored "2020-01-02"), its
// caption beside it and a field after it, in an active window.
struct DateForm {
    explicit DateForm(TestDb &db)
    {
        db.insert("carinfor", {{"carserial_no", "c1"}, {"factory_date", "2020-01-02"}});
        ds.setTableName("carinfor");
        ds.open();
        auto *caption = new QLabel("出厂日期：", &window);
        edit = new DBDateEdit(&window);
        caption->setBuddy(edit);
        edit->setDataSource(&source, "factory_date");
        next = new QLineEdit(&window);
        auto *layout = new QVBoxLayout(&window);
        for (QWidget *w : std::initializer_list<QWidget *>{caption, edit, next})
            layout->addWidget(w);
        window.show();
        QApplication::setActiveWindow(&window);
        edit->setFocus();
    }
    QString stored(TestDb &db) { return db.scalar("SELECT ifnull(factory_date, 'null') FROM carinfor").toString(); }

    DataSet ds;
    DataSource source{&ds};
    QWidget window;
    DBDateEdit *edit;
    QLineEdit *next;
};

} // namespace

void TestWidgets::dateEdit_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored"); // the row's date once posted; null when emptied
    QTest::addColumn<bool>("refused");
    QTest::newRow("emptied") << "" << DateEdit::blankText() << "null" << false;
    QTest::newRow("valid") << "20240501" << "2024-05-01" << "2024-05-01" << false;
    QTest::newRow("letters refused by the mask") << "ab" << DateEdit::blankText() << "null" << false;
    QTest::newRow("half typed") << "202405" << "2024-05-  " << "2020-01-02" << true;
    QTest::newRow("year only") << "2024" << "2024-  -  " << "2020-01-02" << true;
    QTest::newRow("no such month") << "20241345" << "2024-13-45" << "2020-01-02" << true;
    QTest::newRow("no such day") << "20240230" << "2024-02-30" << "2020-01-02" << true;
}

void TestWidgets::dateEdit()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    QFETCH(bool, refused);
    TestDb db;
    DateForm form(db);
    DBDateEdit *edit = form.edit;
    QCOMPARE(edit->date(), QDate(2020, 1, 2));

    // Typed over the stored date.
    edit->selectAll();
    if (typed.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->displayText(), shown);

    // Leaving the field: a date that is not whole is refused by its caption
    // and the focus comes back; the text stays.
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(db.messages.texts(), refused ? QStringList{"出厂日期不是有效的日期!"} : QStringList());
    if (refused)
        QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Warning);
    QCOMPARE(QApplication::focusWidget(), refused ? static_cast<QWidget *>(edit) : form.next);
    QCOMPARE(edit->displayText(), shown);

    // Another field of the row changing keeps it too; the row keeps its date.
    form.ds.setValue("color", "红");
    QCOMPARE(edit->displayText(), shown);
    form.ds.post();
    QCOMPARE(form.stored(db), stored);
    QCOMPARE(db.scalar("SELECT color FROM carinfor").toString(), QString("红"));
    // Once the row is written the field shows it again.
    QCOMPARE(edit->displayText(), stored == "null" ? DateEdit::blankText() : stored);

    edit->setDate(QDate());
    QCOMPARE(edit->displayText(), DateEdit::blankText());
}

void TestWidgets::calendarKeys_data()
{
    QTest::addColumn<int>("openKey"); // 0: its button
    QTest::addColumn<int>("openModifiers");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("date");
    QTest::newRow("button, Enter takes the day") << 0 << 0 << int(Qt::Key_Return) << "2020-01-03";
    QTest::newRow("F4, keypad Enter") << int(Qt::Key_F4) << 0 << int(Qt::Key_Enter) << "2020-01-03";
    QTest::newRow("Alt+Down, Escape changes nothing")
        << int(Qt::Key_Down) << int(Qt::AltModifier) << int(Qt::Key_Escape) << "2020-01-02";
}

void TestWidgets::calendarKeys()
{
    QFETCH(int, openKey);
    QFETCH(int, openModifiers);
    QFETCH(int, key);
    QFETCH(QString, date);
    TestDb db;
    DateForm form(db);
    DBDateEdit *edit = form.edit;
    if (openKey)
        QTest::keyClick(edit, Qt::Key(openKey), Qt::KeyboardModifiers(openModifiers));
    else
        edit->findChild<QAction *>("dropDown")->trigger();
    QWidget *popup = QApplication::activePopupWidget();
    QVERIFY(popup);
    QCOMPARE(popup, edit->calendar());
    QCOMPARE(edit->calendar()->selectedDate(), QDate(2020, 1, 2));

    // The keys go where the platform sends them: into the popup's window.
    QTest::keyClick(popup->windowHandle(), Qt::Key_Right);
    QCOMPARE(edit->calendar()->selectedDate(), QDate(2020, 1, 3));
    QTest::keyClick(popup->windowHandle(), Qt::Key(key));
    QVERIFY(!edit->calendar()->isVisible());
    QVERIFY(!QApplication::activePopupWidget());
    QCOMPARE(edit->displayText(), date);
    QCOMPARE(QApplication::focusWidget(), edit);
    QVERIFY(db.messages.messages.isEmpty());
    form.ds.post();
    QCOMPARE(form.stored(db), date);
}

void TestWidgets::comboEditKeysOpenItsPicker_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("text");
    QTest::newRow("F4") << int(Qt::Key_F4) << 0 << 1 << "";
    QTest::newRow("Alt+Down") << int(Qt::Key_Down) << int(Qt::AltModifier) << 1 << "";
    QTest::newRow("a letter is typed") << int(Qt::Key_A) << 0 << 0 << "a";
    QTest::newRow("Down alone") << int(Qt::Key_Down) << 0 << 0 << "";
}

void TestWidgets::comboEditKeysOpenItsPicker()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, clicks);
    QFETCH(QString, text);
    ComboEdit edit;
    int clicked = 0;
    connect(&edit, &ComboEdit::buttonClick, &edit, [&] { ++clicked; });
    QTest::keyClick(&edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(clicked, clicks);
    QCOMPARE(edit.text(), text);
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

void TestWidgets::amountEditTakesOnlyAmountsWithinTheLimit()
{
    TestDb db;
    db.insert("carinfor", {{"carserial_no", "CAR1"}});
    DataSet ds;
    ds.setTableName("carinfor");
    ds.open();
    DataSource source(&ds);
    QWidget window;
    auto *price = new DBEdit(&window);
    price->setAmount("入库价");
    price->setDataSource(&source, "carprice");
    auto *next = new QLineEdit(&window);
    window.show();
    QApplication::setActiveWindow(&window);
    price->setFocus();

    // A ninth whole digit, a fifth decimal and a letter are refused as typed.
    QTest::keyClicks(price, "123456789");
    QCOMPARE(price->text(), QStringLiteral("12345678"));
    QCOMPARE(db.messages.texts(), QStringList{"入库价太大：最多8位整数！"});
    db.messages.clear();
    QTest::keyClicks(price, ".99999x");
    QCOMPARE(price->text(), QStringLiteral("12345678.9999"));
    QCOMPARE(db.messages.texts(), QStringList(2, "入库价必须是数字，最多4位小数！"));
    ds.post();
    QCOMPARE(Fmt::display(db.scalar("SELECT carprice FROM carinfor")), QStringLiteral("12345678.9999"));

    // A lone sign stores nothing and is cleared when the field is left.
    price->selectAll();
    QTest::keyClicks(price, "-");
    QVERIFY(ds.value("carprice").isNull());
    next->setFocus();
    QCOMPARE(price->text(), QString());
    ds.post();
    QVERIFY(db.scalar("SELECT carprice FROM carinfor").isNull());

    // A stored amount beyond the limit still shows as it is.
    db.exec("UPDATE carinfor SET carprice = 9.3e14");
    ds.refresh();
    QCOMPARE(price->text(), QStringLiteral("930000000000000"));
}

void TestWidgets::amountPassesOnlyAmounts_data()
{
    QTest::addColumn<bool>("amount");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << true << "" << "";
    QTest::newRow("blanks") << true << "  " << "";
    QTest::newRow("an amount") << true << " -12.5 " << "";
    QTest::newRow("a comma") << true << "1,5" << "预付金额必须是数字，最多4位小数！";
    QTest::newRow("a lone sign") << true << "-" << "预付金额必须是数字，最多4位小数！";
    QTest::newRow("beyond the limit") << true << "930000000000000" << "预付金额太大：最多8位整数！";
    QTest::newRow("no amount field") << false << "abc" << "";
}

void TestWidgets::amountPassesOnlyAmounts()
{
    QFETCH(bool, amount);
    QFETCH(QString, text);
    QFETCH(QString, message);
    TestDb db(false);
    QWidget window;
    auto *edit = new DBEdit(&window);
    auto *other = new QLineEdit(&window);
    if (amount)
        edit->setAmount("预付金额");
    window.show();
    QApplication::setActiveWindow(&window);
    other->setFocus();
    edit->setText(text); // put there by the program, past the typing check
    db.messages.clear();
    QCOMPARE(edit->amountPasses(), message.isEmpty());
    QCOMPARE(db.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(QApplication::focusWidget(), message.isEmpty() ? other : static_cast<QWidget *>(edit));
}

void TestWidgets::comboEditExitedOnlyWhenTheUserLeaves()
{
    QWidget window;
    auto *edit = new ComboEdit(&window);
    window.show();
    int exits = 0;
    QObject::connect(edit, &ComboEdit::exited, [&] { ++exits; });
    // Another window, a menu or the program moving the focus is not leaving.
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason, Qt::OtherFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(edit, &out);
    }
    QCOMPARE(exits, 0);
    for (Qt::FocusReason reason : {Qt::TabFocusReason, Qt::BacktabFocusReason, Qt::MouseFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(edit, &out);
    }
    QCOMPARE(exits, 3);
}

namespace {

// The area table with the rows "a" and "b", open in the order of its key.
void openAreas(TestDb &db, DataSet &ds)
{
    db.insert("dq", {{"dqdm", "a"}});
    db.insert("dq", {{"dqdm", "b"}});
    ds.setTableName("dq");
    ds.setIndexName("PrimaryKey");
    ds.open();
}

} // namespace

void TestWidgets::navigatorFollowsTheState()
{
    TestDb db;
    DataSet ds;
    openAreas(db, ds);
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
    db.messages.answer(QMessageBox::Yes);
    nav.button(DBNavigator::Delete)->click();
    QCOMPARE(db.count("dq"), 2);
}

void TestWidgets::navigatorAsksBeforeDeleting_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("hookAllows");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("no keeps the row") << int(QMessageBox::No) << true << QStringList{"a", "b"};
    QTest::newRow("yes deletes it") << int(QMessageBox::Yes) << true << QStringList{"a"};
    QTest::newRow("yes, then the window's hook refuses") << int(QMessageBox::Yes) << false
                                                         << QStringList{"a", "b"};
}

void TestWidgets::navigatorRefusesADateNotWhole()
{
    TestDb db;
    DateForm form(db);
    auto *nav = new DBNavigator(&form.window);
    nav->setDataSource(&form.source);
    form.edit->selectAll();
    QTest::keyClicks(form.edit, "202405");
    form.ds.setValue("color", "红");
    // Post and a new row both write the row: refused, nothing stored, text kept.
    for (const char *button : {"nbPost", "nbInsert"}) {
        db.messages.clear();
        nav->findChild<QToolButton *>(button)->click();
        QCOMPARE(db.messages.texts(), QStringList{"出厂日期不是有效的日期!"});
        QCOMPARE(form.ds.state(), DataSet::Edit);
        QVERIFY(db.scalar("SELECT color FROM carinfor").isNull());
        QCOMPARE(form.edit->displayText(), QString("2024-05-  "));
    }
    // Cancel gives the stored date back without a word.
    db.messages.clear();
    nav->findChild<QToolButton *>("nbCancel")->click();
    QVERIFY(db.messages.texts().isEmpty());
    QCOMPARE(form.edit->displayText(), QString("2020-01-02"));
}

void TestWidgets::navigatorAsksBeforeDeleting()
{
    QFETCH(int, answer);
    QFETCH(bool, hookAllows);
    QFETCH(QStringList, left);
    TestDb db;
    DataSet ds;
    openAreas(db, ds);
    ds.last();
    // The window's own question comes after the navigator's.
    int messagesAtHook = -1;
    ds.beforeDelete = [&] {
        messagesAtHook = int(db.messages.messages.size());
        return hookAllows;
    };
    DataSource source(&ds);
    DBNavigator nav;
    nav.setDataSource(&source);
    db.messages.answer(QMessageBox::StandardButton(answer));
    nav.button(DBNavigator::Delete)->click();

    QCOMPARE(db.messages.texts(), QStringList{"Delete record?"});
    const Msg::Record &asked = db.messages.messages.first();
    QCOMPARE(asked.kind, Msg::Kind::Question);
    QCOMPARE(asked.title, Msg::defaultTitle());
    QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(messagesAtHook, answer == QMessageBox::Yes ? 1 : -1);
    QCOMPARE(db.scalar("SELECT group_concat(dqdm) FROM (SELECT dqdm FROM dq ORDER BY 1)").toString(),
             left.join(','));
    QCOMPARE(ds.recordCount(), int(left.size()));
}

// ---------------------------------------------------------------- keyboard

namespace {

void keyToFocus(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, Qt::Key(key), modifiers);
}

} // namespace

void TestWidgets::enterMovesOnAndPressesButtons_data()
{
    QTest::addColumn<bool>("everyControl");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("focusAfter");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QString>("memo");
    QTest::newRow("edit moves on") << false << "edit" << "memo" << 0 << false << "";
    QTest::newRow("memo keeps its Enter") << false << "memo" << "memo" << 0 << false << "\n";
    QTest::newRow("memo moves on in a window of every control")
        << true << "memo" << "check" << 0 << false << "";
    QTest::newRow("a check box is passed, not ticked") << false << "check" << "ok" << 0 << false << "";
    QTest::newRow("a focused button is pressed") << false << "ok" << "ok" << 1 << false << "";
    QTest::newRow("also in a window of every control") << true << "ok" << "ok" << 1 << false << "";
    QTest::newRow("a control keeping its Enter keeps it also unused")
        << false << "kept" << "kept" << 0 << false << "";
}

void TestWidgets::enterMovesOnAndPressesButtons()
{
    QFETCH(bool, everyControl);
    QFETCH(QString, from);
    QFETCH(QString, focusAfter);
    QFETCH(int, clicks);
    QFETCH(bool, checked);
    QFETCH(QString, memo);
    TestDb db;
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *edit = new QLineEdit(&window);
    auto *memoEdit = new QPlainTextEdit(&window);
    auto *check = new QCheckBox(QStringLiteral("check"), &window);
    auto *ok = new QPushButton(QStringLiteral("ok"), &window);
    auto *kept = new QTableView(&window); // leaves Enter to its parents
    keepEnter(kept);
    for (QWidget *w : std::initializer_list<QWidget *>{edit, memoEdit, check, ok, kept})
        layout->addWidget(w);
    kept->setObjectName("kept");
    edit->setObjectName("edit");
    memoEdit->setObjectName("memo");
    check->setObjectName("check");
    ok->setObjectName("ok");
    int pressed = 0;
    connect(ok, &QPushButton::clicked, &window, [&] { ++pressed; });
    installEnterMovesOn(&window, everyControl ? EnterRule::EveryControl : EnterRule::ExceptMultiLine);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.findChild<QWidget *>(from)->setFocus();

    keyToFocus(Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget()->objectName(), focusAfter);
    QCOMPARE(pressed, clicks);
    QCOMPARE(check->isChecked(), checked);
    QCOMPARE(memoEdit->toPlainText(), memo);
    QVERIFY(edit->text().isEmpty());

    // The keypad's Enter is the same key.
    window.findChild<QWidget *>(from)->setFocus();
    keyToFocus(Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), focusAfter);
    QCOMPARE(pressed, 2 * clicks);
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

void TestWidgets::freeTextComboKeysGoOnFromTheShownItem()
{
    TestDb db;
    db.insert("cconttype", {{"conttypeid", "01"}, {"conttype", "B"}});
    DataSet table;
    table.setTableName("cconttype");
    DataSource source(&table);
    DBComboBox box(nullptr, false);
    box.setItems({"", "A", "B", "C"});
    box.setDataSource(&source, "conttype");
    table.open();
    QCOMPARE(box.currentText(), QString("B"));
    QTest::keyClick(&box, Qt::Key_Down);
    QCOMPARE(box.currentText(), QString("C"));
    QCOMPARE(table.value("conttype").toString(), QString("C"));
}

void TestWidgets::gridOpensOnItsFirstRow()
{
    TestDb db;
    for (const char *id : {"01", "02", "03"})
        db.insert("cconttype", {{"conttypeid", id}, {"conttype", id}});
    for (int pageSize : {0, 2}) {
        DataSet table;
        table.setTableName("cconttype");
        table.setIndexName("PrimaryKey");
        table.setPageSize(pageSize);
        DataSource source(&table);
        DBGrid grid;
        grid.setColumns({{"类型", "conttype"}});
        grid.setDataSource(&source);
        table.open();
        QCOMPARE(grid.currentIndex().row(), 0);
        // The first Down goes to the second row, as the user sees it.
        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(table.value("conttypeid").toString(), QString("02"));
        table.close();
        QCOMPARE(grid.model()->rowCount(), 0);
    }
}

void TestWidgets::comboEditShowsCapitals()
{
    ComboEdit edit;
    QTest::keyClicks(&edit, "p0a");
    QCOMPARE(edit.text(), QString("p0a")); // as typed until asked
    edit.clear();
    edit.setUpperCase(true);
    QTest::keyClicks(&edit, "p0a");
    QCOMPARE(edit.text(), QString("P0A"));
    edit.setCursorPosition(1);
    QTest::keyClicks(&edit, "x");
    QCOMPARE(edit.text(), QString("PX0A"));
    QCOMPARE(edit.cursorPosition(), 2);
}

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

// ---------------------------------------------------------------- fonts

void TestWidgets::namedFontsDrawChinese_data()
{
    QTest::addColumn<QString>("family");
    QTest::newRow("黑体") << "黑体";
    QTest::newRow("宋体") << "宋体";
    QTest::newRow("Arial") << "Arial";
}

void TestWidgets::namedFontsDrawChinese()
{
    QFETCH(QString, family);
    Fonts::installSubstitutes();
    Fonts::installSubstitutes(); // a second call changes nothing
    QCOMPARE(QFont::substitutes(family).size(), Fonts::standIns(family).size());

    // The font that draws the name is the font itself or one of its stand-ins,
    // installed, and it holds both Chinese and Latin letters.
    const QFont font(family);
    const QString drawn = QFontInfo(font).family();
    QVERIFY2(drawn == family || Fonts::standIns(family).contains(drawn), qPrintable(drawn));
    QVERIFY(QFontDatabase::families().contains(drawn));
    const QRawFont han = QRawFont::fromFont(font, QFontDatabase::SimplifiedChinese);
    QVERIFY(han.supportsCharacter(QChar(0x5408))); // 合
    QVERIFY(QRawFont::fromFont(font).supportsCharacter(QLatin1Char('A')));
}

// ---------------------------------------------------------------- paged lists

namespace {

// Customers c0000.. with names that repeat, differ in case and are sometimes
// missing, so that the order needs its tiebreak and meets nulls.
void fillCustomers(TestDb &db, int rows)
{
    db.exec(QStringLiteral(
                "WITH RECURSIVE k(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM k WHERE i < :last) "
                "INSERT INTO ccustomer (customerid, custname, phone) "
                "SELECT printf('c%04d', i), CASE WHEN i % 7 = 0 THEN NULL "
                "ELSE printf('%s%03d', CASE i % 2 WHEN 0 THEN 'n' ELSE 'N' END, (i * 37) % 300) END, "
                "i FROM k"),
            {{QStringLiteral(":last"), rows - 1}});
}

QStringList customersInOrder(TestDb &db)
{
    return db.scalar(QStringLiteral("SELECT group_concat(customerid) FROM "
                                    "(SELECT customerid FROM ccustomer ORDER BY custname, rowid)"))
        .toString()
        .split(QLatin1Char(','));
}

void openCustomers(DataSet &ds, int pageSize = 100)
{
    ds.setTableName(QStringLiteral("ccustomer"));
    ds.setIndexFieldNames(QStringLiteral("custname"));
    ds.setPageSize(pageSize);
    ds.open();
}

// A second connection on the same file, as another desk would have.
struct OtherDesk {
    QString name = QStringLiteral("other desk");
    OtherDesk()
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        other.setDatabaseName(Db::connection().databaseName());
        other.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        other.open();
    }
    ~OtherDesk() { QSqlDatabase::removeDatabase(name); }
    QString exec(const QString &sql)
    {
        QSqlQuery q(QSqlDatabase::database(name));
        return q.exec(sql) ? QString() : q.lastError().text();
    }
};

} // namespace

void TestWidgets::pagedListReadsEveryRowInOrder_data()
{
    QTest::addColumn<QList<int>>("rows");
    QList<int> forward, backward;
    for (int r = 0; r < 1000; ++r) {
        forward << r;
        backward << 999 - r;
    }
    QTest::newRow("down") << forward;
    QTest::newRow("up from the end") << backward;
    QTest::newRow("jumps") << QList<int>{500, 10, 990, 300, 301, 299, 0, 998, 650, 120, 870, 871};
}

void TestWidgets::pagedListReadsEveryRowInOrder()
{
    QFETCH(QList<int>, rows);
    TestDb db;
    fillCustomers(db, 1000);
    const QStringList expected = customersInOrder(db);
    DataSet ds;
    openCustomers(ds);
    QCOMPARE(ds.recordCount(), 1000);
    for (int r : rows)
        QCOMPARE(ds.valueAt(r, "customerid").toString(), expected.at(r));
}

void TestWidgets::pagedListFindsCountsAndRefreshes()
{
    TestDb db;
    fillCustomers(db, 1000);
    const QStringList expected = customersInOrder(db);
    DataSet ds;
    openCustomers(ds);

    ds.last();
    QCOMPARE(ds.recNo(), 999);
    QVERIFY(ds.eof());
    QCOMPARE(ds.value("customerid").toString(), expected.last());

    // Found by its key before its page was read, also typed in another case.
    ds.first();
    QVERIFY(ds.locate("customerid", "C0777")); // a row without a name
    QCOMPARE(ds.recNo(), int(expected.indexOf("c0777")));
    QVERIFY(ds.locate("customerid", "C0778"));
    const int at = int(expected.indexOf("c0778"));
    QCOMPARE(ds.recNo(), at);
    QCOMPARE(ds.value("phone").toString(), QStringLiteral("778"));
    QVERIFY(!ds.locate("customerid", "c9999"));
    QCOMPARE(ds.recNo(), at);

    // Count and sums come from the database, over a query as well.
    DataSet query;
    query.setSql("SELECT customerid, custname, CAST(phone AS INTEGER) AS n FROM ccustomer");
    query.setKeyFields({"customerid"});
    query.setIndexFieldNames("custname");
    query.setPageSize(100);
    query.open();
    QCOMPARE(query.recordCount(), 1000);
    const QSqlRecord totals = query.totals({"count(*)", "sum(n)"});
    QCOMPARE(totals.value(0).toInt(), 1000);
    QCOMPARE(totals.value(1).toLongLong(), 499500LL);
    QCOMPARE(query.valueAt(999, "customerid").toString(), expected.last());

    // Another desk saves while the list is open: no statement of the list
    // holds the file between pages. Its rows appear after a refresh, and the
    // current row stays the one it was.
    {
        OtherDesk other;
        QCOMPARE(other.exec("INSERT INTO ccustomer (customerid, custname) VALUES "
                            "('d1', 'a1'), ('d2', 'a2'), ('d3', 'A3')"),
                 QString());
    }
    QCOMPARE(ds.recordCount(), 1000);
    ds.refresh();
    QCOMPARE(ds.recordCount(), 1003);
    QCOMPARE(ds.value("customerid").toString(), QStringLiteral("c0778"));
    QCOMPARE(ds.recNo(), at + 3);
    const QStringList now = customersInOrder(db);
    for (int r : {0, int(now.indexOf("d1")), int(now.indexOf("d3")), 1002})
        QCOMPARE(ds.valueAt(r, "customerid").toString(), now.at(r));
}

void TestWidgets::pagedFirstScreenBeforeItsCount()
{
    TestDb db;
    fillCustomers(db, 1000);
    DataSet ds;
    DataSource source(&ds);
    DBGrid grid;
    grid.setColumns({{"代码", "customerid"}});
    grid.setDataSource(&source);
    QSignalSpy counted(&ds, &DataSet::counted);
    openCustomers(ds);
    // The first page is listed and readable; nothing has counted yet.
    QVERIFY(!ds.countKnown());
    QCOMPARE(grid.model()->rowCount(), 100);
    QCOMPARE(ds.value("customerid").toString(), customersInOrder(db).first());
    QVERIFY(!ds.isEmpty());
    QCOMPARE(counted.count(), 0);
    // Rows saved meanwhile by another desk are in the count when it comes:
    // it ran after the first screen, in a later turn of the event loop.
    {
        OtherDesk other;
        QCOMPARE(other.exec("INSERT INTO ccustomer (customerid, custname) VALUES ('d1', 'zz')"), QString());
    }
    QTRY_COMPARE(counted.count(), 1);
    QVERIFY(ds.countKnown());
    QCOMPARE(grid.model()->rowCount(), 1001);
    QCOMPARE(ds.recordCount(), 1001);
    QCOMPARE(grid.model()->index(1000, 0).data().toString(), QStringLiteral("d1"));

    // Asked before then, the count is right at once, and is not taken again.
    ds.close();
    openCustomers(ds);
    ds.close();
    counted.clear();
    openCustomers(ds); // the count of the list read first is dropped
    QCOMPARE(ds.recordCount(), 1001);
    QCOMPARE(grid.model()->rowCount(), 1001);
    ds.last();
    QCOMPARE(ds.value("customerid").toString(), QStringLiteral("d1"));
    QCOMPARE(counted.count(), 1);
    QCoreApplication::processEvents(); // the deferred counts of the lists read before
    QCOMPARE(counted.count(), 1);
    // Read again on a row past the first page: it is found by counting, while
    // the views take the rows anew.
    ds.refresh();
    QCOMPARE(ds.value("customerid").toString(), QStringLiteral("d1"));
    QCOMPARE(grid.model()->rowCount(), 1001);
    QCOMPARE(grid.currentIndex().row(), 1000);
    QCOMPARE(counted.count(), 2);

    // A status label shows the count once known, and no stale one meanwhile.
    QLabel label(QStringLiteral("共:5 条记录"));
    DataSet listed;
    showCountOn(&label, &listed, QStringLiteral("共:%1 条记录"));
    openCustomers(listed);
    QVERIFY(label.text().isEmpty());
    QTRY_COMPARE(label.text(), QStringLiteral("共:1001 条记录"));

    // A row deleted before the count: counted once, with the row gone.
    DataSet early;
    openCustomers(early);
    early.deleteRecord();
    QCOMPARE(early.recordCount(), db.count("ccustomer"));
    QCOMPARE(early.recordCount(), 1000);

    // A list within its first page is counted by reading it.
    DataSet few;
    QSignalSpy fewCounted(&few, &DataSet::counted);
    openCustomers(few, 2000);
    QVERIFY(few.countKnown());
    QCOMPARE(fewCounted.count(), 1);
    QCOMPARE(few.recordCount(), 1000);
}

void TestWidgets::pagedPostPlacesItsOwnRow()
{
    TestDb db;
    fillCustomers(db, 1000);
    DataSet ds;
    openCustomers(ds);
    ds.setRecNo(500);

    // A new row goes where its name puts it, read back as stored.
    ds.append();
    QCOMPARE(ds.recNo(), 1000);
    QCOMPARE(ds.recordCount(), 1001);
    ds.setValue("customerid", "x1");
    ds.setValue("custname", "n150a");
    QVERIFY(ds.post());
    QStringList expected = customersInOrder(db);
    QCOMPARE(ds.recordCount(), 1001);
    QCOMPARE(ds.recNo(), int(expected.indexOf("x1")));
    QCOMPARE(ds.value("customerid").toString(), QStringLiteral("x1"));
    for (int r : {0, ds.recNo() - 1, ds.recNo() + 1, 1000})
        QCOMPARE(ds.valueAt(r, "customerid").toString(), expected.at(r));

    // A changed name moves the row too; a delete closes the gap.
    ds.setValue("custname", "n299z");
    QVERIFY(ds.post());
    expected = customersInOrder(db);
    QCOMPARE(ds.recNo(), int(expected.indexOf("x1")));
    ds.setRecNo(10);
    const QString next = ds.valueAt(11, "customerid").toString();
    ds.deleteRecord();
    QCOMPARE(ds.recordCount(), 1000);
    QCOMPARE(ds.recNo(), 10);
    QCOMPARE(ds.value("customerid").toString(), next);
    expected = customersInOrder(db);
    for (int r : {9, 10, 500, 999})
        QCOMPARE(ds.valueAt(r, "customerid").toString(), expected.at(r));
}

void TestWidgets::gridFollowsRowsWithoutAReset_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("typing a cell") << "type";
    QTest::newRow("posting") << "post";
    QTest::newRow("appending") << "append";
    QTest::newRow("cancelling a new row") << "cancel";
    QTest::newRow("deleting") << "delete";
}

void TestWidgets::gridFollowsRowsWithoutAReset()
{
    QFETCH(QString, action);
    TestDb db;
    fillCustomers(db, 300);
    DataSet ds;
    openCustomers(ds);
    DataSource source(&ds);
    DBGrid grid;
    grid.setColumns({{"代码", "customerid"}, {"名称", "custname"}, {"电话", "phone"}});
    grid.setDataSource(&source);
    grid.setReadOnly(false);
    grid.resize(400, 200);
    grid.show();
    QApplication::setActiveWindow(&grid);
    grid.setFocus();
    ds.setRecNo(150);
    QTRY_COMPARE(grid.currentIndex().row(), 150);
    grid.setCurrentIndex(grid.model()->index(150, 2));
    grid.scrollTo(grid.currentIndex(), QAbstractItemView::PositionAtCenter);
    QScrollBar *bar = grid.verticalScrollBar();
    const int scrolled = bar->value();
    QVERIFY(scrolled > 0);
    const QString key = ds.value("customerid").toString();

    QSignalSpy resets(grid.model(), &QAbstractItemModel::modelReset);
    QSignalSpy changed(grid.model(), &QAbstractItemModel::dataChanged);
    QSignalSpy inserted(grid.model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(grid.model(), &QAbstractItemModel::rowsRemoved);
    if (action == "type" || action == "post") {
        QTest::keyClick(&grid, Qt::Key_1);
        QVERIFY(QApplication::focusWidget() != &grid); // the cell's editor
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_2);
        QCOMPARE(ds.state(), DataSet::Edit);
        QCOMPARE(ds.value("phone").toString(), QStringLiteral("12"));
        QVERIFY(!changed.isEmpty());
        for (const QList<QVariant> &signal : std::as_const(changed)) {
            QCOMPARE(signal.at(0).toModelIndex().row(), 150); // that row only
            QCOMPARE(signal.at(1).toModelIndex().row(), 150);
        }
        if (action == "post") {
            QTest::keyClick(&grid, Qt::Key_Return);
            QVERIFY(ds.post());
            QCOMPARE(db.scalar("SELECT phone FROM ccustomer WHERE customerid = :k", {{":k", key}})
                         .toString(),
                     QStringLiteral("12"));
        }
        QCOMPARE(grid.currentIndex().row(), 150);
        QCOMPARE(ds.value("customerid").toString(), key);
    } else if (action == "append" || action == "cancel") {
        ds.append();
        QCOMPARE(inserted.size(), 1);
        QTRY_COMPARE(grid.currentIndex().row(), 300);
        if (action == "cancel") {
            ds.cancel();
            QCOMPARE(removed.size(), 1);
            QTRY_COMPARE(grid.currentIndex().row(), 150);
            QCOMPARE(ds.value("customerid").toString(), key);
        }
    } else {
        const QString next = ds.valueAt(151, "customerid").toString();
        ds.deleteRecord();
        QCOMPARE(removed.size(), 1);
        QCOMPARE(grid.currentIndex().row(), 150);
        QCOMPARE(ds.value("customerid").toString(), next);
        QCOMPARE(grid.model()->index(150, 0).data().toString(), next);
    }
    QCOMPARE(resets.size(), 0);
    if (action != "append" && action != "cancel") // those show the new row
        QCOMPARE(bar->value(), scrolled);
}

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
