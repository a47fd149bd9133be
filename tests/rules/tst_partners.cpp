// The checks of a typed partner code, the verification of a car charge, the
// numbers given back, the password write and the codes in the schema's
// indexes, without a window.
#include "CarScope.h"
#include "DataSet.h"
#include "Ledger.h"
#include "Numbering.h"
#include "Partners.h"
#include "Passwords.h"
#include "TestDb.h"

#include <QTest>

class TestPartners : public QObject {
    Q_OBJECT

private slots:
    void partnerNameByItsBlanksRule_data();
    void partnerNameByItsBlanksRule();
    void signerByItsRule_data();
    void signerByItsRule();
    void chargeConfirmedOnlyWhileOpen();
    void unstoredNumbersGoBack();
    void passwordStoredAsTheLoginReadsIt();
    void partialIndexesHoldTheCodes_data();
    void partialIndexesHoldTheCodes();
};

void TestPartners::partnerNameByItsBlanksRule_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("trimmed");
    QTest::addColumn<QString>("name"); // "-": not found
    QTest::newRow("exact") << "P01" << false << "一汽";
    QTest::newRow("other letter case") << "p01" << false << "一汽";
    QTest::newRow("blanks kept") << " P01 " << false << "-";
    QTest::newRow("blanks trimmed") << " P01 " << true << "一汽";
    QTest::newRow("unknown") << "P02" << true << "-";
}

void TestPartners::partnerNameByItsBlanksRule()
{
    QFETCH(QString, typed);
    QFETCH(bool, trimmed);
    QFETCH(QString, name);
    TestDb db;
    db.insert("cprovider", {{"providerid", "P01"}, {"provname", "一汽"}});
    db.insert("ccustomer", {{"customerid", "P01"}, {"custname", "王五"}});
    const auto found = partnerName(Partners::providers(), typed, trimmed ? Blanks::Trimmed : Blanks::Kept);
    QCOMPARE(found.value_or("-"), name);
    if (found)
        QCOMPARE(partnerName(Partners::customers(), typed, trimmed ? Blanks::Trimmed : Blanks::Kept),
                 std::optional<QString>("王五"));
}

void TestPartners::signerByItsRule_data()
{
    QTest::addColumn<QString>("signer"); // as stored
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("match");
    QTest::addColumn<bool>("signs");
    const int exactly = int(SignerMatch::Exactly), typedTrimmed = int(SignerMatch::TypedTrimmed),
              both = int(SignerMatch::BothTrimmed);
    QTest::newRow("exactly: same") << "C1" << "C1" << exactly << true;
    QTest::newRow("exactly: blanks typed") << "C1" << "C1 " << exactly << false;
    QTest::newRow("exactly: letter case") << "C1" << "c1" << exactly << false;
    QTest::newRow("typed trimmed: blanks typed") << "C1" << " C1 " << typedTrimmed << true;
    QTest::newRow("typed trimmed: blanks stored") << " C1" << "C1" << typedTrimmed << false;
    QTest::newRow("both trimmed: blanks stored") << " C1" << "C1" << both << true;
    QTest::newRow("both trimmed: letter case") << "C1" << "c1" << both << false;
    QTest::newRow("another partner") << "C2" << "C1" << both << false;
}

void TestPartners::signerByItsRule()
{
    QFETCH(QString, signer);
    QFETCH(QString, typed);
    QFETCH(int, match);
    QFETCH(bool, signs);
    TestDb db;
    db.insert("csalecontract", {{"salecont_no", "N1"}, {"contract_no", "XS-1"}, {"customerid", signer}});
    QCOMPARE(signedBy(Partners::customers(), "XS-1", typed, SignerMatch(match)), signs);
    // No such contract: signed by nobody.
    QVERIFY(!signedBy(Partners::customers(), "XS-2", typed, SignerMatch(match)));
}

