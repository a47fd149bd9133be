#include "DBGrid.h"
#include "DropDownKey.h"
#include "CodeFields.h"
#include "Fonts.h"
#include "Guard.h"
#include "Messages.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaMethod>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <utility>

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
                connect(line, &QLineEdit::textEdited, self, [self, line] { self->commit(line); });
            self->m_open = editor;
            return editor;
        }
        // The pick list offers values; any text may still be typed, and a value
        // that is not in the list stays as it is.
        auto *box = new QComboBox(parent);
        box->setEditable(true);
        box->setCompleter(nullptr);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->addItems(picks);
        box->setCurrentIndex(-1); // the cell's own text follows
        connect(box, &QComboBox::activated, self, [self, box] { self->commit(box); });
        connect(box->lineEdit(), &QLineEdit::textEdited, self,
                [self, box] { self->commit(box); });
        self->m_open = box;
        return box;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        const QString text = index.data(Qt::EditRole).toString();
        if (auto *box = qobject_cast<QComboBox *>(editor)) {
            // The echo of its own text would move the cursor. A key that opens
            // the cell replaces its text, as in a cell without a pick list.
            if (box->currentText() != text) {
                box->setCurrentIndex(box->findText(text, Qt::MatchFixedString)); // PgUp and PgDn go on from it
                box->setEditText(text);
                box->lineEdit()->selectAll();
            }
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

    // The keys that leave the grid, and those that move between its rows or
    // start one, act from a cell being edited too, after the cell has handed
    // its text to the row.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *editor = qobject_cast<QWidget *>(watched);
        auto *grid = qobject_cast<DBGrid *>(parent());
        if (!editor || !grid || event->type() != QEvent::KeyPress)
            return QStyledItemDelegate::eventFilter(watched, event);
        auto *key = static_cast<QKeyEvent *>(event);
        bool forward = true;
        if (DBGrid::isLeaveKey(key, &forward)) {
            finish(editor);
            grid->leave(forward);
            return true;
        }
        if (isDropDownKey(key) && openList(editor))
            return true;
        if (DBGrid::isRowKey(key)) {
            finish(editor);
            // Sent anew, the key meets the grid's own shortcuts first (a
            // window's 增加), as a key pressed in the grid does.
            QKeyEvent again(key->type(), key->key(), key->modifiers(), key->text());
            QCoreApplication::sendEvent(grid, &again);
            return true;
        }
        return QStyledItemDelegate::eventFilter(watched, event);
    }

    // Opens the pick list of a cell being edited, marking the first entry
    // that begins with what was typed; with nothing typed, the cell's value
    // or else the first entry. The cell keeps its text until an entry is taken.
    bool openList(QWidget *editor) const
    {
        auto *box = qobject_cast<QComboBox *>(editor);
        if (!box || box->count() == 0)
            return false;
        QLineEdit *line = box->lineEdit();
        const QString text = line->text();
        const bool typed = line->isModified(); // since the cell opened
        const int entry = box->findText(text, typed ? Qt::MatchStartsWith : Qt::MatchFixedString);
        const int cursor = line->cursorPosition();
        const int selected = line->selectionStart();
        const int length = line->selectedText().size();
        // The list opens on the combo's current entry, which shows its own text.
        box->setCurrentIndex(qMax(entry, 0));
        line->setText(text);
        line->setModified(typed);
        if (selected >= 0)
            line->setSelection(selected, length);
        else
            line->setCursorPosition(cursor);
        box->showPopup();
        return true;
    }

    // The view is done with the open editor: it may still signal as it loses
    // the focus or is hidden (a drop-down takes its text as chosen then), and
    // that commits nothing.
    void release() { m_open = nullptr; }

private:
    // Ends the typing of the cell as Enter does, keeping what was typed.
    void finish(QWidget *editor)
    {
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    void commit(QWidget *editor)
    {
        if (editor == m_open)
            emit commitData(editor);
    }

    DataSetModel *m_model;
    QPointer<QWidget> m_open;
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
    if (m_connected) {
        connect(m_connected, &DataSet::currentChanged, this, &DBGrid::followDataSet);
        connect(m_connected, &DataSet::stateChanged, this, &DBGrid::followEditing);
    }
    followDataSet();
    followEditing();
}

