#pragma once

#include "db/Database.h"

#include <QStringList>

#include <functional>

namespace korven::schema {

// The statements that build the tables, generator, trigger and index of a new database, in order.
QStringList creationStatements();

// The table of operators' access levels, readable by everyone and writable only by the
// administrator. Part of every new database; older databases get it through addAccessLevelTable.
QStringList accessLevelTableStatements();
// The key/value table of the optional additions' switches and numbers (KLUCZ, WARTOSC), readable
// by everyone; written by the settings window of an operator with all rights.
QStringList addonOptionsTableStatements();
// Adds the access level table to a database that lacks it; false when it is there already.
bool addAccessLevelTable(db::Attachment& attachment);

// The mappings and imported transactions of the fuel transaction import.
QStringList fuelImportTableStatements();

// The rows a new database starts with: the system record and the two dictionaries that come filled.
QStringList startingRows(int year, int month);

// Names of the additions of a trip card; each has the columns NAME, NAME_1, NAME_2 and NAME_3.
const QStringList& additionNames();

// What a caller adds to a new database before it is complete (the demo data).
using DatabaseFiller = std::function<void(db::Attachment&)>;

// Creates korven.adb (or the given database) with the whole schema, its starting rows and what `fill`
// adds, and returns an attachment to it. The working period starts at the given two-digit year and
// month. Refuses to overwrite an existing file.
// A local database is built under a temporary name beside the target ("korven.adb.<pid>.tmp"),
// written to the disk and only then given its name, so that a run stopped at any moment leaves
// either no database or the complete one. Temporary files of runs killed earlier are removed; a stop
// signal handler removes the current one (see RemoveOnStop). On a server the database is built in
// place and dropped when anything fails.
std::unique_ptr<db::Attachment> createDatabase(const db::ConnectParams& params, int year, int month,
                                               const DatabaseFiller& fill = {});

} // namespace korven::schema
