#pragma once

#include "GridColumns.h"

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
