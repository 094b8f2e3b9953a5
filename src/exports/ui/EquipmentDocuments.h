#pragma once

#include "equipcards/ui/KartaSp.h"

namespace korven::exports::ui {

// The equipment card register's documents: the work card in the page variant of its check box, or
// the settlement, filled from the selected card and the register's machine.
void makeEquipmentDocument(QWidget* parent, const equipcards::EquipmentDocumentRequest& request);

// Hands the documents of every equipment card register opened afterwards to makeEquipmentDocument.
void installEquipmentDocuments();

} // namespace korven::exports::ui
