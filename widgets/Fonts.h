#pragma once

#include <QStringList>

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

} // namespace Fonts
