#pragma once

#include "db/Database.h"

#include <QStringList>

namespace korven::schema {

// The statements that build the tables, generator, trigger and index of a new database, in order.
QStringList creationStatements();

// The table of operators' access levels, readable by everyone and writable only by the
// administrator. Part of every new database; older databases get it through addAccessLevelTable.
QStringList accessLevelTableStatements();
// Adds the access level table to a database that lacks it; false when it is there already.
bool addAccessLevelTable(db::Attachment& attachment);

// The rows a new database starts with: the system record and the two dictionaries that come filled.
QStringList startingRows(int year, int month);

// Names of the additions of a trip card; each has the columns NAME, NAME_1, NAME_2 and NAME_3.
const QStringList& additionNames();

// Creates korven.adb (or the given database) with the whole schema and its starting rows. The working
// period starts at the given two-digit year and month. Refuses to overwrite an existing file.
std::unique_ptr<db::Attachment> createDatabase(const db::ConnectParams& params, int year, int month);

} // namespace korven::schema
