#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

// The shell's pictures, drawn by the program itself so that it needs no
// image files: speed-button glyphs, the program icon and the splash picture.
namespace Pictures {

// A rounded square in the colour with one character on it.
QPixmap glyph(const QColor &colour, const QString &character, int size = 32);
QPixmap programIcon(int size = 48);
QPixmap splash();

} // namespace Pictures
