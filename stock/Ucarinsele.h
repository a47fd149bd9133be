#pragma once

#include "DBControls.h"
#include "StockQueryForm.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

// 车辆入库库存查询: cars taken in ("入库": not returned to the provider) or
// in stock now ("库存"), with their in-stock records and direct costs, found
// by the conditions filled in; prints the in-stock slip or the list.
class Tfcarinsele : public StockQueryForm {
    Q_OBJECT
public:
    explicit Tfcarinsele(QWidget *parent = nullptr);

    // The statement of the list and the printed list before its conditions,
    // for the scope chosen: every in-stock record of a car taken in, or of a
    // car in stock now.
    static QString listSql(bool inStockNow);
    // What the filters hold: texts as typed, a date blank (invalid) for none.
    struct Filter {
        QString serial, providerCode, contractNo, providerName, chassis, model;
        QDate from, to;
    };
    Filter filter() const;
    // Each filled filter a bound condition.
    static QueryConditions conditions(const Filter &typed);
    // The list as the window reads it: in-stock records oldest first.
    static ListStatement listStatement(bool inStockNow, const Filter &typed);
    bool inStockNow() const { return RadioGroup1Item1->isChecked(); }

    DataSet *tq_carin;
    DataSource *ds_carin;
    QLabel *Label6; // operator
    ComboEdit *ComboEdit1; // provider code
    ComboEdit *ComboEdit2; // contract number
    QLineEdit *Edit1;      // serial
    QLineEdit *Edit2;      // provider name
    QLineEdit *Edit3;      // chassis
    DateEdit *DateEdit1, *DateEdit2;
    QComboBox *ComboBox1; // model
    QGroupBox *RadioGroup1;
    QRadioButton *RadioGroup1Item0; // 入库
    QRadioButton *RadioGroup1Item1; // 库存
    QLabel *statusText;

    void SpeedItem1Click(); // 查询
    void SpeedItem3Click(); // 清除条件
    void SpeedItem6Click(); // 打印
    void ComboEdit2ButtonClick();
    void ComboEdit1ButtonClick();
    // Prints the list of the conditions as they stand now.
    void PrintInStockList();

private:
    void FormCreate();
    void ds_carinStateChange();
};
