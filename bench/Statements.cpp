#include "Statements.h"
#include "Generate.h"
#include "QueryConditions.h"
#include "SalesStatistics.h"

#include <QDate>

namespace {

using Join = QueryConditions::Join;

const QDate yearStart(2024, 1, 1), yearEnd(2024, 12, 31);

// The unique key of a list, by the table its rows stand for: the first one
// named after "from" (a subquery's table further on is not the list's).
QStringList keyOf(const QString &base)
{
    static const QList<QPair<QString, QString>> keys{
            {"from carinstock", "carin_no"},     {"from caroutstock", "carout_no"},
            {"from ccustaccount", "caccountid"}, {"from cprovaccount", "paccountid"},
            {"from cbuycontract", "buycont_no"}, {"from csalecontract", "salecont_no"},
            {"from ccustomer", "customerid"},    {"from cprovider", "providerid"},
            {"from carinfor", "carserial_no"},    {"from cpersonnel", "personnelid"}};
    qsizetype first = -1;
    QString found;
    for (const auto &[from, key] : keys) {
        const qsizetype at = base.indexOf(from);
        if (at >= 0 && (first < 0 || at < first)) {
            first = at;
            found = key;
        }
    }
    return found.isEmpty() ? QStringList() : QStringList{found};
}

BenchCase listCase(const QString &window, const QString &condition, const QString &base,
                   const QString &order, const QStringList &totals, const QueryConditions &c,
                   const QStringList &keys = {})
{
    QString orderFields = order;
    orderFields.remove(QStringLiteral(" order by "));
    BenchCase b{window, condition, {{c.apply(base), c.binds(), keys.isEmpty() ? keyOf(base) : keys, orderFields}}, {}};
    for (const QString &t : totals)
        b.totals.append({c.apply(t), c.binds()});
    return b;
}

BenchCase statistics(const QString &window, const QString &condition,
                     const QList<BenchStatement> &screen)
{
    return BenchCase{window, condition, screen, {}, false};
}

BenchStatement statement(const SalesStatistics::Statement &s) { return {s.sql, s.binds}; }

// The sales performance figures: received, sold (with presents and services), stock.
// The car picker of a verification: one line per car charge still to verify
// (Tfselecar's list of CarList::unverifiedCharges), narrowed by a typed serial.
BenchCase chargesToVerify(bool customers, const QString &serialPrefix)
{
    const QString ledger = customers ? "ccustaccount" : "cprovaccount";
    const QString key = customers ? "caccountid" : "paccountid";
    const QString from = " from carinfor, " + ledger + " where carinfor.carserial_no=" + ledger
                         + ".certificate_no and (" + ledger + ".isprepay=2) and (not (" + ledger
                         + ".isaffirm)) and (not (" + ledger + ".ischeck))";
    QueryConditions typed(QueryConditions::Join::And);
    typed.prefix("carinfor.carserial_no", serialPrefix);
    return listCase("Tfselecar",
                    QString(customers ? "销售确认" : "入库确认")
                            + (serialPrefix.isEmpty() ? QString() : ", 序列号 " + serialPrefix),
                    "select carinfor.*, " + ledger + "." + key + from, "", {"select count(*)" + from},
                    typed, {key});
}

BenchCase salesFigures(const QDate &from, const QDate &to)
{
    using namespace SalesStatistics;
    return statistics("Tfsaleyjtj", from.isValid() ? "2024" : "",
                      {statement(received(from, to)), statement(sold(from, to)), statement(inStock())});
}

BenchCase salesmanFigures(const QDate &from, const QDate &to)
{
    using namespace SalesStatistics;
    return statistics("Tfsalesyj", from.isValid() ? "2024" : "",
                      {statement(salesmen(from, to, Names::Grid))});
}

// The tax list as its paged grid reads it, and the count its summary prints.
BenchCase taxList(const QDate &from, const QDate &to)
{
    using namespace SalesStatistics;
    const Statement list = SalesStatistics::taxList(from, to, Names::Grid);
    return BenchCase{"Tftax", from.isValid() ? "2024-05" : "",
                     {{list.sql, list.binds, {TaxListKey}, {}}},
                     {{"select count(1) from (" + list.sql + ")", list.binds}}};
}

BenchCase ledger(bool customers, const QString &condition, const QueryConditions &c)
{
    const QString table = customers ? "ccustaccount" : "cprovaccount";
    const QString paid = customers ? "income" : "outgo", charged = customers ? "outgo" : "income";
    // Ordered as the window orders it: by the first filter's column, the entry date by its alias.
    const QString entryDate = QueryConditions::firstOf({"affirm_date", "account_date", "in_date"});
    const QString lead = c.leadingColumn();
    return listCase(customers ? "Tfcustaccountsele" : "Tfprovaccountsele", condition,
                    "select *, case when ischeck then '是' else '否' end as checked, " + entryDate
                            + " as entry_date from " + table + " where isprepay=0",
                    lead.isEmpty() ? QString() : " order by " + (lead == entryDate ? "entry_date" : lead),
                    {"select count(*) from " + table + " where isprepay=0",
                     "select sum(" + paid + ") from " + table + " where isprepay=0",
                     "select sum(" + charged + ") from " + table + " where isprepay=2 and isaffirm"},
                    c);
}

QueryConditions none(Join join = Join::Where) { return QueryConditions(join); }

// The account queries' date range: on an entry's date as stored.
QueryConditions entryDates(QueryConditions c, const QDate &from, const QDate &to)
{
    const QStringList entryDate{"affirm_date", "account_date", "in_date"};
    return c.fromDate(entryDate, from).toDate(entryDate, to);
}

// The reconciliation's display: the open verified entries of one partner in
// two lists by entry number, and the sums its balance is made of.
BenchCase reconciliation(bool customers, const QString &code)
{
    const QString table = customers ? "ccustaccount" : "cprovaccount";
    const QString key = customers ? "caccountid" : "paccountid";
    const QString partner = customers ? "customerid" : "providerid";
    const QString paid = customers ? "income" : "outgo", charged = customers ? "outgo" : "income";
    const QString open = " and isaffirm and not ischeck and " + partner + "=:aa";
    const QVariantMap binds{{":aa", code}};
    const auto units = [](const QString &column) { return "cast(round(" + column + "*10000) as integer)"; };
    const QString fees = customers ? "sum(case when isprepay=3 then " + units(charged) + " end)" : "null";
    return BenchCase{
            customers ? "Tfcustcheck" : "Tfprovcheck", (customers ? "客户 " : "供应商 ") + code,
            {{"select * from " + table + " where isprepay in " + (customers ? "(0,1,3)" : "(0,1)") + open,
              binds, {key}},
             {"select * from " + table + " where isprepay=2" + open, binds, {key}}},
            {{"select count(*), sum(case when isprepay in (0,1) then " + units(paid) + " end), " + fees
                      + ", sum(case when isprepay=2 then " + units(charged) + " end), sum("
                      + units("income") + "), sum(" + units("outgo") + ") from " + table + " where "
                      + partner + "=:aa and isaffirm and not ischeck",
              binds}}};
}

} // namespace

