#pragma once

#include "db/Database.h"

namespace korven::schema {

// Fills a new database with a believable unit: dictionaries, vehicles, motor equipment, a year of
// settled trip cards and of equipment work cards, and the technical services of the vehicles.
// Deterministic, so that screenshots and examples stay the same from run to run.
void fillDemoData(db::Attachment& attachment);

} // namespace korven::schema
