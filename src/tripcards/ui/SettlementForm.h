#pragma once

#include "tripcards/data/CardRegisterData.h"
#include "tripcards/rules/CardRegister.h"
#include "tripcards/rules/FieldEvents.h"
#include "ui/FieldForm.h"

class QLabel;

namespace korven::tripcards {

using ui::CellSpec;
using ui::FieldRole;
using ui::GroupSpec;

// The frame of the two settlement windows: groups of fields bound to the columns of one card,
// built from tables. Leaving an input field runs that column's rule on the card (the field keeps the
// focus with a message when its text is not a number or a date), every field then shows the card's
// new values, and the result labels say saving or overconsumption. "&Przelicz" recomputes, "D&rukuj"
// prints the settlement, "O&K" saves the card if the operator may change it, "&Anuluj" and Esc close
// without saving.
class SettlementForm : public ui::FieldForm {
    Q_OBJECT
public:
    SettlementForm(SettlementMode mode, const CardRecord& card, const VehicleContext& vehicle,
                   CardRegisterData& data, QWidget* parent = nullptr);

    const CardRecord& card() const { return card_; }
    QLabel* fuelResult() const { return fuelResult_; }
    QLabel* oilResult() const { return oilResult_; }

    void recalculateCard();
    void printCard();
    void saveCard();

protected:
    QString fieldText(const char* column) const override;
    QString leaveField(const QString& id, const char* column, FieldRole role, ui::CheckedEdit& edit) override;
    bool isDateColumn(const char* column) const override;

private:
    void afterChange(const FieldOutcome& outcome, const QString& id);
    void refresh();
    void buildLayout();

    SettlementMode mode_;
    CardRecord card_;
    CardKey original_;
    VehicleContext vehicle_;
    CardRegisterData& data_;
    QLabel* fuelResult_ = nullptr;
    QLabel* oilResult_ = nullptr;
};

// "Karta Drogowa": the card of a vehicle without a fuel meter, settled by norms and allowances.
class KartaD : public SettlementForm {
    Q_OBJECT
public:
    KartaD(const CardRecord& card, const VehicleContext& vehicle, CardRegisterData& data,
           QWidget* parent = nullptr)
        : SettlementForm(SettlementMode::Norms, card, vehicle, data, parent) {}
};

// "Karta Drogowa z Paliwomierzem": the card of a vehicle with a fuel meter, settled by its readings.
class KartaD2 : public SettlementForm {
    Q_OBJECT
public:
    KartaD2(const CardRecord& card, const VehicleContext& vehicle, CardRegisterData& data,
            QWidget* parent = nullptr)
        : SettlementForm(SettlementMode::Meter, card, vehicle, data, parent) {}
};

} // namespace korven::tripcards
