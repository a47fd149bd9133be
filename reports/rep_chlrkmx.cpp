#include "rep_chlrkmx.h"
#include "Codes.h"

namespace {

ListDescription description()
{
    ListDescription d;
    d.title = QStringLiteral("车辆入库明细表");
    d.orientation = QPageLayout::Landscape;
    d.titleHeight = 26.2;
    d.right = 285;
    d.dividers = {22.9, 48.2, 80.0, 107.5, 128.8, 147.8, 158.3, 187.9, 207.1, 228.2, 247.2, 264.1};
    d.columns = {
        {QStringLiteral("入库单号"), QStringLiteral("carin_no")},
        {QStringLiteral("采购合同号"), QStringLiteral("buycontract_no")},
        {QStringLiteral("供应商名称"), QStringLiteral("provname")},
        {QStringLiteral("发票号"), QStringLiteral("buyinvoice_no")},
        {QStringLiteral("车系列号"), QStringLiteral("carinfor.carserial_no")},
        {QStringLiteral("车辆型号"), QStringLiteral("carmodel")},
        {QStringLiteral("颜色"), QStringLiteral("color")},
        {QStringLiteral("底盘号"), QStringLiteral("chassis_no")},
        {QStringLiteral("出厂日期"), QStringLiteral("factory_date")},
        {QStringLiteral("入库日期"), QStringLiteral("instock_date")},
        {QStringLiteral("入库价格"), QStringLiteral("carprice")},
        {QStringLiteral("采购成本"), QStringLiteral("addcost")},
        {QStringLiteral("经办人"), QStringLiteral("buyrecorder")},
    };
    d.query = QStringLiteral("rep_chlrkmx");
    d.sql = QStringLiteral(
            "select carin_no,buycontract_no,provname,carinstock.carserial_no, "
            "buyrecorder,instock_date,buyinvoice_no, carinfor.*, "
            "(select sum(cost) from addcost where carinfor.carserial_no=addcost.carserial_no) as addcost"
            " from carinfor,carinstock"
            " where carinfor.carserial_no=carinstock.carserial_no"
            " and carstatus=") + sqlCode(CarStatus::InStock);
    d.dataFont = BandedReport::song(9);
    return d;
}

} // namespace

Tfrep_chlrkmx::Tfrep_chlrkmx(QObject *owner) : ListReport(description(), owner){}
