#include "Statements.h"
#include "AccountCheck.h"
#include "AccountQuery.h"
#include "ContractChange.h"
#include "ContractPicker.h"
#include "ContractQuery.h"
#include "Generate.h"
#include "QueryConditions.h"
#include "Register.h"
#include "SalesStatistics.h"
#include "Ubackprovsele.h"
#include "Ubuycontchg.h"
#include "Ubuycontsele.h"
#include "Ucarinsele.h"
#include "Ucaroutsele.h"
#include "Ucustaccountsele.h"
#include "Ucustcheck.h"
#include "Ucustxx.h"
#include "Uperson.h"
#include "Uprovaccountsele.h"
#include "Uprovcheck.h"
#include "Uprovxx.h"
#include "Uqry_selecust.h"
#include "Usalecontchg.h"
#include "Usalecontsele.h"
#include "Uselebuycont.h"
#include "Uselecar.h"
#include "Uselecust.h"
#include "Uselesalecont.h"
#include "Useleprov.h"

#include <QDate>

namespace {

const QDate yearStart(2024, 1, 1), yearEnd(2024, 12, 31);
const QDate mayStart(2024, 5, 1), mayEnd(2024, 5, 31);

// Aggregates over a list's rows, worded as its data set words them: the
// count of a paged list, and the sums a window asks of a list.
ListStatement count(const ListStatement &list)
{
    return {QStringLiteral("SELECT count(*) FROM (%1)").arg(list.sql), list.binds};
}

ListStatement sum(const QString &field, const ListStatement &list)
{
    return {QStringLiteral("SELECT sum(%1) AS t0 FROM (%2)").arg(field, list.sql), list.binds};
}

// A list with the count its data set reads after the first screen.
BenchCase counted(const QString &window, const QString &condition, const ListStatement &list)
{
    return {window, condition, {list}, {count(list)}};
}

BenchCase uncounted(const QString &window, const QString &condition, const ListStatement &list)
{
    return {window, condition, {list}, {}};
}

// A window that reads a whole table (a picker, a register's entry page, a
// change window), as the query of the same rows in the same order.
ListStatement table(const QString &name, const QString &key, const QString &order,
                    const QueryConditions &filter = QueryConditions())
{
    return ListStatement::of(QStringLiteral("select * from ") + name, filter, {key}, order);
}

template <class Picker>
BenchCase partnerPicker()
{
    const PartnerPickerInfo info = Picker::info();
    return counted(Picker::staticMetaObject.className(), {}, table(info.table, info.codeField, info.index));
}

template <class Change>
BenchCase contractChange()
{
    const ContractKind kind = Change::kind().contract;
    const QString key = kind.numbering.numberField;
    return uncounted(Change::staticMetaObject.className(), {},
                     table(kind.masterTable, key, key,
                           QueryConditions().equals(TContractChange::IsFinished, codeValue(TContractChange::ListedProgress))));
}

template <class Register>
BenchCase registerEntry()
{
    const RegisterInfo info = Register::info();
    return uncounted(Register::staticMetaObject.className(), QStringLiteral("录入"),
                     table(info.table, info.codeField, info.codeField));
}

template <class Register>
BenchCase registerQuery(const QString &condition, const QDate &from, const QDate &to, const QString &choice = {})
{
    return counted(Register::staticMetaObject.className(), condition,
                   TRegisterForm::listStatement(Register::info(), from, to, choice));
}

template <class Query>
BenchCase contractQuery(const QString &condition, const TContractQuery::Filter &typed)
{
    return counted(Query::staticMetaObject.className(), condition,
                   TContractQuery::listStatement(Query::kind(), typed));
}

template <class Picker>
BenchCase contractPicker(const QString &condition, ContractScope scope, const QString &contractNo,
                         const QString &partnerCode)
{
    return counted(Picker::staticMetaObject.className(), condition,
                   TContractPicker::listStatement(Picker::kind(), scope, contractNo, partnerCode));
}

BenchCase carPicker(const QString &condition, const CarList &scope, const QString &serial = {})
{
    return counted(QStringLiteral("Tfselecar"), condition, Tfselecar::listStatement(scope, serial, {}));
}

// The account query: its list, counted, the payments summed over it and the
// verified charges over the same filters.
template <class Query>
BenchCase ledger(const QString &condition, const TAccountQuery::Filter &typed)
{
    const AccountKind kind = Query::kind();
    const ListStatement list = TAccountQuery::listStatement(kind, typed);
    return {Query::staticMetaObject.className(), condition, {list},
            {count(list), sum(kind.paidField, list),
             sum(kind.chargedField, TAccountQuery::chargesStatement(kind, typed))}};
}

// The reconciliation's display: the open verified entries of one partner in
// two lists, and the sums its balance is made of.
template <class Check>
BenchCase reconciliation(const QString &condition, const QString &code)
{
    const AccountCheckKind kind = Check::kind();
    return {Check::staticMetaObject.className(), condition,
            {TAccountCheck::listStatement(*kind.side, kind.payments, code),
             TAccountCheck::listStatement(*kind.side, kind.charges, code)},
            {accountSumsStatement(*kind.side, code)}};
}

BenchCase statistics(const QString &window, const QString &condition,
                     const QList<SalesStatistics::Statement> &statements)
{
    BenchCase b{window, condition, {}, {}, false};
    for (const SalesStatistics::Statement &s : statements)
        b.screen.append({s.sql, s.binds});
    return b;
}

// The sales performance figures: received, sold (with presents and services), stock.
BenchCase salesFigures(const QDate &from, const QDate &to)
{
    using namespace SalesStatistics;
    return statistics("Tfsaleyjtj", from.isValid() ? "2024" : "", {received(from, to), sold(from, to), inStock()});
}

BenchCase salesmanFigures(const QDate &from, const QDate &to)
{
    using namespace SalesStatistics;
    return statistics("Tfsalesyj", from.isValid() ? "2024" : "", {salesmen(from, to, Names::Grid)});
}

// The tax list as its paged grid reads it, and the count its summary prints.
BenchCase taxList(const QDate &from, const QDate &to)
{
    using namespace SalesStatistics;
    const Statement list = SalesStatistics::taxList(from, to, Names::Grid);
    return counted("Tftax", from.isValid() ? "2024-05" : "", {list.sql, list.binds, {TaxListKey}});
}

} // namespace

