#include "Utax.h"
#include "rep_shbb.h"

Tftax::Tftax(QWidget *parent)
    : TStatisticsForm(QStringLiteral("ftax"), QStringLiteral("报税表"), QString(), parent)
{
    ds_tax = addQuery(QStringLiteral("tq_tax"), QStringLiteral("ds_tax"));
    tq_tax = ds_tax->dataSet();
    // Every sold car of the years may be listed: read as it is looked at.
    tq_tax->setKeyFields({SalesStatistics::TaxListKey});
    tq_tax->setPageSize(PageSize);
    DBGrid1 = addResultGrid(ds_tax, {{QStringLiteral("车系列号"), QStringLiteral("carserial_no")},
                                     {QStringLiteral("车型"), QStringLiteral("carmodel")},
                                     {QStringLiteral("底盘号"), QStringLiteral("chassis_no")},
                                     {QStringLiteral("客户代码"), QStringLiteral("customerid")},
                                     {QStringLiteral("客户名称"), QStringLiteral("custname")},
                                     {QStringLiteral("证件号码"), QStringLiteral("legalpersonid")},
                                     {QStringLiteral("入库价格"), QStringLiteral("carprice")},
                                     {QStringLiteral("销售价格"), QStringLiteral("saleprice")}});
    resize(760, 460);
}

QList<TStatisticsForm::Result> Tftax::results(const QDate &from, const QDate &to) const
{
    return {{tq_tax, SalesStatistics::taxList(from, to, SalesStatistics::Names::Grid)}};
}

void Tftax::SpeedItem3Click()
{
    Tfrep_shbb layout(this);
    printList(layout, QStringLiteral("rep_shbb"), SalesStatistics::taxList, QStringLiteral("QRLabel12"),
              QStringLiteral("QRLabel13"), QStringLiteral("QRLabel15"));
}
