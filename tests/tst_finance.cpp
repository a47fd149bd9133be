// Payments, verification and reconciliation: the balance rule without
// widgets, and the real windows driven as a user drives them.
#include "CarMoves.h"
#include "Clock.h"
#include "DMsales.h"
#include "Drive.h"
#include "Modal.h"
#include "Uselecar.h"
#include "Uselecust.h"
#include "Uselesalecont.h"
#include "Db.h"
#include "Errors.h"
#include "Format.h"
#include "Ledger.h"
#include "Ledgers.h"
#include "ListCheck.h"
#include "TestDb.h"
#include "Ubuyinout.h"
#include "Ucarincheck.h"
#include "Ucaroutcheck.h"
#include "Ucustcheck.h"
#include "Ucustoutgo.h"
#include "Udelf.h"
#include "Uprovcheck.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTest>
#include <functional>

namespace {

const QDateTime Now(QDate(2024, 5, 6), QTime(9, 30, 0));
const QString Today = "2024-05-06";

void seed(TestDb &db)
{
    db.insert("ccustomer", {{"customerid", "C001"}, {"custname", "客户甲"}});
    db.insert("ccustomer", {{"customerid", "C002"}, {"custname", "客户乙"}});
    db.insert("cprovider", {{"providerid", "P001"}, {"provname", "供应商乙"}});
    db.insert("csalecontract", {{"salecont_no", "SS24050001"}, {"contract_no", "XS-1"}, {"customerid", "C001"}});
    db.insert("csalecontract", {{"salecont_no", "SS24050002"}, {"contract_no", "XS-2"}, {"customerid", "C002"}});
    db.insert("cbuycontract", {{"buycont_no", "BS24050001"}, {"contract_no", "CG-1"}, {"providerid", "P001"}});
    QVERIFY(db.dm->trsk->locate("personnelid", "admin"));
    Clock::setNow(Now);
}

LedgerEntryRow customer(const QString &key, EntryKind kind, const QVariant &income, const QVariant &outgo,
                        const QString &code = "C001")
{
    return {true, key, code, kind, income, outgo};
}

LedgerEntryRow provider(const QString &key, EntryKind kind, const QVariant &income, const QVariant &outgo,
                        const QString &code = "P001")
{
    return {false, key, code, kind, income, outgo};
}

LedgerEntryRow unverifiedCharge(bool customers, const QString &key, const QString &serial,
                                const QVariant &amount, const QString &code)
{
    LedgerEntryRow r{customers, key, code, EntryKind::CarCharge};
    (customers ? r.outgo : r.income) = amount;
    r.affirmed = false;
    r.certificate = serial;
    return r;
}

// The customer of the worked example: payments 10000 and 2000, a fee of 500,
// a verified sale of 9000 and a sale of 3000 not yet verified; beside them
// rows that must play no part.
void workedCustomer(TestDb &db)
{
    addLedgerEntry(db, customer("K1", EntryKind::Payment, 10000, {}));
    addLedgerEntry(db, customer("K2", EntryKind::Credit, 2000, {}));
    addLedgerEntry(db, customer("K3", EntryKind::AdvancedFee, {}, 500));
    addLedgerEntry(db, customer("K4", EntryKind::CarCharge, {}, 9000));
    addLedgerEntry(db, unverifiedCharge(true, "K5", "VIN5", 3000, "C001"));
    addLedgerEntry(db, customer("K6", EntryKind::Credit, {}, 777));     // an outgo of kind 1
    addLedgerEntry(db, customer("K7", EntryKind::Payment, 888, {}, "C002")); // another customer
    LedgerEntryRow closed = customer("K8", EntryKind::Payment, 999, {});
    closed.checked = true;
    addLedgerEntry(db, closed);
}

QString row(const QString &table, const QString &fields, const QString &where,
            const QVariantMap &binds = {})
{
    QSqlQuery q = Db::exec("SELECT " + fields + " FROM " + table + " WHERE " + where, binds);
    if (!q.next())
        return "none";
    QStringList values;
    for (int i = 0; i < q.record().count(); ++i)
        values << (q.value(i).isNull() ? "null" : Fmt::display(q.value(i), Fmt::StoredDates::AsStored));
    return values.join('|');
}

// A window shown offscreen and made the active one, freed at the end of the
// test unless it closed itself.
template <class W>
struct Window {
    explicit Window(W *window) : w(window)
    {
        w->show();
        (void)QTest::qWaitForWindowExposed(w);
        QApplication::setActiveWindow(w);
    }
    ~Window() { delete w.data(); }
    W *operator->() const { return w.data(); }
    W *get() const { return w.data(); }
    QPointer<W> w;
};

// ------------------------------------------------------------ the entry twins

struct EntryTwin {
    std::function<TLedgerEntry *()> make;
    QString table, key, codeField, nameField, code, name, amountField, typeField, type;
    int kind;
    QString prefix, codeMissing, amountMissing, codeNotFound;
    QString contract, otherContract, contractField, contractNotOwner, contractNotFound;
};

const EntryTwin &entryTwin(const QString &name)
{
    static const EntryTwin custoutgo{[] { return new Tfcustoutgo; }, "ccustaccount", "caccountid",
                                     "customerid", "custname", "C001", "客户甲", "income",
                                     "custaccttype", "现款", 0, "KS", "请输入客户代码!",
                                     "请输入预付金额!", "输入的客户代码不存在!", "XS-1", "XS-2",
                                     "salecont_no", "所选合同并非是该客户签约!", "不存在此销售合同号!"};
    static const EntryTwin buyinout{[] { return new Tfbuyinout; }, "cprovaccount", "paccountid",
                                    "providerid", "provname", "P001", "供应商乙", "outgo",
                                    "provaccttype", "承兑", 0, "PS", "请输入供应商代码!",
                                    "请输入预付金额!", "输入的供应商代码不存在!", "CG-1", "",
                                    "buycont_no", "所选合同并非是该供应商签约!", "不存在此采购合同号!"};
    static const EntryTwin delf{[] { return new Tfdelf; }, "ccustaccount", "caccountid",
                                "customerid", "custname", "C001", "客户甲", "outgo", "custaccttype",
                                "代垫费用", 3, "KS", "请输入客户代码!", "请输入代垫金额!",
                                "输入的客户代码不存在!", "", "", "", "", ""};
    return name == "custoutgo" ? custoutgo : name == "buyinout" ? buyinout : delf;
}

void addEntryTwins()
{
    QTest::addColumn<QString>("twin");
    QTest::newRow("custoutgo") << "custoutgo";
    QTest::newRow("buyinout") << "buyinout";
    QTest::newRow("delf") << "delf";
}

// ------------------------------------------------------------ the check twins

struct CheckTwin {
    std::function<TChargeCheck *()> make;
    bool customers;
    QString table, key, code, dateField;
};

const CheckTwin &checkTwin(const QString &name)
{
    static const CheckTwin in{[] { return new Tfcarincheck; }, false, "cprovaccount", "paccountid",
                              "P001", "in_date"};
    static const CheckTwin out{[] { return new Tfcaroutcheck; }, true, "ccustaccount", "caccountid",
                               "C001", "account_date"};
    return name == "in" ? in : out;
}

void addCheckTwins()
{
    QTest::addColumn<QString>("twin");
    QTest::newRow("in-stock") << "in";
    QTest::newRow("sale") << "out";
}

// Answers the next car picker as a user: notes the cars it lists, then
// chooses the serial with Enter, or leaves with Escape when it is not listed.
struct CarPick {
    explicit CarPick(const QString &serial) : m_serial(serial) {}
    void arm()
    {
        listed.clear();
        whenModal<Tfselecar>([this](Tfselecar *d) {
            DataSet *cars = d->query1;
            for (int i = 0; i < cars->recordCount(); ++i)
                listed << cars->valueAt(i, "carserial_no").toString();
            if (!cars->locate("carserial_no", m_serial)) {
                QTest::keyClick(d, Qt::Key_Escape);
                return;
            }
            d->DBGrid1->setFocus();
            QTest::keyClick(d->DBGrid1, Qt::Key_Return);
        });
    }
    QStringList listed;

private:
    QString m_serial;
};

// Presses "选车" and answers the picker.
void pickCarIn(QWidget *w, CarPick &pick)
{
    pick.arm();
    QVERIFY(Drive::press(w, "SpeedItem1"));
    QApplication::setActiveWindow(w->window()); // back from the dialog, as on a screen
}

} // namespace

