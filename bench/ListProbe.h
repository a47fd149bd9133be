#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <memory>

// How a window opens a list: the one place the benchmark's lists are made.
// Returns once the first screen of rows is there; the list stays open (as in
// a window) until the returned object is destroyed.
// keys and order are the paged list's unique key and order fields; with no keys
// the statement is figures, read whole.
std::unique_ptr<QObject> openList(const QString &sql, const QVariantMap &binds,
                                  const QStringList &keys, const QString &order, int firstScreen);
