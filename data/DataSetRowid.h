#pragma once

#include <QString>

// For the data set's own sources: the name under which a select reads a
// table's rowid beside its fields.
namespace DataSetDetail {
inline const QString RowidColumn = QStringLiteral("_rowid_");
}
