#pragma once

#include "DBGrid.h"
#include "GridColumns.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QPushButton>
#include <functional>

class QHBoxLayout;
class QLayout;
class QVBoxLayout;

// A modal dialog listing a data set's rows in a grid to choose one from, with
// "确定" (the default button) and "取消" below it. What narrows or adds to the
// list goes above the grid; the subclass opens the rows and reads the choice.
// Enter in the grid takes its current row, as "确定" does.
class PickerDialog : public QDialog {
    Q_OBJECT
public:
    // Rows read at a time as the grid scrolls: a dealer's lists run to a
    // hundred thousand rows.
    static constexpr int PageSize = 200;

    DataSource *DataSource1;
    QPushButton *BitBtn1; // 确定

protected:
    // The object names of the rows' data set, the grid and the cancel button.
    struct Names {
        QString rows, grid, cancel;
    };
    PickerDialog(QWidget *owner, const Names &names, const GridColumns &columns, bool toolWindow = true);

    DataSet *pickerRows() const { return m_rows; }
    DBGrid *pickerGrid() const { return m_grid; }
    QPushButton *pickerCancel() const { return m_cancel; }

    void putAbove(QWidget *widget);
    void putAbove(QLayout *layout);
    void putBeforeOk(QPushButton *button);
    // The tab order runs along the chain, and its first widget has the focus.
    void setTabChain(const QList<QWidget *> &chain);
    // A field that narrows the list: Down, Up, PgDn and PgUp there move the
    // grid's current row while the focus stays, and Enter takes that row.
    void narrowsList(QWidget *field);
    // A field above the grid whose Enter moves on (the quick add): Down there
    // goes into the grid.
    void leadsIntoGrid(QWidget *field);
    bool eventFilter(QObject *watched, QEvent *event) override;

    // Shows the dialog; true when the user chose a row and the dialog is
    // still there (an owner freed while it ran takes the dialog with it).
    bool chooseRow();

private:
    DataSet *const m_rows;
    DBGrid *m_grid;
    QPushButton *m_cancel;
    QVBoxLayout *m_layout;
    QHBoxLayout *m_buttons;
};

// Opens a picker of the given class over the owner, lets `prepare` set it up,
// and returns what its pick() chose. The dialog is the owner's child: an owner
// freed while it runs takes the dialog with it, so it lives on the heap and is
// freed only if still there.
template <class Picker>
auto openPicker(QWidget *owner, const std::function<void(Picker &)> &prepare = {})
{
    QPointer<Picker> picker = new Picker(owner);
    if (prepare)
        prepare(*picker);
    const auto chosen = picker->pick();
    delete picker.data();
    return chosen;
}
