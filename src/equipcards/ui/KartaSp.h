#pragma once

#include "equipcards/data/EquipmentCardData.h"
#include "ui/ListWindow.h"

#include <functional>

class QCheckBox;

namespace korven::equipcards {

// Which card document a document button asks for.
enum class EquipmentDocument { WorkCard, Settlement };

// What the card documents are given: the document, its template, and the fields of the selected card.
struct EquipmentDocumentRequest {
    EquipmentDocument document = EquipmentDocument::WorkCard;
    QString templateFile;
    EquipmentCard card;
    EquipmentContext machine;
};

using EquipmentDocumentMaker = std::function<void(QWidget* parent, const EquipmentDocumentRequest& request)>;

// The program's maker of the card documents, set once at start; every register opened afterwards
// hands its documents to it. Empty until the card documents exist: the buttons then say so.
EquipmentDocumentMaker& equipmentDocumentMaker();

// "Karty Sprzętu": the work cards of one machine. Adds the card of the working month, opens a card in
// its settlement window, deletes cards, prints and exports the list, and hands a card to the card
// documents.
class KartaSp : public ui::ListWindow {
    Q_OBJECT
public:
    KartaSp(EquipmentCardData& data, RegisterMachine machine, QWidget* parent = nullptr);

    // The card documents of this window; equipmentDocumentMaker() when the window opens.
    EquipmentDocumentMaker makeDocument;

    // "&Nowa Karta" and Insert: the card is selected in the re-read list; a refusal is shown.
    void addCard();
    // "&Dane Karty", Enter, double click: the settlement window of the selected card.
    void openCard(const db::Row& row);
    // "&Karta Pracy " and "&Rozliczenie".
    void requestDocument(EquipmentDocument document);
    // "W&ykres": the machine's litres per hour over the last years.
    void showChart();
    // "&Historia": the recorded changes of the selected card (the administrator only).
    void showHistory();

    const RegisterMachine& machine() const { return machine_; }
    QCheckBox* pagesChoice() const { return pagesChoice_; }
    std::optional<EquipmentCard> currentCard() const;

private:
    void selectCard(const EquipmentCardKey& key);

    EquipmentCardData& data_;
    RegisterMachine machine_;
    QCheckBox* pagesChoice_ = nullptr;
};

} // namespace korven::equipcards
