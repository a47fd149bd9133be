// Returns to providers and from customers, and the returns query, driven
// through the real windows on fixture rows.
#include "Codes.h"
#include "Clock.h"
#include "Db.h"
#include "Format.h"
#include "ListCheck.h"
#include "Modal.h"
#include "TestDb.h"
#include "Ubackprov.h"
#include "Ubackprovsele.h"
#include "Ucustback.h"
#include "Uselecar.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QTest>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTimer>
#include <functional>
#include <optional>

namespace {

// A car with its in-stock record; the record's number is "RK" + serial.
void addCar(TestDb &db, const QString &serial, CarStatus status, const QString &provider = "P001",
            const QString &date = "2024-01-10", const QVariantMap &car = {})
{
    QVariantMap row{{"carserial_no", serial}, {"carmodel", "桑塔纳"}, {"chassis_no", "CH-" + serial},
                    {"carprice", 100000.5}, {"carstatus", codeValue(status)}};
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

void addSale(TestDb &db, const QString &number, const QString &serial, const QString &customer,
             double price, const QString &date)
{
    db.insert("caroutstock", {{"carout_no", number}, {"salecontract_no", "XS-" + number},
                              {"customerid", customer}, {"custname", "客户" + customer},
                              {"carserial_no", serial}, {"salerecorder", "售" + number},
                              {"sales", "业务员"}, {"outstock_date", date},
                              {"saleinvoice_no", "SF-" + number}, {"saleprice", price}});
}

// What a test needs to know of each twin.
struct Twin {
    std::function<TReturnForm *()> make;
    QString carScope, question, recordTable, recordKey, dateField, handlerField;
    QString ledger, ledgerKey, prefixColumn, counter, partnerCode, partnerName, amountField,
            otherAmount, otherLedger;
    int newStatus;
};

const Twin &twin(const QString &name)
{
    static const Twin provider{[] { return new Tfbackprov; },
                               "carstatus in (0,3)",
                               "确实要向该供应商退货?", "carinstock", "carin_no", "instock_date",
                               "buyrecorder", "cprovaccount", "paccountid", "cprovaccpre", "cprovacc_s",
                               "providerid", "provname", "outgo", "income", "ccustaccount", 2};
    static const Twin customer{[] { return new Tfcustback; },
                               "carstatus=1", "确实允许该客户退货?",
                               "caroutstock", "carout_no", "outstock_date", "salerecorder",
                               "ccustaccount", "caccountid", "ccustaccpre", "ccustacc_s", "customerid",
                               "custname", "income", "outgo", "cprovaccount", 3};
    return name == "customer" ? customer : provider;
}

// A car the twin may return: in stock (or back from a customer) for the
// provider, sold to C001 for 120000.25 for the customer.
void addReturnableCar(TestDb &db, const QString &kind, const QString &serial,
                      std::optional<CarStatus> status = {})
{
    if (kind == "customer") {
        addCar(db, serial, status.value_or(CarStatus::Sold));
        addSale(db, "CK" + serial, serial, "C001", 120000.25, "2024-02-01 10:00:00");
    } else {
        addCar(db, serial, status.value_or(CarStatus::InStock));
    }
}

// Every row of the tables a return may write, to show that nothing changed.
QStringList snapshot()
{
    QStringList rows;
    for (const char *table : {"carinfor", "carinstock", "caroutstock", "cprovaccount",
                              "ccustaccount", "XTDH", "recycle"}) {
        QSqlQuery q = Db::exec(QString("SELECT * FROM %1 ORDER BY rowid").arg(table));
        while (q.next()) {
            QStringList values{table};
            for (int i = 0; i < q.record().count(); ++i)
                values << (q.isNull(i) ? "<null>" : q.value(i).toString());
            rows << values.join('|');
        }
    }
    return rows;
}

// The car picker's stand-in: notes the scope it was given and chooses `serial`.
struct PickerStandIn {
    explicit PickerStandIn(const QString &serial) : chosen(serial), real(TReturnForm::carPicker())
    {
        TReturnForm::carPicker() = [this](QWidget *, const QString &scope) -> std::optional<QString> {
            scopes << scope;
            if (chosen.isEmpty())
                return std::nullopt;
            return chosen;
        };
    }
    ~PickerStandIn() { TReturnForm::carPicker() = real; }
    QString chosen;
    const TReturnForm::CarPicker real;
    QStringList scopes;
};

// Presses a speed button by Alt and its place, with the focus in the window.
void altKey(QWidget *w, int place)
{
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus && w->isAncestorOf(focus));
    QTest::keyClick(focus, Qt::Key(Qt::Key_0 + place), Qt::AltModifier);
}

void fillInputs(TReturnForm *w, const QString &date, const QString &handler, const QString &reason)
{
    typeInto(w->DateEdit1, date);
    typeInto(w->Edit1, handler);
    w->Memo1->setFocus();
    w->Memo1->selectAll();
    QTest::keyClick(w->Memo1, Qt::Key_Delete);
    typeInto(w->Memo1, reason);
}

// Null is null, whatever its type; values as text otherwise.
bool same(const QVariant &a, const QVariant &b)
{
    return a.isNull() == b.isNull() && a.toString() == b.toString();
}

QString expectedNumber(TestDb &db, const Twin &t, int serial)
{
    return db.scalar("SELECT " + t.prefixColumn + " FROM DHSZ").toString()
           + db.scalar("SELECT YM_S FROM XTDH").toString() + QString("%1").arg(serial, 4, 10, QChar('0'));
}

// A twin's window showing car S1 (the only car), its inputs filled.
struct ReturnScene {
    explicit ReturnScene(const QString &kind, const QString &date = "20240315")
        : t(twin(kind)), picker("S1")
    {
        addReturnableCar(db, kind, "S1");
        w.emplace(t.make());
        press(w->w, "SpeedItem1");
        fillInputs(w->w, date, "退货人", "原因");
    }
    TReturnForm *window() const { return w->w; }
    // Answers the question and presses 退货.
    void carryOut(QMessageBox::StandardButton answer = QMessageBox::Yes)
    {
        db.messages.answer(answer);
        press(window(), "SpeedItem2");
    }

