#include "DBControls.h"
#include "Clock.h"
#include "Guard.h"
#include "Format.h"

#include <QAction>
#include <QSignalBlocker>
#include <QStyle>
#include <QValidator>

namespace {

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

} // namespace

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
          if (text != this->text())
              setText(text);
      }))
{
    connect(this, &QLineEdit::textEdited, this,
            [this](const QString &typed) { m_link->write(FieldLink::textValue(typed)); });
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
          if (isEditable())
              setEditText(text);
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
      BoundControl(new FieldLink(this, [this](const QVariant &v) { setDate(Fmt::toDate(v)); }))
{
    connect(this, &DateEdit::dateEdited, this,
            [this](const QDate &d) { m_link->write(Fmt::sqlDate(d)); });
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

ComboEdit::ComboEdit(QWidget *parent) : QLineEdit(parent)
{
    QAction *button = addAction(style()->standardIcon(QStyle::SP_FileDialogContentsView),
                                TrailingPosition);
    button->setObjectName(QStringLiteral("pickerButton"));
    connect(button, &QAction::triggered, this, &ComboEdit::buttonClick);
}
