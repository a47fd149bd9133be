// A partner's code as the user types it, over every window with a code field:
// kept in its letter case where the windows store or compare it as typed,
// found by the lookups that ignore case, refused by the exact comparison with
// a contract's partner; in capitals only where a window asks for them.
#include "Codes.h"
#include "Clock.h"
#include "Db.h"
#include "Drive.h"
#include "TestDb.h"
#include "Ubackprovsele.h"
#include "Ubgsxx.h"
#include "Ubuycontsele.h"
#include "Ubuyinout.h"
#include "Ucarin.h"
#include "Ucarinsele.h"
#include "Ucarout.h"
#include "Ucaroutsele.h"
#include "Ucustcheck.h"
#include "Ucustoutgo.h"
#include "Ucustxx.h"
#include "Udelf.h"
#include "Uprovcheck.h"
#include "Uprovxx.h"
#include "Usalecont.h"
#include "Usalecontsele.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <functional>

namespace {

void seed(TestDb &db)
{
    QVERIFY(db.dm->trsk->locate("personnelid", "admin"));
    Clock::setNow(QDateTime(QDate(2024, 5, 6), QTime(9, 30, 0)));
    db.insert("ccustomer", {{"customerid", "C001"}, {"custname", "客户甲"}});
    db.insert("cprovider", {{"providerid", "P001"}, {"provname", "供应商乙"}});
    db.insert("csalecontract", {{"salecont_no", "SS1"}, {"contract_no", "XS-1"}, {"customerid", "C001"},
                                {"custname", "客户甲"}, {"isfinished", codeValue(ContractProgress::Executing)}});
    db.insert("cbuycontract", {{"buycont_no", "BS1"}, {"contract_no", "CG-1"}, {"providerid", "P001"},
                               {"provname", "供应商乙"}, {"isfinished", codeValue(ContractProgress::Executing)}});
    db.insert("cbuycontdetail", {{"buycont_no", "BS1"}, {"carmodel", "桑塔纳"}, {"qty", 1}});
    db.insert("carinfor", {{"carserial_no", "CAR1"}, {"carstatus", codeValue(CarStatus::InStock)}, {"carprice", 100000}});
}

// A window of the table: how it is made and brought to where its code field
// takes input (an entry window adds its document first).
struct CodeWindow {
    std::function<QWidget *()> make;
    std::function<void(QWidget *)> ready = [](QWidget *) {};
};

void add(QWidget *w) { QVERIFY(Drive::press(w, "SpeedItem1")); }

const CodeWindow &codeWindow(const QString &name)
{
    static const QMap<QString, CodeWindow> windows{
        {"Tfcarin", {[] { return new Tfcarin; }, add}},
        {"Tfcarinsele", {[] { return new Tfcarinsele; }}},
        {"Tfcarout",
         {[] {
              auto *w = new Tfcarout;
              w->chooseCar = [](QWidget *) { return std::optional<QString>("CAR1"); };
              return w;
          },
          add}},
        {"Tfcaroutsele", {[] { return new Tfcaroutsele; }}},
        {"Tfbackprovsele", {[] { return new Tfbackprovsele; }}},
        {"Tfbuyinout", {[] { return new Tfbuyinout; }, add}},
        {"Tfcustoutgo", {[] { return new Tfcustoutgo; }, add}},
        {"Tfdelf", {[] { return new Tfdelf; }, add}},
        {"Tfprovcheck", {[] { return new Tfprovcheck; }}},
        {"Tfcustcheck", {[] { return new Tfcustcheck; }}},
        {"Tfsalecont", {[] { return new Tfsalecont; }, add}},
        {"Tfbuycontsele", {[] { return new Tfbuycontsele; }}},
        {"Tfsalecontsele", {[] { return new Tfsalecontsele; }}},
        {"Tfcustxx", {[] { return new Tfcustxx; }, add}},
        {"Tfprovxx", {[] { return new Tfprovxx; }, add}},
        {"Tfbgsxx", {[] { return new Tfbgsxx; }, add}},
    };
    return *windows.find(name);
}

// The window of the table shown offscreen, active and ready for its code;
// freed at the end of the test.
struct Shown {
    explicit Shown(const QString &window) : w(codeWindow(window).make())
    {
        w->show();
        (void)QTest::qWaitForWindowExposed(w);
        QApplication::setActiveWindow(w);
        codeWindow(window).ready(w);
    }
    ~Shown() { delete w.data(); }
    QPointer<QWidget> w;
};

QString text(QWidget *w, const QString &name)
{
    auto *edit = w->findChild<QLineEdit *>(name);
    return edit ? edit->text() : QStringLiteral("<no %1>").arg(name);
}

} // namespace

