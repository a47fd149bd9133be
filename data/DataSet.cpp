#include "DataSet.h"
#include "Db.h"
#include "Errors.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlIndex>
#include <QSqlQuery>

namespace {
const QString RowidColumn = QStringLiteral("_rowid_");
}

DataSet::DataSet(QObject *parent) : QObject(parent) {}

void DataSet::setTableName(const QString &table)
{
    m_table = table;
    m_keysRead = false;
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
    if (m_master) {
        disconnect(m_master, nullptr, this, nullptr);
        m_master->m_details.removeAll(this);
    }
    m_master = master;
    m_masterField = masterField;
    m_detailField = detailField;
    if (master) {
        master->m_details.append(this);
        connect(master, &DataSet::currentChanged, this, &DataSet::followMaster);
    }
}

void DataSet::followMaster()
{
    // A detail that is closed stays closed; an open one re-reads for the new
    // row. The master had this one's row posted before it moved.
    if (!isActive())
        return;
    if (isEditing())
        cancel();
    load();
}

bool DataSet::detailsReleased()
{
    for (const QPointer<DataSet> &d : std::as_const(m_details)) {
        if (!d || !d->isActive())
            continue;
        if (!d->leaveRow())
            return false;
        d->requireNothingPending();
    }
    return true;
}

bool DataSet::leaveRow() { return detailsReleased() && checkBrowseMode(); }

void DataSet::requireNothingPending() const
{
    if (updatesPending())
        throw AppError(QStringLiteral("有未保存的修改，请先保存或取消"));
}

QStringList DataSet::keyFields() const
{
    if (!m_keyFields.isEmpty() || m_table.isEmpty())
        return m_keyFields;
    if (!m_keysRead) {
        const QSqlIndex pk = Db::connection().primaryIndex(m_table);
        m_keys.clear();
        for (int i = 0; i < pk.count(); ++i)
            m_keys << pk.fieldName(i);
        m_keysRead = Db::connection().isOpen(); // not cached from a failed connection
    }
    return m_keys;
}

bool DataSet::usesRowid() const { return !m_table.isEmpty() && keyFields().isEmpty(); }

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

    QString sql;
    if (m_table.isEmpty())
        sql = where.isEmpty() ? m_sql : QStringLiteral("SELECT * FROM (%1)").arg(m_sql);
    else if (usesRowid())
        sql = QStringLiteral("SELECT rowid AS %1, * FROM %2").arg(RowidColumn, Db::identifier(m_table));
    else
        sql = QStringLiteral("SELECT * FROM ") + Db::identifier(m_table);
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
    const bool rowid = usesRowid();
    QSqlQuery q(Db::connection());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw DbError(q.lastError());
    Db::bindAll(q, binds);
    if (!q.exec())
        throw DbError(q.lastError());

    QList<Row> rows;
    while (q.next()) {
        Row row;
        row.values = q.record();
        if (rowid) {
            row.rowid = row.values.value(0);
            row.values.remove(0);
        }
        row.original = row.values;
        rows.append(row);
    }
    m_fields = q.record();
    if (rowid)
        m_fields.remove(0);
    for (int i = 0; i < m_fields.count(); ++i)
        m_fields.setValue(i, QVariant());
    m_rows = std::move(rows);
    ++m_loads;
    m_deleted.clear();
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.isEmpty();
    if (notify) {
        emit reloaded();
        emit rowsChanged();
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
    if (!isActive() || !detailsReleased())
        return;
    if (isEditing())
        cancel();
    m_rows.clear();
    m_deleted.clear();
    m_fields.clear();
    m_current = -1;
    m_eof = m_bof = true;
    setState(Inactive);
    emit rowsChanged();
    emit currentChanged();
}

QVariantList DataSet::identity(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    return identityOf(m_rows.at(row));
}

QVariantList DataSet::identityOf(const Row &r) const
{
    QVariantList id;
    if (usesRowid()) {
        if (!r.rowid.isNull())
            id << r.rowid;
        return id;
    }
    for (const QString &k : keyFields())
        id << r.values.value(k);
    return id;
}

void DataSet::refresh()
{
    if (!isActive()) {
        open();
        return;
    }
    if (!leaveRow())
        return;
    requireNothingPending();
    const QVariantList id = identity(m_current);
    const int oldRow = m_current;

    load(false); // one currentChanged, after the row is found again
    bool found = false;
    if (!id.isEmpty()) {
        for (int r = 0; r < m_rows.size() && !found; ++r) {
            if (identity(r) == id) {
                m_current = r;
                found = true;
            }
        }
    }
    if (!found && !m_rows.isEmpty())
        m_current = qBound(0, oldRow, int(m_rows.size()) - 1);
    m_bof = m_eof = m_rows.isEmpty();
    emit reloaded();
    emit rowsChanged();
    emit currentChanged();
}

