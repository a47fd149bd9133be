// The account queries of both ledgers, driven through their real widgets from
// the keyboard, on ledger rows filled in by the test.
#include "ListCheck.h"
#include "Modal.h"
#include "ReportPrinter.h"
#include "TestDb.h"
#include "Ucustaccountsele.h"
#include "Uprovaccountsele.h"

#include <QApplication>
#include <QPointer>
#include <QTest>

namespace {

AccountKind kindOf(const QString &side)
{
    return side == "customer" ? Tfcustaccountsele::kind() : Tfprovaccountsele::kind();
}

// A window shown and active offscreen, freed at the end of the test unless
// it closed itself.
struct Window {
    explicit Window(const QString &side)
        : w(side == "customer" ? static_cast<TAccountQuery *>(new Tfcustaccountsele)
                               : new Tfprovaccountsele)
    {
        w->show();
        QApplication::setActiveWindow(w);
        w->ComboEdit1->setFocus();
    }
    ~Window() { delete w.data(); }
    TAccountQuery *operator->() const { return w.data(); }
    QPointer<TAccountQuery> w;
};

// A key as a user presses it: to the control that has the focus.
void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), modifiers);
    QApplication::processEvents();
}

// 查询; the sums follow the first screen, in a later turn of the event loop.
void query()
{
    key(Qt::Key_1, Qt::AltModifier);
    QCoreApplication::processEvents();
}
void clearFilters() { key(Qt::Key_2, Qt::AltModifier); } // 清除条件
void print() { key(Qt::Key_3, Qt::AltModifier); }        // 打印

// Replaces what the field holds with the text, typed into it.
void typeInto(QLineEdit *field, const QString &text)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

// One ledger row of a partner: what it pays in goes into the side's payment
// column, what it charges into the other one.
void entry(TestDb &db, const AccountKind &k, const QString &key, const QString &code, int kind,
           double paid, double charged, QVariantMap fields = {})
{
    fields.insert(k.keyField, key);
    fields.insert(k.codeField, code);
    fields.insert(k.nameField, fields.value("name", code + " Motors"));
    fields.remove("name");
    fields.insert("isprepay", kind);
    if (paid != 0)
        fields.insert(k.paidField, paid);
    if (charged != 0)
        fields.insert(k.chargedField, charged);
    db.insert(k.table, fields);
}

QStringList column(DataSet *data, const QString &field)
{
    QStringList values;
    for (int r = 0; r < data->recordCount(); ++r)
        values << data->valueAt(r, field).toString();
    return values;
}

QStringList panels(const TAccountQuery *w)
{
    return {w->panelText(0), w->panelText(1), w->panelText(2)};
}

QString printedLabel(const Rpt::Page &page, const QString &name)
{
    for (const Rpt::PageItem &item : page.items)
        if (item.source == name)
            return item.text;
    return QStringLiteral("<none>");
}

QStringList printedColumn(const Rpt::Document &doc, const QString &field)
{
    QStringList values;
    for (const Rpt::Page &page : doc.pages)
        for (const Rpt::PageItem &item : page.items)
            if (item.source == field)
                values << item.text;
    return values;
}

void addSides()
{
    QTest::addColumn<QString>("side");
    QTest::newRow("customer") << "customer";
    QTest::newRow("provider") << "provider";
}

} // namespace

class TestAccountQuery : public QObject {
    Q_OBJECT

private slots:
    void opensReadyToFilter_data() { addSides(); }
    void opensReadyToFilter();
    void workedExampleAfterReconciliation_data();
    void workedExampleAfterReconciliation();
    void dateRangeByEntryDate_data();
    void dateRangeByEntryDate();
    void listsItsStatement_data() { addSides(); }
    void listsItsStatement();
    void apostropheInNameFilter_data() { addSides(); }
    void apostropheInNameFilter();
    void codeLookupAndPrefix_data() { addSides(); }
    void codeLookupAndPrefix();
    void pickerFromTheKeyboard_data() { addSides(); }
    void pickerFromTheKeyboard();
    void clearingKeepsListAndTotals();
    void noMatchingRows();
    void dateTypedInPartIsRefused();
    void listReadsInPages();
    void printsTheStatement_data() { addSides(); }
    void printsTheStatement();
};

