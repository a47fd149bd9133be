#pragma once

#include "SaveResult.h"

#include <QSize>
#include <QWidget>
#include <functional>

class QScrollArea;
class QTabWidget;

// A business window of the main window's document area. It is freed when it
// closes (the main window's QPointer to it then empties itself); a window
// with unsaved input asks its question in closeEvent and may ignore the event
// to stay open. It never goes deaf: when the field with the focus is disabled,
// hidden or freed (a grid's cell editor after a save), the focus goes on to
// the next field. Ctrl+PgDn and Ctrl+PgUp turn the pages of its tab widget.
// Its fields, as its layout places them, stand in a scroll area: made smaller
// than they need, the window shows scroll bars, every field keeps at least the
// size it needs, and the field that takes the focus is scrolled into view.
class ChildForm : public QWidget {
    Q_OBJECT
public:
    explicit ChildForm(QWidget *parent = nullptr);

    // Shows another window where this one stands: in the same document area
    // (centred, freed with its frame when it closes), or on its own.
    void showAlongside(ChildForm *window) const;

    // Gives the window the keyboard: to the field that last had it, else to
    // its first field that takes Tab (a page's tab is no field), else to the
    // window itself (so that its speed buttons' keys still reach it).
    void takeFocus();

    // One of the window's fields that can take the focus now.
    bool isField(const QWidget *w) const;
    // The first field after the widget in the focus chain, or null.
    QWidget *nextField(const QWidget *from) const;

protected:
    bool event(QEvent *event) override;

    // Refused input: the exclamation box with the message, then the focus
    // back on the field to mend. Refused always, for a save routine to return.
    SaveResult refuse(const QString &message, QWidget *field);

    // The question on closing with unsaved input, with Yes, No and Cancel
    // (the default, so a stray Enter neither saves nor discards). Yes runs
    // save, No runs discard; a refused or failed save or discard, and Cancel,
    // keep the window open. True when it may close.
    bool askBeforeClose(const QString &question, const std::function<SaveResult()> &save,
                        const std::function<void()> &discard);

private:
    // Moves the window's fields and their layout into the scroll area, once,
    // when the window's layout stands (before it is first shown).
    void scrollFields();
    // Until the window's frame is sized otherwise (by the user, or tiling),
    // it follows the size its fields ask for as they are shown: fields that
    // grow by a pixel once polished show no scroll bars.
    void fitFrame();

    // The next or previous page of the tab widget the focus is in, else of
    // the window's first one shown; the focus goes onto the page.
    void turnPage(int step);
    QTabWidget *pagesAtFocus() const;

    QScrollArea *m_scroll = nullptr;
    QSize m_fitted; // the frame's size as the window last fitted it
};