class TestPartnerCodes : public QObject {
    Q_OBJECT

private slots:
    void codeAsTyped_data();
    void codeAsTyped();
    void contractPartnerComparedExactly_data();
    void contractPartnerComparedExactly();
};

void TestPartnerCodes::codeAsTyped_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    // The edit that the lookup fills when the field is left; none for a query's condition.
    QTest::addColumn<QString>("nameField");
    QTest::addColumn<QString>("name");
    QTest::newRow("in-stock") << "Tfcarin" << "ComboEdit1" << "p001" << "p001" << "DBEdit2" << "供应商乙";
    QTest::newRow("in-stock query") << "Tfcarinsele" << "ComboEdit1" << "p00" << "p00" << "" << "";
    QTest::newRow("sale") << "Tfcarout" << "ComboEdit1" << "c001" << "c001" << "DBEdit2" << "客户甲";
    QTest::newRow("sales query") << "Tfcaroutsele" << "ComboEdit1" << "c00" << "c00" << "" << "";
    QTest::newRow("returns query") << "Tfbackprovsele" << "ComboEdit1" << "p00" << "p00" << "" << "";
    QTest::newRow("payment") << "Tfbuyinout" << "ComboEdit1" << "p001" << "p001" << "DBEdit1" << "供应商乙";
    QTest::newRow("prepayment") << "Tfcustoutgo" << "ComboEdit1" << "c001" << "c001" << "DBEdit1" << "客户甲";
    QTest::newRow("advanced fee") << "Tfdelf" << "ComboEdit1" << "c001" << "c001" << "DBEdit1" << "客户甲";
    QTest::newRow("provider reconciliation") << "Tfprovcheck" << "ComboEdit1" << "p001" << "p001" << "Edit1" << "供应商乙";
    QTest::newRow("customer reconciliation") << "Tfcustcheck" << "ComboEdit1" << "c001" << "c001" << "Edit1" << "客户甲";
    // Capitals where they are asked for.
    QTest::newRow("contract entry") << "Tfsalecont" << "ComboEdit1" << "c001" << "C001" << "" << "";
    QTest::newRow("purchase contract query") << "Tfbuycontsele" << "ComboEdit1" << "p00" << "P00" << "" << "";
    QTest::newRow("sales contract query") << "Tfsalecontsele" << "COMBOEDIT1" << "c00" << "C00" << "" << "";
    QTest::newRow("customer register") << "Tfcustxx" << "DBEdit1" << "c009" << "C009" << "" << "";
    QTest::newRow("provider register") << "Tfprovxx" << "DBEdit1" << "p009" << "P009" << "" << "";
    QTest::newRow("own company's post code") << "Tfbgsxx" << "DBEdit4" << "ab12" << "AB12" << "" << "";
}

void TestPartnerCodes::codeAsTyped()
{
    QFETCH(QString, window);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, nameField);
    QFETCH(QString, name);
    TestDb db;
    seed(db);
    Shown w(window);
    QVERIFY(Drive::type(w.w, field.toLatin1(), typed));
    QCOMPARE(text(w.w, field), shown);
    if (!nameField.isEmpty()) {
        // The lookup compares without regard to case: the code is found.
        Drive::leave(w.w->findChild<QWidget *>(field));
        QCOMPARE(text(w.w, nameField), name);
        QCOMPARE(text(w.w, field), shown);
    }
    QCOMPARE(db.messages.texts(), QStringList());
}