void TestPartners::chargeConfirmedOnlyWhileOpen()
{
    TestDb db;
    const LedgerSide &side = LedgerSide::customers();
    for (const char *key : {"K1", "K2"})
        db.insert(side.table, {{side.keyField, key}, {"certificate_no", "CAR1"}, {"outgo", 98000},
                               {"isaffirm", 0}, {"ischeck", 0}, {"isprepay", codeValue(EntryKind::CarCharge)}});
    DataSet entries;
    entries.setTableName(side.table);
    entries.setIndexFieldNames(side.keyField);
    entries.open();
    QVERIFY(chargeOpen(side, "K1"));
    QCOMPARE(chargeBooking(side, "CAR1", "K2"), 2);

    entries.edit();
    entries.setValue("affirm_recorder", "张三");
    QCOMPARE(confirmCharge(side, entries), ChargeConfirmation::Confirmed);
    QCOMPARE(db.scalar("SELECT isaffirm || ischeck || affirm_recorder FROM ccustaccount WHERE caccountid='K1'")
                 .toString(),
             QString("10张三"));
    QVERIFY(!chargeOpen(side, "K1"));

    // Verified elsewhere while it was shown here: nothing written.
    entries.setRecNo(1);
    entries.edit();
    entries.setValue("affirm_recorder", "李四");
    db.exec("UPDATE ccustaccount SET isaffirm=1 WHERE caccountid='K2'");
    QCOMPARE(confirmCharge(side, entries), ChargeConfirmation::AlreadyVerified);
    QVERIFY(db.scalar("SELECT affirm_recorder FROM ccustaccount WHERE caccountid='K2'").isNull());
}

void TestPartners::unstoredNumbersGoBack()
{
    TestDb db;
    const DocumentNumbering n{"cservicepre", "cservice_s", "vs", "servicecost", "serviceid"};
    const QString stored = nextNumber(n), dropped = nextNumber(n);
    QVERIFY(!stored.isEmpty() && stored != dropped);
    db.insert("servicecost", {{"serviceid", stored}});
    giveBackUnstoredNumbers(n, {stored, dropped});
    // The number given back is drawn again; the stored one never.
    QCOMPARE(nextNumber(n), dropped);
}

void TestPartners::passwordStoredAsTheLoginReadsIt()
{
    TestDb db;
    QVERIFY(changePassword("admin", "  abc "));
    QCOMPARE(db.scalar("SELECT password FROM crights WHERE personnelid='admin'").toString(), QString("abc"));
    QVERIFY(!changePassword("nobody", "abc"));
}

void TestPartners::partialIndexesHoldTheCodes_data()
{
    QTest::addColumn<QString>("index");
    QTest::addColumn<QString>("where");
    QTest::newRow("in stock") << "carinfor_in_stock" << CarScope::InStock;
    QTest::newRow("returned") << "carinfor_returned"
                              << "carstatus = " + sqlCode(CarStatus::ReturnedToProvider);
    QTest::newRow("sold") << "carinfor_sold" << "carstatus is " + sqlCode(CarStatus::Sold);
    QTest::newRow("kept") << "carinfor_kept"
                          << "carstatus in "
                                 + sqlCodes({CarStatus::InStock, CarStatus::Sold, CarStatus::ReturnedByCustomer});
}

// The schema writes the codes as numbers in its partial indexes, which the
// planner uses only for the same literal text: neither may drift.
void TestPartners::partialIndexesHoldTheCodes()
{
    QFETCH(QString, index);
    QFETCH(QString, where);
    TestDb db;
    const QString sql = db.scalar("SELECT sql FROM sqlite_master WHERE type='index' AND name=:n", {{":n", index}})
                            .toString();
    QVERIFY2(!sql.isEmpty(), qPrintable(index));
    QCOMPARE(sql.section(QStringLiteral(" WHERE "), 1).toLower(), where.toLower());
}

QTEST_MAIN(TestPartners)
#include "tst_partners.moc"
