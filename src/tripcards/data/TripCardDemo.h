#pragma once

#include "core/DemoScale.h"
#include "db/Database.h"

namespace korven::tripcards {

// Adds settled trip cards to a demo database: for every vehicle that is not blocked one card in each
// of the `scale.months` months before the working period, created, numbered and carried over as
// the register does and settled by the card rules (by norms and allowances, or by the fuel meter).
// Deterministic: the same database gets the same cards. Returns the number of cards added.
int fillDemoTripCards(db::Attachment& attachment, const DemoScale& scale = {});

} // namespace korven::tripcards
