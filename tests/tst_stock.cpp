// The stock windows, driven through the real windows and dialogs.
#include "Codes.h"
#include "Clock.h"
#include "DateEdit.h"
#include "Db.h"
#include "Format.h"
#include "ListCheck.h"
#include "Modal.h"
#include "TestDb.h"
#include "ReportPrinter.h"
#include "Ucarin.h"
#include "Ucarinsele.h"
#include "Useleprn.h"
#include "Uinaddcost.h"
#include "Uselecar.h"

#include "Money.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPointer>
#include <QTest>

namespace {

const QDateTime Now(QDate(2024, 5, 6), QTime(9, 30, 0));

void addCar(TestDb &db, const QString &serial, CarStatus status, const QString &chassis = {})
{
    db.insert("carinfor", {{"carserial_no", serial},
                           {"chassis_no", chassis.isEmpty() ? QVariant() : QVariant(chassis)},
                           {"carstatus", codeValue(status)},
                           {"carmodel", "桑塔纳"}});
}

QStringList serials(DataSet *data)
{
    QStringList s;
    for (int r = 0; r < data->recordCount(); ++r)
        s << data->valueAt(r, "carserial_no").toString();
    return s;
}

void typeInto(QLineEdit *e, const QString &text)
{
    e->setFocus();
    e->clear();
    QTest::keyClicks(e, text);
}

void press(QWidget *w, const char *button)
{
    auto *b = w->findChild<QAbstractButton *>(button);
    QVERIFY2(b, button);
    QVERIFY2(b->isEnabled(), button);
    b->click();
}

int column(DBGrid *grid, const QString &field)
{
    for (int c = 0; c < grid->columns().size(); ++c)
        if (grid->columns().at(c).field == field)
            return c;
    return -1;
}

// What a cell editor hands to the grid's row when the user types into it.
void typeCell(DBGrid *grid, int row, const QString &field, const QString &text)
{
    QVERIFY(grid->model()->setData(grid->model()->index(row, column(grid, field)), text));
}

// Picks the car with this serial in the car picker that comes up.
std::shared_ptr<bool> pickTheCar(const QString &serial)
{
    return whenModal<Tfselecar>([serial](Tfselecar *d) {
        QTest::keyClicks(d->Edit1, serial);
        QTest::keyClick(d->Edit1, Qt::Key_Return);
    });
}

// A car received through an in-stock record, in stock.
void receivedCar(TestDb &db, const QString &serial, double price = 100000)
{
    db.insert("carinfor", {{"carserial_no", serial}, {"carstatus", codeValue(CarStatus::InStock)}, {"carprice", price},
                           {"chassis_no", "DP-" + serial}});
    db.insert("carinstock", {{"carin_no", "RS-" + serial}, {"carserial_no", serial}});
}

// The register, a started contract HT1 of P001 with lines of 1 桑塔纳 and 2 捷达.
void seedInStock(TestDb &db)
{
    QVERIFY(db.dm->trsk->locate("personnelid", "admin"));
    db.insert("cprovider", {{"providerid", "P001"}, {"provname", "供应商乙"}});
    db.insert("cprovider", {{"providerid", "P002"}, {"provname", "供应商丙"}});
    db.insert("cprovcarmodel", {{"providerid", "P001"}, {"carmodel", "桑塔纳"}});
    db.insert("cprovcarmodel", {{"providerid", "P001"}, {"carmodel", "捷达"}});
    db.insert("cbuycontract", {{"buycont_no", "BS1"}, {"contract_no", "HT1"}, {"providerid", "P001"},
                               {"provname", "供应商乙"}, {"isfinished", codeValue(ContractProgress::Executing)}});
    db.insert("cbuycontdetail", {{"buycont_no", "BS1"}, {"carmodel", "桑塔纳"}, {"qty", 1}});
    db.insert("cbuycontdetail", {{"buycont_no", "BS1"}, {"carmodel", "捷达"}, {"qty", 2}});
}

// A window shown offscreen and active, freed at the end of the test unless it closed itself.
template <class W>
struct Shown {
    Shown() : w(new W)
    {
        w->show();
        w->activateWindow();
        (void)QTest::qWaitForWindowActive(w);
    }
    ~Shown() { delete w.data(); }
    W *operator->() const { return w.data(); }
    QPointer<W> w;
};

// Types into a field as a user does: the focus comes in, the text is replaced.
void type(QWidget *w, const char *name, const QString &text)
{
    auto *e = w->findChild<QLineEdit *>(name);
    if (!e)
        if (auto *box = w->findChild<QComboBox *>(name))
            e = box->lineEdit();
    QVERIFY2(e, name);
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    for (const QChar ch : text) { // also characters a keyboard of Latin letters lacks
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(e, &key);
    }
}

struct CarInput {
    QString contract, serial, provider, model, chassis, price;
};

// Adds an in-stock and fills it in tab order; the invoice takes the focus last.
void fillInStock(Tfcarin *w, const CarInput &in)
{
    press(w, "SpeedItem1");
    type(w, "ComboEdit2", in.contract);
    type(w, "DBEdit1", in.serial);
    type(w, "ComboEdit1", in.provider);
    type(w, "DBComboBox1", in.model);
    type(w, "DBEdit15", in.chassis);
    type(w, "DBEdit20", in.price);
    type(w, "DBEdit8", "王五");
}

CarInput carOf(const QString &serial, const QString &contract = "HT1", const QString &model = "捷达")
{
    return {contract, serial, "P001", model, "DP-" + serial, "98000"};
}

// Saves the in-stock and answers the print question.
void saveInStock(TestDb &db, Tfcarin *w, bool print = false)
{
    db.messages.answer(print ? QMessageBox::Yes : QMessageBox::No);
    press(w, "SpeedItem5");
}

// Every count a refused or failed save must leave as it was.
QString traces(TestDb &db)
{
    return db.scalar("SELECT (SELECT count(*) FROM carinfor) || '/' || (SELECT count(*) FROM cprovaccount)"
                     " || '/' || (SELECT cprovacc_s FROM XTDH) || '/' || (SELECT ccarin_s FROM XTDH)"
                     " || '/' || (SELECT group_concat(isfinished) FROM cbuycontract)"
                     " || '/' || (SELECT count(*) FROM carinstock WHERE carserial_no IS NOT NULL)")
            .toString();
}

// Cars S0..S3 of each status, taken in on successive days from 2024-03-29 (S2's
// in-stock the oldest), S1 with two direct costs.
void seedReceipts(TestDb &db)
{
    QVERIFY(db.dm->trsk->locate("personnelid", "admin"));
    const QList<QPair<int, QString>> cars{{0, "2024-03-31 23:59:59"}, {1, "2024-03-30 08:00:00"},
                                         {2, "2024-03-29 10:00:00"}, {3, "2024-04-01 00:00:00"}};
    for (const auto &[status, date] : cars) {
        const QString serial = QString("S%1").arg(status);
        db.insert("carinfor", {{"carserial_no", serial}, {"carstatus", status}, {"chassis_no", "DP" + serial},
                               {"carmodel", status == 3 ? "捷达" : "桑塔纳"}, {"carprice", 1000 * (status + 1)}});
        db.insert("carinstock", {{"carin_no", QString("RS%1").arg(4 - status)}, {"carserial_no", serial},
                                 {"providerid", status == 0 ? "P002" : "P001"}, {"provname", "供应商乙"},
                                 {"buycontract_no", "HT1"}, {"instock_date", date}});
    }
    db.insert("addcost", {{"addcostid", "AS1"}, {"carserial_no", "S1"}, {"cost", 30.5}});
    db.insert("addcost", {{"addcostid", "AS2"}, {"carserial_no", "S1"}, {"cost", 20}});
}

QStringList listed(DataSet *data, const QString &field = "carserial_no")
{
    QStringList s;
    for (int r = 0; r < data->recordCount(); ++r)
        s << Fmt::display(data->valueAt(r, field));
    return s;
}

} // namespace

