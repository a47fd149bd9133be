#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>
#include <memory>

// How a window opens a list: the one place the benchmark's lists are made.
// Returns once the first screen of rows is there; the list stays open (as in
// a window) until the returned object is destroyed.
std::unique_ptr<QObject> openList(const QString &sql, const QVariantMap &binds, int firstScreen);
