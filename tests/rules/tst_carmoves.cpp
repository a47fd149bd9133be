// The writes of the in-stock, the sale and the returns, without a window.
#include "CarMoves.h"
#include "Db.h"
#include "SaleFixture.h"

#include <QTest>

using namespace SaleFixture;

namespace {

int carStatus(TestDb &db, const QString &serial)
{
    return db.scalar("SELECT carstatus FROM carinfor WHERE carserial_no=:s", {{":s", serial}}).toInt();
}

int progress(TestDb &db, const QString &table = "csalecontract")
{
    return db.scalar("SELECT isfinished FROM " + table).toInt();
}

// A car received from P001 on its in-stock record "RK" + serial, its price
// 80000.5, against the purchase contract given (none when empty).
void receiveCar(TestDb &db, const QString &serial, const QString &contractNo = {})
{
    db.insert("carinfor", {{"carserial_no", serial}, {"carmodel", "桑塔纳"}, {"carprice", 80000.5},
                           {"carstatus", codeValue(CarStatus::InStock)}});
    db.insert("carinstock", {{"carin_no", "RK" + serial}, {"carserial_no", serial},
                             {"buycontract_no", contractNo.isEmpty() ? QVariant() : contractNo},
                             {"providerid", "P001"}, {"provname", "供应商甲"},
                             {"buyinvoice_no", "FP-" + serial}, {"instock_date", "2024-05-06"}});
}

} // namespace

class TestCarMoves : public QObject {
    Q_OBJECT

private slots:
    // The sale
    void saleSellsTheCarAndBooksOneUnverifiedCharge_data();
    void saleSellsTheCarAndBooksOneUnverifiedCharge();
    void saleFinishesTheContractWithItsLastCar();
    void carNoLongerInStockIsRefusedWithNothingWritten_data();
    void carNoLongerInStockIsRefusedWithNothingWritten();
    void inStockMeansBoughtInOrBackFromTheCustomer_data();
    void inStockMeansBoughtInOrBackFromTheCustomer();
    void saleUndoneWithTheCallersTransaction();

    // The in-stock
    void receiptBooksTheProvidersUnverifiedCharge();
    void receiptFinishesThePurchaseContractWithItsLastCar();

    // The returns
    void returnMovesTheCarAndRefundsItsCharge_data();
    void returnMovesTheCarAndRefundsItsCharge();
    void returnRefusedWhenTheCarMovedMeanwhile_data();
    void returnRefusedWhenTheCarMovedMeanwhile();
};

void TestCarMoves::saleSellsTheCarAndBooksOneUnverifiedCharge_data()
{
    QTest::addColumn<CarStatus>("from");
    QTest::newRow("bought in") << CarStatus::InStock;
    QTest::newRow("back from a customer") << CarStatus::ReturnedByCustomer;
}

void TestCarMoves::saleSellsTheCarAndBooksOneUnverifiedCharge()
{
    QFETCH(CarStatus, from);
    TestDb db;
    seed(db);
    addCar(db, "CAR1", from);
    addSale(db, "CS1", "CAR1", "C001", "2024-05-06 09:30:00", 120000.5);
    db.exec("UPDATE caroutstock SET saleinvoice_no='FP-1'");

    QVERIFY(bookSale("CS1"));

    QCOMPARE(carStatus(db, "CAR1"), int(CarStatus::Sold));
    QCOMPARE(db.count("ccustaccount"), 1);
    QCOMPARE(db.scalar("SELECT caccountid || '|' || customerid || '|' || custname || '|' || certificate_no"
                       " || '|' || invoice_no || '|' || outgo || '|' || isaffirm || '|' || ischeck"
                       " || '|' || isprepay FROM ccustaccount")
                 .toString(),
             QString("KS2024050001|C001|客户甲|CAR1|FP-1|120000.5|0|0|%1").arg(codeNumber(EntryKind::CarCharge)));
    // No contract, no type text, no date.
    QCOMPARE(db.count("ccustaccount", "salecont_no IS NULL AND custaccttype IS NULL"
                                      " AND account_date IS NULL AND in_date IS NULL"),
             1);
}

