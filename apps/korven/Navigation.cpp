#include "Navigation.h"

#include "registries/ui/DictionaryWindows.h"
#include "registries/ui/RegistryWindows.h"
#include "session/ui/MainWindows.h"
#include "technical/ui/TechnicalWindows.h"
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
    n.technical = [&session](QWidget* parent) {
        technical::openTechnicalFunctions(parent, session, [parent] {
            if (auto* main = qobject_cast<session::mainP*>(parent)) main->refreshTitle();
        });
    };
    n.dictionary = [&session](QWidget* parent, session::Dictionary d) {
        registries::openDictionary(parent, session, dictionaryKind(d));
    };
    return n;
}

} // namespace korven::app
