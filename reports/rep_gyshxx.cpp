#include "rep_gyshxx.h"

namespace {

ListDescription description()
{
    ListDescription d;
    d.title = QStringLiteral("供应商信息单");
    d.titleHeight = 24.1;
    d.header = {QStringLiteral("建档日期："), QStringLiteral("QRLabel10"), QStringLiteral("QRLabel13"),
                QStringLiteral("制表人："), QStringLiteral("QRLabel5"), QStringLiteral("制表日期：")};
    d.left = 2.1;
    d.right = 188.6;
    d.dividers = {43.5, 85.8, 109.1, 128.2, 147.2};
    d.columns = {
        {QStringLiteral("供应商名称"), QStringLiteral("provname")},
        {QStringLiteral("地      址"), QStringLiteral("address")},
        {QStringLiteral("法  人"), QStringLiteral("legalperson")},
        {QStringLiteral("联系人"), QStringLiteral("linkman")},
        {QStringLiteral("联系电话"), QStringLiteral("phone")},
        {QStringLiteral("开户行"), QStringLiteral("bank")},
    };
    d.query = QStringLiteral("rep_prov");
    d.sql = QStringLiteral(
            "select * from cprovider");
    d.dataFont = BandedReport::song(9);
    return d;
}

} // namespace

Tfrep_gyshxx::Tfrep_gyshxx(QObject *owner) : ListReport(description(), owner){}
