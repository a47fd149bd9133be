#include "SalesStatistics.h"
#include "Codes.h"
#include "Money.h"
#include "QueryConditions.h"

namespace SalesStatistics {
namespace {

using Join = QueryConditions::Join;

QueryConditions period(const QString &field, const QDate &from, const QDate &to, Join join)
{
    QueryConditions c(join);
    c.fromDate(field, from).toDate(field, to);
    return c;
}

Statement withPeriod(const QString &base, const QString &field, const QDate &from,
                     const QDate &to, Join join, const QString &tail = {})
{
    const QueryConditions c = period(field, from, to, join);
    return {c.apply(base) + tail, c.binds()};
}

QString sum(const QString &amount) { return Money::sqlSum(amount); }

} // namespace

Statement received(const QDate &from, const QDate &to)
{
    // Every car received and not returned to its provider.
    return withPeriod(QStringLiteral("select count(1) as a1, %1 as a2 from carinfor, carinstock"
                                     " where carinfor.carserial_no = carinstock.carserial_no"
                                     " and (carstatus in ")
                                  .arg(sum(QStringLiteral("carprice")))
                              + sqlCodes({CarStatus::InStock, CarStatus::Sold, CarStatus::ReturnedByCustomer})
                              + QLatin1Char(')'),
                      QStringLiteral("carinstock.instock_date"), from, to, Join::And);
}

Statement sold(const QDate &from, const QDate &to)
{
    // One pass over the sold cars gives every figure of them.
    const QString amount = sum(QStringLiteral("chkjg")), margin = sum(QStringLiteral("chkjg-rkjg"));
    return withPeriod(QStringLiteral("select count(1) as a3, %1 as a4, %1/1.17 as a5, %2 as a7,"
                                     " %2/1.17 as a8, %3 as ps, %4 as sv from salesview")
                              .arg(amount, margin, sum(QStringLiteral("present")),
                                   sum(QStringLiteral("service"))),
                      QStringLiteral("outstock_date"), from, to, Join::Where);
}

Statement inStock()
{
    return {QStringLiteral("select count(1) as a6 from carinfor where carstatus in ")
                    + sqlCodes({CarStatus::InStock, CarStatus::ReturnedByCustomer}),
            {}};
}

Statement salesmen(const QDate &from, const QDate &to, Names names)
{
    const bool grid = names == Names::Grid;
    // The totals first, named, so that the figures made of them can use them.
    const QString totals =
            QStringLiteral("select ifnull(sales,'') as sales, count(1) as qty, ifnull(%1,0) as xsh,"
                           " ifnull(%2,0) as ps, ifnull(%3,0) as sv, %4 as rk from salesview")
                    .arg(sum(QStringLiteral("chkjg")), sum(QStringLiteral("present")),
                         sum(QStringLiteral("service")), sum(QStringLiteral("rkjg")));
    const Statement perSalesman =
            withPeriod(totals, QStringLiteral("outstock_date"), from, to, Join::Where,
                       QStringLiteral(" group by ifnull(sales,'') collate nocase"));
    const QString figures =
            QStringLiteral("select sales, qty as %1, xsh, ps, sv, (xsh-ps+sv)/1.17 as %2,"
                           " (xsh-ps+sv-rk) as %3, (xsh-ps+sv-rk)/1.17 as %4 from (%5) order by sales")
                    .arg(grid ? QStringLiteral("Expr1001") : QStringLiteral("qty"),
                         grid ? QStringLiteral("Expr1005") : QStringLiteral("xshshr"),
                         grid ? QStringLiteral("Expr1006") : QStringLiteral("jxchj"),
                         grid ? QStringLiteral("Expr1007") : QStringLiteral("mlr"), perSalesman.sql);
    return {figures, perSalesman.binds};
}

Statement taxList(const QDate &from, const QDate &to, Names names)
{
    // The ID number is looked up only for the rows read, not for counting.
    const QString legalPersonId = QStringLiteral(
            "(select legalpersonid from ccustomer where ccustomer.customerid = salesview.customerid)"
            " as legalpersonid");
    if (names == Names::Grid)
        return withPeriod(QStringLiteral("select carserial_no, carmodel, chassis_no, customerid, custname,"
                                         " rkjg as carprice, %1, chkjg as saleprice from salesview")
                                  .arg(legalPersonId),
                          QStringLiteral("outstock_date"), from, to, Join::Where);
    return withPeriod(QStringLiteral("select carserial_no, carmodel, chassis_no, custname as name, %1,"
                                     " rkjg as carprice, chkjg as saleprice, outstock_date as date1"
                                     " from salesview")
                              .arg(legalPersonId),
                      QStringLiteral("outstock_date"), from, to, Join::Where,
                      QStringLiteral(" order by carserial_no"));
}

} // namespace SalesStatistics
