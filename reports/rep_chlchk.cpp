#include "rep_chlchk.h"

namespace {

SlipDescription description()
{
    SlipDescription d;
    d.title = QStringLiteral("车辆出库单");
    d.query = QStringLiteral("rep_chlchk");
    d.sql = QStringLiteral(
            "select carinfor.*, caroutstock.carout_no, caroutstock.salecontract_no, caroutstock.customerid,"
            " caroutstock.custname, caroutstock.carouttype, caroutstock.salerecorder, caroutstock.sales,"
            " caroutstock.outstock_date, caroutstock.saleinvoice_no, caroutstock.saleprice,"
            " ccustomer.legalpersonid"
            " from carinfor, caroutstock, ccustomer"
            " where carinfor.carserial_no=caroutstock.carserial_no"
            " and caroutstock.customerid=ccustomer.customerid");
    d.numberCaption = QStringLiteral("出库单号：");
    d.numberField = QStringLiteral("carout_no");
    d.headings = {QStringLiteral("合 同 号"), QStringLiteral("客户名称"), QStringLiteral("证件号码"), QStringLiteral("发票号")};
    d.headingFields = {QStringLiteral("salecontract_no"), QStringLiteral("custname"), QStringLiteral("legalpersonid"), QStringLiteral("saleinvoice_no")};
    d.block = carBlock(QStringLiteral("出库日期"), QStringLiteral("outstock_date"),
                       QStringLiteral("出库价格"));
    d.block.append({QStringLiteral("销售价格"), QStringLiteral("saleprice"),
                    QStringLiteral("业 务 员"), QStringLiteral("sales")});
    d.signatureY = 115.7;
    d.dataFont = BandedReport::arial(10);
    return d;
}

} // namespace

Tfrep_chlchk::Tfrep_chlchk(QObject *owner) : SlipReport(description(), owner) {}