void TestCarMoves::saleFinishesTheContractWithItsLastCar()
{
    TestDb db;
    seed(db);
    addContract(db, "HT-1", "C001", ContractProgress::Executing, {1, 1});
    // The third car is one more than ordered: the contract stays as it is.
    const QList<ContractProgress> after{ContractProgress::Executing, ContractProgress::Delivered,
                           ContractProgress::Delivered};
    for (int i = 0; i < after.size(); ++i) {
        const QString car = QString("CAR%1").arg(i + 1);
        addCar(db, car, CarStatus::InStock);
        addSale(db, "CS-" + car, car, "C001", "2024-05-06", 1000, "HT-1");
        QVERIFY(bookSale("CS-" + car));
        QCOMPARE(progress(db), codeNumber(after.at(i)));
    }
    QCOMPARE(db.count("ccustaccount", "salecont_no='HT-1'"), 3);
}

void TestCarMoves::carNoLongerInStockIsRefusedWithNothingWritten_data()
{
    QTest::addColumn<CarStatus>("status");
    QTest::newRow("sold") << CarStatus::Sold;
    QTest::newRow("returned to the provider") << CarStatus::ReturnedToProvider;
}

void TestCarMoves::carNoLongerInStockIsRefusedWithNothingWritten()
{
    QFETCH(CarStatus, status);
    TestDb db;
    seed(db);
    addContract(db, "HT-1", "C001", ContractProgress::Executing, {1});
    addCar(db, "CAR1", status);
    addSale(db, "CS1", "CAR1", "C001", "2024-05-06", 1000, "HT-1");

    QVERIFY(!bookSale("CS1"));
    QVERIFY(!bookSale("CS-NONE")); // no such record

    QCOMPARE(carStatus(db, "CAR1"), codeNumber(status));
    QCOMPARE(db.count("ccustaccount"), 0);
    QCOMPARE(db.scalar("SELECT ccustacc_s FROM XTDH").toInt(), 0); // no number drawn
    QCOMPARE(progress(db), int(ContractProgress::Executing));
}

void TestCarMoves::inStockMeansBoughtInOrBackFromTheCustomer_data()
{
    QTest::addColumn<QVariant>("status"); // null: the car has no state; invalid: no car
    QTest::addColumn<bool>("inStock");
    QTest::newRow("in stock") << codeValue(CarStatus::InStock) << true;
    QTest::newRow("sold") << codeValue(CarStatus::Sold) << false;
    QTest::newRow("returned to the provider") << codeValue(CarStatus::ReturnedToProvider) << false;
    QTest::newRow("returned by the customer") << codeValue(CarStatus::ReturnedByCustomer) << true;
    QTest::newRow("no state") << QVariant(QMetaType::fromType<int>()) << false;
    QTest::newRow("no such car") << QVariant() << false;
}

void TestCarMoves::inStockMeansBoughtInOrBackFromTheCustomer()
{
    QFETCH(QVariant, status);
    QFETCH(bool, inStock);
    TestDb db;
    if (status.isValid())
        db.insert("carinfor", {{"carserial_no", "CAR1"}, {"carstatus", status}});
    QCOMPARE(carInStock("CAR1"), inStock);
}

void TestCarMoves::saleUndoneWithTheCallersTransaction()
{
    TestDb db;
    seed(db);
    addCar(db, "CAR1", CarStatus::InStock);
    addSale(db, "CS1", "CAR1", "C001", "2024-05-06");
    {
        Db::Transaction t; // the window's save, failing after the sale
        QVERIFY(bookSale("CS1"));
    }
    QCOMPARE(carStatus(db, "CAR1"), int(CarStatus::InStock));
    QCOMPARE(db.count("ccustaccount"), 0);
}

