#pragma once

#include "Register.h"

#include <QAction>
#include <QMenu>

// 供应商信息注册: the providers of `cprovider` with the car models each
// supplies (`cprovcarmodel`), and their printed list. The models are part of
// the provider's entry: changed in the grid or its menu, they are stored with
// the provider by save, in one transaction, or dropped with it by cancel.
class Tfprovxx : public TRegisterForm {
    Q_OBJECT
public:
    explicit Tfprovxx(QWidget *parent = nullptr);
    static RegisterInfo info();
    // The models of the provider shown: this table's rows of its code.
    static inline const QString ModelsTable = QStringLiteral("cprovcarmodel");

    void SetRegisterEditing(bool editing) override;
    void PopupMenu1Popup();

    DataSet *tb_prov() const { return table(); }
    DataSet *tq_provsele() const { return query(); }
    DataSet *tb_provmodel;
    DataSource *ds_provmodel;
    DBGrid *DBGrid2;
    QMenu *PopupMenu1;
    QAction *NINS, *NSAVE, *NCANCEL, *NDEL;

protected:
    SaveResult saveEntry() override;
    void cancelEntry() override;

private:
    // A change of the models is a change of the provider: it starts editing.
    bool beginModelChange();
    void NINSClick();
    void NDELClick();
};
