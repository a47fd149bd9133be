#include "Guard.h"
#include "DMsales.h"
#include "Messages.h"
#include "SaveFile.h"

#include <QGuiApplication>

bool guard(const std::function<void()> &action, QWidget *parent)
{
    try {
        action();
        return true;
    } catch (const AppError &e) {
        Msg::error(e.message(), parent);
    }
    return false;
}

namespace {
void hourglass(bool on)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return; // no screen
    if (on)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}
} // namespace

BusyCursor::BusyCursor() { hourglass(true); }

BusyCursor::~BusyCursor() { hourglass(false); }

void installScreenSeams(TfrmDMcarsales *dataModule)
{
    setErrorReporter([](const QString &message) { Msg::error(message); });
    if (!dataModule)
        return;
    if (!dataModule->SaveDialog1) {
        dataModule->SaveDialog1 = new SaveFileDialog(dataModule);
        dataModule->SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
    }
    dataModule->hourglass = hourglass;
}
