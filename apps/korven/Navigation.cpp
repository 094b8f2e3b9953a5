#include "Navigation.h"

#include "equipcards/ui/EquipmentCardWindows.h"
#include "registries/ui/DictionaryWindows.h"
#include "registries/ui/RegistryWindows.h"
#include "reports/ui/ReportMenus.h"
#include "services/ui/ServiceWindows.h"
#include "tripcards/ui/TripCardWindows.h"

namespace korven::app {

namespace {

registries::DictionaryKind dictionaryKind(session::Dictionary d) {
    switch (d) {
    case session::Dictionary::VehicleKinds:
        return registries::DictionaryKind::VehicleKinds;
    case session::Dictionary::VehicleGroups:
        return registries::DictionaryKind::VehicleGroups;
    case session::Dictionary::Units:
        return registries::DictionaryKind::Units;
    case session::Dictionary::ServiceKinds:
        return registries::DictionaryKind::ServiceKinds;
    case session::Dictionary::EquipmentGroups:
        break;
    }
    return registries::DictionaryKind::EquipmentGroups;
}

// The windows the registries open for their current vehicle or machine.
registries::RegistryLinks registryLinks(session::Session& session) {
    registries::RegistryLinks links;
    links.openTripCards = [&session](QWidget* parent, int koda) {
        tripcards::openTripCardRegister(parent, session, koda);
    };
    links.openServices = [&session](QWidget* parent, int koda) {
        services::openServiceRegister(parent, session, koda);
    };
    links.openEquipmentCards = [&session](QWidget* parent, int kods) {
        equipcards::openEquipmentCardRegister(parent, session, kods);
    };
    return links;
}

} // namespace

session::Navigator makeNavigator(session::Session& session) {
    session::Navigator n;
    n.vehicles = [&session](QWidget* parent) {
        registries::openVehicleRegistry(parent, session, registryLinks(session));
    };
    n.equipment = [&session](QWidget* parent) {
        registries::openEquipmentRegistry(parent, session, registryLinks(session));
    };
    n.vehicleReports = [&session](QWidget* parent) { reports::ui::openVehicleReports(parent, session); };
    n.equipmentReports = [&session](QWidget* parent) { reports::ui::openEquipmentReports(parent, session); };
    n.dictionary = [&session](QWidget* parent, session::Dictionary d) {
        registries::openDictionary(parent, session, dictionaryKind(d));
    };
    return n;
}

} // namespace korven::app
