#pragma once

#include <QDate>
#include <QString>
#include <QVariantMap>

// The statements of the statistics windows and the tax report, with their
// bound values: what the windows run, and what the benchmark measures.
//
// A period is given by its first and last day; either may be invalid (open).
// The last day counts whole: a sale at 14:30 on it is in the period. Sold cars
// are read from salesview, so a car sold, returned by its customer and sold
// again counts once, for its current sale and that sale's date. Amounts are
// summed as Money sums them.
namespace SalesStatistics {

struct Statement {
    QString sql;
    QVariantMap binds;
};

// The cars received in the period and not returned to their provider: a1
// (count) and a2 (their stock-in prices).
Statement received(const QDate &from, const QDate &to);

// The cars sold in the period: a3 (count), a4 (sales amount), a5 (a4 / 1.17),
// a7 (sale price less stock-in price), a8 (a7 / 1.17), ps (their presents),
// sv (their services). Sums over no car are null.
Statement sold(const QDate &from, const QDate &to);

// The cars in stock now, whatever the period: a6.
Statement inStock();

// Which names the computed columns get: the grid binds the database's
// automatic ones, the printed layout its own.
enum class Names { Grid, Print };

// One row per salesman, by name, over the cars sold in the period; cars
// without a salesman (empty or null) form one group with an empty name.
// Grid: sales, Expr1001 (cars), xsh, ps, sv, Expr1005 (net income),
// Expr1006 (purchase-sale difference), Expr1007 (gross profit);
// Print: the same with qty, xshshr, jxchj, mlr.
Statement salesmen(const QDate &from, const QDate &to, Names names);

// The cars sold in the period with their customer and both prices, one row
// per car. The printed list is ordered by the serial, the list's key, by which
// the grid's paged data set orders too. A customer since removed
// from the register leaves the row in the list with an empty ID number.
// Grid: carserial_no, carmodel, chassis_no, customerid, custname,
// legalpersonid, carprice, saleprice; Print: carserial_no, carmodel,
// chassis_no, name, legalpersonid, carprice, saleprice, date1.
Statement taxList(const QDate &from, const QDate &to, Names names);
inline const QString TaxListKey = QStringLiteral("carserial_no");

} // namespace SalesStatistics
