#pragma once

#include <QString>

// The fields that hold codes and numbers: document and contract numbers, the
// car's numbers, partner codes, phones, identity, account and tax numbers,
// dates. Such a value is never shown or printed cut, where free text (names,
// addresses, remarks) may be.
namespace CodeFields {

// The characters of the longest value the field holds; 0 for a field of free
// text. A table before the field ("carinfor.vin_no") and case do not count.
int length(const QString &field);

} // namespace CodeFields
