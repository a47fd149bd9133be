#include "rep_ywyyj.h"

namespace {

ListDescription description()
{
    ListDescription d;
    d.title = QStringLiteral("业务员业绩汇总表");
    d.titleHeight = 24.1;
    d.header = {QStringLiteral("日期范围："), QStringLiteral("QRLabel12"), QStringLiteral("QRLabel13"),
                QStringLiteral("制表人："), QStringLiteral("QRLabel5"), QStringLiteral("制表日期：")};
    d.left = 2.1;
    d.right = 186.5;
    d.dividers = {20.2, 36.4, 64.9, 86.1, 106.8, 135.3, 162.6};
    d.columns = {
        {QStringLiteral("业务员"), QStringLiteral("sales")},
        {QStringLiteral("售车数量"), QStringLiteral("qty"), Qt::AlignRight},
        {QStringLiteral("销售金额"), QStringLiteral("xsh")},
        {QStringLiteral("赠品金额"), QStringLiteral("ps")},
        {QStringLiteral("服务费用"), QStringLiteral("sv")},
        // The quotients print as the database gives them, as the grid shows them.
        {QStringLiteral("销售收入"), QStringLiteral("xshshr"), Qt::AlignLeft, Fmt::Reals::AsGiven},
        {QStringLiteral("进销差价"), QStringLiteral("jxchj"), Qt::AlignLeft, Fmt::Reals::AsGiven},
        {QStringLiteral("毛利润"), QStringLiteral("mlr"), Qt::AlignLeft, Fmt::Reals::AsGiven},
    };
    d.query = QStringLiteral("rep_ywyyj");
    d.sql = QStringLiteral(
            "select sales,qty,xsh,ps,sv,(xsh-ps+sv)/1.17 as xshshr,"
            " (xsh-ps+sv-rk) as jxchj, (xsh-ps+sv-rk)/1.17 as mlr"
            " from (select sales,count(1) as qty,ifnull(sum(chkjg),0) as xsh,"
            " ifnull(sum(present),0) as ps,ifnull(sum(service),0) as sv,sum(rkjg) as rk"
            " from salesview group by sales)");
    d.dataFont = BandedReport::song(9);
    return d;
}

} // namespace

Tfrep_ywyyj::Tfrep_ywyyj(QObject *owner) : ListReport(description(), owner){}
