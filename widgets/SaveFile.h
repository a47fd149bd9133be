#pragma once

#include "SaveFileSeam.h"

#include <functional>

// A save-file dialog with no filter and no default extension: the name the
// user types is used as it stands. Tests replace the dialog by a chooser.
class SaveFileDialog : public SaveFileSeam {
    Q_OBJECT
public:
    explicit SaveFileDialog(QObject *parent = nullptr);

    // Shows the dialog; false when the user cancelled.
    bool execute(QWidget *parent = nullptr) override;

    // The chooser returns the chosen path, or an empty text for cancel.
    using Chooser = std::function<QString(const QString &suggested)>;
    static void setChooser(Chooser chooser); // empty restores the real dialog
};
