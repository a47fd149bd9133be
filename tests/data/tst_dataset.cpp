// The data set on its own: editing and writing, cached mode, master and
// detail, moving, and lists read in pages. Its views are tested in tst_widgets.
#include "DataSet.h"
#include "DataSetFixtures.h"
#include "Db.h"
#include "Errors.h"
#include "Guard.h"
#include "TestDb.h"

#include <QSqlRecord>
#include <QTest>

class TestDataSet : public QObject {
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
    void detailRowsGoWithTheirMaster_data();
    void detailRowsGoWithTheirMaster();
    void detailRefusalKeepsTheMaster_data();
    void detailRefusalKeepsTheMaster();
    void detailFollowsAMasterThatOpens();
    void committedSaveStands_data();
    void committedSaveStands();
    void refusedMovesEndAWalk();
    // Lists read in pages
    void pagedListReadsEveryRowInOrder_data();
    void pagedListReadsEveryRowInOrder();
    void pagedListFindsCountsAndRefreshes();
    void pagedPostPlacesItsOwnRow();
};

// ---------------------------------------------------------------- editing and writing

void TestDataSet::editingWritesTheRow_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::newRow("by key") << "cconttype" << "conttypeid";
    QTest::newRow("by rowid") << "cprovcarmodel" << "carmodel";
}

void TestDataSet::editingWritesTheRow()
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

void TestDataSet::refusedPostsKeepTheRow()
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

    // The database's refusal (the same code in other case) throws and keeps
    // the input; with no window showing the field, it is named as stored.
    allow = true;
    ds.setValue("code", "m1");
    QVERIFY(!guard([&] { ds.post(); }));
    QCOMPARE(db.messages.lastText(), QStringLiteral("code已存在，不能重复!"));
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

void TestDataSet::cachedModeAppliesOrRevertsAll()
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

void TestDataSet::cachedApplyIsWholeOrNothing()
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

void TestDataSet::keyDrawnWhenTheRowIsWritten_data()
{
    QTest::addColumn<bool>("cached");
    QTest::newRow("cached") << true;
    QTest::newRow("direct") << false;
}

void TestDataSet::keyDrawnWhenTheRowIsWritten()
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

void TestDataSet::postThatCannotReadBackWritesNothing()
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

void TestDataSet::savesFollowTheCallersTransaction()
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

// ---------------------------------------------------------------- master and detail

void TestDataSet::detailRowsGoWithTheirMaster_data()
{
    QTest::addColumn<bool>("withMaster");
    QTest::addColumn<bool>("failing"); // the database refuses the master's delete
    QTest::addColumn<QString>("left");
    QTest::newRow("go with it") << true << false << "p2:捷达";
    QTest::newRow("stay without the flag") << false << false << "p1:桑塔纳,p2:捷达";
    QTest::newRow("stay when the master stays") << true << true << "p1:桑塔纳,p2:捷达";
}

void TestDataSet::detailRowsGoWithTheirMaster()
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

void TestDataSet::detailRefusalKeepsTheMaster_data() { addMasterActions(); }

void TestDataSet::detailRefusalKeepsTheMaster()
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

void TestDataSet::detailFollowsAMasterThatOpens()
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

void TestDataSet::committedSaveStands_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("reported");
    QTest::newRow("afterPost throws") << "afterPost" << "刷新失败";
    QTest::newRow("read after apply fails") << "apply" << "cprovcarmodel";
    QTest::newRow("read after the caller's commit fails") << "caller" << "cprovider";
}

void TestDataSet::committedSaveStands()
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

void TestDataSet::refusedMovesEndAWalk()
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

// ---------------------------------------------------------------- paged lists

void TestDataSet::pagedListReadsEveryRowInOrder_data()
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

void TestDataSet::pagedListReadsEveryRowInOrder()
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

void TestDataSet::pagedListFindsCountsAndRefreshes()
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

void TestDataSet::pagedPostPlacesItsOwnRow()
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

QTEST_MAIN(TestDataSet)
#include "tst_dataset.moc"
