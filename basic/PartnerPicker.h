#pragma once

#include "PickerDialog.h"

#include <QLineEdit>
#include <optional>

// What sets one customer or provider picker apart from the others.
struct PartnerPickerInfo {
    QString caption;
    QString table;
    QString index;     // the grid's order; empty for table order
    QString gridName;
    GridColumns columns;
    QString codeField, nameField; // what a caller takes from the chosen row
    QString cancelName;           // object name of the cancel button
    bool toolWindow = true;       // a fixed-size tool window
    // The quick add: plain edits Edit1.. above the grid, each with the field it
    // fills; an edit with a message must not be empty (blanks count as empty).
    struct AddField {
        QString label, field;
        int maxLength;
        QString emptyMessage;
    };
    QList<AddField> addFields; // none: the picker only lists and chooses
};

// The customer or provider the user chose.
struct PickedPartner {
    QString code;
    QString name;
};

// A modal dialog listing a whole partner table to choose one row from, with
// an optional quick add. The caller opens Table1 (pick() does all of it).
// Table1 reads its rows a page at a time; a quick add writes and places its
// own row, and the refresh after it reads the count and one page.
class TPartnerPicker : public PickerDialog {
    Q_OBJECT
public:
    TPartnerPicker(const PartnerPickerInfo &info, QWidget *owner);

    // The caller's steps in one: open Table1, show the dialog, read the
    // current row. Nothing on Cancel, Escape or an empty table, nor when the
    // dialog was freed while it ran.
    std::optional<PickedPartner> pick();

    DataSet *Table1;
    DBGrid *grid;
    QPushButton *cancelButton; // 取消
    QPushButton *addButton = nullptr; // 新增, quick-add pickers only
    QList<QLineEdit *> addEdits;      // Edit1..

    // The quick add: the row as typed, stored, or refused with a message.
    void BitBtn2Click();

private:
    const PartnerPickerInfo m_info;
};

// Opens a picker of the given class over the owner, as every caller does.
template <class Picker>
std::optional<PickedPartner> pickPartner(QWidget *owner)
{
    return openPicker<Picker>(owner);
}
