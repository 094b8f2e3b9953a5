#pragma once

#include "core/SystemSettings.h"
#include "db/Database.h"

namespace korven::technical {

// The statements of the system settings window on FJ_BAZA and the two repairs.

// The system record as the settings window edits it: every column, texts at their full widths.
SystemSettings readSystemRecord(db::Transaction& transaction);

// Writes the edited columns of the record and reads the record back in the same transaction, so
// that what is returned is what was committed. Errors roll back and are passed on.
SystemSettings saveSystemRecord(db::Transaction& transaction, const SystemSettings& edited);

// The repairs of the "O Programie" tab: trip cards of vehicle 0 and the machine with code 0.
void deleteTripCardsOfVehicleZero(db::Transaction& transaction);
void deleteEquipmentZero(db::Transaction& transaction);

// The update statement, for tests.
QString systemRecordUpdateStatement();

} // namespace korven::technical
