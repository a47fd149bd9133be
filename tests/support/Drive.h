#pragma once

#include <QString>

class QWidget;
class DBGrid;

// Driving a real window as a user does, by the object names of its widgets.
namespace Drive {

// Clicks the named button, which must exist and be enabled; false otherwise.
bool press(QWidget *window, const char *button);
// Sends each character as a key press (also characters a Latin keyboard lacks).
void typeText(QWidget *target, const QString &text);
// Focuses the named line edit, empties it with the keyboard and types the text.
bool type(QWidget *window, const char *edit, const QString &text);
// The grid's column showing the field; -1 when none.
int column(const DBGrid *grid, const QString &field);
// Leaves the field as the Tab key does.
void leave(QWidget *field);
// Opens the editor of the grid's current cell, types the text and ends with Enter.
bool typeCell(DBGrid *grid, const QString &text);

} // namespace Drive
