#include "Ledgers.h"
#include "TestDb.h"

void addLedgerEntry(TestDb &db, const LedgerEntryRow &row)
{
    QVariantMap values{{row.customers ? "caccountid" : "paccountid", row.key},
                       {row.customers ? "customerid" : "providerid", row.code},
                       {"isprepay", codeValue(row.kind)},
                       {"income", row.income},
                       {"outgo", row.outgo},
                       {"isaffirm", row.affirmed ? 1 : 0},
                       {"ischeck", row.checked ? 1 : 0}};
    if (!row.certificate.isEmpty())
        values.insert("certificate_no", row.certificate);
    db.insert(row.customers ? "ccustaccount" : "cprovaccount", values);
}
