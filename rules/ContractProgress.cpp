#include "ContractProgress.h"
#include "Db.h"

const ContractDeliveries &ContractDeliveries::purchases()
{
    static const ContractDeliveries side{QStringLiteral("cbuycontract"), QStringLiteral("cbuycontdetail"),
                                         QStringLiteral("buycont_no"), QStringLiteral("carinstock"),
                                         QStringLiteral("buycontract_no")};
    return side;
}

const ContractDeliveries &ContractDeliveries::sales()
{
    static const ContractDeliveries side{QStringLiteral("csalecontract"), QStringLiteral("csalecontdetail"),
                                         QStringLiteral("salecont_no"), QStringLiteral("caroutstock"),
                                         QStringLiteral("salecontract_no")};
    return side;
}

bool finishWhenDelivered(const ContractDeliveries &side, const QVariant &contractNo)
{
    if (contractNo.toString().trimmed().isEmpty())
        return false;
    const QString contract = Db::identifier(side.contractTable);
    const QString lines = Db::identifier(side.linesTable);
    const QString serial = Db::identifier(side.serialField);
    const QVariantMap aa{{QStringLiteral(":aa"), contractNo}};
    const QVariant moved = Db::scalar(QStringLiteral("select count(1) from %1 where %2=:aa")
                                              .arg(Db::identifier(side.recordTable),
                                                   Db::identifier(side.recordContractField)),
                                      aa);
    const QVariant ordered = Db::scalar(QStringLiteral("select sum(qty) from %1,%2 where contract_no=:aa"
                                                       " and %1.%3=%2.%3")
                                                .arg(contract, lines, serial),
                                        aa);
    if (ordered.isNull() || moved.toLongLong() != ordered.toLongLong())
        return false;
    Db::exec(QStringLiteral("update %1 set isfinished=:delivered where contract_no=:aa").arg(contract),
             {{QStringLiteral(":aa"), contractNo}, {QStringLiteral(":delivered"), codeValue(ContractProgress::Delivered)}});
    return true;
}
