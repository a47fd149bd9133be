// The report layer, the fourteen layouts and the report choice dialog.
#include "Codes.h"
#include "BandedReport.h"
#include "Clock.h"
#include "Db.h"
#include "Guard.h"
#include "ReportPrinter.h"
#include "TestDb.h"
#include "Useleprn.h"
#include "rep_cght.h"
#include "rep_chlchk.h"
#include "rep_chlchkmx.h"
#include "rep_chlrk.h"
#include "rep_chlrkmx.h"
#include "rep_custacc.h"
#include "rep_gyshxx.h"
#include "rep_khxx.h"
#include "rep_provacc.h"
#include "rep_rshxx.h"
#include "rep_saleyj.h"
#include "rep_shbb.h"
#include "rep_xshht.h"
#include "rep_ywyyj.h"
#include "Format.h"
#include "SalesFixture.h"
#include "SaveFile.h"
#include "Usalesyj.h"
#include "Usaleyjtj.h"
#include "Utax.h"

#include <QFile>
#include <QFileInfo>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRawFont>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>
#include <functional>
#include <memory>

namespace {

const QDateTime Today(QDate(2024, 5, 6), QTime(9, 30, 0));

const Rpt::PageItem *findText(const Rpt::Page &page, const QString &text)
{
    for (const auto &item : page.items)
        if (item.kind == Rpt::PageItem::Text && item.text == text)
            return &item;
    return nullptr;
}

const Rpt::PageItem *findSource(const Rpt::Page &page, const QString &source)
{
    for (const auto &item : page.items)
        if (item.source == source)
            return &item;
    return nullptr;
}

// The text item that starts where the given item ends, on the same line.
QString textAfter(const Rpt::Page &page, const QString &caption)
{
    const Rpt::PageItem *c = findText(page, caption);
    if (!c)
        return QStringLiteral("<no caption>");
    for (const auto &item : page.items)
        if (item.kind == Rpt::PageItem::Text && qAbs(item.rect.left() - c->rect.right()) < 0.01
            && qAbs(item.rect.top() - c->rect.top()) < 0.01)
            return item.text;
    return QStringLiteral("<nothing after>");
}

// Small rows of every table that a layout reads: one of each partner, one
// contract of each kind with its lines, one car received and sold.
void seedAll(TestDb &db)
{
    db.insert("bgsxx", {{"gsmc", "岚峰汽车"}, {"address", "本公司地址"}, {"lxr", "李经理"},
                        {"bank", "工行"}, {"bankacc", "6222"}, {"phone", "0571-1"}});
    db.insert("ccustomer", {{"customerid", "C001"}, {"custname", "客户甲"}, {"address", "客户地址"},
                            {"legalperson", "王五"}, {"legalpersonid", "330101"},
                            {"bank", "农行"}, {"accountid", "9559"}, {"phone", "139"}});
    db.insert("cprovider", {{"providerid", "P001"}, {"provname", "供应商乙"},
                            {"address", "供方地址"}, {"legalperson", "赵六"}, {"linkman", "钱七"},
                            {"bank", "建行"}, {"accountid", "4367"}, {"phone", "138"}});
    db.insert("csalecontract", {{"salecont_no", "SS2405-0001"}, {"contract_no", "XS-001"},
                                {"customerid", "C001"}, {"custname", "客户甲"},
                                {"conttype", "现货"}, {"bodcontract", "2024-05-01"},
                                {"eodcontract", "2024-12-31"}, {"recorder", "张三"}});
    db.insert("csalecontdetail", {{"salecont_no", "SS2405-0001"}, {"carmodel", "桑塔纳"},
                                  {"producingarea", "上海"}, {"qty", 2}, {"unitprice", 117000.0}});
    db.insert("csalecontdetail", {{"salecont_no", "SS2405-0001"}, {"carmodel", "捷达"},
                                  {"producingarea", "长春"}, {"qty", 1}, {"unitprice", 58500.0}});
    db.insert("cbuycontract", {{"buycont_no", "BS2405-0001"}, {"contract_no", "CG-001"},
                               {"providerid", "P001"}, {"provname", "供应商乙"}});
    db.insert("cbuycontdetail", {{"buycont_no", "BS2405-0001"}, {"carmodel", "桑塔纳"},
                                 {"qty", 3}, {"unitprice", 100000.0}});
    db.insert("carinfor", {{"carserial_no", "CAR001"}, {"carmodel", "桑塔纳"}, {"color", "红"},
                           {"chassis_no", "DP001"}, {"engine_no", "FD001"}, {"carprice", 100000.0},
                           {"factory_date", "2024-01-02"}, {"carstatus", codeValue(CarStatus::Sold)}});
    db.insert("carinstock", {{"carin_no", "RS2405-0001"}, {"buycontract_no", "CG-001"},
                             {"providerid", "P001"}, {"provname", "供应商乙"},
                             {"carserial_no", "CAR001"}, {"buyrecorder", "张三"},
                             {"instock_date", "2024-05-02"}, {"buyinvoice_no", "FP-IN"}});
    db.insert("caroutstock", {{"carout_no", "CS2405-0001"}, {"salecontract_no", "XS-001"},
                              {"customerid", "C001"}, {"custname", "客户甲"},
                              {"carserial_no", "CAR001"}, {"sales", "孙八"},
                              {"outstock_date", "2024-05-03"}, {"saleinvoice_no", "FP-OUT"},
                              {"saleprice", 117000.0}});
    db.insert("presentcost", {{"presentid", "ZS1"}, {"carserial_no", "CAR001"}, {"cost", 500.0}});
    db.insert("servicecost", {{"serviceid", "VS1"}, {"carserial_no", "CAR001"}, {"cost", 800.0}});
    db.insert("cprovaccount", {{"paccountid", "PS1"}, {"provname", "供应商乙"},
                               {"provaccttype", "付款"}, {"outgo", 50000.0},
                               {"certificate_no", "PZ-P"}, {"isprepay", codeValue(EntryKind::Payment)}});
    db.insert("ccustaccount", {{"caccountid", "KS1"}, {"custname", "客户甲"},
                               {"custaccttype", "预付款"}, {"income", 20000.0},
                               {"certificate_no", "PZ-K"}, {"isprepay", codeValue(EntryKind::Payment)}});
}

void openWith(DataSet *q, const QString &sql, const QVariant &aa = {})
{
    q->close();
    q->setSql(sql);
    if (aa.isValid())
        q->setParam(QStringLiteral(":aa"), aa);
    q->open();
}

// Each layout, prepared as the window that prints it does.
struct Case {
    std::function<BandedReport *()> make;
    QString title;
    bool landscape = false;
    QString expected; // a text of the fixture that must print
};

Case layoutCase(const QString &name)
{
    if (name == "xshht")
        return {[] {
                    auto *r = new Tfrep_xshht;
                    openWith(r->rep_salecont,
                             "SELECT csalecontract.*, ccustomer.legalperson, ccustomer.address, "
                             "ccustomer.phone, ccustomer.bank, ccustomer.accountid  FROM "
                             "csalecontract, ccustomer  WHERE "
                             "csalecontract.customerid=ccustomer.customerid  and salecont_no=:aa",
                             "SS2405-0001");
                    openWith(r->rep_salecontmx,
                             "select * from csalecontdetail where salecont_no=:aa", "SS2405-0001");
                    r->rep_bgs->open();
                    return r;
                },
                "汽车销售合同单", false, "XS-001"};
    if (name == "cght")
        return {[] {
                    auto *r = new Tfrep_cght;
                    openWith(r->rep_buycont,
                             "SELECT cbuycontract.*, cprovider.legalperson, cprovider.address, "
                             "cprovider.phone, cprovider.bank, cprovider.accountid  FROM "
                             "cbuycontract, cprovider  WHERE "
                             "cbuycontract.providerid=cprovider.providerid  and buycont_no=:aa",
                             "BS2405-0001");
                    openWith(r->rep_buycontmx, "select * from cbuycontdetail where buycont_no=:aa",
                             "BS2405-0001");
                    r->rep_bgs->open();
                    return r;
                },
                "汽车采购合同单", false, "供应商乙"};
    if (name == "chlrk")
        return {[] {
                    auto *r = new Tfrep_chlrk;
                    r->QRLabel17->setCaption("张三");
                    openWith(r->rep_chlrk,
                             "select * from carinfor,carinstock  where "
                             "carinfor.carserial_no=carinstock.carserial_no  and "
                             "carinstock.carin_no=:aa ",
                             "RS2405-0001");
                    return r;
                },
                "车辆入库单", false, "RS2405-0001"};
    if (name == "chlchk")
        return {[] {
                    auto *r = new Tfrep_chlchk;
                    r->QRLabel17->setCaption("张三");
                    openWith(r->rep_chlchk,
                             "select carinfor.*,caroutstock.*,ccustomer.legalpersonid  from  "
                             "carinfor,caroutstock,ccustomer  where "
                             "carinfor.carserial_no=caroutstock.carserial_no  and "
                             "caroutstock.customerid=ccustomer.customerid  and carout_no=:aa",
                             "CS2405-0001");
                    return r;
                },
                "车辆出库单", false, "330101"};
    if (name == "chlrkmx")
        return {[] {
                    auto *r = new Tfrep_chlrkmx;
                    openWith(r->rep_chlrkmx, QString(r->rep_chlrkmx->sql())
                                                 .replace("carstatus=0", "carstatus=1"));
                    return r;
                },
                "车辆入库明细表", true, "FP-IN"};
    if (name == "chlchkmx")
        return {[] { return new Tfrep_chlchkmx; }, "车辆出库明细表", true, "800"};
    if (name == "provacc")
        return {[] { return new Tfrep_provacc; }, "预付供应商帐目表", false, "50000"};
    if (name == "custacc")
        return {[] { return new Tfrep_custacc; }, "客户预付帐目表", false, "PZ-K"};
    if (name == "rshxx")
        return {[] { return new Tfrep_rshxx; }, "人事信息表", false, "管理员"};
    if (name == "gyshxx")
        return {[] { return new Tfrep_gyshxx; }, "供应商信息单", false, "钱七"};
    if (name == "khxx")
        return {[] { return new Tfrep_khxx; }, "客户信息单", false, "330101"};
    if (name == "saleyj")
        return {[] {
                    auto *r = new Tfrep_saleyj;
                    r->QRLabel27->setCaption("12345.6");
                    return r;
                },
                "销售业绩统计报表", false, "12345.6"};
    if (name == "shbb")
        return {[] { return new Tfrep_shbb; }, "税报表", false, "117000"};
    return {[] { return new Tfrep_ywyyj; }, "业务员业绩汇总表", false, "孙八"};
}

// n sold cars for the tax report, numbered in the order the list is sorted.
void seedSoldCars(TestDb &db, int n)
{
    db.insert("ccustomer", {{"customerid", "C001"}, {"custname", "客户甲"}});
    for (int i = 1; i <= n; ++i) {
        const QString serial = QStringLiteral("CAR%1").arg(i, 3, 10, QLatin1Char('0'));
        db.insert("carinfor", {{"carserial_no", serial}, {"carmodel", "M" + QString::number(i)},
                               {"carprice", 1000.0 * i}, {"carstatus", codeValue(CarStatus::Sold)}});
        db.insert("caroutstock", {{"carout_no", "CS" + serial}, {"customerid", "C001"},
                                  {"custname", "客户甲"}, {"carserial_no", serial},
                                  {"saleprice", 1100.5 * i}});
    }
}

} // namespace