class TestStock : public QObject {
    Q_OBJECT

private slots:
    void init() { Clock::setNow(Now); }

    void pickerNarrowsItsScope_data();
    void pickerNarrowsItsScope();
    void pickerConfirmsOnlyARow();
    void pickerReturnsTheSelectedCar();
    void pickerListsEachChargeToVerify_data();
    void pickerListsEachChargeToVerify();
    void pickerPagesThroughCharges();
    void pickerListsItsStatement();

    void costsPendingUntilSavedAndNumbered();
    void costAmountParsedStrictly_data();
    void costAmountParsedStrictly();
    void noCostRowWithoutACar();
    void costCancelAndCloseQuestion();

    void inStockWritesCarRecordChargeAndSlip_data();
    void inStockWritesCarRecordChargeAndSlip();
    void contractFinishing_data();
    void contractFinishing();
    void inStockRefusals_data();
    void inStockRefusals();
    void failureInsideSaveLeavesNothing();
    void addCancelGivesTheNumberBack();
    void inStockCloseQuestion();
    void priceTypedStrictly();
    void modelListAndLookups();

    void inStockQueryScopes_data();
    void inStockQueryScopes();
    void inStockQueryConditions_data();
    void inStockQueryConditions();
    void inStockQueryPrints();
    void inStockQueryListsItsStatement_data();
    void inStockQueryListsItsStatement();
};

// ---------------------------------------------------------------- car picker

void TestStock::pickerNarrowsItsScope_data()
{
    QTest::addColumn<QString>("scope");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("chassis");
    QTest::addColumn<QStringList>("listed");
    const QString either = "carstatus=0 or carstatus=3"; // an "or" the prefixes must not break
    QTest::newRow("in stock, nothing typed") << CarScope::InStock << "" << "" << QStringList{"A1", "A4", "B1"};
    QTest::newRow("in stock, serial") << CarScope::InStock << "a" << "" << QStringList{"A1", "A4"};
    QTest::newRow("or-scope, serial") << either << "A" << "" << QStringList{"A1", "A4"};
    QTest::newRow("or-scope, chassis") << either << "" << "DP" << QStringList{"A1", "B1"};
    QTest::newRow("or-scope, both") << either << "B" << "DP" << QStringList{"B1"};
    QTest::newRow("sold") << CarScope::Sold << "" << "" << QStringList{"A2"};
    QTest::newRow("sold, other serial") << CarScope::Sold << "B" << "" << QStringList{};
    QTest::newRow("wildcards are letters") << CarScope::InStock << "%" << "" << QStringList{};
    QTest::newRow("apostrophe") << CarScope::InStock << "A'" << "" << QStringList{};
    QTest::newRow("received") << CarScope::Received << "" << "" << QStringList{"A1"};
}

