#include "DBGrid.h"
#include "Guard.h"
#include "FieldLink.h"
#include "Messages.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaMethod>
#include <QStyledItemDelegate>

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
        && !m_columns.at(index.column()).readOnly)
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

namespace {

// Columns with a pick list edit through a drop-down of its entries.
class PickListDelegate : public QStyledItemDelegate {
public:
    PickListDelegate(DataSetModel *model, QObject *parent)
        : QStyledItemDelegate(parent), m_model(model)
    {
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        // What is typed or chosen counts at once, as in a bound edit: a speed
        // button takes no focus, and a reset of the rows destroys the editor.
        auto *self = const_cast<PickListDelegate *>(this);
        const QStringList &picks = m_model->columns().at(index.column()).pickList;
        if (picks.isEmpty()) {
            QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
            if (auto *line = qobject_cast<QLineEdit *>(editor))
                connect(line, &QLineEdit::textEdited, self, [self, line] { emit self->commitData(line); });
            return editor;
        }
        // The pick list offers values; any text may still be typed, and a value
        // that is not in the list stays as it is.
        auto *box = new QComboBox(parent);
        box->setEditable(true);
        box->setCompleter(nullptr);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->addItems(picks);
        connect(box, &QComboBox::activated, self, [self, box] { emit self->commitData(box); });
        connect(box->lineEdit(), &QLineEdit::textEdited, self,
                [self, box] { emit self->commitData(box); });
        return box;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        const QString text = index.data(Qt::EditRole).toString();
        if (auto *box = qobject_cast<QComboBox *>(editor)) {
            if (box->currentText() != text) // the echo of its own text would move the cursor
                box->setEditText(text);
        } else if (auto *line = qobject_cast<QLineEdit *>(editor)) {
            if (line->text() != text) // the echo of its own text would move the cursor
                line->setText(text);
        } else {
            QStyledItemDelegate::setEditorData(editor, index);
        }
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override
    {
        if (auto *box = qobject_cast<QComboBox *>(editor))
            model->setData(index, box->currentText());
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }

    // The keys that leave the grid leave it from a cell being edited too,
    // after the cell has handed its text to the row.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        bool forward = true;
        auto *editor = qobject_cast<QWidget *>(watched);
        auto *grid = qobject_cast<DBGrid *>(parent());
        if (editor && grid && event->type() == QEvent::KeyPress
            && DBGrid::isLeaveKey(static_cast<QKeyEvent *>(event), &forward)) {
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            grid->leave(forward);
            return true;
        }
        return QStyledItemDelegate::eventFilter(watched, event);
    }

private:
    DataSetModel *m_model;
};

} // namespace

DBGrid::DBGrid(QWidget *parent) : QTableView(parent), m_model(new DataSetModel(this))
{
    setModel(m_model);
    setItemDelegate(new PickListDelegate(m_model, this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setReadOnly(true);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { rowChosen(current); });
    // While the rows are replaced the view moves its current index on its own
    // (focus passes from a destroyed editor): that is no choice of the user's.
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { m_following = true; });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        m_following = false;
        followDataSet();
    });

}

void DBGrid::setDataSource(DataSource *source)
{
    if (m_connected)
        disconnect(m_connected, nullptr, this, nullptr);
    m_model->setDataSource(source);
    m_connected = dataSet();
    if (m_connected)
        connect(m_connected, &DataSet::currentChanged, this, &DBGrid::followDataSet);
    followDataSet();
}

void DBGrid::setColumns(const GridColumns &columns)
{
    m_model->setColumns(columns);
    for (int i = 0; i < columns.size(); ++i) {
        setColumnWidth(i, columns.at(i).width);
        setColumnHidden(i, !columns.at(i).visible);
    }
}

void DBGrid::setReadOnly(bool readOnly)
{
    m_model->setReadOnly(readOnly);
    setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                             : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                   | QAbstractItemView::AnyKeyPressed);
}

void DBGrid::followDataSet()
{
    const DataSet *ds = dataSet();
    const int row = ds ? ds->recNo() : -1;
    const QModelIndex current = currentIndex();
    if (row < 0 || (current.isValid() && current.row() == row))
        return;
    m_following = true;
    setCurrentIndex(m_model->index(row, current.isValid() ? current.column() : 0));
    m_following = false;
}

