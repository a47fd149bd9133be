#pragma once

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

// The pieces that the finance entry windows lay out alike.

// Labelled fields in two columns, in screen order.
class FieldGrid : public QGridLayout {
public:
    explicit FieldGrid(QWidget *form) : m_form(form) {}
    // The caption is the field's buddy: its messages name the field by it.
    void place(const QString &label, QWidget *field);
    // The next field starts a row of its own.
    void endRow() { m_place += m_place % 2; }
    // A field over the whole width, on a row of its own.
    void placeWide(const QString &label, QWidget *field);

private:
    QWidget *m_form;
    int m_place = 0;
};

// The status bar with its one text.
QStatusBar *statusBar(QWidget *form, const QString &text);

// The window from top to bottom: the speed bar, "帐目流水号：" with the entry
// number beside "操作员：" with the operator, the fields, the status bar.
void layOutEntryForm(QWidget *form, QWidget *speedBar, QWidget *number, QLabel *operatorName,
                     FieldGrid *fields, QStatusBar *status);
