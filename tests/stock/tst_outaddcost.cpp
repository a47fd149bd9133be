// Services and presents of a sold car, driven through the real window.
#include "Db.h"
#include "Drive.h"
#include "SaleFixture.h"
#include "Uoutaddcost.h"

#include <QApplication>
#include <QSqlQuery>
#include <QTabBar>
#include <QTabWidget>

using namespace SaleFixture;

namespace {

// The window with a stand-in picker that chooses the given car.
Tfoutaddcost *costWindow(const QString &serial)
{
    auto *w = new Tfoutaddcost;
    w->chooseCar = [serial](QWidget *) { return std::optional<QString>(serial); };
    return w;
}

void chooseCar(Tfoutaddcost *w)
{
    QVERIFY(Drive::press(w, "SpeedItem5"));
    QCOMPARE(w->DBEdit1->text(), QString("CAR1"));
}

void key(DBGrid *grid, int k, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key(k), m);
}

void selectCell(DBGrid *grid, const QString &field)
{
    grid->setCurrentIndex(grid->model()->index(grid->dataSet()->recNo(), Drive::column(grid, field)));
}

// Fills the current row's name and amount by typing into its cells.
void fillRow(DBGrid *grid, const QString &name, const QString &cost)
{
    selectCell(grid, "subjectname");
    QVERIFY(Drive::typeCell(grid, name));
    selectCell(grid, "cost");
    QVERIFY(Drive::typeCell(grid, cost));
}

bool editingButtons(Tfoutaddcost *w)
{
    return w->SpeedItem2->isEnabled() && w->SpeedItem3->isEnabled() && !w->SpeedItem4->isEnabled()
           && !w->SpeedItem5->isEnabled();
}

bool browseButtons(Tfoutaddcost *w)
{
    return !w->SpeedItem2->isEnabled() && !w->SpeedItem3->isEnabled() && w->SpeedItem4->isEnabled()
           && w->SpeedItem5->isEnabled();
}

QStringList recycled(const QString &type)
{
    QStringList serials;
    QSqlQuery q = Db::exec("SELECT recycle FROM recycle WHERE type=:t ORDER BY recycle", {{":t", type}});
    while (q.next())
        serials << q.value(0).toString();
    return serials;
}

} // namespace

class TestOutaddcost : public QObject {
    Q_OBJECT

private slots:
    void rowsNumberedOnInsertAndSavedTogether();
    void pickListsHoldTheirSubjectType();
    void cancelGivesBackOnlyNewNumbers();
    void closeWithPendingRowsAsks_data();
    void closeWithPendingRowsAsks();
    void badAmountIsRefused();
    void failedSaveStoresNothingAndKeepsRows();
    void choosingACarFocusesTheServicesOnTheirName();
};

void TestOutaddcost::rowsNumberedOnInsertAndSavedTogether()
{
    TestDb db;
    seed(db);
    addCar(db, "CAR1", CarStatus::Sold);
    Shown<Tfoutaddcost> w(costWindow("CAR1"));
    QCOMPARE(w->windowTitle(), QString("销售附加业务管理"));
    QCOMPARE(w->Label9->text(), QString("管理员"));
    QVERIFY(browseButtons(w.w));
    chooseCar(w.w);
    QCOMPARE(w->PageControl1->currentIndex(), 0);

    // Insert starts a row with its number and the car, before anything is typed.
    key(w->DBGrid1, Qt::Key_Insert);
    QCOMPARE(w->tb_service->state(), DataSet::Insert);
    QCOMPARE(w->tb_service->value("serviceid").toString(), QString("VS2024050001"));
    QCOMPARE(w->tb_service->value("carserial_no").toString(), QString("CAR1"));
    QVERIFY(editingButtons(w.w));
    fillRow(w->DBGrid1, "保养", "300.5");
    // Down on the last row posts it and starts the next; that one stays bare.
    key(w->DBGrid1, Qt::Key_Down);
    QCOMPARE(w->tb_service->value("serviceid").toString(), QString("VS2024050002"));
    QCOMPARE(db.count("servicecost"), 0); // waiting in the window

    w->PageControl1->setCurrentIndex(1);
    key(w->DBGrid4, Qt::Key_Insert);
    QCOMPARE(w->tb_present->value("presentid").toString(), QString("ZS2024050001"));
    fillRow(w->DBGrid4, "脚垫", "80");
    QVERIFY(editingButtons(w.w));

    QVERIFY(Drive::press(w.w, "SpeedItem2"));
    QVERIFY(browseButtons(w.w));
    QCOMPARE(db.count("servicecost", "carserial_no='CAR1'"), 2);
    QCOMPARE(db.scalar("SELECT cost FROM servicecost WHERE serviceid='VS2024050001'").toDouble(), 300.5);
    QCOMPARE(db.scalar("SELECT subjectname FROM servicecost WHERE serviceid='VS2024050001'").toString(),
             QString("保养"));
    QVERIFY(db.scalar("SELECT cost FROM servicecost WHERE serviceid='VS2024050002'").isNull());
    QVERIFY(db.scalar("SELECT subjectname FROM servicecost WHERE serviceid='VS2024050002'").isNull());
    QCOMPARE(db.scalar("SELECT cost FROM presentcost WHERE presentid='ZS2024050001'").toDouble(), 80.0);
    QCOMPARE(db.scalar("SELECT carserial_no FROM presentcost").toString(), QString("CAR1"));
    QVERIFY(db.scalar("SELECT carout_no FROM presentcost").isNull());
    QCOMPARE(db.count("recycle"), 0);
    QVERIFY(db.messages.messages.isEmpty());

    // Stored rows: closing asks nothing.
    QVERIFY(w->close());
    QVERIFY(db.messages.messages.isEmpty());
}

