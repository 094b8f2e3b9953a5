#pragma once

#include "db/Database.h"

namespace korven::equipcards {

// Adds a year of settled work cards to a demo database: for every machine that is not blocked one
// card in each of the twelve months before the working period, added by the register's own single
// addition and settled by the card rules. Deterministic. Returns the number of cards added.
int fillDemoEquipmentCards(db::Attachment& attachment);

} // namespace korven::equipcards
