#pragma once

#include "db/Database.h"

#include <QStringList>

namespace korven::schema {

// Indexes for reading the cards of a period and the highest card number (of all cards and of one
// month), and the services of a span of planned dates. The card keys lead by vehicle or machine,
// which serves a register but makes every statement and every numbering read the whole table.
//   A_KARTA_OKRES  (ROKD, MIED, KODD)  trip cards of a month or span; highest number of a month
//   A_KARTA_NR     (KODD), descending  highest trip card number
//   A_KARTAS_OKRES (ROKS, MIES, KODK)  the same for equipment cards
//   A_KARTAS_NR    (KODK), descending
//   A_OBSLU_DATAP  (DATAP)             services planned in a date window
QStringList statementIndexStatements();

// Adds the indexes above that a database lacks (an older database, or one made before they were
// part of the schema); returns how many were created. Running it again changes nothing.
int addStatementIndexes(db::Attachment& attachment);

} // namespace korven::schema
