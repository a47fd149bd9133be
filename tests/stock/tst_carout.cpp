// The car sale, driven through the real window.
#include "Clock.h"
#include "Db.h"
#include "Drive.h"
#include "Modal.h"
#include "ReportPrinter.h"
#include "SaleFixture.h"
#include "Ucarout.h"
#include "Uoutaddcost.h"
#include "Uselecust.h"

#include <QQueue>

using namespace SaleFixture;

namespace {

// The window with stand-in pickers: cars handed out in turn, the given contract.
Tfcarout *saleWindow(const QStringList &cars, const QString &contractNo = "HT-1",
                     const QString &customer = "C001")
{
    auto *w = new Tfcarout;
    auto queue = std::make_shared<QQueue<QString>>();
    for (const QString &c : cars)
        queue->enqueue(c);
    w->chooseCar = [queue](QWidget *) {
        return queue->isEmpty() ? std::optional<QString>() : std::optional<QString>(queue->dequeue());
    };
    w->chooseContract = [=](QWidget *) {
        return std::optional<PickedContract>(
            PickedContract{"SS-" + contractNo, contractNo, customer, customer == "C001" ? "客户甲" : "客户乙"});
    };
    return w;
}

// A stocked car and a started contract of two cars for C001.
void seedStock(TestDb &db)
{
    seed(db);
    addCar(db, "CAR1", CarStatus::InStock, 100000, {{"vin_no", "VIN1"}});
    addCar(db, "CAR2", CarStatus::ReturnedByCustomer);
    addContract(db, "HT-1", "C001", ContractProgress::Executing, {1, 1});
}

bool editing(Tfcarout *w)
{
    return w->SpeedItem5->isEnabled() && w->SpeedItem3->isEnabled() && !w->SpeedItem1->isEnabled()
           && !w->SpeedItem7->isEnabled() && w->ComboEdit1->isEnabled();
}

void fill(Tfcarout *w, const QString &price)
{
    QVERIFY(Drive::type(w, "DBEdit10", "FP-1"));
    QVERIFY(Drive::type(w, "DBEdit3", price));
    QVERIFY(Drive::type(w, "DBEdit5", "李四"));
    QVERIFY(Drive::type(w, "DBEdit8", "王五"));
}

// Nothing of a sale is stored beyond the record that holds only its number.
void nothingWritten(TestDb &db, const QString &car = "CAR1")
{
    QCOMPARE(db.count("caroutstock"), 1);
    QVERIFY(db.scalar("SELECT carserial_no FROM caroutstock").isNull());
    QCOMPARE(db.scalar("SELECT carstatus FROM carinfor WHERE carserial_no=:s", {{":s", car}}).toInt(), 0);
    QCOMPARE(db.count("ccustaccount"), 0);
    QCOMPARE(db.scalar("SELECT ccustacc_s FROM XTDH").toInt(), 0);
    QCOMPARE(db.scalar("SELECT isfinished FROM csalecontract").toInt(), 1);
}

} // namespace

class TestCarout : public QObject {
    Q_OBJECT

private slots:
    void roadOfACarSale();
    void addStoresTheNumberAndTheDate();
    void saleWithoutContract();
    void refusalsStoreNothing_data();
    void refusalsStoreNothing();
    void carThatLeftStockIsNotSoldTwice();
    void failureInsideTheSaveLeavesTheCarInStock();
    void cancelGivesTheNumberBack();
    void closeQuestion_data();
    void closeQuestion();
    void lookupsWhenFieldsAreLeft();
    void slipPrintsForACustomerMissingFromTheRegister();
    void servicesButtonOpensAWindowEachTime();
    void keyboardOnlySale();
};

