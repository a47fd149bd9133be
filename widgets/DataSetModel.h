#pragma once

#include "DataSet.h"
#include "GridColumns.h"

#include <QAbstractTableModel>
#include <QPointer>

// The rows of a data source as a table model, one column per entry of the
// column list. Editing a cell moves the data set to that row first (which
// posts the row being left, through its checks) and then sets the field.
class DataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DataSetModel(QObject *parent = nullptr);
    void setDataSource(DataSource *source);
    void setColumns(const GridColumns &columns);
    const GridColumns &columns() const { return m_columns; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool isReadOnly() const { return m_readOnly; }
    DataSet *dataSet() const { return m_source ? m_source->dataSet() : nullptr; }
    // A row is being inserted, removed or moved.
    bool changingRows() const { return m_changingRows; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private:
    void rowChanged(int row);

    QPointer<DataSource> m_source;
    QPointer<DataSet> m_connected;
    GridColumns m_columns;
    bool m_readOnly = true;
    bool m_changingRows = false;
};