class TestFinance : public QObject {
    Q_OBJECT

private slots:
    // The balance rule, without widgets.
    void roundingEachSum_data();
    void roundingEachSum();
    void customerWorkedExampleTwoRounds();
    void providerWorkedExampleCarriesADebt();
    void emptyAccountIsEven();
    void changedEntriesAreNotReconciled_data();
    void changedEntriesAreNotReconciled();
    void balanceBeyond32Bits();
    void failedNumberingWritesNothing();

    // Payments, prepayments and advanced fees.
    void entryAddSaveStoresVerifiedOpenRow_data() { addEntryTwins(); }
    void entryAddSaveStoresVerifiedOpenRow();
    void entryRefusals_data();
    void entryRefusals();
    void amountThatIsNoNumber();
    void cancelGivesTheNumberBack_data() { addEntryTwins(); }
    void cancelGivesTheNumberBack();
    void closeQuestion();
    void codeLookedUpOnLeaving();
    void pickersFillCodeNameAndContract();
    void feeWindowsOpenedFromThePrepayment();
    void keyboardOnlyPrepayment();

    // Verification.
    void verifyLowerKeyFirstAndHandlerCheck_data() { addCheckTwins(); }
    void verifyLowerKeyFirstAndHandlerCheck();
    void verifyShowsTheRecordThatBookedEachCharge_data();
    void verifyShowsTheRecordThatBookedEachCharge();
    void verifyCancelAndClose();
    void verifiedElsewhereIsNotReopened();

    // Reconciliation windows.
    void reconcileThroughTheWindow();
    void displayListsItsStatements();
    void providerWindowTexts();
    void reconcileTwiceOrAfterChanges();
    void displayAndReconcileRefusals();
    void keyboardOnlyVerificationAndReconciliation();
};

// ---------------------------------------------------------------- balance rule

void TestFinance::roundingEachSum_data()
{
    QTest::addColumn<QVariantList>("payments");
    QTest::addColumn<QVariantList>("charges");
    QTest::addColumn<qint64>("balance");
    QTest::newRow("100.5 gives 100") << QVariantList{100.5} << QVariantList{} << qint64(100);
    QTest::newRow("101.5 gives 102") << QVariantList{101.5} << QVariantList{} << qint64(102);
    QTest::newRow("33.83 + 67.67 gives 102") << QVariantList{33.83, 67.67} << QVariantList{} << qint64(102);
    QTest::newRow("0.1 + 0.2 + 0.2 gives 0") << QVariantList{0.1, 0.2, 0.2} << QVariantList{} << qint64(0);
    QTest::newRow("charges 100.5 give -100") << QVariantList{} << QVariantList{100.5} << qint64(-100);
    // Each sum is rounded before the subtraction: 100 - 0, not round(100.0).
    QTest::newRow("each sum rounded alone") << QVariantList{100.5} << QVariantList{0.5} << qint64(100);
    QTest::newRow("2.5 - 1.5") << QVariantList{2.5} << QVariantList{1.5} << qint64(0);
}

void TestFinance::roundingEachSum()
{
    QFETCH(QVariantList, payments);
    QFETCH(QVariantList, charges);
    QFETCH(qint64, balance);
    TestDb db;
    int n = 0;
    for (const QVariant &p : payments)
        addLedgerEntry(db, customer(QString("K%1").arg(++n), EntryKind::Payment, p, {}));
    for (const QVariant &c : charges)
        addLedgerEntry(db, customer(QString("K%1").arg(++n), EntryKind::CarCharge, {}, c));
    QCOMPARE(accountSums(LedgerSide::customers(), "C001").balance(), balance);
}

void TestFinance::customerWorkedExampleTwoRounds()
{
    TestDb db;
    seed(db);
    workedCustomer(db);
    const LedgerSide &side = LedgerSide::customers();
    const AccountSums sums = accountSums(side, "C001");
    QCOMPARE(sums.entries, qint64(5)); // K1-K4 and K6
    QCOMPARE(paymentsPanel(side, sums), QString("预付金额：12000代垫：500"));
    QCOMPARE(chargesPanel(sums), QString("车款累计：9000"));
    QCOMPARE(sums.balance(), qint64(2500));

    QCOMPARE(reconcileAccount(side, "C001", "客户甲", "李四", sums), std::optional<qint64>(2500));
    QCOMPARE(reconciliationText(side, 2500), QString("对帐结果：该客户预付金额剩余：2500元"));
    // Every verified open entry of the customer is closed, of every kind.
    QCOMPARE(db.count("ccustaccount", "ischeck=1 AND check_recorder='李四' AND check_date=:d",
                      {{":d", Today}}),
             5);
    // The charge not yet verified, the closed entry and another customer's stay as they were.
    QCOMPARE(row("ccustaccount", "ischeck, check_date", "caccountid='K5'"), QString("0|null"));
    QCOMPARE(row("ccustaccount", "check_date", "caccountid='K8'"), QString("null"));
    QCOMPARE(row("ccustaccount", "ischeck", "caccountid='K7'"), QString("0"));
    // The carried entry.
    const QString carried = "custaccttype='上次余额'";
    QCOMPARE(db.count("ccustaccount", carried), 1);
    QCOMPARE(row("ccustaccount",
                 "customerid, custname, income, outgo, in_date, affirm_recorder, isaffirm, ischeck, isprepay",
                 carried),
             QString("C001|客户甲|2500|null|%1|李四|1|0|1").arg(Today));
    QVERIFY(db.scalar("SELECT caccountid FROM ccustaccount WHERE " + carried).toString().startsWith("KS"));

    // Second round: the sale of 3000 is verified; the customer now owes 500.
    db.exec("UPDATE ccustaccount SET isaffirm=1 WHERE caccountid='K5'");
    const AccountSums second = accountSums(side, "C001");
    QCOMPARE(paymentsPanel(side, second), QString("预付金额：2500代垫："));
    QCOMPARE(chargesPanel(second), QString("车款累计：3000"));
    QCOMPARE(reconcileAccount(side, "C001", "客户甲", "李四", second), std::optional<qint64>(-500));
    QCOMPARE(reconciliationText(side, -500), QString("对帐结果：该客户欠公司：500元"));
    QCOMPARE(db.scalar("SELECT income FROM ccustaccount WHERE ischeck=0 AND " + carried).toDouble(), -500.0);
    QCOMPARE(db.count("ccustaccount", "customerid='C001' AND isaffirm AND NOT ischeck"), 1);
}