class TestReports : public QObject {
    Q_OBJECT

private slots:
    void eachLayoutPrintsFromAFixture_data();
    void eachLayoutPrintsFromAFixture();
    void longListSpansPagesWithSummaryAfterLastRow();
    void emptyListPrintsTitleAndEmptySummary();
    void contractTotalInTenThousands_data();
    void contractTotalInTenThousands();
    void contractTotalAtTheEdgeOfMoney_data();
    void contractTotalAtTheEdgeOfMoney();
    void slipPrintsFirstRowPlaceholdersAndDate();
    void placeholderNotSetPrintsEmpty();
    void absentFieldPrintsNothingRestOfRowPrints();
    void failingQueryPrintsNothing();
    void printFailureReachesCaller();
    void longTextIsClippedToItsBox();
    void numbersPrintWhole_data();
    void numbersPrintWhole();
    void chineseFontsAreSubstituted();
    void pdfWhenNoPrinter();
    void pdfThatCannotBeWritten_data();
    void pdfThatCannotBeWritten();

    void choiceDialog_data();
    void choiceDialog();

    // The statistics windows and the tax report
    void salesFigures_data();
    void salesFigures();
    void salesFiguresPrintAsShown();
    void salesmanFigures_data();
    void salesmanFigures();
    void salesmanPrint();
    void salesmanExportBytes();
    void exportBeforeStatisticsWritesNothing();
    void taxList_data();
    void taxList();
    void taxPrintCountsAndSums();
    void badDateIsRefused();
    void enterMovesOnThroughTheDates_data();
    void enterMovesOnThroughTheDates();
    void failingStatisticsShowNothing();
};

// ---------------------------------------------------------------- layouts

void TestReports::eachLayoutPrintsFromAFixture_data()
{
    QTest::addColumn<QString>("layout");
    for (const char *n : {"xshht", "cght", "chlrk", "chlrkmx", "chlchk", "chlchkmx", "provacc",
                          "custacc", "rshxx", "gyshxx", "khxx", "saleyj", "shbb", "ywyyj"})
        QTest::newRow(n) << QString::fromLatin1(n);
}

