#include "DateEdit.h"
#include "DBControls.h"
#include "DropDownKey.h"
#include "Clock.h"
#include "Format.h"
#include "Messages.h"
#include "QueryConditions.h"

#include <QAction>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLocale>
#include <QStyle>
#include <utility>

DateEdit::DateEdit(QWidget *parent) : QLineEdit(parent)
{
    setInputMask(QStringLiteral("0000-00-00; "));
    QAction *button = addAction(style()->standardIcon(QStyle::SP_ArrowDown), TrailingPosition);
    button->setObjectName(QStringLiteral("dropDown"));
    connect(button, &QAction::triggered, this, &DateEdit::dropDown);
    connect(this, &QLineEdit::textEdited, this, [this] { emit dateEdited(date()); });
}

QDate DateEdit::date() const
{
    return QDate::fromString(displayText(), Fmt::DateFormat);
}

void DateEdit::setDate(const QDate &date)
{
    const QString text = date.isValid() ? Fmt::date(date) : QString();
    if (date != this->date() || (text.isEmpty() && displayText() != blankText())) {
        setText(text);
        // The mask leaves the cursor behind the text, where no digit goes in.
        if (hasFocus())
            setCursorPosition(0);
    }
}

void DateEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    // The program putting the focus here (a refusal, a window opening) starts
    // at the mask's first position, as Tab does.
    if (event->reason() == Qt::OtherFocusReason)
        setCursorPosition(0);
}

bool DateEdit::rangePasses(DateEdit *from, DateEdit *to)
{
    using End = QueryConditions::DateEnd;
    for (auto [edit, end] : {std::pair{from, End::From}, {to, End::To}}) {
        const QString refusal = QueryConditions::dateRefusal(edit->displayText(), end);
        if (!refusal.isEmpty()) {
            Msg::warning(refusal, edit);
            focusToMend(edit);
            return false;
        }
    }
    return true;
}

void DateEdit::keyPressEvent(QKeyEvent *event)
{
    if (isDropDownKey(event)) {
        dropDown();
        return;
    }
    // With no digit in yet, wherever the cursor stands (after End, a click,
    // a clearing), the first digit starts the year; the mask would drop it
    // behind the last place or put it in the middle.
    const QString typed = event->text();
    if (isBlank() && typed.size() == 1 && typed.at(0) >= QLatin1Char('0') && typed.at(0) <= QLatin1Char('9'))
        setCursorPosition(0);
    QLineEdit::keyPressEvent(event);
}

void DateEdit::take(const QDate &date)
{
    m_calendar->hide();
    setDate(date);
    emit dateEdited(date);
}

void DateEdit::dropDown()
{
    if (!takesInput())
        return; // a date shown, not to be changed
    if (!m_calendar) {
        m_calendar = new QCalendarWidget(this);
        m_calendar->setObjectName(QStringLiteral("calendar"));
        m_calendar->setWindowFlags(Qt::Popup);
        // Month and weekday names as the rest of the program speaks, whatever
        // the system's locale; the field's own date format is not the locale's.
        m_calendar->setLocale(QLocale(QLocale::Chinese, QLocale::China));
        // A click takes the day; Enter (and a double click) activates it.
        // Escape closes the popup as every popup closes on it.
        connect(m_calendar, &QCalendarWidget::clicked, this, &DateEdit::take);
        connect(m_calendar, &QCalendarWidget::activated, this, &DateEdit::take);
        // Its arrows and its month and year menus turn the page alone, and
        // Enter would take a day of the month no longer shown: the marked day
        // goes along, the same day or the month's last.
        connect(m_calendar, &QCalendarWidget::currentPageChanged, this, [this](int year, int month) {
            const QDate marked = m_calendar->selectedDate();
            if (marked.year() == year && marked.month() == month)
                return;
            const QDate first(year, month, 1);
            m_calendar->setSelectedDate(first.addDays(qMin(marked.day(), first.daysInMonth()) - 1));
        });
    }
    m_calendar->setSelectedDate(date().isValid() ? date() : Clock::today());
    m_calendar->move(mapToGlobal(QPoint(0, height())));
    // The days take the keys, not the month and year bar.
    m_calendar->setFocus(Qt::PopupFocusReason);
    m_calendar->show();
}
