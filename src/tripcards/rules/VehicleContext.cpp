#include "tripcards/rules/VehicleContext.h"

#include "core/Rounding.h"

namespace korven::tripcards {

namespace {
QString cut(const QString& text, int width) {
    return text.trimmed().left(width);
}
} // namespace

VehicleContext VehicleContext::normalised() const {
    VehicleContext v = *this;
    v.RODZPAL = cut(RODZPAL, 2);
    v.NRREJ = cut(NRREJ, 10);
    v.NAZWA = cut(NAZWA, 40);
    v.TYP = cut(TYP, 1);
    v.MARKAPOD = cut(MARKAPOD, 20);
    v.TYPPOD = cut(TYPPOD, 20);
    v.MODELPOD = cut(MODELPOD, 20);
    v.POJ_ZBIO = cut(POJ_ZBIO, 10);
    v.POJ_KANI = cut(POJ_KANI, 10);
    v.OLEJ_KLA = cut(OLEJ_KLA, 20);
    v.OLEJ_POJ = cut(OLEJ_POJ, 10);
    v.OLEJ_MAR = cut(OLEJ_MAR, 20);
    v.KOMENDA = cut(KOMENDA, 40);
    v.CZY_MIERNIK = cut(CZY_MIERNIK, 1);
    v.OSOB_ODP = cut(OSOB_ODP, 40);
    return v;
}

FuelRule fuelRule(const QString& fuelKind) {
    return fuelKind.trimmed().toUpper() == QLatin1String("ON") ? FuelRule::Diesel : FuelRule::Petrol;
}

bool isKnownFuelKind(const QString& fuelKind) {
    const QString kind = fuelKind.trimmed().toUpper();
    return kind == QLatin1String("ON") || kind == QLatin1String("ET");
}

double roundFuel(FuelRule rule, double litres) {
    return rule == FuelRule::Diesel ? R0(litres) : R1(litres);
}

SettlementWindow settlementWindowFor(const VehicleContext& vehicle) {
    const QString flag = vehicle.CZY_MIERNIK.trimmed();
    if (flag.isEmpty() || flag == QLatin1String("N")) return SettlementWindow::Norms;
    if (flag == QLatin1String("T")) return SettlementWindow::Meter;
    return SettlementWindow::None;
}

} // namespace korven::tripcards
