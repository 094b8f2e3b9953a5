#pragma once

#include "services/data/ServiceData.h"
#include "ui/ListWindow.h"
#include "ui/RecordEditor.h"

class QPushButton;

namespace korven::services {

// "Kartoteka Obsług Technicznych": the technical services of one vehicle. Adds a service, opens it in
// its editor, deletes services, prints (landscape) and exports the list.
class ObslugaT : public ui::ListWindow {
    Q_OBJECT
public:
    ObslugaT(ServiceData& data, ServiceVehicle vehicle, const SystemSettings& settings, QString operatorName,
             QWidget* parent = nullptr);

    // "&Nowa Obsługa" and Insert: the new service is selected in the re-read list.
    void addService();
    const ServiceVehicle& vehicle() const { return vehicle_; }

private:
    ServiceData& data_;
    ServiceVehicle vehicle_;
    SystemSettings settings_;
    QString operatorName_;
};

// "Korekta Danych o Obsłudze Technicznej Pojazdu": the details of one service. Choosing a name in the
// drop-down copies the kind's short name and interval; "&Wylicz Datę Planowaną" sets the planned date
// from the date carried out and the interval; "O&K" saves (not without a short name) and closes.
class ObslugaTD : public ui::RecordEditor {
    Q_OBJECT
public:
    ObslugaTD(ServiceData& data, const ServiceRecord& service, QWidget* parent = nullptr);

    const ServiceRecord& service() const { return service_; }
    QPushButton* planButton() const { return plan_; }
    // The kind chosen in the drop-down, by its position.
    void chooseKind(int index);
    // "&Wylicz Datę Planowaną".
    void computePlannedDate();

private:
    bool save(const db::Params& values);

    ServiceData& data_;
    ServiceRecord service_;
    std::vector<ServiceKind> kinds_;
    QPushButton* plan_ = nullptr;
};

} // namespace korven::services
