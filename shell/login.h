#pragma once

#include "ShellDialog.h"

class QLineEdit;

// The login dialog: it ends with OK only when the code has a crights row and
// the password matches it.
class Tflogin : public ShellDialog {
    Q_OBJECT
public:
    // The longest password that can be set anywhere, so that every password
    // that can be set can also be typed here.
    static constexpr int PasswordLength = 12;

    explicit Tflogin(QWidget *parent = nullptr);

    // The code as it is looked up: without blanks before and after.
    QString code() const;

    QLineEdit *Edit1; // code
    QLineEdit *Edit2; // password

protected:
    void check() override; // BitBtn1Click
};
