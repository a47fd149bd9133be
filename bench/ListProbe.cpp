#include "ListProbe.h"
#include "DataSet.h"
#include "Db.h"

#include <QList>
#include <QSqlRecord>

namespace {

// Figures: the rows read and kept, the statement finished.
class Figures : public QObject {
public:
    QList<QSqlRecord> rows;
};

} // namespace

std::unique_ptr<QObject> openList(const QString &sql, const QVariantMap &binds,
                                  const QStringList &keys, const QString &order, int firstScreen)
{
    if (keys.isEmpty()) {
        auto figures = std::make_unique<Figures>();
        QSqlQuery q = Db::exec(sql, binds);
        while (q.next())
            figures->rows.append(q.record());
        q.finish();
        return figures;
    }
    // A list as a window shows it: a paged data set, its first screen read.
    auto list = std::make_unique<DataSet>();
    list->setSql(sql);
    for (auto it = binds.begin(); it != binds.end(); ++it)
        list->setParam(it.key(), it.value());
    list->setKeyFields(keys);
    list->setIndexFieldNames(order);
    list->setPageSize(firstScreen);
    list->open();
    const QStringList fields = list->fieldNames();
    for (int r = 0; r < qMin(firstScreen, list->listedRows()); ++r)
        list->valueAt(r, fields.first());
    return list;
}
