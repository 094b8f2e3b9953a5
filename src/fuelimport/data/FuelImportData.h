#pragma once

#include "core/SystemSettings.h"
#include "db/Database.h"
#include "fuelimport/rules/FuelImport.h"

#include <QString>

#include <optional>
#include <vector>

namespace korven::fuelimport {

// The data class of the fuel transaction import: the named column mappings (FJ_IMPMAP), the
// transactions imported before (FJ_IMPTR), the vehicles and cards the matching needs, and the one
// writing transaction of an import. Reads are bracketed by shared transaction 2, writes run in the
// working transaction by the shared transaction pattern.

struct ApplyResult {
    enum class Status { Applied, Refused, Conflict, Failed } status = Status::Failed;
    QString message; // empty when applied
    int cards = 0;
    int transactions = 0;
    bool applied() const { return status == Status::Applied; }
};

class FuelImportData {
public:
    FuelImportData(db::Transaction& working, db::Transaction& bracket, SystemSettings settings,
                   OperatorSession operatorSession);

    // The stored mappings by name; the default one, when one is marked so.
    std::vector<ColumnMapping> mappings();
    std::optional<ColumnMapping> mapping(const QString& name);
    std::optional<ColumnMapping> defaultMapping();
    // Stores the mapping under its name (a new one or over the old one); a default mapping takes the
    // mark from any other. Database errors are passed on.
    void saveMapping(const ColumnMapping& mapping);
    void deleteMapping(const QString& name);

    // Every vehicle, the cards of the months the transactions fall in, the keys imported before,
    // and the operator's right to change cards. Database errors are passed on.
    ImportInput loadInput(const std::vector<ParsedRow>& rows);

    // Writes the plan in one transaction: each changed card is read again under a row lock and must be
    // as the preview read it, then updated; each matched transaction is recorded so that it is never
    // imported twice. Nothing is written when a card is refused, was changed in the meantime, is held
    // by another copy of the program, or anything else fails.
    ApplyResult apply(const ImportPlan& plan, const QString& fileName);

private:
    db::Transaction& working_;
    db::Transaction& bracket_;
    SystemSettings settings_;
    OperatorSession operator_;
};

} // namespace korven::fuelimport