void TestFinance::providerWorkedExampleCarriesADebt()
{
    TestDb db;
    seed(db);
    const LedgerSide &side = LedgerSide::providers();
    addLedgerEntry(db, provider("P1", EntryKind::Payment, {}, 50000));
    addLedgerEntry(db, provider("P2", EntryKind::CarCharge, 80000, {}));
    addLedgerEntry(db, provider("P3", EntryKind::Payment, 111, {}));     // an income of kind 0
    addLedgerEntry(db, provider("P4", EntryKind::AdvancedFee, 222, 333)); // no fees on this side
    const AccountSums sums = accountSums(side, "P001");
    QCOMPARE(paymentsPanel(side, sums), QString("预付金额：50000"));
    QCOMPARE(chargesPanel(sums), QString("车款累计：80000"));
    QCOMPARE(reconcileAccount(side, "P001", "供应商乙", "王五", sums), std::optional<qint64>(-30000));
    QCOMPARE(reconciliationText(side, -30000), QString("对帐结果：公司欠该供应商：30000元"));
    QCOMPARE(reconciliationText(side, 70), QString("对帐结果：预付该供应商金额剩余：70元"));
    QCOMPARE(row("cprovaccount", "providerid, provname, outgo, income, isprepay",
                 "provaccttype='上次余额'"),
             QString("P001|供应商乙|-30000|null|1"));
    // The next display counts the debt among the payments.
    const AccountSums next = accountSums(side, "P001");
    QCOMPARE(paymentsPanel(side, next), QString("预付金额：-30000"));
    QCOMPARE(next.balance(), qint64(-30000));
}

void TestFinance::emptyAccountIsEven()
{
    TestDb db;
    seed(db);
    addLedgerEntry(db, unverifiedCharge(true, "K1", "VIN1", 5000, "C001"));
    const LedgerSide &side = LedgerSide::customers();
    const AccountSums sums = accountSums(side, "C001");
    QCOMPARE(paymentsPanel(side, sums), QString("预付金额：代垫："));
    QCOMPARE(chargesPanel(sums), QString("车款累计："));
    QCOMPARE(paymentsPanel(LedgerSide::providers(), accountSums(LedgerSide::providers(), "P001")),
             QString("预付金额："));
    QCOMPARE(reconcileAccount(side, "C001", "客户甲", "李四", sums), std::optional<qint64>(0));
    QCOMPARE(reconciliationText(side, 0), QString("帐目平衡！"));
    QCOMPARE(db.count("ccustaccount"), 1);
    QCOMPARE(db.count("ccustaccount", "ischeck=1"), 0);
}

void TestFinance::changedEntriesAreNotReconciled_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("an entry added") << "INSERT INTO ccustaccount (caccountid, customerid, income, isprepay,"
                                       " isaffirm, ischeck) VALUES ('K9', 'C001', 100, 0, 1, 0)";
    QTest::newRow("a charge verified") << "UPDATE ccustaccount SET isaffirm=1 WHERE caccountid='K5'";
    QTest::newRow("an entry closed elsewhere") << "UPDATE ccustaccount SET ischeck=1 WHERE caccountid='K1'";
    QTest::newRow("an amount changed") << "UPDATE ccustaccount SET outgo=9001 WHERE caccountid='K4'";
    QTest::newRow("an uncounted column changed") << "UPDATE ccustaccount SET outgo=1 WHERE caccountid='K6'";
}

void TestFinance::changedEntriesAreNotReconciled()
{
    QFETCH(QString, change);
    TestDb db;
    seed(db);
    workedCustomer(db);
    const LedgerSide &side = LedgerSide::customers();
    const AccountSums shown = accountSums(side, "C001");
    db.exec(change);
    const QString changed = row("ccustaccount", "group_concat(caccountid || ischeck)", "1");
    QVERIFY(!reconcileAccount(side, "C001", "客户甲", "李四", shown));
    // Nothing closed, nothing carried.
    QCOMPARE(row("ccustaccount", "group_concat(caccountid || ischeck)", "1"), changed);
    QCOMPARE(db.count("ccustaccount", "custaccttype='上次余额'"), 0);
    QCOMPARE(db.count("ccustaccount", "check_date IS NOT NULL"), 0);
    // Reconciled twice on one count: the second finds the carried entry and refuses.
    const AccountSums now = accountSums(side, "C001");
    QVERIFY(reconcileAccount(side, "C001", "客户甲", "李四", now));
    QVERIFY(!reconcileAccount(side, "C001", "客户甲", "李四", now));
    QCOMPARE(db.count("ccustaccount", "custaccttype='上次余额'"), 1);
}

void TestFinance::balanceBeyond32Bits()
{
    TestDb db;
    seed(db);
    addLedgerEntry(db, customer("K1", EntryKind::Payment, 3000000000.5, {}));
    addLedgerEntry(db, customer("K2", EntryKind::Payment, 2000000000.0, {}));
    const LedgerSide &side = LedgerSide::customers();
    const AccountSums sums = accountSums(side, "C001");
    QCOMPARE(sums.balance(), qint64(5000000000));
    QCOMPARE(reconcileAccount(side, "C001", "客户甲", "李四", sums), std::optional<qint64>(5000000000));
    QCOMPARE(reconciliationText(side, 5000000000), QString("对帐结果：该客户预付金额剩余：5000000000元"));
    QCOMPARE(row("ccustaccount", "income", "custaccttype='上次余额'"), QString("5000000000"));
}

void TestFinance::failedNumberingWritesNothing()
{
    TestDb db;
    seed(db);
    workedCustomer(db);
    // No number for the carried entry.
    db.exec("DELETE FROM XTDH");
    const LedgerSide &side = LedgerSide::customers();
    const AccountSums sums = accountSums(side, "C001");
    QVERIFY_THROWS_EXCEPTION(AppError, reconcileAccount(side, "C001", "客户甲", "李四", sums));
    QCOMPARE(db.count("ccustaccount", "ischeck=1"), 1); // K8 only, as before
    QCOMPARE(accountSums(side, "C001"), sums);
}

// ---------------------------------------------------------------- entries

