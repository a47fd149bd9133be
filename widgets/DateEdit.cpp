#include "DateEdit.h"
#include "Clock.h"
#include "Format.h"

#include <QAction>
#include <QCalendarWidget>
#include <QStyle>

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
    if (date != this->date() || (text.isEmpty() && displayText() != blankText()))
        setText(text);
}

void DateEdit::dropDown()
{
    if (!m_calendar) {
        m_calendar = new QCalendarWidget(this);
        m_calendar->setObjectName(QStringLiteral("calendar"));
        m_calendar->setWindowFlags(Qt::Popup);
        connect(m_calendar, &QCalendarWidget::clicked, this, [this](const QDate &d) {
            m_calendar->hide();
            setDate(d);
            emit dateEdited(d);
        });
    }
    m_calendar->setSelectedDate(date().isValid() ? date() : Clock::today());
    m_calendar->move(mapToGlobal(QPoint(0, height())));
    m_calendar->show();
}
