#pragma once

#include "ContractChoice.h"
#include "DBControls.h"
#include "StockQueryForm.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

// 车辆销售查询: the sold cars with their sales, narrowed by the conditions,
// with each car's sums of presents and services; prints the out-stock list.
class Tfcaroutsele : public StockQueryForm {
    Q_OBJECT
public:
    explicit Tfcaroutsele(QWidget *parent = nullptr);

    // How the contract-number button chooses a contract (every contract).
    ContractChoice chooseContract = saleContractPicker(ContractScope::All);

    DataSet *tq_carout;
    DataSource *ds_carout;
    ComboEdit *ComboEdit2; // contract number
    QLineEdit *Edit1;      // serial number
    ComboEdit *ComboEdit1; // customer code
    QLineEdit *Edit2;      // customer name
    QLineEdit *Edit3;      // chassis number
    QComboBox *ComboBox1;  // car model
    DateEdit *DateEdit1, *DateEdit2;
    QLabel *Label6;
    QLabel *statusText;

    // The list's statement and the printed list's, before their conditions.
    static QString listSql();
    static QString printSql();
    // What the filters hold: texts as typed, a date blank (invalid) for none.
    struct Filter {
        QString serial, customerCode, contractNo, customerName, chassis, model;
        QDate from, to;
    };
    Filter filter() const;
    // Each filled filter a bound condition.
    static QueryConditions conditions(const Filter &typed);
    // The list as the window reads it: the sales by their date.
    static ListStatement listStatement(const Filter &typed);

    void SpeedItem1Click(); // 查询
    void SpeedItem3Click(); // 清除条件
    void SpeedItem6Click(); // 打印
    void ComboEdit2ButtonClick();
    void ComboEdit1ButtonClick();

private:
    void FormCreate();
    void ds_caroutStateChange();
};
