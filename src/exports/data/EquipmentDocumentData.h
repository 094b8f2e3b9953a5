#pragma once

#include "db/Database.h"
#include "exports/rules/CardDocuments.h"

#include <QLocale>
#include <QString>

#include <optional>

namespace korven::exports {

// An equipment work card and its machine as the card documents read them, straight from A_KARTAS and
// A_SPRZET. The equipment card register hands over the same values from its list and its equipment
// context; this reading serves the command line.
struct EquipmentDocumentSource {
    EquipmentCardRow card;
    EquipmentDocumentContext machine;
};

struct EquipmentDocumentLookup {
    std::optional<EquipmentDocumentSource> source;
    QString error; // no such card or machine, or capacities that are not numbers
};

// The card (KODS, KODK, ROKS, MIES) and its machine, read in the transaction by the shared pattern.
// Database errors are passed on.
EquipmentDocumentLookup loadEquipmentDocument(db::Transaction& transaction, int KODS, int KODK, int ROKS,
                                              int MIES, const QLocale& locale = QLocale());

// The rows as the documents read them; null numbers read as 0, texts as stored.
EquipmentCardRow equipmentCardFromRow(const db::Row& row);
// The machine's context; false when its capacities are not numbers.
bool equipmentContextFromRow(const db::Row& row, EquipmentDocumentContext& machine,
                             const QLocale& locale = QLocale());

} // namespace korven::exports
