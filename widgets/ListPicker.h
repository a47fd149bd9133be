#pragma once

#include "DBGrid.h"
#include "GridColumns.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSize>

// A modal tool dialog listing a query's rows to choose one from, narrowed by
// the text typed into two captioned edits above the grid. Below it "确定" is
// the default button, so Enter in the edits or the grid chooses the row, and
// "取消" closes the dialog. The tab order runs from the edits over the grid to
// the buttons (or from the buttons), and its first field has the focus.
class ListPicker : public QDialog {
    Q_OBJECT
public:
    static constexpr int PageSize = 200; // rows read at a time as the grid scrolls

    DataSet *query1;
    DataSource *DataSource1;
    DBGrid *DBGrid1;
    QPushButton *BitBtn1; // 确定
    QPushButton *BitBtn2; // 取消

protected:
    // One of the two edits: its object name and its caption.
    struct Filter {
        QString objectName, caption;
    };
    enum class TabOrder { EditsFirst, ButtonsFirst };
    ListPicker(QWidget *owner, const Filter &first, const Filter &second, const GridColumns &columns,
               const QSize &gridSize, TabOrder order = TabOrder::EditsFirst);

    QLineEdit *filterEdit(int i) const { return m_edits[i]; }

    // Shows the dialog; true when the user chose a row and the dialog is
    // still there (an owner freed while it ran takes the dialog with it).
    bool chooseRow();

private:
    QLineEdit *m_edits[2];
};
