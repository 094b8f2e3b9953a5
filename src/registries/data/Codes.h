#pragma once

#include "db/Database.h"

#include <QString>

#include <functional>

namespace korven::registries {

// Runs a statement that reads one value and gives the named column of its first row as text; no
// row or a null value gives an empty text.
QString queryText(db::Transaction& transaction, const QString& sql, const QString& column);

// The next free code: the highest code read by `maxSql` plus 1, or 1 when the table is empty.
qint64 nextCode(db::Transaction& transaction, const QString& maxSql, const QString& column);

// Allocates the next code and inserts a row with it, by the shared transaction pattern. `insert`
// receives the transaction and the code and runs the insert. When another program took the same
// code between the read and the insert (a duplicate key), the highest code is read again and the
// insert repeated, a few times, before the error is passed on. Returns the code inserted.
qint64 insertWithNextCode(db::Transaction& transaction, const QString& maxSql, const QString& column,
                          const std::function<void(db::Transaction&, qint64)>& insert);

} // namespace korven::registries
