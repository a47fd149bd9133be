#include "Errors.h"

#include <QtGlobal>

namespace {
std::function<void(const QString &)> g_reporter;
}

AppError::AppError(const QString &message)
    : std::runtime_error(message.toStdString()), m_message(message)
{
}

DbError::DbError(const QSqlError &error) : AppError(dbMessage(error)) {}

QString dbMessage(const QSqlError &error)
{
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
