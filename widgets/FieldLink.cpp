#include "FieldLink.h"
#include "Guard.h"

#include <QScopedValueRollback>
#include <QWidget>

FieldLink::FieldLink(QWidget *control, Show show)
    : QObject(control), m_control(control), m_show(std::move(show))
{
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
