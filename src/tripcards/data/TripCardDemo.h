#pragma once

#include "db/Database.h"

namespace korven::tripcards {

// Adds a year of settled trip cards to a demo database: for every vehicle that is not blocked one
// card in each of the twelve months before the working period, created, numbered and carried over as
// the register does and settled by the card rules (by norms and allowances, or by the fuel meter).
// Deterministic: the same database gets the same cards. Returns the number of cards added.
int fillDemoTripCards(db::Attachment& attachment);

} // namespace korven::tripcards
