#include "Passwords.h"
#include "Db.h"

bool changePassword(const QVariant &personnelId, const QString &typed)
{
    return Db::execCount(QStringLiteral("UPDATE crights SET password = :pw WHERE personnelid = :id"),
                         {{QStringLiteral(":pw"), typed.trimmed()}, {QStringLiteral(":id"), personnelId}})
           == 1;
}
