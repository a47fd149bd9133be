#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <exception>
#include <functional>

// A table or a query on the one connection, with a current row. Failures
// throw DbError with the database's message.
//
// By default every row is read into memory when it opens (a snapshot, like a
// static cursor). With a page size the rows are read as they are looked at:
// the count comes from the database, and pages are fetched by key in the order
// of the index fields plus a unique tiebreak (a table's rowid, a query's key
// fields), so no statement stays open between pages and a far page costs no
// more than a near one.
//
// A table can be edited: append or edit puts the current row into a buffer,
// post writes it (or keeps it pending in cached mode), cancel drops it. A
// table without a primary key is written by its rowid.
class DataSet : public QObject {
    Q_OBJECT
public:
    enum State { Inactive, Browse, Edit, Insert };
    Q_ENUM(State)

    explicit DataSet(QObject *parent = nullptr);

    // A table: every row of it, in the order of its index.
    void setTableName(const QString &table);
    const QString &tableName() const { return m_table; }
    // "PrimaryKey" orders by the table's key; other names are field lists.
    void setIndexName(const QString &index);
    // Fields to order by, separated by ';' or ','.
    void setIndexFieldNames(const QString &fields);

    // A query: the statement as it stands, with its bound parameters.
    void setSql(const QString &sql);
    const QString &sql() const { return m_sql; }
    void setParam(const QString &name, const QVariant &value);
    void clearParams();

    // Only the rows whose field equals the value; several are joined by "and".
    void setFilter(const QString &field, const QVariant &value);
    void clearFilter();

    // Makes this data set a detail of the master: it holds the rows whose
    // detailField equals the master's masterField.
    // - A master that is closed or empty: the detail holds no rows.
    // - A row appended to the detail takes the master's value.
    // - The master's row moves: each open detail reads its rows again.
    // - A detail whose read fails stays open and empty; once every detail has
    //   followed, the failure is thrown to whoever moved the master.
    // - Before the master moves, reloads, drops a new row or closes, each open
    //   detail posts or cancels its row, as on moving.
    // - A detail that refuses that, or has pending cached updates (AppError),
    //   keeps the master where it is.
    void setMaster(DataSet *master, const QString &masterField, const QString &detailField);
    DataSet *master() const { return m_master; }
    // A detail whose rows go with their master's row: the master's delete
    // removes them from the database in the same transaction as itself.
    void setDeletedWithMaster(bool deleted) { m_deletedWithMaster = deleted; }

    // Rows read per page; 0 reads every row at open. Set before open.
    void setPageSize(int rows) { m_pageSize = qMax(0, rows); }
    int pageSize() const { return m_pageSize; }
    bool isPaged() const { return m_pageSize > 0; }

    void open();
    // A row being edited is cancelled first; pending updates are dropped. A
    // master whose detail refuses to let go of its row stays open.
    void close();
    // Reads the rows again and stays on the same row (by key) where it still exists.
    // A row being edited is posted first (see checkBrowseMode). Pending cached
    // updates are never thrown away: with any, refresh refuses (AppError).
    void refresh();
    bool isActive() const { return m_state != Inactive; }
    State state() const { return m_state; }
    bool isEditing() const { return m_state == Edit || m_state == Insert; }

    // The rows of the list. A paged data set shows its first page before it
    // knows its count (counted() follows, in a later turn of the event loop);
    // asked before then, it counts at once, so the figure is always right.
    int recordCount() const;
    // What the views list now: the count once known, before it the rows read.
    int listedRows() const { return m_pageSize > 0 ? m_count : int(m_rows.size()); }
    bool countKnown() const { return m_pageSize == 0 || m_countKnown; }
    // Known without the count: an empty first page is an empty list.
    bool isEmpty() const { return listedRows() == 0; }
    // Aggregates over the same rows, computed by the database, e.g.
    // totals({"count(*)", "sum(price)"}); one field per expression, in order.
    QSqlRecord totals(const QStringList &expressions) const;
    QVariant total(const QString &expression) const;
    int recNo() const { return m_current; } // 0-based, -1 when empty
    // Goes to the row at that place (0-based); true when it stands there.
    // A row being edited is posted first; a refused post stays put (false).
    // The post may shift the places, by putting its own row where the order
    // wants it or by reading the rows again (afterPost): the move still goes
    // to the row that stood at the place when asked. Read again, a list finds
    // it by key (false when it has gone); a paged list goes to the place.
    bool setRecNo(int row);
    void first();
    void last();
    void next();
    void prior();
    // A step that was refused sets eof (next) or bof (prior) as the end would;
    // first and last set them only when the move was made.
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    // Moves to the first row whose field equals the value (text without regard
    // to case, as the database compares). False leaves the position unchanged.
    // A paged data set asks the database, so the row's page need not be read.
    bool locate(const QString &field, const QVariant &value);

