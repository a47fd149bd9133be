#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>

// What the data initialisation empties: every business table, and the
// registers chosen. The personnel of "admin" and of the operator at work are
// kept, so that both can still log in.
namespace DataReset {

enum class Register { Company, Areas, Providers, Customers, Personnel, ContractTypes, Subjects, CarTypes, CarModels };

// The statements in the order they run, without the new numbering row.
QStringList statements(const QList<Register> &chosen);

// Runs each statement through `run` with its binds, then starts the document
// numbering again, all or nothing: a failure leaves every row where it was.
void initialise(const QList<Register> &chosen, const QString &operatorId,
                const std::function<void(const QString &, const QVariantMap &)> &run);

} // namespace DataReset