void DBGrid::setColumns(const GridColumns &columns)
{
    m_model->setColumns(columns);
    for (int i = 0; i < columns.size(); ++i)
        setColumnHidden(i, !columns.at(i).visible);
    fitColumns();
}

void DBGrid::fitColumns()
{
    // A column's width was measured in the original's font: what fitted there
    // fits here, and so do its heading and, where it holds codes, its longest code.
    const int padding = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    const GridColumns &columns = m_model->columns();
    for (int i = 0; i < columns.size(); ++i) {
        const GridColumn &c = columns.at(i);
        int width = qMax(Fonts::scaledWidth(c.width, font()), horizontalHeader()->sectionSizeHint(i));
        if (const int length = CodeFields::length(c.field))
            width = qMax(width, Fonts::codeWidth(font(), length) + padding);
        setColumnWidth(i, width);
    }
    updateGeometry();
}

QSize DBGrid::sizeHint() const
{
    // Wide enough for every column shown, as a window opens at most two
    // thirds of the screen wide.
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    if (!verticalHeader()->isHidden())
        width += verticalHeader()->sizeHint().width();
    for (int i = 0; i < m_model->columnCount(); ++i)
        if (!isColumnHidden(i))
            width += columnWidth(i);
    if (const QScreen *s = screen())
        width = qMin(width, s->availableGeometry().width() * 2 / 3);
    QSize hint = QTableView::sizeHint();
    hint.setWidth(qMax(hint.width(), width));
    return hint;
}

void DBGrid::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitColumns();
}

void DBGrid::setReadOnly(bool readOnly)
{
    m_model->setReadOnly(readOnly);
    setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                             : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                   | QAbstractItemView::AnyKeyPressed);
    settleCurrent();
    followEditing();
}

bool DBGrid::holdsRow() const
{
    const DataSet *ds = dataSet();
    return m_model->isReadOnly() && ds && ds->isEditing();
}

void DBGrid::followEditing()
{
    // Moving the list would post the row past the window's save, or show
    // another row under the fields still being typed: it is off meanwhile,
    // as the navigator is. A grid its window keeps off is left so.
    const bool hold = holdsRow();
    if (hold == m_held || (hold && !isEnabled()))
        return;
    m_held = hold;
    setEnabled(!hold);
}

bool DBGrid::enterable(int column) const
{
    const GridColumns &columns = m_model->columns();
    if (column < 0 || column >= columns.size() || isColumnHidden(column))
        return false;
    const DataSet *ds = dataSet();
    if (editTriggers() == NoEditTriggers || !ds || ds->isReadOnly() || !columns.at(column).readOnly)
        return true;
    // Read-only columns are passed over where another shown column takes typing.
    for (int c = 0; c < columns.size(); ++c)
        if (!isColumnHidden(c) && !columns.at(c).readOnly)
            return false;
    return true;
}

int DBGrid::enterableFrom(int column, int step) const
{
    for (int c = column; c >= 0 && c < m_model->columnCount(); c += step)
        if (enterable(c))
            return c;
    return -1;
}

int DBGrid::entryColumn() const
{
    const QModelIndex current = currentIndex();
    if (current.isValid() && enterable(current.column()))
        return current.column();
    return firstEntryColumn();
}

int DBGrid::firstEntryColumn() const
{
    return qMax(0, enterableFrom(0, 1));
}

void DBGrid::settleCurrent()
{
    const QModelIndex current = currentIndex();
    if (current.isValid() && !enterable(current.column()))
        setCurrentIndex(m_model->index(current.row(), entryColumn()));
}

QModelIndex DBGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex from = currentIndex();
    const QModelIndex to = QTableView::moveCursor(action, modifiers);
    if (!to.isValid() || enterable(to.column()))
        return to;
    int row = to.row();
    int column = -1;
    const int rows = m_model->rowCount();
    switch (action) {
    case MoveNext: // on to the next row's first, as Tab goes on from the last column
        column = enterableFrom(to.column(), 1);
        if (column < 0) {
            row = row + 1 < rows ? row + 1 : 0;
            column = enterableFrom(0, 1);
        }
        break;
    case MovePrevious:
        column = enterableFrom(to.column(), -1);
        if (column < 0) {
            row = row > 0 ? row - 1 : rows - 1;
            column = enterableFrom(m_model->columnCount() - 1, -1);
        }
        break;
    case MoveLeft:
    case MoveEnd:
        column = enterableFrom(to.column(), -1);
        break;
    default:
        column = enterableFrom(to.column(), 1);
        break;
    }
    // Nothing further that way: the cell stays where it was.
    if (column < 0 && from.isValid() && enterable(from.column()))
        column = from.column();
    if (column < 0)
        column = entryColumn();
    return m_model->index(row, column);
}

