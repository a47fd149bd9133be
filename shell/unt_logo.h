#pragma once

#include <QDialog>

class QLabel;
class QTimer;

// The splash window: a picture without a border that closes itself when its
// timer fires, and in no other way.
class Tfrm_logo : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_logo(QWidget *parent = nullptr);

    // How long a new splash stays, in milliseconds (3000; tests shorten it).
    static void setInterval(int ms);
    static int interval();

    QLabel *Image1;
    QTimer *Timer1;

    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Timer1Timer();
    bool m_timeUp = false;
};
