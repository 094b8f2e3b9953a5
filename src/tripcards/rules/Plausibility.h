#pragma once

#include "tripcards/rules/CardRecord.h"
#include "tripcards/rules/VehicleContext.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <vector>

namespace korven::tripcards {

// Checks of a settled trip card for values that are possible but doubtful: typing slips and readings
// that run backwards. Each doubt gives one warning text; the operator decides whether to keep the
// card. Nothing here refuses a card.

// A month's mileage is doubtful above this many times the vehicle's median month.
inline constexpr double mileageMedianFactor = 3.0;
// The median is trusted only when at least this many earlier months had any mileage.
inline constexpr int mileageHistoryMinimum = 3;
// Without a trusted median, a final odometer that loses a digit to become a plausible reading is
// taken as a slip when the month would otherwise be at least this many km longer than that reading.
inline constexpr double slipFallbackMonth = 10000.0;

// The median of the months that had any mileage (months of standstill say nothing about how far
// the vehicle drives); nothing when fewer than mileageHistoryMinimum such months are given.
std::optional<double> medianMonthlyMileage(std::span<const double> mileages);

// The final odometer with one of its digits left out, when that gives a reading from the initial
// odometer up to `longestMonth` km beyond it and the typed reading is beyond that range: the reading
// the operator most likely meant (199105 typed as 1999105). The closest such reading to the initial
// one plus `expectedMonth` is taken. Only the whole kilometres are looked at.
std::optional<double> slipCorrection(double initial, double final, double longestMonth, double expectedMonth);

// The number of fills the fuel due needs from a tank of that capacity, plus the tank the month
// started with.
int expectedFills(double fuelDue, double tankCapacity);

enum class Doubt { OdometerBackwards, OdometerSlip, MileageBeyondHistory, FuelAboveTank, MeterBackwards };
struct PlausibilityWarning {
    Doubt doubt;
    QString text;
};

// Every doubt about the card, in a fixed order: final odometer below the initial one, a typing slip
// in the final odometer, a month far beyond the vehicle's history, fuel above what the tank could
// have taken, a fuel meter running backwards (cards of vehicles with a fuel meter only). `history`
// holds the mileages of the vehicle's earlier months (up to 12, any order).
std::vector<PlausibilityWarning> plausibilityDoubts(const CardRecord& card, const VehicleContext& vehicle,
                                                    std::span<const double> history);
// The texts of the doubts, as the operator is shown them.
QStringList plausibilityWarnings(const CardRecord& card, const VehicleContext& vehicle,
                                 std::span<const double> history);

// The question shown with the warnings when the card is saved.
QString plausibilityQuestion(const QStringList& warnings);
inline const QString plausibilityQuestionTitle = QStringLiteral("Wątpliwe dane karty");

} // namespace korven::tripcards
