// The data store: schema, data module, numbering, conditions, export, Money.
#include "Codes.h"
#include "Clock.h"
#include "DMsales.h"
#include "Db.h"
#include "Errors.h"
#include "Format.h"
#include "Money.h"
#include "DataSet.h"
#include "QueryConditions.h"
#include "SalesStatistics.h"
#include "Schema.h"
#include "TestDb.h"

#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace {

// The message of the AppError the action throws, "" when it throws none.
QString failure(const std::function<void()> &action)
{
    try {
        action();
    } catch (const AppError &e) {
        return e.message();
    }
    return QString();
}

// The export's save dialog as a test answers it: a name, or cancel when empty.
class ChosenFile : public SaveFileSeam {
public:
    using SaveFileSeam::SaveFileSeam;
    QString chosen;
    bool execute(QWidget *) override
    {
        if (chosen.isEmpty())
            return false;
        fileName = chosen;
        return true;
    }
};

ChosenFile *chooseFiles(TfrmDMcarsales &dm)
{
    auto *c = new ChosenFile(&dm);
    dm.SaveDialog1 = c;
    return c;
}

} // namespace

class TestData : public QObject {
    Q_OBJECT

private slots:
    // Money and the display formatter
    void moneyParse_data();
    void moneyParse();
    void moneyArithmeticAndRounding_data();
    void moneyArithmeticAndRounding();
    void moneyFromStored_data();
    void moneyFromStored();
    void moneyRange_data();
    void moneyRange();
    void moneyTyped_data();
    void moneyTyped();
    void moneySqlSum_data();
    void moneySqlSum();
    void displayFormatter();
    void displayOfExtremes_data();
    void displayOfExtremes();
    void displayAsTheDatabaseGives_data();
    void displayAsTheDatabaseGives();

    // Schema and start-up
    void schemaHasEveryTableAndField();
    void schemaInitialRows();
    void salesviewCountsEachSoldCarOnce();
    void missingFileIsCreated();
    void fileThatIsNotADatabase();
    void databaseOfAnotherProgram_data();
    void databaseOfAnotherProgram();
    void rightsFollowPersonnel();
    void queryFirstRow();
    void refusedKeyIsNamed_data();
    void refusedKeyIsNamed();
    void readerNeverBlocksASave_data();
    void readerNeverBlocksASave();
    void olderFileGetsTheIndexesAndWal();
    void statementsUseTheirIndexes_data();
    void statementsUseTheirIndexes();

    // Numbering
    void nextNumber_data();
    void nextNumber();
    void recycleTwiceStoresOnce();
    void drawRolledBackWithCallerConsumesNothing();
    void fullPoolFailsAndStoresNothing();

    // Query conditions
    void conditions_data();
    void conditions();
    void conditionJoining();
    void dateOfSeveralFields_data();
    void dateOfSeveralFields();
    void filterDate_data();
    void filterDate();

    // Export
    void exportExactBytes();
    void exportCancelAndNames();
};

// ---------------------------------------------------------------- Money

void TestData::moneyParse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("units");
    QTest::newRow("whole") << "1500000" << true << qint64(15000000000);
    QTest::newRow("decimal") << "100.5" << true << qint64(1005000);
    QTest::newRow("negative") << "-30000" << true << qint64(-300000000);
    QTest::newRow("four places") << "0.0001" << true << qint64(1);
    QTest::newRow("blanks around") << " 12.30 " << true << qint64(123000);
    QTest::newRow("leading point") << ".5" << true << qint64(5000);
    QTest::newRow("plus sign") << "+7" << true << qint64(70000);
    QTest::newRow("empty") << "" << false << qint64(0);
    QTest::newRow("sign only") << "-" << false << qint64(0);
    QTest::newRow("letters") << "12a" << false << qint64(0);
    QTest::newRow("grouping") << "1,000" << false << qint64(0);
    QTest::newRow("exponent") << "1e5" << false << qint64(0);
    QTest::newRow("five places") << "1.23456" << false << qint64(0);
    QTest::newRow("two points") << "1.2.3" << false << qint64(0);
    QTest::newRow("inner blank") << "1 000" << false << qint64(0);
    QTest::newRow("max") << "922337203685477.5807" << true << Money::MaxUnits;
    QTest::newRow("min") << "-922337203685477.5807" << true << -Money::MaxUnits;
    QTest::newRow("just over max") << "922337203685477.5808" << false << qint64(0);
    QTest::newRow("just under min") << "-922337203685477.5808" << false << qint64(0);
    QTest::newRow("fifteen digits") << "100000000000000" << true << qint64(1000000000000000000);
    QTest::newRow("too many digits") << "10000000000000000000" << false << qint64(0);
    QTest::newRow("leading zeros") << "0000000000000000000001.5" << true << qint64(15000);
}

void TestData::moneyParse()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(qint64, units);
    const auto m = Money::parse(text);
    QCOMPARE(m.has_value(), ok);
    if (ok)
        QCOMPARE(m->units(), units);
}

void TestData::moneyArithmeticAndRounding_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("sum");
    QTest::addColumn<QString>("sumRounded");
    QTest::newRow("tenths") << "0.1" << "0.2" << "0.3" << "0";
    QTest::newRow("cents") << "33.83" << "67.67" << "101.5" << "102";
    QTest::newRow("half to even down") << "2" << "0.5" << "2.5" << "2";
    QTest::newRow("half to even up") << "3" << "0.5" << "3.5" << "4";
    QTest::newRow("negative half") << "-2" << "-0.5" << "-2.5" << "-2";
    QTest::newRow("negative over half") << "-2" << "-0.5001" << "-2.5001" << "-3";
    QTest::newRow("large") << "1500000" << "0" << "1500000" << "1500000";
}

void TestData::moneyArithmeticAndRounding()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, sum);
    QFETCH(QString, sumRounded);
    const Money s = *Money::parse(a) + *Money::parse(b);
    QCOMPARE(s.toString(), sum);
    QCOMPARE(s.roundedToYuan().toString(), sumRounded);
    // The same amounts stored as REAL come back exact.
    const Money viaDouble = Money::fromDouble(Money::parse(a)->toDouble())
                            + Money::fromDouble(Money::parse(b)->toDouble());
    QCOMPARE(viaDouble, s);
}

namespace {

// What a Money operation gives: its text, or the message that refused it.
QString outcome(const std::function<Money()> &operation)
{
    try {
        return operation().toString();
    } catch (const AppError &e) {
        return QStringLiteral("refused: ") + e.message();
    }
}

const QString OutOfRange = QStringLiteral("refused: 金额超出可处理的范围（最大为922337203685477.5807）！");
const QString Max = QStringLiteral("922337203685477.5807");
const QString Min = QStringLiteral("-922337203685477.5807");

} // namespace

void TestData::moneyFromStored_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("expected");
    QTest::newRow("null") << QVariant() << "0";
    QTest::newRow("REAL") << QVariant(33.83) << "33.83";
    QTest::newRow("9.2e14") << QVariant(9.2e14) << "920000000000000";
    QTest::newRow("9.3e14") << QVariant(9.3e14) << OutOfRange;
    QTest::newRow("-9.3e14") << QVariant(-9.3e14) << OutOfRange;
    QTest::newRow("1e300") << QVariant(1e300) << OutOfRange;
    QTest::newRow("NaN") << QVariant(qQNaN()) << "refused: 金额不是数字！";
    QTest::newRow("inf") << QVariant(qInf()) << OutOfRange;
    QTest::newRow("-inf") << QVariant(-qInf()) << OutOfRange;
    QTest::newRow("integer at the edge") << QVariant(qlonglong(922337203685477)) << "922337203685477";
    QTest::newRow("integer just over") << QVariant(qlonglong(922337203685478)) << OutOfRange;
    QTest::newRow("integer most negative") << QVariant(std::numeric_limits<qlonglong>::min()) << OutOfRange;
    QTest::newRow("unsigned beyond qint64") << QVariant(std::numeric_limits<qulonglong>::max()) << OutOfRange;
    QTest::newRow("text") << QVariant("12.5") << "12.5";
    QTest::newRow("text over max") << QVariant("922337203685477.5808") << OutOfRange;
    QTest::newRow("text nan") << QVariant("nan") << "refused: 金额不是数字！";
    QTest::newRow("text no number") << QVariant("abc") << "refused: “abc”不是金额！";
}