void TestAccountQuery::opensReadyToFilter()
{
    QFETCH(QString, side);
    TestDb db;
    db.exec("UPDATE cpersonnel SET name = '张三'");
    db.dm->trsk->refresh();
    Window w(side);
    const AccountKind k = kindOf(side);
    QCOMPARE(w->objectName(), k.objectName);
    QCOMPARE(w->windowTitle(), k.caption);
    QCOMPARE(w->Label10->text(), QStringLiteral("张三"));
    QCOMPARE(w->query()->objectName(), k.queryName);
    QVERIFY(!w->SpeedItem2->isEnabled()); // nothing to print yet
    QCOMPARE(QApplication::focusWidget(), w->ComboEdit1);
    // Enter walks through the filters.
    for (QWidget *next : {static_cast<QWidget *>(w->Edit1), static_cast<QWidget *>(w->DateEdit1),
                          static_cast<QWidget *>(w->DateEdit2)}) {
        key(Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    query();
    QVERIFY(w->SpeedItem2->isEnabled());
    QVERIFY(db.messages.messages.isEmpty());
}

void TestAccountQuery::workedExampleAfterReconciliation_data()
{
    QTest::addColumn<QString>("side");
    QTest::addColumn<QStringList>("totals");
    QTest::addColumn<QStringList>("listed");
    // Customer: payments 10000 and 2000 (a refund), an advanced fee of 500 and
    // a verified sale of 9000, reconciled with 2500 carried forward.
    QTest::newRow("customer")
        << "customer" << QStringList{"预付金额：10000元", "车款累计：9000元", "预付余额：1000元"}
        << QStringList{"K1"};
    // Provider: a payment of 50000 and verified purchases of 80000, reconciled
    // with -30000 carried forward.
    QTest::newRow("provider")
        << "provider" << QStringList{"预付金额：50000元", "车款累计：80000元", "预付余额：-30000元"}
        << QStringList{"K1"};
}

// The totals count payments and verified car charges whether a reconciliation
// closed them or not, and leave the carried balance, refunds and fees out.
void TestAccountQuery::workedExampleAfterReconciliation()
{
    QFETCH(QString, side);
    QFETCH(QStringList, totals);
    QFETCH(QStringList, listed);
    const AccountKind k = kindOf(side);
    TestDb db;
    const QVariantMap closed{{"isaffirm", 1}, {"ischeck", 1}, {"check_date", "2024-06-30"},
                             {"check_recorder", "Li"}};
    QVariantMap payment = closed;
    payment.insert("affirm_recorder", "Wang");
    payment.insert("account_date", "2024-06-01 10:00:00");
    payment.insert(k.typeField, "现款");
    if (side == "customer") {
        entry(db, k, "K1", "C1", 0, 10000, 0, payment);
        entry(db, k, "K2", "C1", 1, 2000, 0, closed);
        entry(db, k, "K3", "C1", 3, 0, 500, closed);
        entry(db, k, "K4", "C1", 2, 0, 9000, closed);
        entry(db, k, "K5", "C1", 1, 2500, 0, {{k.typeField, "上次余额"}, {"isaffirm", 1}});
    } else {
        entry(db, k, "K1", "C1", 0, 50000, 0, payment);
        entry(db, k, "K4", "C1", 2, 0, 80000, closed);
        entry(db, k, "K5", "C1", 1, -30000, 0, {{k.typeField, "上次余额"}, {"isaffirm", 1}});
    }
    // A sale not yet verified waits: neither counted nor closed.
    entry(db, k, "K6", "C1", 2, 0, 7000);

    Window w(side);
    query();
    QCOMPARE(panels(w.w), totals);
    QCOMPARE(column(w->query(), k.keyField), listed);
    // The grid shows the handler and the reconciliation as they were written.
    auto shown = [&](const char *title) {
        const GridColumns &columns = w->DBGrid1->columns();
        for (int c = 0; c < columns.size(); ++c)
            if (columns[c].title == QString::fromUtf8(title))
                return w->DBGrid1->model()->index(0, c).data().toString();
        return QStringLiteral("<none>");
    };
    QCOMPARE(shown("经办人"), QStringLiteral("Wang"));
    QCOMPARE(shown("是否对帐"), QStringLiteral("是"));
    QCOMPARE(shown("对帐日期"), QStringLiteral("2024-06-30"));
    QVERIFY(db.messages.messages.isEmpty());
    // Nothing in the ledger changes here.
    QCOMPARE(db.count(k.table, "ischeck = 1"), side == "customer" ? 4 : 2);
}

void TestAccountQuery::dateRangeByEntryDate_data()
{
    QTest::addColumn<QString>("side");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>("totals");
    for (const char *side : {"customer", "provider"}) {
        QTest::addRow("%s, May", side) << side << "20240501" << "20240531"
                                       << QStringList{"A", "B", "C"}
                                       << QStringList{"预付金额：600元", "车款累计：1000元",
                                                      "预付余额：-400元"};
        // Listed by entry date: the order the database finds them in.
        QTest::addRow("%s, to a day only", side) << side << "" << "20240520"
                                                 << QStringList{"E", "A", "B"}
                                                 << QStringList{"预付金额：1300元", "车款累计：元",
                                                                "预付余额：1300元"};
    }
}

// An entry's date is the confirmation date where it has one, else the payment
// date, else the registration date; the to-date includes its whole day.
void TestAccountQuery::dateRangeByEntryDate()
{
    QFETCH(QString, side);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, listed);
    QFETCH(QStringList, totals);
    const AccountKind k = kindOf(side);
    TestDb db;
    const QVariant none;
    entry(db, k, "A", "C1", 0, 100, 0, {{"affirm_date", "2024-05-10"}, {"account_date", "2024-04-01"}});
    entry(db, k, "B", "C1", 0, 200, 0, {{"account_date", "2024-05-20 18:30:00"}, {"in_date", "2024-04-01"}});
    entry(db, k, "C", "C1", 0, 300, 0, {{"in_date", "2024-05-31 23:59:59"}});
    entry(db, k, "D", "C1", 0, 400, 0, {{"affirm_date", "2024-06-01"}, {"account_date", "2024-05-02"}});
    entry(db, k, "E", "C1", 0, 1000, 0, {{"account_date", "2024-04-30"}});
    entry(db, k, "F", "C1", 2, 0, 1000, {{"isaffirm", 1}, {"account_date", "2024-05-21"}});
    entry(db, k, "G", "C1", 2, 0, 5000, {{"isaffirm", 1}, {"account_date", "2024-06-21"}});

    Window w(side);
    if (!from.isEmpty())
        typeInto(w->DateEdit1, from);
    typeInto(w->DateEdit2, to);
    query();
    QCOMPARE(column(w->query(), k.keyField), listed);
    QCOMPARE(panels(w.w), totals);

    // The print takes the same rows.
    CapturedPrints prints;
    print();
    QCOMPARE(prints.documents.size(), 1);
    QCOMPARE(printedColumn(prints.documents.first(), k.paidField).size(), listed.size());
    QVERIFY(db.messages.messages.isEmpty());
}

// What the query lists, and the charges it sums, are the statements the
// benchmark measures.
void TestAccountQuery::listsItsStatement()
{
    QFETCH(QString, side);
    const AccountKind k = kindOf(side);
    TestDb db;
    db.insert(side == "customer" ? "ccustomer" : "cprovider", {{k.codeField, "C1"}, {k.nameField, "First Motors"}});
    entry(db, k, "A", "C1", 0, 100, 0, {{"affirm_date", "2024-05-10"}});
    entry(db, k, "B", "C12", 0, 200, 0, {{"account_date", "2024-05-20"}});
    entry(db, k, "C", "C2", 0, 300, 0, {{"account_date", "2024-05-21"}});
    entry(db, k, "D", "C1", 0, 400, 0, {{"account_date", "2024-06-01"}});
    entry(db, k, "E", "C1", 2, 0, 1000, {{"isaffirm", 1}, {"account_date", "2024-05-21"}});
    Window w(side);
    typeInto(w->ComboEdit1, "c1");
    key(Qt::Key_Tab); // looked up, its name comes along
    typeInto(w->Edit1, "");
    typeInto(w->DateEdit1, "20240501");
    typeInto(w->DateEdit2, "20240531");
    query();
    const TAccountQuery::Filter typed{.code = "c1", .from = QDate(2024, 5, 1), .to = QDate(2024, 5, 31)};
    const QString differs = differsFrom(w->query(), TAccountQuery::listStatement(k, typed));
    QVERIFY2(differs.isEmpty(), qPrintable(differs));
    QCOMPARE(column(w->query(), k.keyField), (QStringList{"A", "B"}));
    QCOMPARE(w->charges()->sql(), TAccountQuery::chargesStatement(k, typed).sql);
    QCOMPARE(panels(w.w).value(1), QString("车款累计：1000元"));
    QVERIFY(db.messages.messages.isEmpty());
}

// Typed text is matched literally as the start of the name.
void TestAccountQuery::apostropheInNameFilter()
{
    QFETCH(QString, side);
    const AccountKind k = kindOf(side);
    TestDb db;
    entry(db, k, "K1", "C1", 0, 100, 0, {{"name", "O'Brien Motors"}});
    entry(db, k, "K2", "C2", 0, 200, 0, {{"name", "OBrien Cars"}});
    entry(db, k, "K3", "C3", 0, 400, 0, {{"name", "Le O'Brien"}});
    entry(db, k, "K4", "C1", 2, 0, 50, {{"name", "O'Brien Motors"}, {"isaffirm", 1}});

    Window w(side);
    typeInto(w->Edit1, "o'b");
    query();
    QCOMPARE(column(w->query(), k.keyField), QStringList{"K1"});
    QCOMPARE(panels(w.w),
             (QStringList{"预付金额：100元", "车款累计：50元", "预付余额：50元"}));
    CapturedPrints prints;
    print();
    QCOMPARE(printedColumn(prints.documents.first(), k.nameField),
             QStringList{"O'Brien Motors"});
    QVERIFY(db.messages.messages.isEmpty());
}

void TestAccountQuery::codeLookupAndPrefix()
{
    QFETCH(QString, side);
    const AccountKind k = kindOf(side);
    TestDb db;
    db.insert(side == "customer" ? "ccustomer" : "cprovider",
              {{k.codeField, "C1"}, {k.nameField, "First Motors"}});
    entry(db, k, "K1", "C1", 0, 100, 0);
    entry(db, k, "K2", "C10", 0, 200, 0);
    entry(db, k, "K3", "D1", 0, 400, 0);

    Window w(side);
    // A code is looked up by itself when the field is left; its name comes along.
    typeInto(w->ComboEdit1, "c1");
    key(Qt::Key_Tab);
    QCOMPARE(w->Edit1->text(), QStringLiteral("First Motors"));
    QCOMPARE(QApplication::focusWidget(), w->Edit1);
    // The query takes the code as the start of longer codes too.
    typeInto(w->Edit1, "");
    query();
    QCOMPARE(column(w->query(), k.keyField), (QStringList{"K1", "K2"}));

    // A code that is not in the register is refused there; the name stays.
    typeInto(w->Edit1, "Kept");
    typeInto(w->ComboEdit1, "C");
    key(Qt::Key_Tab);
    QCOMPARE(db.messages.texts(), QStringList{k.codeNotFound});
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Warning);
    QCOMPARE(QApplication::focusWidget(), w->ComboEdit1);
    QCOMPARE(w->Edit1->text(), QStringLiteral("Kept"));
}