void TestCarout::roadOfACarSale()
{
    TestDb db;
    seedStock(db);
    Shown<Tfcarout> w(saleWindow({"CAR1", "CAR2"}));
    QCOMPARE(w->windowTitle(), QString("车辆销售"));
    QCOMPARE(w->Label10->text(), QString("管理员"));
    QVERIFY(!w->ComboEdit1->isEnabled() && !w->ComboEdit2->isEnabled());
    QVERIFY(!w->SpeedItem5->isEnabled());

    // First sale: contract from the picker.
    QVERIFY(Drive::press(w.w, "SpeedItem1"));
    QVERIFY(editing(w.w));
    QCOMPARE(w->DBText1->text(), QString("CS2024050001"));
    QCOMPARE(w->DBEdit1->text(), QString("CAR1"));
    QCOMPARE(w->DBEdit14->text(), QString("VIN1"));
    QCOMPARE(w->DBEdit20->text(), QString("100000"));
    QCOMPARE(db.count("caroutstock"), 1); // stored at once with its number
    QVERIFY(db.scalar("SELECT carserial_no FROM caroutstock").isNull());
    w->ComboEdit2->clickButton();
    QCOMPARE(w->ComboEdit2->text(), QString("HT-1"));
    QCOMPARE(w->ComboEdit1->text(), QString("C001"));
    QCOMPARE(w->DBEdit2->text(), QString("客户甲"));
    fill(w.w, "120000.5");
    db.messages.answer(QMessageBox::No);
    QVERIFY(Drive::press(w.w, "SpeedItem5"));
    QCOMPARE(db.messages.texts(), QStringList({"是否打印出库单?"}));
    QVERIFY(!editing(w.w));
    QVERIFY(w->ComboEdit1->text().isEmpty() && w->ComboEdit2->text().isEmpty());
    QVERIFY(w->DBText1->text().isEmpty());

    QSqlQuery out = Db::exec("SELECT * FROM caroutstock WHERE carout_no='CS2024050001'");
    QVERIFY(out.next());
    QCOMPARE(out.value("carserial_no").toString(), QString("CAR1"));
    QCOMPARE(out.value("salecontract_no").toString(), QString("HT-1"));
    QCOMPARE(out.value("customerid").toString(), QString("C001"));
    QCOMPARE(out.value("custname").toString(), QString("客户甲"));
    QCOMPARE(out.value("saleinvoice_no").toString(), QString("FP-1"));
    QCOMPARE(out.value("saleprice").toDouble(), 120000.5);
    QCOMPARE(out.value("sales").toString(), QString("李四"));
    QCOMPARE(out.value("salerecorder").toString(), QString("王五"));
    QCOMPARE(out.value("outstock_date").toString(), QString("2024-05-06 09:30:00"));
    QVERIFY(out.value("carouttype").isNull());
    QCOMPARE(db.scalar("SELECT carstatus FROM carinfor WHERE carserial_no='CAR1'").toInt(), 1);
    QCOMPARE(db.scalar("SELECT isfinished FROM csalecontract").toInt(), 1);

    // Second sale: the contract typed and looked up when the field is left.
    QVERIFY(Drive::press(w.w, "SpeedItem1"));
    QCOMPARE(w->DBText1->text(), QString("CS2024050002"));
    QVERIFY(Drive::type(w.w, "ComboEdit2", "HT-1"));
    QTest::keyClick(w->ComboEdit2, Qt::Key_Return); // Enter moves on
    QCOMPARE(QApplication::focusWidget(), w->ComboEdit1);
    QCOMPARE(w->ComboEdit1->text(), QString("C001"));
    QCOMPARE(w->DBEdit2->text(), QString("客户甲"));
    fill(w.w, "99000");
    CapturedPrints prints;
    db.messages.answer(QMessageBox::Yes);
    QVERIFY(Drive::press(w.w, "SpeedItem5"));
    QCOMPARE(prints.documents.size(), 1);
    QVERIFY(prints.documents.first().pages.first().texts().contains("CS2024050002"));
    QCOMPARE(db.scalar("SELECT carstatus FROM carinfor WHERE carserial_no='CAR2'").toInt(), 1);
    // Both cars out: the contract is finished.
    QCOMPARE(db.scalar("SELECT isfinished FROM csalecontract").toInt(), 2);

    // One unverified charge per sale, with the sale's amount and serial.
    QSqlQuery acc = Db::exec("SELECT * FROM ccustaccount ORDER BY caccountid");
    const QList<QList<QVariant>> expected{{"KS2024050001", "CAR1", 120000.5},
                                          {"KS2024050002", "CAR2", 99000.0}};
    for (const auto &e : expected) {
        QVERIFY(acc.next());
        QCOMPARE(acc.value("caccountid").toString(), e.at(0).toString());
        QCOMPARE(acc.value("certificate_no").toString(), e.at(1).toString());
        QCOMPARE(acc.value("outgo").toDouble(), e.at(2).toDouble());
        QCOMPARE(acc.value("customerid").toString(), QString("C001"));
        QCOMPARE(acc.value("custname").toString(), QString("客户甲"));
        QCOMPARE(acc.value("invoice_no").toString(), QString("FP-1"));
        QCOMPARE(acc.value("salecont_no").toString(), QString("HT-1"));
        QCOMPARE(acc.value("isprepay").toInt(), 2);
        QCOMPARE(acc.value("isaffirm").toInt(), 0);
        QCOMPARE(acc.value("ischeck").toInt(), 0);
        for (const char *unwritten : {"custaccttype", "income", "account_date", "in_date", "recorder"})
            QVERIFY2(acc.value(unwritten).isNull(), unwritten);
    }
    QVERIFY(!acc.next());
}