    TestDb db;
    const Twin &t;
    PickerStandIn picker;
    std::optional<Window<TReturnForm>> w;
};

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
    void queryListsItsStatement();

    // The returns
    void returnWritesExactlyItsRows_data();
    void returnWritesExactlyItsRows();
    void answerNoWritesNothing_data();
    void answerNoWritesNothing();
    void failureInsideWritesNothing_data();
    void failureInsideWritesNothing();
    void returnDateRequired_data();
    void returnDateRequired();
    void carThatChangedIsNotReturned_data();
    void carThatChangedIsNotReturned();
    void resoldCarReturnedTwice_data();
    void resoldCarReturnedTwice();
    void cancelledPickerKeepsTheCar();
    void returnThroughTheCarPicker_data();
    void returnThroughTheCarPicker();
};

// ---------------------------------------------------------------- the query

void TestReturns::queryListsOnlyReturnedCars_data()
{
    QTest::addColumn<CarStatus>("status");
    QTest::addColumn<bool>("listed");
    QTest::newRow("in stock") << CarStatus::InStock << false;
    QTest::newRow("sold") << CarStatus::Sold << false;
    QTest::newRow("returned to the provider") << CarStatus::ReturnedToProvider << true;
    QTest::newRow("returned by the customer") << CarStatus::ReturnedByCustomer << false;
}

