#pragma once

#include "core/Clock.h"
#include "db/Database.h"
#include "services/rules/ServiceRules.h"

#include <QDate>

#include <optional>
#include <vector>

namespace korven::services {

// The data class of the technical services register: the statements on A_OBSLU and the service kinds
// the editor offers. Writes run in the working transaction (shared transaction 1); the list read is
// bracketed by shared transaction 2.

// The vehicle the register works on.
struct ServiceVehicle {
    int KODA = 0;
    QString NAZWA;
    QString NRREJ;
};

ServiceRecord serviceFromRow(const db::Row& row);

struct AddServiceResult {
    bool added = false;
    int KODB = 0;
    QString message; // why nothing was added
};

class ServiceData {
public:
    ServiceData(db::Transaction& working, db::Transaction& bracket);

    // The vehicle with that code, or nothing when there is none. Database errors are passed on.
    std::optional<ServiceVehicle> loadVehicle(int KODA);

    // The services of the vehicle in number order; a failed read gives no rows.
    db::Rows list(int KODA);

    // "&Nowa Obsługa": the vehicle's next number, carried out today, the rest the table's defaults.
    // The vehicle row is locked while the number is read and the row inserted, so that two operators
    // adding a service to one vehicle at once get consecutive numbers, and the vehicle cannot be
    // deleted under its new service.
    AddServiceResult add(int KODA, const QDate& today = korven::today());

    // "O&K" of the editor: every column of the row, where the key is the key of the row as read.
    // False when no such row exists any more; database errors are passed on.
    bool post(const ServiceRecord& edited, int oldKODA, int oldKODB);

    // Deletes the service; false when it failed (rolled back) or there was no such service.
    bool remove(int KODA, int KODB);

    // The services planned and not yet carried out that are due on `today`, by date and, when
    // `byCounter` is on, by the odometer (the highest final odometer of the vehicle's trip cards)
    // reaching the planned counter less `margin` km; in order of vehicle code and service number.
    // Database errors are passed on.
    std::vector<DueService> dueServices(const QDate& today, bool byCounter, int margin);
    // The service kinds in code order. Database errors are passed on.
    std::vector<ServiceKind> kinds();

private:
    db::Transaction& working_;
    db::Transaction& bracket_;
};

} // namespace korven::services
