#include "CarMoves.h"
#include "CarScope.h"
#include "ContractProgress.h"
#include "DMsales.h"
#include "Ledger.h"
#include "Db.h"
#include "Format.h"
#include "Money.h"

#include <QSqlQuery>

namespace {

const QString RefundType = QStringLiteral("退货款项");

// An unverified, open car charge with the car's serial as its voucher: no
// type text and no date; finance verifies it.
void bookCharge(const LedgerSide &ledger, const QVariant &partner, const QVariant &name,
                const QVariant &serial, const QVariant &invoice, const QVariant &amount,
                const QVariant &contract)
{
    const QString number = nextNumber(ledger.numbering);
    Db::exec(QStringLiteral("insert into %1 (%2, %3, %4, certificate_no, invoice_no, %5, %6, isaffirm,"
                            " ischeck, isprepay) values (:no, :partner, :name, :serial, :invoice, :amount,"
                            " :contract, 0, 0, :kind)")
                     .arg(Db::identifier(ledger.table), Db::identifier(ledger.keyField),
                          Db::identifier(ledger.codeField), Db::identifier(ledger.nameField),
                          Db::identifier(ledger.chargeColumn), Db::identifier(ledger.contractField)),
             {{QStringLiteral(":no"), number},
              {QStringLiteral(":partner"), partner},
              {QStringLiteral(":name"), name},
              {QStringLiteral(":serial"), serial},
              {QStringLiteral(":invoice"), invoice},
              {QStringLiteral(":amount"), amount},
              {QStringLiteral(":contract"), contract},
              {QStringLiteral(":kind"), codeValue(EntryKind::CarCharge)}});
}

} // namespace

// ---------------------------------------------------------------- in-stock

void bookReceipt(const QString &carinNo)
{
    Db::Transaction t;
    QVariant provider, name, serial, invoice, price, contract;
    if (!frmDMcarsales->QueryFirstRow(QStringLiteral("select r.providerid, r.provname, r.carserial_no,"
                                                     " r.buyinvoice_no, c.carprice, r.buycontract_no"
                                                     " from carinstock r"
                                                     " left join carinfor c on c.carserial_no=r.carserial_no"
                                                     " where r.carin_no=:no"),
                                      {&provider, &name, &serial, &invoice, &price, &contract},
                                      {{QStringLiteral(":no"), carinNo}}))
        return;
    bookCharge(LedgerSide::providers(), provider, name, serial, invoice, price, contract);
    finishWhenDelivered(ContractDeliveries::purchases(), contract);
    t.commit();
}

// ---------------------------------------------------------------- sale

bool carInStock(const QVariant &serial)
{
    return !Db::scalar(QStringLiteral("select 1 from carinfor where carserial_no=:aa and ") + CarScope::InStock,
                       {{QStringLiteral(":aa"), serial}})
                .isNull();
}

bool bookSale(const QString &caroutNo)
{
    Db::Transaction t;
    QVariant serial, customer, name, invoice, price, contract;
    if (!frmDMcarsales->QueryFirstRow(QStringLiteral("select carserial_no, customerid, custname, saleinvoice_no,"
                                                     " saleprice, salecontract_no from caroutstock"
                                                     " where carout_no=:no"),
                                      {&serial, &customer, &name, &invoice, &price, &contract},
                                      {{QStringLiteral(":no"), caroutNo}}))
        return false;
    // Only from stock: another window may have sold or returned the car meanwhile.
    if (Db::execCount(QStringLiteral("update carinfor set carstatus=:sold where carserial_no=:aa and ")
                          + CarScope::InStock,
                      {{QStringLiteral(":sold"), codeValue(CarStatus::Sold)}, {QStringLiteral(":aa"), serial}})
        != 1)
        return false;

    bookCharge(LedgerSide::customers(), customer, name, serial, invoice, price, contract);
    finishWhenDelivered(ContractDeliveries::sales(), contract);
    t.commit();
    return true;
}

// ---------------------------------------------------------------- returns

const CarReturn &CarReturn::toProvider()
{
    static const CarReturn kind{
        QStringLiteral("carinstock"), QStringLiteral("carin_no"), QStringLiteral("instock_date"),
        QStringLiteral("buyrecorder"), &LedgerSide::providers(),
        {CarStatus::InStock, CarStatus::ReturnedByCustomer}, CarStatus::ReturnedToProvider,
        // The charge the in-stock wrote: the car's price.
        QStringLiteral("c.carprice")};
    return kind;
}

