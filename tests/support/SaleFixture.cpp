#include "SaleFixture.h"
#include "Clock.h"

void SaleFixture::seed(TestDb &db)
{
    QVERIFY(db.dm->trsk->locate("personnelid", "admin"));
    Clock::setNow(Now);
    db.exec("UPDATE XTDH SET YM_S='202405'");
    db.insert("ccustomer", {{"customerid", "C001"}, {"custname", "客户甲"}, {"legalpersonid", "ID-1"}});
    db.insert("ccustomer", {{"customerid", "C002"}, {"custname", "客户乙"}});
    db.insert("subject", {{"subjectid", "01"}, {"subjectname", "保养"}, {"subjecttype", "服务费"}});
    db.insert("subject", {{"subjectid", "02"}, {"subjectname", "上牌"}, {"subjecttype", "服务费"}});
    db.insert("subject", {{"subjectid", "03"}, {"subjectname", "脚垫"}, {"subjecttype", "赠品"}});
    db.insert("subject", {{"subjectid", "04"}, {"subjectname", "运费"}, {"subjecttype", "车辆附加费"}});
}

void SaleFixture::addCar(TestDb &db, const QString &serial, CarStatus status, double price,
                         const QVariantMap &more)
{
    QVariantMap row{{"carserial_no", serial},     {"carmodel", "桑塔纳"},
                    {"color", "红"},              {"chassis_no", "CH-" + serial},
                    {"engine_no", "EN-" + serial}, {"carprice", price},
                    {"carstatus", codeValue(status)}};
    row.insert(more);
    db.insert("carinfor", row);
}

void SaleFixture::addContract(TestDb &db, const QString &contractNo, const QString &customer,
                              ContractProgress state, const QList<int> &quantities)
{
    const QString serial = "SS-" + contractNo;
    db.insert("csalecontract", {{"salecont_no", serial},
                                {"contract_no", contractNo},
                                {"customerid", customer},
                                {"custname", customer == "C001" ? "客户甲" : "客户乙"},
                                {"isfinished", codeValue(state)}});
    for (int qty : quantities)
        db.insert("csalecontdetail", {{"salecont_no", serial}, {"carmodel", "桑塔纳"}, {"qty", qty}});
}

void SaleFixture::addSale(TestDb &db, const QString &number, const QString &serial,
                          const QString &customer, const QString &date, double price,
                          const QString &contractNo)
{
    db.insert("caroutstock", {{"carout_no", number},
                              {"carserial_no", serial},
                              {"customerid", customer},
                              {"custname", customer == "C001" ? "客户甲" : "客户" + customer},
                              {"outstock_date", date},
                              {"saleprice", price},
                              {"salecontract_no", contractNo.isEmpty() ? QVariant() : contractNo}});
}
