#pragma once

#include "equipcards/data/EquipmentCardData.h"
#include "equipcards/rules/EquipmentSettlement.h"
#include "ui/FieldForm.h"

class QGroupBox;
class QLabel;

namespace korven::equipcards {

// "Szczegółowe Dane Karty Sprzętowej": the settlement of one work card. The working time, the actual
// fuel and the oil taken recompute the card when left; "&Przelicz" recomputes, "O&K" saves the card
// if the operator may change it, "&Anuluj" and Esc close without saving. A four-stroke machine has no
// oil rows and a smaller window.
class KartaSpEd : public ui::FieldForm {
    Q_OBJECT
public:
    KartaSpEd(const EquipmentCard& card, const EquipmentContext& machine, EquipmentCardData& data,
              QWidget* parent = nullptr);

    const EquipmentCard& card() const { return card_; }
    QLabel* savingLabel() const { return savingLabel_; }
    QGroupBox* group() const { return group_; }

    void recalculateCard();
    void saveCard();

protected:
    QString fieldText(const char* column) const override;
    QString leaveField(const QString& id, const char* column, ui::FieldRole role,
                       ui::CheckedEdit& edit) override;
    bool isDateColumn(const char* column) const override;

private:
    void show(const EventOutcome& outcome);

    EquipmentCard card_;
    EquipmentCardKey original_;
    EquipmentContext machine_;
    EngineKind engine_;
    EquipmentCardData& data_;
    QLabel* savingLabel_ = nullptr;
    QGroupBox* group_ = nullptr;
};

} // namespace korven::equipcards