void TestReports::eachLayoutPrintsFromAFixture()
{
    QFETCH(QString, layout);
    TestDb db;
    seedAll(db);
    Clock::setNow(Today);
    CapturedPrints prints;
    const Case c = layoutCase(layout);
    std::unique_ptr<BandedReport> r(c.make());
    QVERIFY(guard([&] { r->Print(); }));
    QCOMPARE(db.messages.messages.size(), 0);

    QCOMPARE(prints.documents.size(), 1);
    const Rpt::Document &doc = prints.documents.first();
    QCOMPARE(doc.title, c.title);
    QCOMPARE(doc.pages.size(), 1);
    const Rpt::Page &page = doc.pages.first();
    QCOMPARE(page.texts().first(), c.title);
    QCOMPARE(doc.setup.orientation, c.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QCOMPARE(doc.setup.left, c.landscape ? 6.0 : 10.0);
    QCOMPARE(doc.setup.printableWidth(), c.landscape ? 285.0 : 190.0);
    QVERIFY2(page.texts().contains(c.expected), qPrintable(page.texts().join('|')));
    if (!layout.endsWith("ht")) // the contracts print no date of today
        QVERIFY(page.texts().contains("2024-05-06"));
    // Fixed texts are as wide as the printing font draws them; numbers fit
    // their boxes.
    for (const auto &item : page.items)
        if (item.kind == Rpt::PageItem::Text && (item.source.isEmpty() || item.shrinkToFit))
            QVERIFY2(Rpt::textWidth(item.text, item.font) <= item.rect.width() + 1e-9,
                     qPrintable(item.text));
    // Nothing stands outside the printable area.
    for (const auto &item : page.items) {
        QVERIFY(item.rect.left() >= doc.setup.left - 0.01);
        QVERIFY2(item.rect.right() <= doc.setup.paperWidth() - doc.setup.right + 0.01,
                 qPrintable(item.text + item.source));
        QVERIFY(item.rect.bottom() <= doc.setup.paperHeight() - doc.setup.bottom + 0.01);
    }
}

void TestReports::longListSpansPagesWithSummaryAfterLastRow()
{
    TestDb db;
    seedSoldCars(db, 60);
    CapturedPrints prints;
    Tfrep_shbb r;
    openWith(r.rep_shbb, r.rep_shbb->sql() + " order by caroutstock.carserial_no");
    r.QRLabel15->setCaption("管理员");
    r.Print();

    const Rpt::Document &doc = prints.documents.first();
    QVERIFY(doc.pages.size() >= 2);
    const double bottom = doc.setup.paperHeight() - doc.setup.bottom;
    QStringList models;
    double lastRowBottom = 0;
    for (int p = 0; p < doc.pages.size(); ++p) {
        const Rpt::Page &page = doc.pages[p];
        // Headings and title on the first page only.
        QCOMPARE(bool(findText(page, "车  型")), p == 0);
        QCOMPARE(bool(findText(page, "税报表")), p == 0);
        double top = 1e9;
        for (const auto &item : page.items) {
            QVERIFY(item.rect.bottom() <= bottom + 0.01);
            top = qMin(top, item.rect.top());
            if (item.source == "carmodel") {
                models << item.text;
                lastRowBottom = item.rect.bottom();
            }
        }
        QCOMPARE(top, p == 0 ? 10.5 : 10.0); // a new page starts at the top margin
    }
    QStringList expected;
    for (int i = 1; i <= 60; ++i)
        expected << "M" + QString::number(i);
    QCOMPARE(models, expected);

    const Rpt::Page &last = doc.pages.last();
    const Rpt::PageItem *count = findSource(last, "count");
    QVERIFY(count);
    QCOMPARE(count->text, QString("60"));
    QVERIFY(count->rect.top() >= lastRowBottom);
    QCOMPARE(findSource(last, "sum(carprice)")->text, QString("1830000"));    // 1000 * 1830
    QCOMPARE(findSource(last, "sum(saleprice)")->text, QString("2013915")); // 1100.5 * 1830
}

void TestReports::emptyListPrintsTitleAndEmptySummary()
{
    TestDb db;
    CapturedPrints prints;
    Tfrep_shbb r;
    r.Print();
    const Rpt::Document &doc = prints.documents.first();
    QCOMPARE(doc.pages.size(), 1);
    const Rpt::Page &page = doc.pages.first();
    QVERIFY(findText(page, "税报表"));
    QVERIFY(findText(page, "销售价格"));
    QVERIFY(!findSource(page, "carmodel"));
    QCOMPARE(findSource(page, "count")->text, QString("0"));
    QCOMPARE(findSource(page, "sum(carprice)")->text, QString());
    QCOMPARE(findSource(page, "sum(saleprice)")->text, QString());
}

void TestReports::contractTotalInTenThousands_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("total");
    QTest::newRow("sales") << "xshht" << "合计(万元)：" << "29.25";
    QTest::newRow("purchase") << "cght" << "合计(万元):" << "30";
}

void TestReports::contractTotalInTenThousands()
{
    QFETCH(QString, layout);
    QFETCH(QString, caption);
    QFETCH(QString, total);
    TestDb db;
    seedAll(db);
    CapturedPrints prints;
    std::unique_ptr<BandedReport> r(layoutCase(layout).make());
    r->Print();
    const Rpt::Page &page = prints.documents.first().pages.first();
    QCOMPARE(textAfter(page, caption), total);
    // Both parties print: the partner's name and the own company's.
    QVERIFY(findText(page, "岚峰汽车"));
    QVERIFY(findText(page, layout == "xshht" ? "客户甲" : "供应商乙"));
    QVERIFY(findText(page, "本公司地址"));
}

void TestReports::contractTotalAtTheEdgeOfMoney_data()
{
    QTest::addColumn<double>("price");
    QTest::addColumn<int>("qty");
    QTest::addColumn<QString>("total"); // empty: the print is refused
    // With the other line's 58500.
    QTest::newRow("largest typed line") << 99999999.9999 << 9999 << "99990005.8499";
    QTest::newRow("price 99999999999999 × 1000") << 99999999999999.0 << 1000 << "";
}

// A total that Money cannot hold is refused with a message, never printed wrong.
void TestReports::contractTotalAtTheEdgeOfMoney()
{
    QFETCH(double, price);
    QFETCH(int, qty);
    QFETCH(QString, total);
    TestDb db;
    seedAll(db);
    db.exec("UPDATE csalecontdetail SET unitprice = :p, qty = :q WHERE carmodel = '桑塔纳'",
            {{":p", price}, {":q", qty}});
    CapturedPrints prints;
    std::unique_ptr<BandedReport> r(layoutCase("xshht").make());
    QString refusal;
    try {
        r->Print();
    } catch (const AppError &e) {
        refusal = e.message();
    }
    if (total.isEmpty()) {
        QCOMPARE(refusal, QString("金额超出可处理的范围（最大为922337203685477.5807）！"));
        QCOMPARE(prints.documents.size(), 0);
        return;
    }
    QCOMPARE(refusal, QString());
    QCOMPARE(textAfter(prints.documents.first().pages.first(), "合计(万元)："), total);
}

