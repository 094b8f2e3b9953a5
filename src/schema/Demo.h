#pragma once

#include "core/DemoScale.h"
#include "db/Database.h"

namespace korven::schema {

// Fills a new database with a believable unit: dictionaries, vehicles, motor equipment, a year of
// settled trip cards and of equipment work cards, and the technical services of the vehicles.
// Deterministic, so that screenshots and examples stay the same from run to run. `scale` sets how
// many vehicles, machines and months of cards (the national demo fills a country) and the seed.
void fillDemoData(db::Attachment& attachment, const DemoScale& scale = {});

} // namespace korven::schema
