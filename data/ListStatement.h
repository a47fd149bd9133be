#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

class DataSet;
class QueryConditions;

// A list as a window reads it, with no screen needed: the statement with the
// filters' conditions added and their values bound, the key that tells its
// rows apart, and the fields it is ordered by (none: by the key alone). The
// window sets it on its paged data set; the benchmark measures the same.
// Without a key it is figures, read whole.
struct ListStatement {
    QString sql;
    QVariantMap binds;
    QStringList keys = {};
    QString order = {};

    // The base statement followed by the conditions, their values bound.
    static ListStatement of(const QString &base, const QueryConditions &conditions,
                            const QStringList &keys, const QString &order = {});
    // The data set reads this list when it opens next; an open one is closed first.
    void setOn(DataSet *dataSet) const;
};
