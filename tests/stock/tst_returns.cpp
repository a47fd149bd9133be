// Returns to providers and from customers, and the returns query, driven
// through the real windows on fixture rows.
#include "Clock.h"
#include "Db.h"
#include "TestDb.h"
#include "Ubackprovsele.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {

// A car with its in-stock record; the record's number is "RK" + serial.
void addCar(TestDb &db, const QString &serial, int status, const QString &provider = "P001",
            const QString &date = "2024-01-10", const QVariantMap &car = {})
{
    QVariantMap row{{"carserial_no", serial}, {"carmodel", "桑塔纳"}, {"chassis_no", "CH-" + serial},
                    {"carprice", 100000.5}, {"carstatus", status}};
    row.insert(car);
    db.insert("carinfor", row);
    db.insert("carinstock", {{"carin_no", "RK" + serial}, {"buycontract_no", "CG-1"},
                             {"providerid", provider}, {"provname", "供应商" + provider},
                             {"carserial_no", serial}, {"buyrecorder", "经办甲"},
                             {"instock_date", date}, {"buyinvoice_no", "FP-" + serial}});
}

// A window shown offscreen, freed at the end of the test unless it closed itself.
template <class W>
struct Window {
    explicit Window(W *window) : w(window)
    {
        w->show();
        QApplication::setActiveWindow(w);
    }
    ~Window() { delete w.data(); }
    W *operator->() const { return w.data(); }
    QPointer<W> w;
};

void press(QWidget *w, const char *button)
{
    auto *b = w->findChild<QAbstractButton *>(button);
    QVERIFY2(b, button);
    QVERIFY2(b->isEnabled(), button);
    b->click();
}

// Typed as a user does, also characters a keyboard of Latin letters lacks.
void typeInto(QWidget *e, const QString &text)
{
    e->setFocus();
    if (auto *line = qobject_cast<QLineEdit *>(e)) {
        line->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
    }
    for (const QChar ch : text) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(e, &key);
    }
}

QStringList column(DataSet *list, const QString &field)
{
    QStringList values;
    for (int r = 0; r < list->recordCount(); ++r)
        values << list->valueAt(r, field).toString();
    return values;
}

} // namespace

class TestReturns : public QObject {
    Q_OBJECT

private slots:
    void init() { Clock::setNow(QDateTime(QDate(2024, 3, 20), QTime(10, 0))); }

    // The returns query
    void queryListsOnlyReturnedCars_data();
    void queryListsOnlyReturnedCars();
    void queryOneDayRange();
    void queryConditionsAreLiteralPrefixes_data();
    void queryConditionsAreLiteralPrefixes();
    void queryProviderPickedByKeyboard();
    void queryClearConditionsThenAll();
    void queryFailureKeepsTheCount();
};

// ---------------------------------------------------------------- the query

void TestReturns::queryListsOnlyReturnedCars_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("listed");
    QTest::newRow("in stock") << 0 << false;
    QTest::newRow("sold") << 1 << false;
    QTest::newRow("returned to the provider") << 2 << true;
    QTest::newRow("returned by the customer") << 3 << false;
}

void TestReturns::queryListsOnlyReturnedCars()
{
    QFETCH(int, status);
    QFETCH(bool, listed);
    TestDb db;
    addCar(db, "S1", status);
    Window w(new Tfbackprovsele);
    QVERIFY(!w->tq_backprov->isActive()); // the grid starts empty
    press(w.w, "SpeedItem1");
    QCOMPARE(w->tq_backprov->recordCount(), listed ? 1 : 0);
    QCOMPARE(w->countLabel->text(), QString("共:%1 条记录").arg(listed ? 1 : 0));
    QVERIFY(db.messages.messages.isEmpty());
}

void TestReturns::queryOneDayRange()
{
    TestDb db;
    addCar(db, "A", 2, "P001", "2024-03-14");
    addCar(db, "B", 2, "P001", "2024-03-15");
    addCar(db, "C", 2, "P001", "2024-03-15 23:59:59");
    addCar(db, "D", 2, "P001", "2024-03-16");
    addCar(db, "E", 0, "P001", "2024-03-15");
    db.exec("UPDATE carinstock SET buyrecorder = '退货人' WHERE carserial_no = 'B'");
    Window w(new Tfbackprovsele);
    typeInto(w->DateEdit1, "20240315");
    typeInto(w->DateEdit2, "20240315");
    press(w.w, "SpeedItem1");
    QCOMPARE(column(w->tq_backprov, "carserial_no"), (QStringList{"B", "C"}));
    QCOMPARE(w->countLabel->text(), QString("共:2 条记录"));
    // The grid shows the return's date and handler in their columns.
    const QAbstractItemModel *m = w->RxDBGrid1->model();
    int dateCol = -1, handlerCol = -1;
    for (int c = 0; c < m->columnCount(); ++c) {
        if (m->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString() == "退货日期")
            dateCol = c;
        if (m->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString() == "退货经办人")
            handlerCol = c;
    }
    QCOMPARE(m->index(0, dateCol).data().toString(), QString("2024-03-15"));
    QCOMPARE(m->index(0, handlerCol).data().toString(), QString("退货人"));

    // Only the start: that day and every later one.
    w->DateEdit2->clearDate();
    press(w.w, "SpeedItem1");
    QCOMPARE(column(w->tq_backprov, "carserial_no"), (QStringList{"B", "C", "D"}));
    // A date typed in part counts as not filled.
    typeInto(w->DateEdit1, "2024");
    press(w.w, "SpeedItem1");
    QCOMPARE(w->tq_backprov->recordCount(), 4);
}

