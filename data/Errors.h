#pragma once

#include <QString>
#include <QSqlError>
#include <QStringList>
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

// A value the database refused for a key or a required field: a code that is
// already taken, or none given. The fields are named as the database names
// them; the screen names them by their captions (guard()).
struct Refusal {
    enum Kind { None, Taken, Missing };
    Kind kind = None;
    QString table;
    QStringList fields;
};

class DbError : public AppError {
public:
    explicit DbError(const QSqlError &error);
    explicit DbError(const QString &message) : AppError(message) {}
    const Refusal &refusal() const { return m_refusal; }

private:
    DbError(const QSqlError &error, const Refusal &refusal);
    Refusal m_refusal;
};

// The text of a database error as the user sees it: a refusal in words of
// this program, anything else in the database's own.
QString dbMessage(const QSqlError &error);
Refusal refusalOf(const QSqlError &error);
// The message of a refusal that names the fields by these captions.
QString refusalMessage(Refusal::Kind kind, const QStringList &captions);

// An error that must not stop the action it happened in, because what the
// user asked for is already done (a read after a committed save): it is
// reported here and the action counts as done. The screen installs the
// reporter; without one the message goes to the log.
void reportError(const AppError &error);
void setErrorReporter(std::function<void(const QString &message)> reporter);
