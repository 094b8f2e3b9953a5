#pragma once

#include "tripcards/data/CardRegisterData.h"
#include "ui/ListWindow.h"

class QCheckBox;
class QSpinBox;

namespace korven::tripcards {

// "Karty Drogowe": the trip cards of one vehicle. Adds the card of the working month, opens a card in
// its settlement window, deletes cards, prints and exports the list.
class Karta : public ui::ListWindow {
    Q_OBJECT
public:
    Karta(CardRegisterData& data, RegisterVehicle vehicle, QWidget* parent = nullptr);

    // "&Nowa Karta" and Insert: the card is selected in the re-read list; a refusal is shown.
    void addCard();
    // "&Dane Karty", Enter, double click: the settlement window of the vehicle's kind.
    void openCard(const db::Row& row);
    void printCards();
    // "&Karta Pracy ": the work card of the selected card, or its mileage settlement when the check
    // box is ticked, with the vehicle's planned services; a failure is shown.
    void makeDocument();
    // "W&ykres": the vehicle's consumption chart over the last years.
    void showChart();
    // "&Historia": the recorded changes of the selected card (the administrator only).
    void showHistory();

    const RegisterVehicle& vehicle() const { return vehicle_; }
    QSpinBox* sectionField() const { return section_; }
    // The card of the list's current row.
    std::optional<CardRecord> currentCard() const;

private:
    void selectCard(const CardKey& key);

    CardRegisterData& data_;
    RegisterVehicle vehicle_;
    std::optional<CardKey> lastAdded_;
    QSpinBox* section_ = nullptr;
    QCheckBox* documentChoice_ = nullptr;
};

} // namespace korven::tripcards
