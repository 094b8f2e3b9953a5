#pragma once

#include <functional>

class QWidget;

namespace korven::session {
class Session;
}

namespace korven::registries {

// The windows a registry opens for its current row, given by the main program. A button whose hook
// is empty is disabled.
struct RegistryLinks {
    std::function<void(QWidget* parent, int koda)> openTripCards;      // "&Karty Drogowe"
    std::function<void(QWidget* parent, int koda)> openServices;       // "&Obsługi Tech."
    std::function<void(QWidget* parent, int kods)> openEquipmentCards; // "&Karty Sprzętu"
};

// "Kartoteka Pojazdów": the vehicle list, modal; the parent hides itself meanwhile.
void openVehicleRegistry(QWidget* parent, session::Session& session, const RegistryLinks& links);
// "Kartoteka Sprzętu": the equipment list, modal; the parent hides itself meanwhile.
void openEquipmentRegistry(QWidget* parent, session::Session& session, const RegistryLinks& links);

} // namespace korven::registries
