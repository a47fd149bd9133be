#pragma once

#include <QKeyEvent>

// F4 or Alt+Down: the keys that open a drop-down list on this platform (a
// date's calendar, a code's picker, a grid cell's pick list).
inline bool isDropDownKey(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    return (event->key() == Qt::Key_F4 && modifiers == Qt::NoModifier)
        || (event->key() == Qt::Key_Down && modifiers == Qt::AltModifier);
}
