#include "rep_shbb.h"
#include "Codes.h"

namespace {

ListDescription description()
{
    ListDescription d;
    d.title = QStringLiteral("税报表");
    d.titleHeight = 24.1;
    d.header = {QStringLiteral("日期范围："), QStringLiteral("QRLabel12"), QStringLiteral("QRLabel13"),
                QStringLiteral("制表人："), QStringLiteral("QRLabel15"), QStringLiteral("制表日期：")};
    d.left = 0;
    d.right = 188.6;
    d.dividers = {16.0, 53.3, 92.5, 123.8, 146.7, 167.9};
    d.columns = {
        {QStringLiteral("车  型"), QStringLiteral("carmodel")},
        {QStringLiteral("客户名称"), QStringLiteral("name")},
        {QStringLiteral("证件号码"), QStringLiteral("legalpersonid")},
        {QStringLiteral("底盘号"), QStringLiteral("chassis_no")},
        {QStringLiteral("入库价格"), QStringLiteral("carprice")},
        {QStringLiteral("销售价格"), QStringLiteral("saleprice")},
        {QStringLiteral("销售日期"), QStringLiteral("date1")},
    };
    d.query = QStringLiteral("rep_shbb");
    d.sql = QStringLiteral(
            "select caroutstock.carserial_no,carmodel,chassis_no,"
            "caroutstock.custname as name,legalpersonid,"
            "carprice,saleprice,outstock_date as date1"
            " from carinfor,caroutstock,ccustomer"
            " where carinfor.carserial_no=caroutstock.carserial_no"
            " and caroutstock.customerid=ccustomer.customerid"
            " and carstatus=") + sqlCode(CarStatus::Sold);
    d.dataFont = BandedReport::song(9);
    return d;
}

} // namespace

Tfrep_shbb::Tfrep_shbb(QObject *owner) : ListReport(description(), owner)
{
    const auto caption = hei(10);
    const auto value = song(9);
    Band &s = summaryBand;
    s.height = 10;
    s.rect(36.0, 0, 188.6 - 36.0, 8.5);
    s.text(37, 2, QStringLiteral("合计："), caption);
    s.text(55, 2, QStringLiteral("数量"), caption);
    s.count(65, 2, 15, value);
    s.text(85, 2, QStringLiteral("入库成本"), caption);
    s.sum(102, 2, 35, rep_shbb, {QStringLiteral("carprice")}, 1, value);
    s.text(140, 2, QStringLiteral("销售金额"), caption);
    s.sum(157, 2, 31, rep_shbb, {QStringLiteral("saleprice")}, 1, value);
}