void TestData::moneyFromStored()
{
    QFETCH(QVariant, stored);
    QFETCH(QString, expected);
    QCOMPARE(outcome([&] { return Money::fromVariant(stored); }), expected);
}

void TestData::moneyRange_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("expected");
    QTest::newRow("max") << Max << "+" << "0" << Max;
    QTest::newRow("min") << Min << "+" << "0" << Min;
    QTest::newRow("max + 0.0001") << Max << "+" << "0.0001" << OutOfRange;
    QTest::newRow("min + -0.0001") << Min << "+" << "-0.0001" << OutOfRange;
    QTest::newRow("max + min") << Max << "+" << Min << "0";
    QTest::newRow("min - 0.0001") << Min << "-" << "0.0001" << OutOfRange;
    QTest::newRow("max - -0.0001") << Max << "-" << "-0.0001" << OutOfRange;
    QTest::newRow("max - max") << Max << "-" << Max << "0";
    QTest::newRow("-max") << Max << "neg" << "" << Min;
    QTest::newRow("-min") << Min << "neg" << "" << Max;
    QTest::newRow("price 99999999999999 × 1000") << "99999999999999" << "*" << "1000" << OutOfRange;
    QTest::newRow("typed max × 9999") << "99999999.9999" << "*" << "9999" << "999899999999.0001";
    QTest::newRow("max × -1") << Max << "*" << "-1" << Min;
    QTest::newRow("max × 2") << Max << "*" << "2" << OutOfRange;
    QTest::newRow("0.0001 × most negative") << "0.0001" << "*" << "-9223372036854775808" << OutOfRange;
    QTest::newRow("max rounded") << Max << "round" << "" << OutOfRange;
    QTest::newRow("min rounded") << Min << "round" << "" << OutOfRange;
    QTest::newRow("half below max rounded") << "922337203685476.5" << "round" << "" << "922337203685476";
}

void TestData::moneyRange()
{
    QFETCH(QString, a);
    QFETCH(QString, op);
    QFETCH(QString, b);
    QFETCH(QString, expected);
    const Money x = Money::parse(a).value();
    QCOMPARE(outcome([&] {
                 if (op == "neg")
                     return -x;
                 if (op == "round")
                     return x.roundedToYuan();
                 if (op == "*")
                     return x * b.toLongLong();
                 Money r = x;
                 return op == "+" ? r += Money::parse(b).value() : r -= Money::parse(b).value();
             }),
             expected);
}

void TestData::moneyTyped_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Money::Typed>("typed");
    using T = Money::Typed;
    QTest::newRow("typed max") << "99999999.9999" << T::Amount;
    QTest::newRow("typed min") << "-99999999.9999" << T::Amount;
    QTest::newRow("leading zeros") << "000000001" << T::Amount;
    QTest::newRow("nine digits") << "100000000" << T::TooLarge;
    QTest::newRow("too many digits") << "99999999999999" << T::TooLarge;
    QTest::newRow("negative nine digits") << "-123456789.5" << T::TooLarge;
    QTest::newRow("empty") << "" << T::Partial;
    QTest::newRow("sign") << "-" << T::Partial;
    QTest::newRow("point") << "." << T::Partial;
    QTest::newRow("five decimals") << "1.23456" << T::NotAmount;
    QTest::newRow("letters") << "12a" << T::NotAmount;
    QTest::newRow("exponent") << "1e5" << T::NotAmount;
}

void TestData::moneyTyped()
{
    QFETCH(QString, text);
    QFETCH(Money::Typed, typed);
    QCOMPARE(Money::checkTyped(text), typed);
}

void TestData::moneySqlSum_data()
{
    QTest::addColumn<QString>("amounts"); // the rows, as an SQL list of values
    QTest::addColumn<QVariant>("sum");
    QTest::newRow("ten times 0.1") << "0.1,0.1,0.1,0.1,0.1,0.1,0.1,0.1,0.1,0.1" << QVariant(1.0);
    QTest::newRow("33.83 + 67.67") << "33.83,67.67" << QVariant(101.5);
    QTest::newRow("a difference") << "117000.2-100000.1" << QVariant(17000.1);
    QTest::newRow("negative and half a ten-thousandth") << "-5.5,0.00005" << QVariant(-5.4999);
    QTest::newRow("nulls are left out") << "null,2.5" << QVariant(2.5);
    QTest::newRow("only nulls") << "null" << QVariant();
}

// Summed in SQL as Money sums: no REAL rounding error reaches the total.
void TestData::moneySqlSum()
{
    QFETCH(QString, amounts);
    QFETCH(QVariant, sum);
    TestDb db;
    QString rows;
    for (const QString &a : amounts.split(','))
        rows += (rows.isEmpty() ? "SELECT " : " UNION ALL SELECT ") + a + " AS x";
    const QVariant total = db.scalar("SELECT " + Money::sqlSum("x") + " FROM (" + rows + ")");
    QCOMPARE(total.isNull(), sum.isNull());
    if (!sum.isNull())
        QCOMPARE(total.toDouble(), sum.toDouble()); // exactly the double of the decimal
    // Over no rows: null, as sum() is.
    QVERIFY(db.scalar("SELECT " + Money::sqlSum("cost") + " FROM presentcost").isNull());
}

void TestData::displayFormatter()
{
    QCOMPARE(Fmt::display(QVariant()), QString());
    QCOMPARE(Fmt::display(QVariant(QMetaType(QMetaType::QString))), QString());
    QCOMPARE(Fmt::display(QDate(2024, 5, 1)), QStringLiteral("2024-05-01"));
    QCOMPARE(Fmt::display(QDateTime(QDate(2024, 5, 1), QTime(13, 5, 9))),
             QStringLiteral("2024-05-01 13:05:09"));
    QCOMPARE(Fmt::display(1500000.0), QStringLiteral("1500000"));
    QCOMPARE(Fmt::display(100.5), QStringLiteral("100.5"));
    QCOMPARE(Fmt::display(-30000.0), QStringLiteral("-30000"));
    QCOMPARE(Fmt::display(33.83 + 67.67), QStringLiteral("101.5"));
    QCOMPARE(Fmt::display(qlonglong(42)), QStringLiteral("42"));
    QCOMPARE(Fmt::display(QStringLiteral("张三")), QStringLiteral("张三"));
    // A date field holds the moment its row was added and shows the date.
    QCOMPARE(Fmt::display(QStringLiteral("2024-05-01 13:05:09")), QStringLiteral("2024-05-01"));
    QCOMPARE(Fmt::display(QStringLiteral("2024-05-01")), QStringLiteral("2024-05-01"));
    QCOMPARE(Fmt::display(QStringLiteral("2024-05-01 13:05:09 备注")), QStringLiteral("2024-05-01 13:05:09 备注"));
    QCOMPARE(Fmt::toDate(QStringLiteral("2024-05-01 23:59:59")), QDate(2024, 5, 1));
    QCOMPARE(Fmt::toDateTime(QStringLiteral("2024-05-01")), QDate(2024, 5, 1).startOfDay());
}

void TestData::displayOfExtremes_data()
{
    QTest::addColumn<double>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("9.2e14") << 9.2e14 << "920000000000000";
    QTest::newRow("9.3e14") << 9.3e14 << "930000000000000";
    QTest::newRow("-9.3e14") << -9.3e14 << "-930000000000000";
    QTest::newRow("NaN") << qQNaN() << "nan";
    QTest::newRow("inf") << qInf() << "inf";
    QTest::newRow("-inf") << -qInf() << "-inf";
    QTest::newRow("smallest") << 0.0001 << "0.0001";
    QTest::newRow("smallest negative") << -0.0001 << "-0.0001";
}

// Showing a value never fails, even where Money refuses it.
void TestData::displayOfExtremes()
{
    QFETCH(double, stored);
    QFETCH(QString, shown);
    QCOMPARE(Fmt::display(stored), shown);
}

