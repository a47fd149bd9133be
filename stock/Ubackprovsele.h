#pragma once

#include "DBControls.h"
#include "StockQueryForm.h"

#include <QLabel>
#include <QLineEdit>

// 向供应商退货查询: the cars returned to their providers that match the
// conditions, and their count. A return overwrites the in-stock record's
// handler and date, so those two show as the return's.
class Tfbackprovsele : public StockQueryForm {
    Q_OBJECT
public:
    explicit Tfbackprovsele(QWidget *parent = nullptr);

    // The list's statement before its conditions.
    static QString baseText();
    // What the filters hold: texts as typed, a date blank (invalid) for none.
    struct Filter {
        QString serial, providerCode, providerName, chassis;
        QDate from, to;
    };
    Filter filter() const;
    // The list as the window reads it, each filled filter a bound condition.
    static ListStatement listStatement(const Filter &typed);

    DataSet *tq_backprov;
    DataSource *ds_backprov;
    QLineEdit *Edit1;      // 序 列 号
    QLineEdit *Edit2;      // 底盘号
    ComboEdit *ComboEdit1; // 代码(供)
    QLineEdit *Edit3;      // 供应商
    DateEdit *DateEdit1, *DateEdit2;
    QLabel *Label8; // the operator
    QLabel *countLabel;

    void SpeedItem1Click();
    void SpeedItem3Click();
    void ComboEdit1ButtonClick();

protected:
    void closeEvent(QCloseEvent *event) override;
};
