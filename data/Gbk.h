#pragma once

#include <QByteArray>
#include <QString>

// Text in code page 936, the code page of the Chinese user interface.
// A character the code page lacks becomes '?'.
QByteArray toGbk(const QString &text);