void TestReports::slipPrintsFirstRowPlaceholdersAndDate()
{
    TestDb db;
    seedAll(db);
    // A second car: the slip's query restricted to one number prints only its own.
    db.insert("carinfor", {{"carserial_no", "CAR002"}, {"chassis_no", "DP002"}});
    db.insert("carinstock", {{"carin_no", "RS2405-0002"}, {"carserial_no", "CAR002"}});
    Clock::setNow(Today);
    CapturedPrints prints;
    std::unique_ptr<BandedReport> r(layoutCase("chlrk").make());
    r->Print();
    const Rpt::Page &page = prints.documents.first().pages.first();
    QCOMPARE(textAfter(page, "操作员："), QString("张三"));
    QCOMPARE(textAfter(page, "日期："), QString("2024-05-06"));
    QCOMPARE(textAfter(page, "入库单号："), QString("RS2405-0001"));
    QCOMPARE(findSource(page, "carinfor.carserial_no")->text, QString("CAR001"));
    QCOMPARE(findSource(page, "chassis_no")->text, QString("DP001"));
    QCOMPARE(findSource(page, "carprice")->text, QString("100000"));
    QCOMPARE(findSource(page, "instock_date")->text, QString("2024-05-02"));
    QVERIFY(!findText(page, "DP002"));
    QVERIFY(findText(page, "经办人（签字）："));
}

void TestReports::placeholderNotSetPrintsEmpty()
{
    TestDb db;
    CapturedPrints prints;
    Tfrep_chlchkmx r;
    r.QRLabel19->setCaption("管理员");
    r.Print();
    const Rpt::Page &page = prints.documents.first().pages.first();
    QCOMPARE(findSource(page, "QRLabel16")->text, QString());
    QCOMPARE(findSource(page, "QRLabel17")->text, QString());
    QCOMPARE(findSource(page, "QRLabel19")->text, QString("管理员"));
    QVERIFY(!page.texts().join("").contains("QRLabel"));
    // A window may retitle the list (the stock-on-hand list).
    Tfrep_chlrkmx stock;
    stock.QRLabel1->setCaption("车辆库存明细表");
    stock.Print();
    QCOMPARE(prints.documents.last().title, QString("车辆库存明细表"));
    QCOMPARE(prints.documents.last().pages.first().texts().first(), QString("车辆库存明细表"));
}

void TestReports::absentFieldPrintsNothingRestOfRowPrints()
{
    TestDb db;
    seedAll(db);
    CapturedPrints prints;
    Tfrep_provacc r;
    r.rep_provacc->setSql(QString(r.rep_provacc->sql()).remove(",remarks")); // no remarks selected
    r.Print();
    const Rpt::Page &page = prints.documents.first().pages.first();
    QCOMPARE(findSource(page, "remarks")->text, QString());
    QCOMPARE(findSource(page, "provname")->text, QString("供应商乙"));
    QCOMPARE(findSource(page, "pzhh")->text, QString("PZ-P"));
    QCOMPARE(findSource(page, "outgo")->text, QString("50000"));
}

void TestReports::failingQueryPrintsNothing()
{
    TestDb db;
    CapturedPrints prints;
    Tfrep_khxx r;
    r.rep_cust->setSql("select * from ccustomer where nosuchcolumn = 1");
    QVERIFY(!guard([&] { r.Print(); }));
    QCOMPARE(prints.documents.size(), 0);
    QCOMPARE(db.messages.messages.size(), 1);
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Error);
    QVERIFY(db.messages.lastText().contains("nosuchcolumn"));
}

void TestReports::printFailureReachesCaller()
{
    TestDb db;
    CapturedPrints prints;
    prints.fail = true;
    Tfrep_rshxx r;
    QVERIFY_THROWS_EXCEPTION(AppError, r.Print());
    QCOMPARE(db.messages.messages.size(), 0); // the caller decides whether to show it
}

void TestReports::longTextIsClippedToItsBox()
{
    TestDb db;
    const QString longName = QString("很长的客户名称").repeated(8);
    db.insert("ccustomer", {{"customerid", "C1"}, {"custname", longName}, {"address", "短"}});
    CapturedPrints prints;
    Tfrep_khxx r;
    r.Print();
    const Rpt::Document &doc = prints.documents.first();
    const Rpt::PageItem *name = findSource(doc.pages.first(), "custname");
    QCOMPARE(name->text, longName);
    const double divider = doc.setup.left + 42.5;
    QVERIFY(name->rect.right() <= divider);
    // Free text keeps its size and is cut at its box.
    QVERIFY(!name->shrinkToFit);
    QCOMPARE(name->font.pointSize, 9.0);

    // Painted, nothing of it reaches past its box.
    const double dpi = 150;
    QImage image(int(doc.setup.paperWidth() / 25.4 * dpi), int(doc.setup.paperHeight() / 25.4 * dpi),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        Rpt::Page only;
        only.items << *name;
        ReportPrinter::paintPage(painter, only, dpi);
    }
    const double k = dpi / 25.4;
    int inside = 0, outside = 0;
    for (int y = int(name->rect.top() * k); y < int(name->rect.bottom() * k); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ++(x < int(name->rect.right() * k) + 1 ? inside : outside);
    QVERIFY(inside > 0);
    QCOMPARE(outside, 0);
}

void TestReports::numbersPrintWhole_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("source"); // the printed item's field
    QTest::addColumn<QString>("update"); // puts the value into the fixture
    QTest::addColumn<QString>("value");
    const QString document = "RS2026120001", contract = "HT-2026-0001", vin = "LFV2A21K6D4000001",
                  id = "220102198001011234", invoice = "12345678901234567890";
    const struct {
        const char *layout, *source, *update;
        QString value;
    } rows[] = {
        {"chlrkmx", "carin_no", "UPDATE carinstock SET carin_no=:v", document},
        {"chlrkmx", "buycontract_no", "UPDATE carinstock SET buycontract_no=:v", contract},
        {"chlrkmx", "buyinvoice_no", "UPDATE carinstock SET buyinvoice_no=:v", invoice},
        {"chlrkmx", "chassis_no", "UPDATE carinfor SET chassis_no=:v", vin},
        {"chlrkmx", "carprice", "UPDATE carinfor SET carprice=:v", "1234567.8901"},
        {"chlchkmx", "carout_no", "UPDATE caroutstock SET carout_no=:v", "CS2026120001"},
        {"chlchkmx", "salecont", "UPDATE caroutstock SET salecontract_no=:v", contract},
        {"chlchkmx", "legalpersonid", "UPDATE ccustomer SET legalpersonid=:v", id},
        {"chlchkmx", "saleinvoice_no", "UPDATE caroutstock SET saleinvoice_no=:v", invoice},
        {"chlchkmx", "chassis_no", "UPDATE carinfor SET chassis_no=:v", vin},
        {"provacc", "pzhh", "UPDATE cprovaccount SET certificate_no=:v", vin},
        {"provacc", "invoice_no", "UPDATE cprovaccount SET invoice_no=:v", invoice},
        {"custacc", "pzhh", "UPDATE ccustaccount SET certificate_no=:v", vin},
        {"rshxx", "phone", "UPDATE cpersonnel SET Phone=:v", "0431-85000001"},
        {"gyshxx", "phone", "UPDATE cprovider SET phone=:v", "0431-8500001"},
        {"khxx", "phone", "UPDATE ccustomer SET phone=:v", "0431-8500001"},
        {"khxx", "legalpersonid", "UPDATE ccustomer SET legalpersonid=:v", id},
        {"shbb", "legalpersonid", "UPDATE ccustomer SET legalpersonid=:v", id},
        {"shbb", "chassis_no", "UPDATE carinfor SET chassis_no=:v", vin},
        {"chlrk", "buycontract_no", "UPDATE carinstock SET buycontract_no=:v", contract},
        {"chlrk", "buyinvoice_no", "UPDATE carinstock SET buyinvoice_no=:v", invoice},
        {"chlrk", "vin_no", "UPDATE carinfor SET vin_no=:v", vin},
        {"chlrk", "customs_no", "UPDATE carinfor SET customs_no=:v", "310120240000012345"},
        {"chlchk", "legalpersonid", "UPDATE ccustomer SET legalpersonid=:v", id},
        {"chlchk", "saleinvoice_no", "UPDATE caroutstock SET saleinvoice_no=:v", invoice},
        {"xshht", "contract_no", "UPDATE csalecontract SET contract_no=:v", contract},
        {"xshht", "phone", "UPDATE ccustomer SET phone=:v", "0431-85000001"},
        {"xshht", "accountid", "UPDATE ccustomer SET accountid=:v", "6222021001123456789"},
        {"cght", "phone", "UPDATE cprovider SET phone=:v", "0431-85000001"},
    };
    for (const auto &r : rows)
        QTest::addRow("%s %s", r.layout, r.source) << r.layout << r.source << r.update << r.value;
}

