#include "Guard.h"
#include "DBControls.h"
#include "DMsales.h"
#include "FieldCaption.h"
#include "Messages.h"
#include "SaveFile.h"

#include <QGuiApplication>

namespace {
// A key the database refused is named as the window shows it, and the focus
// goes to the field to mend.
void showRefusal(const Refusal &refusal, QWidget *parent)
{
    QStringList captions;
    QWidget *mend = nullptr;
    for (const QString &field : refusal.fields) {
        const NamedField named = namedField(parent, refusal.table, field);
        captions << named.caption;
        if (!mend && named.control && named.control->isVisible() && named.control->isEnabled())
            mend = named.control;
    }
    Msg::error(refusalMessage(refusal.kind, captions), parent);
    if (mend)
        focusToMend(mend);
}
} // namespace

bool guard(const std::function<void()> &action, QWidget *parent)
{
    try {
        action();
        return true;
    } catch (const DbError &e) {
        if (e.refusal().kind != Refusal::None)
            showRefusal(e.refusal(), parent);
        else
            Msg::error(e.message(), parent);
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