void DataSet::setState(State s)
{
    if (m_state == s)
        return;
    m_state = s;
    emit stateChanged(s);
}

bool DataSet::setRecNo(int row)
{
    if (m_rows.isEmpty())
        return false;
    row = qBound(0, row, int(m_rows.size()) - 1);
    if (row != m_current) {
        const QVariantList id = identity(row);
        const quint64 loads = m_loads;
        if (!leaveRow())
            return false;
        if (m_loads != loads) {
            // The post read the rows again (afterPost): find the row asked for.
            row = -1;
            for (int r = 0; r < m_rows.size() && row < 0 && !id.isEmpty(); ++r)
                if (identity(r) == id)
                    row = r;
            if (row < 0)
                return false;
        }
    }
    if (m_rows.isEmpty())
        return false;
    moveTo(row);
    return true;
}

void DataSet::moveTo(int row)
{
    row = qBound(0, row, int(m_rows.size()) - 1);
    m_bof = m_eof = false;
    if (row != m_current) {
        m_current = row;
        emit currentChanged();
    }
}

void DataSet::first()
{
    if (setRecNo(0))
        m_bof = true;
}

void DataSet::last()
{
    if (setRecNo(int(m_rows.size()) - 1))
        m_eof = true;
}

// A refused step ends a walk as its end would: a loop until eof() stops.
void DataSet::next()
{
    if (m_current + 1 >= m_rows.size() || !setRecNo(m_current + 1))
        m_eof = true;
}

void DataSet::prior()
{
    if (m_current <= 0 || !setRecNo(m_current - 1))
        m_bof = true;
}

bool DataSet::locate(const QString &field, const QVariant &value)
{
    const int col = fieldIndex(field);
    const bool text = value.typeId() == QMetaType::QString;
    for (int r = 0; r < m_rows.size(); ++r) {
        const QVariant v = valueAt(r, m_fields.fieldName(col));
        const bool same = text ? (!v.isNull() && v.toString().compare(value.toString(),
                                                                      Qt::CaseInsensitive) == 0)
                               : v == value;
        if (same)
            return setRecNo(r);
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
    if (row == m_current && isEditing())
        return m_buffer.value(col);
    return m_rows.at(row).values.value(col);
}

QSqlRecord DataSet::record(int row) const
{
    if (row == m_current && isEditing())
        return m_buffer;
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).values : QSqlRecord();
}

// ---------------------------------------------------------------- editing

void DataSet::requireEditable() const
{
    if (!isActive())
        throw AppError(QStringLiteral("数据集未打开"));
    if (isReadOnly())
        throw AppError(QStringLiteral("数据集只读，不能修改"));
}

void DataSet::append()
{
    requireEditable();
    if (!leaveRow())
        return;
    if (beforeInsert && !beforeInsert())
        return;
    m_buffer = m_fields;
    if (m_master && m_master->isActive() && !m_master->isEmpty())
        m_buffer.setValue(m_detailField, m_master->value(m_masterField));
    Row row;
    row.values = m_fields;
    row.status = RowStatus::Inserted;
    m_rowBeforeInsert = m_current;
    m_rows.append(row);
    m_current = int(m_rows.size()) - 1;
    m_bof = m_eof = false;
    m_modified = false;
    setState(Insert);
    emit rowsChanged();
    emit currentChanged();
    if (afterInsert)
        afterInsert();
}

void DataSet::edit()
{
    requireEditable();
    if (isEditing())
        return;
    if (m_rows.isEmpty()) {
        append();
        return;
    }
    m_buffer = m_rows.at(m_current).values;
    m_modified = false;
    setState(Edit);
}

void DataSet::setValue(const QString &field, const QVariant &value)
{
    const int col = fieldIndex(field);
    if (!isEditing())
        edit();
    if (!isEditing())
        return; // a hook refused the new row
    const QVariant old = m_buffer.value(col);
    if (old.isNull() == value.isNull() && old == value)
        return;
    m_buffer.setValue(col, value);
    m_modified = true;
    emit valuesChanged();
}

