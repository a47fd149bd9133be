#pragma once

#include "DateEdit.h"
#include "FieldLink.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

// Controls bound to one field of a data source (the original's data-aware
// edits). Each shows the current row and writes what the user types at once.

// The edit of a field that stores codes: letters typed or pasted become
// capitals where they stand, and a value shown is shown in capitals (it is
// stored so only once typed over).
void setUpperCaseInput(QLineEdit *edit, bool upper = true);

// What every bound control has: its link to the field.
class BoundControl {
public:
    void setDataSource(DataSource *source, const QString &field)
    {
        m_link->setDataSource(source, field);
    }
    FieldLink *link() const { return m_link; }

protected:
    explicit BoundControl(FieldLink *link) : m_link(link) {}
    // The link is a child of the control and outlives this part of it: from
    // here on no row may reach the control being destroyed.
    ~BoundControl() { m_link->release(); }
    FieldLink *const m_link;
};

class DBEdit : public QLineEdit, public BoundControl {
    Q_OBJECT
public:
    explicit DBEdit(QWidget *parent = nullptr);
    // Typed letters become capitals.
    void setUpperCase(bool upper) { setUpperCaseInput(this, upper); }
};

class DBMemo : public QPlainTextEdit, public BoundControl {
    Q_OBJECT
public:
    explicit DBMemo(QWidget *parent = nullptr);

private:
    bool m_showing = false;
};

// A drop-down list: list-only (nothing else can be chosen) or free text.
class DBComboBox : public QComboBox, public BoundControl {
    Q_OBJECT
public:
    explicit DBComboBox(QWidget *parent = nullptr, bool listOnly = true);
    void setItems(const QStringList &items);

private:
    bool m_showing = false;
};

// A date field of the row; an empty or half-typed date is stored as null.
class DBDateEdit : public DateEdit, public BoundControl {
    Q_OBJECT
public:
    explicit DBDateEdit(QWidget *parent = nullptr);
    // Whenever the row goes into editing with this date empty, it gets the
    // current date and time. Called after setDataSource.
    void setDefaultToNow();
};

// The field's value as display text (label and text of the original).
class DBText : public QLabel, public BoundControl {
    Q_OBJECT
public:
    explicit DBText(QWidget *parent = nullptr);
};

// A line edit with a picker button at its end; the window opens its picker
// on buttonClick.
class ComboEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit ComboEdit(QWidget *parent = nullptr);
    void clickButton() { emit buttonClick(); }

signals:
    void buttonClick();
};