QList<BenchCase> benchCases()
{
    const QString customer = Typical::customer(), provider = Typical::provider();
    const QString serial = Typical::serialPrefix();
    const QString sold = QStringLiteral("客户退货");

    return {
        partnerPicker<Tfselecust>(),
        partnerPicker<Tfqry_selecust>(),
        partnerPicker<Tfseleprov>(),

        // The contract queries: every state, conditions bound.
        contractQuery<Tfbuycontsele>("", {}),
        contractQuery<Tfbuycontsele>("供应商 " + provider + ", 2024",
                                     {.partnerCode = provider, .from = yearStart, .to = yearEnd}),
        contractQuery<Tfsalecontsele>("", {}),
        contractQuery<Tfsalecontsele>("客户 " + customer, {.partnerCode = customer}),
        contractQuery<Tfsalecontsele>("合同开始执行, 2024-05",
                                      {.progress = ContractProgress::Executing, .from = mayStart, .to = mayEnd}),

        // The contract pickers: the caller's scope as a bound state, then the typed prefixes.
        contractPicker<Tfselebuycont>("未执行 (合同变更)", ContractScope::NotStarted, {}, {}),
        contractPicker<Tfselebuycont>("执行中 (入库), 合同号 CG0012", ContractScope::Started, "CG0012", {}),
        contractPicker<Tfselesalecont>("全部 (查询)", ContractScope::All, {}, {}),
        contractPicker<Tfselesalecont>("执行中 (销售), 客户 " + customer, ContractScope::Started, {}, customer),

        // The change windows list the contracts not started, all read at open.
        contractChange<Tfbuycontchg>(),
        contractChange<Tfsalecontchg>(),

        // The car picker: the caller's scope, narrowed by the typed serial.
        carPicker("", CarList()),
        carPicker("序列号 " + serial, CarList(), serial),
        carPicker("直接成本", CarList(CarScope::Received)),
        carPicker("销售确认", CarScope::UnverifiedSale),
        carPicker("销售确认, 序列号 " + serial, CarScope::UnverifiedSale, serial),
        carPicker("入库确认", CarScope::UnverifiedPurchase),
        carPicker("入库确认, 序列号 " + serial, CarScope::UnverifiedPurchase, serial),
        carPicker(sold, CarList(CarScope::Sold)),
        carPicker(sold + ", 序列号 " + serial, CarList(CarScope::Sold), serial),

        counted("Tfcarinsele", "入库", Tfcarinsele::listStatement(false, {})),
        counted("Tfcarinsele", "库存", Tfcarinsele::listStatement(true, {})),
        counted("Tfcarinsele", "入库, 供应商 " + provider + ", 2024",
                Tfcarinsele::listStatement(false, {.providerCode = provider, .from = yearStart, .to = yearEnd})),
        counted("Tfcarinsele", "库存, 序列号 " + serial, Tfcarinsele::listStatement(true, {.serial = serial})),
        counted("Tfcarinsele", "入库, 2024-05-06",
                Tfcarinsele::listStatement(false, {.from = QDate(2024, 5, 6), .to = QDate(2024, 5, 6)})),

        uncounted("Tfcaroutsele", "", Tfcaroutsele::listStatement({})),
        uncounted("Tfcaroutsele", "客户 " + customer, Tfcaroutsele::listStatement({.customerCode = customer})),
        uncounted("Tfcaroutsele", "序列号 " + serial, Tfcaroutsele::listStatement({.serial = serial})),
        uncounted("Tfcaroutsele", "2024-05", Tfcaroutsele::listStatement({.from = mayStart, .to = mayEnd})),

        counted("Tfbackprovsele", "", Tfbackprovsele::listStatement({})),
        counted("Tfbackprovsele", "供应商 " + provider, Tfbackprovsele::listStatement({.providerCode = provider})),
        counted("Tfbackprovsele", "2024-05", Tfbackprovsele::listStatement({.from = mayStart, .to = mayEnd})),
        counted("Tfbackprovsele", "序列号 " + serial, Tfbackprovsele::listStatement({.serial = serial})),

        ledger<Tfcustaccountsele>("", {}),
        ledger<Tfcustaccountsele>("客户 " + customer, {.code = customer}),
        ledger<Tfcustaccountsele>("名称 " + Typical::namePrefix(), {.name = Typical::namePrefix()}),
        ledger<Tfcustaccountsele>("2024-05", {.from = mayStart, .to = mayEnd}),
        ledger<Tfcustaccountsele>("客户 " + customer + ", 2024", {.code = customer, .from = yearStart, .to = yearEnd}),
        ledger<Tfprovaccountsele>("", {}),
        ledger<Tfprovaccountsele>("供应商 " + provider, {.code = provider}),
        ledger<Tfprovaccountsele>("2024-05", {.from = mayStart, .to = mayEnd}),
        reconciliation<Tfcustcheck>("客户 " + customer, customer),
        reconciliation<Tfprovcheck>("供应商 " + provider, provider),

        // The registers: the entry page's table in key order, the query page's list.
        registerEntry<Tfcustxx>(),
        registerQuery<Tfcustxx>("", {}, {}),
        registerQuery<Tfcustxx>("建档 2024", yearStart, yearEnd),
        registerEntry<Tfprovxx>(),
        // The entry page's models of the provider shown.
        counted("Tfprovxx", "车型 " + provider,
                ListStatement::of(QStringLiteral("select * from ") + Tfprovxx::ModelsTable,
                                  QueryConditions().equals(Tfprovxx::info().codeField, provider), {})),
        registerQuery<Tfprovxx>("型号 桑塔纳, 2024", yearStart, yearEnd, "桑塔纳"),
        registerQuery<Tfperson>("性别 男", {}, {}, "男"),

        salesFigures({}, {}),
        salesFigures(yearStart, yearEnd),
        salesmanFigures({}, {}),
        salesmanFigures(yearStart, yearEnd),
        taxList({}, {}),
        taxList(mayStart, mayEnd),
    };
}
