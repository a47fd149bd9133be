#pragma once

#include <QDialog>

class QGroupBox;
class QPushButton;
class QRadioButton;

// Asks whether to print the in-stock slip (result 1) or the in-stock list
// (result 6); cancel, Escape and the close box give 2.
class Tfseleprn : public QDialog {
    Q_OBJECT
public:
    enum Result { Slip = 1, List = 6, Cancelled = 2 };

    explicit Tfseleprn(QWidget *owner = nullptr);

    QGroupBox *RadioGroup1;
    QRadioButton *item0; // "  入 库 单"
    QRadioButton *item1; // "  明 细 表"
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;

    int itemIndex() const;

public slots:
    void reject() override;

private:
    void BitBtn1Click();
};