const CarReturn &CarReturn::byCustomer()
{
    static const CarReturn kind{
        QStringLiteral("caroutstock"), QStringLiteral("carout_no"), QStringLiteral("outstock_date"),
        QStringLiteral("salerecorder"), &LedgerSide::customers(),
        {CarStatus::Sold}, CarStatus::ReturnedByCustomer,
        // The charge the sale wrote: the current sale's price.
        QStringLiteral("r.saleprice")};
    return kind;
}

QVariant latestRecord(const CarReturn &kind, const QString &serial)
{
    // The order of salesview: the latest by date, then by number.
    const QString key = Db::identifier(kind.recordKey);
    return Db::scalar(QStringLiteral("SELECT %1 FROM %2 WHERE carserial_no = :serial"
                                     " ORDER BY %3 DESC, %1 DESC LIMIT 1")
                              .arg(key, Db::identifier(kind.recordTable), Db::identifier(kind.dateField)),
                      {{QStringLiteral(":serial"), serial}});
}

bool returnCar(const CarReturn &kind, const QString &serial, const QVariant &record, const QDate &day,
               const QVariant &handler, const QVariant &reason)
{
    const QString table = Db::identifier(kind.recordTable);
    const QString key = Db::identifier(kind.recordKey);
    const LedgerSide &ledger = *kind.ledger;
    // The record names its partner as the ledger does.
    const QString code = Db::identifier(ledger.codeField);
    const QString name = Db::identifier(ledger.nameField);

    Db::Transaction t;

    // Read again here: the car and its record as they stand now, not as the
    // picker showed them.
    if (record.isNull() || latestRecord(kind, serial) != record)
        return false;
    QSqlQuery q = Db::exec(QStringLiteral("SELECT c.carstatus, r.%1, r.%2, %3 FROM carinfor c"
                                          " JOIN %4 r ON r.carserial_no = c.carserial_no"
                                          " WHERE c.carserial_no = :serial AND r.%5 = :record")
                                   .arg(code, name, kind.amountSource, table, key),
                           {{QStringLiteral(":serial"), serial}, {QStringLiteral(":record"), record}});
    if (!q.next())
        return false;
    const QVariant status = q.value(0);
    const QVariant partnerCode = q.value(1), partnerName = q.value(2), price = q.value(3);
    q.finish();
    const auto now = codeOf<CarStatus>(status);
    if (!now || !kind.fromStatuses.contains(*now))
        return false;

    const QString date = Fmt::date(day);

    Db::exec(QStringLiteral("UPDATE carinfor SET carstatus = :status, remarks = :reason"
                            " WHERE carserial_no = :serial"),
             {{QStringLiteral(":status"), codeValue(kind.newStatus)},
              {QStringLiteral(":reason"), reason},
              {QStringLiteral(":serial"), serial}});

    const QString number = nextNumber(ledger.numbering);
    Db::exec(QStringLiteral("INSERT INTO %1 (%2, %3, %4, %5, %6, account_date, affirm_recorder,"
                            " isaffirm, in_date, ischeck, isprepay)"
                            " VALUES (:a1, :a2, :a3, :a4, :a5, :a6, :a7, :a8, :a9, :a10, :a11)")
                     .arg(Db::identifier(ledger.table), Db::identifier(ledger.keyField), code, name,
                          Db::identifier(ledger.typeField), Db::identifier(ledger.paymentColumn)),
             {{QStringLiteral(":a1"), number},
              {QStringLiteral(":a2"), partnerCode},
              {QStringLiteral(":a3"), partnerName},
              {QStringLiteral(":a4"), RefundType},
              {QStringLiteral(":a5"), price.isNull() ? price : Money::fromVariant(price).toVariant()},
              {QStringLiteral(":a6"), date},
              {QStringLiteral(":a7"), handler},
              {QStringLiteral(":a8"), 1},
              {QStringLiteral(":a9"), date},
              {QStringLiteral(":a10"), 0},
              {QStringLiteral(":a11"), codeValue(EntryKind::Credit)}});

    Db::exec(QStringLiteral("UPDATE %1 SET %2 = :date, %3 = :handler WHERE %4 = :record")
                     .arg(table, Db::identifier(kind.dateField), Db::identifier(kind.handlerField), key),
             {{QStringLiteral(":date"), date},
              {QStringLiteral(":handler"), handler},
              {QStringLiteral(":record"), record}});

    t.commit();
    return true;
}
