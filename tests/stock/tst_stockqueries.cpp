// The stock query windows alike: what 清除条件 empties and where Tab goes.
#include "Drive.h"
#include "SaleFixture.h"
#include "Ubackprovsele.h"
#include "Ucarinsele.h"
#include "Ucaroutsele.h"

#include <QApplication>
#include <functional>

using namespace SaleFixture;

namespace {

using Make = std::function<StockQueryForm *()>;

void addRows()
{
    QTest::addColumn<Make>("make");
    // The conditions in tab order; the grid comes after them.
    QTest::addColumn<QStringList>("conditions");
    QTest::newRow("in stock") << Make([] { return new Tfcarinsele; })
                              << QStringList{"ComboEdit1", "ComboEdit2", "Edit1", "Edit2", "Edit3",
                                             "DateEdit1", "DateEdit2", "ComboBox1"};
    QTest::newRow("sales") << Make([] { return new Tfcaroutsele; })
                           << QStringList{"ComboEdit2", "Edit1", "ComboEdit1", "Edit2", "Edit3",
                                          "ComboBox1", "DateEdit1", "DateEdit2"};
    QTest::newRow("returns to providers")
        << Make([] { return new Tfbackprovsele; })
        << QStringList{"Edit1", "Edit2", "DateEdit1", "ComboEdit1", "Edit3", "DateEdit2"};
}

QWidget *field(QWidget *w, const QString &name)
{
    return w->findChild<QWidget *>(name);
}

} // namespace

class TestStockQueries : public QObject {
    Q_OBJECT

private slots:
    void clearEmptiesEveryCondition_data() { addRows(); }
    void clearEmptiesEveryCondition();
    void tabRunsThroughTheConditionsIntoTheGrid_data() { addRows(); }
    void tabRunsThroughTheConditionsIntoTheGrid();
};

void TestStockQueries::clearEmptiesEveryCondition()
{
    QFETCH(Make, make);
    QFETCH(QStringList, conditions);
    TestDb db;
    seed(db);
    Shown<StockQueryForm> w(make());
    for (const QString &name : conditions) {
        QWidget *f = field(w.w, name);
        QVERIFY2(f, qPrintable(name));
        if (auto *box = qobject_cast<QComboBox *>(f))
            box->setEditText("桑塔纳");
        else
            QVERIFY(Drive::type(w.w, name.toLatin1(), qobject_cast<DateEdit *>(f) ? "20240501" : "A1"));
    }
    auto *inStock = w->findChild<QRadioButton *>("RadioGroup1Item1");
    if (inStock)
        inStock->setChecked(true);
    QVERIFY(Drive::press(w.w, "SpeedItem3"));
    for (const QString &name : conditions) {
        QWidget *f = field(w.w, name);
        if (auto *date = qobject_cast<DateEdit *>(f))
            QVERIFY2(date->isBlank(), qPrintable(name));
        else if (auto *box = qobject_cast<QComboBox *>(f))
            QVERIFY2(box->currentText().isEmpty(), qPrintable(name));
        else
            QVERIFY2(qobject_cast<QLineEdit *>(f)->text().isEmpty(), qPrintable(name));
    }
    // The scope chosen between 入库 and 库存 is no condition text: it stays.
    if (inStock)
        QVERIFY(inStock->isChecked());
    QVERIFY(db.messages.messages.isEmpty());
}

void TestStockQueries::tabRunsThroughTheConditionsIntoTheGrid()
{
    QFETCH(Make, make);
    QFETCH(QStringList, conditions);
    TestDb db;
    seed(db);
    Shown<StockQueryForm> w(make());
    w->activateWindow();
    field(w.w, conditions.first())->setFocus();
    QStringList visited;
    for (qsizetype i = 0; i < conditions.size(); ++i) {
        QWidget *focus = QApplication::focusWidget();
        // A free-text box has the focus in its own edit.
        if (focus && focus->parentWidget() && qobject_cast<QComboBox *>(focus->parentWidget()))
            focus = focus->parentWidget();
        visited << (focus ? focus->objectName() : QString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, conditions);
    // The choice between 入库 and 库存 comes before the grid.
    if (auto *radio = qobject_cast<QRadioButton *>(QApplication::focusWidget()))
        QTest::keyClick(radio, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->RxDBGrid1));
}

QTEST_MAIN(TestStockQueries)
#include "tst_stockqueries.moc"
