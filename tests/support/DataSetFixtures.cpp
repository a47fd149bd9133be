#include "DataSetFixtures.h"
#include "Db.h"
#include "TestDb.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

ProviderModels::ProviderModels(TestDb &db)
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

void openCustomers(DataSet &ds, int pageSize)
{
    ds.setTableName(QStringLiteral("ccustomer"));
    ds.setIndexFieldNames(QStringLiteral("custname"));
    ds.setPageSize(pageSize);
    ds.open();
}

OtherDesk::OtherDesk()
{
    QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    other.setDatabaseName(Db::connection().databaseName());
    other.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
    other.open();
}

OtherDesk::~OtherDesk() { QSqlDatabase::removeDatabase(name); }

QString OtherDesk::exec(const QString &sql)
{
    QSqlQuery q(QSqlDatabase::database(name));
    return q.exec(sql) ? QString() : q.lastError().text();
}
