#pragma once

#include <QWidget>
#include <functional>

// A business window of the main window's document area. It is freed when it
// closes (the main window's QPointer to it then empties itself); a window
// with unsaved input asks its question in closeEvent and may ignore the event
// to stay open.
class ChildForm : public QWidget {
    Q_OBJECT
public:
    explicit ChildForm(QWidget *parent = nullptr);

    // Shows another window where this one stands: in the same document area
    // (centred, freed with its frame when it closes), or on its own.
    void showAlongside(ChildForm *window) const;

    // Gives the window the keyboard: to the field that last had it, else to
    // its first field that takes Tab, else to the window itself (so that its
    // speed buttons' keys still reach it).
    void takeFocus();

protected:
    bool event(QEvent *event) override;

    // The question on closing with unsaved input, with Yes, No and Cancel
    // (the default, so a stray Enter neither saves nor discards). Yes runs
    // save (true when stored), No runs discard; a refused or failed save or
    // discard, and Cancel, keep the window open. True when it may close.
    bool askBeforeClose(const QString &question, const std::function<bool()> &save,
                        const std::function<void()> &discard);
};