void TestCarout::addStoresTheNumberAndTheDate()
{
    TestDb db;
    seedStock(db);
    Shown<Tfcarout> w(saleWindow({"CAR1", "CAR2"}));
    QVERIFY(Drive::press(w.w, "SpeedItem1"));
    // Read at once: the record holds its number and the moment of the add, nothing else yet.
    QSqlQuery added = Db::exec("SELECT carout_no, outstock_date, carserial_no, customerid FROM caroutstock");
    QVERIFY(added.next());
    QCOMPARE(added.value(0).toString(), QString("CS2024050001"));
    QCOMPARE(added.value(1).toString(), QString("2024-05-06 09:30:00"));
    QVERIFY(added.value(2).isNull() && added.value(3).isNull());
    QVERIFY(!added.next());
    added.finish();
    QCOMPARE(w->DBDateEdit2->date(), Now.date());

    // Saved an hour later, the sale keeps the moment it was added.
    Clock::setNow(Now.addSecs(3600));
    w->ComboEdit1->setText("C001");
    QVERIFY(Drive::type(w.w, "DBEdit3", "1000"));
    db.messages.answer(QMessageBox::No);
    QVERIFY(Drive::press(w.w, "SpeedItem5"));
    QCOMPARE(db.scalar("SELECT outstock_date FROM caroutstock WHERE carout_no='CS2024050001'").toString(),
             QString("2024-05-06 09:30:00"));

    // The next add takes the clock as it stands then.
    QVERIFY(Drive::press(w.w, "SpeedItem1"));
    QCOMPARE(db.scalar("SELECT outstock_date FROM caroutstock WHERE carout_no='CS2024050002'").toString(),
             QString("2024-05-06 10:30:00"));
    Clock::setNow(Now);
}

void TestCarout::saleWithoutContract()
{
    TestDb db;
    seedStock(db);
    addContract(db, "HT-9", "C001", ContractProgress::Executing, {});
    Shown<Tfcarout> w(saleWindow({"CAR1"}));
    QVERIFY(Drive::press(w.w, "SpeedItem1"));
    // The real customer picker.
    auto picked = whenModal<Tfselecust>([](Tfselecust *d) {
        d->Table1->locate("customerid", "C002");
        d->BitBtn1->click();
    });
    w->ComboEdit1->clickButton();
    QVERIFY(*picked);
    QCOMPARE(w->ComboEdit1->text(), QString("C002"));
    QCOMPARE(w->DBEdit2->text(), QString("客户乙"));
    QVERIFY(Drive::type(w.w, "ComboEdit1", "c002")); // kept as typed
    QCOMPARE(w->ComboEdit1->text(), QString("c002"));
    QVERIFY(Drive::type(w.w, "DBEdit3", "5000"));
    db.messages.answer(QMessageBox::No);
    QVERIFY(Drive::press(w.w, "SpeedItem5"));
    QVERIFY(db.scalar("SELECT salecontract_no FROM caroutstock").isNull());
    QVERIFY(db.scalar("SELECT salecont_no FROM ccustaccount").isNull());
    QCOMPARE(db.scalar("SELECT customerid FROM ccustaccount").toString(), QString("c002"));
    QCOMPARE(db.count("csalecontract", "isfinished=1"), 2);
}

