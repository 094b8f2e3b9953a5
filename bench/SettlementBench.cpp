// How long the settlement rules take for one card: a field left and "&Przelicz".
#include "tripcards/rules/FieldEvents.h"

#include <benchmark/benchmark.h>

using namespace korven::tripcards;

namespace {

CardRecord sampleCard(VehicleContext& vehicle) {
    vehicle.RODZPAL = QStringLiteral("ON");
    vehicle.NORMPAL = 30;
    CardRecord card;
    card.NORMAP = 30;
    card.NORMAO = 0.5;
    card.DODPOS_1 = 0.5;
    card.DODMIE_1 = 0.03;
    card.DATAD = QDate(2009, 6, 15);
    applyFieldEvent(card, vehicle, "PRZEBIEGM", 1000.0);
    applyFieldEvent(card, vehicle, "DODPOS", 60.0);
    applyFieldEvent(card, vehicle, "DODMIE", 500.0);
    applyFieldEvent(card, vehicle, "ZUZYCIEO", 2.0);
    return card;
}

void FieldLeft(benchmark::State& state) {
    VehicleContext vehicle;
    CardRecord card = sampleCard(vehicle);
    double fuel = 300;
    for (auto _ : state) {
        fuel = fuel > 400 ? 300 : fuel + 1;
        benchmark::DoNotOptimize(applyFieldEvent(card, vehicle, "ZUZYCIEP", fuel));
    }
}
BENCHMARK(FieldLeft);

void Recalculate(benchmark::State& state) {
    VehicleContext vehicle;
    CardRecord card = sampleCard(vehicle);
    applyFieldEvent(card, vehicle, "ZUZYCIEP", 340.0);
    for (auto _ : state) {
        CardRecord copy = card;
        benchmark::DoNotOptimize(recalculate(copy, vehicle));
    }
}
BENCHMARK(Recalculate);

} // namespace