// F4 in the code field opens the partner picker; the chosen row's code and
// name fill the fields, Escape leaves them as they were.
void TestAccountQuery::pickerFromTheKeyboard()
{
    QFETCH(QString, side);
    const AccountKind k = kindOf(side);
    TestDb db;
    const QString table = side == "customer" ? "ccustomer" : "cprovider";
    db.insert(table, {{k.codeField, "A1"}, {k.nameField, "Alpha"}});
    db.insert(table, {{k.codeField, "B1"}, {k.nameField, "Beta"}});
    Window w(side);
    for (const bool chosen : {false, true}) {
        const auto done = whenModal<TPartnerPicker>([chosen](TPartnerPicker *picker) {
            QTest::keyClick(picker->grid, Qt::Key_Down); // the second row
            if (chosen)
                picker->BitBtn1->click();
            else
                QTest::keyClick(picker->grid, Qt::Key_Escape);
        });
        QTest::keyClick(w->ComboEdit1, Qt::Key_F4); // offscreen, a closed dialog gives no focus back
        QVERIFY(*done);
        QVERIFY(!QApplication::activeModalWidget());
        if (!chosen) {
            QVERIFY(w->ComboEdit1->text().isEmpty());
            QVERIFY(w->Edit1->text().isEmpty());
        }
    }
    QCOMPARE(w->ComboEdit1->text(), QStringLiteral("B1"));
    QCOMPARE(w->Edit1->text(), QStringLiteral("Beta"));
    QVERIFY(db.messages.messages.isEmpty());
}