void TestFinance::entryAddSaveStoresVerifiedOpenRow()
{
    QFETCH(QString, twin);
    const EntryTwin &t = entryTwin(twin);
    TestDb db;
    seed(db);
    Window w(t.make());
    QVERIFY(!w->ComboEdit1->isEnabled());
    QVERIFY(!w->SpeedItem5->isEnabled());
    QVERIFY(Drive::press(w.get(), "SpeedItem1"));
    const QString number = w->DBText1->text();
    QVERIFY(number.startsWith(t.prefix) && number.endsWith("0001"));
    QCOMPARE(db.count(t.table), 1); // stored at once with only its number
    QVERIFY(!w->SpeedItem1->isEnabled());
    QVERIFY(!w->SpeedItem7->isEnabled());
    QCOMPARE(QApplication::focusWidget(), w->ComboEdit1);

    QVERIFY(Drive::type(w.get(), "ComboEdit1", t.code));
    Drive::leave(w->ComboEdit1);
    QCOMPARE(w->DBEdit1->text(), t.name);
    if (w->DBComboBox1) {
        w->DBComboBox1->setCurrentIndex(w->DBComboBox1->findText(t.type));
        emit w->DBComboBox1->activated(w->DBComboBox1->currentIndex());
    }
    QCOMPARE(w->DBComboBox1 != nullptr, twin != "delf");
    QCOMPARE(w->ComboEdit2 != nullptr, twin != "delf");
    QCOMPARE(w->SpeedItem2 != nullptr, twin == "custoutgo");
    QVERIFY(Drive::type(w.get(), "DBEdit2", "PZ-7"));
    if (w->ComboEdit2)
        QVERIFY(Drive::type(w.get(), "ComboEdit2", t.contract));
    QVERIFY(Drive::type(w.get(), "DBEdit3", "FP-9"));
    QVERIFY(Drive::type(w.get(), "DBEdit4", "12345.67"));
    QVERIFY(Drive::type(w.get(), "DBEdit5", "张三"));
    QVERIFY(Drive::press(w.get(), "SpeedItem5"));
    QCOMPARE(db.messages.texts(), QStringList());
    QVERIFY(w->SpeedItem1->isEnabled());
    QVERIFY(!w->ComboEdit1->isEnabled());
    QVERIFY(w->ComboEdit1->text().isEmpty());

    const QString stamp = Fmt::dateTime(Now);
    QCOMPARE(row(t.table,
                 QString("%1, %2, %3, %4, certificate_no, invoice_no, affirm_recorder, account_date,"
                         " in_date, isaffirm, ischeck, isprepay")
                         .arg(t.codeField, t.nameField, t.amountField, t.typeField),
                 t.key + "=:n", {{":n", number}}),
             QString("%1|%2|12345.67|%3|PZ-7|FP-9|张三|%4|%4|1|0|%5")
                     .arg(t.code, t.name, t.type, stamp)
                     .arg(t.kind));
    const QString other = t.amountField == "income" ? "outgo" : "income";
    QCOMPARE(row(t.table, other + ", check_date, check_recorder", "1"), QString("null|null|null"));
    if (!t.contractField.isEmpty())
        QCOMPARE(db.scalar("SELECT " + t.contractField + " FROM " + t.table).toString(), t.contract);
}

void TestFinance::entryRefusals_data()
{
    QTest::addColumn<QString>("twin");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("contract");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    for (const char *name : {"custoutgo", "buyinout", "delf"}) {
        const EntryTwin &t = entryTwin(name);
        const QString n = name;
        QTest::newRow(qPrintable(n + ": no code")) << n << "" << "5" << "" << t.codeMissing << "ComboEdit1";
        QTest::newRow(qPrintable(n + ": blanks for a code")) << n << "   " << "5" << "" << t.codeMissing << "ComboEdit1";
        QTest::newRow(qPrintable(n + ": no amount")) << n << t.code << "" << "" << t.amountMissing << "DBEdit4";
        QTest::newRow(qPrintable(n + ": unknown code")) << n << "X999" << "5" << "" << t.codeNotFound << "ComboEdit1";
        if (t.contractField.isEmpty())
            continue;
        QTest::newRow(qPrintable(n + ": no such contract")) << n << t.code << "5" << "NOPE" << t.contractNotOwner << "ComboEdit1";
        if (!t.otherContract.isEmpty())
            QTest::newRow(qPrintable(n + ": another's contract")) << n << t.code << "5" << t.otherContract
                                                                  << t.contractNotOwner << "ComboEdit1";
    }
}

void TestFinance::entryRefusals()
{
    QFETCH(QString, twin);
    QFETCH(QString, code);
    QFETCH(QString, amount);
    QFETCH(QString, contract);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    const EntryTwin &t = entryTwin(twin);
    TestDb db;
    seed(db);
    Window w(t.make());
    QVERIFY(Drive::press(w.get(), "SpeedItem1"));
    QVERIFY(Drive::type(w.get(), "ComboEdit1", code));
    QVERIFY(Drive::type(w.get(), "DBEdit4", amount));
    if (w->ComboEdit2)
        QVERIFY(Drive::type(w.get(), "ComboEdit2", contract));
    db.messages.clear();
    QVERIFY(Drive::press(w.get(), "SpeedItem5"));
    QCOMPARE(db.messages.texts(), QStringList{message});
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Warning);
    QCOMPARE(db.messages.messages.first().title, QString("提示"));
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    // Still being edited with what was typed; nothing but the number stored.
    QVERIFY(w->table()->isEditing());
    QVERIFY(w->SpeedItem5->isEnabled());
    QCOMPARE(w->ComboEdit1->text(), code);
    QCOMPARE(row(t.table, t.codeField + ", isaffirm, isprepay", "1"), QString("null|0|null"));
}

void TestFinance::amountThatIsNoNumber()
{
    TestDb db;
    seed(db);
    Window w(new Tfcustoutgo);
    QVERIFY(Drive::press(w.get(), "SpeedItem1"));
    QVERIFY(Drive::type(w.get(), "ComboEdit1", "C001"));
    // Typed: refused as it is typed, with a message naming the field.
    QVERIFY(Drive::type(w.get(), "DBEdit4", "12a"));
    QCOMPARE(w->DBEdit4->text(), QString("12"));
    QCOMPARE(db.messages.texts(), QStringList{"预付金额必须是数字，最多4位小数！"});
    // Put there otherwise (pasted past the check): refused at save, never stored.
    w->DBEdit4->setText("1,5");
    db.messages.clear();
    QVERIFY(Drive::press(w.get(), "SpeedItem5"));
    QCOMPARE(db.messages.texts(), QStringList{"预付金额必须是数字，最多4位小数！"});
    QCOMPARE(QApplication::focusWidget(), w->DBEdit4);
    QVERIFY(w->table()->isEditing());
    QVERIFY(db.scalar("SELECT income FROM ccustaccount").isNull());
    QCOMPARE(db.count("ccustaccount", "isaffirm=1"), 0);
    // A lone sign counts as no amount.
    w->DBEdit4->setText("-");
    db.messages.clear();
    QVERIFY(Drive::press(w.get(), "SpeedItem5"));
    QCOMPARE(db.messages.texts(), QStringList{"预付金额必须是数字，最多4位小数！"});
    // Zero and negative amounts pass.
    QVERIFY(Drive::type(w.get(), "DBEdit4", "-0.5"));
    db.messages.clear();
    QVERIFY(Drive::press(w.get(), "SpeedItem5"));
    QCOMPARE(db.messages.texts(), QStringList());
    QCOMPARE(db.scalar("SELECT income FROM ccustaccount").toDouble(), -0.5);
}

void TestFinance::cancelGivesTheNumberBack()
{
    QFETCH(QString, twin);
    const EntryTwin &t = entryTwin(twin);
    TestDb db;
    seed(db);
    Window w(t.make());
    QVERIFY(Drive::press(w.get(), "SpeedItem1"));
    const QString first = w->DBText1->text();
    QVERIFY(Drive::type(w.get(), "ComboEdit1", t.code));
    QVERIFY(Drive::press(w.get(), "SpeedItem3"));
    QCOMPARE(db.count(t.table), 0);
    QVERIFY(w->ComboEdit1->text().isEmpty());
    QVERIFY(!w->table()->isActive());
    QVERIFY(w->SpeedItem7->isEnabled());
    QVERIFY(Drive::press(w.get(), "SpeedItem1"));
    QCOMPARE(w->DBText1->text(), first);
}