void TestReturns::queryListsOnlyReturnedCars()
{
    QFETCH(CarStatus, status);
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
    addCar(db, "A", CarStatus::ReturnedToProvider, "P001", "2024-03-14");
    addCar(db, "B", CarStatus::ReturnedToProvider, "P001", "2024-03-15");
    addCar(db, "C", CarStatus::ReturnedToProvider, "P001", "2024-03-15 23:59:59");
    addCar(db, "D", CarStatus::ReturnedToProvider, "P001", "2024-03-16");
    addCar(db, "E", CarStatus::InStock, "P001", "2024-03-15");
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
    // A date typed in part is refused, not taken as no date: the list stays.
    typeInto(w->DateEdit1, "2024");
    press(w.w, "SpeedItem1");
    QCOMPARE(db.messages.texts(), QStringList{"开始日期不是有效的日期!"});
    QCOMPARE(column(w->tq_backprov, "carserial_no"), (QStringList{"B", "C", "D"}));
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
    addCar(db, "AB1", CarStatus::ReturnedToProvider);
    addCar(db, "ab'2", CarStatus::ReturnedToProvider, "P001", "2024-01-11");
    addCar(db, "%X", CarStatus::ReturnedToProvider, "P002", "2024-01-12");
    addCar(db, "AB3", CarStatus::InStock);
    Window w(new Tfbackprovsele);
    typeInto(w->findChild<QLineEdit *>(edit), text);
    press(w.w, "SpeedItem1");
    QVERIFY(db.messages.messages.isEmpty());
    QStringList listed = column(w->tq_backprov, "carserial_no");
    listed.sort();
    QCOMPARE(listed, found);
    QCOMPARE(w->countLabel->text(), QString("共:%1 条记录").arg(found.size()));
}

// What the query lists is the statement the benchmark measures.
void TestReturns::queryListsItsStatement()
{
    TestDb db;
    addCar(db, "AB1", CarStatus::ReturnedToProvider, "P001", "2024-01-12");
    addCar(db, "AB2", CarStatus::ReturnedToProvider, "P001", "2024-01-10 18:00:00");
    addCar(db, "AB3", CarStatus::ReturnedToProvider, "P002", "2024-01-10");
    addCar(db, "AB4", CarStatus::InStock, "P001", "2024-01-10");
    Window w(new Tfbackprovsele);
    typeInto(w->ComboEdit1, "p001");
    typeInto(w->Edit1, "ab");
    typeInto(w->DateEdit1, "20240110");
    press(w.w, "SpeedItem1");
    const QString differs = differsFrom(
            w->tq_backprov,
            Tfbackprovsele::listStatement({.serial = "ab", .providerCode = "p001", .from = QDate(2024, 1, 10)}));
    QVERIFY2(differs.isEmpty(), qPrintable(differs));
    QCOMPARE(column(w->tq_backprov, "carserial_no"), (QStringList{"AB2", "AB1"}));
}

void TestReturns::queryProviderPickedByKeyboard()
{
    TestDb db;
    db.insert("cprovider", {{"providerid", "P001"}, {"provname", "供应商甲"}});
    db.insert("cprovider", {{"providerid", "P002"}, {"provname", "供应商乙"}});
    addCar(db, "S1", CarStatus::ReturnedToProvider, "P001");
    addCar(db, "S2", CarStatus::ReturnedToProvider, "P002");
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
    addCar(db, "S1", CarStatus::ReturnedToProvider);
    addCar(db, "S2", CarStatus::ReturnedToProvider, "P002", "2024-02-01");
    addCar(db, "S3", CarStatus::Sold);
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
    addCar(db, "S1", CarStatus::ReturnedToProvider);
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

// ---------------------------------------------------------------- the returns

void TestReturns::returnWritesExactlyItsRows_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<CarStatus>("status");
    QTest::addColumn<QString>("handler");
    QTest::addColumn<QString>("reason");
    QTest::newRow("to the provider, from stock") << "provider" << CarStatus::InStock << "退货人" << "质量问题";
    QTest::newRow("to the provider, back from a customer") << "provider" << CarStatus::ReturnedByCustomer << "退货人" << "质量问题";
    QTest::newRow("to the provider, inputs empty") << "provider" << CarStatus::InStock << "" << "";
    QTest::newRow("from the customer") << "customer" << CarStatus::Sold << "退货人" << "客户不满意";
    QTest::newRow("from the customer, inputs empty") << "customer" << CarStatus::Sold << "" << "";
}

