#pragma once

#include <QStringList>

class QFont;

// The windows and the printed reports name the fonts of the platform they were
// drawn on: "黑体", "宋体" and "Arial". A Linux machine has none of them, so
// each is mapped to installed fonts that hold Chinese glyphs.
namespace Fonts {

// The families that stand in for a font name, most wanted first; empty for a
// name that is not mapped.
QStringList standIns(const QString &family);

// Maps every named font to its stand-ins, once per process. A machine that has
// the font itself keeps using it.
void installSubstitutes();

// The windows' widths (grid columns, fields) were measured in the original's
// font, 宋体 9 pt on a 96 dpi screen: every Latin letter and digit 6 pixels
// wide, every Han character 12. The program's font draws wider, and so does a
// screen of more dots per inch.
inline constexpr int OriginalLatinWidth = 6;
inline constexpr int OriginalHanWidth = 12;

// How much wider the font draws codes and Han text than the original's font:
// what fitted in a width there fits in the width times this.
double widthScale(const QFont &font);
// A width measured in the original's font, for the font.
int scaledWidth(int originalWidth, const QFont &font);
// The width that a code or number of so many characters takes in the font:
// digits and capital letters at their average width, and room for one more,
// since letters like W and M are wider than the average.
int codeWidth(const QFont &font, int characters);

} // namespace Fonts
