#pragma once

#include "ListStatement.h"

#include <QList>
#include <QString>

// What a window runs when it shows a list or its figures: the windows' own
// statements, taken from them with typical filters filled in.
struct BenchCase {
    QString window;               // the window's class
    QString condition;            // what the user filled in, "" for nothing
    QList<ListStatement> screen;  // what the window shows at once
    QList<ListStatement> totals;  // its count and sums
    bool list = true;             // a list of rows (a screen of it is read), not figures
};

QList<BenchCase> benchCases();
