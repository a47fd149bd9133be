#pragma once

#include <QDate>
#include <QLineEdit>

class QCalendarWidget;

// A date field that can be empty: the blank mask "    -  -  " with a
// four-digit year, and a calendar that drops down from its button, Alt+Down
// or F4. In the calendar Enter takes the highlighted day and Escape closes it
// without a change. While the field holds no digit, the first digit typed
// goes to its first position; after that the cursor stays where it is put.
class DateEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DateEdit(QWidget *parent = nullptr);

    static QString blankText() { return QStringLiteral("    -  -  "); }

    // Invalid when empty or not a whole, real date.
    QDate date() const;
    bool isEmpty() const { return !date().isValid(); }
    // Only the blank mask: the field emptied on purpose.
    bool isBlank() const { return displayText() == blankText(); }
    // Neither blank nor a whole, real date: typed in part, or no such day.
    bool holdsBadDate() const { return !isBlank() && !date().isValid(); }
    // The date range of a query window as its fields show it may run: each
    // field blank or a whole date (the condition builder's rule). The first
    // that holds something else is refused with a warning naming it, and gets
    // the focus back.
    static bool rangePasses(DateEdit *from, DateEdit *to);
    // An invalid date empties the field.
    void setDate(const QDate &date);
    void clearDate() { setDate(QDate()); }

    // Opens the calendar under the field, on the field's date or today.
    void dropDown();
    QCalendarWidget *calendar() const { return m_calendar; }

signals:
    // The user changed the date, by typing or from the calendar.
    void dateEdited(const QDate &date);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    // False while no date can be put in (the calendar stays shut).
    virtual bool takesInput() const { return !isReadOnly(); }

private:
    void take(const QDate &date);

    QCalendarWidget *m_calendar = nullptr;
};
