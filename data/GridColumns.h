#pragma once

#include "Format.h"

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
    // Whether a real in this column is an amount or a figure shown as the
    // database gives it.
    Fmt::Reals reals = Fmt::Reals::Amounts;

    // The text of a value of this column, on the screen or (dates as stored) in the export.
    QString text(const QVariant &value, Fmt::StoredDates dates = Fmt::StoredDates::DateAlone) const
    {
        return Fmt::display(value, dates, reals);
    }
};

using GridColumns = QList<GridColumn>;

// One column of a grid's list; a hidden one is there but not shown.
inline GridColumn gridColumn(const char *title, const char *field, int width = 80,
                             bool visible = true)
{
    GridColumn c;
    c.title = QString::fromUtf8(title);
    c.field = QString::fromLatin1(field);
    c.width = width;
    c.visible = visible;
    return c;
}