void TestFinance::closeQuestion()
{
    TestDb db;
    seed(db);
    Window w(new Tfcustoutgo);
    QVERIFY(Drive::press(w.get(), "SpeedItem1"));
    const QString number = w->DBText1->text();
    // Cancel keeps everything; Yes with no code refuses and stays open.
    db.messages.answer(QMessageBox::Cancel);
    QVERIFY(!w->close());
    QCOMPARE(db.messages.texts(), QStringList{"是否保存?"});
    QCOMPARE(db.messages.messages.first().defaultButton, QMessageBox::Cancel);
    db.messages.clear();
    db.messages.answer(QMessageBox::Yes);
    QVERIFY(!w->close());
    QCOMPARE(db.messages.texts(), (QStringList{"是否保存?", "请输入客户代码!"}));
    QCOMPARE(db.count("ccustaccount"), 1);
    // No deletes the row and gives the number back.
    db.messages.answer(QMessageBox::No);
    QVERIFY(w->close());
    QCOMPARE(db.count("ccustaccount"), 0);
    QCOMPARE(db.count("recycle", "type='ks'"), 1);
    // Yes with a whole entry saves it and closes.
    Window again(new Tfcustoutgo);
    QVERIFY(Drive::press(again.get(), "SpeedItem1"));
    QCOMPARE(again->DBText1->text(), number);
    QVERIFY(Drive::type(again.get(), "ComboEdit1", "C001"));
    QVERIFY(Drive::type(again.get(), "DBEdit4", "10"));
    db.messages.answer(QMessageBox::Yes);
    QVERIFY(again->close());
    QCOMPARE(db.count("ccustaccount", "isaffirm=1 AND income=10"), 1);
}

void TestFinance::codeLookedUpOnLeaving()
{
    TestDb db;
    seed(db);
    Window w(new Tfbuyinout);
    QVERIFY(Drive::press(w.get(), "SpeedItem1"));
    QVERIFY(Drive::type(w.get(), "ComboEdit1", "X9"));
    db.messages.clear();
    // Another window or a menu taking the focus for a while is not leaving.
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(w->ComboEdit1, &away);
    QVERIFY(db.messages.texts().isEmpty());
    Drive::leave(w->ComboEdit1);
    QCOMPARE(db.messages.texts(), QStringList{"输入的供应商代码不存在!"});
    QCOMPARE(QApplication::focusWidget(), w->ComboEdit1);
    QVERIFY(Drive::type(w.get(), "ComboEdit1", " P001 "));
    Drive::leave(w->ComboEdit1);
    QCOMPARE(w->DBEdit1->text(), QString("供应商乙"));
    // A contract number that does not exist is told on leaving; the text stays.
    db.messages.clear();
    QVERIFY(Drive::type(w.get(), "ComboEdit2", "CG-404"));
    Drive::leave(w->ComboEdit2);
    QCOMPARE(db.messages.texts(), QStringList{"不存在此采购合同号!"});
    QCOMPARE(w->ComboEdit2->text(), QString("CG-404"));
    // The contract's provider is compared with the code exactly: its blanks count.
    QVERIFY(Drive::type(w.get(), "ComboEdit2", "cg-1")); // the database compares without regard to case
    QVERIFY(Drive::type(w.get(), "DBEdit4", "7"));
    db.messages.clear();
    QVERIFY(Drive::press(w.get(), "SpeedItem5"));
    QCOMPARE(db.messages.texts(), QStringList{"所选合同并非是该供应商签约!"});
    QCOMPARE(QApplication::focusWidget(), w->ComboEdit1);
    // The name stored is its register's.
    QVERIFY(Drive::type(w.get(), "ComboEdit1", "P001"));
    db.messages.clear();
    QVERIFY(Drive::press(w.get(), "SpeedItem5"));
    QCOMPARE(db.messages.texts(), QStringList());
    QCOMPARE(row("cprovaccount", "providerid, provname, buycont_no, outgo", "1"),
             QString("P001|供应商乙|cg-1|7"));
}

void TestFinance::pickersFillCodeNameAndContract()
{
    TestDb db;
    seed(db);
    Window w(new Tfcustoutgo);
    QVERIFY(Drive::press(w.get(), "SpeedItem1"));
    whenModal<Tfselecust>([](Tfselecust *d) {
        QVERIFY(d->Table1->locate("customerid", "C002"));
        d->BitBtn1->click();
    });
    w->ComboEdit1->clickButton();
    QCOMPARE(w->ComboEdit1->text(), QString("C002"));
    QCOMPARE(w->DBEdit1->text(), QString("客户乙"));
    // Every sales contract is offered, whatever its state.
    db.exec("UPDATE csalecontract SET isfinished=2");
    QStringList offered;
    whenModal<Tfselesalecont>([&](Tfselesalecont *d) {
        for (int i = 0; i < d->query1->recordCount(); ++i)
            offered << d->query1->valueAt(i, "contract_no").toString();
        QVERIFY(d->query1->locate("contract_no", "XS-2"));
        d->BitBtn1->click();
    });
    w->ComboEdit2->clickButton();
    QCOMPARE(offered, (QStringList{"XS-1", "XS-2"}));
    QCOMPARE(w->ComboEdit2->text(), QString("XS-2"));
    QVERIFY(Drive::type(w.get(), "DBEdit4", "300"));
    QVERIFY(Drive::press(w.get(), "SpeedItem5"));
    QCOMPARE(db.messages.texts(), QStringList());
    QCOMPARE(row("ccustaccount", "customerid, custname, salecont_no, income", "1"),
             QString("C002|客户乙|XS-2|300"));
}

void TestFinance::feeWindowsOpenedFromThePrepayment()
{
    TestDb db;
    seed(db);
    Window w(new Tfcustoutgo);
    QVERIFY(Drive::press(w.get(), "SpeedItem2"));
    QPointer<Tfdelf> first = w->fdelf;
    QVERIFY(Drive::press(w.get(), "SpeedItem2"));
    QPointer<Tfdelf> second = w->fdelf;
    QVERIFY(first && second && first != second);
    QVERIFY(second->isWindow() && second->isVisible());
    QCOMPARE(second->windowTitle(), QString("代垫费用管理"));
    // "代垫费用" stays enabled while an entry is edited.
    QVERIFY(Drive::press(w.get(), "SpeedItem1"));
    QVERIFY(w->SpeedItem2->isEnabled());
    QVERIFY(Drive::press(w.get(), "SpeedItem3"));
    // A fee window with an entry being edited keeps the prepayment window open.
    QVERIFY(Drive::press(second.data(), "SpeedItem1"));
    db.messages.answer(QMessageBox::Cancel);
    QVERIFY(!w->close());
    QVERIFY(first.isNull() || !first->isVisible());
    db.messages.answer(QMessageBox::No);
    QVERIFY(w->close());
    QCOMPARE(db.count("ccustaccount"), 0);
}

void TestFinance::keyboardOnlyPrepayment()
{
    TestDb db;
    seed(db);
    Window w(new Tfdelf);
    w->setFocus();
    const auto key = [](int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), m);
        QApplication::processEvents();
    };
    const auto typeHere = [](const QString &text) {
        for (const QChar c : text) {
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
            QApplication::processEvents();
        }
    };
    key(Qt::Key_1, Qt::AltModifier); // 增加
    QCOMPARE(QApplication::focusWidget(), w->ComboEdit1);
    typeHere("c001");
    key(Qt::Key_Return);
    QCOMPARE(w->DBEdit1->text(), QString("客户甲"));
    QCOMPARE(QApplication::focusWidget(), w->DBEdit2);
    key(Qt::Key_Return); // 凭证号
    key(Qt::Key_Return); // 发票号
    QCOMPARE(QApplication::focusWidget(), w->DBEdit4);
    typeHere("800");
    for (int i = 0; i < 3; ++i)
        key(Qt::Key_Return); // the two dates
    QCOMPARE(QApplication::focusWidget(), w->DBEdit5);
    typeHere("Li");
    key(Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w->DBMemo1);
    key(Qt::Key_Return); // Enter in the remarks moves on too
    QVERIFY(w->DBMemo1->toPlainText().isEmpty());
    key(Qt::Key_2, Qt::AltModifier); // 保存
    QCOMPARE(db.messages.texts(), QStringList());
    QCOMPARE(row("ccustaccount", "customerid, outgo, custaccttype, affirm_recorder, isprepay", "1"),
             QString("c001|800|代垫费用|Li|3")); // the code as typed
}