void TestStock::pickerNarrowsItsScope()
{
    QFETCH(QString, scope);
    QFETCH(QString, serial);
    QFETCH(QString, chassis);
    QFETCH(QStringList, listed);
    TestDb db;
    addCar(db, "A1", CarStatus::InStock, "DP1");
    addCar(db, "A2", CarStatus::Sold, "DP2");
    addCar(db, "A3", CarStatus::ReturnedToProvider, "DP3");
    addCar(db, "A4", CarStatus::ReturnedByCustomer, "XX4");
    addCar(db, "B1", CarStatus::InStock, "DP5");
    db.insert("carinstock", {{"carin_no", "RS1"}, {"carserial_no", "A1"}});
    db.insert("carinstock", {{"carin_no", "RS4"}, {"carserial_no", "A4"}});

    Tfselecar picker;
    picker.setScope(scope);
    picker.Edit1Change();
    typeInto(picker.Edit1, serial);
    typeInto(picker.Edit2, chassis);
    QVERIFY(picker.query1->isActive());
    QCOMPARE(serials(picker.query1), listed);
    QCOMPARE(picker.query1->recordCount(), listed.size());
    QVERIFY(db.messages.messages.isEmpty());
}

void TestStock::pickerConfirmsOnlyARow()
{
    TestDb db;
    addCar(db, "A1", CarStatus::InStock);
    QPointer<Tfselecar> picker = new Tfselecar;
    bool leftOpen = false;
    QWidget *focusAtOpen = nullptr;
    whenModal<Tfselecar>([&](Tfselecar *d) {
        // The dialog's activation may come a moment after it shows.
        (void)QTest::qWaitFor([&] { return QApplication::focusWidget() == d->Edit1; }, 2000);
        focusAtOpen = QApplication::focusWidget();
        QTest::keyClicks(d->Edit1, "Z");
        QTest::keyClick(d->Edit1, Qt::Key_Return); // an empty list: stays open
        leftOpen = d->isVisible();
        QTest::keyClick(d, Qt::Key_Escape);
    });
    QVERIFY(!picker->pick());
    QVERIFY(leftOpen);
    QCOMPARE(focusAtOpen, picker->Edit1);
    delete picker.data();
}

void TestStock::pickerReturnsTheSelectedCar()
{
    TestDb db;
    addCar(db, "A1", CarStatus::InStock);
    addCar(db, "A2", CarStatus::ReturnedByCustomer);
    addCar(db, "A3", CarStatus::Sold);
    whenModal<Tfselecar>([](Tfselecar *d) {
        d->DBGrid1->setFocus();
        QTest::keyClick(d->DBGrid1, Qt::Key_Down);
        QTest::keyClick(d->DBGrid1, Qt::Key_Return);
    });
    QWidget owner;
    const auto chosen = pickCar(&owner);
    QVERIFY(chosen);
    QCOMPARE(chosen->value("carserial_no").toString(), QString("A2"));
    QCOMPARE(chosen->value("carstatus").toInt(), 3);
}

namespace {

// A ledger's car charges as listed: serial and entry number of each line.
QStringList chargeLines(DataSet *list, const QString &key)
{
    QStringList lines;
    for (int r = 0; r < list->recordCount(); ++r)
        lines << list->valueAt(r, "carserial_no").toString() + "/" + list->valueAt(r, key).toString();
    return lines;
}

} // namespace

void TestStock::pickerListsEachChargeToVerify_data()
{
    QTest::addColumn<bool>("customers");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("chassis");
    QTest::addColumn<QStringList>("lines");
    for (const bool customers : {false, true}) {
        const char *ledger = customers ? "sale" : "in-stock";
        QTest::addRow("%s, nothing typed", ledger) << customers << "" << "" << QStringList{"A1/E1", "A1/E2", "A2/E5"};
        QTest::addRow("%s, serial", ledger) << customers << "a1" << "" << QStringList{"A1/E1", "A1/E2"};
        QTest::addRow("%s, chassis", ledger) << customers << "" << "DP2" << QStringList{"A2/E5"};
        QTest::addRow("%s, none of this ledger's", ledger) << customers << "B" << "" << QStringList{};
    }
}

void TestStock::pickerListsEachChargeToVerify()
{
    QFETCH(bool, customers);
    QFETCH(QString, serial);
    QFETCH(QString, chassis);
    QFETCH(QStringList, lines);
    TestDb db;
    addCar(db, "A1", CarStatus::Sold, "DP1");
    addCar(db, "A2", CarStatus::ReturnedToProvider, "DP2"); // the status plays no part
    addCar(db, "A3", CarStatus::InStock, "DP3");
    addCar(db, "B1", CarStatus::Sold, "XX4");
    const QString key = customers ? "caccountid" : "paccountid";
    // An entry of the customer or the provider ledger.
    const auto charge = [&](bool customer, const QString &number, const QString &car, int kind,
                            bool affirmed, bool checked) {
        db.insert(customer ? "ccustaccount" : "cprovaccount",
                  {{customer ? "caccountid" : "paccountid", number}, {"certificate_no", car},
                   {"isprepay", kind}, {"isaffirm", affirmed ? 1 : 0}, {"ischeck", checked ? 1 : 0}});
    };
    charge(customers, "E2", "A1", 2, false, false); // two charges of A1 to verify: two lines
    charge(customers, "E1", "A1", 2, false, false);
    charge(customers, "E3", "A1", 2, true, false);  // verified
    charge(customers, "E4", "A2", 2, false, true);  // closed
    charge(customers, "E5", "A2", 2, false, false);
    charge(customers, "E6", "B1", 0, false, false); // no car charge
    charge(!customers, "E7", "B1", 2, false, false); // the other ledger's

    Tfselecar picker;
    picker.setScope(customers ? CarScope::UnverifiedSale : CarScope::UnverifiedPurchase);
    picker.Edit1Change();
    typeInto(picker.Edit1, serial);
    typeInto(picker.Edit2, chassis);
    QVERIFY(picker.query1->isActive());
    QCOMPARE(chargeLines(picker.query1, key), lines);
    QCOMPARE(picker.query1->recordCount(), lines.size());
    QVERIFY(db.messages.messages.isEmpty());
}