void TestData::displayAsTheDatabaseGives_data()
{
    QTest::addColumn<QString>("expression"); // computed by the database
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("given");
    QTest::newRow("a quotient") << "80000/1.17" << "68376.0684" << "68376.0683760684";
    QTest::newRow("sums divided") << "(240000.3-500+867.67)/1.17" << "205442.7094" << "205442.709401709";
    QTest::newRow("negative") << "-10000/1.17" << "-8547.0085" << "-8547.00854700855";
    QTest::newRow("a third") << "1.0/3" << "0.3333" << "0.333333333333333";
    QTest::newRow("whole") << "117000/1.17" << "100000" << "100000";
    QTest::newRow("a difference") << "117000.2-500.5+1533.83-100000.1" << "18033.43" << "18033.43";
}

// A figure the database computed shows its 15 significant digits, as the
// database writes it as text; as an amount it shows four places at most.
void TestData::displayAsTheDatabaseGives()
{
    QFETCH(QString, expression);
    QFETCH(QString, amount);
    QFETCH(QString, given);
    TestDb db;
    const QVariant value = db.scalar("SELECT " + expression);
    QCOMPARE(value.typeId(), QMetaType::Double);
    QCOMPARE(Fmt::display(value), amount);
    QCOMPARE(Fmt::display(value, Fmt::StoredDates::DateAlone, Fmt::Reals::AsGiven), given);
    QString text = db.scalar("SELECT CAST(" + expression + " AS TEXT)").toString();
    if (text.endsWith(".0"))
        text.chop(2); // a whole value, written without its point as every number is
    QCOMPARE(given, text);
    // Other values show as ever.
    QCOMPARE(Fmt::display(qlonglong(42), Fmt::StoredDates::DateAlone, Fmt::Reals::AsGiven), QString("42"));
    QCOMPARE(Fmt::display(QVariant(), Fmt::StoredDates::DateAlone, Fmt::Reals::AsGiven), QString());
}

// ---------------------------------------------------------------- Schema

void TestData::schemaHasEveryTableAndField()
{
    TestDb db;
    const QMap<QString, QString> expected{
        {"XTDH", "id YM_S csalecont_s cbuycont_s caddcost_s ccarin_s ccarout_s cprovacc_s ccustacc_s "
                 "cservice_s cpresent_s"},
        {"DHSZ", "csalecontpre cbuycontpre caddcostpre ccarinpre ccaroutpre cprovaccpre ccustaccpre "
                 "cservicepre cpresentpre"},
        {"recycle", "s_code recycle type"},
        {"bgsxx", "gsmc ywmc address areacode phone fax e_mail1 netsite1 bank bankacc taxcode lxr"},
        {"dq", "dqdm dqmc"},
        {"cconttype", "conttypeid conttype"},
        {"subject", "subjectid subjectname subjecttype"},
        {"cartype", "code type"},
        {"model", "code model"},
        {"ccustomer", "customerid custname address zip phone fax e_mail linkman legalperson "
                      "legalpersonid bank accountid taxid cableaddress register_date remarks"},
        {"cprovider", "providerid provname address zip phone fax e_mail linkman legalperson "
                      "legalpersonid bank accountid taxid cableaddress register_date remarks"},
        {"cprovcarmodel", "providerid carmodel"},
        {"cpersonnel", "personnelid name sex birth nation native degree job hiredate hiremode "
                       "idcard_no address phone zip e_mail register_date remarks"},
        {"crights", "personnelid name password rights"},
        {"csalecontract", "salecont_no contract_no conttype customerid custname contract_date "
                          "contractarea arrive_date arrivearea startarea transportmode settlemode "
                          "recorder remarks operator register_date isfinished bodcontract eodcontract"},
        {"cbuycontract", "buycont_no contract_no conttype providerid provname contract_date "
                         "contractarea arrive_date arrivearea startarea transportmode settlemode "
                         "recorder remarks operator register_date isfinished bodcontract eodcontract"},
        {"csalecontdetail", "salecont_no cartype carmodel producingarea unit qty unitprice"},
        {"cbuycontdetail", "buycont_no cartype carmodel producingarea unit qty unitprice"},
        {"carinfor", "carserial_no carmodel color producingarea vin_no chassis_no engine_no customs_no "
                     "qualifier_no commodity_no factory_date storearea carprice remarks carstatus isback"},
        {"carinstock", "carin_no buycontract_no providerid provname carserial_no carintype buyrecorder "
                       "instock_date buyinvoice_no"},
        {"caroutstock", "carout_no salecontract_no customerid custname carserial_no carouttype "
                        "salerecorder sales outstock_date saleinvoice_no saleprice"},
        {"addcost", "addcostid carin_no carserial_no subjectname cost"},
        {"presentcost", "presentid carout_no carserial_no subjectname cost"},
        {"servicecost", "serviceid carserial_no subjectname cost"},
        {"delfcost", ""},
        {"cprovaccount", "paccountid providerid provname provaccttype income outgo account_date in_date "
                         "affirm_date certificate_no invoice_no buycont_no affirm_recorder recorder "
                         "remarks isaffirm ischeck check_date check_recorder isfinished isprepay"},
        {"ccustaccount", "caccountid customerid custname custaccttype income outgo account_date in_date "
                         "affirm_date certificate_no invoice_no salecont_no affirm_recorder recorder "
                         "remarks isaffirm ischeck check_date check_recorder isfinished isprepay"},
        {"salesview", "sales carserial_no chkjg rkjg present service"},
    };
    const QSqlDatabase c = Db::connection();
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const QSqlRecord rec = c.record(it.key());
        QVERIFY2(!rec.isEmpty(), qPrintable("missing table " + it.key()));
        for (const QString &field : it.value().split(' ', Qt::SkipEmptyParts))
            QVERIFY2(rec.indexOf(field) >= 0, qPrintable(it.key() + "." + field));
    }
    // Names spelled in other cases by the windows are the same field.
    QVERIFY(db.count("cprovider", "Fax IS NULL") == 0);
    db.insert("carinfor", {{"carserial_No", "C1"}});
    QCOMPARE(db.count("carinfor", "carserial_no = 'c1'"), 1);
    // A new document row is stored with only its number.
    db.insert("cprovaccount", {{"paccountid", "P1"}});
    db.insert("csalecontract", {{"salecont_no", "S1"}});
    QCOMPARE(db.scalar("SELECT isaffirm + ischeck FROM cprovaccount").toInt(), 0);
}

void TestData::schemaInitialRows()
{
    Clock::setNow(QDateTime(QDate(2024, 5, 20), QTime(9, 0)));
    TestDb db;
    QCOMPARE(db.count("XTDH"), 1);
    QCOMPARE(db.scalar("SELECT id || '/' || YM_S || '/' || (csalecont_s + cbuycont_s + caddcost_s + "
                       "ccarin_s + ccarout_s + cprovacc_s + ccustacc_s + cservice_s + cpresent_s) "
                       "FROM XTDH")
                 .toString(),
             QStringLiteral("cms001/202405/0"));
    QCOMPARE(db.count("DHSZ"), 1);
    QCOMPARE(db.scalar("SELECT csalecontpre || cbuycontpre || caddcostpre || ccarinpre || ccaroutpre || "
                       "cprovaccpre || ccustaccpre || cservicepre || cpresentpre FROM DHSZ")
                 .toString(),
             QStringLiteral("SSBSASRSCSPSKSVSZS"));
    QCOMPARE(db.scalar("SELECT Name FROM cpersonnel WHERE personnelid = 'admin'").toString(),
             QStringLiteral("管理员"));
    QCOMPARE(db.scalar("SELECT password FROM crights WHERE personnelid = 'admin'").toString(), QString());
    QCOMPARE(db.scalar("SELECT rights FROM crights WHERE personnelid = 'admin'").toString(),
             QString(35, '1') + QString(5, '0'));
    QCOMPARE(db.count("recycle"), 0);
    QCOMPARE(db.count("cprovider") + db.count("carinfor") + db.count("ccustaccount"), 0);
}

