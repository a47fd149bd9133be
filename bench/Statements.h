#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// What a window runs when it shows a list or its figures, in SQLite's dialect
// with bound values, as the windows build them.
struct BenchStatement {
    QString sql;
    QVariantMap binds;
    // A list: its unique key and the fields it is ordered by, as the window
    // gives them to its paged data set; empty for figures.
    QStringList keys = {};
    QString order = {};
};

struct BenchCase {
    QString window;                // the window's class
    QString condition;             // what the user filled in, "" for nothing
    QList<BenchStatement> screen;  // what the window shows at once
    QList<BenchStatement> totals;  // its count and sums
    bool list = true;              // a list of rows (a screen of it is read), not figures
};

QList<BenchCase> benchCases();