// A number or code is printed whole: its text item holds all of it, in a font
// small enough for its box, and the box stays inside its cell.
void TestReports::numbersPrintWhole()
{
    QFETCH(QString, layout);
    QFETCH(QString, source);
    QFETCH(QString, update);
    QFETCH(QString, value);
    TestDb db;
    seedAll(db);
    db.exec(update, {{":v", value}});
    CapturedPrints prints;
    std::unique_ptr<BandedReport> r(layoutCase(layout).make());
    r->Print();
    const Rpt::Page &page = prints.documents.first().pages.first();
    const Rpt::PageItem *item = nullptr;
    for (const auto &i : page.items)
        if (i.source == source && i.text == value)
            item = &i;
    QVERIFY2(item, qPrintable(page.texts().join('|')));
    QVERIFY(item->shrinkToFit);
    QVERIFY2(Rpt::textWidth(item->text, item->font) <= item->rect.width(),
             qPrintable(QStringLiteral("%1 mm in %2 mm at %3 pt")
                            .arg(Rpt::textWidth(item->text, item->font))
                            .arg(item->rect.width())
                            .arg(item->font.pointSize)));
    // Its box is the one the layout gave it: between the rules of its cell.
    for (const auto &line : page.items)
        if (line.kind == Rpt::PageItem::Line && line.rect.width() == 0
            && line.rect.top() <= item->rect.center().y() && line.rect.bottom() >= item->rect.center().y())
            QVERIFY(line.rect.left() <= item->rect.left() || line.rect.left() >= item->rect.right());
}

void TestReports::chineseFontsAreSubstituted()
{
    Tfrep_shbb r; // the layer sets up its fonts when a layout is made
    for (const char *family : {"黑体", "宋体", "Arial"}) {
        QFont f(QString::fromUtf8(family));
        const QRawFont raw = QRawFont::fromFont(f, QFontDatabase::SimplifiedChinese);
        QVERIFY2(raw.supportsCharacter(QChar(0x5408)), family); // 合
    }
}

void TestReports::pdfWhenNoPrinter()
{
    TestDb db;
    seedAll(db);
    Clock::setNow(Today);
    std::unique_ptr<BandedReport> r(layoutCase("xshht").make());
    const Rpt::Document doc = r->layOut();
    const QString path = ReportPrinter::printToPdfFile(doc, nullptr);
    QCOMPARE(QFileInfo(path).fileName(), QString("汽车销售合同单_20240506_093000.pdf"));
    QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(db.path("x")).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.startsWith("%PDF-"));
    // The title is in the document's information, as UTF-16 with a byte-order mark.
    QByteArray utf16("\xFE\xFF", 2);
    for (const QChar c : doc.title) {
        utf16.append(char(c.unicode() >> 8));
        utf16.append(char(c.unicode() & 0xFF));
    }
    QVERIFY(bytes.contains(utf16) || bytes.contains(utf16.toHex().toUpper()));
    QCOMPARE(db.messages.messages.size(), 1);
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Information);
    QVERIFY(db.messages.lastText().contains(path));

    // A second print in the same second does not overwrite the first.
    const QString second = ReportPrinter::printToPdfFile(doc, nullptr);
    QVERIFY(second != path);
    QVERIFY(QFile::exists(path) && QFile::exists(second));
}

namespace {
// The system's way without a printer: the pages go to a PDF file.
class PdfFilePrinter : public ReportPrinter {
public:
    PdfFilePrinter() : m_previous(current()) { install(this); }
    ~PdfFilePrinter() override { install(m_previous); }
    void print(const Rpt::Document &doc, QWidget *parent) override { printToPdfFile(doc, parent); }

private:
    ReportPrinter *m_previous;
};
} // namespace

void TestReports::pdfThatCannotBeWritten_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("reason");
    QTest::newRow("current folder gone") << "gone" << "当前文件夹已不存在";
    QTest::newRow("current folder refuses writing") << "read-only" << "不允许写入";
    QTest::newRow("a file where the folder should be") << "under a file" << "不是文件夹";
}