void DBGrid::mousePressEvent(QMouseEvent *event)
{
    const int before = currentIndex().column();
    QTableView::mousePressEvent(event);
    // A click on a cell that takes no typing chooses its row, in the column
    // the cursor stood in.
    const QModelIndex now = currentIndex();
    if (now.isValid() && !enterable(now.column()))
        setCurrentIndex(m_model->index(now.row(), enterable(before) ? before : entryColumn()));
}

void DBGrid::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    settleCurrent();
}

void DBGrid::followDataSet()
{
    const DataSet *ds = dataSet();
    const int row = ds ? ds->recNo() : -1;
    const QModelIndex current = currentIndex();
    if (row < 0 || (current.isValid() && current.row() == row))
        return;
    m_following = true;
    setCurrentIndex(m_model->index(row, entryColumn()));
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
    if (!holdsRow())
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
    const int column = entryColumn();
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
    if (guard([&] { ds->append(); }, this) && ds->state() == DataSet::Insert)
        setCurrentIndex(m_model->index(ds->recNo(), firstEntryColumn()));
    return true;
}

// F4 or Alt+Down on a pick-list cell opens its editor with the list shown.
bool DBGrid::openList()
{
    const QModelIndex current = currentIndex();
    if (state() == EditingState || !current.isValid() || !enterable(current.column())
        || m_model->columns().at(current.column()).pickList.isEmpty()
        || !edit(current, EditKeyPressed, nullptr))
        return false;
    auto *delegate = dynamic_cast<PickListDelegate *>(itemDelegate());
    return delegate && delegate->openList(indexWidget(current));
}

void DBGrid::keyPressEvent(QKeyEvent *event)
{
    if (rowKey(event) || (isDropDownKey(event) && openList())) {
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
        settleCurrent(); // a key never acts on a cell that takes no typing
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

bool DBGrid::isRowKey(const QKeyEvent *event)
{
    const int key = event->key();
    return (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Insert)
        && !(event->modifiers() & ~Qt::KeypadModifier);
}

void DBGrid::leave(bool forward)
{
    QWidget::focusNextPrevChild(forward);
}

bool DBGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    const bool opening = state() != EditingState;
    const DataSet *ds = dataSet();
    CellBefore before;
    if (opening && ds && index.isValid()) {
        before.index = index;
        before.value = ds->valueAt(index.row(), m_model->columns().at(index.column()).field);
        before.rowWasEditing = ds->isEditing() && ds->recNo() == index.row();
    }
    // The key that opens the cell is typed into it inside the base call.
    if (opening)
        m_cellBefore = before;
    const bool edited = QTableView::edit(index, trigger, event);
    if (opening && !edited)
        m_cellBefore = {};
    return edited;
}

// Escape drops the typing of the cell being edited; the row's other cells
// keep theirs, and a row that was not being edited before is left again.
void DBGrid::revertCell(const CellBefore &before)
{
    DataSet *ds = dataSet();
    if (!ds || !before.index.isValid() || !ds->isEditing() || ds->recNo() != before.index.row())
        return;
    guard([&] {
        if (before.rowWasEditing)
            ds->setValue(m_model->columns().at(before.index.column()).field, before.value);
        else
            ds->cancel();
    }, this);
}

void DBGrid::releaseEditor()
{
    if (auto *delegate = dynamic_cast<PickListDelegate *>(itemDelegate()))
        delegate->release();
}

void DBGrid::reset()
{
    releaseEditor();
    QTableView::reset();
}

void DBGrid::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    releaseEditor();
    QTableView::rowsAboutToBeRemoved(parent, start, end);
}

void DBGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    releaseEditor();
    // Tab opens the next cell's editor inside the base call.
    const CellBefore before = std::exchange(m_cellBefore, {});
    QTableView::closeEditor(editor, hint);
    if (hint == QAbstractItemDelegate::RevertModelCache)
        revertCell(before);
    // Enter in a cell editor commits it and closes it with this hint.
    if (hint == QAbstractItemDelegate::SubmitModelCache && ownsEnter())
        emit enterPressed();
}
