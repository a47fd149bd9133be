#pragma once

#include "Errors.h"

#include <functional>

class QWidget;
class TfrmDMcarsales;

// Runs one user action; an AppError ends it with its message in an error box.
// Returns false when the action was stopped that way.
bool guard(const std::function<void()> &action, QWidget *parent = nullptr);

// The hourglass while something runs, restored however it ends; nothing
// without a screen.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

// Gives the data library the screen: errors it reports go to an error box,
// and the data module (when given) gets its save dialog and hourglass. Called
// at start-up once the data module exists.
void installScreenSeams(TfrmDMcarsales *dataModule = nullptr);
