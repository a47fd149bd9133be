#pragma once

#include "ListPicker.h"
#include "ListStatement.h"

#include <optional>

// Which contracts a caller lets the user choose from.
enum class ContractScope {
    NotStarted, // saved, not started: the change windows
    Started,    // being executed: in-stock and sale
    All,        // every state: queries and payments
};

// What sets the purchase contract picker apart from the sales one.
struct ContractPickerKind {
    QString objectName, caption;
    QString table, serialField, codeField, nameField;
    QString edit1Name, edit2Name;
    QString codeLabel, codeTitle, nameTitle;
    // Purchase: the buttons come first in the tab order and "确定" has the
    // focus; sales: the edits come first and the contract-number edit has it.
    bool buttonsFirst = false;
};

// The contract the user chose.
struct PickedContract {
    QString serial; // buycont_no or salecont_no
    QString contractNo;
    QString partnerCode, partnerName;
};

// A modal dialog listing the contracts of the caller's scope, narrowed by the
// typed prefixes of the contract number and the partner code.
class TContractPicker : public ListPicker {
    Q_OBJECT
public:
    TContractPicker(const ContractPickerKind &kind, QWidget *owner);

    // Fixed for the dialog's life; before pick().
    void setScope(ContractScope scope) { m_scope = scope; }
    ContractScope scope() const { return m_scope; }

    // The caller's steps in one: open the list, show the dialog, read the
    // chosen row. Nothing on Cancel, Escape or an empty list, nor when the
    // dialog was freed while it ran.
    std::optional<PickedContract> pick();

    QLineEdit *edit1; // prefix of the contract number
    QLineEdit *edit2; // prefix of the partner code

    // The scope's contracts whose number and partner code begin with the typed texts.
    static ListStatement listStatement(const ContractPickerKind &kind, ContractScope scope,
                                       const QString &contractNo, const QString &partnerCode);
    // Lists them.
    void edit1Change();
    void BitBtn1Click();

private:
    const ContractPickerKind m_kind;
    ContractScope m_scope = ContractScope::NotStarted;
};

// Opens a picker of the given class over the owner with the caller's scope.
template <class Picker>
std::optional<PickedContract> pickContract(QWidget *owner,
                                           ContractScope scope = ContractScope::NotStarted)
{
    return openPicker<Picker>(owner, [scope](Picker &picker) { picker.setScope(scope); });
}
