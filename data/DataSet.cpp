// The data set's reading: what it selects, open, refresh and close, moving,
// its fields, master and detail, and lists read in pages. Editing and writing
// are in DataSetEdit.cpp, cached mode in DataSetCache.cpp.
#include "DataSet.h"
#include "DataSetRowid.h"
#include "Db.h"
#include "Errors.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QTimer>
#include <exception>

#include <algorithm>
#include <optional>

using DataSetDetail::RowidColumn;

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
    if (m_master)
        m_master->m_details.removeAll(this);
    m_master = master;
    m_masterField = masterField;
    m_detailField = detailField;
    if (master)
        master->m_details.append(this);
}

struct DataSet::ReloadNotice {
    DataSet *dataSet;
    explicit ReloadNotice(DataSet *ds) : dataSet(ds)
    {
        ++ds->m_reloading;
        emit ds->aboutToReload();
    }
    ~ReloadNotice()
    {
        --dataSet->m_reloading;
        emit dataSet->reloaded();
    }
};

void DataSet::followMaster()
{
    // A detail that is closed stays closed; an open one re-reads for the new
    // row. The master had this one's row posted before it moved.
    if (!isActive())
        return;
    const quint64 loads = m_loads;
    try {
        if (isEditing())
            cancel();
        load();
    } catch (const AppError &) {
        if (m_loads == loads)
            leaveEmpty();
        throw;
    }
}

// The rows read for the master's old row must not stay on show under its new
// one, nor take its key when edited: the detail stays open with none.
void DataSet::leaveEmpty()
{
    {
        ReloadNotice notice(this); // views drop the old master's rows too
        m_rows.clear();
        m_first = m_count = 0;
        m_countKnown = true;
        m_newListed = false;
        m_newRow = Row();
    }
    m_deleted.clear();
    m_buffer = QSqlRecord();
    m_modified = false;
    m_current = -1;
    m_bof = m_eof = true;
    setState(Browse);
    emit rowsChanged();
    // Its own details are left empty the same way; the master's caller hears
    // of the first failure only.
    (void)currentMoved();
}

std::exception_ptr DataSet::currentMoved()
{
    // The details follow by a call, not a signal connection: a detail's failing
    // read is handed back to whoever moved this data set, to throw once every
    // detail has followed, and never travels through Qt's signal delivery.
    std::exception_ptr failure;
    const QList<QPointer<DataSet>> details = m_details;
    for (const QPointer<DataSet> &d : details) {
        if (!d)
            continue;
        try {
            d->followMaster();
        } catch (const AppError &) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    emit currentChanged();
    return failure;
}

void DataSet::rethrow(const std::exception_ptr &failure)
{
    if (failure)
        std::rethrow_exception(failure);
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

bool DataSet::readsRowid() const
{
    // A paged table finds its place by rowid, whatever its key.
    return usesRowid() || (isPaged() && !m_table.isEmpty());
}

QString DataSet::selectText(QVariantMap &binds, bool ordered) const
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
    else if (readsRowid())
        sql = QStringLiteral("SELECT rowid AS %1, * FROM %2").arg(RowidColumn, Db::identifier(m_table));
    else
        sql = QStringLiteral("SELECT * FROM ") + Db::identifier(m_table);
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));

    if (ordered && !m_table.isEmpty()) {
        const QStringList order = indexFields();
        if (!order.isEmpty())
            sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
    }
    return sql;
}

QStringList DataSet::indexFields() const
{
    QStringList order;
    if (m_index.compare(QLatin1String("PrimaryKey"), Qt::CaseInsensitive) == 0) {
        order = keyFields();
    } else {
        for (const QString &f : m_index.split(QRegularExpression(QStringLiteral("[;,]")),
                                              Qt::SkipEmptyParts))
            order << Db::identifier(f.trimmed());
    }
    return order;
}

DataSet::Row DataSet::rowOf(const QSqlRecord &record) const
{
    Row row;
    row.values = record;
    if (readsRowid()) {
        row.rowid = row.values.value(0);
        row.values.remove(0);
    }
    row.original = row.values;
    return row;
}

QSqlRecord DataSet::totals(const QStringList &expressions) const
{
    QVariantMap binds;
    const QString base = selectText(binds, false);
    QStringList columns;
    for (int i = 0; i < expressions.size(); ++i)
        columns << QStringLiteral("%1 AS t%2").arg(expressions.at(i)).arg(i);
    QSqlQuery q = Db::exec(QStringLiteral("SELECT %1 FROM (%2)")
                               .arg(columns.join(QStringLiteral(", ")), base),
                           binds);
    q.next();
    const QSqlRecord r = q.record();
    q.finish();
    return r;
}

