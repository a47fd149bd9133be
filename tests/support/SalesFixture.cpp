#include "SalesFixture.h"
#include "TestDb.h"

namespace SalesFixture {

void receive(TestDb &db, const QString &serial, int status, double price, const QString &when)
{
    db.insert("carinfor", {{"carserial_no", serial}, {"carmodel", "桑塔纳"},
                           {"chassis_no", "DP-" + serial}, {"carprice", price}, {"carstatus", status}});
    db.insert("carinstock", {{"carin_no", "RS-" + serial}, {"carserial_no", serial},
                             {"instock_date", when}});
}

void sell(TestDb &db, const QString &carout_no, const QString &serial, const QVariant &salesman,
          const QString &customerid, const QString &custname, double price, const QString &when)
{
    db.insert("caroutstock", {{"carout_no", carout_no}, {"carserial_no", serial}, {"sales", salesman},
                              {"customerid", customerid}, {"custname", custname},
                              {"saleprice", price}, {"outstock_date", when}});
}

void present(TestDb &db, const QString &id, const QString &serial, double cost)
{
    db.insert("presentcost", {{"presentid", id}, {"carserial_no", serial}, {"cost", cost}});
}

void service(TestDb &db, const QString &id, const QString &serial, double cost)
{
    db.insert("servicecost", {{"serviceid", id}, {"carserial_no", serial}, {"cost", cost}});
}

void sixCars(TestDb &db)
{
    db.insert("ccustomer", {{"customerid", "K1"}, {"custname", "客户甲"}, {"legalpersonid", "330101"}});
    db.insert("ccustomer", {{"customerid", "K2"}, {"custname", "客户乙"}, {"legalpersonid", "330102"}});

    receive(db, "A", 0, 100000, "2024-05-02 10:00:00");

    receive(db, "B", 1, 100000.1, "2024-05-03 10:00:00");
    sell(db, "CS-B", "B", "张三", "K1", "客户甲", 117000.2, "2024-05-10 09:00:00");
    present(db, "ZS-B1", "B", 300.5);
    present(db, "ZS-B2", "B", 200);
    service(db, "VS-B1", "B", 1500);
    service(db, "VS-B2", "B", 33.83);

    receive(db, "C", 2, 50000, "2024-05-05 11:00:00");

    receive(db, "D", 3, 80000, "2024-04-20 10:00:00");
    sell(db, "CS-D", "D", "李四", "K1", "客户甲", 90000, "2024-05-08");
    present(db, "ZS-D", "D", 100);

    receive(db, "E", 1, 150000, "2024-04-01 10:00:00");
    sell(db, "CS-E1", "E", "李四", "K2", "客户乙", 160000, "2024-05-12");
    sell(db, "CS-E2", "E", "", "K2", "客户乙", 170000, "2024-06-03 10:00:00");
    present(db, "ZS-E", "E", 500);
    service(db, "VS-E", "E", 800);

    receive(db, "F", 1, 60000, "2024-05-31 08:00:00");
    sell(db, "CS-F", "F", QVariant(), "K9", "客户丙", 70000.3, "2024-05-31 14:30:00");
    service(db, "VS-F", "F", 67.67);
}

} // namespace SalesFixture
