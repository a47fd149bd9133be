#include "Generate.h"
#include "Db.h"
#include "Errors.h"
#include "Schema.h"

#include <QDate>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>
#include <cmath>
#include <random>

namespace {

constexpr int Cars = 100000;
constexpr int Customers = 100000;
constexpr int Providers = 2000;
constexpr int BuyContracts = 10000;
constexpr int SaleContracts = 50000;
constexpr int ProviderPayments = 180000;
constexpr int CustomerPayments = 580000;

const QStringList cities = QString("北京 上海 广州 深圳 天津 重庆 成都 武汉 杭州 南京 西安 沈阳 大连 青岛 济南 "
                                   "郑州 长沙 合肥 福州 厦门 昆明 南宁 贵阳 太原 石家庄 哈尔滨 长春 兰州 宁波 苏州")
                               .split(' ');
const QStringList words = QString("华 兴 盛 达 通 顺 鑫 恒 泰 利 宏 远 安 康 永 嘉 瑞 丰 昌 隆 和 信 诚 德 福 金 "
                                  "新 联 友 发 鸿 运 捷 驰 骏 腾 飞 锦 程 宇")
                              .split(' ');
const QStringList surnames = QString("王 李 张 刘 陈 杨 黄 赵 吴 周 徐 孙 马 朱 胡 郭 何 高 林 罗").split(' ');
const QStringList companies = QString("汽车贸易有限公司 运输有限公司 物流有限公司 商贸公司 汽车租赁公司 "
                                      "建筑工程公司 实业有限公司")
                                  .split(' ');
const QStringList brands = QString("LFV LSV LGB LHG LVS LDC LBV LZW").split(' ');
const QStringList models = QString("桑塔纳 捷达 帕萨特 宝来 奥迪A6 别克GL8 凯越 雅阁 飞度 凯美瑞 花冠 "
                                   "皇冠 福克斯 蒙迪欧 伊兰特 索纳塔 赛欧 君威 富康 爱丽舍")
                               .split(' ');
const QStringList trims = QString("1.6L 1.8L 1.8T 2.0L 2.4L 3.0L").split(' ');
const QStringList colors = QString("白 黑 银灰 红 蓝 香槟金").split(' ');

class Random {
public:
    double unit() { return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine); }
    int below(int n) { return int(unit() * n) % n; }
    // Most rows go to a few partners: partner i gets about 1/sqrt(i) of a share.
    int skewed(int n) { return qMin(n - 1, int(n * std::pow(unit(), 2.0))); }
    template <typename T> const T &pick(const QList<T> &list) { return list.at(below(int(list.size()))); }
    QString digits(int n)
    {
        QString s;
        for (int i = 0; i < n; ++i)
            s += QChar('0' + below(10));
        return s;
    }
    QString letters(int n)
    {
        static const QString alphabet = QStringLiteral("ABCDEFGHJKLMNPRSTUVWXYZ0123456789");
        QString s;
        for (int i = 0; i < n; ++i)
            s += alphabet.at(below(int(alphabet.size())));
        return s;
    }
    QDateTime moment(const QDate &from, int days)
    {
        return QDateTime(from.addDays(below(days)), QTime(8 + below(10), below(60), below(60)));
    }
    double money(double low, double high) { return std::round(low + unit() * (high - low)); }

private:
    std::mt19937_64 m_engine{20240501};
};

QString stamp(const QDateTime &t) { return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }
QString day(const QDateTime &t) { return t.toString(QStringLiteral("yyyy-MM-dd")); }
QString code(const char *prefix, int i, int width) { return prefix + QString::number(i).rightJustified(width, '0'); }

// One prepared INSERT, run once per row.
class Insert {
public:
    Insert(const QString &table, const QString &columns) : m_query(Db::connection())
    {
        const int n = int(columns.split(',').size());
        QStringList marks;
        for (int i = 0; i < n; ++i)
            marks << QStringLiteral("?");
        if (!m_query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, columns, marks.join(','))))
            throw DbError(m_query.lastError());
    }
    void operator()(const QVariantList &values)
    {
        for (int i = 0; i < values.size(); ++i)
            m_query.bindValue(i, values.at(i));
        if (!m_query.exec())
            throw DbError(m_query.lastError());
    }

