#include "rep_cght.h"

namespace {

ContractDescription description()
{
    ContractDescription d;
    d.title = QStringLiteral("汽车采购合同单");
    d.masterQuery = QStringLiteral("rep_buycont");
    d.masterSql = QString();
    d.linesQuery = QStringLiteral("rep_buycontmx");
    d.linesSql = QString();
    d.firstCaption = QStringLiteral("供  方：");
    d.firstNameField = QStringLiteral("provname");
    d.secondCaption = QStringLiteral("需  方：");
    d.totalCaption = QStringLiteral("合计(万元):");
    d.totalPointSize = 9;
    d.detailPointSize = 10;
    return d;
}

} // namespace

Tfrep_cght::Tfrep_cght(QObject *owner) : ContractReport(description(), owner) {}
