#include "SaveFile.h"

#include <QFileDialog>

namespace {
SaveFileDialog::Chooser g_chooser;
}

SaveFileDialog::SaveFileDialog(QObject *parent) : SaveFileSeam(parent) {}

void SaveFileDialog::setChooser(Chooser chooser) { g_chooser = std::move(chooser); }

bool SaveFileDialog::execute(QWidget *parent)
{
    QString chosen;
    if (g_chooser) {
        chosen = g_chooser(fileName);
    } else {
        QFileDialog dialog(parent, title, fileName);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(QString());
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().constFirst();
    }
    if (chosen.isEmpty())
        return false;
    fileName = chosen;
    return true;
}
