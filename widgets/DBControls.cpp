#include "DBControls.h"
#include "DropDownKey.h"
#include "FieldCaption.h"
#include "Clock.h"
#include "CodeFields.h"
#include "Fonts.h"
#include "Guard.h"
#include "Format.h"
#include "Messages.h"
#include "Money.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QStyle>
#include <QValidator>

namespace {

// The focus goes to a popup (a picker, a calendar, a message box), another
// window or the menu bar, and comes back: the field was not left.
bool takenForAWhile(Qt::FocusReason reason)
{
    return reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason
        || reason == Qt::MenuBarFocusReason;
}

// Changes the text as it is typed, before the edit signals it.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override
    {
        const QString upper = input.toUpper();
        pos += int(upper.size() - input.size()); // a letter may grow ("ß" to "SS")
        input = upper;
        return Acceptable;
    }
};

// A line edit's size hint, widened to show so many characters of a code. The
// edit's own hint has room for 17 x's besides its frame, margins and buttons.
QSize codeHint(const QLineEdit *edit, QSize hint, int characters)
{
    if (characters > 0) {
        const int around = hint.width() - 17 * edit->fontMetrics().horizontalAdvance(QLatin1Char('x'));
        hint.setWidth(qMax(hint.width(), around + Fonts::codeWidth(edit->font(), characters)));
    }
    return hint;
}

} // namespace

QString amountRefusal(const QString &caption, const QString &text)
{
    if (text.trimmed().isEmpty())
        return QString();
    switch (Money::checkTyped(text)) {
    case Money::Typed::Amount: return QString();
    case Money::Typed::TooLarge: return Money::tooLargeMessage(caption);
    default: return QStringLiteral("%1必须是数字，最多4位小数！").arg(caption);
    }
}

void fitCodes(QLineEdit *edit, const QString &field)
{
    edit->setMinimumWidth(codeHint(edit, edit->sizeHint(), CodeFields::length(field)).width());
}

void setUpperCaseInput(QLineEdit *edit, bool upper)
{
    const auto *ours = dynamic_cast<const UpperCaseValidator *>(edit->validator());
    if (upper == (ours != nullptr))
        return;
    edit->setValidator(upper ? new UpperCaseValidator(edit) : nullptr);
    delete ours;
}

DBEdit::DBEdit(QWidget *parent)
    : QLineEdit(parent), BoundControl(new FieldLink(this, [this](const QVariant &v) {
          const QString text = Fmt::display(v);
          if (text != this->text()) {
              setText(text);
              // A text longer than the field shows its beginning, not its end.
              if (!hasFocus())
                  setCursorPosition(0);
          }
      }))
{
    connect(this, &QLineEdit::textEdited, this, [this](const QString &) {
        const bool partial = m_amount && Money::checkTyped(text()) == Money::Typed::Partial;
        m_link->write(partial ? QVariant() : FieldLink::textValue(text()));
    });
}

QSize DBEdit::sizeHint() const
{
    return codeHint(this, QLineEdit::sizeHint(), CodeFields::length(m_link->field()));
}

QSize DBEdit::minimumSizeHint() const
{
    QSize hint = QLineEdit::minimumSizeHint();
    hint.setWidth(qMax(hint.width(), CodeFields::length(m_link->field()) > 0 ? sizeHint().width() : 0));
    return hint;
}

namespace {

QString notAmountMessage(const QString &caption)
{
    return QStringLiteral("%1必须是数字，最多4位小数！").arg(caption);
}

// Takes amounts within the typed limit and what leads to one; remembers why
// the last text was refused.
class AmountValidator : public QValidator {
public:
    AmountValidator(const QString &caption, QObject *parent)
        : QValidator(parent), m_caption(caption)
    {
    }

    State validate(QString &input, int &) const override
    {
        switch (Money::checkTyped(input)) {
        case Money::Typed::Amount: return Acceptable;
        // Empty is null, a field's valid value; what fixup leaves must be acceptable.
        case Money::Typed::Partial: return input.trimmed().isEmpty() ? Acceptable : Intermediate;
        case Money::Typed::TooLarge:
        case Money::Typed::NotAmount: m_refusal = amountRefusal(m_caption, input); break;
        }
        return Invalid;
    }
    void fixup(QString &input) const override { input.clear(); } // a lone sign or point

