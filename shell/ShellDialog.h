#pragma once

#include <QDialog>
#include <QList>
#include <QPair>

class QPushButton;

// Puts a window in the middle of the screen its owner stands on (its own
// screen without one), whatever size the owner has at that moment.
void centreOnScreen(QWidget *window);

// A small form dialog of the shell: labelled fields above the buttons
// BitBtn1 "确定" (runs check(), its failures shown as the database's
// message) and BitBtn2 "取消". Enter in an edit passes the focus on, as in
// the entry windows, and in the last edit presses "确定"; Enter on a button
// presses it.
class ShellDialog : public QDialog {
    Q_OBJECT
public:
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;

protected:
    ShellDialog(QWidget *parent, const QString &objectName, const QString &caption,
                Qt::WindowFlags flags);
    // Each row is a caption and its field; a row without a caption gives its
    // widget the whole width.
    void setRows(const QList<QPair<QString, QWidget *>> &rows);
    // Accepts the dialog when the input passes; otherwise says why.
    virtual void check() = 0;
};
