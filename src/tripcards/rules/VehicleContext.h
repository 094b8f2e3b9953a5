#pragma once

#include <QString>

namespace korven::tripcards {

// What the trip card register copies from the vehicle that is current in the vehicle registry when
// it opens. The names are those of the A_AUTO columns the values come from. Texts are held trimmed
// and cut to their widths (see normalised()); the capacities are kept as text, as the vehicle editor
// writes them.
struct VehicleContext {
    int KODA = 0;
    double NORMPAL = 0; // basic fuel norm, litres per 100 km
    double NORMPOM = 0; // pump norm, litres per minute
    double NORMUG = 0;  // "Norma dla UG"
    QString RODZPAL;    // fuel kind: "ON" diesel, "ET" petrol
    QString NRREJ;
    QString NAZWA;
    QString TYP; // "O" passenger car, anything else other vehicles
    QString MARKAPOD, TYPPOD, MODELPOD;
    QString POJ_ZBIO, POJ_KANI;
    QString OLEJ_KLA, OLEJ_POJ, OLEJ_MAR;
    QString KOMENDA;
    double NORMUR1 = 0;  // special device norm
    double NORMUR2 = 0;  // air conditioning norm
    QString CZY_MIERNIK; // "T" fuel meter fitted
    QString OSOB_ODP;

    // The same context with every text trimmed and cut to the width the register keeps.
    VehicleContext normalised() const;
};

// How the fuel quantities of a card are rounded.
//
// Diesel ("ON") rounds to whole litres (R0), petrol ("ET") to tenths (R1). Every other fuel kind,
// an empty one included, is settled by the petrol rule. That is the branch the card took when it was
// created: a vehicle that is not "ON" got the petrol oil norm NORMA_OET and the petrol towing
// multiplier MN_HOLET frozen into its card, so settling it by the petrol rule keeps the card
// consistent with itself. Tenths never lose a litre to rounding, and the 130 % cap stays in force, so
// such a card cannot claim more kilometre allowances than any other card. Refusing to settle instead
// would leave the card unsettled with no way to fix it from the card itself.
enum class FuelRule { Diesel, Petrol };

FuelRule fuelRule(const QString& fuelKind);
inline FuelRule fuelRule(const VehicleContext& vehicle) {
    return fuelRule(vehicle.RODZPAL);
}
// True for the two kinds the settlement is written for, "ON" and "ET" (case and blanks aside).
bool isKnownFuelKind(const QString& fuelKind);

// Rk: the rounding of fuel quantities for the fuel rule, R0 for diesel and R1 for petrol.
double roundFuel(FuelRule rule, double litres);

// Which settlement window a card of this vehicle opens in: by norms when the fuel meter flag is "N"
// or empty, by meter readings when it is "T", none for any other flag.
enum class SettlementWindow { Norms, Meter, None };
SettlementWindow settlementWindowFor(const VehicleContext& vehicle);

} // namespace korven::tripcards
