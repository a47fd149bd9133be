#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <functional>

// Statements on the one connection of the program. Every failure throws
// DbError with the database's message; values are always bound, never pasted.
namespace Db {

inline const QString ConnectionName = QStringLiteral("norvelcms");

QSqlDatabase connection();

// Binds are keyed by placeholder, with or without the leading ':'.
QSqlQuery exec(const QString &sql, const QVariantMap &binds = {});
// First column of the first row, or a null value when there is no row.
QVariant scalar(const QString &sql, const QVariantMap &binds = {});
// First column of every row, as text, in the order the statement gives them.
QStringList firstColumn(const QString &sql, const QVariantMap &binds = {});
// Rows changed by one INSERT, UPDATE or DELETE.
int execCount(const QString &sql, const QVariantMap &binds = {});

void bindAll(QSqlQuery &query, const QVariantMap &binds);

// A table or column name taken from the program's own code, checked before it
// goes into a statement.
QString identifier(const QString &name);

// One unit of work: a transaction of its own, or a savepoint inside the
// caller's. It is undone unless commit() is reached.
class Transaction {
public:
    Transaction();
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();
    static bool active();

    // Runs onCommit once the outermost transaction has committed (at once when
    // none is open), or onRollback when the work it was registered in is
    // undone. What a data set shows as stored must follow the database.
    static void whenCommitted(std::function<void()> onCommit,
                              std::function<void()> onRollback = {});

private:
    int m_level;
    bool m_done = false;
};

} // namespace Db
