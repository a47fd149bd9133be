#include "ListCheck.h"
#include "DataSet.h"

#include <QSqlRecord>

QString differsFrom(DataSet *list, const ListStatement &statement)
{
    if (!list->isActive())
        return QStringLiteral("the list is not open");
    if (list->sql() != statement.sql)
        return QStringLiteral("the list reads\n%1\nits statement is\n%2").arg(list->sql(), statement.sql);
    if (list->keyFields() != statement.keys)
        return QStringLiteral("keyed by %1, not %2")
                .arg(list->keyFields().join(QLatin1Char(',')), statement.keys.join(QLatin1Char(',')));
    DataSet read;
    statement.setOn(&read);
    read.setPageSize(list->pageSize());
    read.open();
    if (read.recordCount() != list->recordCount())
        return QStringLiteral("%1 rows listed, the statement gives %2").arg(list->recordCount()).arg(read.recordCount());
    for (int r = 0; r < read.recordCount(); ++r) {
        const QSqlRecord listed = list->record(r), given = read.record(r);
        for (int f = 0; f < given.count(); ++f)
            if (listed.value(given.fieldName(f)) != given.value(f))
                return QStringLiteral("row %1 differs in %2").arg(r).arg(given.fieldName(f));
    }
    return {};
}
