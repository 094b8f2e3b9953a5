#pragma once

#include "db/Database.h"
#include "reports/rules/Statements.h"

#include <vector>

namespace korven::reports {

// The dictionaries the selection filter of a statement offers, in code order.
struct FilterLists {
    std::vector<DictionaryEntry> kinds;        // A_RODZP
    std::vector<DictionaryEntry> groups;       // A_GRUPP, or A_GRUPS for the equipment statements
    std::vector<DictionaryEntry> units;        // A_KOMEN
    std::vector<DictionaryEntry> serviceKinds; // A_OBSK
};

// Reads the filter's dictionaries of a statement.
FilterLists readFilterLists(db::Transaction& transaction, StatementId id);

// Reads what a statement is built from, in one read per list: the registry, the statement's
// dictionary and the cards or services. Cards and services are read only for the period the
// choices give (through the period indexes), never the whole table when a period is chosen.
StatementSources readStatementSources(db::Transaction& transaction, StatementId id,
                                      const StatementChoices& choices);

// Fills in the names of the picked filter entries from the lists (the command line gives codes only):
// the printout shows them. Returns the first dimension whose code is not in its list, or empty.
QString resolveFilterNames(StatementChoices& choices, const FilterLists& lists);

} // namespace korven::reports