void TestCarMoves::receiptBooksTheProvidersUnverifiedCharge()
{
    TestDb db;
    seed(db);
    receiveCar(db, "CAR1");

    bookReceipt("RKCAR1");

    QCOMPARE(db.count("cprovaccount"), 1);
    QCOMPARE(db.scalar("SELECT paccountid || '|' || providerid || '|' || provname || '|' || certificate_no"
                       " || '|' || invoice_no || '|' || income || '|' || isaffirm || '|' || ischeck"
                       " || '|' || isprepay FROM cprovaccount")
                 .toString(),
             QString("PS2024050001|P001|供应商甲|CAR1|FP-CAR1|80000.5|0|0|%1").arg(codeNumber(EntryKind::CarCharge)));
    QCOMPARE(db.count("cprovaccount", "buycont_no IS NULL AND provaccttype IS NULL AND outgo IS NULL"
                                      " AND account_date IS NULL AND in_date IS NULL"),
             1);
    QCOMPARE(carStatus(db, "CAR1"), int(CarStatus::InStock));
}

void TestCarMoves::receiptFinishesThePurchaseContractWithItsLastCar()
{
    TestDb db;
    seed(db);
    db.insert("cbuycontract", {{"buycont_no", "BS1"}, {"contract_no", "CG-1"}, {"providerid", "P001"},
                               {"isfinished", codeValue(ContractProgress::Executing)}});
    db.insert("cbuycontdetail", {{"buycont_no", "BS1"}, {"carmodel", "桑塔纳"}, {"qty", 1}});
    db.insert("cbuycontdetail", {{"buycont_no", "BS1"}, {"carmodel", "桑塔纳"}, {"qty", 2}});

    const QList<ContractProgress> after{ContractProgress::Executing, ContractProgress::Executing,
                           ContractProgress::Delivered, ContractProgress::Delivered};
    for (int i = 0; i < after.size(); ++i) {
        const QString car = QString("CAR%1").arg(i + 1);
        receiveCar(db, car, "CG-1");
        bookReceipt("RK" + car);
        QCOMPARE(progress(db, "cbuycontract"), codeNumber(after.at(i)));
    }
    QCOMPARE(db.count("cprovaccount", "buycont_no='CG-1'"), 4);
}

void TestCarMoves::returnMovesTheCarAndRefundsItsCharge_data()
{
    QTest::addColumn<bool>("byCustomer");
    QTest::addColumn<CarStatus>("from");
    QTest::addColumn<CarStatus>("to");
    QTest::addColumn<QString>("refund"); // ledger, partner, amount field and amount
    QTest::addColumn<QString>("record"); // the record's number, date and handler after the return
    QTest::newRow("to the provider, bought in")
        << false << CarStatus::InStock << CarStatus::ReturnedToProvider
        << "cprovaccount|P001|outgo|80000.5" << "RKCAR1|2024-05-20|退货人";
    QTest::newRow("to the provider, back from a customer")
        << false << CarStatus::ReturnedByCustomer << CarStatus::ReturnedToProvider
        << "cprovaccount|P001|outgo|80000.5" << "RKCAR1|2024-05-20|退货人";
    QTest::newRow("by the customer, its latest sale")
        << true << CarStatus::Sold << CarStatus::ReturnedByCustomer
        << "ccustaccount|C001|income|130000.25" << "CS2|2024-05-20|退货人";
}

