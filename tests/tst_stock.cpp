// The stock windows, driven through the real windows and dialogs.
#include "Clock.h"
#include "Db.h"
#include "Modal.h"
#include "TestDb.h"
#include "Uselecar.h"

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

} // namespace

class TestStock : public QObject {
    Q_OBJECT

private slots:
    void init() { Clock::setNow(Now); }

    void pickerNarrowsItsScope_data();
    void pickerNarrowsItsScope();
    void pickerConfirmsOnlyARow();
    void pickerReturnsTheSelectedCar();
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
        QCOMPARE(QApplication::focusWidget(), d->Edit1);
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

QTEST_MAIN(TestStock)
#include "tst_stock.moc"
