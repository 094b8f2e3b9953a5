// How long a card document takes to fill: the largest form, the vehicle work card, read from its
// template, filled cell by cell and packed again, in memory.
#include "exports/TemplateFill.h"
#include "exports/rules/CardDocuments.h"

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

using namespace korven;

namespace {

void FillVehicleWorkCard(benchmark::State& state) {
    QFile file(QDir(QStringLiteral(KORVEN_TEMPLATE_DIR)).filePath(QStringLiteral("karta.xlsx")));
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("karta.xlsx not generated");
        return;
    }
    const QByteArray workbook = file.readAll();
    tripcards::DocumentFields fields;
    fields.registrationNumber = QStringLiteral("WZ 12345");
    fields.vehicleName = QStringLiteral("GBA 2,5/16 Star 266");
    fields.monthNumber = 2;
    fields.monthText = QStringLiteral("2");
    fields.year = QStringLiteral("2008");
    fields.yearNumber = 8;
    fields.cardNumber = QStringLiteral("41");
    const exports::FillPlan plan = exports::tripWorkCardPlan(fields);
    for (auto _ : state) {
        const QByteArray filled = exports::fillWorkbook(workbook, plan);
        benchmark::DoNotOptimize(filled.size());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(plan.steps.size()));
}
BENCHMARK(FillVehicleWorkCard)->Unit(benchmark::kMillisecond);

} // namespace