void TestStock::pickerPagesThroughCharges()
{
    // Beyond one page, every line comes once: the lines of a car are told apart by their entry.
    TestDb db;
    const int cars = Tfselecar::PageSize / 2 + 30;
    db.exec(QString("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<%1)"
                    " INSERT INTO carinfor (carserial_no, carstatus) SELECT printf('C%03d', i), 0 FROM n")
                    .arg(cars));
    db.exec("INSERT INTO ccustaccount (caccountid, certificate_no, isprepay, isaffirm, ischeck)"
            " SELECT 'K' || carserial_no || '-' || t, carserial_no, 2, 0, 0 FROM carinfor, (SELECT 1 AS t UNION SELECT 2)");
    Tfselecar picker;
    picker.setScope(CarScope::UnverifiedSale);
    picker.Edit1Change();
    const QStringList lines = chargeLines(picker.query1, "caccountid");
    QCOMPARE(lines.size(), 2 * cars);
    QCOMPARE(QSet<QString>(lines.begin(), lines.end()).size(), 2 * cars);
    QCOMPARE(lines.at(Tfselecar::PageSize), QString("C101/KC101-1"));
}

// ---------------------------------------------------------------- direct costs

// What the picker lists is the statement the benchmark measures.
void TestStock::pickerListsItsStatement()
{
    TestDb db;
    addCar(db, "A1", CarStatus::Sold, "DP1");
    addCar(db, "A2", CarStatus::Sold, "XX2");
    addCar(db, "B1", CarStatus::Sold, "DP3");
    addCar(db, "A3", CarStatus::InStock, "DP4");
    Tfselecar picker;
    picker.setScope(CarScope::Sold);
    picker.Edit1Change();
    typeInto(picker.Edit1, "a");
    typeInto(picker.Edit2, "dp");
    const QString differs = differsFrom(picker.query1, Tfselecar::listStatement(CarScope::Sold, "a", "dp"));
    QVERIFY2(differs.isEmpty(), qPrintable(differs));
    QCOMPARE(picker.query1->recordCount(), 1);
}

void TestStock::costsPendingUntilSavedAndNumbered()
{
    TestDb db;
    receivedCar(db, "A1", 120000);
    db.insert("subject", {{"subjectid", "01"}, {"subjectname", "燃料费"}, {"subjecttype", "车辆附加费"}});
    db.insert("subject", {{"subjectid", "02"}, {"subjectname", "维修费"}, {"subjecttype", "服务费"}});
    Tfinaddcost w;
    w.show();
    QCOMPARE(w.dbgrid1->columns().at(column(w.dbgrid1, "subjectname")).pickList, QStringList{"燃料费"});
    QVERIFY(!w.SpeedItem2->isEnabled());
    pickTheCar("A1");
    press(&w, "SpeedItem5");
    QCOMPARE(w.DBEdit1->text(), QString("A1"));
    QCOMPARE(w.DBEdit6->text(), QString("120000"));
    QVERIFY(w.SpeedItem2->isEnabled());
    QVERIFY(!w.SpeedItem5->isEnabled());
    QVERIFY(!w.SpeedItem4->isEnabled());
    w.tb_addcost->append();
    typeCell(w.dbgrid1, 0, "subjectname", "燃料费");
    typeCell(w.dbgrid1, 0, "cost", "300.5");
    w.tb_addcost->append();
    typeCell(w.dbgrid1, 1, "subjectname", "路桥费");
    typeCell(w.dbgrid1, 1, "cost", "80");
    QCOMPARE(db.count("addcost"), 0); // pending until saved
    press(&w, "SpeedItem2");
    const QString ym = db.scalar("SELECT YM_S FROM XTDH").toString();
    QCOMPARE(db.scalar("SELECT group_concat(addcostid || '/' || carserial_no || '/' || ifnull(carin_no, '-')"
                       " || '/' || cost, ' ') FROM (SELECT * FROM addcost ORDER BY addcostid)").toString(),
             "AS" + ym + "0001/A1/-/300.5 AS" + ym + "0002/A1/-/80.0");
    QCOMPARE(db.scalar("SELECT carprice FROM carinfor").toDouble(), 120000.0);
    QVERIFY(w.SpeedItem5->isEnabled());
    QVERIFY(w.SpeedItem4->isEnabled());
    QCOMPARE(w.tb_addcost->recordCount(), 2);
    // The next edit brings "保存" and "取消" back.
    typeCell(w.dbgrid1, 1, "cost", "90");
    QVERIFY(w.SpeedItem2->isEnabled());
    QVERIFY(!w.SpeedItem4->isEnabled());
}

void TestStock::costAmountParsedStrictly_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("letters") << "abc" << "金额必须是数字！";
    QTest::newRow("two points") << "1.2.3" << "金额必须是数字！";
    QTest::newRow("too large") << "123456789" << Money::tooLargeMessage("金额");
}

void TestStock::costAmountParsedStrictly()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    TestDb db;
    receivedCar(db, "A1");
    Tfinaddcost w;
    w.show();
    w.showCar("A1");
    w.tb_addcost->append();
    typeCell(w.dbgrid1, 0, "subjectname", "燃料费");
    typeCell(w.dbgrid1, 0, "cost", typed);
    press(&w, "SpeedItem2");
    QCOMPARE(db.messages.texts(), QStringList{message});
    QCOMPARE(db.count("addcost"), 0);
    QVERIFY(w.tb_addcost->isEditing());
    QCOMPARE(db.scalar("SELECT caddcost_s FROM XTDH").toInt(), 0);
    typeCell(w.dbgrid1, 0, "cost", "12.34");
    press(&w, "SpeedItem2");
    QCOMPARE(db.scalar("SELECT cost FROM addcost").toDouble(), 12.34);
}