QVariant DataSet::total(const QString &expression) const
{
    return totals({expression}).value(0);
}

// Views hear that the rows were read again also when reading them failed.
void DataSet::load(bool notify)
{
    std::optional<ReloadNotice> notice;
    if (notify)
        notice.emplace(this);
    QList<Row> rows;
    QSqlRecord fields;
    int count = 0;
    if (isPaged()) {
        if (m_cached)
            throw AppError(QStringLiteral("分页的数据集不能缓存修改"));
        pageOrder(); // a query without its key fields cannot page
        // The first page at once; the count, which reads every row, later.
        rows = fetch(QString(), {}, false, m_pageSize, 0, &fields);
        count = int(rows.size());
    } else {
        QVariantMap binds;
        QSqlQuery q(Db::connection());
        q.setForwardOnly(true);
        if (!q.prepare(selectText(binds)))
            throw DbError(q.lastError());
        Db::bindAll(q, binds);
        if (!q.exec())
            throw DbError(q.lastError());
        while (q.next())
            rows.append(rowOf(q.record()));
        fields = q.record();
    }
    m_fields = fields;
    if (readsRowid())
        m_fields.remove(0);
    for (int i = 0; i < m_fields.count(); ++i)
        m_fields.setValue(i, QVariant());
    m_countKnown = !isPaged() || count < m_pageSize;
    m_rows = std::move(rows);
    m_count = count;
    m_first = 0;
    m_newListed = false;
    m_newRow = Row();
    ++m_loads;
    m_deleted.clear();
    m_current = isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = isEmpty();
    if (notify) {
        notice.reset();
        emit rowsChanged();
        const std::exception_ptr failure = currentMoved();
        announceCount();
        rethrow(failure);
    }
}

int DataSet::recordCount() const
{
    if (m_pageSize == 0)
        return int(m_rows.size());
    if (!m_countKnown)
        const_cast<DataSet *>(this)->countRows();
    return m_count;
}

// The rows past the first page join the list; the views hear of them first.
void DataSet::countRows()
{
    if (m_countKnown)
        return;
    QVariantMap binds;
    const QString base = selectText(binds, false);
    const int count = Db::scalar(QStringLiteral("SELECT count(*) FROM (%1)").arg(base), binds).toInt();
    m_countKnown = true;
    if (m_reloading) {
        // Views take the rows anew once the reading ends; counted() follows it.
        m_count = qMax(count, m_count);
        return;
    }
    if (count > m_count) {
        emit rowsAboutToBeAppended(m_count, count - 1);
        m_count = count;
        emit rowsAppended();
        emit rowsChanged();
    }
    // Fewer rows than were read means some went since: the list keeps those it
    // read, as it keeps any row it shows, until it is read again.
    emit counted();
}

// Counted now when the first page was the whole list, else once the page is
// on the screen: a later turn of the event loop, on this thread and connection.
void DataSet::announceCount()
{
    if (m_countKnown) {
        emit counted();
        return;
    }
    QTimer::singleShot(0, this, [this, loads = m_loads] {
        if (m_loads != loads || !isActive())
            return;
        try {
            countRows();
        } catch (const AppError &e) {
            reportError(e);
        }
    });
}

// A row asked for, within the list: the count is needed only past the rows read.
int DataSet::boundRow(int row) const
{
    if (row < m_count)
        return qMax(0, row);
    return qMax(0, qMin(row, recordCount() - 1));
}

void DataSet::open()
{
    if (isActive())
        return;
    // Open before anyone hears of the rows: a detail reads for this row.
    load(false);
    setState(Browse);
    emit reloaded();
    emit rowsChanged();
    const std::exception_ptr failure = currentMoved();
    announceCount();
    rethrow(failure);
}

void DataSet::close()
{
    if (!isActive() || !detailsReleased())
        return;
    if (isEditing())
        cancel();
    emit aboutToReload();
    m_rows.clear();
    m_first = m_count = 0;
    m_countKnown = true;
    m_deleted.clear();
    m_fields.clear();
    m_current = -1;
    m_eof = m_bof = true;
    setState(Inactive);
    emit reloaded();
    emit rowsChanged();
    rethrow(currentMoved());
}

