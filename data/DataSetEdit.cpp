// The data set's editing: append, edit, post, cancel and delete, and the
// statements that write one row.
#include "DataSet.h"
#include "DataSetRowid.h"
#include "Db.h"
#include "Errors.h"

#include <QSqlQuery>

using DataSetDetail::RowidColumn;

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
    m_modified = false;
    insertRow(recordCount(), row);
    m_bof = m_eof = false;
    setState(Insert);
    emit rowChanged(m_current);
    emit rowsChanged();
    const std::exception_ptr failure = currentMoved();
    if (afterInsert)
        afterInsert();
    rethrow(failure);
}

void DataSet::edit()
{
    requireEditable();
    if (isEditing())
        return;
    if (isEmpty()) {
        append();
        return;
    }
    m_buffer = rowAt(m_current).values;
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
    emit rowChanged(m_current);
    emit valuesChanged();
}

bool DataSet::post()
{
    if (!isEditing())
        return true;
    if (beforePost && !beforePost())
        return false;
    Row &row = rowRef(m_current);
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
        if (m_state == Insert) {
            if (beforeInsertWrite)
                beforeInsertWrite(m_buffer);
            rowid = writeInsert(m_buffer);
        }
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
        if (isPaged()) {
            m_buffer = QSqlRecord();
            placeRow(m_current, stored);
        } else {
            row = stored;
        }
    }
    m_buffer = QSqlRecord();
    m_modified = false;
    // The row is posted: what follows cannot undo that, so its failure is
    // reported and the post still counts as done.
    try {
        setState(Browse);
        emit rowChanged(m_current);
        emit valuesChanged();
        if (afterPost)
            afterPost();
    } catch (const AppError &e) {
        reportError(e);
    }
    return true;
}

// The caller's transaction that held a post was undone: the row is back in
// editing as typed, unless the data set has moved on to editing another.
void DataSet::postUndone(const QVariantList &stored, const Row &before, const QSqlRecord &buffer,
                         State was)
{
    if (!isActive() || isEditing())
        return;
    if (isPaged()) {
        // The list follows the database again; the row goes back into editing.
        refresh();
        if (was == Insert) {
            append();
        } else {
            QVariantMap binds;
            int at = -1;
            if (!findPaged(keyCondition(before, binds), binds, at))
                return;
            moveTo(at);
            edit();
        }
        if (!isEditing())
            return;
        m_buffer = buffer;
        m_modified = true;
        emit rowChanged(m_current);
        emit valuesChanged();
        return;
    }
    const int wasCurrent = m_current;
    int at = -1;
    for (int r = 0; r < m_rows.size() && at < 0; ++r)
        if (identity(r) == stored)
            at = r;
    if (at < 0) {
        if (was != Insert) {
            refresh();
            return;
        }
        insertRow(int(m_rows.size()), before);
        at = int(m_rows.size()) - 1;
    } else {
        m_rows[at] = before;
    }
    if (was == Insert)
        m_rowBeforeInsert = wasCurrent;
    m_current = at;
    m_buffer = buffer;
    m_modified = true;
    m_bof = m_eof = false;
    emit rowChanged(at);
    emit rowsChanged();
    setState(was);
    const std::exception_ptr failure = currentMoved();
    emit valuesChanged();
    rethrow(failure);
}

void DataSet::cancel()
{
    if (!isEditing())
        return;
    const bool inserting = m_state == Insert;
    if (inserting && !detailsReleased())
        return;
    m_buffer = QSqlRecord();
    m_modified = false;
    if (inserting) {
        int back = qBound(-1, m_rowBeforeInsert, recordCount() - 2);
        if (back < 0 && recordCount() > 1)
            back = 0;
        removeRow(m_current, back);
        m_bof = m_eof = isEmpty();
    }
    setState(Browse);
    if (!inserting)
        emit rowChanged(m_current); // the row shows what is stored again
    std::exception_ptr failure;
    if (inserting) {
        emit rowsChanged();
        failure = currentMoved(); // only then did the row move
    }
    emit valuesChanged();
    rethrow(failure);
}

void DataSet::deleteRecord()
{
    if (!isActive() || isEmpty())
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
    recordCount(); // counted before the row goes, not after, which would drop it twice
    const Row row = rowAt(m_current);
    if (!m_cached) {
        Db::Transaction t; // the row and the detail rows that go with it, or nothing
        deleteDetailRows(row);
        writeDelete(row);
        t.commit();
    } else if (row.status != RowStatus::Inserted) {
        m_deleted.append(row);
    }
    removeRow(m_current, qMin(m_current, recordCount() - 2));
    m_bof = m_eof = isEmpty();
    emit rowsChanged();
    const std::exception_ptr failure = currentMoved();
    if (afterDelete)
        afterDelete();
    rethrow(failure);
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
        return RowidColumn + QStringLiteral(" = :k0"); // also a column of a paged select
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
    const QString sql = QStringLiteral("SELECT %1* FROM %2 WHERE %3")
                            .arg(readsRowid() ? QStringLiteral("rowid AS %1, ").arg(RowidColumn)
                                              : QString(),
                                 Db::identifier(m_table), condition);
    QSqlQuery q = Db::exec(sql, binds);
    if (!q.next())
        throw DbError(QStringLiteral("保存的记录无法读回"));
    const Row row = rowOf(q.record());
    q.finish();
    return row;
}

// The pending row stays as it was: a write that is undone leaves it unfilled.
QSqlRecord DataSet::filledForInsert(QSqlRecord values) const
{
    if (beforeInsertWrite)
        beforeInsertWrite(values);
    return values;
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
