#include "DataSetModel.h"
#include "Errors.h"
#include "FieldLink.h"
#include "Guard.h"

DataSetModel::DataSetModel(QObject *parent) : QAbstractTableModel(parent) {}

void DataSetModel::setDataSource(DataSource *source)
{
    beginResetModel();
    if (m_connected)
        disconnect(m_connected, nullptr, this, nullptr);
    m_source = source;
    m_connected = dataSet();
    // Rows follow one by one, so the view keeps its current row, selection
    // and scroll position; only reading the rows again starts over.
    if (DataSet *ds = m_connected) {
        connect(ds, &DataSet::aboutToReload, this, &DataSetModel::beginResetModel);
        connect(ds, &DataSet::reloaded, this, &DataSetModel::endResetModel);
        connect(ds, &DataSet::rowAboutToBeInserted, this, [this](int row) {
            m_changingRows = true;
            beginInsertRows({}, row, row);
        });
        connect(ds, &DataSet::rowInserted, this, [this] {
            endInsertRows();
            m_changingRows = false;
        });
        connect(ds, &DataSet::rowAboutToBeRemoved, this, [this](int row) {
            m_changingRows = true;
            beginRemoveRows({}, row, row);
        });
        connect(ds, &DataSet::rowRemoved, this, [this] {
            endRemoveRows();
            m_changingRows = false;
        });
        connect(ds, &DataSet::rowAboutToBeMoved, this, [this](int from, int to) {
            m_changingRows = true;
            beginMoveRows({}, from, from, {}, to);
        });
        connect(ds, &DataSet::rowMoved, this, [this] {
            endMoveRows();
            m_changingRows = false;
        });
        connect(ds, &DataSet::rowsAboutToBeAppended, this, [this](int first, int last) {
            m_changingRows = true;
            beginInsertRows({}, first, last);
        });
        connect(ds, &DataSet::rowsAppended, this, [this] {
            endInsertRows();
            m_changingRows = false;
        });
        connect(ds, &DataSet::rowChanged, this, &DataSetModel::rowChanged);
    }
    endResetModel();
}

void DataSetModel::setColumns(const GridColumns &columns)
{
    beginResetModel();
    m_columns = columns;
    endResetModel();
}

void DataSetModel::rowChanged(int row)
{
    if (row >= 0 && row < rowCount() && columnCount() > 0)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

int DataSetModel::rowCount(const QModelIndex &parent) const
{
    const DataSet *ds = dataSet();
    // Not by the state: the rows are there, and the view reset, before an
    // opening data set reports itself open (a closed one holds none).
    return parent.isValid() || !ds ? 0 : ds->listedRows();
}

int DataSetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DataSetModel::data(const QModelIndex &index, int role) const
{
    const DataSet *ds = dataSet();
    if (!ds || !index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    const GridColumn &column = m_columns.at(index.column());
    if (!ds->hasField(column.field))
        return QVariant();
    // A paged data set reads the row's page here; a failure shows an empty cell.
    try {
        return column.text(ds->valueAt(index.row(), column.field));
    } catch (const AppError &) {
        return QVariant();
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section < m_columns.size() ? m_columns.at(section).title : QString();
    return QVariant();
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    const DataSet *ds = dataSet();
    if (index.isValid() && !m_readOnly && ds && !ds->isReadOnly()
        && m_columns.at(index.column()).visible && !m_columns.at(index.column()).readOnly)
        f |= Qt::ItemIsEditable;
    return f;
}

bool DataSetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    DataSet *ds = dataSet();
    if (!ds || !index.isValid() || role != Qt::EditRole)
        return false;
    const int row = index.row();
    const GridColumn column = m_columns.at(index.column());
    const QString &field = column.field;
    bool stored = false;
    guard([&] {
        // An editor closing on a row left hands back the text it shows: that
        // is no change and must not move the data set back to its row.
        if (column.text(ds->valueAt(row, field)) == value.toString()) {
            stored = true;
            return;
        }
        if (!ds->setRecNo(row))
            return; // the row being left was refused, or the row is gone
        ds->setValue(field, FieldLink::textValue(value.toString()));
        stored = true;
    });
    return stored;
}