QList<BenchCase> benchCases()
{
    using QC = QueryConditions;
    const QString customer = Typical::customer(), provider = Typical::provider();
    // The in-stock query's list as the window runs it: one name per column.
    const QString inStock = "select carinstock.carin_no, carinstock.carserial_no, buycontract_no, providerid, provname,"
                            " carintype, buyrecorder, instock_date, buyinvoice_no, isback,"
                            " carinfor.carserial_no as carinfor_serial_no, carmodel, customs_no, qualifier_no,"
                            " commodity_no, vin_no, chassis_no, engine_no, factory_date, producingarea, color, storearea,"
                            " carprice, (select sum(cost) from addcost where addcost.carserial_no=carinfor.carserial_no)"
                            " as addcost, carstatus, remarks"
                            " from carinstock, carinfor where carinstock.carserial_no=carinfor.carserial_no";
    const QString inCount = "select count(1) from carinstock, carinfor"
                            " where carinstock.carserial_no=carinfor.carserial_no";
    // The sales query (Tfcaroutsele::listSql); its count is the paged data set's own.
    const QString sold = "select caroutstock.carout_no, caroutstock.carserial_no, caroutstock.salecontract_no,"
                         " caroutstock.customerid, caroutstock.custname, caroutstock.carouttype,"
                         " caroutstock.saleinvoice_no, caroutstock.salerecorder, caroutstock.sales,"
                         " caroutstock.outstock_date, caroutstock.saleprice, carinfor.carmodel,"
                         " carinfor.customs_no, carinfor.qualifier_no, carinfor.commodity_no, carinfor.vin_no,"
                         " carinfor.chassis_no, carinfor.engine_no, carinfor.factory_date,"
                         " carinfor.producingarea, carinfor.color, carinfor.storearea, carinfor.carprice,"
                         " carinfor.carstatus, carinfor.remarks, carinfor.isback, "
                         "(select sum(cost) from presentcost where carinfor.carserial_no=presentcost.carserial_no) as aa,"
                         " (select sum(cost) from servicecost where carinfor.carserial_no=servicecost.carserial_no) as bb"
                         " from caroutstock, carinfor"
                         " where caroutstock.carserial_no=carinfor.carserial_no and carstatus=1";
    const QString returned = " from carinstock, carinfor where carinstock.carserial_no = carinfor.carserial_no"
                             " and carstatus=2";
    const QString returnedList =
            "select carinstock.carin_no, carinstock.carserial_no, buycontract_no, providerid, provname,"
            " buyrecorder, instock_date, buyinvoice_no, carmodel, customs_no, qualifier_no,"
            " commodity_no, vin_no, chassis_no, engine_no, factory_date, producingarea, color,"
            " storearea, carprice, remarks, carstatus" + returned;
    const QString received = "carstatus in (0,3) and carstatus=0"
                             " and exists (select 1 from carinstock where carinstock.carserial_no=carinfor.carserial_no)";

    return {
        listCase("Tfselecust", "", "select * from ccustomer", " order by custname",
                 {"select count(*) from ccustomer"}, none()),
        listCase("Tfqry_selecust", "", "select * from ccustomer", "", {"select count(*) from ccustomer"}, none()),
        listCase("Tfseleprov", "", "select * from cprovider", "", {"select count(*) from cprovider"}, none()),

        // The contract queries: every state, conditions bound.
        listCase("Tfbuycontsele", "", "select * from cbuycontract", "", {"select count(*) from cbuycontract"}, none()),
        listCase("Tfbuycontsele", "供应商 " + provider + ", 2024", "select * from cbuycontract", "",
                 {"select count(*) from cbuycontract"},
                 QC().prefix("providerid", provider).fromDate("contract_date", yearStart).toDate("contract_date", yearEnd)),
        listCase("Tfsalecontsele", "", "select * from csalecontract", "", {"select count(*) from csalecontract"}, none()),
        listCase("Tfsalecontsele", "客户 " + customer, "select * from csalecontract", "",
                 {"select count(*) from csalecontract"}, QC().prefix("customerid", customer)),
        listCase("Tfsalecontsele", "合同开始执行, 2024-05", "select * from csalecontract", "",
                 {"select count(*) from csalecontract"},
                 QC().equals("isfinished", 1).fromDate("contract_date", QDate(2024, 5, 1))
                         .toDate("contract_date", QDate(2024, 5, 31))),

        // The contract pickers: the caller's scope as a bound state, then the typed prefixes.
        listCase("Tfselebuycont", "未执行 (合同变更)", "select * from cbuycontract", "",
                 {"select count(*) from cbuycontract"}, QC().equals("isfinished", 0)),
        listCase("Tfselebuycont", "执行中 (入库), 合同号 CG0012", "select * from cbuycontract", "",
                 {"select count(*) from cbuycontract"}, QC().equals("isfinished", 1).prefix("contract_no", "CG0012")),
        listCase("Tfselesalecont", "全部 (查询)", "select * from csalecontract", "", {"select count(*) from csalecontract"}, none()),
        listCase("Tfselesalecont", "执行中 (销售), 客户 " + customer, "select * from csalecontract", "",
                 {"select count(*) from csalecontract"}, QC().equals("isfinished", 1).prefix("customerid", customer)),

        // The change windows list the contracts not started, all read at open.
        listCase("Tfbuycontchg", "", "select * from cbuycontract where isfinished = 0", " order by buycont_no",
                 {}, none(Join::And)),
        listCase("Tfsalecontchg", "", "select * from csalecontract where isfinished = 0", " order by salecont_no",
                 {}, none(Join::And)),

        // The car picker: the caller's scope (a condition in parentheses, or the charges to
        // verify), narrowed by the typed prefixes.
        listCase("Tfselecar", "", "select * from carinfor where (carstatus in (0,3))", "",
                 {"select count(*) from carinfor where (carstatus in (0,3))"}, none(Join::And)),
        listCase("Tfselecar", "序列号 " + Typical::serialPrefix(), "select * from carinfor where (carstatus in (0,3))", "",
                 {"select count(*) from carinfor where (carstatus in (0,3))"},
                 QC(Join::And).prefix("carinfor.carserial_no", Typical::serialPrefix())),
        listCase("Tfselecar", "直接成本", "select * from carinfor where (" + received + ")", "",
                 {"select count(*) from carinfor where (" + received + ")"}, none(Join::And)),
        chargesToVerify(true, ""),
        chargesToVerify(true, Typical::serialPrefix()),
        chargesToVerify(false, ""),
        chargesToVerify(false, Typical::serialPrefix()),
        listCase("Tfselecar", "客户退货", "select * from carinfor where (carstatus=1)", "",
                 {"select count(*) from carinfor where (carstatus=1)"}, none(Join::And)),
        listCase("Tfselecar", "客户退货, 序列号 " + Typical::serialPrefix(), "select * from carinfor where (carstatus=1)", "",
                 {"select count(*) from carinfor where (carstatus=1)"},
                 QC(Join::And).prefix("carinfor.carserial_no", Typical::serialPrefix())),

        listCase("Tfcarinsele", "入库", inStock + " and (carstatus in (0,1,3))", " order by instock_date",
                 {inCount + " and (carstatus in (0,1,3))"}, none(Join::And)),
        listCase("Tfcarinsele", "库存", inStock + " and (carstatus in (0,3))", " order by instock_date",
                 {inCount + " and (carstatus in (0,3))"}, none(Join::And)),
        listCase("Tfcarinsele", "入库, 供应商 " + provider + ", 2024", inStock + " and (carstatus in (0,1,3))",
                 " order by instock_date", {inCount + " and (carstatus in (0,1,3))"},
                 QC(Join::And).prefix("providerid", provider).fromDate("instock_date", yearStart)
                         .toDate("instock_date", yearEnd)),
        listCase("Tfcarinsele", "库存, 序列号 " + Typical::serialPrefix(), inStock + " and (carstatus in (0,3))",
                 " order by instock_date", {inCount + " and (carstatus in (0,3))"},
                 QC(Join::And).prefix("carinstock.carserial_no", Typical::serialPrefix())),
        listCase("Tfcarinsele", "入库, 2024-05-06", inStock + " and (carstatus in (0,1,3))", " order by instock_date",
                 {inCount + " and (carstatus in (0,1,3))"},
                 QC(Join::And).fromDate("instock_date", QDate(2024, 5, 6)).toDate("instock_date", QDate(2024, 5, 6))),

        listCase("Tfcaroutsele", "", sold, " order by outstock_date", {}, none(Join::And)),
        listCase("Tfcaroutsele", "客户 " + customer, sold, " order by outstock_date", {},
                 QC(Join::And).prefix("caroutstock.customerid", customer)),
        listCase("Tfcaroutsele", "序列号 " + Typical::serialPrefix(), sold, " order by outstock_date", {},
                 QC(Join::And).prefix("caroutstock.carserial_no", Typical::serialPrefix())),
        listCase("Tfcaroutsele", "2024-05", sold, " order by outstock_date", {},
                 QC(Join::And).fromDate("caroutstock.outstock_date", QDate(2024, 5, 1))
                         .toDate("caroutstock.outstock_date", QDate(2024, 5, 31))),

        listCase("Tfbackprovsele", "", returnedList, " order by instock_date", {"select count(1)" + returned},
                 none(Join::And)),
        listCase("Tfbackprovsele", "供应商 " + provider, returnedList, " order by instock_date",
                 {"select count(1)" + returned}, QC(Join::And).prefix("providerid", provider)),
        listCase("Tfbackprovsele", "2024-05", returnedList, " order by instock_date", {"select count(1)" + returned},
                 QC(Join::And).fromDate("instock_date", QDate(2024, 5, 1)).toDate("instock_date", QDate(2024, 5, 31))),
        listCase("Tfbackprovsele", "序列号 " + Typical::serialPrefix(), returnedList, " order by instock_date",
                 {"select count(1)" + returned},
                 QC(Join::And).prefix("carinstock.carserial_no", Typical::serialPrefix())),

        ledger(true, "", none(Join::And)),
        ledger(true, "客户 " + customer, QC(Join::And).prefix("customerid", customer)),
        ledger(true, "名称 " + Typical::namePrefix(), QC(Join::And).prefix("custname", Typical::namePrefix())),
        ledger(true, "2024-05", entryDates(QC(Join::And), QDate(2024, 5, 1), QDate(2024, 5, 31))),
        ledger(true, "客户 " + customer + ", 2024",
               entryDates(QC(Join::And).prefix("customerid", customer), yearStart, yearEnd)),
        ledger(false, "", none(Join::And)),
        ledger(false, "供应商 " + provider, QC(Join::And).prefix("providerid", provider)),
        ledger(false, "2024-05", entryDates(QC(Join::And), QDate(2024, 5, 1), QDate(2024, 5, 31))),
        reconciliation(true, customer),
        reconciliation(false, provider),

        // The registers: the entry page's table in key order, the query page's list.
        listCase("Tfcustxx", "录入", "select * from ccustomer", " order by customerid", {}, none()),
        listCase("Tfcustxx", "", "select * from ccustomer", "", {"select count(*) from ccustomer"}, none()),
        listCase("Tfcustxx", "建档 2024", "select * from ccustomer", " order by register_date",
                 {"select count(*) from ccustomer"},
                 QC().fromDate("register_date", yearStart).toDate("register_date", yearEnd)),
        listCase("Tfprovxx", "录入", "select * from cprovider", " order by providerid", {}, none()),
        listCase("Tfprovxx", "车型 " + provider, "select * from cprovcarmodel", "",
                 {"select count(*) from cprovcarmodel"}, QC().equals("providerid", provider)),
        listCase("Tfprovxx", "型号 桑塔纳, 2024", "select * from cprovider", " order by register_date",
                 {"select count(*) from cprovider"},
                 QC().fromDate("register_date", yearStart).toDate("register_date", yearEnd)
                         .prefixIn("providerid", "select providerid from cprovcarmodel", "carmodel", "桑塔纳")),
        listCase("Tfperson", "性别 男", "select * from cpersonnel", " order by sex", {"select count(*) from cpersonnel"},
                 QC().prefix("sex", "男")),

        salesFigures({}, {}),
        salesFigures(yearStart, yearEnd),
        salesmanFigures({}, {}),
        salesmanFigures(yearStart, yearEnd),
        taxList({}, {}),
        taxList(QDate(2024, 5, 1), QDate(2024, 5, 31)),
    };
}
