// The sales query, driven through the real window.
#include "Drive.h"
#include "Format.h"
#include "ListCheck.h"
#include "ReportPrinter.h"
#include "SaleFixture.h"
#include "Ucaroutsele.h"

using namespace SaleFixture;

namespace {

// Car A sold, returned and sold again, with presents and a service; car B
// sold without either; car C back from its customer; car D in stock.
void seedSales(TestDb &db)
{
    seed(db);
    addCar(db, "CARA", CarStatus::Sold, 100000, {{"carmodel", "桑塔纳"}});
    addCar(db, "CARB", CarStatus::Sold, 90000, {{"carmodel", "捷达"}});
    addCar(db, "CARC", CarStatus::ReturnedByCustomer);
    addCar(db, "CARD", CarStatus::InStock);
    addSale(db, "CS2024050001", "CARA", "C001", "2024-04-30 23:59:59", 120000, "HT-1");
    addSale(db, "CS2024050002", "CARB", "C002", "2024-05-01 00:00:00", 95000);
    addSale(db, "CS2024050003", "CARC", "C001", "2024-05-01 10:00:00");
    addSale(db, "CS2024050004", "CARA", "X9", "2024-05-01 23:59:59", 125000, "HT'2");
    addSale(db, "CS2024050005", "CARB", "C002", "2024-05-02 00:00:00", 96000);
    db.insert("presentcost", {{"presentid", "ZS1"}, {"carserial_no", "CARA"}, {"cost", 100.25}});
    db.insert("presentcost", {{"presentid", "ZS2"}, {"carserial_no", "CARA"}, {"cost", 50}});
    db.insert("servicecost", {{"serviceid", "VS1"}, {"carserial_no", "CARA"}, {"cost", 30}});
}

QStringList column(DataSet *d, const QString &field)
{
    QStringList values;
    for (int r = 0; r < d->recordCount(); ++r)
        values << Fmt::display(d->valueAt(r, field));
    return values;
}

void query(Tfcaroutsele *w) { QVERIFY(Drive::press(w, "SpeedItem1")); }

} // namespace

class TestCaroutsele : public QObject {
    Q_OBJECT

private slots:
    void everySaleOfASoldCarWithItsSums();
    void conditions_data();
    void conditions();
    void listsItsStatement();
    void clearKeepsTheList();
    void printsEverySaleByNumber();
};

void TestCaroutsele::everySaleOfASoldCarWithItsSums()
{
    TestDb db;
    seedSales(db);
    db.insert("model", {{"code", "1"}, {"model", "桑塔纳"}});
    db.insert("model", {{"code", "2"}, {"model", "捷达"}});
    Shown<Tfcaroutsele> w(new Tfcaroutsele);
    QCOMPARE(w->windowTitle(), QString("车辆销售查询"));
    QCOMPARE(w->statusText->text(), QString("车辆销售查询"));
    QCOMPARE(w->Label6->text(), QString("管理员"));
    QCOMPARE(w->ComboBox1->count(), 2);
    QVERIFY(!w->SpeedItem6->isEnabled());
    QVERIFY(!w->tq_carout->isActive());

    query(w.w);
    DataSet *list = w->tq_carout;
    // By out-stock date; the car back from its customer is not there.
    QCOMPARE(column(list, "carout_no"), QStringList({"CS2024050001", "CS2024050002", "CS2024050004",
                                                     "CS2024050005"}));
    // The sums are the car's, on each of its sales; none is empty, not 0.
    QCOMPARE(column(list, "aa"), QStringList({"150.25", "", "150.25", ""}));
    QCOMPARE(column(list, "bb"), QStringList({"30", "", "30", ""}));
    QCOMPARE(column(list, "carmodel"), QStringList({"桑塔纳", "捷达", "桑塔纳", "捷达"}));
    QCOMPARE(w->statusText->text(), QString("共:4 条记录"));
    QVERIFY(w->SpeedItem6->isEnabled());
    QCOMPARE(w->RxDBGrid1->model()->rowCount(), 4);
}