void TestCarMoves::returnMovesTheCarAndRefundsItsCharge()
{
    QFETCH(bool, byCustomer);
    QFETCH(CarStatus, from);
    QFETCH(CarStatus, to);
    QFETCH(QString, refund);
    QFETCH(QString, record);
    TestDb db;
    seed(db);
    receiveCar(db, "CAR1");
    db.exec("UPDATE carinfor SET carstatus=:s", {{":s", codeValue(from)}});
    // Sold, returned and sold again: the return takes the latest sale.
    addSale(db, "CS1", "CAR1", "C001", "2024-05-01", 120000);
    addSale(db, "CS2", "CAR1", "C001", "2024-05-10", 130000.25);
    const CarReturn &kind = byCustomer ? CarReturn::byCustomer() : CarReturn::toProvider();
    const QVariant latest = latestRecord(kind, "CAR1");
    QCOMPARE(latest.toString(), record.section('|', 0, 0));

    QVERIFY(returnCar(kind, "CAR1", latest, QDate(2024, 5, 20), "退货人", "有划痕"));

    QCOMPARE(db.scalar("SELECT carstatus || '|' || remarks FROM carinfor").toString(),
             QString("%1|有划痕").arg(codeNumber(to)));
    const QStringList r = refund.split('|');
    const QString ledger = r.at(0);
    QCOMPARE(db.count(ledger), 1);
    QCOMPARE(db.count(ledger == "cprovaccount" ? "ccustaccount" : "cprovaccount"), 0);
    const QString partner = ledger == "cprovaccount" ? "providerid" : "customerid";
    const QString type = ledger == "cprovaccount" ? "provaccttype" : "custaccttype";
    QCOMPARE(db.scalar(QString("SELECT %1 || '|' || %2 || '|' || %3 || '|' || account_date || '|' || in_date"
                               " || '|' || affirm_recorder || '|' || isaffirm || '|' || ischeck || '|' || isprepay"
                               " FROM %4")
                           .arg(partner, r.at(2), type, ledger))
                 .toString(),
             QString("%1|%2|退货款项|2024-05-20|2024-05-20|退货人|1|0|%3").arg(r.at(1), r.at(3)).arg(codeNumber(EntryKind::Credit)));
    const QString table = kind.recordTable, key = kind.recordKey;
    QCOMPARE(db.scalar(QString("SELECT %1 || '|' || %2 || '|' || %3 FROM %4 WHERE %1=:r")
                           .arg(key, kind.dateField, kind.handlerField, table),
                       {{":r", latest}})
                 .toString(),
             record);
}

void TestCarMoves::returnRefusedWhenTheCarMovedMeanwhile_data()
{
    QTest::addColumn<bool>("byCustomer");
    QTest::addColumn<CarStatus>("status");
    QTest::addColumn<QString>("record"); // the record the window showed
    QTest::newRow("to the provider, sold meanwhile") << false << CarStatus::Sold << "RKCAR1";
    QTest::newRow("to the provider, returned meanwhile")
        << false << CarStatus::ReturnedToProvider << "RKCAR1";
    QTest::newRow("by the customer, back in stock meanwhile")
        << true << CarStatus::ReturnedByCustomer << "CS1";
    QTest::newRow("by the customer, sold again meanwhile") << true << CarStatus::Sold << "CS0";
}

void TestCarMoves::returnRefusedWhenTheCarMovedMeanwhile()
{
    QFETCH(bool, byCustomer);
    QFETCH(CarStatus, status);
    QFETCH(QString, record);
    TestDb db;
    seed(db);
    receiveCar(db, "CAR1");
    db.exec("UPDATE carinfor SET carstatus=:s", {{":s", codeValue(status)}});
    addSale(db, "CS0", "CAR1", "C001", "2024-05-01", 120000);
    addSale(db, "CS1", "CAR1", "C001", "2024-05-10", 130000);
    const CarReturn &kind = byCustomer ? CarReturn::byCustomer() : CarReturn::toProvider();

    QVERIFY(!returnCar(kind, "CAR1", record, QDate(2024, 5, 20), "退货人", "有划痕"));

    QCOMPARE(carStatus(db, "CAR1"), codeNumber(status));
    QVERIFY(db.scalar("SELECT remarks FROM carinfor").isNull());
    QCOMPARE(db.count("cprovaccount") + db.count("ccustaccount"), 0);
    QCOMPARE(db.scalar("SELECT cprovacc_s + ccustacc_s FROM XTDH").toInt(), 0);
    QCOMPARE(db.count("carinstock", "buyrecorder IS NULL AND instock_date='2024-05-06'"), 1);
    QCOMPARE(db.count("caroutstock", "salerecorder IS NULL AND outstock_date IN ('2024-05-01', '2024-05-10')"), 2);
}

QTEST_MAIN(TestCarMoves)
#include "tst_carmoves.moc"
