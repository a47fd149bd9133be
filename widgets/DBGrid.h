#pragma once

#include "DataSet.h"
#include "DataSetModel.h"
#include "GridColumns.h"

#include <QPointer>
#include <QTableView>

// A grid on a data source with its column list (which the export reads too).
// Its current row is the data set's current row, both ways; a move that the
// data set refuses (a post its checks stopped) puts the grid back.
// A read-only grid is a list beside the fields of its current row: while that
// row is being edited, the list stays on it and is turned off, so that only
// the window's save (with its checks) or cancel ends the edit.
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
    // last row, appends one, on its first column that takes typing;
    // Ctrl+Delete deletes the current row after "确认删除吗？".
    void setRowKeys(bool on) { m_rowKeys = on; }
    // Ctrl+Enter leaves the grid for the next field, Ctrl+Shift+Enter for the
    // one before, also from a cell being edited (which keeps what was typed).
    // Ctrl+Tab, which the document area takes for itself, does the same where
    // it reaches the grid.
    static bool isLeaveKey(const QKeyEvent *event, bool *forward = nullptr);
    // Up, Down and Insert: from a cell being edited they first end its typing.
    static bool isRowKey(const QKeyEvent *event);
    void leave(bool forward);
    QSize sizeHint() const override;
    using QTableView::edit;
    void reset() override;

signals:
    // Enter in the grid, after a cell being edited has handed its text to the
    // row. While something is connected, Enter belongs to the grid.
    void enterPressed();

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;
    // Keys, clicks and the focus coming in never leave the current cell on a
    // hidden column, nor on a read-only one where cells can be typed into.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    // A column the current cell may stand on.
    bool enterable(int column) const;
    // The nearest such column from `column` on, in the direction of step; -1 if none.
    int enterableFrom(int column, int step) const;
    // The current column where it is enterable, else the first that is.
    int entryColumn() const;
    int firstEntryColumn() const;
    bool openList();
    void settleCurrent();
    void fitColumns();
    bool ownsEnter() const;
    bool appendForTyping(const QKeyEvent *event);
    bool rowKey(const QKeyEvent *event);
    void followDataSet();
    void rowChosen(const QModelIndex &current);
    // A list beside a row being edited holds that row.
    bool holdsRow() const;
    void followEditing();

    // What the cell being edited held when its editor opened, for Escape.
    struct CellBefore {
        QPersistentModelIndex index;
        QVariant value;
        bool rowWasEditing = false;
    };
    void revertCell(const CellBefore &before);
    // The open cell editor no longer edits a cell, whatever it still signals.
    void releaseEditor();

    DataSetModel *m_model;
    QPointer<DataSet> m_connected;
    CellBefore m_cellBefore;
    bool m_following = false;
    bool m_rowKeys = false;
    bool m_held = false; // turned off while its row is edited
};
