#pragma once

#include <QList>
#include <QString>

// The rights string of a login account (field rights of crights): character
// p grants menu function p, for p = 1 to 35; characters 36 to 40 grant
// nothing and are written as "0".
namespace Rights {

inline constexpr int Positions = 35;
inline constexpr int Length = 40;

// For each position, whether the string grants it. Only a "1" grants; a
// position beyond the end is denied. Positions count characters, so one
// outside the basic plane (two UTF-16 units) does not shift those after it.
QList<bool> granted(const QString &rights);

// The stored form of the granted positions: "1" or "0" for each of the 35,
// then five "0".
QString text(const QList<bool> &granted);

} // namespace Rights