void TestReturns::returnWritesExactlyItsRows()
{
    QFETCH(QString, kind);
    QFETCH(CarStatus, status);
    QFETCH(QString, handler);
    QFETCH(QString, reason);
    const Twin &t = twin(kind);
    TestDb db;
    addReturnableCar(db, kind, "S1", status);
    addReturnableCar(db, kind, "S2"); // another car, left alone
    PickerStandIn picker("S1");
    Window w(t.make());
    QCOMPARE(QApplication::focusWidget(), w->DateEdit1);
    QVERIFY(!w->SpeedItem2->isEnabled());

    altKey(w.w, 1); // 选车
    QCOMPARE(picker.scopes, QStringList{t.carScope});
    QVERIFY(w->SpeedItem2->isEnabled());
    QCOMPARE(w->tb_carinfor->value("carserial_no").toString(), QString("S1"));
    QCOMPARE(w->tb_record->recordCount(), 1);
    QCOMPARE(w->tb_record->value(t.recordKey).toString(), (kind == "customer" ? "CKS1" : "RKS1"));
    auto *price = w->findChild<DBText *>(kind == "customer" ? "DBText9" : "DBText20");
    QCOMPARE(price->text(), (kind == "customer" ? "120000.25" : "100000.5"));

    fillInputs(w.w, "20240315", handler, reason);
    const QStringList before = snapshot();
    db.messages.answer(QMessageBox::Yes);
    altKey(w.w, 2); // 退货
    QCOMPARE(db.messages.messages.size(), 1);
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Question);
    QCOMPARE(db.messages.messages.first().title, QString("提示"));
    QCOMPARE(db.messages.messages.first().text, t.question);

    const QVariant handlerValue = handler.isEmpty() ? QVariant() : QVariant(handler);
    const QVariant reasonValue = reason.isEmpty() ? QVariant() : QVariant(reason);
    // The car: its new state and the reason.
    QCOMPARE(db.scalar("SELECT carstatus FROM carinfor WHERE carserial_no = 'S1'").toInt(), t.newStatus);
    QVERIFY(same(db.scalar("SELECT remarks FROM carinfor WHERE carserial_no = 'S1'"), reasonValue));
    // One refund entry, every field of it.
    QCOMPARE(db.count(t.ledger), 1);
    QCOMPARE(db.count(t.otherLedger), 0);
    QSqlQuery q = Db::exec("SELECT * FROM " + t.ledger);
    QVERIFY(q.next());
    const QSqlRecord r = q.record();
    const QVariantMap expected{
        {t.ledgerKey, expectedNumber(db, t, 1)},
        {t.partnerCode, kind == "customer" ? "C001" : "P001"},
        {t.partnerName, kind == "customer" ? "客户C001" : "供应商P001"},
        {kind == "customer" ? "custaccttype" : "provaccttype", "退货款项"},
        {t.amountField, kind == "customer" ? 120000.25 : 100000.5},
        {"account_date", "2024-03-15"}, {"in_date", "2024-03-15"},
        {"affirm_recorder", handlerValue},
        {"isaffirm", 1}, {"ischeck", 0}, {"isprepay", codeValue(EntryKind::Credit)}};
    for (int i = 0; i < r.count(); ++i) {
        const QString field = r.fieldName(i);
        const QVariant want = expected.value(field);
        if (want.isNull())
            QVERIFY2(r.value(i).isNull(), qPrintable(field));
        else
            QCOMPARE(r.value(i).toString(), want.toString());
    }
    QCOMPARE(db.scalar("SELECT " + t.counter + " FROM XTDH").toInt(), 1);
    // The record: the return's date and handler, nothing else.
    const QString record = kind == "customer" ? "CKS1" : "RKS1";
    QCOMPARE(db.scalar(QString("SELECT %1 FROM %2 WHERE %3 = '%4'").arg(t.dateField, t.recordTable, t.recordKey, record)).toString(),
             QString("2024-03-15"));
    QVERIFY(same(db.scalar(QString("SELECT %1 FROM %2 WHERE %3 = '%4'").arg(t.handlerField, t.recordTable, t.recordKey, record)),
                 handlerValue));
    // Nothing else changed: the other car, the other record table.
    QStringList after = snapshot();
    const auto untouched = [](const QStringList &rows) {
        QStringList kept;
        for (const QString &row : rows)
            if (!row.contains("|S1|") && !row.contains("|RKS1|") && !row.contains("|CKS1|")
                && !row.startsWith("XTDH") && !row.startsWith("cprovaccount") && !row.startsWith("ccustaccount"))
                kept << row;
        return kept;
    };
    QCOMPARE(untouched(after), untouched(before));

    // No car shown; the inputs keep their texts for the next return.
    QVERIFY(!w->tb_carinfor->isActive());
    QVERIFY(!w->tb_record->isActive());
    QVERIFY(!w->SpeedItem2->isEnabled());
    QCOMPARE(w->DateEdit1->displayText(), QString("2024-03-15"));
    QCOMPARE(w->Edit1->text(), handler);
    QCOMPARE(w->Memo1->toPlainText(), reason);
}

