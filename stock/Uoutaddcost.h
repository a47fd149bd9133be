#pragma once

#include "CarChoice.h"
#include "ChildForm.h"
#include "DBControls.h"
#include "DBGrid.h"
#include "DocumentEntry.h"

#include <QLabel>
#include <QTabWidget>
#include <QToolButton>

// 销售附加业务管理: the services charged and the presents given with a sold
// car. Rows of both tables wait in the window until "保存" writes them all in
// one transaction; each new row takes its number as it is inserted, and a
// number whose row is never stored is given back.
class Tfoutaddcost : public ChildForm {
    Q_OBJECT
public:
    explicit Tfoutaddcost(QWidget *parent = nullptr);

    // How "选车" chooses a sold car.
    CarChoice chooseCar = carPicker(CarScope::Sold);

    DataSet *tb_carinfor, *tb_service, *tb_present;
    DataSource *ds_carinfor, *ds_service, *ds_present;
    DBEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit5, *DBEdit4, *DBEdit6;
    QLabel *Label9;
    QToolButton *SpeedItem5, *SpeedItem2, *SpeedItem3, *SpeedItem4;
    QTabWidget *PageControl1;
    DBGrid *DBGrid1, *DBGrid4;

    void SpeedItem5Click(); // 选车
    void SpeedItem2Click(); // 保存
    void SpeedItem3Click(); // 取消

    // A row of either table being edited, or changes waiting to be saved.
    bool isPending() const;
    // Writes both tables in one transaction; refused when a check refused a
    // row (its message shown). A database failure throws and keeps every change.
    SaveResult SaveCosts();
    // Drops every waiting change and gives back the numbers of the new rows.
    void DiscardCosts();
    // Opens the tables on a sold car.
    void ShowCar(const QString &serial);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    struct CostTable {
        DataSet *data;
        DBGrid *grid;
        DocumentNumbering numbering;
        QStringList drawn; // numbers drawn for new rows and not yet stored
        QString next;      // the number of the row being inserted
    };

    void FormCreate();
    void setUpTable(CostTable &table);
    void ds_StateChange();
    bool costPasses(CostTable &table);
    // Gives back the drawn numbers that no stored row holds; inside the
    // caller's transaction when there is one.
    void giveBackUnstored();
    void closeTables();

    CostTable m_service, m_present;
};
