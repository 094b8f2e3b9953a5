#pragma once

#include "core/DemoScale.h"
#include "db/Database.h"

namespace korven::equipcards {

// Adds settled work cards to a demo database: for every machine that is not blocked one card in each
// of the `scale.months` months before the working period, made and numbered as the register's own
// addition makes them and settled by the card rules. Deterministic. Returns the number of cards added.
int fillDemoEquipmentCards(db::Attachment& attachment, const DemoScale& scale = {});

} // namespace korven::equipcards
