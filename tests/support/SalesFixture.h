#pragma once

#include <QString>
#include <QVariant>

class TestDb;

// Rows of the stock as the in-stock, sale and returns windows leave them.
namespace SalesFixture {

// A car and its stock-in record, with the car's state.
void receive(TestDb &db, const QString &serial, int status, double price, const QString &when);
// A sale of the car (the car's state is the caller's). A customer return
// leaves this record with the return's date in place of the sale's.
void sell(TestDb &db, const QString &carout_no, const QString &serial, const QVariant &salesman,
          const QString &customerid, const QString &custname, double price, const QString &when);
void present(TestDb &db, const QString &id, const QString &serial, double cost);
void service(TestDb &db, const QString &id, const QString &serial, double cost);

// Six cars, most of them moved in May 2024, with decimals that sum exactly
// only when summed as money:
// A received 05-02, in stock;
// B received 05-03, sold 05-10 by 张三 to K1, presents 300.5 + 200, services
//   1500 + 33.83;
// C received, returned to its provider (return 05-05);
// D received 04-20, sold, returned by its customer 05-08 (in stock again),
//   a present of 100;
// E received 04-01, sold by 李四 to K2, returned 05-12, sold again 06-03 to
//   K2 with an empty salesman, a present of 500 and a service of 800;
// F received 05-31 08:00, sold 05-31 14:30 without a salesman (null) to K9,
//   a customer no longer in the register, a service of 67.67.
void sixCars(TestDb &db);

} // namespace SalesFixture
