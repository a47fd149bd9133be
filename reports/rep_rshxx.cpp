#include "rep_rshxx.h"

namespace {

ListDescription description()
{
    ListDescription d;
    d.title = QStringLiteral("人事信息表");
    d.titleHeight = 24.1;
    d.header = {QStringLiteral("聘用时间："), QStringLiteral("QRLabel15"), QStringLiteral("QRLabel16"),
                QStringLiteral("制表人："), QStringLiteral("QRLabel5"), QStringLiteral("制表日期：")};
    d.left = 10.6;
    d.right = 180.2;
    d.dividers = {28.7, 45.6, 62.6, 80.0, 97.0, 116.0, 155.2};
    d.columns = {
        {QStringLiteral("姓  名"), QStringLiteral("name")},
        {QStringLiteral("性  别"), QStringLiteral("sex")},
        {QStringLiteral("民  族"), QStringLiteral("nation")},
        {QStringLiteral("学  历"), QStringLiteral("degree")},
        {QStringLiteral("职  务"), QStringLiteral("job")},
        {QStringLiteral("聘用方式"), QStringLiteral("hiremode")},
        {QStringLiteral("住      址"), QStringLiteral("address")},
        {QStringLiteral("联系电话"), QStringLiteral("phone")},
    };
    d.query = QStringLiteral("rep_rshsele");
    d.sql = QStringLiteral(
            "select name,sex,nation,job,degree,hiremode,address,phone from cpersonnel");
    d.dataFont = BandedReport::song(9);
    return d;
}

} // namespace

Tfrep_rshxx::Tfrep_rshxx(QObject *owner) : ListReport(description(), owner){}
