#include "Errors.h"

#include <QRegularExpression>
#include <QtGlobal>

namespace {
std::function<void(const QString &)> g_reporter;
}

AppError::AppError(const QString &message)
    : std::runtime_error(message.toStdString()), m_message(message)
{
}

DbError::DbError(const QSqlError &error) : DbError(error, refusalOf(error)) {}

DbError::DbError(const QSqlError &error, const Refusal &refusal)
    : AppError(dbMessage(error)), m_refusal(refusal)
{
}

Refusal refusalOf(const QSqlError &error)
{
    // SQLite names the constraint and every column of it as "table.column".
    static const QRegularExpression failed(QStringLiteral(
        "^(UNIQUE|NOT NULL) constraint failed: (\\w+\\.\\w+(?:, \\w+\\.\\w+)*)$"));
    const QRegularExpressionMatch m = failed.match(error.databaseText().trimmed());
    Refusal r;
    if (!m.hasMatch())
        return r;
    for (const QString &column : m.captured(2).split(QStringLiteral(", "))) {
        const qsizetype dot = column.indexOf(QLatin1Char('.'));
        r.table = column.left(dot);
        r.fields << column.mid(dot + 1);
    }
    r.kind = m.captured(1) == QLatin1String("UNIQUE") ? Refusal::Taken : Refusal::Missing;
    return r;
}

QString refusalMessage(Refusal::Kind kind, const QStringList &captions)
{
    const QString named = captions.join(QChar(0x3001)); // 、
    return kind == Refusal::Taken ? QStringLiteral("%1已存在，不能重复!").arg(named)
                                  : QStringLiteral("请输入%1!").arg(named);
}

QString dbMessage(const QSqlError &error)
{
    const Refusal refusal = refusalOf(error);
    if (refusal.kind != Refusal::None)
        return refusalMessage(refusal.kind, refusal.fields);
    QString db = error.databaseText().trimmed();
    QString driver = error.driverText().trimmed();
    if (db.isEmpty())
        return driver.isEmpty() ? QStringLiteral("数据库操作失败") : driver;
    if (driver.isEmpty() || db.contains(driver))
        return db;
    return db + QLatin1Char('\n') + driver;
}

void reportError(const AppError &error)
{
    if (g_reporter)
        g_reporter(error.message());
    else
        qWarning("%s", qPrintable(error.message()));
}

void setErrorReporter(std::function<void(const QString &)> reporter)
{
    g_reporter = std::move(reporter);
}