void TestReturns::answerNoWritesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("to the provider") << "provider";
    QTest::newRow("from the customer") << "customer";
}

void TestReturns::answerNoWritesNothing()
{
    QFETCH(QString, kind);
    ReturnScene scene(kind);
    const QStringList before = snapshot();
    scene.carryOut(QMessageBox::No);
    QCOMPARE(scene.db.messages.texts(), QStringList{scene.t.question});
    QCOMPARE(snapshot(), before);
    QVERIFY(scene.window()->SpeedItem2->isEnabled()); // the car is still shown
    QCOMPARE(scene.window()->tb_carinfor->value("carserial_no").toString(), QString("S1"));
}

void TestReturns::failureInsideWritesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("trigger");
    QTest::newRow("to the provider, the ledger fails")
        << "provider" << "BEFORE INSERT ON cprovaccount";
    QTest::newRow("to the provider, the record fails last")
        << "provider" << "BEFORE UPDATE ON carinstock";
    QTest::newRow("from the customer, the ledger fails")
        << "customer" << "BEFORE INSERT ON ccustaccount";
    QTest::newRow("from the customer, the record fails last")
        << "customer" << "BEFORE UPDATE ON caroutstock";
}

void TestReturns::failureInsideWritesNothing()
{
    QFETCH(QString, kind);
    QFETCH(QString, trigger);
    ReturnScene scene(kind);
    TestDb &db = scene.db;
    db.exec("CREATE TRIGGER fails " + trigger + " BEGIN SELECT RAISE(ABORT, '写入失败'); END");
    const QStringList before = snapshot();
    scene.carryOut();
    QCOMPARE(db.messages.messages.size(), 2);
    QCOMPARE(db.messages.messages.last().kind, Msg::Kind::Error);
    QVERIFY(db.messages.lastText().contains("写入失败"));
    QCOMPARE(snapshot(), before); // not even the number was drawn
    // The car and the input stay: once the fault is gone the same return goes through.
    QVERIFY(scene.window()->SpeedItem2->isEnabled());
    QCOMPARE(scene.window()->Edit1->text(), QString("退货人"));
    db.exec("DROP TRIGGER fails");
    scene.carryOut();
    const Twin &t = scene.t;
    QCOMPARE(db.count(t.ledger), 1);
    QCOMPARE(db.scalar("SELECT " + t.ledgerKey + " FROM " + t.ledger).toString(), expectedNumber(db, t, 1));
    QCOMPARE(db.scalar("SELECT carstatus FROM carinfor").toInt(), t.newStatus);
}

void TestReturns::returnDateRequired_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("date");
    QTest::newRow("to the provider, empty") << "provider" << "";
    QTest::newRow("to the provider, in part") << "provider" << "202403";
    QTest::newRow("from the customer, no such day") << "customer" << "20240231";
}

