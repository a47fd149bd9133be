#pragma once

#include <QWidget>

// A business window of the main window's document area. It is freed when it
// closes (the main window's QPointer to it then empties itself); a window
// with unsaved input asks its question in closeEvent and may ignore the event
// to stay open.
class ChildForm : public QWidget {
    Q_OBJECT
public:
    explicit ChildForm(QWidget *parent = nullptr);
};
