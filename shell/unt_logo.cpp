#include "unt_logo.h"
#include "Pictures.h"
#include "ShellDialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace {
int g_interval = 3000;
}

void Tfrm_logo::setInterval(int ms) { g_interval = ms; }
int Tfrm_logo::interval() { return g_interval; }

Tfrm_logo::Tfrm_logo(QWidget *parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      Image1(new QLabel(this)),
      Timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("frm_logo"));
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(Pictures::splash());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Image1);
    setFixedSize(Image1->pixmap().size());

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    // A coarse timer may fire up to 5% early; the splash stays its full time.
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(g_interval);
    connect(Timer1, &QTimer::timeout, this, &Tfrm_logo::Timer1Timer);
}

// The time starts once the window is up, not in its show event: showing a
// splash screen outside the application's event loop runs pending events, and
// a time-up there would close the splash before its modal loop began, which
// then never ends.
void Tfrm_logo::setVisible(bool visible)
{
    // The owner may not be maximised yet: centred on the screen, not on it.
    if (visible)
        centreOnScreen(this);
    QDialog::setVisible(visible);
    if (visible)
        Timer1->start();
}

void Tfrm_logo::Timer1Timer()
{
    m_timeUp = true;
    accept();
}

void Tfrm_logo::closeEvent(QCloseEvent *event)
{
    if (m_timeUp)
        event->accept();
    else
        event->ignore();
}

// Escape would reject the dialog: the splash only goes when its time is up.
void Tfrm_logo::keyPressEvent(QKeyEvent *event) { event->accept(); }
