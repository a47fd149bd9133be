#pragma once

#include <QString>
#include <QVariant>

// Stores the user's new password as the login reads it: without outer
// blanks, which the login drops from what is typed. False when the user's
// rights row is no longer there (nothing written).
[[nodiscard]] bool changePassword(const QVariant &personnelId, const QString &typed);