QVariantList DataSet::identity(int row) const
{
    if (row < 0 || row >= listedRows())
        return {};
    return identityOf(rowAt(row));
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
    const Row current = m_current >= 0 ? rowAt(m_current) : Row();
    const int oldRow = m_current;

    std::optional<ReloadNotice> notice(this);
    load(false); // one currentChanged, after the row is found again
    bool found = false;
    if (isPaged() && !id.isEmpty()) {
        // Asked of the database by key: its page need not be the first.
        QVariantMap binds;
        const QString condition = keyCondition(current, binds);
        int at = -1;
        found = findPaged(condition, binds, at);
        if (found)
            m_current = at;
    } else if (!id.isEmpty()) {
        for (int r = 0; r < m_rows.size() && !found; ++r) {
            if (identity(r) == id) {
                m_current = r;
                found = true;
            }
        }
    }
    if (!found && !isEmpty())
        m_current = boundRow(oldRow);
    m_bof = m_eof = isEmpty();
    notice.reset();
    emit rowsChanged();
    const std::exception_ptr failure = currentMoved();
    announceCount();
    rethrow(failure);
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
    if (isEmpty())
        return false;
    row = boundRow(row);
    if (row != m_current) {
        const QVariantList id = isPaged() ? QVariantList() : identity(row);
        const quint64 loads = m_loads;
        const quint64 moves = m_moves;
        if (!leaveRow())
            return false;
        if (m_moves != moves) {
            // The post put the row it wrote in its place: the rows between moved by one.
            if (row > m_moved.first)
                --row;
            if (row >= m_moved.second)
                ++row;
        }
        if (m_loads != loads && isPaged()) {
            row = qBound(0, row, recordCount() - 1);
        } else if (m_loads != loads) {
            // The post read the rows again (afterPost): find the row asked for.
            row = -1;
            for (int r = 0; r < m_rows.size() && row < 0 && !id.isEmpty(); ++r)
                if (identity(r) == id)
                    row = r;
            if (row < 0)
                return false;
        }
    }
    if (isEmpty())
        return false;
    moveTo(row);
    return true;
}

void DataSet::moveTo(int row)
{
    row = boundRow(row);
    m_bof = m_eof = false;
    if (row != m_current) {
        m_current = row;
        rethrow(currentMoved());
    }
}

void DataSet::first()
{
    if (setRecNo(0))
        m_bof = true;
}

void DataSet::last()
{
    if (setRecNo(recordCount() - 1))
        m_eof = true;
}

// A refused step ends a walk as its end would: a loop until eof() stops.
void DataSet::next()
{
    if ((m_current + 1 >= listedRows() && m_current + 1 >= recordCount()) || !setRecNo(m_current + 1))
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
    if (isPaged()) {
        if (value.isNull() || !leaveRow())
            return false;
        const QVariantMap binds{{QStringLiteral(":loc"), value}};
        const QString condition = Db::identifier(m_fields.fieldName(col))
                                  + (text ? QStringLiteral(" = :loc COLLATE NOCASE")
                                          : QStringLiteral(" = :loc"));
        int at = -1;
        if (!findPaged(condition, binds, at))
            return false;
        moveTo(at);
        return true;
    }
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
    if (row < 0 || row >= listedRows())
        return QVariant();
    if (row == m_current && isEditing())
        return m_buffer.value(col);
    return rowAt(row).values.value(col);
}

QSqlRecord DataSet::record(int row) const
{
    if (row == m_current && isEditing())
        return m_buffer;
    return row >= 0 && row < listedRows() ? rowAt(row).values : QSqlRecord();
}

// ---------------------------------------------------------------- rows

void DataSet::insertRow(int at, const Row &row)
{
    emit rowAboutToBeInserted(at);
    if (isPaged()) {
        m_newRow = row; // only a new row is inserted, always at the end
        m_newListed = true;
        ++m_count;
    } else {
        m_rows.insert(at, row);
    }
    m_current = at;
    emit rowInserted(at);
}

void DataSet::removeRow(int at, int newCurrent)
{
    emit rowAboutToBeRemoved(at);
    if (!isPaged()) {
        m_rows.removeAt(at);
    } else if (m_newListed && at == m_count - 1) {
        m_newListed = false;
        m_newRow = Row();
        --m_count;
    } else {
        if (at >= m_first && at < m_first + m_rows.size())
            m_rows.removeAt(at - m_first);
        else if (at < m_first)
            --m_first;
        --m_count;
    }
    m_current = newCurrent;
    emit rowRemoved(at);
}

