#pragma once

#include "tripcards/rules/CardRecord.h"
#include "tripcards/rules/CardRegister.h"
#include "tripcards/rules/VehicleContext.h"

#include <QByteArray>
#include <QDate>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace korven::fuelimport {

// The import of fuel-card transactions into the trip cards: a file of transactions (date,
// registration number, litres, optionally the odometer) is read through a column mapping, each
// transaction is matched to the trip card of its vehicle and month, and the fuel taken is added to
// the card's actual fuel as if the operator had typed the new total into the field.

// --- Reading files ------------------------------------------------------------------------------

// The cells of a file as text, row by row, as they stand in it.
using Table = std::vector<QStringList>;

struct ReadResult {
    Table rows;
    QString error; // why the file could not be read; empty when it was
    bool ok() const { return error.isEmpty(); }
};

// A CSV text: UTF-8 with or without a byte order mark, fields separated by ';' or ',' (whichever the
// first line holds more of outside quotes), fields in double quotes may hold separators, line breaks
// and doubled quotes. Blank lines are left out.
ReadResult parseCsv(const QByteArray& bytes);
// The first sheet of an XLSX workbook: shared strings, inline strings and numbers; a cell formatted
// as a date gives its day as YYYY-MM-DD.
ReadResult readXlsx(const QByteArray& bytes);
// By the file's name: ".xlsx" as a workbook, anything else as CSV.
ReadResult readTransactionFile(const QString& path);

// A date as YYYY-MM-DD or DD.MM.YYYY (a time after it is ignored); an invalid QDate otherwise.
QDate parseImportDate(const QString& text);
// A number with a decimal comma or point, spaces as thousands separators allowed.
std::optional<double> parseImportNumber(const QString& text);
// The registration number as it is compared: without spaces and dashes, in upper case.
QString normalisedRegistration(const QString& text);

// --- Column mapping -----------------------------------------------------------------------------

// Which column of the file (counted from 1) holds what; 0 for the odometer means there is none.
struct ColumnMapping {
    QString NAZWA;
    int date = 1;
    int registration = 2;
    int litres = 3;
    int odometer = 0;
    bool header = true; // the first row holds column names, not a transaction
    bool isDefault = false;
    friend bool operator==(const ColumnMapping&, const ColumnMapping&) = default;
};

// "date=1,reg=2,litres=3,odometer=4,header=yes": the form of the command line.
QString mappingText(const ColumnMapping& mapping);
// Reads that form into mapping (keys not given keep their value). Returns why it was refused, or
// empty text when it was taken.
QString parseMappingText(const QString& text, ColumnMapping& mapping);
// Why the mapping cannot be used (a column missing, two fields on one column), or empty text.
QString checkMapping(const ColumnMapping& mapping);
// A mapping guessed from the names of a header row ("Data", "Nr rej.", "Litry", "Licznik" and the
// like); nothing when the date, registration and litres columns are not all recognised.
std::optional<ColumnMapping> guessMapping(const QStringList& header);

// --- Transactions -------------------------------------------------------------------------------

struct FuelTransaction {
    int line = 0; // row of the file, counted from 1
    QDate date;
    QString registration; // as written in the file, trimmed
    double litres = 0;
    std::optional<double> odometer;
    // What makes two transactions the same one: the day, the registration number as compared, the
    // litres and the odometer to the hundredth.
    QString key() const;
};

struct ParsedRow {
    FuelTransaction transaction;
    QString error; // why the row is no transaction (an unreadable date, no litres ...)
};

// The rows of the table under the mapping; the header row is skipped and blank rows left out.
std::vector<ParsedRow> readTransactions(const Table& table, const ColumnMapping& mapping);

// --- Matching and the preview -------------------------------------------------------------------

enum class RowStatus { Matched, Unmatched, Duplicate };

struct RowOutcome {
    FuelTransaction transaction;
    RowStatus status = RowStatus::Unmatched;
    QString reason; // why it is unmatched or a duplicate
    tripcards::CardKey card;
};

// One card the import changes: the actual fuel before and after, and the card as it will be saved.
struct CardChange {
    tripcards::CardKey key;
    QString NRREJ;
    double before = 0;
    double after = 0;
    double litres = 0;
    int transactions = 0;
    tripcards::CardRecord original; // the card as read
    tripcards::CardRecord updated;  // the card after the fuel was entered and the card recomputed
    QString refusal;                // why the card cannot take the fuel; empty when it can
};

// What the matching works on: every vehicle, the cards of the months of the file, the keys of the
// transactions imported before, and who imports (the same right to change a card as in the window).
struct ImportInput {
    std::vector<tripcards::VehicleContext> vehicles;
    std::vector<tripcards::CardRecord> cards;
    QSet<QString> importedKeys;
    int accessLevel = 0;
    int currentYear = 0; // working period, two-digit year
    int currentMonth = 0;
};

struct ImportPlan {
    std::vector<RowOutcome> rows;
    std::vector<CardChange> cards;
    int count(RowStatus status) const;
    // The cards that cannot take their fuel; the import writes nothing while there is one.
    std::vector<const CardChange*> refused() const;
    bool canApply() const { return refused().empty(); }
};

ImportPlan planImport(const std::vector<ParsedRow>& rows, const ImportInput& input);

QString statusText(RowStatus status);

} // namespace korven::fuelimport