// ---------------------------------------------------------------- verification

void TestFinance::verifyLowerKeyFirstAndHandlerCheck()
{
    QFETCH(QString, twin);
    const CheckTwin &t = checkTwin(twin);
    TestDb db;
    seed(db);
    db.insert("carinfor", {{"carserial_no", "VIN1"}, {"carmodel", "桑塔纳"}, {"carprice", 90000}});
    db.insert("carinfor", {{"carserial_no", "VIN2"}});
    db.insert("carinstock", {{"carin_no", "RS1"}, {"carserial_no", "VIN1"}, {"providerid", "P001"}});
    db.insert("caroutstock", {{"carout_no", "CS1"}, {"carserial_no", "VIN1"}, {"outstock_date", "2024-01-01"}});
    db.insert("caroutstock", {{"carout_no", "CS2"}, {"carserial_no", "VIN1"}, {"outstock_date", "2024-03-01 18:25:46"},
                              {"saleprice", 120000}});
    addLedgerEntry(db, unverifiedCharge(t.customers, "A2", "VIN1", 1000, t.code));
    addLedgerEntry(db, unverifiedCharge(t.customers, "A1", "VIN1", 2000, t.code));
    addLedgerEntry(db, unverifiedCharge(t.customers, "A3", "VIN2", 3000, t.code));
    LedgerEntryRow verified = unverifiedCharge(t.customers, "A0", "VIN1", 4000, t.code);
    verified.affirmed = true;
    verified.checked = true;
    addLedgerEntry(db, verified);
    // The other ledger's charge is not this window's.
    addLedgerEntry(db, unverifiedCharge(!t.customers, "B1", "VIN2", 5000, t.customers ? "P001" : "C001"));

    CarPick pick("VIN1");
    Window w(t.make());
    pickCarIn(w.get(), pick);
    // One line per charge to verify.
    QCOMPARE(pick.listed, (QStringList{"VIN1", "VIN1", "VIN2"}));
    QCOMPARE(w->DBText1->text(), QString("A1")); // the lower entry number first
    QCOMPARE(w->findChild<QLineEdit *>("DBEdit10")->text(), QString("桑塔纳"));
    if (t.customers) { // A1 was booked after A2: beside it the second sale, its date shown as a date
        QCOMPARE(w->findChild<QLineEdit *>("DBEdit1")->text(), QString("CS2"));
        QCOMPARE(w->findChild<QLineEdit *>("DBEdit6")->text(), QString("2024-03-01"));
    }
    QCOMPARE(w->DBDateEdit1->date(), Now.date());
    QVERIFY(w->SpeedItem2->isEnabled());
    QVERIFY(!w->SpeedItem1->isEnabled());

    QVERIFY(Drive::type(w.get(), "DBEdit13", "  "));
    QVERIFY(Drive::press(w.get(), "SpeedItem2"));
    QCOMPARE(db.messages.texts(), QStringList{"请输入经办人!"});
    QCOMPARE(QApplication::focusWidget(), w->DBEdit13);
    QCOMPARE(db.count(t.table, "isaffirm=1"), 1);

    QVERIFY(Drive::type(w.get(), "DBEdit13", "赵六"));
    if (t.customers)
        QVERIFY(Drive::type(w.get(), "DBEdit5", "FP-88"));
    QVERIFY(Drive::press(w.get(), "SpeedItem2"));
    QVERIFY(w->SpeedItem1->isEnabled());
    QVERIFY(!w->ledger()->isActive());
    QCOMPARE(row(t.table, "isaffirm, ischeck, isprepay, affirm_recorder, " + t.dateField, t.key + "='A1'"),
             QString("1|0|2|赵六|%1").arg(Fmt::dateTime(Now)));
    if (t.customers)
        QCOMPARE(db.scalar("SELECT invoice_no FROM ccustaccount WHERE caccountid='A1'").toString(), QString("FP-88"));
    QCOMPARE(row(t.table, "isaffirm", t.key + "='A2'"), QString("0"));
    QCOMPARE(row(t.table, "isaffirm, ischeck", t.key + "='A0'"), QString("1|1"));

    // The car stays listed once, for its other charge.
    pickCarIn(w.get(), pick);
    QCOMPARE(pick.listed, (QStringList{"VIN1", "VIN2"}));
    QCOMPARE(w->DBText1->text(), QString("A2"));
}

void TestFinance::verifyShowsTheRecordThatBookedEachCharge_data()
{
    QTest::addColumn<QString>("twin");
    QTest::addColumn<bool>("firstVerified");
    QTest::addColumn<bool>("numberGivenBack"); // the second charge takes a lower number
    QTest::addColumn<QStringList>("edits");    // the record's number (and price), the charge's invoice
    QTest::addColumn<QStringList>("shown");    // beside each open charge, by entry number
    // The car is booked twice, its records numbered the other way round, as
    // when the second takes a number a cancelled entry gave back.
    const QStringList sale{"DBEdit1", "DBEdit14", "DBEdit5"};
    const QStringList first{"CS24050002|98000|XSFP0001"}, second{"CS24050001|99000|"};
    QTest::newRow("sale, both open") << "out" << false << false << sale << first + second;
    QTest::newRow("sale, the first verified before the return") << "out" << true << false << sale << second;
    QTest::newRow("sale, the second charge on a number given back")
        << "out" << false << true << sale << second + first;
    const QStringList in{"DBEdit1", "DBEdit5"};
    const QStringList firstIn{"RS24050002|JHFP0001"}, secondIn{"RS24050001|"};
    QTest::newRow("in-stock, both open") << "in" << false << false << in << firstIn + secondIn;
    QTest::newRow("in-stock, the first verified before the return") << "in" << true << false << in << secondIn;
    QTest::newRow("in-stock, the second charge on a number given back")
        << "in" << false << true << in << secondIn + firstIn;
}