void TestReturns::returnDateRequired()
{
    QFETCH(QString, kind);
    QFETCH(QString, date);
    ReturnScene scene(kind, date);
    scene.window()->Edit1->setFocus();
    const QStringList before = snapshot();
    press(scene.window(), "SpeedItem2");
    const ScriptedMessages &messages = scene.db.messages;
    QCOMPARE(messages.texts(), QStringList{"请输入退货日期!"}); // refused before the question
    QCOMPARE(messages.messages.first().kind, Msg::Kind::Warning);
    QCOMPARE(QApplication::focusWidget(), scene.window()->DateEdit1);
    QCOMPARE(snapshot(), before);
    QVERIFY(scene.window()->SpeedItem2->isEnabled());
}

void TestReturns::carThatChangedIsNotReturned_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("meanwhile");
    QTest::newRow("to the provider, sold meanwhile")
        << "provider" << "UPDATE carinfor SET carstatus = 1";
    QTest::newRow("to the provider, returned meanwhile")
        << "provider" << "UPDATE carinfor SET carstatus = 2";
    QTest::newRow("from the customer, returned meanwhile")
        << "customer" << "UPDATE carinfor SET carstatus = 3";
    QTest::newRow("from the customer, returned and sold again meanwhile")
        << "customer"
        << "INSERT INTO caroutstock (carout_no, customerid, carserial_no, outstock_date, saleprice)"
           " VALUES ('CK9', 'C002', 'S1', '2024-03-01', 99)";
    QTest::newRow("from the customer, the car is gone")
        << "customer" << "DELETE FROM carinfor";
}

void TestReturns::carThatChangedIsNotReturned()
{
    QFETCH(QString, kind);
    QFETCH(QString, meanwhile);
    ReturnScene scene(kind);
    scene.db.exec(meanwhile);
    const QStringList before = snapshot();
    scene.carryOut();
    QCOMPARE(scene.db.messages.texts(), (QStringList{scene.t.question, "该车辆状态已改变，请重新选车!"}));
    QCOMPARE(snapshot(), before);
    QVERIFY(!scene.window()->SpeedItem2->isEnabled()); // the car must be chosen again
}

void TestReturns::resoldCarReturnedTwice_data()
{
    QTest::addColumn<QString>("second");
    QTest::newRow("sold again under a higher number") << "CK0003";
    QTest::newRow("sold again under a lower number (a serial given back)") << "CK0001";
}

void TestReturns::resoldCarReturnedTwice()
{
    QFETCH(QString, second);
    // Sold to C001, returned, sold again to C002, returned again: each return
    // credits the sale it undoes and updates only that sale's record.
    const Twin &t = twin("customer");
    TestDb db;
    addCar(db, "S1", CarStatus::Sold);
    addSale(db, "CK0002", "S1", "C001", 100000, "2024-02-01 09:00:00");
    PickerStandIn picker("S1");
    Window w(t.make());
    press(w.w, "SpeedItem1");
    QCOMPARE(w->tb_record->value("carout_no").toString(), QString("CK0002"));
    fillInputs(w.w, "20240210", "甲", "第一次");
    db.messages.answer(QMessageBox::Yes);
    press(w.w, "SpeedItem2");
    QCOMPARE(db.scalar("SELECT carstatus FROM carinfor").toInt(), 3);

    db.exec("UPDATE carinfor SET carstatus = 1");
    addSale(db, second, "S1", "C002", 130000.5, "2024-03-01 09:00:00");
    press(w.w, "SpeedItem1");
    QCOMPARE(w->tb_record->value("carout_no").toString(), second);
    QCOMPARE(w->tb_record->recordCount(), 1);
    fillInputs(w.w, "20240320", "乙", "第二次");
    db.messages.answer(QMessageBox::Yes);
    press(w.w, "SpeedItem2");

    QSqlQuery q = Db::exec("SELECT customerid, custname, income FROM ccustaccount ORDER BY caccountid");
    QStringList refunds;
    while (q.next())
        refunds << q.value(0).toString() + " " + q.value(1).toString() + " " + Fmt::display(q.value(2));
    QCOMPARE(refunds, (QStringList{"C001 客户C001 100000", "C002 客户C002 130000.5"}));
    const auto record = [](const QString &number) {
        QSqlQuery r = Db::exec("SELECT outstock_date, salerecorder FROM caroutstock WHERE carout_no = :n",
                               {{":n", number}});
        return r.next() ? r.value(0).toString() + " " + r.value(1).toString() : QString();
    };
    QCOMPARE(record("CK0002"), QString("2024-02-10 甲"));
    QCOMPARE(record(second), QString("2024-03-20 乙"));
    QCOMPARE(db.scalar("SELECT carstatus FROM carinfor").toInt(), 3);
    QCOMPARE(db.scalar("SELECT remarks FROM carinfor").toString(), QString("第二次"));
}

