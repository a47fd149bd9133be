#pragma once

#include "ListStatement.h"

#include <QObject>
#include <memory>

// How a window opens a list: the one place the benchmark's lists are made.
// Returns once the first screen of rows is there; the list stays open (as in
// a window) until the returned object is destroyed. A statement without keys
// is figures, read whole.
std::unique_ptr<QObject> openList(const ListStatement &statement, int firstScreen);
