#pragma once

#include "DateEdit.h"
#include "FieldLink.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

// Controls bound to one field of a data source (the original's data-aware
// edits). Each shows the current row and writes what the user types at once.

// The edit of a field that stores codes: letters typed or pasted become
// capitals where they stand, and a value shown is shown in capitals (it is
// stored so only once typed over).
void setUpperCaseInput(QLineEdit *edit, bool upper = true);

// Why typed text is no amount for the field of that caption (the warning to
// show); empty when it is an amount within the typed limit, or empty.
QString amountRefusal(const QString &caption, const QString &text);

// A line edit that holds the codes or numbers of the field (a filter on it)
// is at least wide enough to show the longest of them whole.
void fitCodes(QLineEdit *edit, const QString &field);

class DataSet;

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
    // An amount field: a key that would make the text anything but an amount
    // within Money's typed limit is refused with a message naming the field.
    // A lone sign or point stores null and is cleared when the field is left.
    void setAmount(const QString &caption);
    // True unless this is an amount field whose text is no amount within the
    // limit (text put in by the program, not typed); then the refusal is
    // shown and the focus comes back here. Empty text passes.
    bool amountPasses();

    // Wide enough for the longest code or number of its field.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    bool m_amount = false;
    QString m_caption;
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
    // Not while the row is closed: nothing can be chosen then.
    void showPopup() override;

private:
    bool m_showing = false;
};

// A date field of the row. The blank mask stores null and a whole date
// stores the date. Anything else (typed in part, no such day) stays in the
// field and never reaches the row: leaving the field, or a save that runs
// datesPass, refuses it with a warning naming the caption and brings the focus
// back. The text stays until the row or this field's value changes.
class DBDateEdit : public DateEdit, public BoundControl {
    Q_OBJECT
public:
    explicit DBDateEdit(QWidget *parent = nullptr);
    // Whenever the row goes into editing with this date empty, it gets the
    // current date and time. Called after setDataSource.
    void setDefaultToNow();

    // The field's name in messages: the caption set here, else the text of the
    // label whose buddy this edit is, without its colon.
    void setCaption(const QString &caption) { m_caption = caption; }
    QString caption() const;
    // True when the field holds the blank mask or a whole date; otherwise the
    // warning is shown and the focus comes back here.
    bool datePasses();
    // Every bound date edit inside `window` passes; the first that does not
    // is refused. A window runs this before it writes its rows.
    static bool datesPass(QWidget *window);

protected:
    void focusOutEvent(QFocusEvent *event) override;
    bool takesInput() const override { return DateEdit::takesInput() && m_link->takesInput(); }

private:
    void showValue(const QVariant &value);

    QString m_caption;
    QDate m_shown; // the field's date as last shown or written
    bool m_refusing = false;
};

// The field's value as display text (label and text of the original).
class DBText : public QLabel, public BoundControl {
    Q_OBJECT
public:
    explicit DBText(QWidget *parent = nullptr);

    // Wide enough for the longest code or number of its field, whatever it
    // shows now.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
};

// A line edit with a picker button at its end; the window opens its picker
// on buttonClick. Alt+Down or F4 press the button, as they open a date
// edit's calendar.
class ComboEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit ComboEdit(QWidget *parent = nullptr);
    void clickButton() { emit buttonClick(); }
    // Typed letters become capitals.
    void setUpperCase(bool upper) { setUpperCaseInput(this, upper); }

signals:
    void buttonClick();
    // The one place that tells that the user left the field, where a typed
    // code is looked up: by Tab, Backtab, Enter (which moves on as Tab does),
    // a click into another field or a caption's access key, or with the
    // program handing the focus on to another field of the same window. Not
    // when a popup (the picker, a calendar, a message box), another window or
    // the menu bar takes the focus for a while, nor when the window closes.
    // A refusal putting the focus on the field to mend (focusToMend) is no
    // leaving either, so that one action shows one refusal; but the field a
    // refusal sent the focus to counts any move onward, so that its code is
    // checked again.
    void exited();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool userLeft(Qt::FocusReason reason) const;

    bool m_toMend = false; // a refusal put the focus here
};

// Puts the focus on the field a refusal names, after its message.
void focusToMend(QWidget *field);

// A field and its caption side by side in a grid of captioned fields: column
// col takes grid columns 2*col and 2*col+1. The caption is the field's buddy,
// so a field's messages name it by its caption.
QLabel *placeField(QGridLayout *grid, int row, int col, const QString &caption, QWidget *field,
                   Qt::Alignment captionAlignment = {});

// The label shows a list's count as the format's %1 once the database has it,
// after the first screen. A list read anew clears it until then; a list that
// could not be read leaves it as it stood.
void showCountOn(QLabel *label, DataSet *list, const QString &format);
