#pragma once

class QWidget;

// In entry windows Enter moves the focus to the next control, like Tab, and
// is swallowed (so it confirms no dialog). Multi-line text keeps its Enter.
// Installed once the window's controls exist (a grid's cell editor, made
// later, keeps its Enter to end the edit).
void installEnterMovesOn(QWidget *window);