    bool hasField(const QString &name) const;
    QStringList fieldNames() const;
    // A field of the current row: null when there is no row; an unknown field throws.
    // The row being edited reads from its buffer.
    QVariant value(const QString &field) const;
    QVariant valueAt(int row, const QString &field) const;
    QSqlRecord record(int row) const;
    // Key fields used to find the row again after a refresh and to write it.
    void setKeyFields(const QStringList &fields)
    {
        m_keyFields = fields;
        m_keysRead = false;
    }
    QStringList keyFields() const;

    // Editing. A query cannot be edited; a read-only data set neither.
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool isReadOnly() const { return m_readOnly || m_table.isEmpty(); }
    // A new empty row at the end, in insert state; cancel returns to the row
    // that was current before.
    void append();
    // The current row into edit state; on an empty data set this appends.
    void edit();
    // Sets a field of the current row, putting it into edit state first.
    void setValue(const QString &field, const QVariant &value);
    bool isModified() const { return m_modified; }
    // Writes the row being edited.
    // - Outside editing there is nothing to write: true.
    // - A beforePost hook refuses: false, the row stays in editing.
    // - The database refuses: it throws, the row stays in editing.
    // - Once written, the post is done: a failure after it (afterPost, a
    //   handler of the signals) is reported (reportError), not thrown.
    // - Inside a caller's transaction that is later undone, the row goes back
    //   into editing with what was typed.
    bool post();
    void cancel();
    // Deletes the current row. A row being inserted is only dropped; on an
    // empty data set nothing happens.
    void deleteRecord();
    // Before moving away: a modified row is posted, an unmodified one cancelled.
    bool checkBrowseMode();

    // Hooks; a before-hook returning false stops the action without a message
    // of its own (the hook shows what it needs to).
    std::function<bool()> beforePost;
    std::function<void()> afterPost;
    std::function<bool()> beforeInsert;
    std::function<void()> afterInsert;
    std::function<bool()> beforeDelete;
    std::function<void()> afterDelete;
    // Runs as a new row is written to the database, inside that write's
    // transaction (in cached mode when the updates are written): it may fill
    // fields of the row, such as a key drawn from the numbering, which an
    // undone write takes back with it.
    std::function<void(QSqlRecord &row)> beforeInsertWrite;

    // Cached mode: posts and deletes stay in memory until applyUpdates writes
    // them all in one transaction, or cancelUpdates drops them all. Inside a
    // caller's transaction they stay pending until that one commits.
    void setCachedUpdates(bool cached) { m_cached = cached; }
    bool cachedUpdates() const { return m_cached; }
    bool updatesPending() const;
    void applyUpdates();
    void cancelUpdates();
    // applyUpdates in two steps, for a caller that writes several data sets in
    // one transaction of its own: writeUpdates writes what is pending and keeps
    // it pending (a rollback leaves nothing out of step), false when a hook
    // refused the row being edited; updatesWritten, after the commit, takes the
    // rows as stored and reads them again (a failing read is reported, not
    // thrown: the save stands).
    bool writeUpdates();
    void updatesWritten();

signals:
    void stateChanged(DataSet::State state);
    void currentChanged(); // the current row moved
    void aboutToReload();  // the rows are about to be read again (or dropped)
    void reloaded();       // the rows were read again (or dropped)
    void rowsChanged();    // rows were read again, appended or removed
    void valuesChanged();  // a value of the current row changed
    // One row at a time, for views that follow rows without starting over.
    void rowAboutToBeInserted(int row);
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    // A paged data set puts a posted row where its order places it; `to` is
    // counted as in Qt's beginMoveRows (before the row is taken out).
    void rowAboutToBeMoved(int from, int to);
    void rowMoved(int from, int to);
    void rowChanged(int row); // a value shown in that row changed
    // A paged data set has counted its rows: those past the first page follow
    // the rows listed so far (views append them), then counted() is emitted.
    // counted() comes after every open and refresh, at once when the count
    // needs no statement of its own.
    void rowsAboutToBeAppended(int first, int last);
    void rowsAppended();
    void counted();

private:
    enum class RowStatus { Stored, Inserted, Modified };
    struct Row {
        QSqlRecord values;
        QSqlRecord original; // as read, to find the stored row by its key
        QVariant rowid;
        RowStatus status = RowStatus::Stored;
    };

