// How long the opening of a month takes for a unit's vehicles: one card per vehicle, each in its own
// transaction under the numbering lock, on the embedded engine.
#include "db/Database.h"
#include "schema/Schema.h"
#include "session/data/Session.h"
#include "technical/data/MonthOpening.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace korven;

namespace {

// range(1) = 0: the change history's triggers of the trip cards are switched off for the run, to
// show what recording the inserts costs.
void OpenTripCardMonth(benchmark::State& state) {
    QTemporaryDir dir;
    db::ConnectParams p;
    p.database = dir.filePath(QStringLiteral("bench.adb"));
    p.user = QStringLiteral("SYSDBA");
    auto att = schema::createDatabase(p, 9, 3);
    const int vehicles = static_cast<int>(state.range(0));
    if (state.range(1) == 0)
        for (const char* trigger : {"FJ_HIST_A_KARTA_AI", "FJ_HIST_A_KARTA_AU", "FJ_HIST_A_KARTA_AD"})
            att->executeImmediate(QStringLiteral("ALTER TRIGGER %1 INACTIVE").arg(QLatin1String(trigger)));
    db::Transaction t(*att);
    db::inTransaction(t, [&](db::Transaction& tr) {
        db::Statement insert(*att,
                             QStringLiteral("insert into A_AUTO (KODA, NRREJ, RODZPAL, BLOKADA, NORMPAL) "
                                            "values (:K, :R, 'ON', 'N', 30)"));
        for (int i = 1; i <= vehicles; ++i)
            insert.execute(tr, {{"K", i}, {"R", QStringLiteral("KN %1").arg(i)}});
    });
    const SystemSettings settings = session::settingsFromRow(*db::inTransaction(t, [](db::Transaction& tr) {
        return tr.selectOne(QStringLiteral("select * from FJ_BAZA where LP = 1"));
    }));
    db::Transaction bracket(*att);
    int month = 0;
    for (auto _ : state) {
        // Every round opens a month of its own, after a year of cards already there.
        SystemSettings s = settings;
        s.ROK = 10 + month / 12;
        s.MIE = month % 12 + 1;
        ++month;
        technical::MonthOpening opening(bracket, s, OperatorSession{});
        const auto outcome = opening.openTripCards(QDate(2010, 1, 1));
        if (outcome.counts.created != vehicles) state.SkipWithError("not every vehicle got its card");
    }
    state.SetItemsProcessed(state.iterations() * vehicles);
}
BENCHMARK(OpenTripCardMonth)
    ->ArgsProduct({{50, 400}, {0, 1}})
    ->ArgNames({"vehicles", "history"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace
