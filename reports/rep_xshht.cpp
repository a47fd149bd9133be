#include "rep_xshht.h"

namespace {

ContractDescription description()
{
    ContractDescription d;
    d.title = QStringLiteral("汽车销售合同单");
    d.masterQuery = QStringLiteral("rep_salecont");
    d.masterSql = QStringLiteral(
            "SELECT csalecontract.*, ccustomer.legalperson, ccustomer.address, ccustomer.phone, ccustomer.bank, ccustomer.accountid"
            " FROM csalecontract, ccustomer"
            " WHERE csalecontract.customerid=ccustomer.customerid");
    d.linesQuery = QStringLiteral("rep_salecontmx");
    d.linesSql = QStringLiteral("select * from csalecontdetail");
    d.firstCaption = QStringLiteral("需  方：");
    d.firstNameField = QStringLiteral("custname");
    d.secondCaption = QStringLiteral("供  方：");
    d.totalCaption = QStringLiteral("合计(万元)：");
    d.totalPointSize = 11;
    d.detailPointSize = 9;
    return d;
}

} // namespace

Tfrep_xshht::Tfrep_xshht(QObject *owner) : ContractReport(description(), owner) {}