void TestReturns::cancelledPickerKeepsTheCar()
{
    TestDb db;
    addCar(db, "S1", CarStatus::InStock);
    addCar(db, "S2", CarStatus::ReturnedByCustomer);
    PickerStandIn picker("S1");
    Window w(new Tfbackprov);
    press(w.w, "SpeedItem1");
    picker.chosen = "S2"; // choosing again moves to the new car
    press(w.w, "SpeedItem1");
    QCOMPARE(w->tb_carinfor->value("carserial_no").toString(), QString("S2"));
    QCOMPARE(w->tb_record->value("carin_no").toString(), QString("RKS2"));
    picker.chosen.clear(); // Cancel: the car shown stays
    press(w.w, "SpeedItem1");
    QCOMPARE(w->tb_carinfor->value("carserial_no").toString(), QString("S2"));
    QVERIFY(w->SpeedItem2->isEnabled());
    QVERIFY(db.messages.messages.isEmpty());
}

void TestReturns::returnThroughTheCarPicker_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("to the provider: in stock, or back from a customer")
        << "provider" << QStringList{"A0", "A3"} << "A3";
    QTest::newRow("from the customer: sold") << "customer" << QStringList{"A1"} << "A1";
}

void TestReturns::returnThroughTheCarPicker()
{
    // The whole road by keyboard, with the real car picker.
    QFETCH(QString, kind);
    QFETCH(QStringList, offered);
    QFETCH(QString, chosen);
    const Twin &t = twin(kind);
    TestDb db;
    for (CarStatus status : {CarStatus::InStock, CarStatus::Sold, CarStatus::ReturnedToProvider,
                             CarStatus::ReturnedByCustomer})
        addCar(db, QString("A%1").arg(codeNumber(status)), status);
    addSale(db, "CK1", "A1", "C001", 5000, "2024-02-01");
    Window w(t.make());
    QStringList listed;
    const auto picked = whenModal<Tfselecar>([&](Tfselecar *d) {
        for (int r = 0; r < d->query1->recordCount(); ++r)
            listed << d->query1->valueAt(r, "carserial_no").toString();
        typeInto(d->Edit1, chosen);
        QTest::keyClick(d->Edit1, Qt::Key_Return);
    });
    altKey(w.w, 1); // 选车
    QVERIFY(*picked);
    QCOMPARE(listed, offered);
    QCOMPARE(w->tb_carinfor->value("carserial_no").toString(), chosen);
    QApplication::setActiveWindow(w.w); // back from the picker
    w->DateEdit1->setFocus();
    db.messages.answer(QMessageBox::Yes);
    altKey(w.w, 2); // 退货
    QCOMPARE(db.messages.texts(), QStringList{t.question});
    QCOMPARE(db.scalar("SELECT carstatus FROM carinfor WHERE carserial_no = :s", {{":s", chosen}}).toInt(),
             t.newStatus);
    QCOMPARE(db.count(t.ledger), 1);
}

QTEST_MAIN(TestReturns)
#include "tst_returns.moc"
