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

std::unique_ptr<QObject> openList(const ListStatement &statement, int firstScreen)
{
    if (statement.keys.isEmpty()) {
        auto figures = std::make_unique<Figures>();
        QSqlQuery q = Db::exec(statement.sql, statement.binds);
        while (q.next())
            figures->rows.append(q.record());
        q.finish();
        return figures;
    }
    // A list as a window shows it: a paged data set, its first screen read.
    auto list = std::make_unique<DataSet>();
    statement.setOn(list.get());
    list->setPageSize(firstScreen);
    list->open();
    const QStringList fields = list->fieldNames();
    for (int r = 0; r < qMin(firstScreen, list->listedRows()); ++r)
        list->valueAt(r, fields.first());
    return list;
}
