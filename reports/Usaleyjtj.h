#pragma once

#include "DBControls.h"
#include "StatisticsForm.h"

// "销售业绩统计": ten figures of the dealer's business for a period, shown
// in read-only fields and printed on the sheet Tfrep_saleyj.
class Tfsaleyjtj : public TStatisticsForm {
    Q_OBJECT
public:
    explicit Tfsaleyjtj(QWidget *parent = nullptr);

    // Received (a1, a2); sold, with their presents and services, in one pass
    // (a3, a4, a5, a7, a8, ps, sv); in stock now (a6).
    DataSet *tq_rk, *tq_sale, *tq_live;
    DataSource *ds_rk, *ds_sale, *ds_live;
    DBEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit4, *DBEdit5, *DBEdit6, *DBEdit7, *DBEdit8,
        *DBEdit9, *DBEdit10;

    void SpeedItem3Click() override;

protected:
    QList<Result> results(const QDate &from, const QDate &to) const override;
};