// Where the file cannot be made, the print says why in its one error box,
// before anything is painted, and leaves no file behind.
void TestReports::pdfThatCannotBeWritten()
{
    QFETCH(QString, where);
    QFETCH(QString, reason);
    QTest::failOnWarning(QRegularExpression(".")); // "QPainter::begin(): Returned false" among them
    TestDb db;
    seedAll(db);
    Clock::setNow(Today);
    std::unique_ptr<BandedReport> r(layoutCase("xshht").make());
    const QString folder = db.path("out");
    QVERIFY(QDir().mkdir(folder));
    const auto writable = qScopeGuard([&] {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    if (where == "under a file") {
        QFile plain(db.path("plain.txt"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QString message;
        try {
            ReportPrinter::writePdf(r->layOut(), plain.fileName() + "/x.pdf");
        } catch (const AppError &e) {
            message = e.message();
        }
        QVERIFY2(message.contains(reason) && message.contains(plain.fileName()), qPrintable(message));
        return;
    }
    QVERIFY(QDir::setCurrent(folder));
    if (where == "gone") {
        QVERIFY(QDir().rmdir(folder));
    } else {
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        if (QFileInfo(folder).isWritable())
            QSKIP("this user writes into any folder");
    }
    PdfFilePrinter pdf;
    r->printOrShowError();
    QCOMPARE(db.messages.messages.size(), 1);
    QCOMPARE(db.messages.messages.first().kind, Msg::Kind::Error);
    QVERIFY2(db.messages.lastText().contains(reason), qPrintable(db.messages.lastText()));
    QVERIFY2(db.messages.lastText().contains("汽车销售合同单"), qPrintable(db.messages.lastText()));
    QVERIFY(QDir(db.path("")).entryList({"*.pdf"}, QDir::Files).isEmpty());
    if (where != "gone")
        QVERIFY(QDir(folder).isEmpty());
}

// ---------------------------------------------------------------- choice dialog

void TestReports::choiceDialog_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("result");
    QTest::newRow("OK untouched") << "ok" << 1;
    QTest::newRow("Enter untouched") << "enter" << 1;
    QTest::newRow("list then OK") << "list ok" << 6;
    QTest::newRow("list then slip then OK") << "list slip ok" << 1;
    QTest::newRow("cancel") << "cancel" << 2;
    QTest::newRow("cancel after list") << "list cancel" << 2;
    QTest::newRow("Escape") << "escape" << 2;
    QTest::newRow("close box") << "close" << 2;
}

void TestReports::choiceDialog()
{
    QFETCH(QString, action);
    QFETCH(int, result);
    Tfseleprn dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.windowTitle(), QString("报表选择"));
    auto *ok = dlg.findChild<QPushButton *>("BitBtn1");
    auto *cancel = dlg.findChild<QPushButton *>("BitBtn2");
    auto *slip = dlg.findChild<QRadioButton *>("RadioGroup1Item0");
    auto *list = dlg.findChild<QRadioButton *>("RadioGroup1Item1");
    QVERIFY(ok && cancel && slip && list);
    QVERIFY(slip->isChecked());
    for (const QString &step : action.split(' ')) {
        if (step == "ok")
            QTest::mouseClick(ok, Qt::LeftButton);
        else if (step == "enter")
            QTest::keyClick(&dlg, Qt::Key_Return);
        else if (step == "list")
            QTest::mouseClick(list, Qt::LeftButton);
        else if (step == "slip")
            QTest::mouseClick(slip, Qt::LeftButton);
        else if (step == "cancel")
            QTest::mouseClick(cancel, Qt::LeftButton);
        else if (step == "escape")
            QTest::keyClick(&dlg, Qt::Key_Escape);
        else if (step == "close")
            dlg.close();
    }
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), result);
}

// ---------------------------------------------------------------- statistics

namespace {

// A statistics window shown and active, driven from the keyboard.
template <class W>
struct Statistics {
    Statistics() : w(new W)
    {
        w->show();
        QApplication::setActiveWindow(w);
        w->DateEdit3->setFocus();
    }
    ~Statistics() { delete w.data(); }
    W *operator->() const { return w.data(); }
    // Types the dates ("" leaves a field blank) and presses a speed button by
    // Alt and its place.
    void period(const QString &from, const QString &to) const
    {
        for (auto [edit, digits] : {std::pair{w->DateEdit3, from}, {w->DateEdit4, to}}) {
            edit->setFocus();
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            QTest::keyClicks(edit, digits);
        }
    }
    void alt(int place) const
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(Qt::Key_0 + place), Qt::AltModifier);
        QApplication::processEvents();
    }
    QPointer<W> w;
};

// The grid's rows as it shows them, cells joined by '|'.
QStringList gridRows(DBGrid *grid)
{
    QStringList rows;
    const QAbstractItemModel *model = grid->model();
    for (int r = 0; grid->dataSet()->isActive() && r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c)
            cells << model->index(r, c).data().toString();
        rows << cells.join('|');
    }
    return rows;
}

QString sourceText(const Rpt::Page &page, const QString &source)
{
    const Rpt::PageItem *item = findSource(page, source);
    return item ? item->text : QStringLiteral("<none>");
}

// The six cars of the fixture, 张三 logged in.
struct SixCarsSeeded {
    SixCarsSeeded()
    {
        db.exec("UPDATE cpersonnel SET name = '张三'");
        db.dm->trsk->refresh();
        SalesFixture::sixCars(db);
    }
    TestDb db;
};

// A statistics window over them, its printouts captured.
template <class W>
struct OverSixCars : SixCarsSeeded, Statistics<W> {
    CapturedPrints prints;
};

} // namespace

void TestReports::salesFigures_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    // a1 a2 a3 a6 a4 a5 a7 a8 services presents, as DBEdit1 to DBEdit10 show them
    QTest::addColumn<QStringList>("figures");
    QTest::newRow("all the data: E once, for its sale of June")
        << "" << ""
        << QStringList{"5", "490000.1", "3", "2", "357000.5", "305128.6325", "47000.4", "40171.2821",
                       "2401.5", "1000.5"};
    QTest::newRow("May: F sold at 14:30 on the 31st, E's earlier record out")
        << "20240501" << "20240531"
        << QStringList{"3", "260000.1", "2", "2", "187000.5", "159829.4872", "27000.4", "23077.265",
                       "1601.5", "500.5"};
    QTest::newRow("up to May")
        << "" << "20240531"
        << QStringList{"5", "490000.1", "2", "2", "187000.5", "159829.4872", "27000.4", "23077.265",
                       "1601.5", "500.5"};
    QTest::newRow("from June: nothing received, E sold")
        << "20240601" << ""
        << QStringList{"0", "", "1", "2", "170000", "145299.1453", "20000", "17094.0171", "800", "500"};
}

void TestReports::salesFigures()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, figures);
    OverSixCars<Tfsaleyjtj> t;
    QVERIFY(!t->SpeedItem3->isEnabled());
    t.period(from, to);
    t.alt(1); // 统计
    QStringList shown;
    for (QLineEdit *e : {t->DBEdit1, t->DBEdit2, t->DBEdit3, t->DBEdit4, t->DBEdit5, t->DBEdit6,
                         t->DBEdit7, t->DBEdit8, t->DBEdit9, t->DBEdit10})
        shown << e->text();
    QCOMPARE(shown, figures);
    QVERIFY(t->SpeedItem3->isEnabled());
    QVERIFY(t.db.messages.messages.isEmpty());
}