void TestAccountQuery::clearingKeepsListAndTotals()
{
    const AccountKind k = kindOf("customer");
    TestDb db;
    db.insert("ccustomer", {{"customerid", "D1"}, {"custname", "D1 Motors"}});
    entry(db, k, "K1", "C1", 0, 100, 0, {{"account_date", "2024-05-02"}});
    entry(db, k, "K2", "D1", 0, 200, 0, {{"account_date", "2024-05-02"}});
    Window w("customer");
    typeInto(w->ComboEdit1, "D1");
    typeInto(w->Edit1, "D");
    typeInto(w->DateEdit1, "20240501");
    typeInto(w->DateEdit2, "20240531");
    query();
    const QStringList before = panels(w.w);
    QCOMPARE(before.first(), QStringLiteral("预付金额：200元"));
    clearFilters();
    QVERIFY(w->ComboEdit1->text().isEmpty());
    QVERIFY(w->Edit1->text().isEmpty());
    QCOMPARE(w->DateEdit1->displayText(), DateEdit::blankText());
    QCOMPARE(w->DateEdit2->displayText(), DateEdit::blankText());
    QCOMPARE(column(w->query(), k.keyField), QStringList{"K2"});
    QCOMPARE(panels(w.w), before);
    QVERIFY(w->SpeedItem2->isEnabled());
    query();
    QCOMPARE(column(w->query(), k.keyField), (QStringList{"K1", "K2"}));
}