void DBGrid::rowChosen(const QModelIndex &current)
{
    DataSet *ds = dataSet();
    // While rows come or go the view moves its current index on its own; the
    // data set then says where it stands.
    if (m_following || m_model->changingRows() || !ds || !current.isValid()
        || current.row() == ds->recNo())
        return;
    guard([&] { ds->setRecNo(current.row()); }, this);
    if (ds->recNo() != current.row())
        QMetaObject::invokeMethod(this, &DBGrid::followDataSet, Qt::QueuedConnection);
}

bool DBGrid::ownsEnter() const
{
    return isSignalConnected(QMetaMethod::fromSignal(&DBGrid::enterPressed));
}

// Typing into an empty table starts its first row, as typing into a row edits
// it: the row is appended and the key then opens its cell.
bool DBGrid::appendForTyping(const QKeyEvent *event)
{
    DataSet *ds = dataSet();
    const QString text = event->text();
    if (!(editTriggers() & AnyKeyPressed) || !ds || !ds->isActive() || ds->isReadOnly()
        || m_model->rowCount() > 0 || text.isEmpty() || !text.at(0).isPrint()
        || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    int column = currentIndex().isValid() ? currentIndex().column() : 0;
    while (column < m_model->columnCount() && isColumnHidden(column))
        ++column;
    if (!guard([&] { ds->append(); }, this) || ds->state() != DataSet::Insert)
        return false;
    const QModelIndex cell = m_model->index(ds->recNo(), column);
    if (!cell.isValid())
        return false;
    setCurrentIndex(cell);
    return true;
}

bool DBGrid::rowKey(const QKeyEvent *event)
{
    DataSet *ds = dataSet();
    if (!m_rowKeys || state() == EditingState || !ds || !ds->isActive() || ds->isReadOnly()
        || (event->modifiers() & (Qt::AltModifier | Qt::MetaModifier | Qt::ShiftModifier)))
        return false;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (event->key() == Qt::Key_Delete && ctrl) {
        if (!ds->isEmpty() && Msg::question(QStringLiteral("确认删除吗？"), this))
            guard([&] { ds->deleteRecord(); }, this);
        return true;
    }
    const bool atEnd = ds->isEmpty() || ds->recNo() == ds->recordCount() - 1;
    if (ctrl || !(event->key() == Qt::Key_Insert || (event->key() == Qt::Key_Down && atEnd)))
        return false;
    // A new row left untouched is not followed by another.
    if (ds->state() == DataSet::Insert && !ds->isModified())
        return true;
    int column = currentIndex().isValid() ? currentIndex().column() : 0;
    while (column < m_model->columnCount() - 1 && isColumnHidden(column))
        ++column;
    if (guard([&] { ds->append(); }, this) && ds->state() == DataSet::Insert)
        setCurrentIndex(m_model->index(ds->recNo(), column));
    return true;
}

void DBGrid::keyPressEvent(QKeyEvent *event)
{
    if (rowKey(event)) {
        event->accept();
        return;
    }
    // Tab walks the cells.
    bool forward = true;
    if (isLeaveKey(event, &forward)) {
        event->accept();
        leave(forward);
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || !ownsEnter()) {
        appendForTyping(event);
        QTableView::keyPressEvent(event);
        return;
    }
    event->accept();
    // From a cell editor the signal follows when the editor has handed its text on.
    if (state() != EditingState)
        emit enterPressed();
}

bool DBGrid::isLeaveKey(const QKeyEvent *event, bool *forward)
{
    if (!(event->modifiers() & Qt::ControlModifier)
        || (event->modifiers() & (Qt::AltModifier | Qt::MetaModifier)))
        return false;
    const int key = event->key();
    const bool back = (event->modifiers() & Qt::ShiftModifier) || key == Qt::Key_Backtab;
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Tab && key != Qt::Key_Backtab)
        return false;
    if (forward)
        *forward = !back;
    return true;
}

void DBGrid::leave(bool forward)
{
    QWidget::focusNextPrevChild(forward);
}

void DBGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTableView::closeEditor(editor, hint);
    // Enter in a cell editor commits it and closes it with this hint.
    if (hint == QAbstractItemDelegate::SubmitModelCache && ownsEnter())
        emit enterPressed();
}
