#pragma once

class QAbstractButton;
class QWidget;

// Which controls the Enter rule of a window passes over.
enum class EnterRule {
    ExceptMultiLine, // multi-line text keeps its Enter for new lines
    EveryControl,    // multi-line text too; Shift+Enter still breaks its line
};

// In entry windows Enter moves the focus to the next control, like Tab, and
// is swallowed. On a focused button it presses that button, as the platform
// does. Installed once the window's controls exist (a grid's cell editor,
// made later, keeps its Enter to end the edit).
void installEnterMovesOn(QWidget *window, EnterRule rule = EnterRule::ExceptMultiLine);

// A control that keeps its own Enter (a grid with its own walk through the
// cells): the window's rule leaves it and everything inside it alone.
void keepEnter(QWidget *control);

// The last field of a small form (a login box): its Enter presses the button
// (the form's OK) instead of moving on.
void enterPresses(QWidget *field, QAbstractButton *button);
