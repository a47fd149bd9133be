#pragma once

#include "ChildForm.h"
#include "DBControls.h"
#include "DBGrid.h"
#include "SpeedBar.h"

#include <QLabel>

// 采购直接成本管理: the direct costs of one car in stock (fuel, tolls,
// storage and the like). Changes stay pending until "保存" writes them all,
// each new row numbered as it is stored; "取消" drops them.
class Tfinaddcost : public ChildForm {
    Q_OBJECT
public:
    explicit Tfinaddcost(QWidget *parent = nullptr);

    DataSet *tb_carinfor;
    DataSource *ds_carinfor;
    DataSet *tb_addcost;
    DataSource *ds_addcost;

    DBEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit4, *DBEdit5, *DBEdit6; // the car, read only
    QLabel *Label9; // operator
    DBGrid *dbgrid1;
    QToolButton *SpeedItem5, *SpeedItem2, *SpeedItem3, *SpeedItem4;

    void SpeedItem5Click(); // 选车
    void SpeedItem2Click(); // 保存
    void SpeedItem3Click(); // 取消
    // Shows the car with this serial and its cost rows.
    void showCar(const QString &serial);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void ds_addcostStateChange(DataSet::State state);
    // Open: "保存" and "取消"; closed: "选车" and "退出".
    void arrange(bool open);
    bool costRowPasses();
    bool addingAllowed();
    bool hasChanges() const;
    SaveResult save();

    DataSet::State m_costState = DataSet::Inactive;
};