void TestOutaddcost::pickListsHoldTheirSubjectType()
{
    TestDb db;
    seed(db);
    Shown<Tfoutaddcost> w(costWindow("CAR1"));
    auto picks = [](DBGrid *g) { return g->columns().at(Drive::column(g, "subjectname")).pickList; };
    QCOMPARE(picks(w->DBGrid1), QStringList({"保养", "上牌"}));
    QCOMPARE(picks(w->DBGrid4), QStringList({"脚垫"}));
    // No car chosen: nothing can be added.
    key(w->DBGrid1, Qt::Key_Insert);
    QVERIFY(!w->tb_service->isActive());
    QCOMPARE(db.scalar("SELECT cservice_s FROM XTDH").toInt(), 0);
}

void TestOutaddcost::cancelGivesBackOnlyNewNumbers()
{
    TestDb db;
    seed(db);
    addCar(db, "CAR1", CarStatus::Sold);
    db.insert("servicecost", {{"serviceid", "VS2024050001"}, {"carserial_no", "CAR1"},
                              {"subjectname", "保养"}, {"cost", 100}});
    db.exec("UPDATE XTDH SET cservice_s=1");
    Shown<Tfoutaddcost> w(costWindow("CAR1"));
    chooseCar(w.w);
    QCOMPARE(w->tb_service->recordCount(), 1);

    // A stored row changed, then two new rows, the second dropped again with Escape.
    selectCell(w->DBGrid1, "cost");
    QVERIFY(Drive::typeCell(w->DBGrid1, "150"));
    QVERIFY(editingButtons(w.w));
    key(w->DBGrid1, Qt::Key_Insert);
    fillRow(w->DBGrid1, "上牌", "20");
    key(w->DBGrid1, Qt::Key_Down);
    QCOMPARE(w->tb_service->value("serviceid").toString(), QString("VS2024050003"));
    w->tb_service->cancel();

    QVERIFY(Drive::press(w.w, "SpeedItem3"));
    QVERIFY(browseButtons(w.w));
    // The stored row keeps its number and its amount; both new numbers are back.
    QCOMPARE(db.count("servicecost"), 1);
    QCOMPARE(db.scalar("SELECT cost FROM servicecost").toDouble(), 100.0);
    QCOMPARE(w->tb_service->value("cost").toDouble(), 100.0);
    QCOMPARE(recycled("vs"), QStringList({"2", "3"}));

    // The next new row takes the smallest number given back.
    key(w->DBGrid1, Qt::Key_Insert);
    QCOMPARE(w->tb_service->value("serviceid").toString(), QString("VS2024050002"));
    QVERIFY(Drive::press(w.w, "SpeedItem3"));
    QCOMPARE(recycled("vs"), QStringList({"2", "3"}));
}

void TestOutaddcost::closeWithPendingRowsAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QStringList>("givenBack");
    QTest::newRow("yes saves") << int(QMessageBox::Yes) << true << 1 << QStringList();
    QTest::newRow("no discards") << int(QMessageBox::No) << true << 0 << QStringList({"1"});
    QTest::newRow("cancel keeps") << int(QMessageBox::Cancel) << false << 0 << QStringList();
}

