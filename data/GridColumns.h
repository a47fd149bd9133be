#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One column of a grid: what it shows and how. The grid and the export read
// the same list.
struct GridColumn {
    QString title;
    QString field;
    int width = 80;
    bool visible = true;
    bool readOnly = false;
    QStringList pickList;
};

using GridColumns = QList<GridColumn>;
