#include "ListStatement.h"
#include "DataSet.h"
#include "QueryConditions.h"

ListStatement ListStatement::of(const QString &base, const QueryConditions &conditions,
                                const QStringList &keys, const QString &order)
{
    return {conditions.apply(base), conditions.binds(), keys, order};
}

void ListStatement::setOn(DataSet *dataSet) const
{
    dataSet->close();
    dataSet->setSql(sql);
    dataSet->clearParams();
    for (auto it = binds.cbegin(); it != binds.cend(); ++it)
        dataSet->setParam(it.key(), it.value());
    dataSet->setKeyFields(keys);
    dataSet->setIndexFieldNames(order);
}