void TestReports::salesFiguresPrintAsShown()
{
    OverSixCars<Tfsaleyjtj> t;
    t.period("20240501", "20240531");
    t.alt(1);
    // Clearing blanks the dates and keeps the figures; the sheet prints both as shown.
    t.alt(2);
    QCOMPARE(t->DateEdit3->displayText(), DateEdit::blankText());
    QCOMPARE(t->DBEdit3->text(), QStringLiteral("2"));
    t.alt(3);
    QCOMPARE(t.prints.documents.size(), 1);
    const Rpt::Page &page = t.prints.documents.first().pages.first();
    QCOMPARE(sourceText(page, "QRLabel16"), DateEdit::blankText());
    QCOMPARE(sourceText(page, "QRLabel19"), QStringLiteral("张三"));
    const QList<std::pair<const char *, const char *>> placed{
        {"QRLabel12", "3"},         {"QRLabel23", "260000.1"}, {"QRLabel13", "2"},
        {"QRLabel24", "2"},         {"QRLabel20", "187000.5"}, {"QRLabel26", "159829.4872"},
        {"QRLabel22", "27000.4"},   {"QRLabel27", "23077.265"}, {"QRLabel21", "1601.5"},
        {"QRLabel25", "500.5"}};
    for (const auto &[label, text] : placed)
        QCOMPARE(sourceText(page, label), QString::fromUtf8(text));
}

void TestReports::salesmanFigures_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("rows");
    // E's empty salesman and F's null one are one group.
    QTest::newRow("all the data")
        << "" << ""
        << QStringList{"|2|240000.3|500|867.67|205442.709401709|30367.97|25955.5299145299",
                       "张三|1|117000.2|500.5|1533.83|100883.358974359|18033.43|15413.188034188"};
    QTest::newRow("May")
        << "20240501" << "20240531"
        << QStringList{"|1|70000.3|0|67.67|59887.1538461539|10067.97|8605.10256410257",
                       "张三|1|117000.2|500.5|1533.83|100883.358974359|18033.43|15413.188034188"};
    QTest::newRow("only the to-date") << "" << "20240510"
                                      << QStringList{"张三|1|117000.2|500.5|1533.83|100883.358974359|18033.43|15413.188034188"};
}

void TestReports::salesmanFigures()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, rows);
    OverSixCars<Tfsalesyj> t;
    t.period(from, to);
    t.alt(1);
    QCOMPARE(gridRows(t->DBGrid1), rows);
    QVERIFY(t->SpeedItem3->isEnabled());

    // A salesman whose cars lack their stock-in price has no difference and no profit.
    t.db.exec("UPDATE carinfor SET carprice = NULL WHERE carserial_no = 'B'");
    t.alt(1);
    QCOMPARE(gridRows(t->DBGrid1).constLast(),
             QStringLiteral("张三|1|117000.2|500.5|1533.83|100883.358974359||"));
    QVERIFY(t.db.messages.messages.isEmpty());
}

void TestReports::salesmanPrint()
{
    OverSixCars<Tfsalesyj> t;
    t.alt(1); // the grid over all the data
    // The print runs for the dates as they stand at the click.
    t.period("20240501", "20240531");
    t.alt(3);
    QCOMPARE(t.prints.documents.size(), 1);
    const Rpt::Page &page = t.prints.documents.first().pages.first();
    QCOMPARE(sourceText(page, "QRLabel12"), QStringLiteral("2024-05-01"));
    QCOMPARE(sourceText(page, "QRLabel13"), QStringLiteral("2024-05-31"));
    QCOMPARE(sourceText(page, "QRLabel5"), QStringLiteral("张三"));
    const QStringList texts = page.texts();
    // The quotients as the database gives them, the amounts as amounts.
    for (const char *text : {"张三", "117000.2", "100883.358974359", "15413.188034188", "70000.3",
                             "8605.10256410257", "18033.43"})
        QVERIFY2(texts.contains(QString::fromUtf8(text)), text);
    QVERIFY(!texts.contains("140000.3"));
    QVERIFY(t.db.messages.messages.isEmpty());
}

void TestReports::salesmanExportBytes()
{
    OverSixCars<Tfsalesyj> t;
    const QString file = t.db.path("业绩");
    SaveFileDialog::setChooser([&](const QString &) { return file; });
    t.period("20240501", "20240531");
    t.alt(1);
    t.alt(5); // 数据导出
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    // 业务员 销售车辆数 销售金额 赠品金额 服务费用 销售收入 进销差价 毛利润, then 张三, in code page 936
    const QByteArray expected =
        QByteArray("\xd2\xb5\xce\xf1\xd4\xb1\t\xcf\xfa\xca\xdb\xb3\xb5\xc1\xbe\xca\xfd\t"
                   "\xcf\xfa\xca\xdb\xbd\xf0\xb6\xee\t\xd4\xf9\xc6\xb7\xbd\xf0\xb6\xee\t"
                   "\xb7\xfe\xce\xf1\xb7\xd1\xd3\xc3\t\xcf\xfa\xca\xdb\xca\xd5\xc8\xeb\t"
                   "\xbd\xf8\xcf\xfa\xb2\xee\xbc\xdb\t\xc3\xab\xc0\xfb\xc8\xf3\t\r\n")
        + "\t1\t70000.3\t0\t67.67\t59887.1538461539\t10067.97\t8605.10256410257\t\r\n"
        + "\xd5\xc5\xc8\xfd\t1\t117000.2\t500.5\t1533.83\t100883.358974359\t18033.43\t15413.188034188\t\r\n";
    QCOMPARE(f.readAll(), expected);
    QVERIFY(t.db.messages.messages.isEmpty());
}

void TestReports::exportBeforeStatisticsWritesNothing()
{
    TestDb db;
    bool asked = false;
    SaveFileDialog::setChooser([&](const QString &) {
        asked = true;
        return QStringLiteral("out.txt");
    });
    Statistics<Tfsalesyj> w;
    w.alt(5);
    QCOMPARE(db.messages.texts(), QStringList{"请先统计，再导出数据!"});
    QVERIFY(!asked);
    QVERIFY(!QFile::exists("out.txt"));
}

void TestReports::taxList_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("rows");
    const QString b = "B|桑塔纳|DP-B|K1|客户甲|330101|100000.1|117000.2";
    const QString e = "E|桑塔纳|DP-E|K2|客户乙|330102|150000|170000";
    // F's customer has left the register: the sale stays in the list.
    const QString f = "F|桑塔纳|DP-F|K9|客户丙||60000|70000.3";
    QTest::newRow("all sold cars, E once") << "" << "" << QStringList{b, e, f};
    QTest::newRow("May, F at 14:30 on the 31st") << "20240501" << "20240531" << QStringList{b, f};
    QTest::newRow("one day") << "20240531" << "20240531" << QStringList{f};
    QTest::newRow("only the to-date") << "" << "20240530" << QStringList{b};
    QTest::newRow("E's current sale only") << "20240601" << "" << QStringList{e};
}

void TestReports::taxList()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, rows);
    OverSixCars<Tftax> t;
    QCOMPARE(t->windowTitle(), QStringLiteral("报税表"));
    t.period(from, to);
    t.alt(1);
    QCOMPARE(gridRows(t->DBGrid1), rows);
    QVERIFY(t->SpeedItem3->isEnabled());
    QVERIFY(t.db.messages.messages.isEmpty());
}

