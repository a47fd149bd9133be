#include "Errors.h"
#include "Messages.h"

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

bool guard(const std::function<void()> &action, QWidget *parent)
{
    try {
        action();
        return true;
    } catch (const AppError &e) {
        Msg::error(e.message(), parent);
    }
    return false;
}
