#pragma once

#include "registries/data/Equipment.h"
#include "registries/ui/RegistryFrames.h"
#include "registries/ui/RegistryWindows.h"

namespace korven::registries {

// Holds the data class ahead of the list window that uses it.
struct EquipmentData {
    explicit EquipmentData(session::Session& session) : machines(session.working()) {}
    EquipmentRegistry machines;
};

// The equipment list ("Kartoteka Sprzętu").
class Sprzet : private EquipmentData, public RegistryList<EquipmentRecord> {
public:
    Sprzet(session::Session& session, const RegistryLinks& links, QWidget* parent = nullptr);
    EquipmentRegistry& machines() { return EquipmentData::machines; }

protected:
    void openEditor(int position) override;
    QString exportTitle() const override;
};

// The equipment editor ("Dane Szczegółowe Sprzętu").
class SprzetEd : public RegistryEditor<EquipmentRecord> {
public:
    SprzetEd(session::Session& session, Sprzet& list, int position, QWidget* parent = nullptr);
    QLabel* engineLabel() const { return engineLabel_; }

protected:
    void refreshExtras() override;
    reports::ReportJob reportJob(const EquipmentRecord& row) const override;

private:
    // Leaving the engine kind: the "2" or "4" warning (it only warns) and the label beside it.
    void engineKindLeft();
    QLabel* engineLabel_ = nullptr;
};

} // namespace korven::registries
