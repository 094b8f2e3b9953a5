#pragma once

#include <functional>

class QWidget;

namespace korven::session {

enum class Dictionary { VehicleKinds, VehicleGroups, Units, ServiceKinds, EquipmentGroups };

// The windows the main menu opens. Each subsystem fills in its own; a button whose window does not
// exist yet is shown disabled. Each opener shows its window modally over the given parent.
struct Navigator {
    std::function<void(QWidget*)> vehicles;
    std::function<void(QWidget*)> equipment;
    std::function<void(QWidget*)> vehicleReports;
    std::function<void(QWidget*)> equipmentReports;
    std::function<void(QWidget*)> technical; // inside the FTECH bracket
    std::function<void(QWidget*, Dictionary)> dictionary;
    std::function<bool(Dictionary)> hasDictionary;
};

} // namespace korven::session
