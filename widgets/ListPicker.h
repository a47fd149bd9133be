#pragma once

#include "PickerDialog.h"

#include <QLineEdit>
#include <QSize>

// A modal tool picker listing a query's rows, narrowed by the text typed into
// two captioned edits above the grid. The row keys in the edits move the
// grid's row, Enter in the edits or the grid chooses the row, and "取消"
// closes the dialog. The tab order runs from the edits over the grid to the
// buttons (or from the buttons), and its first field has the focus.
class ListPicker : public PickerDialog {
    Q_OBJECT
public:
    DataSet *query1;
    DBGrid *DBGrid1;
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

private:
    QLineEdit *m_edits[2];
};
