// The stock windows, driven through the real windows and dialogs.
#include "Clock.h"
#include "Db.h"
#include "Modal.h"
#include "TestDb.h"
#include "Uinaddcost.h"
#include "Uselecar.h"

#include "Money.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QTest>

namespace {

const QDateTime Now(QDate(2024, 5, 6), QTime(9, 30, 0));

void addCar(TestDb &db, const QString &serial, int status, const QString &chassis = {})
{
    db.insert("carinfor", {{"carserial_no", serial},
                           {"chassis_no", chassis.isEmpty() ? QVariant() : QVariant(chassis)},
                           {"carstatus", status},
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
    db.insert("carinfor", {{"carserial_no", serial}, {"carstatus", 0}, {"carprice", price},
                           {"chassis_no", "DP-" + serial}});
    db.insert("carinstock", {{"carin_no", "RS-" + serial}, {"carserial_no", serial}});
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

    void costsPendingUntilSavedAndNumbered();
    void costAmountParsedStrictly_data();
    void costAmountParsedStrictly();
    void noCostRowWithoutACar();
    void costCancelAndCloseQuestion();
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
    addCar(db, "A1", 0, "DP1");
    addCar(db, "A2", 1, "DP2");
    addCar(db, "A3", 2, "DP3");
    addCar(db, "A4", 3, "XX4");
    addCar(db, "B1", 0, "DP5");
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
    addCar(db, "A1", 0);
    QPointer<Tfselecar> picker = new Tfselecar;
    bool leftOpen = false;
    whenModal<Tfselecar>([&](Tfselecar *d) {
        QTest::keyClicks(d->Edit1, "Z");
        QTest::keyClick(d->Edit1, Qt::Key_Return); // an empty list: stays open
        leftOpen = d->isVisible();
        QTest::keyClick(d, Qt::Key_Escape);
    });
    QVERIFY(!picker->pick());
    QVERIFY(leftOpen);
    delete picker.data();
}

void TestStock::pickerReturnsTheSelectedCar()
{
    TestDb db;
    addCar(db, "A1", 0);
    addCar(db, "A2", 3);
    addCar(db, "A3", 1);
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

// ---------------------------------------------------------------- direct costs

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

QTEST_MAIN(TestStock)
#include "tst_stock.moc"
