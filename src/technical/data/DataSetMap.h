#pragma once

#include "db/Database.h"

namespace korven::technical {

// Counts the rows of one data set of the map by reading its whole result row by row. Errors are
// passed on.
int countDataSet(db::Transaction& transaction, const QString& statement);

} // namespace korven::technical
