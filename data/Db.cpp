#include "Db.h"
#include "Errors.h"

#include <QList>
#include <QRegularExpression>
#include <QSqlError>

namespace Db {
namespace {
int g_depth = 0; // open transaction levels on the one connection

struct Pending {
    int depth; // transaction levels open when it was registered
    std::function<void()> onCommit, onRollback;
};
QList<Pending> g_pending;

// Callbacks run after the bookkeeping, so one that opens a transaction of its
// own (a refresh) starts clean; each list is taken before any runs. The work
// is already committed or undone: a callback's failure is reported and the
// others still run, so no data set is left out of step with the database.
void runAll(const QList<Pending> &due, bool committed)
{
    for (const Pending &p : due) {
        const auto &fn = committed ? p.onCommit : p.onRollback;
        try {
            if (fn)
                fn();
        } catch (const AppError &e) {
            reportError(e);
        }
    }
}

// The callbacks registered inside the level being closed.
QList<Pending> takeFrom(int level)
{
    QList<Pending> due;
    for (auto it = g_pending.begin(); it != g_pending.end();) {
        if (it->depth > level) {
            due.append(*it);
            it = g_pending.erase(it);
        } else {
            ++it;
        }
    }
    return due;
}

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

QStringList firstColumn(const QString &sql, const QVariantMap &binds)
{
    QStringList values;
    QSqlQuery q = exec(sql, binds);
    while (q.next())
        values << q.value(0).toString();
    return values;
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
    const QList<Pending> due = takeFrom(m_level);
    // A destructor must not throw; a callback only restores memory state.
    try {
        runAll(due, false);
    } catch (...) {
    }
}

void Transaction::commit()
{
    if (m_done)
        return;
    run(m_level == 0 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE ") + savepoint(m_level));
    m_done = true;
    --g_depth;
    if (m_level > 0) {
        // Released into the caller's transaction: pending until that commits.
        for (Pending &p : g_pending)
            p.depth = qMin(p.depth, g_depth);
        return;
    }
    runAll(takeFrom(-1), true);
}

void Transaction::whenCommitted(std::function<void()> onCommit, std::function<void()> onRollback)
{
    if (g_depth == 0) {
        if (onCommit)
            onCommit();
        return;
    }
    g_pending.append({g_depth, std::move(onCommit), std::move(onRollback)});
}

bool Transaction::active() { return g_depth > 0; }

} // namespace Db