    struct ReloadNotice;
    QString selectText(QVariantMap &binds, bool ordered = true) const;
    bool readsRowid() const;
    Row rowOf(const QSqlRecord &record) const;
    void load(bool notify = true);
    QStringList indexFields() const;
    // Both make the row asked for current before views hear of the change.
    void insertRow(int at, const Row &row);
    void removeRow(int at, int newCurrent);
    const Row &rowAt(int row) const;
    Row &rowRef(int row);

    // Paging.
    QStringList pageOrder() const; // order fields, tiebreak last
    QVariantList anchorOf(const Row &row) const;
    QStringList keysetTerms(bool after, const QVariantList &anchor, QVariantMap &binds) const;
    QList<Row> fetchNextTo(const Row &anchorRow, bool after, int limit) const;
    QList<Row> fetch(const QString &condition, QVariantMap binds, bool backward, int limit,
                     int offset = 0, QSqlRecord *fields = nullptr) const;
    int storedRows() const { return m_count - (m_newListed ? 1 : 0); }
    void countRows();
    void announceCount();
    int boundRow(int row) const;
    void loadPage(int row) const;
    int positionOf(const Row &row) const;
    void windowAt(int position, const Row &row);
    bool findPaged(const QString &condition, const QVariantMap &binds, int &position);
    int placeRow(int from, const Row &stored);
    void setState(State s);
    void followMaster();
    void leaveEmpty();
    // The details follow the new current row, then currentChanged is emitted.
    // A detail's failure is returned, for the caller to throw when it is done.
    [[nodiscard]] std::exception_ptr currentMoved();
    static void rethrow(const std::exception_ptr &failure);
    bool detailsReleased();
    bool leaveRow();
    void requireNothingPending() const;
    int fieldIndex(const QString &field) const;
    bool usesRowid() const;
    QVariantList identity(int row) const;
    QVariantList identityOf(const Row &row) const;
    void requireEditable() const;
    void moveTo(int row);

    // Writing one row.
    QVariant writeInsert(const QSqlRecord &values); // the new rowid
    QSqlRecord filledForInsert(QSqlRecord values) const;
    void writeUpdate(const Row &row, const QSqlRecord &values);
    void writeDelete(const Row &row);
    void deleteDetailRows(const Row &row);
    QString keyCondition(const Row &row, QVariantMap &binds) const;
    Row readBack(const QString &condition, const QVariantMap &binds);
    void postUndone(const QVariantList &stored, const Row &before, const QSqlRecord &buffer,
                    State was);

    QString m_table;
    QString m_index;
    QString m_sql;
    QVariantMap m_params;
    QList<QPair<QString, QVariant>> m_filter;
    QPointer<DataSet> m_master;
    QList<QPointer<DataSet>> m_details;
    QString m_masterField;
    QString m_detailField;
    bool m_deletedWithMaster = false;
    QStringList m_keyFields;
    mutable QStringList m_keys; // keyFields(), read once per table
    mutable bool m_keysRead = false;

    QSqlRecord m_fields;
    // All rows; paged, the window of rows m_first.. that was read last.
    mutable QList<Row> m_rows;
    mutable int m_first = 0;
    int m_pageSize = 0;
    int m_count = 0;    // paged: rows in the list, a new one included
    bool m_countKnown = true; // paged: m_count is the count, not the rows read so far
    int m_reloading = 0;      // views are told the rows are being read again
    Row m_newRow;       // paged: the row being inserted, always the last
    bool m_newListed = false;
    quint64 m_moves = 0;       // how often a post put its row elsewhere
    QPair<int, int> m_moved;   // the last such move: from, to (once taken out)
    QList<Row> m_deleted; // cached mode: stored rows deleted but not yet written
    QSqlRecord m_buffer;  // the row being edited
    int m_current = -1;
    int m_rowBeforeInsert = -1; // where a cancelled insert returns to
    bool m_eof = true;
    bool m_bof = true;
    bool m_modified = false;
    bool m_readOnly = false;
    bool m_cached = false;
    bool m_rowidLoaded = false;
    quint64 m_loads = 0; // how often the rows were read
    State m_state = Inactive;
};

// What windows bind their controls to: a data set, by name of the original.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(DataSet *dataSet = nullptr, QObject *parent = nullptr)
        : QObject(parent), m_dataSet(dataSet)
    {
    }
    DataSet *dataSet() const { return m_dataSet; }
    void setDataSet(DataSet *dataSet) { m_dataSet = dataSet; }

private:
    QPointer<DataSet> m_dataSet;
};
