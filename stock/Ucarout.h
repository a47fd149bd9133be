#pragma once

#include "CarChoice.h"
#include "ContractChoice.h"
#include "DBControls.h"
#include "DocumentForm.h"

#include <QLabel>
#include <QPointer>
#include <QToolButton>

class Tfoutaddcost;

// 车辆销售: one car in stock sold to a customer at a time. "新增" takes the
// car and stores its out-stock record with only its number; "提交" writes the
// sale in one transaction: the record, the car sold, the customer's
// unverified charge and the contract finished once all its cars are out
// (bookSale of CarMoves.h).
class Tfcarout : public DocumentForm {
    Q_OBJECT
public:
    explicit Tfcarout(QWidget *parent = nullptr);

    // How "新增" chooses a car in stock and the contract button a started contract.
    CarChoice chooseCar = carPicker(CarScope::InStock);
    ContractChoice chooseContract = saleContractPicker(ContractScope::Started);

    DataSet *tb_carout, *tb_carinfor;
    DataSource *ds_carout, *ds_carinfor;
    DBText *DBText1;
    QLabel *Label10;
    ComboEdit *ComboEdit2; // contract number
    DBEdit *DBEdit1;
    ComboEdit *ComboEdit1; // customer code
    DBEdit *DBEdit10, *DBEdit2;
    DBEdit *DBEdit4, *DBEdit19, *DBEdit18, *DBEdit14, *DBEdit15, *DBEdit16, *DBEdit12, *DBEdit11,
        *DBEdit13, *DBEdit6, *DBEdit21, *DBEdit20;
    DBEdit *DBEdit3, *DBEdit5;
    DBDateEdit *DBDateEdit2;
    DBEdit *DBEdit8;
    QToolButton *SpeedItem1, *SpeedItem5, *SpeedItem3, *SpeedItem2, *SpeedItem7;
    // The services-and-presents window opened last.
    QPointer<Tfoutaddcost> foutaddcost;

    void SpeedItem1Click(); // 新增
    void SpeedItem5Click(); // 提交
    void SpeedItem3Click(); // 取消
    void SpeedItem2Click(); // 附加费
    void ComboEdit2ButtonClick();
    void ComboEdit2Exit();
    void ComboEdit1ButtonClick();
    void ComboEdit1Exit();

    void SetSaleEditing(bool on);
    // 0 when the sale was stored, 1 when a check refused it (message shown,
    // focus on the field to mend). A database failure throws, nothing written.
    int SaveSale();
    void CancelNewSale();
    // Prints the out-stock slip of one sale; a failing printer is ignored.
    void PrintOutSlip(const QString &number);

protected:
    QString closeQuestion() const override { return QStringLiteral("是否出库单?"); }
    int saveDocument() override { return SaveSale(); }
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    int refuse(const QString &message, QWidget *field);

    bool m_lookingUp = false;
};
