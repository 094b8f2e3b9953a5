#pragma once

#include "exports/GridExport.h"
#include "exports/rules/CardDocuments.h"

#include <functional>

class QWidget;

namespace korven::exports::ui {

// The documents folder and the opening of a finished document through the program's UI services.
ExportEnvironment documentEnvironment();

// Builds the plan, makes the document from the template in the program's folder and opens it. A
// failure (the plan cannot be built, the template is missing, the file cannot be written) is shown
// to the operator and leaves no file behind. The hourglass shows while the document is written.
ExportOutcome showCardDocument(QWidget* parent, const std::function<FillPlan()>& plan,
                               const ExportEnvironment& env = documentEnvironment());

// The trip card register's "&Karta Pracy ": the work card, or the mileage settlement when ticked.
ExportOutcome showTripCardDocument(QWidget* parent, const tripcards::DocumentFields& fields,
                                   bool mileageSettlement);

// The equipment card register's "&Karta Pracy " and "&Rozliczenie".
ExportOutcome showEquipmentDocument(QWidget* parent, const EquipmentCardRow& card,
                                    const EquipmentDocumentContext& machine, EquipmentForm form);

} // namespace korven::exports::ui
