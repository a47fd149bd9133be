#pragma once

#include "DBGrid.h"
#include "StatisticsForm.h"

// "报税表": the cars sold in a period with their customer, the customer's ID
// number and both prices, printed as Tfrep_shbb with their count and sums.
class Tftax : public TStatisticsForm {
    Q_OBJECT
public:
    explicit Tftax(QWidget *parent = nullptr);
    static constexpr int PageSize = 200;

    DataSet *tq_tax;
    DataSource *ds_tax;
    DBGrid *DBGrid1;

    void SpeedItem3Click() override;

protected:
    QList<Result> results(const QDate &from, const QDate &to) const override;
};
