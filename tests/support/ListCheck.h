#pragma once

#include "ListStatement.h"

#include <QString>

class DataSet;

// Whether a window's open list reads what its statement gives, the statement
// the benchmark measures: the same text and key, and the same rows in the same
// order when read in the list's pages. Empty when it does, else what differs.
QString differsFrom(DataSet *list, const ListStatement &statement);