void TestData::salesviewCountsEachSoldCarOnce()
{
    TestDb db;
    // C1: sold, returned by its customer, sold again (current sale by 李四).
    db.insert("carinfor", {{"carserial_no", "C1"}, {"carprice", 100000.0}, {"carstatus", codeValue(CarStatus::Sold)}});
    db.insert("caroutstock", {{"carout_no", "CS1"}, {"carserial_no", "C1"}, {"sales", "张三"},
                              {"saleprice", 110000.0}, {"outstock_date", "2024-05-01 10:00:00"}});
    db.insert("caroutstock", {{"carout_no", "CS2"}, {"carserial_no", "C1"}, {"sales", "李四"},
                              {"saleprice", 105000.0}, {"outstock_date", "2024-05-09 10:00:00"}});
    db.insert("presentcost", {{"presentid", "Z1"}, {"carserial_no", "C1"}, {"cost", 300.5}});
    db.insert("presentcost", {{"presentid", "Z2"}, {"carserial_no", "C1"}, {"cost", 200.0}});
    db.insert("servicecost", {{"serviceid", "V1"}, {"carserial_no", "C1"}, {"cost", 1500.0}});
    // C2: sold, nothing added. C3: in stock. C4: returned by its customer.
    db.insert("carinfor", {{"carserial_no", "C2"}, {"carprice", 50000.0}, {"carstatus", codeValue(CarStatus::Sold)}});
    db.insert("caroutstock", {{"carout_no", "CS3"}, {"carserial_no", "C2"}, {"sales", "张三"},
                              {"saleprice", 60000.0}, {"outstock_date", "2024-05-03"}});
    db.insert("carinfor", {{"carserial_no", "C3"}, {"carprice", 1.0}, {"carstatus", codeValue(CarStatus::InStock)}});
    db.insert("carinfor", {{"carserial_no", "C4"}, {"carprice", 1.0}, {"carstatus", codeValue(CarStatus::ReturnedByCustomer)}});
    db.insert("caroutstock", {{"carout_no", "CS4"}, {"carserial_no", "C4"}, {"saleprice", 2.0}});

    QSqlQuery q = Db::exec("SELECT sales, carserial_no, chkjg, rkjg, present, service FROM salesview "
                           "ORDER BY carserial_no");
    QStringList rows;
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < 6; ++i)
            cells << Fmt::display(q.value(i));
        rows << cells.join('|');
    }
    QCOMPARE(rows, QStringList({"李四|C1|105000|100000|500.5|1500", "张三|C2|60000|50000||"}));
}

void TestData::missingFileIsCreated()
{
    TestDb db(false);
    QVERIFY(!QFile::exists("huoyun.mdb"));
    db.startDataModule();
    QVERIFY(db.dm->isConnected());
    QVERIFY(db.dm->createdDatabase());
    QCOMPARE(db.dm->openError(), QString());
    QCOMPARE(db.dm->databasePath(), QDir::current().absoluteFilePath("huoyun.mdb"));
    QVERIFY(db.dm->trsk->isActive());
    QVERIFY(db.dm->trsk->locate("personnelid", "ADMIN"));
    // The data module shows nothing itself: the start-up code announces it.
    QVERIFY(db.messages.messages.isEmpty());

    // Opened again, it is used as it is: not new, data kept.
    db.exec("INSERT INTO dq (dqdm, dqmc) VALUES ('01', '华东')");
    db.stopDataModule();
    db.dm = std::make_unique<TfrmDMcarsales>();
    QVERIFY(!db.dm->createdDatabase());
    QCOMPARE(db.count("dq"), 1);
}

void TestData::fileThatIsNotADatabase()
{
    TestDb db(false);
    QFile f("huoyun.mdb");
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();

    db.dm = std::make_unique<TfrmDMcarsales>();
    QVERIFY(!db.dm->isConnected());
    QVERIFY(!db.dm->createdDatabase());
    QVERIFY2(db.dm->openError().contains("不是数据库文件"), qPrintable(db.dm->openError()));
    QVERIFY(db.messages.messages.isEmpty());
    QVERIFY(!db.dm->trsk->isActive());
    QCOMPARE(db.dm->operatorName(), QString());

    // Later actions fail with the database's message, and nothing crashes.
    QVariant v;
    QVERIFY(failure([&] { db.dm->QueryFirstRow("SELECT count(*) FROM dq", {&v}); })
                .contains("not a database"));
    QVERIFY(failure([&] {
                db.dm->NextDocumentNumber("csalecontpre", "csalecont_s", "ss", "csalecontract",
                                          "salecont_no");
            }).contains("not a database"));
    QCOMPARE(f.size(), 4096); // the file is left as it was
}

void TestData::databaseOfAnotherProgram_data()
{
    QTest::addColumn<QStringList>("statements"); // what the other program left in the file
    QTest::addColumn<bool>("used");               // taken as this system's (made anew when empty)
    QTest::newRow("another program's tables")
        << QStringList{"CREATE TABLE notes (id INTEGER PRIMARY KEY, body TEXT)",
                       "INSERT INTO notes (body) VALUES ('keep me')"}
        << false;
    QTest::newRow("another program's, in WAL")
        << QStringList{"PRAGMA journal_mode = WAL", "CREATE TABLE notes (id INTEGER PRIMARY KEY, body TEXT)",
                       "INSERT INTO notes (body) VALUES ('keep me')"}
        << false;
    QTest::newRow("an empty database") << QStringList{"PRAGMA user_version = 7"} << true;
}

void TestData::databaseOfAnotherProgram()
{
    QFETCH(QStringList, statements);
    QFETCH(bool, used);
    TestDb db(false);
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
        other.setDatabaseName("huoyun.mdb");
        QVERIFY(other.open());
        for (const QString &sql : statements)
            QVERIFY(QSqlQuery(other).exec(sql));
        other.close();
    }
    QSqlDatabase::removeDatabase("other");
    QFile f("huoyun.mdb");
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();

    db.dm = std::make_unique<TfrmDMcarsales>();
    QCOMPARE(db.dm->isConnected(), used);
    if (used) {
        QVERIFY(db.dm->createdDatabase());
        QVERIFY(db.dm->trsk->locate("personnelid", "admin"));
        return;
    }
    QVERIFY2(db.dm->openError().contains("不是本系统的数据库"), qPrintable(db.dm->openError()));
    QVERIFY(!db.dm->trsk->isActive());
    // Later actions fail with a message and write nothing.
    QVERIFY(!failure([&] {
                db.dm->NextDocumentNumber("csalecontpre", "csalecont_s", "ss", "csalecontract",
                                          "salecont_no");
            }).isEmpty());
    QVERIFY(!failure([&] { Db::exec("CREATE TABLE dq (dqdm TEXT)"); }).isEmpty());
    db.stopDataModule();
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll() == before);
    QCOMPARE(QDir::current().entryList(QDir::Files), QStringList{"huoyun.mdb"});
}

void TestData::rightsFollowPersonnel()
{
    TestDb db;
    db.insert("cpersonnel", {{"personnelid", "p01"}, {"Name", "王五"}});
    db.insert("crights", {{"personnelid", "P01"}, {"name", "王五"}, {"rights", "0101"}});
    db.dm->trsk->refresh();
    QVERIFY(db.dm->trsk->locate("personnelid", "p01"));
    QCOMPARE(db.dm->operatorName(), QStringLiteral("王五"));
    QCOMPARE(db.dm->tright->recordCount(), 1);
    QCOMPARE(db.dm->tright->value("rights").toString(), QStringLiteral("0101"));
    QVERIFY(db.dm->trsk->locate("personnelid", "admin"));
    QCOMPARE(db.dm->tright->value("rights").toString(), QString(35, '1') + QString(5, '0'));
}

void TestData::queryFirstRow()
{
    TestDb db;
    QVariant slot = QStringLiteral("untouched");
    QVERIFY(!db.dm->QueryFirstRow("SELECT dqmc FROM dq", {&slot}));
    QCOMPARE(slot.toString(), QStringLiteral("untouched"));

    QVERIFY(db.dm->QueryFirstRow("SELECT min(recycle) FROM recycle", {&slot}));
    QVERIFY(slot.isNull());

    // Extra slots stay as they were; a skipped slot is fine.
    QVariant a, b, c = 7;
    QVERIFY(db.dm->QueryFirstRow("SELECT 'x', 'y'", {&a, nullptr, &c}));
    QCOMPARE(a.toString(), QStringLiteral("x"));
    QCOMPARE(c.toInt(), 7);
    Q_UNUSED(b);

    QVERIFY_THROWS_EXCEPTION(DbError, db.dm->QueryFirstRow("SELECT nosuch FROM dq", {&a}));

    // The screen's hourglass is shown for the statement and taken back, also on failure.
    QList<bool> shown;
    db.dm->hourglass = [&](bool on) { shown << on; };
    db.dm->QueryFirstRow("SELECT 1", {&a});
    QVERIFY(!failure([&] { db.dm->QueryFirstRow("SELECT nosuch FROM dq", {&a}); }).isEmpty());
    QCOMPARE(shown, QList<bool>({true, false, true, false}));
}