private:
    QSqlQuery m_query;
};

struct Partner {
    QString id, name;
};
struct Contract {
    QString number, contractNo;
    int partner;
};

void fill()
{
    Random r;
    const QDate start(2020, 1, 1);
    const int span = int(start.daysTo(QDate(2024, 12, 31)));

    Insert person("cpersonnel", "personnelid,Name,Job");
    QStringList salesmen;
    for (int i = 1; i <= 40; ++i) {
        const QString name = r.pick(surnames) + r.pick(words) + r.pick(words);
        salesmen << name;
        person({code("Y", i, 3), name, QStringLiteral("业务员")});
    }
    Insert modelRow("model", "code,model");
    QStringList carModels;
    for (const QString &m : models)
        for (const QString &t : trims) {
            carModels << m + ' ' + t;
            modelRow({code("M", int(carModels.size()), 3), carModels.last()});
        }
    Insert typeRow("cconttype", "conttypeid,conttype");
    typeRow({"01", QStringLiteral("整车")});
    typeRow({"02", QStringLiteral("代销")});

    Insert customer("ccustomer", "customerid,custname,legalpersonid,phone,address,zip,linkman,register_date");
    QList<Partner> customers;
    for (int i = 0; i < Customers; ++i) {
        const QString city = r.pick(cities);
        const QString name = r.unit() < 0.6 ? city + r.pick(words) + r.pick(words) + r.pick(companies)
                                            : r.pick(surnames) + r.pick(words) + r.pick(words);
        customers.append({code("K", i, 6), name});
        customer({customers.last().id, name, r.digits(18), "0" + r.digits(10),
                  city + QStringLiteral("市") + r.pick(words) + QStringLiteral("路") + QString::number(r.below(999)) + QStringLiteral("号"),
                  r.digits(6), r.pick(surnames) + r.pick(words), day(r.moment(start, span))});
    }
    Insert provider("cprovider", "providerid,provname,phone,address,linkman,register_date");
    QList<Partner> providers;
    for (int i = 0; i < Providers; ++i) {
        const QString city = r.pick(cities);
        providers.append({code("G", i, 4), city + r.pick(words) + r.pick(words) + QStringLiteral("汽车销售公司")});
        provider({providers.last().id, providers.last().name, "0" + r.digits(10), city, r.pick(surnames) + r.pick(words),
                  day(r.moment(start, span))});
    }
    // Three models per provider, spread without drawing from the random
    // sequence (the rest of the data stays as it was).
    Insert supplies("cprovcarmodel", "providerid,carmodel");
    for (int i = 0; i < Providers; ++i)
        for (int m = 0; m < 3; ++m)
            supplies({providers[i].id, carModels[(i * 7 + m * 13) % carModels.size()]});

    auto contractState = [&r] { const double u = r.unit(); return u < 0.1 ? 0 : u < 0.4 ? 1 : 2; };
    auto contractLines = [&](Insert &line, const QString &number, int lines, int quantity, double low) {
        for (; lines > 0; --lines)
            line({number, QStringLiteral("轿车"), r.pick(carModels), QStringLiteral("国产"), QStringLiteral("辆"),
                  1 + r.below(quantity), r.money(low, low * 5)});
    };
    Insert buyContract("cbuycontract", "buycont_no,contract_no,conttype,providerid,provname,contract_date,"
                                       "arrive_date,settlemode,transportmode,recorder,isfinished");
    Insert buyLine("cbuycontdetail", "buycont_no,cartype,carmodel,producingarea,unit,qty,unitprice");
    QList<Contract> buyContracts;
    for (int i = 0; i < BuyContracts; ++i) {
        const int p = r.skewed(Providers);
        const QDateTime when = r.moment(start, span);
        buyContracts.append({code("BS", i, 8), code("CG", i, 6), p});
        buyContract({buyContracts.last().number, buyContracts.last().contractNo, QStringLiteral("整车"),
                     providers[p].id, providers[p].name, day(when), day(when.addDays(30)), QStringLiteral("电汇"),
                     QStringLiteral("公路"), r.pick(salesmen), contractState()});
        contractLines(buyLine, buyContracts.last().number, 1 + r.below(3), 20, 80000);
    }
    Insert saleContract("csalecontract", "salecont_no,contract_no,conttype,customerid,custname,contract_date,"
                                         "settlemode,recorder,operator,isfinished");
    Insert saleLine("csalecontdetail", "salecont_no,cartype,carmodel,producingarea,unit,qty,unitprice");
    QList<Contract> saleContracts;
    for (int i = 0; i < SaleContracts; ++i) {
        const int c = r.skewed(Customers);
        saleContracts.append({code("SS", i, 8), code("XS", i, 6), c});
        saleContract({saleContracts.last().number, saleContracts.last().contractNo, QStringLiteral("整车"),
                      customers[c].id, customers[c].name, day(r.moment(start, span)), QStringLiteral("现金"),
                      r.pick(salesmen), r.pick(salesmen), contractState()});
        contractLines(saleLine, saleContracts.last().number, 1 + r.below(2), 5, 90000);
    }

    Insert car("carinfor", "carserial_no,carmodel,color,producingarea,vin_no,chassis_no,engine_no,customs_no,"
                           "qualifier_no,commodity_no,factory_date,storearea,carprice,remarks,carstatus,isback");
    Insert carIn("carinstock", "carin_no,buycontract_no,providerid,provname,carserial_no,carintype,buyrecorder,"
                               "instock_date,buyinvoice_no");
    Insert carOut("caroutstock", "carout_no,salecontract_no,customerid,custname,carserial_no,carouttype,"
                                 "salerecorder,sales,outstock_date,saleinvoice_no,saleprice");
    Insert addCost("addcost", "addcostid,carin_no,carserial_no,subjectname,cost");
    Insert present("presentcost", "presentid,carout_no,carserial_no,subjectname,cost");
    Insert service("servicecost", "serviceid,carserial_no,subjectname,cost");
    const QString provLedgerColumns = "paccountid,providerid,provname,provaccttype,income,outgo,account_date,"
                                      "in_date,certificate_no,invoice_no,buycont_no,affirm_recorder,remarks,"
                                      "isaffirm,ischeck,isprepay";
    const QString custLedgerColumns = "caccountid,customerid,custname,custaccttype,income,outgo,account_date,"
                                      "in_date,certificate_no,invoice_no,salecont_no,affirm_recorder,remarks,"
                                      "isaffirm,ischeck,isprepay";
    Insert provLedger("cprovaccount", provLedgerColumns);
    Insert custLedger("ccustaccount", custLedgerColumns);
    int provRows = 0, custRows = 0, outs = 0, presents = 0, services = 0, costs = 0;

    for (int i = 0; i < Cars; ++i) {
        const QString serial = r.pick(brands) + QString::number(i).rightJustified(7, '0');
        const double u = r.unit();
        const int status = u < 0.24 ? 0 : u < 0.96 ? 1 : u < 0.98 ? 2 : 3;
        const double price = r.money(80000, 400000);
        car({serial, r.pick(carModels), r.pick(colors), QStringLiteral("国产"), r.letters(17), r.letters(17),
             r.letters(10), r.digits(12), r.digits(10), r.digits(8), day(r.moment(start.addYears(-1), span)),
             QStringLiteral("一号库"), price, status == 2 ? QStringLiteral("质量问题退货") : QString(), status,
             status == 3 ? 1 : 0});
        const Contract &bc = r.pick(buyContracts);
        const QDateTime in = r.moment(start, span);
        const QString carIn_no = code("RS", i, 8);
        carIn({carIn_no, bc.contractNo, providers[bc.partner].id, providers[bc.partner].name, serial,
               QStringLiteral("采购入库"), r.pick(salesmen), stamp(in), r.digits(8)});
        provLedger({code("PC", i, 8), providers[bc.partner].id, providers[bc.partner].name, QStringLiteral("车款"),
                    price, QVariant(), stamp(in), stamp(in), serial, QVariant(), bc.number, r.pick(salesmen),
                    QVariant(), r.unit() < 0.8 ? 1 : 0, r.unit() < 0.5 ? 1 : 0, 2});
        ++provRows;
        for (int n = r.below(3); n > 0; --n)
            addCost({code("AS", costs++, 8), carIn_no, serial, QStringLiteral("运费"), r.money(100, 3000)});

        // Sold cars: a quarter of them were sold before, returned and sold again.
        int sales = status == 1 ? (r.unit() < 0.25 ? 2 : 1) : status == 3 ? 1 : 0;
        QDateTime when = in;
        for (; sales > 0; --sales) {
            when = when.addDays(5 + r.below(60));
            const Contract &sc = r.pick(saleContracts);
            const Partner &c = customers[sc.partner];
            const QString outNo = code("CS", outs++, 8);
            const double salePrice = std::round(price * (1.02 + r.unit() * 0.13));
            carOut({outNo, sc.contractNo, c.id, c.name, serial, QStringLiteral("销售出库"), r.pick(salesmen),
                    r.pick(salesmen), stamp(when), r.digits(8), salePrice});
            custLedger({code("KC", custRows++, 8), c.id, c.name, QStringLiteral("车款"), QVariant(), salePrice,
                        stamp(when), stamp(when), serial, QVariant(), sc.number, r.pick(salesmen), QVariant(),
                        r.unit() < 0.8 ? 1 : 0, r.unit() < 0.5 ? 1 : 0, 2});
            for (int n = r.below(3); n > 0; --n)
                present({code("ZS", presents++, 8), outNo, serial, QStringLiteral("脚垫"), r.money(100, 2000)});
        }
        if (status == 1)
            for (int n = r.below(3); n > 0; --n)
                service({code("VS", services++, 8), serial, QStringLiteral("保养"), r.money(200, 5000)});
    }

    // Payments, carried balances, refunds and advanced fees, most of them for
    // a few large partners.
    auto kind = [&r] { const double u = r.unit(); return u < 0.94 ? 0 : u < 0.97 ? 1 : 3; };
    for (int i = 0; i < ProviderPayments + 20000; ++i) {
        const Partner &p = providers[r.skewed(Providers)];
        const int k = i < ProviderPayments ? 0 : kind();
        const QDateTime when = r.moment(start, span);
        provLedger({code("PS", provRows++, 8), p.id, p.name, k == 0 ? QStringLiteral("预付款") : QStringLiteral("其他"),
                    QVariant(), r.money(10000, 2000000), stamp(when), stamp(when), r.digits(8), r.digits(8),
                    QVariant(), r.pick(salesmen), QVariant(), 1, r.unit() < 0.5 ? 1 : 0, k});
    }
    for (int i = 0; custRows < 700000; ++i) {
        const Partner &c = customers[r.skewed(Customers)];
        const int k = i < CustomerPayments ? 0 : kind();
        const QDateTime when = r.moment(start, span);
        custLedger({code("KS", custRows++, 8), c.id, c.name, k == 0 ? QStringLiteral("预付款") : QStringLiteral("其他"),
                    r.money(1000, 500000), QVariant(), stamp(when), stamp(when), r.digits(8), r.digits(8),
                    QVariant(), r.pick(salesmen), QVariant(), 1, r.unit() < 0.5 ? 1 : 0, k});
    }
}

} // namespace

QSqlDatabase openDatabase(const QString &path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), Db::ConnectionName);
    db.setDatabaseName(path);
    if (!db.open())
        throw DbError(db.lastError());
    Schema::configure();
    return db;
}

double generateDatabase(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    const QString temporary = path + QStringLiteral(".part");
    for (const char *suffix : {"", "-wal", "-shm"})
        QFile::remove(temporary + suffix);
    {
        QSqlDatabase db = openDatabase(temporary);
        Schema::create();
        Db::exec(QStringLiteral("PRAGMA cache_size = -400000"));
        Db::Transaction t;
        fill();
        t.commit();
        Db::exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        db.close();
    }
    QSqlDatabase::removeDatabase(Db::ConnectionName);
    if (!QFile::rename(temporary, path))
        throw DbError(QStringLiteral("cannot rename %1").arg(temporary));
    return timer.elapsed() / 1000.0;
}

namespace Typical {
QString customer() { return QStringLiteral("K000080"); }
QString provider() { return QStringLiteral("G0200"); }
QString namePrefix() { return QStringLiteral("北京"); }
QString serialPrefix() { return QStringLiteral("LSV0012"); }
QString contractPrefix() { return QStringLiteral("XS0012"); }
} // namespace Typical
