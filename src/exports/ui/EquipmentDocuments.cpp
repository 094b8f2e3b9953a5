#include "exports/ui/EquipmentDocuments.h"

#include "equipcards/rules/EquipmentRegister.h"
#include "exports/ui/CardDocumentView.h"

namespace korven::exports::ui {

void makeEquipmentDocument(QWidget* parent, const equipcards::EquipmentDocumentRequest& request) {
    const EquipmentForm form =
        request.document == equipcards::EquipmentDocument::Settlement
            ? EquipmentForm::Settlement
            : equipmentWorkCardForm(request.templateFile == equipcards::workCardTemplate(true));
    const equipcards::EquipmentCard& c = request.card;
    EquipmentCardRow card;
    card.KODS = c.KODS;
    card.KODK = c.KODK;
    card.ROKS = c.ROKS;
    card.MIES = c.MIES;
    card.DATAS = c.DATAS;
    card.ZUZYCIEPALN = c.ZUZYCIEPALN;
    card.ZUZYCIEPALF = c.ZUZYCIEPALF;
    card.ILOPOBOLM = c.ILOPOBOLM;
    card.IMIENAZ = c.IMIENAZ;
    const equipcards::EquipmentContext& m = request.machine;
    EquipmentDocumentContext machine;
    machine.NAZWA = m.NAZWA;
    machine.NORMPAL = m.NORMPAL;
    machine.NROPER = m.NROPER;
    machine.RODZPAL = m.RODZPAL;
    machine.POJ_ZBIO = m.POJ_ZBIO;
    machine.POJ_KANI = m.POJ_KANI;
    machine.totalCapacity = m.totalCapacity;
    machine.NRIDENT = m.NRIDENT;
    machine.NRFABR = m.NRFABR;
    machine.NRPOD = m.NRPOD;
    showEquipmentDocument(parent, card, machine, form);
}

void installEquipmentDocuments() {
    equipcards::equipmentDocumentMaker() = makeEquipmentDocument;
}

} // namespace korven::exports::ui