void TestData::refusedKeyIsNamed_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("message"); // empty: the database's own words
    QTest::newRow("code taken, in other case")
        << "INSERT INTO dq (dqdm) VALUES ('a1')" << int(Refusal::Taken) << "dq"
        << QStringList{"dqdm"} << "dqdm已存在，不能重复!";
    QTest::newRow("no code")
        << "INSERT INTO ccustomer (custname) VALUES ('x')" << int(Refusal::Missing) << "ccustomer"
        << QStringList{"customerid"} << "请输入customerid!";
    QTest::newRow("code emptied")
        << "UPDATE dq SET dqdm = NULL" << int(Refusal::Missing) << "dq" << QStringList{"dqdm"}
        << "请输入dqdm!";
    QTest::newRow("two fields taken together")
        << "INSERT INTO recycle (type, recycle) VALUES ('ss', 7)" << int(Refusal::Taken)
        << "recycle" << QStringList{"type", "recycle"} << "type、recycle已存在，不能重复!";
    QTest::newRow("no such column") << "UPDATE dq SET nosuch = 1" << int(Refusal::None) << ""
                                    << QStringList{} << "";
}

// The database's refusal of a key is read from its error: the kind, the table
// and the fields, so that the screen can name them by their captions.
void TestData::refusedKeyIsNamed()
{
    QFETCH(QString, sql);
    QFETCH(int, kind);
    QFETCH(QString, table);
    QFETCH(QStringList, fields);
    QFETCH(QString, message);
    TestDb db;
    db.insert("dq", {{"dqdm", "A1"}});
    db.insert("recycle", {{"type", "SS"}, {"recycle", 7}});
    try {
        Db::exec(sql);
        QFAIL("not refused");
    } catch (const DbError &e) {
        QCOMPARE(int(e.refusal().kind), kind);
        QCOMPARE(e.refusal().table, table);
        QCOMPARE(e.refusal().fields, fields);
        if (message.isEmpty())
            QVERIFY2(e.message().contains("nosuch"), qPrintable(e.message()));
        else
            QCOMPARE(e.message(), message);
    }
    QCOMPARE(db.count("dq"), 1);
}

void TestData::readerNeverBlocksASave_data()
{
    QTest::addColumn<bool>("programReads");
    QTest::newRow("a list open in the program, another desk saves") << true;
    QTest::newRow("a list open on another desk, the program saves") << false;
}

void TestData::readerNeverBlocksASave()
{
    QFETCH(bool, programReads);
    TestDb db;
    {
        Db::Transaction t;
        for (int i = 0; i < 500; ++i)
            db.insert("dq", {{"dqdm", QString::number(1000 + i)}, {"dqmc", "华东"}});
        t.commit();
    }
    {
        // The other desk: a second program on the same file, which waits for no lock.
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "otherDesk");
        other.setDatabaseName(QDir::current().absoluteFilePath("huoyun.mdb"));
        other.setConnectOptions("QSQLITE_BUSY_TIMEOUT=0");
        QVERIFY(other.open());

        QSqlQuery reader(programReads ? Db::connection() : other);
        reader.setForwardOnly(true);
        QVERIFY(reader.exec("SELECT dqdm FROM dq ORDER BY dqdm"));
        int read = 0;
        while (read < 100 && reader.next())
            ++read;
        QCOMPARE(read, 100);

        if (programReads) {
            QSqlQuery save(other);
            for (const char *sql : {"BEGIN IMMEDIATE", "INSERT INTO dq (dqdm, dqmc) VALUES ('9', '新区')", "COMMIT"})
                QVERIFY2(save.exec(sql), qPrintable(save.lastError().text()));
        } else {
            try {
                Db::Transaction t;
                db.insert("dq", {{"dqdm", "9"}, {"dqmc", "新区"}});
                t.commit();
            } catch (const AppError &e) {
                QFAIL(qPrintable(e.message()));
            }
        }

        // The list reads on to its end as it was when it opened.
        while (reader.next())
            ++read;
        QVERIFY2(!reader.lastError().isValid(), qPrintable(reader.lastError().text()));
        QCOMPARE(read, 500);
        reader.finish();
        QSqlQuery after(other);
        QVERIFY(after.exec("SELECT count(*) FROM dq") && after.next());
        QCOMPARE(after.value(0).toInt(), 501);
    }
    QSqlDatabase::removeDatabase("otherDesk");
    QCOMPARE(db.count("dq"), 501);
}

namespace {
QStringList indexNames()
{
    QStringList names;
    QSqlQuery q = Db::exec("SELECT name FROM sqlite_master WHERE type = 'index' AND name NOT LIKE 'sqlite%' "
                           "ORDER BY name");
    while (q.next())
        names << q.value(0).toString();
    return names;
}
} // namespace

void TestData::olderFileGetsTheIndexesAndWal()
{
    TestDb db;
    QCOMPARE(db.scalar("PRAGMA journal_mode").toString(), QStringLiteral("wal"));
    const QStringList indexes = indexNames();
    QVERIFY(indexes.contains("ccustaccount_isprepay_customerid_caccountid"));
    db.insert("dq", {{"dqdm", "01"}, {"dqmc", "华东"}});
    db.stopDataModule();

    // A file as an earlier version left it: rollback journal, none of the
    // indexes, no salesview, no version.
    {
        QSqlDatabase old = QSqlDatabase::addDatabase("QSQLITE", "olderVersion");
        old.setDatabaseName(QDir::current().absoluteFilePath("huoyun.mdb"));
        QVERIFY(old.open());
        QSqlQuery q(old);
        QVERIFY(q.exec("PRAGMA journal_mode = DELETE"));
        for (const QString &name : indexes)
            QVERIFY2(q.exec("DROP INDEX " + name), qPrintable(q.lastError().text()));
        QVERIFY(q.exec("DROP VIEW salesview"));
        // An index that a wider one replaced since.
        QVERIFY(q.exec("CREATE INDEX carinstock_instock_date ON carinstock(instock_date)"));
        QVERIFY(q.exec("CREATE INDEX ccustaccount_isprepay_customerid ON ccustaccount(isprepay, customerid)"));
        QVERIFY(q.exec("PRAGMA user_version = 0"));
        old.close();
    }
    QSqlDatabase::removeDatabase("olderVersion");

    db.startDataModule();
    QVERIFY(db.dm->isConnected());
    QCOMPARE(indexNames(), indexes);
    QCOMPARE(db.scalar("PRAGMA journal_mode").toString(), QStringLiteral("wal"));
    QCOMPARE(db.scalar("PRAGMA user_version").toInt(), Schema::Version);
    QCOMPARE(db.count("salesview"), 0);
    QCOMPARE(db.count("dq"), 1);

    // Opened again: nothing left to do, nothing changed.
    db.stopDataModule();
    db.startDataModule();
    QCOMPARE(indexNames(), indexes);
}

