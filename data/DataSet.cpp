#include "DataSet.h"
#include "Db.h"
#include "Errors.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlIndex>
#include <QSqlQuery>

DataSet::DataSet(QObject *parent) : QObject(parent) {}

void DataSet::setTableName(const QString &table)
{
    m_table = table;
    m_sql.clear();
}

void DataSet::setIndexName(const QString &index) { m_index = index; }

void DataSet::setIndexFieldNames(const QString &fields) { m_index = fields; }

void DataSet::setSql(const QString &sql)
{
    m_sql = sql;
    m_table.clear();
}

void DataSet::setParam(const QString &name, const QVariant &value) { m_params.insert(name, value); }

void DataSet::clearParams() { m_params.clear(); }

void DataSet::setFilter(const QString &field, const QVariant &value)
{
    for (auto &f : m_filter) {
        if (f.first.compare(field, Qt::CaseInsensitive) == 0) {
            f.second = value;
            return;
        }
    }
    m_filter.append({field, value});
}

void DataSet::clearFilter() { m_filter.clear(); }

void DataSet::setMaster(DataSet *master, const QString &masterField, const QString &detailField)
{
    if (m_master)
        disconnect(m_master, nullptr, this, nullptr);
    m_master = master;
    m_masterField = masterField;
    m_detailField = detailField;
    if (master) {
        connect(master, &DataSet::currentChanged, this, &DataSet::followMaster);
    }
}

void DataSet::followMaster()
{
    // A detail that is closed stays closed; an open one re-reads for the new row.
    if (isActive())
        load();
}

QStringList DataSet::keyFields() const
{
    if (!m_keyFields.isEmpty() || m_table.isEmpty())
        return m_keyFields;
    const QSqlIndex pk = Db::connection().primaryIndex(m_table);
    QStringList keys;
    for (int i = 0; i < pk.count(); ++i)
        keys << pk.fieldName(i);
    return keys;
}

QString DataSet::selectText(QVariantMap &binds) const
{
    binds = m_params;
    QStringList where;
    auto addEquals = [&](const QString &field, const QVariant &value) {
        const QString name = QStringLiteral(":ds%1").arg(where.size());
        where << Db::identifier(field) + QStringLiteral(" = ") + name;
        binds.insert(name, value);
    };
    for (const auto &f : m_filter)
        addEquals(f.first, f.second);
    if (m_master) {
        if (m_master->isActive() && !m_master->isEmpty())
            addEquals(m_detailField, m_master->value(m_masterField));
        else
            where << QStringLiteral("0");
    }

    QString sql = m_table.isEmpty()
                      ? (where.isEmpty() ? m_sql : QStringLiteral("SELECT * FROM (%1)").arg(m_sql))
                      : QStringLiteral("SELECT * FROM ") + Db::identifier(m_table);
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));

    if (!m_table.isEmpty() && !m_index.isEmpty()) {
        QStringList order;
        if (m_index.compare(QLatin1String("PrimaryKey"), Qt::CaseInsensitive) == 0) {
            order = keyFields();
        } else {
            for (const QString &f : m_index.split(QRegularExpression(QStringLiteral("[;,]")),
                                                  Qt::SkipEmptyParts))
                order << Db::identifier(f.trimmed());
        }
        if (!order.isEmpty())
            sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
    }
    return sql;
}

void DataSet::load(bool notify)
{
    QVariantMap binds;
    const QString sql = selectText(binds);
    QSqlQuery q(Db::connection());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw DbError(q.lastError());
    Db::bindAll(q, binds);
    if (!q.exec())
        throw DbError(q.lastError());

    QList<QSqlRecord> rows;
    while (q.next())
        rows.append(q.record());
    m_fields = q.record();
    for (int i = 0; i < m_fields.count(); ++i)
        m_fields.setValue(i, QVariant());
    m_rows = std::move(rows);
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.isEmpty();
    if (notify) {
        emit reloaded();
        emit currentChanged();
    }
}

void DataSet::open()
{
    if (isActive())
        return;
    load();
    setState(Browse);
}

void DataSet::close()
{
    if (!isActive())
        return;
    m_rows.clear();
    m_fields.clear();
    m_current = -1;
    m_eof = m_bof = true;
    setState(Inactive);
    emit currentChanged();
}

void DataSet::refresh()
{
    if (!isActive()) {
        open();
        return;
    }
    const QStringList keys = keyFields();
    QVariantList keyValues;
    const int oldRow = m_current;
    if (m_current >= 0)
        for (const QString &k : keys)
            keyValues << value(k);

    load(false); // one currentChanged, after the row is found again
    bool found = false;
    if (!keyValues.isEmpty()) {
        for (int r = 0; r < m_rows.size() && !found; ++r) {
            bool same = true;
            for (int k = 0; k < keys.size() && same; ++k)
                same = m_rows.at(r).value(keys.at(k)) == keyValues.at(k);
            if (same) {
                m_current = r;
                found = true;
            }
        }
    }
    if (!found && !m_rows.isEmpty())
        m_current = qBound(0, oldRow, int(m_rows.size()) - 1);
    m_bof = m_eof = m_rows.isEmpty();
    emit reloaded();
    emit currentChanged();
}

void DataSet::setState(State s)
{
    if (m_state == s)
        return;
    m_state = s;
    emit stateChanged(s);
}

void DataSet::setRecNo(int row)
{
    if (m_rows.isEmpty())
        return;
    row = qBound(0, row, int(m_rows.size()) - 1);
    m_bof = m_eof = false;
    if (row != m_current) {
        m_current = row;
        emit currentChanged();
    }
}

void DataSet::first()
{
    setRecNo(0);
    m_bof = true;
}

void DataSet::last()
{
    setRecNo(int(m_rows.size()) - 1);
    m_eof = true;
}

void DataSet::next()
{
    if (m_current + 1 >= m_rows.size()) {
        m_eof = true;
        return;
    }
    setRecNo(m_current + 1);
}

void DataSet::prior()
{
    if (m_current <= 0) {
        m_bof = true;
        return;
    }
    setRecNo(m_current - 1);
}

bool DataSet::locate(const QString &field, const QVariant &value)
{
    const int col = fieldIndex(field);
    const bool text = value.typeId() == QMetaType::QString;
    for (int r = 0; r < m_rows.size(); ++r) {
        const QVariant v = m_rows.at(r).value(col);
        const bool same = text ? (!v.isNull() && v.toString().compare(value.toString(),
                                                                      Qt::CaseInsensitive) == 0)
                               : v == value;
        if (same) {
            setRecNo(r);
            return true;
        }
    }
    return false;
}

int DataSet::fieldIndex(const QString &field) const
{
    const int i = m_fields.indexOf(field); // field names compare without regard to case
    if (i < 0)
        throw DbError(QStringLiteral("数据集中没有字段: %1").arg(field));
    return i;
}

bool DataSet::hasField(const QString &name) const { return m_fields.indexOf(name) >= 0; }

QStringList DataSet::fieldNames() const
{
    QStringList names;
    for (int i = 0; i < m_fields.count(); ++i)
        names << m_fields.fieldName(i);
    return names;
}

QVariant DataSet::value(const QString &field) const { return valueAt(m_current, field); }

QVariant DataSet::valueAt(int row, const QString &field) const
{
    const int col = fieldIndex(field);
    if (row < 0 || row >= m_rows.size())
        return QVariant();
    return m_rows.at(row).value(col);
}
