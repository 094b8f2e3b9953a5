#pragma once

#include "registries/data/Vehicle.h"
#include "registries/ui/RegistryFrames.h"
#include "registries/ui/RegistryWindows.h"

namespace korven::registries {

// Holds the data class ahead of the list window that uses it.
struct VehicleData {
    explicit VehicleData(session::Session& session) : vehicles(session.working()) {}
    VehicleRegistry vehicles;
};

// The vehicle list ("Kartoteka Pojazdów").
class Pojazd : private VehicleData, public RegistryList<VehicleRecord> {
public:
    Pojazd(session::Session& session, const RegistryLinks& links, QWidget* parent = nullptr);

    VehicleLayout gridLayout() const { return layout_; }
    // The "Normal" check box: the grid layout, the box's caption and the export button's caption.
    void switchLayout(VehicleLayout layout);
    QCheckBox* layoutBox() const { return layoutBox_; }
    VehicleRegistry& vehicles() { return VehicleData::vehicles; }

protected:
    void openEditor(int position) override;
    QString exportTitle() const override;

private:
    VehicleLayout layout_ = VehicleLayout::Normal;
    QCheckBox* layoutBox_ = nullptr;
};

// The vehicle editor ("Dane Szczegółowe Pojazdu").
class PojazdEd : public RegistryEditor<VehicleRecord> {
public:
    PojazdEd(session::Session& session, Pojazd& list, int position, QWidget* parent = nullptr);

    QLabel* typeLabel() const { return typeLabel_; }
    QLabel* designation() const { return designation_; }

protected:
    void refreshExtras() override;
    reports::ReportJob reportJob(const VehicleRecord& row) const override;

private:
    QLabel* typeLabel_ = nullptr;
    QLabel* designation_ = nullptr;
};

} // namespace korven::registries
