#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box of the help menu.
class Tx_AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit Tx_AboutBox(QWidget *parent = nullptr);

    QLabel *tj_ProgramIcon;
    QLabel *lbl_dbVer;
    QPushButton *OKButton;
};
