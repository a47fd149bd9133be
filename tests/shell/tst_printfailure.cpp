// A print that fails says so: every window that prints its list shows the
// printer's error once, in the error box, and goes on as after a print.
#include "Drive.h"
#include "QueryWindows.h"
#include "ReportPrinter.h"
#include "TestDb.h"

#include <QApplication>
#include <QPointer>
#include <QTest>

class TestPrintFailure : public QObject {
    Q_OBJECT

private slots:
    void failedPrintShowsItsErrorOnce_data();
    void failedPrintShowsItsErrorOnce();
};

void TestPrintFailure::failedPrintShowsItsErrorOnce_data()
{
    QTest::addColumn<QString>("window");
    for (const char *w : {"customer register", "provider register", "personnel register",
                          "in-stock query", "sales query", "provider account query",
                          "customer account query", "salesman statistics", "tax report"})
        QTest::newRow(w) << QString(w);
}

void TestPrintFailure::failedPrintShowsItsErrorOnce()
{
    QFETCH(QString, window);
    TestDb db;
    CapturedPrints prints;
    const QueryWindow q = windows.value(window)();
    const QPointer<ChildForm> w(q.window);
    QVERIFY(showActive(w));
    QVERIFY(Drive::press(w, q.query));
    QApplication::processEvents(); // what a query leaves for the next turn
    QVERIFY(q.list->isActive());

    QVERIFY(Drive::press(w, q.print));
    QCOMPARE(prints.documents.size(), 1);
    QVERIFY2(db.messages.messages.isEmpty(), qPrintable(db.messages.texts().join('|')));

    prints.fail = true;
    QVERIFY(Drive::press(w, q.print));
    QCOMPARE(prints.documents.size(), 1);
    QCOMPARE(db.messages.messages.size(), 1);
    QVERIFY(db.messages.lastIsPrintFailure());

    // The window goes on: its list stays, and the next print is printed.
    QVERIFY(w && q.list->isActive());
    db.messages.clear();
    prints.fail = false;
    QVERIFY(Drive::press(w, q.print));
    QCOMPARE(prints.documents.size(), 2);
    QVERIFY(db.messages.messages.isEmpty());
    delete w.data();
}

QTEST_MAIN(TestPrintFailure)
#include "tst_printfailure.moc"
