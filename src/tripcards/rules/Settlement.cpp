#include "tripcards/rules/Settlement.h"

#include "core/Rounding.h"

namespace korven::tripcards {

namespace {

// Intermediate sums and differences of stored decimals, brought back onto the decimal they stand
// for, so that comparing them compares the decimals and not the binary noise of the sum.
double exact2(double value) {
    return roundToScale(value, 2);
}

void clearAllowancesAfter(CardRecord& card, std::size_t index) {
    const auto all = allowances();
    for (std::size_t i = index + 1; i < all.size(); ++i) {
        card.*all[i].settled = 0;
        card.*all[i].toSettle = 0;
    }
}

void endOdometerFromMonth(CardRecord& card) {
    card.PRZEBIEGS = card.PRZEBIEG0 + card.PRZEBIEGM;
}

void endConvertedFromMonth(CardRecord& card) {
    card.PRZEBIEGSP = R0(card.PRZEBIEGMP) + R0(card.PRZEBIEG0P);
}

void meterDifference(CardRecord& card) {
    card.ZUZYCIEPN = card.MIER_KON - card.MIER_POCZ;
}

} // namespace

ResultLabel resultLabel(double result) {
    if (result >= 0) return {QStringLiteral("Oszczędność (+)"), false};
    return {QStringLiteral("Przepał (-)"), true};
}

QString zeroNormMessage() {
    return QStringLiteral("Błąd dzielenia przez zero: norma podstawowa pojazdu wynosi 0, więc dodatków nie "
                          "można przeliczyć na kilometry. Przebieg przeliczeniowy nie został zmieniony.");
}

double allowanceTotal(CardRecord& card, FuelRule rule) {
    double total = 0;
    double timePart = 0;
    for (const Allowance& a : allowances()) {
        const double litres = roundFuel(rule, card.*a.settled);
        total += litres;
        if (a.timeBased) timePart += litres;
    }
    card.DODATKIP = total;
    return exact2(timePart);
}

void capAllowances(CardRecord& card, FuelRule rule, double timePart) {
    const double norm130 = R2(card.NORMAP * 1.3);
    const double capped = roundFuel(rule, card.PRZEBIEGM * norm130 / 100);
    const double room = exact2(capped - card.ZUZYCIEPN);
    if (exact2(card.DODATKIP - timePart) > room) card.DODATKIP = room + timePart;
}

void totalsAndResults(CardRecord& card) {
    card.RAZEMP = card.ZUZYCIEPN + card.DODATKIP;
    card.PRZEPALP = card.RAZEMP - card.ZUZYCIEP;
    if (card.PRZEPALP >= 0) card.PRZEPALP = 0;
    card.ZUZYCIEON = R1(card.NORMAO * card.RAZEMP / 100);
    card.PRZEPALO = card.ZUZYCIEON - card.ZUZYCIEO;
}

RuleOutcome convertedMileage(CardRecord& card, const VehicleContext& vehicle) {
    double allowanceKm = 0;
    if (card.DODATKIP != 0) {
        if (vehicle.NORMPAL == 0) return {zeroNormMessage()};
        allowanceKm = card.DODATKIP * 100 / vehicle.NORMPAL;
    }
    card.PRZEBIEGMP = R0(allowanceKm + card.PRZEBIEGM);
    endConvertedFromMonth(card);
    return {};
}

RuleOutcome settlementChain(CardRecord& card, const VehicleContext& vehicle) {
    const FuelRule rule = fuelRule(vehicle);
    const double timePart = allowanceTotal(card, rule);
    capAllowances(card, rule, timePart);
    totalsAndResults(card);
    return convertedMileage(card, vehicle);
}

void distributeAllowances(CardRecord& card) {
    const auto all = allowances();
    const double excess = card.ZUZYCIEP - card.ZUZYCIEPN;

    // The standstill allowance is always weighed against the whole excess.
    const Allowance& first = all[0];
    card.*first.toSettle = excess;
    if (card.*first.settled - card.*first.toSettle >= 0) clearAllowancesAfter(card, 0);
    if (card.*first.quantity == 0) card.*first.toSettle = 0;

    for (std::size_t i = 1; i < all.size(); ++i) {
        const Allowance& a = all[i];
        if (card.*a.settled != 0) {
            double before = 0;
            for (std::size_t j = 0; j < i; ++j)
                before += card.*all[j].settled;
            card.*a.toSettle = excess - before;
            if (card.*a.settled - card.*a.toSettle >= 0) clearAllowancesAfter(card, i);
        }
        if (card.*a.quantity == 0) card.*a.toSettle = 0;
    }

    // Fuel used below the norm needs no allowance at all. This is tested on the excess itself rather
    // than on DODPOS_3, which has just been set to 0 when there are no standstill minutes, so that a
    // standstill litre figure left without its minutes cannot stay settled either.
    if (exact2(excess) < 0)
        for (const Allowance& a : all)
            card.*a.settled = 0;
}

RuleOutcome monthlyMileageEntered(CardRecord& card, const VehicleContext& vehicle) {
    endOdometerFromMonth(card);
    card.ZUZYCIEPN = roundFuel(fuelRule(vehicle), card.NORMAP * card.PRZEBIEGM / 100);
    return settlementChain(card, vehicle);
}

RuleOutcome startOdometerEntered(CardRecord& card, const VehicleContext& vehicle) {
    endOdometerFromMonth(card);
    return settlementChain(card, vehicle);
}

void endOdometerEntered(CardRecord& card) {
    card.PRZEBIEGM = card.PRZEBIEGS - card.PRZEBIEG0;
}

RuleOutcome startConvertedEntered(CardRecord& card, const VehicleContext& vehicle) {
    endConvertedFromMonth(card);
    return settlementChain(card, vehicle);
}

void monthConvertedEntered(CardRecord& card) {
    endConvertedFromMonth(card);
}

void endConvertedEntered(CardRecord& card) {
    card.PRZEBIEGMP = R0(card.PRZEBIEGSP) - R0(card.PRZEBIEG0P);
}

RuleOutcome actualOilEntered(CardRecord& card, const VehicleContext& vehicle) {
    return settlementChain(card, vehicle);
}

RuleOutcome allowanceEntered(CardRecord& card, const VehicleContext& vehicle, const Allowance& allowance) {
    if (allowance.quantity == &CardRecord::DODH) return towingEntered(card, vehicle);
    card.*allowance.settled = R1(card.*allowance.multiplier * card.*allowance.quantity);
    return settlementChain(card, vehicle);
}

RuleOutcome towingEntered(CardRecord& card, const VehicleContext& vehicle) {
    card.DODH_2 = R1(card.DODH_1 * card.DODH * card.MASAPR);
    return settlementChain(card, vehicle);
}

RuleOutcome settlementDateEntered(CardRecord& card, const VehicleContext& vehicle) {
    if (inWinterPeriod(card.DATAD)) return {};
    card.DODZ = 0;
    card.DODZ_2 = 0;
    card.DODZ_3 = 0;
    return settlementChain(card, vehicle);
}

RuleOutcome recalculateByNorms(CardRecord& card, const VehicleContext& vehicle) {
    distributeAllowances(card);
    return settlementChain(card, vehicle);
}

bool inWinterPeriod(const QDate& date) {
    if (!date.isValid()) return true;
    const int monthDay = date.month() * 100 + date.day();
    return !(monthDay > 331 && monthDay < 1101);
}

RuleOutcome meterChain(CardRecord& card, const VehicleContext& vehicle) {
    card.DODATKIP = 0;
    card.RAZEMP = card.ZUZYCIEPN;
    card.PRZEPALP = card.RAZEMP - card.ZUZYCIEP;
    if (card.PRZEPALP >= 0) card.PRZEPALP = 0;
    card.ZUZYCIEON = R1(card.NORMAO * card.RAZEMP / 100);
    card.PRZEPALO = card.ZUZYCIEON - card.ZUZYCIEO;
    return convertedMileage(card, vehicle);
}

RuleOutcome meterMileageEntered(CardRecord& card, const VehicleContext& vehicle) {
    endOdometerFromMonth(card);
    meterDifference(card);
    return meterChain(card, vehicle);
}

RuleOutcome meterEndReadingEntered(CardRecord& card, const VehicleContext& vehicle) {
    meterDifference(card);
    return meterChain(card, vehicle);
}

RuleOutcome meterStartOdometerEntered(CardRecord& card, const VehicleContext& vehicle) {
    endOdometerFromMonth(card);
    return meterChain(card, vehicle);
}

RuleOutcome meterStartConvertedEntered(CardRecord& card, const VehicleContext& vehicle) {
    endConvertedFromMonth(card);
    return meterChain(card, vehicle);
}

} // namespace korven::tripcards