void TestData::statementsUseTheirIndexes_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("plan");
    QTest::newRow("one customer's payments")
            << "SELECT * FROM ccustaccount WHERE isprepay=0 AND customerid LIKE 'K1%' ESCAPE '\\'"
            << QStringList{"ccustaccount_isprepay_customerid_caccountid (isprepay=? AND customerid>? AND customerid<?)"};
    QTest::newRow("one customer's charges by name")
            << "SELECT sum(outgo) FROM ccustaccount WHERE isprepay=2 AND isaffirm AND custname LIKE '北京%' ESCAPE '\\'"
            << QStringList{"ccustaccount_isprepay_custname (isprepay=? AND custname>? AND custname<?)"};
    QTest::newRow("one provider's payments")
            << "SELECT sum(outgo) FROM cprovaccount WHERE isprepay=0 AND providerid LIKE 'G1%' ESCAPE '\\'"
            << QStringList{"cprovaccount_isprepay_providerid_paccountid (isprepay=? AND providerid>? AND providerid<?)"};
    QTest::newRow("providers' payments by name")
            << "SELECT * FROM cprovaccount WHERE isprepay=0 AND provname LIKE 'x%' ESCAPE '\\'"
            << QStringList{"cprovaccount_isprepay_provname (isprepay=? AND provname>? AND provname<?)"};
    for (const auto &[table, key] : {std::pair{"ccustaccount", "caccountid"}, {"cprovaccount", "paccountid"}}) {
        // The account queries: the first page of payments in number order; the
        // count and sums of a month of entries by their date as stored.
        QTest::addRow("%s: payments by number", table)
                << QString("SELECT * FROM (select *, case when ischeck then 1 else 0 end as checked from %1"
                           " where isprepay=0) ORDER BY %2 LIMIT 200").arg(table, key)
                << QStringList{QString("%1_isprepay_%2 (isprepay=?)").arg(table, key)};
        // The reconciliation: one partner's open charges, by number, unsorted.
        const QString partner = QString(key) == "caccountid" ? "customerid" : "providerid";
        QTest::addRow("%s: one partner's charges by number", table)
                << QString("SELECT * FROM (select * from %1 where isprepay=2 and isaffirm and not ischeck"
                           " and %3='K1') ORDER BY %2 LIMIT 200").arg(table, key, partner)
                << QStringList{QString("%1_isprepay_%3_%2 (isprepay=? AND %3=?)").arg(table, key, partner)};
        const QStringList entryDate{"affirm_date", "account_date", "in_date"};
        QueryConditions month(QueryConditions::Join::And);
        month.fromDate(entryDate, QDate(2024, 5, 1)).toDate(entryDate, QDate(2024, 5, 31));
        QTest::addRow("%s: charges of a month", table)
                << month.apply(QString("SELECT count(*), sum(outgo) FROM %1 WHERE isprepay=2 AND isaffirm").arg(table))
                << QStringList{QString("%1_isprepay_entry_date (isprepay=? AND <expr>>? AND <expr><?)").arg(table)};
    }
    QTest::newRow("cars in stock") << "SELECT count(1) FROM carinfor WHERE carstatus=0 OR carstatus=3"
                                   << QStringList{"carinfor_in_stock"};
    QTest::newRow("cars returned to their provider")
            << "SELECT * FROM carinstock, carinfor WHERE carinstock.carserial_no = carinfor.carserial_no "
               "AND carstatus=2"
            << QStringList{"carinfor_returned"};
    using namespace SalesStatistics;
    QTest::newRow("cars received") << received({}, {}).sql
                                   << QStringList{"COVERING INDEX carinfor_kept",
                                                  "COVERING INDEX carinstock_carserial_no"};
    QTest::newRow("cars received in a period")
            << received(QDate(2024, 1, 1), QDate(2024, 12, 31)).sql
            << QStringList{"COVERING INDEX carinstock_instock_date_serial", "COVERING INDEX carinfor_kept"};
    QTest::newRow("cars sold") << sold({}, {}).sql
                               << QStringList{"SCAN c USING COVERING INDEX carinfor_sold",
                                              "INTEGER PRIMARY KEY (rowid=?)"};
    QTest::newRow("cars sold in a period")
            << sold(QDate(2024, 1, 1), QDate(2024, 12, 31)).sql
            << QStringList{"caroutstock_outstock_date (outstock_date>? AND outstock_date<?)",
                           "COVERING INDEX carinfor_sold (carserial_no=? AND carstatus=?)"};
    QTest::newRow("tax list counted")
            << "SELECT count(*) FROM (" + taxList({}, {}, Names::Grid).sql + ")"
            << QStringList{"COVERING INDEX carinfor_sold"};
    // The index of the sold cars leaves other lists of sold cars their order.
    QTest::newRow("sold cars by sale date")
            << "SELECT * FROM (SELECT caroutstock.*, carinfor.* FROM caroutstock, carinfor"
               " WHERE caroutstock.carserial_no = carinfor.carserial_no AND carstatus=1)"
               " ORDER BY outstock_date LIMIT 200"
            << QStringList{"SCAN caroutstock USING INDEX caroutstock_outstock_date"};
    QTest::newRow("salesview") << "SELECT * FROM salesview"
                               << QStringList{"COVERING INDEX caroutstock_carserial_no_latest",
                                              "COVERING INDEX presentcost_carserial_no_cost",
                                              "COVERING INDEX servicecost_carserial_no_cost"};
}

// The planner's choice on a file without statistics, as on a dealer's own.
void TestData::statementsUseTheirIndexes()
{
    QFETCH(QString, sql);
    QFETCH(QStringList, plan);
    TestDb db;
    QSqlQuery q = Db::exec("EXPLAIN QUERY PLAN " + sql);
    QString text;
    while (q.next())
        text += q.value(3).toString() + '\n';
    for (const QString &step : plan)
        QVERIFY2(text.contains(step), qPrintable(text));
    QVERIFY2(!text.contains("TEMP B-TREE"), qPrintable(text));
}

// ---------------------------------------------------------------- Numbering

void TestData::nextNumber_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("counter");
    QTest::addColumn<QList<int>>("pool");        // serials given back under "ss"
    QTest::addColumn<QStringList>("present");    // numbers already in csalecontract
    QTest::addColumn<QString>("drawType");       // type code passed to the draw
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("counterAfter");
    QTest::addColumn<QList<int>>("poolAfter");

    QTest::newRow("counter 41") << "XS" << 41 << QList<int>{} << QStringList{} << "ss"
                                << "XS2024050042" << 42 << QList<int>{};
    QTest::newRow("smallest recycled first") << "XS" << 41 << QList<int>{7, 3} << QStringList{}
                                             << "ss" << "XS2024050003" << 41 << QList<int>{7};
    QTest::newRow("number in use is skipped")
        << "XS" << 41 << QList<int>{} << QStringList{"XS2024050042", "XS2024050043"} << "ss"
        << "XS2024050044" << 44 << QList<int>{};
    QTest::newRow("recycled in use, then counter")
        << "XS" << 0 << QList<int>{5} << QStringList{"XS2024050005"} << "ss" << "XS2024050001"
        << 1 << QList<int>{};
    QTest::newRow("counter 10000 wraps to 0000") << "XS" << 9999 << QList<int>{} << QStringList{}
                                                 << "ss" << "XS2024050000" << 10000 << QList<int>{};
    QTest::newRow("serial over four digits keeps the last four")
        << "XS" << 12344 << QList<int>{} << QStringList{} << "ss" << "XS2024052345" << 12345
        << QList<int>{};
    QTest::newRow("empty prefix") << "" << 6 << QList<int>{} << QStringList{} << "ss"
                                  << "2024050007" << 7 << QList<int>{};
    QTest::newRow("type code without regard to case")
        << "XS" << 41 << QList<int>{9} << QStringList{} << "SS" << "XS2024050009" << 41
        << QList<int>{};
}

void TestData::nextNumber()
{
    QFETCH(QString, prefix);
    QFETCH(int, counter);
    QFETCH(QList<int>, pool);
    QFETCH(QStringList, present);
    QFETCH(QString, drawType);
    QFETCH(QString, number);
    QFETCH(int, counterAfter);
    QFETCH(QList<int>, poolAfter);

    TestDb db;
    db.exec("UPDATE XTDH SET YM_S = '202405', csalecont_s = :c", {{":c", counter}});
    db.exec("UPDATE DHSZ SET csalecontpre = :p", {{":p", prefix}});
    for (int serial : pool)
        QCOMPARE(db.dm->RecycleDocumentNumber(QString("XS202405%1").arg(serial, 4, 10, QChar('0')),
                                              "ss"),
                 false);
    for (const QString &n : present)
        db.insert("csalecontract", {{"salecont_no", n}});

    const QString got = db.dm->NextDocumentNumber("csalecontpre", "csalecont_s", drawType,
                                                  "csalecontract", "salecont_no");
    QCOMPARE(got, number);
    QCOMPARE(db.scalar("SELECT csalecont_s FROM XTDH").toInt(), counterAfter);
    QList<int> left;
    QSqlQuery q = Db::exec("SELECT recycle FROM recycle ORDER BY recycle");
    while (q.next())
        left << q.value(0).toInt();
    QCOMPARE(left, poolAfter);
    QCOMPARE(db.count("csalecontract"), int(present.size())); // the draw inserts nothing
}

