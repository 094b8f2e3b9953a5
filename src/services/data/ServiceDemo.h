#pragma once

#include "core/DemoScale.h"
#include "db/Database.h"

namespace korven::services {

// Adds the technical services of a demo unit: the intervals of the service kinds, and for every
// vehicle the inspections and maintenance of the last years, each carried out with the next one
// planned; a few of the planned ones fall due in the weeks after the working period. Deterministic.
// Returns the number of services added.
int fillDemoServices(db::Attachment& attachment, const DemoScale& scale = {});

} // namespace korven::services