    const QString &refusal() const { return m_refusal; }

private:
    QString m_caption;
    mutable QString m_refusal;
};

} // namespace

void DBEdit::setAmount(const QString &caption)
{
    m_amount = true;
    m_caption = caption;
    auto *validator = new AmountValidator(caption, this);
    setValidator(validator);
    connect(this, &QLineEdit::inputRejected, this,
            [this, validator] { Msg::warning(validator->refusal(), this); });
}

bool DBEdit::amountPasses()
{
    if (!m_amount || text().trimmed().isEmpty())
        return true;
    const Money::Typed typed = Money::checkTyped(text());
    if (typed == Money::Typed::Amount)
        return true;
    Msg::warning(typed == Money::Typed::TooLarge ? Money::tooLargeMessage(m_caption)
                                                 : notAmountMessage(m_caption),
                 this);
    focusToMend(this);
    return false;
}

DBMemo::DBMemo(QWidget *parent)
    : QPlainTextEdit(parent), BoundControl(new FieldLink(this, [this](const QVariant &v) {
          const QString text = Fmt::display(v);
          if (text != toPlainText()) {
              m_showing = true;
              setPlainText(text);
              m_showing = false;
          }
      }))
{
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_showing)
            m_link->write(FieldLink::textValue(toPlainText()));
    });
}

DBComboBox::DBComboBox(QWidget *parent, bool listOnly)
    : QComboBox(parent), BoundControl(new FieldLink(this, [this](const QVariant &v) {
          m_showing = true;
          const QString text = Fmt::display(v);
          if (isEditable()) {
              // The arrow keys go on from the item shown, when it is one; from
              // none (filling the list makes its first entry current) Down
              // takes the first.
              setCurrentIndex(findText(text, Qt::MatchFixedString));
              setEditText(text);
          }
          else
              setCurrentIndex(findText(text, Qt::MatchFixedString));
          m_showing = false;
      }))
{
    setEditable(!listOnly);
    if (listOnly) {
        connect(this, &QComboBox::activated, this,
                [this](int i) { m_link->write(FieldLink::textValue(itemText(i))); });
    } else {
        // Inline completion changes the text without an edit signal: what is
        // shown must be what is stored, so there is none.
        setCompleter(nullptr);
        connect(lineEdit(), &QLineEdit::textEdited, this,
                [this](const QString &t) { m_link->write(FieldLink::textValue(t)); });
        connect(this, &QComboBox::activated, this,
                [this](int i) { m_link->write(FieldLink::textValue(itemText(i))); });
    }
}

void DBComboBox::showPopup()
{
    if (m_link->takesInput())
        QComboBox::showPopup();
}

void DBComboBox::setItems(const QStringList &items)
{
    m_showing = true;
    clear();
    addItems(items);
    m_showing = false;
    m_link->showCurrent();
}

DBDateEdit::DBDateEdit(QWidget *parent)
    : DateEdit(parent),
      BoundControl(new FieldLink(this, [this](const QVariant &v) { showValue(v); }))
{
    connect(this, &DateEdit::dateEdited, this, [this](const QDate &d) {
        if (holdsBadDate())
            return;
        m_shown = d;
        m_link->write(Fmt::sqlDate(d));
    });
}

void DBDateEdit::showValue(const QVariant &value)
{
    const QDate date = Fmt::toDate(value);
    // Text typed in part is the user's to mend: another field of the same row
    // changing (a save setting its own fields) does not wipe it.
    if (holdsBadDate() && !m_link->showingAnotherRow() && date == m_shown)
        return;
    m_shown = date;
    setDate(date);
}

QString DBDateEdit::caption() const
{
    if (!m_caption.isEmpty())
        return m_caption;
    const QString beside = buddyCaption(this);
    return beside.isEmpty() ? QStringLiteral("日期") : beside;
}

bool DBDateEdit::datePasses()
{
    if (!holdsBadDate())
        return true;
    if (m_refusing)
        return false;
    m_refusing = true;
    Msg::warning(caption() + QStringLiteral("不是有效的日期!"), this);
    m_refusing = false;
    focusToMend(this);
    return false;
}

bool DBDateEdit::datesPass(QWidget *window)
{
    for (DBDateEdit *edit : window->findChildren<DBDateEdit *>())
        if (!edit->datePasses())
            return false;
    return true;
}