void TestCarout::refusalsStoreNothing_data()
{
    QTest::addColumn<QString>("contract");
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("blank customer") << "" << "   " << "1000" << "请输入客户代码!" << "ComboEdit1";
    QTest::newRow("blank price") << "" << "C001" << "" << "请输入销售价格!" << "DBEdit3";
    QTest::newRow("contract of another") << "HT-1" << "C002" << "1000" << "所选合同并非是该客户签约!" << "ComboEdit1";
    QTest::newRow("no such contract") << "HT-X" << "C001" << "1000" << "所选合同并非是该客户签约!" << "ComboEdit1";
}

void TestCarout::refusalsStoreNothing()
{
    QFETCH(QString, contract);
    QFETCH(QString, customer);
    QFETCH(QString, price);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDb db;
    seedStock(db);
    Shown<Tfcarout> w(saleWindow({"CAR1"}));
    QVERIFY(Drive::press(w.w, "SpeedItem1"));
    QVERIFY(Drive::type(w.w, "DBEdit3", price));
    // The codes as they stand when "提交" is pressed (no lookup has run).
    w->ComboEdit2->setText(contract);
    w->ComboEdit1->setText(customer);
    QVERIFY(Drive::press(w.w, "SpeedItem5"));
    QCOMPARE(db.messages.texts(), QStringList({message}));
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Warning);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QVERIFY(editing(w.w));
    QCOMPARE(w->DBEdit3->text(), price);
    nothingWritten(db);
}

void TestCarout::carThatLeftStockIsNotSoldTwice()
{
    TestDb db;
    seedStock(db);
    Shown<Tfcarout> w(saleWindow({"CAR1"}));
    QVERIFY(Drive::press(w.w, "SpeedItem1"));
    w->ComboEdit1->setText("C001");
    QVERIFY(Drive::type(w.w, "DBEdit3", "1000"));
    db.exec("UPDATE carinfor SET carstatus=2 WHERE carserial_no='CAR1'"); // another window
    QVERIFY(Drive::press(w.w, "SpeedItem5"));
    QCOMPARE(db.messages.texts(), QStringList({"该车辆已不在库存中，不能销售!"}));
    QVERIFY(editing(w.w));
    QCOMPARE(db.count("caroutstock"), 1);
    QVERIFY(db.scalar("SELECT carserial_no FROM caroutstock").isNull());
    QCOMPARE(db.scalar("SELECT carstatus FROM carinfor").toInt(), 2);
    QCOMPARE(db.count("ccustaccount"), 0);
}

