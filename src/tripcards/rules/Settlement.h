#pragma once

#include "tripcards/rules/CardRecord.h"
#include "tripcards/rules/VehicleContext.h"

#include <QString>

namespace korven::tripcards {

// Settlement of a trip card: plain functions over the card record and the vehicle context.
//
// Every value is computed in double precision and rounded to its column's scale when it is written
// into the record. The fuel rounding Rk is R0 for diesel and R1 for petrol (see FuelRule). The rules
// keep no state between calls: the time part that the 130 % cap leaves alone is worked out afresh by
// the allowance total of each run.
//
// An operation either succeeds or reports an arithmetic error (a division by zero) in its outcome;
// the columns written before the error stay written, the ones after it are left as they were.

struct RuleOutcome {
    QString error; // empty when the operation ran to its end
    bool ok() const { return error.isEmpty(); }
};

// The label shown beside a result (PRZEPALP, PRZEPALO): a result of 0 or more is a saving,
// "Oszczędność (+)" in black, below 0 an overconsumption, "Przepał (-)" in red.
struct ResultLabel {
    QString text;
    bool red = false;
};
ResultLabel resultLabel(double result);
inline ResultLabel fuelResultLabel(const CardRecord& card) {
    return resultLabel(card.PRZEPALP);
}
inline ResultLabel oilResultLabel(const CardRecord& card) {
    return resultLabel(card.PRZEPALO);
}

// Message of the arithmetic error when the vehicle's basic norm is 0 and allowances must be
// converted to kilometres.
QString zeroNormMessage();

// --- The settlement chain and its steps -------------------------------------------------------

// Step 1: DODATKIP = the sum of Rk(X_2) over the fourteen allowances, in settlement order. Returns
// the time part T = the sum of Rk(X_2) of the four minute allowances, which step 2 never caps.
double allowanceTotal(CardRecord& card, FuelRule rule);

// Step 2: the kilometre allowances may add at most the room between the fuel due at 130 % of the
// norm and the fuel due at the norm: if DODATKIP - T exceeds that room, DODATKIP = room + T.
void capAllowances(CardRecord& card, FuelRule rule, double timePart);

// Step 3: RAZEMP, PRZEPALP (a saving is stored as 0), ZUZYCIEON and PRZEPALO.
void totalsAndResults(CardRecord& card);

// Step 4: converted mileage PRZEBIEGMP and PRZEBIEGSP; the allowances are turned into kilometres by
// the vehicle's current basic norm. A norm of 0 with allowances to convert is an arithmetic error
// that leaves both columns unchanged; with DODATKIP = 0 there is nothing to convert and the converted
// mileage is the mileage itself, whatever the norm.
RuleOutcome convertedMileage(CardRecord& card, const VehicleContext& vehicle);

// Steps 1 to 4 in order.
RuleOutcome settlementChain(CardRecord& card, const VehicleContext& vehicle);

// "&Przelicz" on a card settled by norms: keeps, in settlement order, the allowances needed to
// explain the fuel used above the norm and clears the rest. Does not run the chain.
void distributeAllowances(CardRecord& card);

// --- Operations on field exits of the card settled by norms -----------------------------------

// PRZEBIEGM or ZUZYCIEP left: end odometer, fuel due by the norm, chain.
RuleOutcome monthlyMileageEntered(CardRecord& card, const VehicleContext& vehicle);
inline RuleOutcome actualFuelEntered(CardRecord& card, const VehicleContext& vehicle) {
    return monthlyMileageEntered(card, vehicle);
}
// PRZEBIEG0 left: end odometer, chain.
RuleOutcome startOdometerEntered(CardRecord& card, const VehicleContext& vehicle);
// PRZEBIEGS left: monthly kilometres from the odometer; nothing else (the fuel due follows when the
// kilometres or the actual fuel are entered again).
void endOdometerEntered(CardRecord& card);
// PRZEBIEG0P left: end converted mileage, chain.
RuleOutcome startConvertedEntered(CardRecord& card, const VehicleContext& vehicle);
// PRZEBIEGMP left: end converted mileage; nothing else.
void monthConvertedEntered(CardRecord& card);
// PRZEBIEGSP left: monthly converted mileage; nothing else.
void endConvertedEntered(CardRecord& card);
// ZUZYCIEO left: chain.
RuleOutcome actualOilEntered(CardRecord& card, const VehicleContext& vehicle);
// Quantity of an allowance left: X_2 = R1(X_1 * X) (for towing also times MASAPR), chain.
RuleOutcome allowanceEntered(CardRecord& card, const VehicleContext& vehicle, const Allowance& allowance);
// DODH or MASAPR left: DODH_2 = R1(DODH_1 * DODH * MASAPR), chain.
RuleOutcome towingEntered(CardRecord& card, const VehicleContext& vehicle);
// DATAD left: outside the winter period the winter allowance (DODZ, DODZ_2, DODZ_3) is cleared and the
// chain runs; inside it nothing changes.
RuleOutcome settlementDateEntered(CardRecord& card, const VehicleContext& vehicle);
// "&Przelicz": distribution, then chain.
RuleOutcome recalculateByNorms(CardRecord& card, const VehicleContext& vehicle);

// --- Winter period and visibility ---------------------------------------------------------------

// From 1 November to 31 March inclusive, by month and day of the date. A card without a date counts
// as winter, so that leaving an empty date field never clears the winter allowance.
bool inWinterPeriod(const QDate& date);
// The winter row (DODZ and its three columns) is shown while the card's date is in the winter period.
inline bool winterRowShown(const CardRecord& card) {
    return inWinterPeriod(card.DATAD);
}
// The trailer mass field is shown while the towing quantity is above 0.
inline bool trailerMassShown(const CardRecord& card) {
    return card.DODH > 0;
}

// --- The card settled by fuel meter readings --------------------------------------------------

// Meter chain: no allowances (DODATKIP = 0), the fuel due is the meter difference ZUZYCIEPN, results
// as by norms, converted mileage as step 4.
RuleOutcome meterChain(CardRecord& card, const VehicleContext& vehicle);
// PRZEBIEGM or ZUZYCIEP left: end odometer, meter difference, meter chain.
RuleOutcome meterMileageEntered(CardRecord& card, const VehicleContext& vehicle);
// MIER_KON left: meter difference, meter chain.
RuleOutcome meterEndReadingEntered(CardRecord& card, const VehicleContext& vehicle);
// PRZEBIEG0 left: end odometer, meter chain.
RuleOutcome meterStartOdometerEntered(CardRecord& card, const VehicleContext& vehicle);
// PRZEBIEG0P left: end converted mileage, meter chain.
RuleOutcome meterStartConvertedEntered(CardRecord& card, const VehicleContext& vehicle);

} // namespace korven::tripcards