void TestStock::noCostRowWithoutACar()
{
    TestDb db;
    receivedCar(db, "A1");
    Tfinaddcost w;
    w.show();
    whenModal<Tfselecar>([](Tfselecar *d) { QTest::keyClick(d, Qt::Key_Escape); });
    press(&w, "SpeedItem5");
    QVERIFY(!w.tb_addcost->isActive());
    w.tb_addcost->open(); // even with the rows open, no car means no row
    w.tb_addcost->append();
    QVERIFY(w.tb_addcost->state() != DataSet::Insert);
    QCOMPARE(db.messages.texts(), QStringList{"请首先选择车辆!"});
}

void TestStock::costCancelAndCloseQuestion()
{
    TestDb db;
    receivedCar(db, "A1");
    db.insert("addcost", {{"addcostid", "AS0"}, {"carserial_no", "A1"}, {"subjectname", "存放费"}, {"cost", 50}});
    QPointer<Tfinaddcost> w = new Tfinaddcost;
    w->show();
    w->showCar("A1");
    QCOMPARE(w->tb_addcost->recordCount(), 1);
    w->tb_addcost->append();
    typeCell(w->dbgrid1, 1, "cost", "70");
    press(w, "SpeedItem3"); // 取消: the new row goes, the stored one stays
    QCOMPARE(w->tb_addcost->recordCount(), 1);
    QCOMPARE(db.count("addcost"), 1);
    typeCell(w->dbgrid1, 0, "cost", "55");
    db.messages.answer(QMessageBox::Cancel);
    w->close();
    QVERIFY(w);
    QCOMPARE(db.messages.lastText(), QString("数据已修改，是否保存?"));
    db.messages.answer(QMessageBox::Yes);
    w->close();
    QTRY_VERIFY(!w);
    QCOMPARE(db.scalar("SELECT cost FROM addcost").toDouble(), 55.0);
}

// ---------------------------------------------------------------- in-stock

void TestStock::inStockWritesCarRecordChargeAndSlip_data()
{
    QTest::addColumn<bool>("printFails");
    QTest::newRow("printed") << false;
    QTest::newRow("print fails") << true; // the in-stock is stored all the same
}

void TestStock::inStockWritesCarRecordChargeAndSlip()
{
    QFETCH(bool, printFails);
    TestDb db;
    seedInStock(db);
    CapturedPrints prints;
    prints.fail = printFails;
    Shown<Tfcarin> w;
    QCOMPARE(w->Label10->text(), QString("管理员"));
    fillInStock(w.w, carOf("VIN001"));
    QCOMPARE(w->DBEdit2->text(), QString("供应商乙"));
    const QString number = w->DBText1->text();
    QVERIFY(number.startsWith("RS"));
    db.messages.clear();
    saveInStock(db, w.w, true);
    QCOMPARE(db.messages.texts().first(), QString("是否打印入库单?"));
    QCOMPARE(db.messages.messages.size(), printFails ? 2 : 1);
    QCOMPARE(db.scalar("SELECT carserial_no || '|' || chassis_no || '|' || carmodel || '|' || carprice"
                       " || '|' || carstatus FROM carinfor").toString(),
             QString("VIN001|DP-VIN001|捷达|98000.0|0"));
    QCOMPARE(db.scalar("SELECT carin_no || '|' || carserial_no || '|' || buycontract_no || '|' || providerid"
                       " || '|' || provname || '|' || buyrecorder || '|' || instock_date FROM carinstock").toString(),
             number + "|VIN001|HT1|P001|供应商乙|王五|2024-05-06 09:30:00");
    QCOMPARE(db.scalar("SELECT providerid || '|' || provname || '|' || certificate_no || '|' || income"
                       " || '|' || buycont_no || '|' || isaffirm || '|' || ischeck || '|' || isprepay"
                       " || '|' || ifnull(outgo, '-') || '|' || paccountid FROM cprovaccount").toString(),
             "P001|供应商乙|VIN001|98000.0|HT1|0|0|2|-|PS" + db.scalar("SELECT YM_S FROM XTDH").toString() + "0001");
    // Back in browse mode, the slip printed.
    QVERIFY(w->SpeedItem1->isEnabled());
    QVERIFY(!w->SpeedItem5->isEnabled());
    QVERIFY(w->ComboEdit2->text().isEmpty());
    if (printFails) {
        QVERIFY(db.messages.lastIsPrintFailure());
        QVERIFY(prints.documents.isEmpty());
        return;
    }
    QCOMPARE(prints.documents.size(), 1);
    const QStringList texts = prints.documents.first().pages.first().texts();
    QVERIFY2(texts.contains(number) && texts.contains("管理员") && texts.contains("DP-VIN001"),
             qPrintable(texts.join('|')));
}

void TestStock::contractFinishing_data()
{
    QTest::addColumn<QList<int>>("quantities"); // -1: a line without a quantity
    QTest::addColumn<QList<int>>("states");     // isfinished after each in-stock
    QTest::newRow("1 and 2") << QList<int>{1, 2} << QList<int>{1, 1, 2, 2};
    QTest::newRow("one line of 1") << QList<int>{1} << QList<int>{2};
    QTest::newRow("no quantity") << QList<int>{-1} << QList<int>{1, 1};
    QTest::newRow("no lines") << QList<int>{} << QList<int>{1};
}

