#pragma once

#include "DBControls.h"
#include "DocumentForm.h"
#include "SpeedBar.h"

#include <QLabel>
#include <QStatusBar>

// 车辆入库: one car at a time taken into stock, optionally against a started
// purchase contract. The save writes the car, its in-stock record, the
// provider's unverified charge and the contract's finishing in one
// transaction (the charge and the contract by bookReceipt of CarMoves.h),
// and then offers the in-stock slip.
class Tfcarin : public DocumentForm {
    Q_OBJECT
public:
    explicit Tfcarin(QWidget *parent = nullptr);

    // 0 when everything was stored, 1 when a check refused it (its message
    // shown, the focus on the field to mend). A database failure throws and
    // stores nothing.
    int SaveInStock();
    void CancelNewInStock();
    void SetInStockEditing(bool on);
    // Prints the in-stock slip of one in-stock number; the printer's failure
    // is dropped, the query's throws.
    static void PrintInSlip(QWidget *owner, const QString &number);

    DataSet *tb_carin;
    DataSource *ds_carin;
    DataSet *tb_carinfor;
    DataSource *ds_carinfor;

    DBText *DBText1;
    QLabel *Label10;
    ComboEdit *ComboEdit2; // contract number
    DBEdit *DBEdit1;       // serial
    ComboEdit *ComboEdit1; // provider code
    DBEdit *DBEdit2;       // provider name
    DBEdit *DBEdit10;
    DBComboBox *DBComboBox1; // model
    DBEdit *DBEdit19, *DBEdit18, *DBEdit14, *DBEdit15, *DBEdit16, *DBEdit12, *DBEdit11, *DBEdit13;
    DBDateEdit *DBDateEdit1;
    DBEdit *DBEdit21, *DBEdit20;
    DBDateEdit *DBDateEdit2;
    DBEdit *DBEdit8;
    QStatusBar *StatusBar1;
    QToolButton *SpeedItem1, *SpeedItem5, *SpeedItem3, *SpeedItem2, *SpeedItem7;

    void SpeedItem1Click(); // 增加
    void SpeedItem5Click(); // 入库
    void SpeedItem3Click(); // 取消
    void ComboEdit2ButtonClick();
    void ComboEdit2Exit();
    void ComboEdit1ButtonClick();
    void ComboEdit1Exit();
    void DBComboBox1Enter();

signals:
    // "附加费": the shell opens the direct costs window.
    void directCostsRequested();

protected:
    QString closeQuestion() const override { return QStringLiteral("是否保存入库单？"); }
    int saveDocument() override { return SaveInStock(); }
    void discardDocument() override { CancelNewInStock(); }
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    int refuse(const QString &message, QWidget *field);
    void loadModels(const QString &sql, const QString &code);

    bool m_lookingUp = false;
};
