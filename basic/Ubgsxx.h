#pragma once

#include "ChildForm.h"
#include "DBControls.h"
#include "SpeedBar.h"

#include <QLabel>

// 本公司信息注册: the dealer's own company, the one row of `bgsxx`. Editing an
// empty table starts that row; later edits change it.
class Tfbgsxx : public ChildForm {
    Q_OBJECT
public:
    explicit Tfbgsxx(QWidget *parent = nullptr);

    void SetCompanyEditing(bool editing);

    DataSet *tb_bgsxx;
    DataSource *ds_bgsxx;
    DBEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit4, *DBEdit5, *DBEdit6, *DBEdit7, *DBEdit8,
        *DBEdit9, *DBEdit10, *DBEdit11, *DBEdit12;
    QLabel *Label14;
    QToolButton *SpeedItem1;
    QToolButton *SpeedItem2;
    QToolButton *SpeedItem3;
    QToolButton *SpeedItem4;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void SpeedItem1Click();
    void SpeedItem2Click();
    void SpeedItem3Click();
};
