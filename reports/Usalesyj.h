#pragma once

#include "DBGrid.h"
#include "StatisticsForm.h"

// "业务员业绩统计": the figures of each salesman over the cars sold in a
// period, in a grid that prints as Tfrep_ywyyj and exports as text.
class Tfsalesyj : public TStatisticsForm {
    Q_OBJECT
public:
    explicit Tfsalesyj(QWidget *parent = nullptr);

    DataSet *tq_salesyj;
    DataSource *ds_salesyj;
    DBGrid *DBGrid1;
    QToolButton *BitBtn1; // "数据导出"

    void SpeedItem3Click() override;
    void BitBtn1Click();

protected:
    QList<Result> results(const QDate &from, const QDate &to) const override;
};