const DataSet::Row &DataSet::rowAt(int row) const
{
    if (!isPaged())
        return m_rows.at(row);
    if (m_newListed && row == m_count - 1)
        return m_newRow;
    loadPage(row);
    if (row < m_first || row >= m_first + m_rows.size()) {
        static const Row none; // the rows changed under the list: gone until a refresh
        return none;
    }
    return m_rows.at(row - m_first);
}

DataSet::Row &DataSet::rowRef(int row)
{
    if (!isPaged())
        return m_rows[row];
    if (m_newListed && row == m_count - 1)
        return m_newRow;
    loadPage(row);
    if (row < m_first || row >= m_first + m_rows.size())
        throw DbError(QStringLiteral("要修改的记录已不存在"));
    return m_rows[row - m_first];
}

// ---------------------------------------------------------------- paging

QStringList DataSet::pageOrder() const
{
    QStringList order = indexFields();
    if (!m_table.isEmpty()) {
        order << RowidColumn;
    } else {
        const QStringList keys = keyFields();
        if (keys.isEmpty())
            throw AppError(QStringLiteral("分页的查询需要关键字段"));
        for (const QString &k : keys)
            order << Db::identifier(k);
    }
    return order;
}

QVariantList DataSet::anchorOf(const Row &row) const
{
    QVariantList anchor;
    for (const QString &f : pageOrder())
        anchor << (f == RowidColumn ? row.rowid : row.values.value(f));
    return anchor;
}

// The rows strictly after (or before) the anchor in the page order, as
// conditions that do not overlap, each a range of an index, in the order the
// rows come in that direction. Nulls sort first and a comparison with null is
// never true, hence the separate null ranges; an anchor without nulls reads
// forward in one row value.
QStringList DataSet::keysetTerms(bool after, const QVariantList &anchor, QVariantMap &binds) const
{
    const QStringList order = pageOrder();
    QStringList params;
    bool nulls = false;
    for (int i = 0; i < order.size(); ++i) {
        params << QStringLiteral(":ks%1").arg(i);
        binds.insert(params.last(), anchor.value(i));
        nulls = nulls || anchor.value(i).isNull();
    }
    if (after && !nulls)
        return {QStringLiteral("(%1) > (%2)").arg(order.join(QLatin1Char(',')),
                                                  params.join(QLatin1Char(',')))};
    QStringList terms;
    for (int i = int(order.size()) - 1; i >= 0; --i) {
        QStringList equal;
        for (int j = 0; j < i; ++j)
            equal << order.at(j) + QStringLiteral(" IS ") + params.at(j);
        const bool null = anchor.value(i).isNull();
        QStringList steps;
        if (after)
            steps << order.at(i) + (null ? QStringLiteral(" IS NOT NULL")
                                         : QStringLiteral(" > ") + params.at(i));
        else if (!null)
            steps << order.at(i) + QStringLiteral(" < ") + params.at(i)
                  << order.at(i) + QStringLiteral(" IS NULL");
        for (const QString &step : std::as_const(steps))
            terms << (equal + QStringList{step}).join(QStringLiteral(" AND "));
    }
    return terms;
}

// Up to limit rows next to the anchor, read range by range.
QList<DataSet::Row> DataSet::fetchNextTo(const Row &anchorRow, bool after, int limit) const
{
    QVariantMap binds;
    QList<Row> rows;
    for (const QString &term : keysetTerms(after, anchorOf(anchorRow), binds)) {
        if (rows.size() >= limit)
            break;
        const QList<Row> part = fetch(term, binds, !after, limit - int(rows.size()));
        rows = after ? rows + part : part + rows;
    }
    return rows;
}

// One page, read and finished at once: no statement stays open between pages.
QList<DataSet::Row> DataSet::fetch(const QString &condition, QVariantMap binds, bool backward,
                                   int limit, int offset, QSqlRecord *fields) const
{
    QVariantMap base;
    QString sql = QStringLiteral("SELECT * FROM (%1)").arg(selectText(base, false));
    binds.insert(base);
    if (!condition.isEmpty())
        sql += QStringLiteral(" WHERE ") + condition;
    QStringList order = pageOrder();
    if (backward)
        for (QString &f : order)
            f += QStringLiteral(" DESC");
    sql += QStringLiteral(" ORDER BY %1 LIMIT %2 OFFSET %3")
               .arg(order.join(QStringLiteral(", ")))
               .arg(qMax(0, limit))
               .arg(qMax(0, offset));
    QSqlQuery q(Db::connection());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw DbError(q.lastError());
    Db::bindAll(q, binds);
    if (!q.exec())
        throw DbError(q.lastError());
    QList<Row> rows;
    while (q.next())
        rows.append(rowOf(q.record()));
    if (fields)
        *fields = q.record();
    q.finish();
    if (backward)
        std::reverse(rows.begin(), rows.end());
    return rows;
}