void TestStock::contractFinishing()
{
    QFETCH(QList<int>, quantities);
    QFETCH(QList<int>, states);
    TestDb db;
    seedInStock(db);
    db.exec("DELETE FROM cbuycontdetail");
    for (int q : quantities)
        db.insert("cbuycontdetail", {{"buycont_no", "BS1"}, {"carmodel", "捷达"},
                                     {"qty", q < 0 ? QVariant() : QVariant(q)}});
    Shown<Tfcarin> w;
    for (int i = 0; i < states.size(); ++i) {
        fillInStock(w.w, carOf(QString("C%1").arg(i)));
        saveInStock(db, w.w);
        QCOMPARE(db.scalar("SELECT isfinished FROM cbuycontract").toInt(), states.at(i));
    }
    // Without lines the contract has no model, so no car comes in against it.
    QCOMPARE(db.count("carinfor"), quantities.isEmpty() ? 0 : states.size());
    if (quantities.isEmpty())
        QVERIFY(db.messages.texts().contains("所选合同并没有此种车辆型号!"));
}

void TestStock::inStockRefusals_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("no provider") << "ComboEdit1" << "" << "请输入供应商代码!" << "ComboEdit1";
    QTest::newRow("unknown provider") << "ComboEdit1" << "P999" << "输入的供应商代码不存在!" << "ComboEdit1";
    QTest::newRow("no serial") << "DBEdit1" << "  " << "请输入车系列号!" << "DBEdit1";
    QTest::newRow("no chassis") << "DBEdit15" << "" << "请输入底盘号!" << "DBEdit15";
    QTest::newRow("serial in stock") << "DBEdit1" << "OLD1" << "该车系列号已存在，不能重复入库!" << "DBEdit1";
    QTest::newRow("other provider") << "ComboEdit1" << "P002" << "所选合同并非是该供应商签约!" << "ComboEdit1";
    // Leaving the contract field for the provider's looks the number up again.
    QTest::newRow("unknown contract") << "ComboEdit2" << "HT9" << "所选合同并非是该供应商签约!" << "ComboEdit2";
    QTest::newRow("model not in contract") << "DBComboBox1" << "奥迪" << "所选合同并没有此种车辆型号!" << "DBComboBox1";
}

void TestStock::inStockRefusals()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestDb db;
    seedInStock(db);
    db.insert("carinfor", {{"carserial_no", "OLD1"}, {"carstatus", codeValue(CarStatus::InStock)}});
    Shown<Tfcarin> w;
    fillInStock(w.w, carOf("VIN001"));
    type(w.w, field.toLatin1(), text);
    type(w.w, "DBEdit8", "王五"); // leaves the field
    const QString before = traces(db);
    db.messages.clear();
    press(w.w, "SpeedItem5");
    QVERIFY(db.messages.texts().contains(message));
    QCOMPARE(QApplication::focusWidget()->objectName() == focus
                     || QApplication::focusWidget()->parentWidget()->objectName() == focus,
             true);
    QCOMPARE(traces(db), before);
    QVERIFY(w->SpeedItem5->isEnabled()); // still editing, input kept
    QCOMPARE(w->DBEdit15->text(), field == "DBEdit15" ? text : QString("DP-VIN001"));
}

void TestStock::failureInsideSaveLeavesNothing()
{
    TestDb db;
    seedInStock(db);
    db.exec("CREATE TRIGGER ledger_refuses BEFORE INSERT ON cprovaccount BEGIN SELECT RAISE(ABORT, '账目写入失败'); END");
    Shown<Tfcarin> w;
    fillInStock(w.w, carOf("VIN001", "HT1", "桑塔纳")); // the contract's last missing car
    db.exec("UPDATE cbuycontdetail SET qty=0 WHERE carmodel='捷达'");
    const QString before = traces(db);
    db.messages.clear();
    press(w.w, "SpeedItem5");
    QCOMPARE(db.messages.messages.size(), 1);
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Error);
    QVERIFY(db.messages.lastText().contains("账目写入失败"));
    QCOMPARE(traces(db), before);
    QCOMPARE(db.count("carinfor"), 0);
    QVERIFY(w->SpeedItem5->isEnabled());
    QCOMPARE(w->DBEdit1->text(), QString("VIN001"));
    QCOMPARE(w->DBEdit15->text(), QString("DP-VIN001"));
    QCOMPARE(w->DBEdit20->text(), QString("98000"));
    // Mended, the same input saves whole.
    db.exec("DROP TRIGGER ledger_refuses");
    saveInStock(db, w.w);
    QCOMPARE(db.count("carinfor"), 1);
    QCOMPARE(db.count("cprovaccount"), 1);
    QCOMPARE(db.scalar("SELECT isfinished FROM cbuycontract").toInt(), 2);
}

void TestStock::addCancelGivesTheNumberBack()
{
    TestDb db;
    seedInStock(db);
    Shown<Tfcarin> w;
    fillInStock(w.w, carOf("VIN001"));
    const QString number = w->DBText1->text();
    QCOMPARE(db.count("carinstock"), 1);
    press(w.w, "SpeedItem3");
    QCOMPARE(db.count("carinstock"), 0);
    QCOMPARE(db.count("carinfor"), 0);
    QCOMPARE(db.count("recycle", "type='rs'"), 1);
    QVERIFY(w->SpeedItem1->isEnabled());
    press(w.w, "SpeedItem1");
    QCOMPARE(w->DBText1->text(), number);
    QCOMPARE(db.count("recycle"), 0);
}

