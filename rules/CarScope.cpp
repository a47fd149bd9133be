#include "CarScope.h"

CarList::CarList() : CarList(CarScope::InStock) {}

CarList::CarList(const QString &condition)
    : sql(QStringLiteral("select * from carinfor where (") + condition + QLatin1Char(')')),
      keys{QStringLiteral("carserial_no")}
{
}

CarList CarList::unverifiedCharges(const LedgerSide &ledger)
{
    // Listed by entry number, the order the charges were booked in: the
    // number also tells apart the lines of one car, and the ledger's index
    // by kind and number gives the first screen without sorting every charge.
    return {QStringLiteral("select carinfor.*, %1.%2 from carinfor, %1"
                           " where carinfor.carserial_no=%1.certificate_no and (%1.isprepay=%3)"
                           " and (not (%1.isaffirm)) and (not (%1.ischeck))")
                    .arg(ledger.table, ledger.keyField, sqlCode(EntryKind::CarCharge)),
            {ledger.keyField}};
}
