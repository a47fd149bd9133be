#include "Ucustxx.h"
#include "PartnerRows.h"
#include "rep_khxx.h"

RegisterInfo Tfcustxx::info()
{
    RegisterInfo i = partnerRegister("ccustomer", "客户代码", "customerid", "客户名称", "custname");
    i.objectName = QStringLiteral("fcustxx");
    i.caption = QStringLiteral("客户信息注册");
    i.tableName = QStringLiteral("tb_cust");
    i.sourceName = QStringLiteral("ds_cust");
    i.queryName = QStringLiteral("tq_custsele");
    i.querySourceName = QStringLiteral("ds_custsele");
    i.pageControlName = QStringLiteral("PageControl1");
    i.navigatorButtons = {DBNavigator::First, DBNavigator::Prior, DBNavigator::Next,
                          DBNavigator::Last, DBNavigator::Delete, DBNavigator::Refresh};
    i.layout = [](QObject *owner) { return std::make_unique<Tfrep_khxx>(owner); };
    i.reportQuery = QStringLiteral("rep_cust");
    i.fromLabel = QStringLiteral("QRLabel12");
    i.toLabel = QStringLiteral("QRLabel13");
    return i;
}

Tfcustxx::Tfcustxx(QWidget *parent) : TRegisterForm(info(), parent) { FormCreate(); }
