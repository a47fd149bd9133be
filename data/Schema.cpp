#include "Schema.h"
#include "Clock.h"
#include "Db.h"
#include "Errors.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QStringList>

static void initSchemaResource() { Q_INIT_RESOURCE(data); }

namespace Schema {
namespace {

QStringList statements()
{
    initSchemaResource();
    QFile f(QStringLiteral(":/data/schema.sql"));
    if (!f.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("无法读取数据库结构定义"));
    QString text = QString::fromUtf8(f.readAll());
    text.remove(QRegularExpression(QStringLiteral("--[^\n]*")));
    QStringList result;
    for (const QString &s : text.split(QRegularExpression(QStringLiteral(";\\s*\n"))))
        if (!s.trimmed().isEmpty())
            result << s.trimmed();
    return result;
}

void setVersion(int version)
{
    Db::exec(QStringLiteral("PRAGMA user_version = %1").arg(version));
}

} // namespace

Contents contents()
{
    // Reading the catalogue also tells a file that is no database (it throws).
    QSqlQuery q = Db::exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
    QStringList found;
    while (q.next())
        found << q.value(0).toString().toLower();
    q.finish();
    if (found.isEmpty())
        return Contents::Empty;
    static const QRegularExpression table(QStringLiteral("^CREATE TABLE (\\w+)"),
                                          QRegularExpression::CaseInsensitiveOption);
    for (const QString &statement : statements())
        if (const auto m = table.match(statement); m.hasMatch() && found.contains(m.captured(1).toLower()))
            return Contents::Ours;
    return Contents::Foreign;
}

void configure()
{
    // Another program holding the file in the old journal mode keeps it there
    // for now; the next open switches it. Reading and saving work either way.
    Db::exec(QStringLiteral("PRAGMA journal_mode = WAL"));
    // 32 MB instead of 2: on a dealer's years of data the lookups by serial of
    // the statistics and the sales lists otherwise read most pages from disk.
    Db::exec(QStringLiteral("PRAGMA cache_size = -32768"));
}

void create()
{
    Db::Transaction t;
    for (const QString &statement : statements())
        Db::exec(statement);
    seedNumbering();
    setVersion(Version);
    t.commit();
}

void seedNumbering()
{
    Db::exec(QStringLiteral("INSERT INTO XTDH (id, YM_S) VALUES ('cms001', :ym)"),
             {{QStringLiteral(":ym"), Clock::today().toString(QStringLiteral("yyyyMM"))}});
}

void upgrade()
{
    if (Db::scalar(QStringLiteral("PRAGMA user_version")).toInt() >= Version)
        return;
    static const QRegularExpression index(QStringLiteral("^CREATE (UNIQUE )?INDEX "),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression view(QStringLiteral("^CREATE VIEW (\\w+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression dropIndex(QStringLiteral("^DROP INDEX IF EXISTS "),
                                              QRegularExpression::CaseInsensitiveOption);
    Db::Transaction t;
    for (const QString &statement : statements()) {
        if (dropIndex.match(statement).hasMatch()) {
            Db::exec(statement); // an index that a wider one replaced
        } else if (const auto m = index.match(statement); m.hasMatch()) {
            Db::exec(QString(statement).insert(m.capturedEnd(), QStringLiteral("IF NOT EXISTS ")));
        } else if (const auto v = view.match(statement); v.hasMatch()) {
            Db::exec(QStringLiteral("DROP VIEW IF EXISTS ") + v.captured(1));
            Db::exec(statement);
        }
    }
    setVersion(Version);
    t.commit();
}

} // namespace Schema