void TestCarout::failureInsideTheSaveLeavesTheCarInStock()
{
    TestDb db;
    seedStock(db);
    db.exec("CREATE TRIGGER no_charges BEFORE INSERT ON ccustaccount BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    Shown<Tfcarout> w(saleWindow({"CAR1"}));
    QVERIFY(Drive::press(w.w, "SpeedItem1"));
    w->ComboEdit2->clickButton();
    fill(w.w, "1000");
    QVERIFY(Drive::press(w.w, "SpeedItem5"));
    QCOMPARE(db.messages.messages.size(), 1);
    QVERIFY(db.messages.lastText().contains("disk full"));
    nothingWritten(db);
    QVERIFY(editing(w.w));
    QCOMPARE(w->DBEdit3->text(), QString("1000"));
    QCOMPARE(w->DBEdit5->text(), QString("李四"));

    db.exec("DROP TRIGGER no_charges");
    db.messages.clear();
    db.messages.answer(QMessageBox::No);
    QVERIFY(Drive::press(w.w, "SpeedItem5"));
    QCOMPARE(db.scalar("SELECT carstatus FROM carinfor WHERE carserial_no='CAR1'").toInt(), 1);
    QCOMPARE(db.scalar("SELECT caccountid FROM ccustaccount").toString(), QString("KS2024050001"));
    QCOMPARE(db.scalar("SELECT sales FROM caroutstock").toString(), QString("李四"));
}

void TestCarout::cancelGivesTheNumberBack()
{
    TestDb db;
    seedStock(db);
    Shown<Tfcarout> w(saleWindow({"CAR1", "CAR1"}));
    QVERIFY(Drive::press(w.w, "SpeedItem1"));
    QVERIFY(Drive::type(w.w, "DBEdit3", "1000"));
    QVERIFY(Drive::press(w.w, "SpeedItem3"));
    QVERIFY(!editing(w.w));
    QCOMPARE(db.count("caroutstock"), 0);
    QCOMPARE(db.scalar("SELECT carstatus FROM carinfor WHERE carserial_no='CAR1'").toInt(), 0);
    QCOMPARE(db.count("recycle", "type='cs' AND recycle=1"), 1);
    QVERIFY(Drive::press(w.w, "SpeedItem1"));
    QCOMPARE(w->DBText1->text(), QString("CS2024050001"));
    QCOMPARE(db.count("recycle"), 0);
    // A cancelled picker changes nothing.
    QVERIFY(Drive::press(w.w, "SpeedItem3"));
    QVERIFY(Drive::press(w.w, "SpeedItem1"));
    QVERIFY(!editing(w.w));
}

void TestCarout::closeQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("customer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("sales");
    QTest::newRow("yes saves") << int(QMessageBox::Yes) << "C001" << true << QStringList({"是否出库单?"}) << 1;
    QTest::newRow("yes refused") << int(QMessageBox::Yes) << " " << false
                                 << QStringList({"是否出库单?", "请输入客户代码!"}) << 0;
    QTest::newRow("no discards") << int(QMessageBox::No) << "C001" << true << QStringList({"是否出库单?"}) << 0;
    QTest::newRow("cancel keeps") << int(QMessageBox::Cancel) << "C001" << false << QStringList({"是否出库单?"}) << 0;
}

void TestCarout::closeQuestion()
{
    QFETCH(int, answer);
    QFETCH(QString, customer);
    QFETCH(bool, closes);
    QFETCH(QStringList, texts);
    QFETCH(int, sales);
    TestDb db;
    seedStock(db);
    Shown<Tfcarout> w(saleWindow({"CAR1"}));
    QVERIFY(Drive::press(w.w, "SpeedItem1"));
    w->ComboEdit1->setText(customer);
    QVERIFY(Drive::type(w.w, "DBEdit3", "1000"));
    db.messages.answer(QMessageBox::StandardButton(answer));
    QCOMPARE(w->close(), closes);
    QCOMPARE(db.messages.texts(), texts);
    QCOMPARE(db.messages.messages.first().defaultButton, QMessageBox::Cancel);
    QCOMPARE(db.count("caroutstock", "carserial_no is not null"), sales);
    QCOMPARE(db.count("ccustaccount"), sales);
    QCOMPARE(db.count("caroutstock"), answer == QMessageBox::No ? 0 : 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(bool(w.w), !closes);
    if (!closes)
        QVERIFY(editing(w.w));
}

void TestCarout::lookupsWhenFieldsAreLeft()
{
    TestDb db;
    seedStock(db);
    Shown<Tfcarout> w(saleWindow({"CAR1"}));
    QVERIFY(Drive::press(w.w, "SpeedItem1"));
    QVERIFY(Drive::type(w.w, "ComboEdit2", "HT-X"));
    QTest::keyClick(w->ComboEdit2, Qt::Key_Tab);
    QCOMPARE(db.messages.texts(), QStringList({"不存在此销售合同号!"}));
    QCOMPARE(QApplication::focusWidget(), w->ComboEdit2);

    db.messages.clear();
    w->ComboEdit2->clear();
    QTest::keyClick(w->ComboEdit2, Qt::Key_Tab);
    QVERIFY(Drive::type(w.w, "ComboEdit1", "C009"));
    QTest::keyClick(w->ComboEdit1, Qt::Key_Tab);
    QCOMPARE(db.messages.texts(), QStringList({"输入的客户代码不存在!"}));
    QCOMPARE(QApplication::focusWidget(), w->ComboEdit1);

    db.messages.clear();
    QVERIFY(Drive::type(w.w, "ComboEdit1", "C002"));
    QTest::keyClick(w->ComboEdit1, Qt::Key_Tab);
    QVERIFY(db.messages.messages.isEmpty());
    QCOMPARE(w->DBEdit2->text(), QString("客户乙"));
    QCOMPARE(QApplication::focusWidget(), w->DBEdit10);
    // An emptied code empties the name.
    w->ComboEdit1->setFocus();
    w->ComboEdit1->clear();
    QTest::keyClick(w->ComboEdit1, Qt::Key_Tab);
    QVERIFY(w->DBEdit2->text().isEmpty());
}

void TestCarout::slipPrintsForACustomerMissingFromTheRegister()
{
    TestDb db;
    seedStock(db);
    addSale(db, "CS2024050007", "CAR2", "GONE", "2024-05-01 10:00:00", 88000);
    Shown<Tfcarout> w(saleWindow({}));
    CapturedPrints prints;
    w->PrintOutSlip("CS2024050007");
    QCOMPARE(prints.documents.size(), 1);
    const QStringList texts = prints.documents.first().pages.first().texts();
    QVERIFY(texts.contains("CS2024050007"));
    QVERIFY(texts.contains("88000"));
    QVERIFY(texts.contains("管理员"));
    QVERIFY(db.messages.messages.isEmpty());
    // A broken printer says so once; the sale stays stored.
    prints.fail = true;
    w->PrintOutSlip("CS2024050007");
    QCOMPARE(db.messages.messages.size(), 1);
    QVERIFY(db.messages.lastIsPrintFailure());
    QCOMPARE(db.count("caroutstock", "carout_no = 'CS2024050007'"), 1);
}

void TestCarout::servicesButtonOpensAWindowEachTime()
{
    TestDb db;
    seedStock(db);
    Shown<Tfcarout> w(saleWindow({}));
    QVERIFY(Drive::press(w.w, "SpeedItem2"));
    QPointer<Tfoutaddcost> first = w->foutaddcost;
    QVERIFY(first && first->isVisible());
    QVERIFY(Drive::press(w.w, "SpeedItem2"));
    QVERIFY(w->foutaddcost && w->foutaddcost != first);
    delete first.data();
    delete w->foutaddcost.data();
}

void TestCarout::keyboardOnlySale()
{
    TestDb db;
    seedStock(db);
    Shown<Tfcarout> w(saleWindow({"CAR1"}));
    auto typeHere = [](const QString &text) { Drive::typeText(QApplication::focusWidget(), text); };
    auto enter = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); };
    QTest::keyClick(w.w, Qt::Key_1, Qt::AltModifier); // 新增
    QCOMPARE(QApplication::focusWidget(), w->ComboEdit2);
    typeHere("HT-1");
    enter(); // the contract is looked up: its customer stands in the code field
    QCOMPARE(QApplication::focusWidget(), w->ComboEdit1);
    QCOMPARE(w->ComboEdit1->text(), QString("C001"));
    enter();
    typeHere("FP-9");
    enter();
    QCOMPARE(QApplication::focusWidget(), w->DBEdit2);
    enter();
    typeHere("150000");
    enter();
    typeHere("李四");
    enter();
    QCOMPARE(QApplication::focusWidget(), w->DBDateEdit2);
    enter();
    typeHere("王五");
    db.messages.answer(QMessageBox::No);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_2, Qt::AltModifier); // 提交
    QCOMPARE(db.messages.texts(), QStringList({"是否打印出库单?"}));
    QCOMPARE(db.scalar("SELECT saleprice FROM caroutstock").toDouble(), 150000.0);
    QCOMPARE(db.scalar("SELECT saleinvoice_no FROM caroutstock").toString(), QString("FP-9"));
    QCOMPARE(db.scalar("SELECT salerecorder FROM caroutstock").toString(), QString("王五"));
    QCOMPARE(db.scalar("SELECT outgo FROM ccustaccount").toDouble(), 150000.0);
    QVERIFY(!editing(w.w));
}

QTEST_MAIN(TestCarout)
#include "tst_carout.moc"
