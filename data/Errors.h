#pragma once

#include <QString>
#include <QSqlError>
#include <functional>
#include <stdexcept>

class QWidget;

// An error that stops the current user action. It carries the text shown to
// the user. Database failures are DbError, with the database's own message.
// They are thrown by the data layer and caught at the edge of every user
// action by guard(), never let through Qt's event loop.
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

// Runs one user action; an AppError ends it with its message in an error box.
// Returns false when the action was stopped that way.
bool guard(const std::function<void()> &action, QWidget *parent = nullptr);

// The text of a database error as the user sees it.
QString dbMessage(const QSqlError &error);
