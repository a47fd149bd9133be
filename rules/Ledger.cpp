#include "Ledger.h"
#include "Clock.h"
#include "Db.h"
#include "Format.h"

#include <QSqlQuery>

const LedgerSide &LedgerSide::customers()
{
    static const LedgerSide side{
        QStringLiteral("ccustaccount"), QStringLiteral("caccountid"), QStringLiteral("customerid"),
        QStringLiteral("custname"), QStringLiteral("custaccttype"), QStringLiteral("salecont_no"), &Partners::customers(),
        QStringLiteral("income"), QStringLiteral("outgo"), true,
        {QStringLiteral("ccustaccpre"), QStringLiteral("ccustacc_s"), QStringLiteral("ks"),
         QStringLiteral("ccustaccount"), QStringLiteral("caccountid")},
        QStringLiteral("对帐结果：该客户预付金额剩余："), QStringLiteral("对帐结果：该客户欠公司：")};
    return side;
}

const LedgerSide &LedgerSide::providers()
{
    static const LedgerSide side{
        QStringLiteral("cprovaccount"), QStringLiteral("paccountid"), QStringLiteral("providerid"),
        QStringLiteral("provname"), QStringLiteral("provaccttype"), QStringLiteral("buycont_no"), &Partners::providers(),
        QStringLiteral("outgo"), QStringLiteral("income"), false,
        {QStringLiteral("cprovaccpre"), QStringLiteral("cprovacc_s"), QStringLiteral("ps"),
         QStringLiteral("cprovaccount"), QStringLiteral("paccountid")},
        QStringLiteral("对帐结果：预付该供应商金额剩余："), QStringLiteral("对帐结果：公司欠该供应商：")};
    return side;
}

namespace {

// A stored amount in ten-thousandths of a yuan: the database sums these
// exactly (33.83 + 67.67 is 101.5, not 101.49999...).
QString units(const QString &column)
{
    return QStringLiteral("cast(round(%1*10000) as integer)").arg(column);
}

// Which entries a reconciliation counts and closes.
QString openVerified(const LedgerSide &side)
{
    return QStringLiteral(" where %1=:aa and isaffirm and not ischeck").arg(side.codeField);
}

std::optional<Money> sumOf(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    return Money::fromUnits(value.toLongLong());
}

QString text(const std::optional<Money> &sum) { return sum ? sum->toString() : QString(); }

} // namespace

qint64 AccountSums::balance() const
{
    const auto rounded = [](const std::optional<Money> &sum) {
        return sum ? sum->roundedToYuan() : Money();
    };
    const Money b = rounded(payments) - rounded(fees) - rounded(charges);
    return b.units() / Money::Scale;
}

ListStatement accountSumsStatement(const LedgerSide &side, const QString &code)
{
    const QString pay = Db::identifier(side.paymentColumn);
    const QString charge = Db::identifier(side.chargeColumn);
    const QString fees = side.feesCharged
            ? QStringLiteral("sum(case when isprepay=%1 then %2 end)")
                      .arg(sqlCode(EntryKind::AdvancedFee), units(charge))
            : QStringLiteral("null");
    return {(QStringLiteral("select count(*), sum(case when isprepay in ")
             + sqlCodes({EntryKind::Payment, EntryKind::Credit})
             + QStringLiteral(" then %1 end), %2, sum(case when isprepay=") + sqlCode(EntryKind::CarCharge)
             + QStringLiteral(" then %3 end), sum(%4), sum(%5) from %6"))
                    .arg(units(pay), fees, units(charge), units(QStringLiteral("income")),
                         units(QStringLiteral("outgo")), Db::identifier(side.table))
                    + openVerified(side),
            {{QStringLiteral(":aa"), code}}};
}

AccountSums accountSums(const LedgerSide &side, const QString &code)
{
    const ListStatement figures = accountSumsStatement(side, code);
    QSqlQuery q = Db::exec(figures.sql, figures.binds);
    AccountSums sums;
    if (!q.next())
        return sums;
    sums.entries = q.value(0).toLongLong();
    sums.payments = sumOf(q.value(1));
    sums.fees = sumOf(q.value(2));
    sums.charges = sumOf(q.value(3));
    sums.income = sumOf(q.value(4)).value_or(Money());
    sums.outgo = sumOf(q.value(5)).value_or(Money());
    return sums;
}

