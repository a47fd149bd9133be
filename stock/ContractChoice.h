#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

// The sales contract a stock window's user chose.
struct ChosenContract {
    QString contractNo;
    QString customerId, customerName;
};

// How a window lets the user choose a sales contract; nothing on Cancel. A
// test gives the window a stand-in.
using ContractChoice = std::function<std::optional<ChosenContract>(QWidget *owner)>;

// The sales contract picker over the owner: started contracts only, or all.
ContractChoice saleContractPicker(bool startedOnly);