void TestPartnerCodes::contractPartnerComparedExactly_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("contract");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("refusal"); // none: stored
    // The codes stored, in the record and the ledger: null where nothing was.
    QTest::addColumn<QString>("stored");
    const QString provider = "所选合同并非是该供应商签约!", customer = "所选合同并非是该客户签约!";
    QTest::newRow("in-stock, another letter case") << "Tfcarin" << "CG-1" << "p001" << provider << "null|null";
    QTest::newRow("in-stock, no contract") << "Tfcarin" << "" << "p001" << "" << "p001|p001";
    QTest::newRow("sale, another letter case") << "Tfcarout" << "XS-1" << "c001" << customer << "null|null";
    QTest::newRow("sale, the contract's code") << "Tfcarout" << "XS-1" << "C001" << "" << "C001|C001";
    QTest::newRow("sale, no contract") << "Tfcarout" << "" << "c001" << "" << "c001|c001";
    QTest::newRow("payment, another letter case") << "Tfbuyinout" << "CG-1" << "p001" << provider << "null";
    QTest::newRow("payment, no contract") << "Tfbuyinout" << "" << "p001" << "" << "p001";
    // Stored as the register holds it, found by the reconciliation.
    QTest::newRow("payment, blanks around the code") << "Tfbuyinout" << "" << " P001 " << "" << "P001";
    QTest::newRow("prepayment, another letter case") << "Tfcustoutgo" << "XS-1" << "c001" << customer << "null";
    QTest::newRow("prepayment, a blank before the code") << "Tfcustoutgo" << "XS-1" << " C001" << customer << "null";
    QTest::newRow("prepayment, the contract's code") << "Tfcustoutgo" << "XS-1" << "C001" << "" << "C001";
    QTest::newRow("prepayment, no contract") << "Tfcustoutgo" << "" << "c001" << "" << "c001";
    QTest::newRow("advanced fee") << "Tfdelf" << "" << "c001" << "" << "c001";
}

void TestPartnerCodes::contractPartnerComparedExactly()
{
    QFETCH(QString, window);
    QFETCH(QString, contract);
    QFETCH(QString, code);
    QFETCH(QString, refusal);
    QFETCH(QString, stored);
    TestDb db;
    seed(db);
    Shown w(window);
    if (!contract.isEmpty()) {
        // Leaving the contract puts its partner's code in the code field; typed over next.
        QVERIFY(Drive::type(w.w, "ComboEdit2", contract));
        Drive::leave(w.w->findChild<QWidget *>("ComboEdit2"));
    }
    QVERIFY(Drive::type(w.w, "ComboEdit1", code));
    Drive::leave(w.w->findChild<QWidget *>("ComboEdit1"));
    QCOMPARE(db.messages.texts(), QStringList()); // found by the lookup
    const bool stock = window == "Tfcarin" || window == "Tfcarout";
    if (window == "Tfcarin") {
        QVERIFY(Drive::type(w.w, "DBEdit1", "VIN9"));
        QVERIFY(Drive::type(w.w, "DBEdit15", "DP9"));
    }
    QVERIFY(Drive::type(w.w, window == "Tfcarout" ? "DBEdit3" : stock ? "DBEdit20" : "DBEdit4", "1000"));
    if (stock)
        db.messages.answer(QMessageBox::No); // no slip
    QVERIFY(Drive::press(w.w, "SpeedItem5"));
    if (refusal.isEmpty()) {
        QCOMPARE(db.messages.texts(), stock ? QStringList{window == "Tfcarin" ? "是否打印入库单?" : "是否打印出库单?"}
                                            : QStringList());
    } else {
        QCOMPARE(db.messages.texts(), QStringList{refusal});
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("ComboEdit1"));
        QCOMPARE(text(w.w, "ComboEdit1"), code);
    }
    const QString sql = window == "Tfcarin"
                                ? "SELECT ifnull((SELECT providerid FROM carinstock), 'null') || '|'"
                                  " || ifnull((SELECT providerid FROM cprovaccount), 'null')"
                        : window == "Tfcarout"
                                ? "SELECT ifnull((SELECT customerid FROM caroutstock), 'null') || '|'"
                                  " || ifnull((SELECT customerid FROM ccustaccount), 'null')"
                        : window == "Tfbuyinout" ? "SELECT ifnull(providerid, 'null') FROM cprovaccount"
                                                 : "SELECT ifnull(customerid, 'null') FROM ccustaccount";
    QCOMPARE(db.scalar(sql).toString(), stored);
}

QTEST_MAIN(TestPartnerCodes)
#include "tst_partnercodes.moc"
