#pragma once

#include <QString>
#include <QSqlError>
#include <functional>
#include <stdexcept>

// An error that stops the current user action. It carries the text shown to
// the user. Database failures are DbError, with the database's own message.
// They are thrown by the data layer and caught at the edge of every user
// action by guard() (widgets/Guard.h), never let through Qt's event loop.
class AppError : public std::runtime_error {
public:
    explicit AppError(const QString &message);
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

class DbError : public AppError {
public:
    explicit DbError(const QSqlError &error);
    explicit DbError(const QString &message) : AppError(message) {}
};

// The text of a database error as the user sees it.
QString dbMessage(const QSqlError &error);

// An error that must not stop the action it happened in, because what the
// user asked for is already done (a read after a committed save): it is
// reported here and the action counts as done. The screen installs the
// reporter; without one the message goes to the log.
void reportError(const AppError &error);
void setErrorReporter(std::function<void(const QString &message)> reporter);
