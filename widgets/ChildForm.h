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

protected:
    // The close question over unsaved input (Yes/No/Cancel, Cancel the
    // default): Yes runs save, which is true when it stored everything; No runs
    // discard. True when the window may close; a failure is shown and keeps it.
    bool closeAfterAsking(const QString &question, const std::function<bool()> &save,
                          const std::function<void()> &discard);
};
