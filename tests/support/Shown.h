#pragma once

#include <QPointer>
#include <QTest>

// A window shown offscreen, freed at the end of the test unless it closed itself.
template <class W>
struct Shown {
    explicit Shown(W *window) : w(window)
    {
        w->show();
        (void)QTest::qWaitForWindowExposed(w); // the grid's cells have their places
    }
    ~Shown() { delete w.data(); }
    W *operator->() const { return w.data(); }
    QPointer<W> w;
};