void TestAccountQuery::noMatchingRows()
{
    TestDb db;
    Window w("provider");
    query();
    QCOMPARE(w->query()->recordCount(), 0);
    QCOMPARE(panels(w.w), (QStringList{"预付金额：元", "车款累计：元", "预付余额：0元"}));
    QVERIFY(w->SpeedItem2->isEnabled());
    // An empty statement still prints its headings.
    CapturedPrints prints;
    print();
    QCOMPARE(prints.documents.size(), 1);
    QVERIFY(prints.documents.first().pages.first().texts().contains("预付供应商帐目表"));
    QVERIFY(db.messages.messages.isEmpty());
}

// A date typed in part is neither ignored nor taken as no date.
void TestAccountQuery::dateTypedInPartIsRefused()
{
    const AccountKind k = kindOf("customer");
    TestDb db;
    entry(db, k, "K1", "C1", 0, 100, 0, {{"account_date", "2024-05-02"}});
    Window w("customer");
    typeInto(w->DateEdit2, "202405");
    query();
    QCOMPARE(db.messages.texts(), QStringList{"结束日期不是有效的日期!"});
    QVERIFY(!w->query()->isActive());
    QCOMPARE(w->panelText(0), QString());
    QCOMPARE(QApplication::focusWidget(), w->DateEdit2);
}

