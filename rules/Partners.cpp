#include "Partners.h"
#include "Db.h"

#include <QSqlQuery>

const Partners &Partners::providers()
{
    static const Partners p{QStringLiteral("cprovider"), QStringLiteral("providerid"), QStringLiteral("provname"),
                            QStringLiteral("cbuycontract")};
    return p;
}

const Partners &Partners::customers()
{
    static const Partners p{QStringLiteral("ccustomer"), QStringLiteral("customerid"), QStringLiteral("custname"),
                            QStringLiteral("csalecontract")};
    return p;
}

std::optional<QString> partnerName(const Partners &partners, const QString &typedCode, Blanks blanks)
{
    const QString code = blanks == Blanks::Trimmed ? typedCode.trimmed() : typedCode;
    QSqlQuery q = Db::exec(QStringLiteral("select %1 from %2 where %3=:aa")
                                   .arg(Db::identifier(partners.nameField), Db::identifier(partners.table),
                                        Db::identifier(partners.codeField)),
                           {{QStringLiteral(":aa"), code}});
    if (!q.next())
        return std::nullopt;
    return q.value(0).toString();
}

bool signedBy(const Partners &partners, const QString &contractNo, const QString &typedCode,
              SignerMatch match)
{
    QString signer = Db::scalar(QStringLiteral("select %1 from %2 where contract_no=:aa")
                                        .arg(Db::identifier(partners.codeField),
                                             Db::identifier(partners.contractTable)),
                                {{QStringLiteral(":aa"), contractNo}})
                             .toString();
    QString typed = typedCode;
    if (match != SignerMatch::Exactly)
        typed = typed.trimmed();
    if (match == SignerMatch::BothTrimmed)
        signer = signer.trimmed();
    return signer == typed;
}
