#include "rep_provacc.h"
#include "Codes.h"

Tfrep_provacc::Tfrep_provacc(QObject *owner)
    : ListReport(prepaymentStatement(QStringLiteral("预付供应商帐目表"), QStringLiteral("供应商名称"),
                                     QStringLiteral("provname"), QStringLiteral("outgo"),
                                     QStringLiteral("rep_provacc"),
                                     QStringLiteral(
                               "select provname,provaccttype as type,certificate_no as pzhh,"
                               "invoice_no,outgo,account_date as date1,affirm_recorder as recorder,remarks"
                               " from cprovaccount where isprepay=")
                                         + sqlCode(EntryKind::Payment)),
                 owner)
{
}
