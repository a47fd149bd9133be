#pragma once

#include "ChildForm.h"
#include "DBControls.h"
#include "DBGrid.h"
#include "DBNavigator.h"
#include "SpeedBar.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

// The rights editor: the login accounts of crights with their passwords and
// the rights string, one box per rights position.
class TfSysRights : public ChildForm {
    Q_OBJECT
public:
    explicit TfSysRights(QWidget *parent = nullptr);

    // The 35 rights as the boxes list them, position 1 first.
    static const QStringList &rightsTexts();

    void SetRightsEditing(bool editing);
    DataSet *table() const { return tblSysRights; }

    DataSet *tblSysRights;
    DataSource *dtsSysRights;
    DBGrid *DBGrid1;
    DBEdit *DBEdit2; // code
    DBEdit *DBEdit3; // name
    DBEdit *DBEdit1; // password
    QLineEdit *Edit2; // confirmation
    QLabel *Label6;   // the operator
    QListWidget *CheckListBox1;
    DBNavigator *DBNavigator1;
    QToolButton *SpeedItem1, *SpeedItem2, *SpeedItem3, *SpeedItem4, *SpeedItem5, *SpeedItem6,
        *SpeedItem7;

signals:
    // The logged-in operator's own rights were saved: the menus follow them.
    void operatorRightsChanged();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    bool rowPasses();
    void showRights(const QVariant &rights);
    void writeRights();
    void tickAll(bool granted);
    void tblSysRightsAfterPost();
    void SpeedItem1Click();
    void SpeedItem2Click();
    void SpeedItem3Click();
    void SpeedItem7Click();
    void CheckListBox1ClickCheck();

    FieldLink *m_rightsLink;
    bool m_showing = false;
};