void TestStock::inStockCloseQuestion()
{
    TestDb db;
    seedInStock(db);
    Shown<Tfcarin> w;
    fillInStock(w.w, carOf("VIN001"));
    type(w.w, "DBEdit15", ""); // the save will be refused
    db.messages.clear();
    db.messages.answer(QMessageBox::Cancel);
    w->close();
    QVERIFY(w.w);
    QCOMPARE(db.messages.texts(), QStringList{"是否保存入库单？"});
    db.messages.answer(QMessageBox::Yes); // refused: stays open
    w->close();
    QVERIFY(w.w);
    QCOMPARE(db.messages.lastText(), QString("请输入底盘号!"));
    QCOMPARE(db.count("carinstock"), 1);
    db.messages.answer(QMessageBox::No);
    w->close();
    QTRY_VERIFY(!w.w);
    QCOMPARE(db.count("carinstock"), 0);
    QCOMPARE(db.count("recycle", "type='rs'"), 1);
}

void TestStock::priceTypedStrictly()
{
    TestDb db;
    seedInStock(db);
    Shown<Tfcarin> w;
    fillInStock(w.w, carOf("VIN001"));
    db.messages.clear();
    type(w.w, "DBEdit20", "12a");
    QVERIFY(!db.messages.messages.isEmpty());
    QCOMPARE(w->DBEdit20->text(), QString("12"));
    saveInStock(db, w.w);
    QCOMPARE(db.scalar("SELECT carprice FROM carinfor").toDouble(), 12.0);
    QCOMPARE(db.scalar("SELECT income FROM cprovaccount").toDouble(), 12.0);
}

void TestStock::modelListAndLookups()
{
    TestDb db;
    seedInStock(db);
    Shown<Tfcarin> w;
    press(w.w, "SpeedItem1");
    QVERIFY(w->ComboEdit2->hasFocus());
    // The model list before a provider: back to the provider field.
    db.messages.clear();
    w->DBComboBox1->setFocus();
    QCOMPARE(db.messages.texts(), QStringList{"请首先选择供应商!"});
    QVERIFY(w->ComboEdit1->hasFocus());
    type(w.w, "ComboEdit2", "HT9");
    type(w.w, "DBEdit1", "X");
    QCOMPARE(db.messages.lastText(), QString("不存在此采购合同号!"));
    QVERIFY(w->ComboEdit2->hasFocus());
    type(w.w, "ComboEdit2", "HT1");
    type(w.w, "DBEdit1", "X");
    QCOMPARE(w->ComboEdit1->text(), QString("P001"));
    QCOMPARE(w->DBEdit2->text(), QString("供应商乙"));
    QStringList items;
    for (int i = 0; i < w->DBComboBox1->count(); ++i)
        items << w->DBComboBox1->itemText(i);
    QVERIFY(items.contains("桑塔纳") && items.contains("捷达"));
    // The contract picker offers started contracts only.
    db.insert("cbuycontract", {{"buycont_no", "BS2"}, {"contract_no", "HT2"}, {"providerid", "P002"},
                               {"provname", "供应商丙"}, {"isfinished", codeValue(ContractProgress::Saved)}});
    int listed = -1;
    whenModal<QDialog>([&](QDialog *d) {
        listed = d->findChild<DBGrid *>()->dataSet()->recordCount();
        d->findChild<QAbstractButton *>("BitBtn1")->click();
    });
    w->ComboEdit2->clickButton();
    QCOMPARE(listed, 1);
    QCOMPARE(w->ComboEdit2->text(), QString("HT1"));
}

// ---------------------------------------------------------------- in-stock query

void TestStock::inStockQueryScopes_data()
{
    QTest::addColumn<bool>("inStockNow");
    QTest::addColumn<QStringList>("serials");
    QTest::newRow("入库") << false << QStringList{"S1", "S0", "S3"};
    QTest::newRow("库存") << true << QStringList{"S0", "S3"};
}

void TestStock::inStockQueryScopes()
{
    QFETCH(bool, inStockNow);
    QFETCH(QStringList, serials);
    TestDb db;
    seedReceipts(db);
    Shown<Tfcarinsele> w;
    QCOMPARE(w->Label6->text(), QString("管理员"));
    QVERIFY(!w->SpeedItem6->isEnabled());
    QCOMPARE(w->statusText->text(), QString("车辆入库查询"));
    if (inStockNow)
        QTest::keyClick(w->RadioGroup1Item1, Qt::Key_Space);
    QCOMPARE(w->inStockNow(), inStockNow);
    QTest::keyClick(w.w, Qt::Key_1, Qt::AltModifier); // 查询
    QCOMPARE(listed(w->tq_carin), serials); // oldest in-stock first; returned to the provider never
    QCOMPARE(w->statusText->text(), QString("共:%1 条记录").arg(serials.size()));
    QVERIFY(w->SpeedItem6->isEnabled());
    // The direct costs summed per car, empty without any.
    QCOMPARE(listed(w->tq_carin, "addcost").first(), inStockNow ? QString() : QString("50.5"));
}

