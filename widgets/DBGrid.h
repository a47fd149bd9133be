#pragma once

#include "DataSet.h"
#include "GridColumns.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QTableView>

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

// A grid on a data source with its column list (which the export reads too).
// Its current row is the data set's current row, both ways; a move that the
// data set refuses (a post its checks stopped) puts the grid back.
class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget *parent = nullptr);
    void setDataSource(DataSource *source);
    void setColumns(const GridColumns &columns);
    const GridColumns &columns() const { return m_model->columns(); }
    // A read-only grid only shows and moves; otherwise its cells edit the row.
    void setReadOnly(bool readOnly);
    DataSet *dataSet() const { return m_model->dataSet(); }
    DataSetModel *dataModel() const { return m_model; }
    // Rows are added and deleted from the keyboard: Insert, or Down on the
    // last row, appends one; Ctrl+Delete deletes the current row after "确认删除吗？".
    void setRowKeys(bool on) { m_rowKeys = on; }
    // Ctrl+Enter leaves the grid for the next field, Ctrl+Shift+Enter for the
    // one before, also from a cell being edited (which keeps what was typed).
    // Ctrl+Tab, which the document area takes for itself, does the same where
    // it reaches the grid.
    static bool isLeaveKey(const QKeyEvent *event, bool *forward = nullptr);
    void leave(bool forward);
    QSize sizeHint() const override;

signals:
    // Enter in the grid, after a cell being edited has handed its text to the
    // row. While something is connected, Enter belongs to the grid.
    void enterPressed();

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void fitColumns();
    bool ownsEnter() const;
    bool appendForTyping(const QKeyEvent *event);
    bool rowKey(const QKeyEvent *event);
    void followDataSet();
    void rowChosen(const QModelIndex &current);

    DataSetModel *m_model;
    QPointer<DataSet> m_connected;
    bool m_following = false;
    bool m_rowKeys = false;
};