void TestFinance::verifyShowsTheRecordThatBookedEachCharge()
{
    QFETCH(QString, twin);
    QFETCH(bool, firstVerified);
    QFETCH(bool, numberGivenBack);
    QFETCH(QStringList, edits);
    QFETCH(QStringList, shown);
    const CheckTwin &t = checkTwin(twin);
    const LedgerSide &side = t.customers ? LedgerSide::customers() : LedgerSide::providers();
    TestDb db;
    seed(db);
    db.insert("carinfor", {{"carserial_no", "VIN1"}, {"carprice", 90000}, {"carstatus", codeValue(CarStatus::InStock)}});
    const auto book = [&](const QString &record, const QVariant &invoice, double price) {
        if (t.customers) {
            db.insert("caroutstock", {{"carout_no", record}, {"carserial_no", "VIN1"}, {"customerid", "C001"},
                                      {"saleprice", price}, {"saleinvoice_no", invoice}, {"outstock_date", Today}});
            QVERIFY(bookSale(record));
        } else {
            db.insert("carinstock", {{"carin_no", record}, {"carserial_no", "VIN1"}, {"providerid", "P001"},
                                     {"buyinvoice_no", invoice}, {"instock_date", Today}});
            bookReceipt(record);
        }
    };
    // An entry typed meanwhile, then cancelled, gives its number back.
    const DocumentNumbering &n = side.numbering;
    const QString cancelled =
        db.dm->NextDocumentNumber(n.prefixColumn, n.counterColumn, n.typeCode, n.table, n.numberField);
    book(t.customers ? "CS24050002" : "RS24050002", t.customers ? "XSFP0001" : "JHFP0001", 98000);
    if (firstVerified)
        db.exec("UPDATE " + t.table + " SET isaffirm=1");
    const CarReturn &back = t.customers ? CarReturn::byCustomer() : CarReturn::toProvider();
    QVERIFY(returnCar(back, "VIN1", latestRecord(back, "VIN1"), Now.date(), "退货人", {}));
    if (numberGivenBack)
        db.dm->RecycleDocumentNumber(cancelled, n.typeCode);
    book(t.customers ? "CS24050001" : "RS24050001", {}, 99000);

    CarPick pick("VIN1");
    Window w(t.make());
    pickCarIn(w.get(), pick);
    const auto pane = [&] {
        QStringList texts;
        for (const QString &edit : edits)
            texts << w->findChild<QLineEdit *>(edit)->text();
        return texts.join('|');
    };
    // The first charge as picked, then each next one.
    QStringList beside{pane()};
    w->ledger()->cancel();
    for (w->ledger()->next(); !w->ledger()->eof(); w->ledger()->next())
        beside << pane();
    QCOMPARE(beside, shown);
}

void TestFinance::verifyCancelAndClose()
{
    TestDb db;
    seed(db);
    db.insert("carinfor", {{"carserial_no", "VIN1"}});
    addLedgerEntry(db, unverifiedCharge(false, "A1", "VIN1", 1000, "P001"));
    CarPick pick("VIN1");
    Window w(new Tfcarincheck);
    pickCarIn(w.get(), pick);
    QVERIFY(Drive::type(w.get(), "DBEdit13", "赵六"));
    QVERIFY(Drive::press(w.get(), "SpeedItem3"));
    QVERIFY(w->SpeedItem1->isEnabled());
    QCOMPARE(row("cprovaccount", "isaffirm, affirm_recorder, in_date", "1"), QString("0|null|null"));
    // The car pane keeps showing the car.
    QCOMPARE(w->findChild<QLineEdit *>("DBEdit7")->text(), QString("VIN1"));

    // Closing: Yes with no handler refuses and stays open; No drops the input.
    pickCarIn(w.get(), pick);
    QCOMPARE(pick.listed, QStringList{"VIN1"});
    db.messages.answer(QMessageBox::Yes);
    QVERIFY(!w->close());
    QCOMPARE(db.messages.texts(), (QStringList{"是否保存?", "请输入经办人!"}));
    db.messages.answer(QMessageBox::No);
    QVERIFY(w->close());
    QCOMPARE(row("cprovaccount", "isaffirm, in_date", "1"), QString("0|null"));
}

void TestFinance::verifiedElsewhereIsNotReopened()
{
    TestDb db;
    seed(db);
    db.insert("carinfor", {{"carserial_no", "VIN1"}});
    addLedgerEntry(db, unverifiedCharge(true, "A1", "VIN1", 1000, "C001"));
    CarPick pick("VIN1");
    Window w(new Tfcaroutcheck);
    pickCarIn(w.get(), pick);
    // Another window verifies it and a reconciliation closes it meanwhile.
    db.exec("UPDATE ccustaccount SET isaffirm=1, ischeck=1, affirm_recorder='甲'");
    QVERIFY(Drive::type(w.get(), "DBEdit13", "赵六"));
    QVERIFY(Drive::press(w.get(), "SpeedItem2"));
    QCOMPARE(db.messages.texts(), QStringList{"此帐目已经核实!"});
    QCOMPARE(row("ccustaccount", "isaffirm, ischeck, affirm_recorder", "1"), QString("1|1|甲"));
    QVERIFY(w->SpeedItem1->isEnabled());
    // Picked again, it is no longer listed.
    pickCarIn(w.get(), pick);
    QVERIFY(pick.listed.isEmpty());
    QVERIFY(!w->ledger()->isActive());
}

// ---------------------------------------------------------------- reconciliation

void TestFinance::reconcileThroughTheWindow()
{
    TestDb db;
    seed(db);
    workedCustomer(db);
    Window w(new Tfcustcheck);
    QCOMPARE(w->Edit2->text(), Today);
    QVERIFY(!w->SpeedItem5->isEnabled());
    QVERIFY(Drive::type(w.get(), "ComboEdit1", "c001"));
    Drive::leave(w->ComboEdit1);
    QCOMPARE(w->Edit1->text(), QString("客户甲"));
    QVERIFY(Drive::type(w.get(), "Edit3", "李四"));
    QVERIFY(Drive::press(w.get(), "BitBtn1"));
    QCOMPARE(w->tq_income->recordCount(), 4); // K1, K2, K3 and K6
    QCOMPARE(w->tq_outgo->recordCount(), 1);  // the verified sale
    QCOMPARE(w->Panel0->text(), QString("预付金额：12000代垫：500"));
    QCOMPARE(w->Panel1->text(), QString("车款累计：9000"));
    QCOMPARE(w->balance(), qint64(2500));
    QVERIFY(w->Label8->text().isEmpty());
    QVERIFY(w->SpeedItem5->isEnabled());

    QVERIFY(Drive::press(w.get(), "SpeedItem5"));
    QCOMPARE(w->Label8->text(), QString("对帐结果：该客户预付金额剩余：2500元"));
    QVERIFY(!w->SpeedItem5->isEnabled()); // once per display
    QCOMPARE(row("ccustaccount", "customerid, custname, income, affirm_recorder",
                 "custaccttype='上次余额'"),
             QString("c001|客户甲|2500|李四")); // the code as typed

    // Second round after the further sale is verified.
    db.exec("UPDATE ccustaccount SET isaffirm=1 WHERE caccountid='K5'");
    QVERIFY(Drive::press(w.get(), "BitBtn1"));
    QCOMPARE(w->Label8->text(), QString("对帐结果：该客户预付金额剩余：2500元")); // the display keeps it
    QCOMPARE(w->Panel0->text(), QString("预付金额：2500代垫："));
    QCOMPARE(w->tq_income->valueAt(0, "custaccttype").toString(), QString("上次余额"));
    QVERIFY(Drive::press(w.get(), "SpeedItem5"));
    QCOMPARE(w->Label8->text(), QString("对帐结果：该客户欠公司：500元"));
    QCOMPARE(db.count("ccustaccount", "custaccttype='上次余额'"), 2);
}

// What the display lists are the statements the benchmark measures.
void TestFinance::displayListsItsStatements()
{
    TestDb db;
    seed(db);
    workedCustomer(db);
    Window w(new Tfcustcheck);
    QVERIFY(Drive::type(w.get(), "ComboEdit1", "c001"));
    QVERIFY(Drive::press(w.get(), "BitBtn1"));
    const AccountCheckKind k = Tfcustcheck::kind();
    for (auto [list, grid] : {std::pair{w->tq_income, &k.payments}, std::pair{w->tq_outgo, &k.charges}}) {
        const QString differs = differsFrom(list, TAccountCheck::listStatement(*k.side, *grid, "c001"));
        QVERIFY2(differs.isEmpty(), qPrintable(differs));
    }
    QCOMPARE(w->tq_income->recordCount(), 4);
    QCOMPARE(w->tq_outgo->recordCount(), 1);
}

