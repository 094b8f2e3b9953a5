// How long the database layer takes for what the lists do: a prepared insert per row and reading a
// whole table, on the embedded engine.
#include "db/Database.h"
#include "schema/Schema.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace korven;

namespace {

void ReadVehicles(benchmark::State& state) {
    QTemporaryDir dir;
    db::ConnectParams p;
    p.database = dir.filePath(QStringLiteral("bench.adb"));
    p.user = QStringLiteral("SYSDBA");
    auto att = schema::createDatabase(p, 9, 3);
    const int rows = static_cast<int>(state.range(0));
    {
        db::Transaction t(*att);
        db::Statement insert(
            *att, QStringLiteral("insert into A_AUTO (KODA, NRREJ, NAZWA, NORMPAL) values (:K, :R, :N, :P)"));
        db::inTransaction(t, [&](db::Transaction& tr) {
            for (int i = 1; i <= rows; ++i)
                insert.execute(tr, {{"K", i},
                                    {"R", QStringLiteral("KN %1").arg(i)},
                                    {"N", QStringLiteral("Pojazd %1").arg(i)},
                                    {"P", 30.5}});
        });
    }
    db::Transaction t(*att);
    for (auto _ : state) {
        db::Rows all = db::inTransaction(t, [](db::Transaction& tr) {
            return tr.select(QStringLiteral("select * from A_AUTO order by NAZWA"));
        });
        benchmark::DoNotOptimize(all.size());
    }
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(ReadVehicles)->Arg(100)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace
