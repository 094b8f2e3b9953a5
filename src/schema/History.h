#pragma once

#include "db/Database.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace korven::schema {

// The tables whose changes are recorded in FJ_HIST, each with the columns of its key.
struct HistoryTable {
    QString table;
    QStringList key;
};
const std::vector<HistoryTable>& historyTables();

// The table, column list pairs of the CREATE TABLE statements among `statements`, in their order.
std::vector<std::pair<QString, QStringList>> tableColumns(const QStringList& statements);

// The change history: the FJ_HIST table and its generator, and for every recorded table three AFTER
// triggers generated from the table's columns (given as by tableColumns), with the rights they need
// to write the history. Nobody else gets any right on FJ_HIST, so only the administrator reads it.
// An insert records the row's key only (the new row is the row itself, and the month opening inserts
// thousands of cards); an update records the columns it changed, old and new, and nothing when it
// changed none; a delete records the values the row had.
QStringList historyStatements(const std::vector<std::pair<QString, QStringList>>& columns);

// One recorded change.
struct HistoryEntry {
    qint64 id = 0;
    QString table;
    QString key;       // "KODA=1;KODD=5;ROKD=26;MIED=3"
    QString operation; // "I", "U" or "D"
    QString user;      // the database user who made the change
    QDateTime time;
    QString changes; // one line a column: "NAME: old -> new" (update), "NAME: old" (delete)
};

// What the history statement shows; empty fields do not filter.
struct HistoryFilter {
    QDate from;
    QDate to;
    QString user;
    QString table;
    QString key; // the key text of one row, exactly
};

// Thrown when the user may not read the history (every user but the administrator).
class HistoryDenied : public std::runtime_error {
public:
    HistoryDenied() : std::runtime_error("Brak uprawnień") {}
};

// The message shown instead of the history to everyone but the administrator.
inline QString historyDeniedText() {
    return QStringLiteral("Brak uprawnień do odczytu historii zmian. Historię zmian przegląda tylko "
                          "administrator bazy danych.");
}

// The key text the history uses for a row: the key columns with their values, "KODA=1;KODD=5".
QString historyKey(const QStringList& names, const QStringList& values);

// Reads the recorded changes that pass the filter, newest first. Throws HistoryDenied when the user has
// no right to read them; other errors are passed on.
std::vector<HistoryEntry> readHistory(db::Transaction& t, const HistoryFilter& filter);

// The users that appear in the history, for the statement's selection.
QStringList historyUsers(db::Transaction& t);

} // namespace korven::schema