void TestOutaddcost::closeWithPendingRowsAsks()
{
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(int, stored);
    QFETCH(QStringList, givenBack);
    TestDb db;
    seed(db);
    addCar(db, "CAR1", CarStatus::Sold);
    Shown<Tfoutaddcost> w(costWindow("CAR1"));
    chooseCar(w.w);
    w->PageControl1->setCurrentIndex(1);
    key(w->DBGrid4, Qt::Key_Insert);
    fillRow(w->DBGrid4, "脚垫", "80");
    // Posted into the window's changes: still pending.
    w->tb_present->post();
    QVERIFY(editingButtons(w.w));

    db.messages.answer(QMessageBox::StandardButton(answer));
    QCOMPARE(w->close(), closes);
    QCOMPARE(db.messages.texts(), QStringList({"数据已修改，是否保存?"}));
    QCOMPARE(db.messages.messages.first().defaultButton, QMessageBox::Cancel);
    QCOMPARE(db.count("presentcost"), stored);
    QCOMPARE(recycled("zs"), givenBack);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(bool(w.w), !closes);
    if (!closes)
        QCOMPARE(w->tb_present->value("cost").toDouble(), 80.0);
}

void TestOutaddcost::badAmountIsRefused()
{
    TestDb db;
    seed(db);
    addCar(db, "CAR1", CarStatus::Sold);
    Shown<Tfoutaddcost> w(costWindow("CAR1"));
    chooseCar(w.w);
    key(w->DBGrid1, Qt::Key_Insert);
    fillRow(w->DBGrid1, "保养", "1O0");
    QVERIFY(Drive::press(w.w, "SpeedItem2"));
    QCOMPARE(db.messages.texts(), QStringList({"金额必须是数字，最多4位小数！"}));
    QCOMPARE(db.count("servicecost"), 0);
    QVERIFY(editingButtons(w.w));
    QCOMPARE(Drive::column(w->DBGrid1, "cost"), w->DBGrid1->currentIndex().column());

    selectCell(w->DBGrid1, "cost");
    QVERIFY(Drive::typeCell(w->DBGrid1, "100"));
    QVERIFY(Drive::press(w.w, "SpeedItem2"));
    QCOMPARE(db.scalar("SELECT typeof(cost) FROM servicecost").toString(), QString("real"));
}

void TestOutaddcost::failedSaveStoresNothingAndKeepsRows()
{
    TestDb db;
    seed(db);
    addCar(db, "CAR1", CarStatus::Sold);
    db.exec("CREATE TRIGGER no_presents BEFORE INSERT ON presentcost BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    Shown<Tfoutaddcost> w(costWindow("CAR1"));
    chooseCar(w.w);
    key(w->DBGrid1, Qt::Key_Insert);
    fillRow(w->DBGrid1, "保养", "100");
    w->PageControl1->setCurrentIndex(1);
    key(w->DBGrid4, Qt::Key_Insert);
    fillRow(w->DBGrid4, "脚垫", "80");

    QVERIFY(Drive::press(w.w, "SpeedItem2"));
    QCOMPARE(db.messages.messages.size(), 1);
    QVERIFY(db.messages.lastText().contains("disk full"));
    QCOMPARE(db.count("servicecost"), 0);
    QCOMPARE(db.count("presentcost"), 0);
    QVERIFY(editingButtons(w.w));

    // Mended, the same rows are saved.
    db.exec("DROP TRIGGER no_presents");
    QVERIFY(Drive::press(w.w, "SpeedItem2"));
    QCOMPARE(db.count("servicecost"), 1);
    QCOMPARE(db.count("presentcost"), 1);
}

// From the presents page too, 选车 shows the services with the focus on the
// first row's fee name, and what is typed there is kept.
void TestOutaddcost::choosingACarFocusesTheServicesOnTheirName()
{
    TestDb db;
    seed(db);
    addCar(db, "CAR1", CarStatus::Sold);
    db.insert("servicecost", {{"serviceid", "VS1"}, {"carserial_no", "CAR1"}, {"subjectname", "洗车"}});
    Shown<Tfoutaddcost> w(costWindow("CAR1"));
    QApplication::setActiveWindow(w.w);
    QTabBar *tabs = w->PageControl1->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    QCOMPARE(w->PageControl1->currentIndex(), 1);
    QWidget *focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : w.w.data(), Qt::Key_1, Qt::AltModifier); // 选车
    QCOMPARE(w->PageControl1->currentIndex(), 0);
    QVERIFY(w->DBGrid1->hasFocus());
    QCOMPARE(w->DBGrid1->currentIndex().row(), 0);
    QCOMPARE(w->DBGrid1->currentIndex().column(), Drive::column(w->DBGrid1, "subjectname"));
    Drive::typeText(w->DBGrid1, "上");
    Drive::typeText(QApplication::focusWidget(), "牌");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_2, Qt::AltModifier); // 保存
    QCOMPARE(db.scalar("SELECT serviceid || '/' || subjectname FROM servicecost").toString(),
             QString("VS1/上牌"));
}

QTEST_MAIN(TestOutaddcost)
#include "tst_outaddcost.moc"
