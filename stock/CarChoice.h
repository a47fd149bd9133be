#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

// How a stock window lets the user choose a car: the chosen car's serial
// number, nothing on Cancel. The window is given the car picker with the
// scope it needs; a test gives it a stand-in.
using CarChoice = std::function<std::optional<QString>(QWidget *owner)>;

// The cars a window offers.
enum class CarScope {
    InStock, // status 0 or 3: the sale
    Sold,    // status 1: services and presents
};

// The car picker over the owner, limited to the scope.
CarChoice carPicker(CarScope scope);
