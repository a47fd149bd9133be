#include "rep_chlchkmx.h"
#include "Codes.h"

namespace {

ListDescription description()
{
    ListDescription d;
    d.title = QStringLiteral("车辆出库明细表");
    d.orientation = QPageLayout::Landscape;
    d.titleHeight = 26.2;
    d.right = 285;
    d.dividers = {23.1, 47.0, 71.0, 93.2, 119.2, 140.3, 157.8, 167.8, 199.7, 220.8, 239.8, 254.7, 270.6};
    d.columns = {
        {QStringLiteral("出库单号"), QStringLiteral("carout_no")},
        {QStringLiteral("销售合同"), QStringLiteral("salecont")},
        {QStringLiteral("客户名称"), QStringLiteral("cname")},
        {QStringLiteral("证件号码"), QStringLiteral("legalpersonid")},
        {QStringLiteral("发票号"), QStringLiteral("saleinvoice_no")},
        {QStringLiteral("车系列号"), QStringLiteral("serial_no")},
        {QStringLiteral("车辆型号"), QStringLiteral("carmodel")},
        {QStringLiteral("颜色"), QStringLiteral("color")},
        {QStringLiteral("底盘号"), QStringLiteral("chassis_no")},
        {QStringLiteral("出库日期"), QStringLiteral("outstock_date")},
        {QStringLiteral("出库价格"), QStringLiteral("carprice")},
        {QStringLiteral("服务费"), QStringLiteral("service")},
        {QStringLiteral("赠品金额"), QStringLiteral("present")},
        {QStringLiteral("业务员"), QStringLiteral("sales")},
    };
    d.detailHeight = 33.9;
    d.rowHeight = 8.7;
    d.query = QStringLiteral("rep_chlchkmx");
    d.sql = QStringLiteral(
            "select carout_no,salecontract_no as salecont,caroutstock.custname as cname,legalpersonid,"
            "caroutstock.carserial_no as serial_no,"
            "salerecorder,sales,outstock_date,saleinvoice_no, carinfor.*,"
            "(select sum(cost) from presentcost where carinfor.carserial_no=presentcost.carserial_no) as present,"
            "(select sum(cost) from servicecost where carinfor.carserial_no=servicecost.carserial_no) as service"
            " from carinfor,caroutstock,ccustomer"
            " where carinfor.carserial_no=caroutstock.carserial_no"
            " and caroutstock.customerid=ccustomer.customerid"
            " and carstatus=") + sqlCode(CarStatus::Sold);
    d.dataFont = BandedReport::arial(9);
    return d;
}

} // namespace

Tfrep_chlchkmx::Tfrep_chlchkmx(QObject *owner) : ListReport(description(), owner){}