void TestCaroutsele::conditions_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");
    const QStringList none;
    QTest::newRow("serial") << "Edit1" << "CARB" << QStringList({"CS2024050002", "CS2024050005"});
    QTest::newRow("serial lower case") << "Edit1" << "cara" << QStringList({"CS2024050001", "CS2024050004"});
    QTest::newRow("customer") << "ComboEdit1" << "C00" << QStringList({"CS2024050001", "CS2024050002", "CS2024050005"});
    QTest::newRow("contract with apostrophe") << "ComboEdit2" << "HT'" << QStringList({"CS2024050004"});
    QTest::newRow("wildcard is literal") << "ComboEdit2" << "HT%" << none;
    QTest::newRow("name") << "Edit2" << "客户乙" << none;
    QTest::newRow("name of sale") << "Edit2" << "客户C" << QStringList({"CS2024050002", "CS2024050005"});
    QTest::newRow("blanks count") << "Edit3" << " " << none;
    QTest::newRow("chassis") << "Edit3" << "CH-CARA" << QStringList({"CS2024050001", "CS2024050004"});
    QTest::newRow("one day") << "dates" << "2024-05-01" << QStringList({"CS2024050002", "CS2024050004"});
}

void TestCaroutsele::conditions()
{
    QFETCH(QString, edit);
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    TestDb db;
    seedSales(db);
    Shown<Tfcaroutsele> w(new Tfcaroutsele);
    if (edit == "dates") {
        for (const char *name : {"DateEdit1", "DateEdit2"})
            QVERIFY(Drive::type(w.w, name, QString(text).remove('-')));
        QCOMPARE(w->DateEdit2->date(), QDate(2024, 5, 1));
    } else {
        QVERIFY(Drive::type(w.w, edit.toLatin1(), text));
    }
    query(w.w);
    QCOMPARE(column(w->tq_carout, "carout_no"), found);
    QCOMPARE(w->statusText->text(), QString("共:%1 条记录").arg(found.size()));
    QVERIFY(db.messages.messages.isEmpty());
}

// What the query lists is the statement the benchmark measures.
void TestCaroutsele::listsItsStatement()
{
    TestDb db;
    seedSales(db);
    Shown<Tfcaroutsele> w(new Tfcaroutsele);
    QVERIFY(Drive::type(w.w, "ComboEdit1", "C00"));
    QVERIFY(Drive::type(w.w, "Edit3", "CH-CAR"));
    QVERIFY(Drive::type(w.w, "DateEdit2", "20240501"));
    query(w.w);
    const Tfcaroutsele::Filter typed{.customerCode = "C00", .chassis = "CH-CAR", .to = QDate(2024, 5, 1)};
    const QString differs = differsFrom(w->tq_carout, Tfcaroutsele::listStatement(typed));
    QVERIFY2(differs.isEmpty(), qPrintable(differs));
    QCOMPARE(column(w->tq_carout, "carout_no"), QStringList({"CS2024050001", "CS2024050002"}));
}

void TestCaroutsele::clearKeepsTheList()
{
    TestDb db;
    seedSales(db);
    Shown<Tfcaroutsele> w(new Tfcaroutsele);
    QVERIFY(Drive::type(w.w, "Edit1", "CARB"));
    QVERIFY(Drive::type(w.w, "DateEdit1", "20240501"));
    w->ComboBox1->setEditText("捷达");
    query(w.w);
    QCOMPARE(w->tq_carout->recordCount(), 2);
    QVERIFY(Drive::press(w.w, "SpeedItem3"));
    QVERIFY(w->Edit1->text().isEmpty());
    QVERIFY(w->ComboBox1->currentText().isEmpty());
    QVERIFY(w->DateEdit1->isBlank());
    QCOMPARE(w->tq_carout->recordCount(), 2);
    QCOMPARE(w->statusText->text(), QString("共:2 条记录"));
}

void TestCaroutsele::printsEverySaleByNumber()
{
    TestDb db;
    seedSales(db);
    Shown<Tfcaroutsele> w(new Tfcaroutsele);
    QVERIFY(Drive::type(w.w, "Edit1", "CARA"));
    query(w.w);
    QVERIFY(Drive::type(w.w, "DateEdit2", "20240501"));
    CapturedPrints prints;
    QVERIFY(Drive::press(w.w, "SpeedItem6"));
    QVERIFY(db.messages.messages.isEmpty());
    QCOMPARE(prints.documents.size(), 1);
    // The conditions as they stand now; the sale to a customer missing from
    // the register is printed too.
    const QStringList texts = prints.documents.first().pages.first().texts();
    QVERIFY(texts.contains("CS2024050001"));
    QVERIFY(texts.contains("CS2024050004"));
    QVERIFY(texts.indexOf("CS2024050001") < texts.indexOf("CS2024050004"));
    QVERIFY(texts.contains("ID-1"));
    QVERIFY(texts.contains("2024-05-01"));
    QVERIFY(texts.contains("管理员"));
    QVERIFY(texts.contains("150.25"));
    QVERIFY(!texts.contains("CS2024050002"));
}

QTEST_MAIN(TestCaroutsele)
#include "tst_caroutsele.moc"
