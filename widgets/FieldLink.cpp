#include "FieldLink.h"
#include "Guard.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QWidget>

FieldLink::FieldLink(QWidget *control, Show show)
    : QObject(control), m_control(control), m_show(std::move(show))
{
    control->installEventFilter(this);
}

bool FieldLink::takesInput() const
{
    const DataSet *ds = dataSet();
    return !ds || ds->isActive();
}

bool FieldLink::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_control || takesInput())
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        // The keys that move on (Tab, Enter, Escape) go on to the window as
        // from a field that does not use them; every other key is used up.
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool movesOn = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
                             && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab
                                 || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter
                                 || key->key() == Qt::Key_Escape);
        event->setAccepted(!movesOn);
        return true;
    }
    case QEvent::InputMethod:
    case QEvent::ContextMenu: // its paste
    case QEvent::Wheel:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        event->ignore();
        return true;
    case QEvent::MouseButtonRelease: // a middle click pastes the selection
        return static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton;
    default:
        return false;
    }
}

void FieldLink::setDataSource(DataSource *source, const QString &field)
{
    if (m_connected)
        disconnect(m_connected, nullptr, this, nullptr);
    m_source = source;
    m_field = field;
    m_connected = dataSet();
    if (DataSet *ds = m_connected) {
        connect(ds, &DataSet::currentChanged, this, &FieldLink::showRow);
        connect(ds, &DataSet::valuesChanged, this, &FieldLink::showCurrent);
        connect(ds, &DataSet::stateChanged, this, [this](DataSet::State s) {
            if (s == DataSet::Edit)
                showCurrent();
            else
                showRow();
        });
        connect(ds, &DataSet::rowsChanged, this, &FieldLink::showRow);
    }
    showRow();
}

QVariant FieldLink::value() const
{
    DataSet *ds = dataSet();
    if (!ds || !ds->isActive() || !ds->hasField(m_field))
        return QVariant();
    return ds->value(m_field);
}

void FieldLink::showCurrent()
{
    if (!m_writing && m_show)
        m_show(value());
}

void FieldLink::showRow()
{
    const QScopedValueRollback anotherRow(m_anotherRow, true);
    showCurrent();
}

void FieldLink::release()
{
    if (m_connected)
        disconnect(m_connected, nullptr, this, nullptr);
    m_connected = nullptr;
    m_source = nullptr;
    m_show = nullptr;
}

void FieldLink::write(const QVariant &value)
{
    DataSet *ds = dataSet();
    if (!ds || m_writing)
        return;
    if (!ds->isActive()) { // there is no row to hold it
        showCurrent();
        return;
    }
    m_writing = true;
    const bool ok = guard([&] { ds->setValue(m_field, value); }, m_control);
    m_writing = false;
    if (!ok || !ds->isEditing())
        showCurrent();
}

QVariant FieldLink::textValue(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}