void TestData::recycleTwiceStoresOnce()
{
    TestDb db;
    QCOMPARE(db.dm->RecycleDocumentNumber("XS2024050042", "ss"), false);
    QCOMPARE(db.dm->RecycleDocumentNumber("XS2024050042", "ss"), true);
    QCOMPARE(db.dm->RecycleDocumentNumber("XS2024050042", "SS"), true);
    QCOMPARE(db.count("recycle"), 1);
    QCOMPARE(db.scalar("SELECT s_code || '/' || recycle || '/' || type FROM recycle").toString(),
             QStringLiteral("cmsp/42/ss"));

    // Given back as "KS", drawn by the customer-ledger numbering ("ks").
    QCOMPARE(db.dm->RecycleDocumentNumber("KS2024050017", "KS"), false);
    db.exec("UPDATE XTDH SET YM_S = '202405'");
    QCOMPARE(db.dm->NextDocumentNumber("ccustaccpre", "ccustacc_s", "ks", "ccustaccount", "caccountid"),
             QStringLiteral("KS2024050017"));
    QCOMPARE(db.scalar("SELECT ccustacc_s FROM XTDH").toInt(), 0);

    // A number whose last four characters are not a number gives back 0.
    QCOMPARE(db.dm->RecycleDocumentNumber("XS20240A", "rs"), false);
    QCOMPARE(db.scalar("SELECT recycle FROM recycle WHERE type = 'rs'").toInt(), 0);
}

void TestData::drawRolledBackWithCallerConsumesNothing()
{
    TestDb db;
    db.dm->RecycleDocumentNumber("CS2024050003", "cs");
    {
        Db::Transaction caller;
        const QString n = db.dm->NextDocumentNumber("ccaroutpre", "ccarout_s", "cs", "caroutstock",
                                                    "carout_no");
        QVERIFY(n.endsWith("0003"));
        const QString m = db.dm->NextDocumentNumber("ccaroutpre", "ccarout_s", "cs", "caroutstock",
                                                    "carout_no");
        QVERIFY(m.endsWith("0001"));
        db.insert("caroutstock", {{"carout_no", n}});
        // the caller fails before commit
    }
    QVERIFY(!Db::Transaction::active());
    QCOMPARE(db.count("caroutstock"), 0);
    QCOMPARE(db.scalar("SELECT ccarout_s FROM XTDH").toInt(), 0);
    QCOMPARE(db.count("recycle", "type = 'cs' AND recycle = 3"), 1);

    // The same draw committed by its caller consumes its serial.
    {
        Db::Transaction caller;
        db.dm->NextDocumentNumber("ccaroutpre", "ccarout_s", "cs", "caroutstock", "carout_no");
        caller.commit();
    }
    QCOMPARE(db.count("recycle"), 0);
}

void TestData::fullPoolFailsAndStoresNothing()
{
    TestDb db;
    db.exec("UPDATE XTDH SET YM_S = '202405', ccarin_s = 500");
    db.exec("UPDATE DHSZ SET ccarinpre = 'RS'");
    {
        Db::Transaction t;
        for (int i = 0; i < 10000; ++i)
            db.insert("carinstock", {{"carin_no", QString("RS202405%1").arg(i, 4, 10, QChar('0'))}});
        t.commit();
    }
    db.dm->RecycleDocumentNumber("RS2024050007", "rs");

    QString got = "none";
    QVERIFY(failure([&] {
        got = db.dm->NextDocumentNumber("ccarinpre", "ccarin_s", "rs", "carinstock", "carin_no");
    }).contains("RS202405"));
    QCOMPARE(got, QStringLiteral("none"));
    QCOMPARE(db.scalar("SELECT ccarin_s FROM XTDH").toInt(), 500);
    QCOMPARE(db.count("recycle", "type = 'rs'"), 1);
    QCOMPARE(db.count("carinstock"), 10000);

    // One number freed: the next draw finds it.
    db.exec("DELETE FROM carinstock WHERE carin_no = 'RS2024050123'");
    QCOMPARE(db.dm->NextDocumentNumber("ccarinpre", "ccarin_s", "rs", "carinstock", "carin_no"),
             QStringLiteral("RS2024050123"));
}

// ---------------------------------------------------------------- Conditions

void TestData::conditions_data()
{
    QTest::addColumn<QString>("no");     // prefix on contract_no
    QTest::addColumn<QVariant>("state"); // equality on isfinished
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("rows"); // salecont_no selected, in key order

    const QVariant none;
    QTest::newRow("nothing filled: every row")
        << "" << none << QDate() << QDate() << QStringList{"1", "2", "3", "4", "5", "6", "7", "8"};
    QTest::newRow("prefix without regard to case") << "ab" << none << QDate() << QDate()
                                                   << QStringList{"1", "2"};
    QTest::newRow("apostrophe is literal") << "O'B" << none << QDate() << QDate()
                                           << QStringList{"4"};
    QTest::newRow("percent is literal") << "50%" << none << QDate() << QDate() << QStringList{"5"};
    QTest::newRow("underscore is literal") << "a_" << none << QDate() << QDate() << QStringList{"6"};
    QTest::newRow("star is literal") << "x*" << none << QDate() << QDate() << QStringList{"7"};
    QTest::newRow("equality") << "" << QVariant(1) << QDate() << QDate() << QStringList{"2", "4"};
    QTest::newRow("one whole day") << "" << none << QDate(2024, 5, 1) << QDate(2024, 5, 1)
                                   << QStringList{"1", "2", "3"};
    QTest::newRow("from only") << "" << none << QDate(2024, 5, 2) << QDate()
                               << QStringList{"4", "5", "6", "7", "8"};
    QTest::newRow("to only") << "" << none << QDate() << QDate(2024, 4, 30) << QStringList{};
    QTest::newRow("all together") << "AB" << QVariant(1) << QDate(2024, 5, 1) << QDate(2024, 5, 1)
                                  << QStringList{"2"};
}

void TestData::conditions()
{
    QFETCH(QString, no);
    QFETCH(QVariant, state);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, rows);

    TestDb db;
    const QList<QStringList> fixture{
        {"1", "abc", "0", "2024-05-01 00:00:00"}, {"2", "AB1", "1", "2024-05-01 23:59:59"},
        {"3", "xab", "0", "2024-05-01"},          {"4", "O'Brien", "1", "2024-05-02 00:00:00"},
        {"5", "50%off", "2", "2024-05-03"},       {"6", "a_b", "0", "2024-06-01"},
        {"7", "x*y", "0", "2024-06-02"},          {"8", "axb", "0", "2024-06-03"},
    };
    for (const auto &r : fixture)
        db.insert("csalecontract", {{"salecont_no", r[0]}, {"contract_no", r[1]},
                                    {"isfinished", r[2].toInt()}, {"contract_date", r[3]}});

    QueryConditions c;
    c.prefix("contract_no", no).equals("isfinished", state).fromDate("contract_date", from)
        .toDate("contract_date", to);
    QSqlQuery q = Db::exec(c.apply("SELECT salecont_no FROM csalecontract") + " ORDER BY salecont_no",
                           c.binds());
    QStringList got;
    while (q.next())
        got << q.value(0).toString();
    QCOMPARE(got, rows);

    // The same conditions on a data set, which a query window opens.
    DataSet list;
    list.setSql("SELECT 1");
    list.open();
    c.setOn(&list, "SELECT salecont_no FROM csalecontract", " ORDER BY salecont_no");
    QVERIFY(!list.isActive());
    list.open();
    QStringList listed;
    for (int r = 0; r < list.recordCount(); ++r)
        listed << list.valueAt(r, "salecont_no").toString();
    QCOMPARE(listed, rows);
}

