#pragma once

#include "db/Database.h"

namespace korven::schema {

// Fills a new database with a believable unit: dictionaries, vehicles, motor equipment and a year of
// settled trip cards.
// Deterministic, so that screenshots and examples stay the same from run to run.
void fillDemoData(db::Attachment& attachment);

} // namespace korven::schema
