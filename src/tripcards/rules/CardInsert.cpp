#include "tripcards/rules/CardInsert.h"

#include "core/Rounding.h"

namespace korven::tripcards {

QString zeroStandstillMessage() {
    return QStringLiteral("Błąd dzielenia przez zero: mnożnik „Praca silnika na postoju” w ustawieniach "
                          "systemu wynosi 0. Karta Drogowa nie została dodana.");
}

QString freezeNorms(CardRecord& card, const VehicleContext& vehicle, const SystemMultipliers& system) {
    if (system.MN_POS == 0) return zeroStandstillMessage();
    const double norm = vehicle.NORMPAL;
    auto perKm = [norm](double percent) { return R5(norm * percent / 10000); };
    const bool passengerCar = vehicle.TYP.trimmed().toUpper() == QLatin1String("O");
    const bool diesel = vehicle.RODZPAL.trimmed().toUpper() == QLatin1String("ON");

    card.DODPOS_1 = R5(norm / system.MN_POS);
    card.DODNAP_1 = R5(vehicle.NORMPOM);
    card.DODUR1_1 = R5(vehicle.NORMUR1);
    card.DODUR2_1 = R5(vehicle.NORMUR2);
    card.DODMIE_1 = perKm(system.MN_MIE);
    card.DODA_1 = perKm(system.MN_ALA);
    card.DODG_1 = perKm(passengerCar ? system.MN_GOROS : system.MN_GORPOZ);
    card.DODUG_1 = vehicle.NORMUG;
    card.DODOZ_1 = perKm(system.MN_OZ);
    card.DODK_1 = perKm(system.MN_KLI);
    card.DODT_1 = perKm(system.MN_TER);
    card.DODZ_1 = perKm(system.MN_ZIM);
    card.DODSZ_1 = perKm(system.MN_SZK);
    card.DODH_1 = perKm(diesel ? system.MN_HOLON : system.MN_HOLET);
    card.NORMAA = vehicle.NORMPOM;
    card.NORMAUG = vehicle.NORMUG;
    card.NORMAP = vehicle.NORMPAL;
    card.NORMAO = diesel ? system.NORMA_OON : system.NORMA_OET;
    return {};
}

NewCardOutcome newCard(const VehicleContext& vehicle, const SystemMultipliers& system, const NewCardKey& key,
                       const CarryOver& carried) {
    NewCardOutcome outcome;
    CardRecord& card = outcome.card;
    outcome.error = freezeNorms(card, vehicle, system);
    if (!outcome.ok()) {
        card = CardRecord();
        return outcome;
    }
    card.KODA = vehicle.KODA;
    card.KODD = key.KODD;
    card.NRREJ = vehicle.NRREJ;
    card.ROKD = key.ROKD;
    card.MIED = key.MIED;
    card.DATAD = key.DATAD;
    card.PRZEBIEG0 = carried.PRZEBIEGS;
    card.PRZEBIEG0P = carried.PRZEBIEGSP;
    card.MIER_POCZ = carried.MIER_KON;
    return outcome;
}

bool standstillNorm(const VehicleContext& vehicle, double mnPos, double& norm) {
    if (mnPos == 0) return false;
    norm = R2(vehicle.NORMPAL / mnPos);
    return true;
}

} // namespace korven::tripcards