void DBDateEdit::focusOutEvent(QFocusEvent *event)
{
    DateEdit::focusOutEvent(event);
    // Leaving the field, not its calendar, a message box, another window or
    // the menu bar taking the focus for a while; nor a window closing.
    if (!takenForAWhile(event->reason()) && isVisible())
        datePasses();
}

void DBDateEdit::setDefaultToNow()
{
    DataSet *ds = m_link->dataSet();
    if (!ds)
        return;
    connect(ds, &DataSet::stateChanged, this, [this, ds](DataSet::State s) {
        if ((s == DataSet::Edit || s == DataSet::Insert) && m_link->dataSet() == ds
            && m_link->value().isNull())
            guard([&] { ds->setValue(m_link->field(), Fmt::sqlDateTime(Clock::now())); }, this);
    });
}

DBText::DBText(QWidget *parent)
    : QLabel(parent),
      BoundControl(new FieldLink(this, [this](const QVariant &v) { setText(Fmt::display(v)); }))
{
}

QSize DBText::sizeHint() const
{
    QSize hint = QLabel::sizeHint();
    const QMargins m = contentsMargins();
    const int codes = Fonts::codeWidth(font(), CodeFields::length(m_link->field()));
    hint.setWidth(qMax(hint.width(), codes + m.left() + m.right()));
    return hint;
}

QSize DBText::minimumSizeHint() const
{
    QSize hint = QLabel::minimumSizeHint();
    hint.setWidth(qMax(hint.width(), sizeHint().width()));
    return hint;
}

ComboEdit::ComboEdit(QWidget *parent) : QLineEdit(parent)
{
    QAction *button = addAction(style()->standardIcon(QStyle::SP_FileDialogContentsView),
                                TrailingPosition);
    button->setObjectName(QStringLiteral("pickerButton"));
    connect(button, &QAction::triggered, this, &ComboEdit::buttonClick);
}

void ComboEdit::keyPressEvent(QKeyEvent *event)
{
    if (isDropDownKey(event)) {
        emit buttonClick();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

namespace {

int g_mending = 0; // a refusal is putting the focus on the field to mend

// The window a field is in: its frame in a document area, else its own.
const QWidget *frameOf(const QWidget *w)
{
    while (w && !w->isWindow() && !qobject_cast<const QMdiSubWindow *>(w))
        w = w->parentWidget();
    return w;
}

} // namespace

void focusToMend(QWidget *field)
{
    ++g_mending;
    const auto done = qScopeGuard([] { --g_mending; });
    field->setFocus(Qt::OtherFocusReason);
}

void ComboEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (!takenForAWhile(event->reason())) // else back after a while
        m_toMend = g_mending > 0;
}

bool ComboEdit::userLeft(Qt::FocusReason reason) const
{
    switch (reason) {
    case Qt::TabFocusReason: // also Enter, which moves on as Tab does
    case Qt::BacktabFocusReason:
    case Qt::MouseFocusReason:
    case Qt::ShortcutFocusReason:
        return true;
    case Qt::OtherFocusReason: {
        // The program handing the focus on: to another field of this window,
        // and not a refusal's doing unless it is this field that was to be mended.
        const QWidget *now = QApplication::focusWidget();
        return now && now != this && frameOf(now) == frameOf(this) && (g_mending == 0 || m_toMend);
    }
    default: // a popup, another window, the menu bar
        return false;
    }
}

void ComboEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (!isVisible() || !userLeft(event->reason()))
        return;
    m_toMend = false;
    emit exited();
}

QLabel *placeField(QGridLayout *grid, int row, int col, const QString &caption, QWidget *field,
                   Qt::Alignment captionAlignment)
{
    auto *label = new QLabel(caption, field->parentWidget());
    label->setBuddy(field);
    grid->addWidget(label, row, col * 2, captionAlignment);
    grid->addWidget(field, row, col * 2 + 1);
    return label;
}

void showCountOn(QLabel *label, DataSet *list, const QString &format)
{
    QObject::connect(list, &DataSet::counted, label,
                     [=] { label->setText(format.arg(list->recordCount())); });
    QObject::connect(list, &DataSet::reloaded, label, [=] {
        if (list->isActive() && !list->countKnown())
            label->clear();
    });
}
