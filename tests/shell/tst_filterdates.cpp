// The date conditions of every query and statistics window: a date field that
// holds something but no date refuses the query and the print, driven through
// the real windows.
#include "Drive.h"
#include "QueryWindows.h"
#include "ReportPrinter.h"
#include "TestDb.h"

#include <QApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

// Replaces what the date field shows with the digits, typed into it.
void typeDate(DateEdit *edit, const QString &digits)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, digits);
}

void press(QWidget *window, const char *button)
{
    QVERIFY2(Drive::press(window, button), button);
    QApplication::processEvents(); // what a query leaves for the next turn
}

} // namespace

class TestFilterDates : public QObject {
    Q_OBJECT

private slots:
    void noDateRefusesQueryAndPrint_data();
    void noDateRefusesQueryAndPrint();
    void clearedFocusedDateTakesDigitsAtOnce_data();
    void clearedFocusedDateTakesDigitsAtOnce();
};

void TestFilterDates::noDateRefusesQueryAndPrint_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("toDate"); // the to date, else the from date
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    for (auto w = windows.keyBegin(); w != windows.keyEnd(); ++w) {
        const QByteArray name = w->toUtf8();
        QTest::addRow("%s, from: no such day", name.constData()) << *w << false << "20240230" << "2024-02-30";
        QTest::addRow("%s, to: month 13", name.constData()) << *w << true << "20241301" << "2024-13-01";
        QTest::addRow("%s, from: typed in part", name.constData()) << *w << false << "202503" << "2025-03-  ";
        QTest::addRow("%s, to: a year only", name.constData()) << *w << true << "2024" << "2024-  -  ";
    }
}

void TestFilterDates::noDateRefusesQueryAndPrint()
{
    QFETCH(QString, window);
    QFETCH(bool, toDate);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    TestDb db;
    CapturedPrints prints;
    const QueryWindow q = windows.value(window)();
    const QPointer<ChildForm> w(q.window);
    QVERIFY(showActive(w));

    // The blank mask is no condition: the list opens on every row.
    press(w, q.query);
    QVERIFY(q.list->isActive());
    QVERIFY2(db.messages.messages.isEmpty(), qPrintable(db.messages.texts().join('|')));
    const QString listed = q.list->sql();

    DateEdit *edit = toDate ? q.to : q.from;
    typeDate(edit, typed);
    QCOMPARE(edit->displayText(), shown);
    q.from == edit ? q.to->setFocus() : q.from->setFocus(); // the button is pressed from elsewhere
    QSignalSpy reopened(q.list, &DataSet::stateChanged);
    const QString refusal = toDate ? "结束日期不是有效的日期!" : "开始日期不是有效的日期!";

    press(w, q.query);
    QCOMPARE(db.messages.texts(), QStringList{refusal});
    QCOMPARE(db.messages.messages.first().title, QStringLiteral("提示"));
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Warning);
    QCOMPARE(QApplication::focusWidget(), edit);
    QCOMPARE(edit->displayText(), shown); // the text is the user's to mend
    // The list as it was: still open on its statement, not read again.
    QVERIFY(q.list->isActive());
    QCOMPARE(q.list->sql(), listed);
    QCOMPARE(reopened.count(), 0);

    if (*q.print) {
        db.messages.clear();
        q.from == edit ? q.to->setFocus() : q.from->setFocus();
        press(w, q.print);
        QCOMPARE(db.messages.texts(), QStringList{refusal});
        QCOMPARE(QApplication::focusWidget(), edit);
        QVERIFY(prints.documents.isEmpty());
    }
    delete w.data();
}

void TestFilterDates::clearedFocusedDateTakesDigitsAtOnce_data()
{
    QTest::addColumn<QString>("window");
    for (auto w = windows.keyBegin(); w != windows.keyEnd(); ++w)
        QTest::newRow(w->toUtf8().constData()) << *w;
}

// "清除条件" from a date field being typed: the digits typed next go in,
// also where the field was blank already.
void TestFilterDates::clearedFocusedDateTakesDigitsAtOnce()
{
    QFETCH(QString, window);
    TestDb db;
    const QueryWindow q = windows.value(window)();
    const QPointer<ChildForm> w(q.window);
    QVERIFY(showActive(w));
    QToolButton *clear = nullptr;
    for (QToolButton *b : w->findChildren<QToolButton *>())
        if (b->text() == QStringLiteral("清除条件") && b->isVisible())
            clear = b;
    if (!clear)
        QSKIP("no 清除条件 in this window");
    typeDate(q.from, "20261201");
    typeDate(q.to, "20261231");
    QTest::mouseClick(clear, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), q.to);
    QCOMPARE(q.to->displayText(), DateEdit::blankText());
    QTest::keyClicks(q.to, "20261130");
    QCOMPARE(q.to->displayText(), QString("2026-11-30"));
    QCOMPARE(q.from->displayText(), DateEdit::blankText());

    // Cleared again when already blank, with the cursor at its end: the
    // digits go in from the start all the same.
    QTest::mouseClick(clear, Qt::LeftButton);
    QTest::keyClick(q.to, Qt::Key_End);
    QTest::mouseClick(clear, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), q.to);
    QTest::keyClicks(q.to, "20261130");
    QCOMPARE(q.to->displayText(), QString("2026-11-30"));
    delete w.data();
}

QTEST_MAIN(TestFilterDates)
#include "tst_filterdates.moc"
