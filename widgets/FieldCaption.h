#pragma once

#include <QString>

class QWidget;

// The caption a window gives a field: the text of the label whose buddy it
// is, without its access key, its colon or the blanks that align it; empty
// when no label names it.
QString buddyCaption(const QWidget *field);

// How a window shows one field of a table.
struct NamedField {
    QString caption;           // the field's own name where no window shows it
    QWidget *control = nullptr; // the bound control to mend it in, if any
};

// Looked up from `near` outward, so the window the action ran in speaks
// first: a control bound to the field, by the label beside it, else a grid
// column showing the field, by its title.
NamedField namedField(QWidget *near, const QString &table, const QString &field);