void TestReports::taxPrintCountsAndSums()
{
    OverSixCars<Tftax> t;
    t.period("20240501", "20240531");
    t.alt(1);
    // Cleared before printing: every sold car prints, the grid keeps May.
    t.alt(2);
    t.alt(3);
    QCOMPARE(t->tq_tax->recordCount(), 2);
    QCOMPARE(t.prints.documents.size(), 1);
    const Rpt::Page &page = t.prints.documents.first().pages.first();
    QCOMPARE(sourceText(page, "QRLabel12"), DateEdit::blankText());
    QCOMPARE(sourceText(page, "QRLabel15"), QStringLiteral("张三"));
    QCOMPARE(sourceText(page, "count"), QStringLiteral("3"));
    QCOMPARE(sourceText(page, "sum(carprice)"), QStringLiteral("310000.1"));
    QCOMPARE(sourceText(page, "sum(saleprice)"), QStringLiteral("357000.5"));
    const QStringList texts = page.texts();
    // Dates print as dates, whatever time of day the sale stored.
    for (const char *text : {"DP-E", "2024-06-03", "2024-05-31", "330101"})
        QVERIFY2(texts.contains(QString::fromUtf8(text)), text);
    QVERIFY(t.db.messages.messages.isEmpty());
}

void TestReports::badDateIsRefused()
{
    OverSixCars<Tftax> t;
    t.period("202405", "");
    t.alt(1);
    QCOMPARE(t.db.messages.texts(), QStringList{"开始日期不是有效的日期!"});
    QCOMPARE(QApplication::focusWidget(), t->DateEdit3);
    QVERIFY(!t->tq_tax->isActive());

    t.db.messages.clear();
    t.period("20240501", "20240231");
    t.alt(1);
    QCOMPARE(t.db.messages.texts(), QStringList{"结束日期不是有效的日期!"});
    QCOMPARE(QApplication::focusWidget(), t->DateEdit4);
    QVERIFY(!t->tq_tax->isActive());

    // Nor does the print run on it.
    t.period("20240501", "");
    t.alt(1);
    t.period("2024", "");
    t.db.messages.clear();
    t.alt(3);
    QCOMPARE(t.db.messages.texts(), QStringList{"开始日期不是有效的日期!"});
    QVERIFY(t.prints.documents.isEmpty());
}

void TestReports::enterMovesOnThroughTheDates_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("result"); // what May gives
    QTest::newRow("sales statistics") << "sales" << QStringList{"3", "2"}; // received, sold
    QTest::newRow("salesman statistics") << "salesmen" << QStringList{"", "张三"};
    QTest::newRow("tax report") << "tax" << QStringList{"B", "F"};
}

// By keyboard alone: the from date, Enter, the to date, 统计. Enter moves on
// in every field, the figures and the grid too.
void TestReports::enterMovesOnThroughTheDates()
{
    QFETCH(QString, window);
    QFETCH(QStringList, result);
    SixCarsSeeded seeded;
    QPointer<TStatisticsForm> w;
    std::function<QStringList()> shown;
    const auto column = [](DataSet *d, const char *field) {
        QStringList values;
        for (int r = 0; d->isActive() && r < d->recordCount(); ++r)
            values << d->valueAt(r, field).toString();
        return values;
    };
    if (window == "sales") {
        auto *f = new Tfsaleyjtj;
        shown = [f] { return QStringList{f->DBEdit1->text(), f->DBEdit3->text()}; };
        w = f;
    } else if (window == "salesmen") {
        auto *f = new Tfsalesyj;
        shown = [f, column] { return column(f->tq_salesyj, "sales"); };
        w = f;
    } else {
        auto *f = new Tftax;
        shown = [f, column] { return column(f->tq_tax, "carserial_no"); };
        w = f;
    }
    const std::unique_ptr<TStatisticsForm> owner(w);
    w->show();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->DateEdit3->setFocus();
    auto key = [](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, m);
    };
    QTest::keyClicks(QApplication::focusWidget(), "20240501");
    key(Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w->DateEdit4);
    QTest::keyClicks(QApplication::focusWidget(), "20240531");
    QCOMPARE(w->DateEdit3->displayText(), QStringLiteral("2024-05-01"));
    QCOMPARE(w->DateEdit4->displayText(), QStringLiteral("2024-05-31"));
    key(Qt::Key_1, Qt::AltModifier);
    QCOMPARE(shown(), result);
    QVERIFY(seeded.db.messages.messages.isEmpty());

    // On past the to date, and from each later field to the next.
    w->DateEdit4->setFocus();
    QWidget *last = w->DateEdit4;
    for (int i = 0; i < 12; ++i) {
        key(Qt::Key_Return);
        QWidget *now = QApplication::focusWidget();
        QVERIFY(now && w->isAncestorOf(now));
        if (now == w->DateEdit3)
            break; // round to the first field
        QVERIFY(now != last);
        last = now;
    }
    QCOMPARE(QApplication::focusWidget(), w->DateEdit3);
    QCOMPARE(w->DateEdit4->displayText(), QStringLiteral("2024-05-31"));
}

void TestReports::failingStatisticsShowNothing()
{
    TestDb db;
    SalesFixture::sixCars(db);
    db.exec("DROP VIEW salesview");
    Statistics<Tfsaleyjtj> figures;
    figures.alt(1);
    // The figures that do not need the view are still computed.
    QCOMPARE(figures->DBEdit1->text(), QStringLiteral("5"));
    QCOMPARE(figures->DBEdit4->text(), QStringLiteral("2"));
    QVERIFY(!figures->tq_sale->isActive());
    QCOMPARE(figures->DBEdit3->text(), QString());
    QVERIFY(figures->SpeedItem3->isEnabled());
    delete figures.w.data();

    Statistics<Tfsalesyj> salesmen;
    salesmen.alt(1);
    QVERIFY(!salesmen->tq_salesyj->isActive());
    QVERIFY(!salesmen->SpeedItem3->isEnabled());
    delete salesmen.w.data();

    Statistics<Tftax> tax;
    tax.alt(1);
    QVERIFY(!tax->tq_tax->isActive());
    QVERIFY(!tax->SpeedItem3->isEnabled());
    QVERIFY(db.messages.messages.isEmpty());

    // The print's own statement fails with the database's message, nothing printed.
    CapturedPrints prints;
    db.exec("CREATE VIEW salesview AS SELECT carserial_no, carmodel, chassis_no, 'K1' AS customerid,"
            " '' AS custname, carprice AS rkjg, carprice AS chkjg FROM carinfor");
    tax.alt(1);
    QCOMPARE(tax->tq_tax->recordCount(), 6);
    tax.alt(3);
    QCOMPARE(db.messages.messages.size(), 1);
    QVERIFY(prints.documents.isEmpty());
}

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