QString paymentsPanel(const LedgerSide &side, const AccountSums &sums)
{
    QString panel = QStringLiteral("预付金额：") + text(sums.payments);
    if (side.feesCharged)
        panel += QStringLiteral("代垫：") + text(sums.fees);
    return panel;
}

QString chargesPanel(const AccountSums &sums)
{
    return QStringLiteral("车款累计：") + text(sums.charges);
}

QString reconciliationText(const LedgerSide &side, qint64 balance)
{
    if (balance == 0)
        return QStringLiteral("帐目平衡！");
    // The magnitude of any qint64, the most negative included.
    const quint64 magnitude = balance < 0 ? 0 - quint64(balance) : quint64(balance);
    return (balance > 0 ? side.creditText : side.debtText) + QString::number(magnitude)
            + QStringLiteral("元");
}

std::optional<qint64> reconcileAccount(const LedgerSide &side, const QString &code,
                                       const QString &name, const QString &handler,
                                       const AccountSums &shown)
{
    // The write lock is taken at once: no entry can arrive, be verified or be
    // closed elsewhere between this count and the close.
    Db::Transaction t;
    const AccountSums now = accountSums(side, code);
    if (!(now == shown))
        return std::nullopt;
    const qint64 balance = now.balance();
    const QVariant today = Fmt::sqlDate(Clock::today());
    Db::exec(QStringLiteral("update %1 set ischeck=1, check_recorder=:bb, check_date=:today")
                     .arg(Db::identifier(side.table))
                     + openVerified(side),
             {{QStringLiteral(":aa"), code},
              {QStringLiteral(":bb"), handler},
              {QStringLiteral(":today"), today}});
    if (balance != 0) {
        const QString number = nextNumber(side.numbering);
        Db::exec(QStringLiteral("insert into %1 (%2, %3, %4, %5, %6, in_date, affirm_recorder,"
                                " isaffirm, ischeck, isprepay)"
                                " values (:pano1, :a, :b, :c, :d, :today, :e, 1, 0, :kind)")
                         .arg(Db::identifier(side.table), side.keyField, side.codeField,
                              side.nameField, side.paymentColumn, side.typeField),
                 {{QStringLiteral(":pano1"), number},
                  {QStringLiteral(":a"), code},
                  {QStringLiteral(":b"), name.isEmpty() ? QVariant() : QVariant(name)},
                  {QStringLiteral(":c"), Money::fromYuan(balance).toVariant()},
                  {QStringLiteral(":d"), QStringLiteral("上次余额")},
                  {QStringLiteral(":today"), today},
                  {QStringLiteral(":e"), handler},
                  {QStringLiteral(":kind"), codeValue(EntryKind::Credit)}});
    }
    t.commit();
    return balance;
}

bool chargeOpen(const LedgerSide &side, const QVariant &key)
{
    return Db::scalar(QStringLiteral("select count(*) from %1 where %2=:k and isprepay=")
                                  .arg(Db::identifier(side.table), Db::identifier(side.keyField))
                              + sqlCode(EntryKind::CarCharge)
                              + QStringLiteral(" and not isaffirm and not ischeck"),
                      {{QStringLiteral(":k"), key}})
               .toInt()
           > 0;
}

ChargeConfirmation confirmCharge(const LedgerSide &side, DataSet &entry)
{
    Db::Transaction t;
    if (!chargeOpen(side, entry.value(side.keyField))) {
        t.commit();
        return ChargeConfirmation::AlreadyVerified;
    }
    entry.setValue(QStringLiteral("isaffirm"), 1);
    entry.setValue(QStringLiteral("ischeck"), 0);
    entry.setValue(QStringLiteral("isprepay"), codeValue(EntryKind::CarCharge));
    if (!entry.post())
        return ChargeConfirmation::NotStored;
    t.commit();
    return ChargeConfirmation::Confirmed;
}

int chargeBooking(const LedgerSide &side, const QVariant &serial, const QVariant &key)
{
    return Db::scalar(QStringLiteral("select count(*) from %1 where certificate_no=:s and isprepay=%2"
                                     " and rowid<=(select rowid from %1 where %3=:k)")
                              .arg(Db::identifier(side.table), sqlCode(EntryKind::CarCharge),
                                   Db::identifier(side.keyField)),
                      {{QStringLiteral(":s"), serial}, {QStringLiteral(":k"), key}})
        .toInt();
}