void TestFinance::providerWindowTexts()
{
    TestDb db;
    seed(db);
    addLedgerEntry(db, provider("P1", EntryKind::Payment, {}, 50000));
    addLedgerEntry(db, provider("P2", EntryKind::CarCharge, 80000, {}));
    Window w(new Tfprovcheck);
    QCOMPARE(w->windowTitle(), QString("供应商对帐"));
    QCOMPARE(w->GroupBox1->title(), QString("供应商信息"));
    QVERIFY(Drive::press(w.get(), "BitBtn1"));
    QCOMPARE(db.messages.texts(), QStringList{"请首先选择供应商代码!"});
    QCOMPARE(QApplication::focusWidget(), w->ComboEdit1);
    QVERIFY(Drive::type(w.get(), "ComboEdit1", "P001"));
    QVERIFY(Drive::type(w.get(), "Edit3", "王五"));
    QVERIFY(Drive::press(w.get(), "BitBtn1"));
    QCOMPARE(w->tq_outgo->recordCount(), 1);
    QCOMPARE(w->tq_income->recordCount(), 1);
    QCOMPARE(w->Panel0->text(), QString("预付金额：50000"));
    QCOMPARE(w->Panel1->text(), QString("车款累计：80000"));
    QVERIFY(Drive::press(w.get(), "SpeedItem5"));
    QCOMPARE(w->Label8->text(), QString("对帐结果：公司欠该供应商：30000元"));
    QCOMPARE(row("cprovaccount", "providerid, provname, outgo", "provaccttype='上次余额'"),
             QString("P001|供应商乙|-30000"));
}

void TestFinance::reconcileTwiceOrAfterChanges()
{
    TestDb db;
    seed(db);
    workedCustomer(db);
    Window w(new Tfcustcheck);
    QVERIFY(Drive::type(w.get(), "ComboEdit1", "C001"));
    QVERIFY(Drive::type(w.get(), "Edit3", "李四"));

    // An entry arrives between the display and "对帐": nothing is closed or carried.
    QVERIFY(Drive::press(w.get(), "BitBtn1"));
    addLedgerEntry(db, customer("K9", EntryKind::Payment, 100, {}));
    QVERIFY(Drive::press(w.get(), "SpeedItem5"));
    QCOMPARE(db.messages.texts(), QStringList{"帐目已有变动，请重新显示帐目信息!"});
    QCOMPARE(db.count("ccustaccount", "check_date IS NOT NULL"), 0);
    QCOMPARE(db.count("ccustaccount", "custaccttype='上次余额'"), 0);
    QVERIFY(!w->SpeedItem5->isEnabled());
    QVERIFY(w->Label8->text().isEmpty());

    // The code changed after the display: no reconciliation until the next display.
    QVERIFY(Drive::press(w.get(), "BitBtn1"));
    QVERIFY(w->SpeedItem5->isEnabled());
    QVERIFY(Drive::type(w.get(), "ComboEdit1", "C002"));
    QVERIFY(!w->SpeedItem5->isEnabled());
    QVERIFY(Drive::type(w.get(), "ComboEdit1", "C001"));
    QVERIFY(!w->SpeedItem5->isEnabled());

    // Displayed again, it counts the new entry, once.
    QVERIFY(Drive::press(w.get(), "BitBtn1"));
    QVERIFY(Drive::press(w.get(), "SpeedItem5"));
    QCOMPARE(w->Label8->text(), QString("对帐结果：该客户预付金额剩余：2600元"));
    QVERIFY(!w->SpeedItem5->isEnabled());
    QCOMPARE(db.count("ccustaccount", "custaccttype='上次余额'"), 1);
    QCOMPARE(row("ccustaccount", "ischeck", "caccountid='K7'"), QString("0")); // the other customer's
    QCOMPARE(db.count("ccustaccount", "customerid='C001' AND isaffirm AND NOT ischeck"), 1);
}

void TestFinance::displayAndReconcileRefusals()
{
    TestDb db;
    seed(db);
    workedCustomer(db);
    Window w(new Tfcustcheck);
    QVERIFY(Drive::press(w.get(), "BitBtn1"));
    QCOMPARE(db.messages.texts(), QStringList{"请首先选择客户代码!"});
    QVERIFY(w->Panel0->text().isEmpty());
    QVERIFY(Drive::type(w.get(), "ComboEdit1", "X1"));
    db.messages.clear();
    Drive::leave(w->ComboEdit1);
    QCOMPARE(db.messages.texts(), QStringList{"输入的客户代码不存在!"});
    QVERIFY(Drive::type(w.get(), "ComboEdit1", "C001"));
    QVERIFY(Drive::press(w.get(), "BitBtn1"));
    db.messages.clear();
    QVERIFY(Drive::type(w.get(), "Edit3", " "));
    QVERIFY(Drive::press(w.get(), "SpeedItem5"));
    QCOMPARE(db.messages.texts(), QStringList{"请输入经办人!"});
    QCOMPARE(QApplication::focusWidget(), w->Edit3);
    QCOMPARE(db.count("ccustaccount", "ischeck=1"), 1);
    QVERIFY(w->SpeedItem5->isEnabled()); // nothing ran
}

void TestFinance::keyboardOnlyVerificationAndReconciliation()
{
    TestDb db;
    seed(db);
    db.insert("carinfor", {{"carserial_no", "VIN1"}});
    addLedgerEntry(db, unverifiedCharge(true, "A1", "VIN1", 1000, "C001"));
    addLedgerEntry(db, customer("K1", EntryKind::Payment, 1500, {}));
    const auto key = [](int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), m);
        QApplication::processEvents();
    };
    const auto typeHere = [](const QString &text) { Drive::typeText(QApplication::focusWidget(), text); };

    Window check(new Tfcaroutcheck);
    check->setFocus();
    CarPick pick("VIN1");
    pick.arm();
    key(Qt::Key_1, Qt::AltModifier); // 选车
    QApplication::setActiveWindow(check.get());
    QCOMPARE(QApplication::focusWidget(), check->DBEdit13);
    typeHere("Zhao");
    key(Qt::Key_2, Qt::AltModifier); // 确认
    QCOMPARE(row("ccustaccount", "isaffirm, affirm_recorder", "caccountid='A1'"), QString("1|Zhao"));
    check->close();

    Window w(new Tfcustcheck);
    w->ComboEdit1->setFocus();
    typeHere("C001");
    key(Qt::Key_Return);
    QCOMPARE(w->Edit1->text(), QString("客户甲"));
    QCOMPARE(QApplication::focusWidget(), w->Edit3);
    typeHere("Li");
    key(Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w->BitBtn1);
    key(Qt::Key_Return); // 显示帐目信息
    QCOMPARE(w->Panel1->text(), QString("车款累计：1000"));
    key(Qt::Key_1, Qt::AltModifier); // 对帐
    QCOMPARE(w->Label8->text(), QString("对帐结果：该客户预付金额剩余：500元"));
    QCOMPARE(db.messages.texts(), QStringList());
}

QTEST_MAIN(TestFinance)
#include "tst_finance.moc"
