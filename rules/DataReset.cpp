#include "DataReset.h"
#include "Db.h"
#include "Schema.h"

#include <QMap>

namespace DataReset {
namespace {

// In the order the registers' statements run.
const QMap<Register, QStringList> &registerStatements()
{
    static const QMap<Register, QStringList> map{
        {Register::Company, {"delete from bgsxx"}},
        {Register::Areas, {"delete from dq"}},
        {Register::Providers, {"delete from cprovcarmodel", "delete from cprovider"}},
        {Register::Customers, {"delete from ccustomer"}},
        {Register::Personnel,
         {"delete from crights where personnelid not in ('admin', :operator)",
          "delete from cpersonnel where personnelid not in ('admin', :operator)"}},
        {Register::ContractTypes, {"delete from cconttype"}},
        {Register::Subjects, {"delete from subject"}},
        {Register::CarTypes, {"delete from cartype"}},
        {Register::CarModels, {"delete from model"}},
    };
    return map;
}

const QStringList businessStatements{
    "delete from addcost",        "delete from carinfor",       "delete from carinstock",
    "delete from caroutstock",    "delete from cbuycontdetail", "delete from cbuycontract",
    "delete from ccustaccount",   "delete from cprovaccount",   "delete from recycle",
    "delete from servicecost",    "delete from csalecontdetail", "delete from csalecontract",
    "delete from delfcost",       "delete from presentcost",    "delete from xtdh"};

} // namespace

QStringList statements(const QList<Register> &chosen)
{
    QStringList list;
    for (auto it = registerStatements().cbegin(); it != registerStatements().cend(); ++it)
        if (chosen.contains(it.key()))
            list << it.value();
    return list << businessStatements;
}

void initialise(const QList<Register> &chosen, const QString &operatorId,
                const std::function<void(const QString &, const QVariantMap &)> &run)
{
    Db::Transaction t;
    for (const QString &statement : statements(chosen))
        run(statement, statement.contains(QLatin1String(":operator"))
                           ? QVariantMap{{QStringLiteral(":operator"), operatorId}}
                           : QVariantMap{});
    Schema::seedNumbering();
    t.commit();
}

} // namespace DataReset
