#include "ListProbe.h"
#include "Db.h"

#include <QList>
#include <QSqlRecord>

namespace {

// For now a plain query: the first screen's rows read and kept, the statement
// finished so that no read stays open.
class FirstScreen : public QObject {
public:
    QList<QSqlRecord> rows;
};

} // namespace

std::unique_ptr<QObject> openList(const QString &sql, const QVariantMap &binds, int firstScreen)
{
    auto list = std::make_unique<FirstScreen>();
    QSqlQuery q = Db::exec(sql, binds);
    while (list->rows.size() < firstScreen && q.next())
        list->rows.append(q.record());
    q.finish();
    return list;
}
