#include "ModalDialog.h"
#include "ChildForm.h"

#include <QApplication>
#include <QDialog>
#include <QMenuBar>
#include <QPointer>

int execModal(QDialog &dialog)
{
    QPointer<QWidget> window = QApplication::activeWindow();
    if (!window && dialog.parentWidget())
        window = dialog.parentWidget()->window();
    // A menu opened from the keyboard holds the focus only while it is open.
    QPointer<QWidget> field = QApplication::focusWidget();
    if (qobject_cast<QMenuBar *>(field))
        field = nullptr;
    QPointer<ChildForm> form;
    for (QWidget *w = field; w && !form; w = w->parentWidget())
        form = qobject_cast<ChildForm *>(w);

    const int result = dialog.exec();

    if (!window || !window->isVisible() || window == &dialog)
        return result;
    window->activateWindow();
    if (field && field->isEnabled() && field->isVisible() && field->window() == window)
        field->setFocus(Qt::ActiveWindowFocusReason);
    else if (form && form->isVisible())
        form->takeFocus(); // the field went while the dialog stood
    return result;
}
