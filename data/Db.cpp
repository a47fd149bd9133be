#include "Db.h"
#include "Errors.h"

#include <QRegularExpression>
#include <QSqlError>

namespace Db {
namespace {
int g_depth = 0; // open transaction levels on the one connection

QString savepoint(int level) { return QStringLiteral("sp%1").arg(level); }

void run(const QString &sql)
{
    QSqlQuery q(connection());
    if (!q.exec(sql))
        throw DbError(q.lastError());
}
} // namespace

QSqlDatabase connection() { return QSqlDatabase::database(ConnectionName, false); }

void bindAll(QSqlQuery &query, const QVariantMap &binds)
{
    for (auto it = binds.cbegin(); it != binds.cend(); ++it) {
        const QString name = it.key().startsWith(QLatin1Char(':')) ? it.key()
                                                                   : QLatin1Char(':') + it.key();
        query.bindValue(name, it.value());
    }
}

QSqlQuery exec(const QString &sql, const QVariantMap &binds)
{
    QSqlQuery q(connection());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw DbError(q.lastError());
    bindAll(q, binds);
    if (!q.exec())
        throw DbError(q.lastError());
    return q;
}

QVariant scalar(const QString &sql, const QVariantMap &binds)
{
    QSqlQuery q = exec(sql, binds);
    return q.next() ? q.value(0) : QVariant();
}

int execCount(const QString &sql, const QVariantMap &binds)
{
    return exec(sql, binds).numRowsAffected();
}

QString identifier(const QString &name)
{
    static const QRegularExpression ok(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*(\\.[A-Za-z_][A-Za-z0-9_]*)?$"));
    if (!ok.match(name).hasMatch())
        throw DbError(QStringLiteral("无效的表名或字段名: %1").arg(name));
    return name;
}

Transaction::Transaction() : m_level(g_depth)
{
    // IMMEDIATE takes the write lock at once, so that two processes on one
    // file cannot both read a counter before either writes it.
    run(m_level == 0 ? QStringLiteral("BEGIN IMMEDIATE")
                     : QStringLiteral("SAVEPOINT ") + savepoint(m_level));
    ++g_depth;
}

Transaction::~Transaction()
{
    if (m_done)
        return;
    --g_depth;
    QSqlQuery q(connection());
    if (m_level == 0) {
        q.exec(QStringLiteral("ROLLBACK"));
    } else {
        q.exec(QStringLiteral("ROLLBACK TO ") + savepoint(m_level));
        q.exec(QStringLiteral("RELEASE ") + savepoint(m_level));
    }
}

void Transaction::commit()
{
    if (m_done)
        return;
    run(m_level == 0 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE ") + savepoint(m_level));
    m_done = true;
    --g_depth;
}

bool Transaction::active() { return g_depth > 0; }

} // namespace Db
