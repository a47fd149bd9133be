#include "rep_khxx.h"

namespace {

ListDescription description()
{
    ListDescription d;
    d.title = QStringLiteral("客户信息单");
    d.titleHeight = 24.1;
    d.header = {QStringLiteral("建档日期："), QStringLiteral("QRLabel12"), QStringLiteral("QRLabel13"),
                QStringLiteral("制表人："), QStringLiteral("QRLabel5"), QStringLiteral("制表日期：")};
    d.left = 3.2;
    d.right = 186.6;
    d.dividers = {42.5, 85.3, 104.4, 131.4, 150.4};
    d.columns = {
        {QStringLiteral("客户名称"), QStringLiteral("custname")},
        {QStringLiteral("地      址"), QStringLiteral("address")},
        {QStringLiteral("法  人"), QStringLiteral("legalperson")},
        {QStringLiteral("证件号码"), QStringLiteral("legalpersonid")},
        {QStringLiteral("联系电话"), QStringLiteral("phone")},
        {QStringLiteral("开户行"), QStringLiteral("bank")},
    };
    d.query = QStringLiteral("rep_cust");
    d.sql = QStringLiteral(
            "select * from ccustomer");
    d.dataFont = BandedReport::song(9);
    return d;
}

} // namespace

Tfrep_khxx::Tfrep_khxx(QObject *owner) : ListReport(description(), owner){}
