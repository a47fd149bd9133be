#pragma once

class QWidget;

// In entry windows Enter moves the focus to the next control, like Tab, and
// is swallowed (so it confirms no dialog). Multi-line text keeps its Enter.
// Installed once the window's controls exist (a grid's cell editor, made
// later, keeps its Enter to end the edit).
void installEnterMovesOn(QWidget *window);

// A control that keeps its own Enter (a grid with its own walk through the
// cells): the window's rule leaves it and everything inside it alone.
void keepEnter(QWidget *control);
