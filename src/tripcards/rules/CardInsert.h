#pragma once

#include "tripcards/rules/CardRecord.h"
#include "tripcards/rules/VehicleContext.h"

#include <QDate>
#include <QString>

namespace korven::tripcards {

// The multipliers and oil norms of the system record that a new card freezes. The percentages are
// per cent of the basic norm; MN_POS is the number of standstill minutes one litre per 100 km of norm
// stands for.
struct SystemMultipliers {
    double MN_POS = 0;
    double MN_MIE = 0;
    double MN_ALA = 0;
    double MN_GOROS = 0;
    double MN_GORPOZ = 0;
    double MN_OZ = 0;
    double MN_KLI = 0;
    double MN_TER = 0;
    double MN_ZIM = 0;
    double MN_SZK = 0;
    double MN_HOLON = 0;
    double MN_HOLET = 0;
    double NORMA_OON = 0;
    double NORMA_OET = 0;
};

// What a new card takes over from the vehicle's last card (zeros for a vehicle's first card).
struct CarryOver {
    double PRZEBIEGS = 0;
    double PRZEBIEGSP = 0;
    double MIER_KON = 0;
};

// The key and date of a new card.
struct NewCardKey {
    int KODD = 0;
    int ROKD = 0;
    int MIED = 0;
    QDate DATAD;
};

struct NewCardOutcome {
    CardRecord card;
    QString error; // set, with no card, when a multiplier cannot be worked out
    bool ok() const { return error.isEmpty(); }
};

// Message when the standstill multiplier MN_POS is 0.
QString zeroStandstillMessage();

// The row a new card is inserted with: key, registration number and date, the vehicle's norms and
// the system's multipliers frozen into the multiplier columns, and the counters carried over from the
// vehicle's last card; every other column 0. A standstill multiplier MN_POS of 0 makes the
// standstill litres per minute a division by zero: the outcome then holds the error and no card.
NewCardOutcome newCard(const VehicleContext& vehicle, const SystemMultipliers& system, const NewCardKey& key,
                       const CarryOver& carried);

// Only the frozen columns (the _1 multipliers and NORMAA, NORMAUG, NORMAP, NORMAO), written into card.
// Returns the error message and leaves the card untouched when MN_POS is 0.
QString freezeNorms(CardRecord& card, const VehicleContext& vehicle, const SystemMultipliers& system);

// The standstill norm printed on the work card document: R2(NORMPAL / MN_POS); false when MN_POS is 0.
bool standstillNorm(const VehicleContext& vehicle, double mnPos, double& norm);

} // namespace korven::tripcards