// The list reads its rows a page at a time; its totals cover every row.
void TestAccountQuery::listReadsInPages()
{
    const AccountKind k = kindOf("customer");
    TestDb db;
    const int rows = TAccountQuery::PageSize * 2 + 50;
    for (int i = 0; i < rows; ++i)
        entry(db, k, QStringLiteral("K%1").arg(i, 4, 10, QChar('0')), "C1", 0, 0.5, 0);
    Window w("customer");
    query();
    QVERIFY(w->query()->isPaged());
    QCOMPARE(w->query()->recordCount(), rows);
    QCOMPARE(w->panelText(0), QStringLiteral("预付金额：%1元").arg(rows / 2));
    w->query()->last();
    QCOMPARE(w->query()->value(k.keyField).toString(), QStringLiteral("K%1").arg(rows - 1, 4, 10, QChar('0')));
}

void TestAccountQuery::printsTheStatement()
{
    QFETCH(QString, side);
    const AccountKind k = kindOf(side);
    TestDb db;
    db.exec("UPDATE cpersonnel SET name = '张三'");
    db.dm->trsk->refresh();
    entry(db, k, "K2", "C1", 0, 250.5, 0,
          {{k.typeField, "承兑"}, {"certificate_no", "PZ-2"}, {"invoice_no", "FP-2"},
           {"account_date", "2024-05-03"}, {"affirm_recorder", "Wang"}, {"remarks", "月初"}});
    entry(db, k, "K1", "C1", 0, 100, 0, {{"account_date", "2024-05-01"}, {"remarks", "首付"}});
    entry(db, k, "K3", "C2", 0, 900, 0, {{"account_date", "2024-05-01"}});

    db.insert(side == "customer" ? "ccustomer" : "cprovider",
              {{k.codeField, "C1"}, {k.nameField, "C1 Motors"}});
    Window w(side);
    typeInto(w->ComboEdit1, "C1");
    typeInto(w->DateEdit1, "20240501");
    query();
    CapturedPrints prints;
    print();
    QCOMPARE(prints.documents.size(), 1);
    const Rpt::Document &doc = prints.documents.first();
    const Rpt::Page &page = doc.pages.first();
    // The rows in the list's order, each with its handler and remarks.
    QCOMPARE(printedColumn(doc, "pzhh"), (QStringList{"", "PZ-2"}));
    QCOMPARE(printedColumn(doc, k.paidField), (QStringList{"100", "250.5"}));
    QCOMPARE(printedColumn(doc, "type"), (QStringList{"", "承兑"}));
    QCOMPARE(printedColumn(doc, "recorder"), (QStringList{"", "Wang"}));
    QCOMPARE(printedColumn(doc, "remarks"), (QStringList{"首付", "月初"}));
    QCOMPARE(printedColumn(doc, "date1"), (QStringList{"2024-05-01", "2024-05-03"}));
    // The dates as the fields show them, the blank mask where none is given.
    QCOMPARE(printedLabel(page, "QRLabel16"), QStringLiteral("2024-05-01"));
    QCOMPARE(printedLabel(page, "QRLabel17"), DateEdit::blankText());
    QCOMPARE(printedLabel(page, "QRLabel19"), QStringLiteral("张三"));
    QVERIFY(db.messages.messages.isEmpty());

    // A printer that fails says so, once.
    prints.fail = true;
    print();
    QCOMPARE(db.messages.messages.size(), 1);
    QVERIFY(db.messages.lastIsPrintFailure());
}

QTEST_MAIN(TestAccountQuery)
#include "tst_accountsele.moc"