void TestStock::inStockQueryConditions_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("serials");
    const QDate day(2024, 3, 31);
    QTest::newRow("one day") << "" << "" << day << day << QStringList{"S0"};
    QTest::newRow("to a day") << "" << "" << QDate() << day << QStringList{"S1", "S0"};
    QTest::newRow("from a day") << "" << "" << day << QDate() << QStringList{"S0", "S3"};
    QTest::newRow("provider") << "ComboEdit1" << "p00" << QDate() << QDate() << QStringList{"S1", "S0", "S3"};
    QTest::newRow("provider 2") << "ComboEdit1" << "P002" << QDate() << QDate() << QStringList{"S0"};
    QTest::newRow("serial") << "Edit1" << "s3" << QDate() << QDate() << QStringList{"S3"};
    QTest::newRow("chassis") << "Edit3" << "DPS1" << QDate() << QDate() << QStringList{"S1"};
    QTest::newRow("contract") << "ComboEdit2" << "HT" << QDate() << QDate() << QStringList{"S1", "S0", "S3"};
    QTest::newRow("provider name") << "Edit2" << "供应商" << QDate() << QDate() << QStringList{"S1", "S0", "S3"};
    QTest::newRow("model") << "ComboBox1" << "捷" << QDate() << QDate() << QStringList{"S3"};
    QTest::newRow("blanks count") << "Edit1" << " " << QDate() << QDate() << QStringList{};
    QTest::newRow("apostrophe") << "Edit2" << "供'" << QDate() << QDate() << QStringList{};
    QTest::newRow("wildcard") << "Edit1" << "_" << QDate() << QDate() << QStringList{};
}

void TestStock::inStockQueryConditions()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, serials);
    TestDb db;
    seedReceipts(db);
    Shown<Tfcarinsele> w;
    if (!field.isEmpty())
        type(w.w, field.toLatin1(), text);
    w->DateEdit1->setDate(from);
    w->DateEdit2->setDate(to);
    press(w.w, "SpeedItem1");
    QCOMPARE(listed(w->tq_carin), serials);
    QCOMPARE(w->statusText->text(), QString("共:%1 条记录").arg(serials.size()));
    QVERIFY(db.messages.messages.isEmpty());
    // Cleared, the next query applies no condition; the list stays until then.
    press(w.w, "SpeedItem3");
    QCOMPARE(w->DateEdit1->displayText(), DateEdit::blankText());
    QCOMPARE(listed(w->tq_carin), serials);
    press(w.w, "SpeedItem1");
    QCOMPARE(w->tq_carin->recordCount(), 3);
}

void TestStock::inStockQueryPrints()
{
    TestDb db;
    seedReceipts(db);
    CapturedPrints prints;
    Shown<Tfcarinsele> w;
    press(w.w, "SpeedItem1");
    // 入库: the choice; the slip of the current row.
    w->tq_carin->setRecNo(1);
    whenModal<Tfseleprn>([](Tfseleprn *d) { QTest::keyClick(d->BitBtn1, Qt::Key_Return); });
    press(w.w, "SpeedItem6");
    QCOMPARE(prints.documents.size(), 1);
    QStringList texts = prints.documents.last().pages.first().texts();
    QVERIFY2(texts.contains("RS4") && texts.contains("DPS0") && texts.contains("管理员"), qPrintable(texts.join('|')));
    // The list, by in-stock number, of the conditions as they stand now.
    w->DateEdit2->setDate(QDate(2024, 3, 31));
    whenModal<Tfseleprn>([](Tfseleprn *d) {
        d->item1->setChecked(true);
        d->BitBtn1->click();
    });
    press(w.w, "SpeedItem6");
    QCOMPARE(prints.documents.size(), 2);
    texts = prints.documents.last().pages.first().texts();
    QCOMPARE(texts.first(), QString("车辆入库明细表"));
    QVERIFY(texts.indexOf("RS3") < texts.indexOf("RS4"));
    QVERIFY(!texts.contains("RS1") && texts.contains("2024-03-31"));
    // Cancel prints nothing; neither does the slip of an empty list.
    whenModal<Tfseleprn>([](Tfseleprn *d) { QTest::keyClick(d, Qt::Key_Escape); });
    press(w.w, "SpeedItem6");
    type(w.w, "Edit1", "none");
    press(w.w, "SpeedItem1");
    whenModal<Tfseleprn>([](Tfseleprn *d) { d->BitBtn1->click(); });
    press(w.w, "SpeedItem6");
    QCOMPARE(prints.documents.size(), 2);
    // 库存 prints its list at once.
    press(w.w, "SpeedItem3");
    w->RadioGroup1Item1->setChecked(true);
    press(w.w, "SpeedItem6");
    QCOMPARE(prints.documents.size(), 3);
    QCOMPARE(prints.documents.last().pages.first().texts().first(), QString("车辆库存明细表"));
}

// What the query lists is the statement the benchmark measures, for either
// scope and the filters filled in.
void TestStock::inStockQueryListsItsStatement_data()
{
    QTest::addColumn<bool>("inStockNow");
    QTest::addColumn<int>("rows");
    QTest::newRow("入库") << false << 2;
    QTest::newRow("库存") << true << 1;
}

void TestStock::inStockQueryListsItsStatement()
{
    QFETCH(bool, inStockNow);
    QFETCH(int, rows);
    TestDb db;
    seedReceipts(db);
    Shown<Tfcarinsele> w;
    if (inStockNow)
        QTest::keyClick(w->RadioGroup1Item1, Qt::Key_Space);
    type(w.w, "ComboEdit1", "p00");
    type(w.w, "ComboBox1", "桑");
    w->DateEdit2->setDate(QDate(2024, 3, 31));
    press(w.w, "SpeedItem1");
    const Tfcarinsele::Filter typed{.providerCode = "p00", .model = "桑", .to = QDate(2024, 3, 31)};
    const QString differs = differsFrom(w->tq_carin, Tfcarinsele::listStatement(inStockNow, typed));
    QVERIFY2(differs.isEmpty(), qPrintable(differs));
    QCOMPARE(w->tq_carin->recordCount(), rows);
}

QTEST_MAIN(TestStock)
#include "tst_stock.moc"