// Makes the window hold the row: the next or previous page by key when the
// row is near it, otherwise a page around the row, counted from whichever
// known place (the start, the end, either edge of the window) is nearest.
void DataSet::loadPage(int row) const
{
    const int end = m_first + int(m_rows.size());
    const int stored = storedRows();
    if ((row >= m_first && row < end) || row < 0 || row >= stored)
        return;
    const int most = m_pageSize * 5;
    if (!m_rows.isEmpty() && row >= end && row < end + m_pageSize) {
        m_rows += fetchNextTo(m_rows.last(), true, qMin(m_pageSize, stored - end));
        if (m_rows.size() > most) {
            const int drop = int(m_rows.size()) - most;
            m_rows.remove(0, drop);
            m_first += drop;
        }
        return;
    }
    if (!m_rows.isEmpty() && row < m_first && row >= m_first - m_pageSize) {
        const QList<Row> rows = fetchNextTo(m_rows.first(), false, qMin(m_pageSize, m_first));
        m_rows = rows + m_rows;
        m_first -= int(rows.size());
        if (m_rows.size() > most)
            m_rows.resize(most);
        return;
    }
    // A jump: skipped from the start, the end or the window's last row
    // (when one range reads on from it), whichever is nearest.
    const int first = qBound(0, row - m_pageSize / 2, qMax(0, stored - m_pageSize));
    const int count = qMin(m_pageSize, stored - first);
    QVariantMap binds;
    QString condition;
    int skip = first;
    bool backward = false;
    if (stored - first - count < skip) {
        skip = stored - first - count;
        backward = true;
    }
    if (!m_rows.isEmpty() && first >= end && first - end < skip) {
        const QStringList after = keysetTerms(true, anchorOf(m_rows.last()), binds);
        if (after.size() == 1) {
            condition = after.first();
            skip = first - end;
            backward = false;
        }
    }
    m_rows = fetch(condition, binds, backward, count, skip);
    m_first = first;
}

// Where the row stands among the stored rows: the count of those before it.
int DataSet::positionOf(const Row &row) const
{
    QVariantMap binds;
    const QString base = selectText(binds, false);
    int position = 0;
    for (const QString &term : keysetTerms(false, anchorOf(row), binds))
        position += Db::scalar(QStringLiteral("SELECT count(*) FROM (%1) WHERE %2").arg(base, term),
                               binds)
                        .toInt();
    return position;
}

// A window that starts at the row, read from it on by key.
void DataSet::windowAt(int position, const Row &row)
{
    m_rows = QList<Row>{row} + fetchNextTo(row, true, m_pageSize - 1);
    m_first = position;
}

// The first row (in the list's order) that meets the condition, and its place.
bool DataSet::findPaged(const QString &condition, const QVariantMap &binds, int &position)
{
    recordCount(); // a row's place may lie past the rows read
    const QList<Row> found = fetch(condition, binds, false, 1);
    if (found.isEmpty())
        return false;
    position = qBound(0, positionOf(found.first()), qMax(0, storedRows() - 1));
    windowAt(position, found.first());
    return true;
}

// A posted row goes where the order puts it, as it would after a refresh.
// Returns its new place, which becomes current.
int DataSet::placeRow(int from, const Row &stored)
{
    recordCount();
    const bool wasNew = m_newListed && from == m_count - 1;
    const int others = m_count - 1;
    const int to = qBound(0, positionOf(stored), others);
    if (to != from)
        emit rowAboutToBeMoved(from, to > from ? to + 1 : to);
    if (wasNew) {
        m_newListed = false;
        m_newRow = Row();
    } else if (from >= m_first && from < m_first + m_rows.size()) {
        m_rows.removeAt(from - m_first);
    } else if (from < m_first) {
        --m_first;
    }
    if (to >= m_first && to <= m_first + m_rows.size())
        m_rows.insert(to - m_first, stored);
    else if (to < m_first)
        ++m_first;
    m_current = to;
    if (to != from) {
        m_moved = {from, to};
        ++m_moves;
        emit rowMoved(from, to > from ? to + 1 : to);
        emit rowsChanged();
    }
    return to;
}
