#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

// A table or a query on the one connection, read into memory when it opens
// (a snapshot, like a static cursor), with a current row. Failures throw
// DbError with the database's message.
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

    // A detail follows its master's current row: it holds the rows whose
    // detailField equals the master's masterField, none when the master is empty.
    void setMaster(DataSet *master, const QString &masterField, const QString &detailField);
    DataSet *master() const { return m_master; }

    void open();
    void close();
    // Reads the rows again and stays on the same row (by key) where it still exists.
    void refresh();
    bool isActive() const { return m_state != Inactive; }
    State state() const { return m_state; }

    int recordCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    int recNo() const { return m_current; } // 0-based, -1 when empty
    void setRecNo(int row);
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    // Moves to the first row whose field equals the value (text without regard
    // to case, as the database compares). False leaves the position unchanged.
    bool locate(const QString &field, const QVariant &value);

    bool hasField(const QString &name) const;
    QStringList fieldNames() const;
    // A field of the current row: null when there is no row; an unknown field throws.
    QVariant value(const QString &field) const;
    QVariant valueAt(int row, const QString &field) const;
    QSqlRecord record(int row) const { return m_rows.value(row); }
    // Key fields used to find the row again after a refresh.
    void setKeyFields(const QStringList &fields) { m_keyFields = fields; }
    QStringList keyFields() const;

signals:
    void stateChanged(DataSet::State state);
    void currentChanged(); // the current row moved
    void reloaded();       // the rows were read again

private:
    QString selectText(QVariantMap &binds) const;
    void load(bool notify = true);
    void setState(State s);
    void followMaster();
    int fieldIndex(const QString &field) const;

    QString m_table;
    QString m_index;
    QString m_sql;
    QVariantMap m_params;
    QList<QPair<QString, QVariant>> m_filter;
    QPointer<DataSet> m_master;
    QString m_masterField;
    QString m_detailField;
    QStringList m_keyFields;

    QSqlRecord m_fields;
    QList<QSqlRecord> m_rows;
    int m_current = -1;
    bool m_eof = true;
    bool m_bof = true;
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
