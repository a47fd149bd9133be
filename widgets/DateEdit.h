#pragma once

#include <QDate>
#include <QLineEdit>

class QCalendarWidget;

// A date field that can be empty: the blank mask "    -  -  " with a
// four-digit year, and a calendar that drops down from its button. A date
// typed only in part counts as empty.
class DateEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DateEdit(QWidget *parent = nullptr);

    static QString blankText() { return QStringLiteral("    -  -  "); }

    // Invalid when empty or not a whole, real date.
    QDate date() const;
    bool isEmpty() const { return !date().isValid(); }
    // An invalid date empties the field.
    void setDate(const QDate &date);
    void clearDate() { setDate(QDate()); }

    // Opens the calendar under the field (its button does the same).
    void dropDown();
    QCalendarWidget *calendar() const { return m_calendar; }

signals:
    // The user changed the date, by typing or from the calendar.
    void dateEdited(const QDate &date);

private:
    QCalendarWidget *m_calendar = nullptr;
};
