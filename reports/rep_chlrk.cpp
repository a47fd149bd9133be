#include "rep_chlrk.h"

namespace {

SlipDescription description()
{
    SlipDescription d;
    d.title = QStringLiteral("车辆入库单");
    d.query = QStringLiteral("rep_chlrk");
    d.sql = QStringLiteral(
            "select carinfor.*, carinstock.carin_no, carinstock.buycontract_no, carinstock.providerid,"
            " carinstock.provname, carinstock.carintype, carinstock.buyrecorder, carinstock.instock_date,"
            " carinstock.buyinvoice_no"
            " from carinfor, carinstock"
            " where carinfor.carserial_no=carinstock.carserial_no");
    d.numberCaption = QStringLiteral("入库单号：");
    d.numberField = QStringLiteral("carin_no");
    d.headings = {QStringLiteral("合 同 号"), QStringLiteral("供应商代码"), QStringLiteral("供应商名称"), QStringLiteral("发票号")};
    d.headingFields = {QStringLiteral("buycontract_no"), QStringLiteral("providerid"), QStringLiteral("provname"), QStringLiteral("buyinvoice_no")};
    d.block = carBlock(QStringLiteral("入库日期"), QStringLiteral("instock_date"),
                       QStringLiteral("入库价格"));
    d.signatureY = 107.7;
    d.dataFont = BandedReport::song(10);
    return d;
}

} // namespace

Tfrep_chlrk::Tfrep_chlrk(QObject *owner) : SlipReport(description(), owner) {}