bool DataSet::post()
{
    if (!isEditing())
        return true;
    if (beforePost && !beforePost())
        return false;
    Row &row = m_rows[m_current];
    if (m_cached) {
        if (row.status == RowStatus::Stored)
            row.status = RowStatus::Modified;
        row.values = m_buffer;
    } else {
        // The write and its read-back land together: a row that cannot be
        // read back is not left in the database behind a row still in editing.
        Db::Transaction t;
        const Row before = row;
        const State was = m_state;
        QVariant rowid = row.rowid;
        if (m_state == Insert)
            rowid = writeInsert(m_buffer);
        else
            writeUpdate(row, m_buffer);
        QVariantMap binds;
        Row stored;
        stored.values = m_buffer;
        stored.rowid = rowid;
        stored = readBack(keyCondition(stored, binds), binds);
        if (Db::Transaction::active()) {
            QPointer<DataSet> self(this);
            const QSqlRecord buffer = m_buffer;
            Db::Transaction::whenCommitted({}, [self, before, buffer, was, stored] {
                if (self)
                    self->postUndone(self->identityOf(stored), before, buffer, was);
            });
        }
        t.commit();
        row = stored;
    }
    m_buffer = QSqlRecord();
    m_modified = false;
    setState(Browse);
    emit valuesChanged();
    if (afterPost)
        afterPost();
    return true;
}

// The caller's transaction that held a post was undone: the row is back in
// editing as typed, unless the data set has moved on to editing another.
void DataSet::postUndone(const QVariantList &stored, const Row &before, const QSqlRecord &buffer,
                         State was)
{
    if (!isActive() || isEditing())
        return;
    int at = -1;
    for (int r = 0; r < m_rows.size() && at < 0; ++r)
        if (identity(r) == stored)
            at = r;
    if (at < 0) {
        if (was != Insert) {
            refresh();
            return;
        }
        m_rows.append(before);
        at = int(m_rows.size()) - 1;
    } else {
        m_rows[at] = before;
    }
    if (was == Insert)
        m_rowBeforeInsert = m_current;
    m_current = at;
    m_buffer = buffer;
    m_modified = true;
    m_bof = m_eof = false;
    emit rowsChanged();
    setState(was);
    emit currentChanged();
    emit valuesChanged();
}

void DataSet::cancel()
{
    if (!isEditing())
        return;
    const bool inserting = m_state == Insert;
    if (inserting && !detailsReleased())
        return;
    if (inserting) {
        m_rows.removeAt(m_current);
        m_current = qBound(-1, m_rowBeforeInsert, int(m_rows.size()) - 1);
        if (m_current < 0 && !m_rows.isEmpty())
            m_current = 0;
        m_bof = m_eof = m_rows.isEmpty();
    }
    m_buffer = QSqlRecord();
    m_modified = false;
    setState(Browse);
    if (inserting) {
        emit rowsChanged();
        emit currentChanged(); // only then did the row move
    }
    emit valuesChanged();
}

void DataSet::deleteRecord()
{
    if (!isActive() || m_rows.isEmpty())
        return;
    if (m_state == Insert) {
        cancel();
        return;
    }
    requireEditable();
    if (!detailsReleased())
        return;
    cancel();
    if (beforeDelete && !beforeDelete())
        return;
    const Row row = m_rows.at(m_current);
    if (!m_cached) {
        Db::Transaction t; // the row and the detail rows that go with it, or nothing
        deleteDetailRows(row);
        writeDelete(row);
        t.commit();
    }
    else if (row.status != RowStatus::Inserted)
        m_deleted.append(row);
    m_rows.removeAt(m_current);
    m_current = qMin(m_current, int(m_rows.size()) - 1);
    m_bof = m_eof = m_rows.isEmpty();
    emit rowsChanged();
    emit currentChanged();
    if (afterDelete)
        afterDelete();
}

bool DataSet::checkBrowseMode()
{
    if (!isEditing())
        return true;
    if (m_modified)
        return post();
    cancel();
    return true;
}

// ---------------------------------------------------------------- writing

QString DataSet::keyCondition(const Row &row, QVariantMap &binds) const
{
    if (usesRowid()) {
        binds.insert(QStringLiteral(":k0"), row.rowid);
        return QStringLiteral("rowid = :k0");
    }
    const QStringList keys = keyFields();
    if (keys.isEmpty())
        throw AppError(QStringLiteral("数据集没有关键字段，不能修改"));
    const QSqlRecord &source = row.original.isEmpty() ? row.values : row.original;
    QStringList parts;
    for (int i = 0; i < keys.size(); ++i) {
        const QString name = QStringLiteral(":k%1").arg(i);
        parts << Db::identifier(keys.at(i)) + QStringLiteral(" = ") + name;
        binds.insert(name, source.value(keys.at(i)));
    }
    return parts.join(QStringLiteral(" AND "));
}