void TestData::conditionJoining()
{
    QueryConditions none;
    QCOMPARE(none.apply("select * from t"), QStringLiteral("select * from t"));

    QueryConditions where;
    QCOMPARE(where.leadingColumn(), QString());
    where.prefix("c", "").prefix("a", "x").equals("b", 1);
    QCOMPARE(where.text(), QStringLiteral(" where a like :qc0 escape '\\' and b=:qc1"));
    QCOMPARE(where.leadingColumn(), QStringLiteral("a")); // the first filter given
    QCOMPARE(where.binds().value(":qc0").toString(), QStringLiteral("x%"));

    QueryConditions andOnly(QueryConditions::Join::And);
    andOnly.fromDate("d", QDate(2024, 5, 1)).toDate("d", QDate(2024, 5, 31));
    QCOMPARE(andOnly.text(), QStringLiteral(" and d>=:qc0 and d<:qc1"));
    QCOMPARE(andOnly.binds().value(":qc1").toString(), QStringLiteral("2024-06-01"));
    QueryConditions several;
    several.toDate(QStringList{"d", "e"}, QDate(2024, 5, 31)).prefix("a", "x");
    QCOMPARE(several.leadingColumn(), QStringLiteral("coalesce(d, e)"));

    QCOMPARE(QueryConditions::likePrefix("50%_\\"), QStringLiteral("50\\%\\_\\\\%"));

    QueryConditions through;
    through.prefixIn("providerid", "select providerid from cprovcarmodel", "carmodel", "")
        .prefixIn("providerid", "select providerid from cprovcarmodel", "carmodel", "O'_");
    QCOMPARE(through.text(), QStringLiteral(" where providerid in (select providerid from cprovcarmodel"
                                            " where carmodel like :qc0 escape '\\')"));
    QCOMPARE(through.binds().value(":qc0").toString(), QStringLiteral("O'\\_%"));
}

void TestData::dateOfSeveralFields_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("May") << QDate(2024, 5, 1) << QDate(2024, 5, 31) << QStringList{"a", "b", "c"};
    QTest::newRow("June") << QDate(2024, 6, 1) << QDate(2024, 6, 30) << QStringList{"d"};
    QTest::newRow("from only") << QDate(2024, 5, 31) << QDate() << QStringList{"c", "d"};
    QTest::newRow("to only, its whole day") << QDate() << QDate(2024, 5, 2) << QStringList{"a", "b"};
}

// A row's date is the first of the fields that holds one: a later field
// counts only where the earlier ones are empty.
void TestData::dateOfSeveralFields()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, rows);
    TestDb db;
    const QVariant none;
    const QList<QVariantList> fixture{
        {"a", "2024-05-01", "2023-01-01", "2023-01-01"},
        {"b", none, "2024-05-02 18:00:00", "2023-01-01"},
        {"c", none, none, "2024-05-31"},
        {"d", "2024-06-01", "2024-05-02", none},
        {"e", none, none, none},
    };
    for (const auto &r : fixture)
        db.insert("ccustaccount", {{"caccountid", r[0]}, {"affirm_date", r[1]},
                                   {"account_date", r[2]}, {"in_date", r[3]}});
    const QStringList fields{"affirm_date", "account_date", "in_date"};
    QueryConditions c;
    c.fromDate(fields, from).toDate(fields, to);
    QSqlQuery q = Db::exec(c.apply("SELECT caccountid FROM ccustaccount") + " ORDER BY caccountid",
                           c.binds());
    QStringList got;
    while (q.next())
        got << q.value(0).toString();
    QCOMPARE(got, rows);
    QCOMPARE(QueryConditions::firstOf({"d"}), QStringLiteral("d"));
    QVERIFY_THROWS_EXCEPTION(DbError, QueryConditions::firstOf({"d", "x);drop table t;--"}));
}

void TestData::filterDate_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QDate>("day"); // invalid: no condition
    QTest::newRow("blank mask: no condition") << "    -  -  " << false << QDate();
    QTest::newRow("no text: no condition") << "" << false << QDate();
    QTest::newRow("a whole date") << "2024-02-29" << false << QDate(2024, 2, 29);
    QTest::newRow("no such day") << "2024-02-30" << true << QDate();
    QTest::newRow("not a leap year") << "2023-02-29" << true << QDate();
    QTest::newRow("month 13") << "2024-13-01" << true << QDate();
    QTest::newRow("month 0") << "2024-00-10" << true << QDate();
    QTest::newRow("typed in part") << "2025-03-  " << true << QDate();
    QTest::newRow("a year only") << "2025-  -  " << true << QDate();
    QTest::newRow("a day only") << "    -  -05" << true << QDate();
    QTest::newRow("year short of a digit") << " 202-05-01" << true << QDate();
}

// A filter's date field either sets a condition, sets none (blank), or
// refuses the query: it never silently counts as empty.
void TestData::filterDate()
{
    QFETCH(QString, shown);
    QFETCH(bool, refused);
    QFETCH(QDate, day);
    const std::optional<QDate> date = QueryConditions::filterDate(shown);
    QCOMPARE(!date, refused);
    if (date)
        QCOMPARE(*date, day);
    using End = QueryConditions::DateEnd;
    QCOMPARE(QueryConditions::dateRefusal(shown, End::From),
             refused ? QStringLiteral("开始日期不是有效的日期!") : QString());
    QCOMPARE(QueryConditions::dateRefusal(shown, End::To),
             refused ? QStringLiteral("结束日期不是有效的日期!") : QString());
}

// ---------------------------------------------------------------- Export

void TestData::exportExactBytes()
{
    TestDb db;
    db.insert("caroutstock", {{"carout_no", "CS1"}, {"sales", "张三"}, {"saleprice", 105000.5},
                              {"outstock_date", "2024-05-01 10:20:30"}});
    db.insert("caroutstock", {{"carout_no", "CS2"}, {"sales", QVariant()}, {"saleprice", 60000.0}});
    DataSet data;
    data.setSql("SELECT carout_no, sales, saleprice, outstock_date FROM caroutstock ORDER BY carout_no");
    data.open();
    const GridColumns columns{{"业务员", "sales"}, {"金额", "saleprice"},
                              {"日期", "outstock_date"}, {"单号", "carout_no", 0, false}};

    const QString chosen = db.path("out");
    chooseFiles(*db.dm)->chosen = chosen;
    db.dm->ExportGridToText(data, columns);

    QFile f(chosen);
    QVERIFY(f.open(QIODevice::ReadOnly));
    // 业务员 金额 日期 张三 in code page 936
    const QByteArray expected =
        QByteArray("\xd2\xb5\xce\xf1\xd4\xb1\t\xbd\xf0\xb6\xee\t\xc8\xd5\xc6\xda\t\xb5\xa5\xba\xc5\t\r\n")
        + "\xd5\xc5\xc8\xfd\t105000.5\t2024-05-01 10:20:30\tCS1\t\r\n"
        + "\t60000\t\tCS2\t\r\n";
    QCOMPARE(f.readAll(), expected);
}

void TestData::exportCancelAndNames()
{
    TestDb db;
    DataSet data;
    data.setSql("SELECT sales FROM caroutstock");
    data.open();
    const GridColumns columns{{"业务员", "sales"}};

    ChosenFile *dialog = chooseFiles(*db.dm);
    db.dm->ExportGridToText(data, columns);
    // Only the database and its write-ahead log are there.
    QCOMPARE(QDir::current().entryList(QDir::Files),
             QStringList({"huoyun.mdb", "huoyun.mdb-shm", "huoyun.mdb-wal"}));

    // An empty data set gives the header alone; the typed name is kept as it is,
    // and an existing file is overwritten.
    QFile old("stat");
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old content that is longer");
    old.close();
    dialog->chosen = "stat";
    db.dm->ExportGridToText(data, columns);
    QFile f("stat");
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("\xd2\xb5\xce\xf1\xd4\xb1\t\r\n"));
    QVERIFY(!QFile::exists("stat.txt"));

    // A column the data set lacks stops the export and leaves no file.
    db.insert("caroutstock", {{"carout_no", "CS1"}});
    data.refresh();
    dialog->chosen = "bad";
    QVERIFY(failure([&] { db.dm->ExportGridToText(data, {{"x", "nosuch"}}); }).contains("nosuch"));
    QVERIFY(!QFile::exists("bad"));
}

QTEST_MAIN(TestData)
#include "tst_data.moc"
