#pragma once

#include "ShellDialog.h"

class QLabel;
class QLineEdit;

// Changes the password of the operator that the data module stands on.
class Tfchngpw : public ShellDialog {
    Q_OBJECT
public:
    explicit Tfchngpw(QWidget *parent = nullptr);

    QLabel *Label4; // the operator's name
    QLineEdit *Edit1; // old password
    QLineEdit *Edit2; // new password
    QLineEdit *Edit3; // confirmation

protected:
    void check() override; // BitBtn1Click
};