DataSet::Row DataSet::readBack(const QString &condition, const QVariantMap &binds)
{
    const bool rowid = usesRowid();
    const QString sql = QStringLiteral("SELECT %1* FROM %2 WHERE %3")
                            .arg(rowid ? QStringLiteral("rowid AS %1, ").arg(RowidColumn) : QString(),
                                 Db::identifier(m_table), condition);
    QSqlQuery q = Db::exec(sql, binds);
    Row row;
    if (!q.next())
        throw DbError(QStringLiteral("保存的记录无法读回"));
    row.values = q.record();
    if (rowid) {
        row.rowid = row.values.value(0);
        row.values.remove(0);
    }
    row.original = row.values;
    return row;
}

QVariant DataSet::writeInsert(const QSqlRecord &values)
{
    QStringList names, params;
    QVariantMap binds;
    for (int i = 0; i < values.count(); ++i) {
        if (values.isNull(i))
            continue; // the column's default applies
        const QString p = QStringLiteral(":v%1").arg(i);
        names << Db::identifier(values.fieldName(i));
        params << p;
        binds.insert(p, values.value(i));
    }
    const QString table = Db::identifier(m_table);
    const QString sql = names.isEmpty()
                            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(table, names.join(QLatin1Char(',')), params.join(QLatin1Char(',')));
    return Db::exec(sql, binds).lastInsertId();
}

void DataSet::writeUpdate(const Row &row, const QSqlRecord &values)
{
    QStringList sets;
    QVariantMap binds;
    for (int i = 0; i < values.count(); ++i) {
        const QVariant was = row.original.value(values.fieldName(i));
        const QVariant now = values.value(i);
        if (was.isNull() == now.isNull() && was == now)
            continue;
        const QString p = QStringLiteral(":v%1").arg(i);
        sets << Db::identifier(values.fieldName(i)) + QStringLiteral(" = ") + p;
        binds.insert(p, now);
    }
    if (sets.isEmpty())
        return;
    const QString where = keyCondition(row, binds);
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                            .arg(Db::identifier(m_table), sets.join(QStringLiteral(", ")), where);
    if (Db::execCount(sql, binds) == 0)
        throw DbError(QStringLiteral("要修改的记录已不存在"));
}

void DataSet::writeDelete(const Row &row)
{
    QVariantMap binds;
    const QString where = keyCondition(row, binds);
    Db::exec(QStringLiteral("DELETE FROM %1 WHERE %2").arg(Db::identifier(m_table), where), binds);
}

void DataSet::deleteDetailRows(const Row &row)
{
    for (const QPointer<DataSet> &d : std::as_const(m_details)) {
        if (!d || !d->m_deletedWithMaster || d->m_table.isEmpty())
            continue;
        const QVariant key = row.values.value(d->m_masterField);
        if (key.isNull())
            continue;
        Db::exec(QStringLiteral("DELETE FROM %1 WHERE %2 = :m")
                         .arg(Db::identifier(d->m_table), Db::identifier(d->m_detailField)),
                 {{QStringLiteral(":m"), key}});
    }
}

// ---------------------------------------------------------------- cached mode

bool DataSet::updatesPending() const
{
    if (!m_deleted.isEmpty())
        return true;
    for (const Row &r : m_rows)
        if (r.status != RowStatus::Stored)
            return true;
    return false;
}

void DataSet::applyUpdates()
{
    if (!detailsReleased())
        return;
    if (isEditing() && !post())
        return;
    if (!updatesPending())
        return;
    // Inside a caller's transaction the rows count as stored only once it commits.
    const bool joined = Db::Transaction::active();
    Db::Transaction t;
    writeUpdates();
    if (joined) {
        QPointer<DataSet> self(this);
        Db::Transaction::whenCommitted([self] {
            if (self)
                self->updatesWritten();
        });
    }
    t.commit();
    if (!joined)
        updatesWritten();
}

bool DataSet::writeUpdates()
{
    if (isEditing() && !post())
        return false;
    for (const Row &r : std::as_const(m_deleted))
        writeDelete(r);
    for (const Row &r : std::as_const(m_rows)) {
        if (r.status == RowStatus::Modified)
            writeUpdate(r, r.values);
        else if (r.status == RowStatus::Inserted)
            writeInsert(r.values);
    }
    return true;
}

void DataSet::updatesWritten()
{
    m_deleted.clear();
    for (Row &r : m_rows)
        r.status = RowStatus::Stored; // refresh must not count them as pending
    refresh();
}

void DataSet::cancelUpdates()
{
    if (!isActive() || !detailsReleased())
        return;
    cancel();
    m_deleted.clear();
    for (Row &r : m_rows)
        r.status = RowStatus::Stored;
    refresh();
}
