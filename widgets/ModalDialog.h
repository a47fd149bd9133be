#pragma once

class QDialog;

// Shows the dialog modally and then gives the keyboard back to where it was
// (the window that was active, else the dialog's owner, and the field that
// had the focus in it), instead of leaving that to the window manager, which
// does not always give it back (after a tool window, or offscreen). Returns
// the dialog's result.
int execModal(QDialog &dialog);
