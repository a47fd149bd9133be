// The free-text condition boxes of the query windows: they open empty, Down
// takes the first entry of their list, and clearing the conditions starts
// their list over.
#include "Drive.h"
#include "TestDb.h"
#include "Ubuycontsele.h"
#include "Ucarinsele.h"
#include "Ucaroutsele.h"
#include "Uprovxx.h"

#include <QApplication>
#include <QComboBox>
#include <QPointer>
#include <QTest>
#include <functional>

namespace {

struct FreeTextWindow {
    ChildForm *window;
    const char *clear; // the 清除条件 button, "" where the window has none
};

const QMap<QString, std::function<FreeTextWindow()>> windows{
    {"in-stock query", [] { return FreeTextWindow{new Tfcarinsele, "SpeedItem3"}; }},
    {"sales query", [] { return FreeTextWindow{new Tfcaroutsele, "SpeedItem3"}; }},
    {"purchase contract query", [] { return FreeTextWindow{new Tfbuycontsele, "SpeedItem3"}; }},
    {"provider register",
     [] {
         auto *w = new Tfprovxx;
         w->PageControl1->setCurrentWidget(w->queryPage);
         return FreeTextWindow{w, ""};
     }},
};

} // namespace

class TestFreeText : public QObject {
    Q_OBJECT

private slots:
    void downTakesTheFirstEntry_data();
    void downTakesTheFirstEntry();
};

void TestFreeText::downTakesTheFirstEntry_data()
{
    QTest::addColumn<QString>("window");
    for (auto w = windows.keyBegin(); w != windows.keyEnd(); ++w)
        QTest::newRow(w->toUtf8().constData()) << *w;
}

void TestFreeText::downTakesTheFirstEntry()
{
    QFETCH(QString, window);
    TestDb db;
    const QStringList entries{"捷达CIF", "解放J6", "红旗H5"};
    for (int i = 0; i < entries.size(); ++i) {
        db.insert("model", {{"code", QString::number(i)}, {"model", entries[i]}});
        db.insert("cconttype", {{"conttypeid", QString::number(i)}, {"conttype", entries[i]}});
    }
    const FreeTextWindow f = windows.value(window)();
    const QPointer<ChildForm> w(f.window);
    w->show();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));

    auto *box = w->findChild<QComboBox *>("ComboBox1");
    QVERIFY(box && box->isEditable());
    QCOMPARE(box->count(), 3);
    QCOMPARE(box->currentText(), QString());

    box->setFocus();
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(box->currentText(), QString::fromUtf8("捷达CIF"));
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(box->currentText(), QString::fromUtf8("解放J6"));

    if (*f.clear) {
        QVERIFY(Drive::press(w, f.clear));
        QCOMPARE(box->currentText(), QString());
        QCOMPARE(box->count(), 3);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->currentText(), QString::fromUtf8("捷达CIF"));
    }
    delete w.data();
}

QTEST_MAIN(TestFreeText)
#include "tst_freetext.moc"
