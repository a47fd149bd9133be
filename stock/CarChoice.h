#pragma once

#include "Uselecar.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

// How a stock window lets the user choose a car: the chosen car's serial
// number, nothing on Cancel. Windows get the car picker with their scope; a
// test gives them a stand-in.
using CarChoice = std::function<std::optional<QString>(QWidget *owner)>;

// The car picker over the owner, limited to a scope of CarScope (Uselecar.h).
CarChoice carPicker(const CarList &scope);
