#pragma once

#include "ContractPicker.h"

#include <QWidget>
#include <functional>
#include <optional>

// How a stock window lets the user choose a sales contract; nothing on
// Cancel. Windows get the sales contract picker with their scope; a test
// gives them a stand-in.
using ContractChoice = std::function<std::optional<PickedContract>(QWidget *owner)>;

ContractChoice saleContractPicker(ContractScope scope);