void TestReturns::queryConditionsAreLiteralPrefixes_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("serial prefix") << "Edit1" << "ab" << QStringList{"AB1", "ab'2"};
    QTest::newRow("serial with an apostrophe") << "Edit1" << "ab'" << QStringList{"ab'2"};
    QTest::newRow("serial, % is a character") << "Edit1" << "%" << QStringList{"%X"};
    QTest::newRow("serial, _ is a character") << "Edit1" << "_" << QStringList{};
    QTest::newRow("chassis prefix") << "Edit2" << "ch-a" << QStringList{"AB1", "ab'2"};
    QTest::newRow("provider code") << "ComboEdit1" << "P002" << QStringList{"%X"};
    QTest::newRow("provider name") << "Edit3" << "供应商P00" << QStringList{"%X", "AB1", "ab'2"};
    QTest::newRow("provider name, not inside") << "Edit3" << "P00" << QStringList{};
}

void TestReturns::queryConditionsAreLiteralPrefixes()
{
    QFETCH(QString, edit);
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    TestDb db;
    addCar(db, "AB1", 2);
    addCar(db, "ab'2", 2, "P001", "2024-01-11");
    addCar(db, "%X", 2, "P002", "2024-01-12");
    addCar(db, "AB3", 0);
    Window w(new Tfbackprovsele);
    typeInto(w->findChild<QLineEdit *>(edit), text);
    press(w.w, "SpeedItem1");
    QVERIFY(db.messages.messages.isEmpty());
    QStringList listed = column(w->tq_backprov, "carserial_no");
    listed.sort();
    QCOMPARE(listed, found);
    QCOMPARE(w->countLabel->text(), QString("共:%1 条记录").arg(found.size()));
}

void TestReturns::queryProviderPickedByKeyboard()
{
    TestDb db;
    db.insert("cprovider", {{"providerid", "P001"}, {"provname", "供应商甲"}});
    db.insert("cprovider", {{"providerid", "P002"}, {"provname", "供应商乙"}});
    addCar(db, "S1", 2, "P001");
    addCar(db, "S2", 2, "P002");
    Window w(new Tfbackprovsele);
    w->ComboEdit1->setFocus();
    QTimer::singleShot(0, [] {
        auto *picker = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(picker);
        auto *grid = picker->findChild<DBGrid *>();
        QVERIFY(grid->dataSet()->locate("providerid", "P002"));
        picker->findChild<QAbstractButton *>("BitBtn1")->click();
    });
    QTest::keyClick(w->ComboEdit1, Qt::Key_F4);
    QCOMPARE(w->ComboEdit1->text(), QString("P002"));
    QVERIFY(w->Edit3->text().isEmpty()); // the name is not filled
    QApplication::setActiveWindow(w.w);   // back from the picker
    QTest::keyClick(w->ComboEdit1, Qt::Key_1, Qt::AltModifier); // 查询
    QCOMPARE(column(w->tq_backprov, "carserial_no"), QStringList{"S2"});
}

void TestReturns::queryClearConditionsThenAll()
{
    TestDb db;
    addCar(db, "S1", 2);
    addCar(db, "S2", 2, "P002", "2024-02-01");
    addCar(db, "S3", 1);
    Window w(new Tfbackprovsele);
    typeInto(w->Edit1, "S1");
    typeInto(w->Edit2, "CH");
    typeInto(w->ComboEdit1, "P");
    typeInto(w->Edit3, "供");
    typeInto(w->DateEdit1, "20240101");
    typeInto(w->DateEdit2, "20240131");
    QTest::keyClick(w->Edit1, Qt::Key_1, Qt::AltModifier);
    QCOMPARE(w->countLabel->text(), QString("共:1 条记录"));

    QTest::keyClick(w->Edit1, Qt::Key_2, Qt::AltModifier); // 清除条件
    for (const char *e : {"Edit1", "Edit2", "ComboEdit1", "Edit3"})
        QVERIFY2(w->findChild<QLineEdit *>(e)->text().isEmpty(), e);
    QCOMPARE(w->DateEdit1->displayText(), DateEdit::blankText());
    QCOMPARE(w->DateEdit2->displayText(), DateEdit::blankText());
    QCOMPARE(w->tq_backprov->recordCount(), 1); // the list is not changed
    QCOMPARE(w->countLabel->text(), QString("共:1 条记录"));

    QTest::keyClick(w->Edit1, Qt::Key_1, Qt::AltModifier);
    QCOMPARE(column(w->tq_backprov, "carserial_no"), (QStringList{"S1", "S2"}));
    QCOMPARE(w->RxDBGrid1->model()->rowCount(), 2);
    QCOMPARE(w->countLabel->text(), QString("共:2 条记录"));
}

void TestReturns::queryFailureKeepsTheCount()
{
    TestDb db;
    addCar(db, "S1", 2);
    Window w(new Tfbackprovsele);
    press(w.w, "SpeedItem1");
    QCOMPARE(w->countLabel->text(), QString("共:1 条记录"));
    db.exec("ALTER TABLE carinstock RENAME TO carinstock_gone");
    press(w.w, "SpeedItem1");
    QCOMPARE(db.messages.messages.size(), 1);
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Error);
    QVERIFY(!w->tq_backprov->isActive());
    QCOMPARE(w->countLabel->text(), QString("共:1 条记录"));
}

QTEST_MAIN(TestReturns)
#include "tst_returns.moc"
