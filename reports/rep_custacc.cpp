#include "rep_custacc.h"
#include "Codes.h"

Tfrep_custacc::Tfrep_custacc(QObject *owner)
    : ListReport(prepaymentStatement(QStringLiteral("客户预付帐目表"), QStringLiteral("客户名称"),
                                     QStringLiteral("custname"), QStringLiteral("income"),
                                     QStringLiteral("rep_custacc"),
                                     QStringLiteral(
                               "select custname,custaccttype as type,certificate_no as pzhh,"
                               "invoice_no,income,account_date as date1,affirm_recorder as recorder,remarks"
                               " from ccustaccount where isprepay=")
                                         + sqlCode(EntryKind::Payment)),
                 owner)
{
}
