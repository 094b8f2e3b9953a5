// What the period indexes buy: the highest card number of a month (read for every new card of a
// month opening) and the cards of one month (a statement), on 14,000 trip cards, with the indexes of
// a new database and without them, as an older database has it until it is upgraded.
#include "db/Database.h"
#include "schema/Schema.h"
#include "schema/StatementIndexes.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace korven;

namespace {

constexpr int kVehicles = 100;
constexpr int kMonths = 140; // 100 vehicles over almost twelve years: 14,000 cards

struct CardDatabase {
    explicit CardDatabase(bool withIndexes) {
        db::ConnectParams p;
        p.database = dir.filePath(QStringLiteral("bench.adb"));
        p.user = QStringLiteral("SYSDBA");
        att = schema::createDatabase(p, 9, 3);
        if (!withIndexes)
            for (const char* index :
                 {"A_KARTA_OKRES", "A_KARTA_NR", "A_KARTAS_OKRES", "A_KARTAS_NR", "A_OBSLU_DATAP"})
                att->executeImmediate(QStringLiteral("DROP INDEX %1").arg(QLatin1String(index)));
        db::Transaction t(*att);
        db::Statement insert(*att, QStringLiteral("insert into A_KARTA (KODA, KODD, ROKD, MIED, ZUZYCIEP) "
                                                  "values (:A, :D, :R, :M, 10)"));
        db::inTransaction(t, [&](db::Transaction& tr) {
            int number = 0;
            for (int m = 0; m < kMonths; ++m)
                for (int v = 1; v <= kVehicles; ++v)
                    insert.execute(tr, {{"A", v}, {"D", ++number}, {"R", m / 12}, {"M", m % 12 + 1}});
        });
    }
    QTemporaryDir dir;
    std::unique_ptr<db::Attachment> att;
};

void HighestNumberOfAMonth(benchmark::State& state) {
    CardDatabase d(state.range(0) != 0);
    db::Transaction t(*d.att);
    for (auto _ : state) {
        const db::Value v = db::inTransaction(t, [](db::Transaction& tr) {
            return tr.scalar(
                QStringLiteral(
                    "SELECT MAX (KODD) AS KODD FROM A_KARTA WHERE ((ROKD = :ROKD) AND (MIED = :MIED))"),
                {{"ROKD", 5}, {"MIED", 6}});
        });
        benchmark::DoNotOptimize(v.toInt());
    }
}
BENCHMARK(HighestNumberOfAMonth)->ArgName("indexes")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void HighestNumber(benchmark::State& state) {
    CardDatabase d(state.range(0) != 0);
    db::Transaction t(*d.att);
    for (auto _ : state) {
        const db::Value v = db::inTransaction(t, [](db::Transaction& tr) {
            return tr.scalar(QStringLiteral("SELECT MAX (KODD) AS KODD FROM A_KARTA"));
        });
        benchmark::DoNotOptimize(v.toInt());
    }
}
BENCHMARK(HighestNumber)->ArgName("indexes")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void CardsOfAMonth(benchmark::State& state) {
    CardDatabase d(state.range(0) != 0);
    db::Transaction t(*d.att);
    for (auto _ : state) {
        const db::Rows rows = db::inTransaction(t, [](db::Transaction& tr) {
            return tr.select(
                QStringLiteral("select * from A_KARTA where ROKD = :Y and MIED = :M order by KODA, KODD"),
                {{"Y", 5}, {"M", 6}});
        });
        benchmark::DoNotOptimize(rows.size());
    }
}
BENCHMARK(CardsOfAMonth)->ArgName("indexes")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
