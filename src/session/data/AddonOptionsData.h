#pragma once

#include "core/AddonOptions.h"
#include "db/Database.h"

namespace korven::session {

// The statements on FJ_OPCJE, the key/value table of the additions' options.

// Every row of the table (key -> value). A database that has not been upgraded yet and lacks the
// table gives no rows, so every option takes its default; other errors are passed on.
QMap<QString, QString> readOptionRows(db::Transaction& transaction);

// The options of the additions as stored (defaults for missing rows).
AddonOptions readAddonOptions(db::Transaction& transaction);

// Writes every row of the options in one transaction (update, or insert where the key has no row);
// all of them or none. Errors roll back and are passed on.
void saveAddonOptions(db::Transaction& transaction, const AddonOptions& options);

} // namespace korven::session
