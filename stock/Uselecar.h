#pragma once

#include "CarScope.h"
#include "ListPicker.h"
#include "ListStatement.h"

#include <QSqlRecord>
#include <QStringList>
#include <optional>

// 选车: a modal dialog listing the cars of the caller's scope, narrowed by
// the typed beginnings of the serial and the chassis number.
class Tfselecar : public ListPicker {
    Q_OBJECT
public:
    explicit Tfselecar(QWidget *owner = nullptr);

    // Fixed for the dialog's life; before pick(). The default is InStock.
    void setScope(const CarList &list) { m_list = list; }
    const CarList &scope() const { return m_list; }

    // The caller's steps in one: open the list, show the dialog, read the
    // chosen car's row. Nothing on Cancel, Escape or an empty list, nor when
    // the dialog was freed while it ran.
    std::optional<QSqlRecord> pick();

    QLineEdit *Edit1; // serial prefix
    QLineEdit *Edit2; // chassis prefix

    // The scope's cars whose serial and chassis begin with the typed texts.
    static ListStatement listStatement(const CarList &scope, const QString &serial, const QString &chassis);
    // Lists them.
    void Edit1Change();
    void BitBtn1Click();

private:
    CarList m_list;
};

// Opens the car picker over the owner with the caller's scope and returns the
// chosen car's row.
std::optional<QSqlRecord> pickCar(QWidget *owner, const CarList &scope = CarScope::InStock);
