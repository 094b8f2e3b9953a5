// How long the administration program's backup and restore take on the demo unit, embedded: the
// plain service restore beside the restore that is checked before it replaces the database.
#include "admin/data/MainD.h"
#include "db/Services.h"
#include "schema/Demo.h"
#include "schema/Schema.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace korven;

namespace {

struct DemoUnit {
    DemoUnit() {
        db::ConnectParams p;
        p.database = db::databaseName(dir.path());
        p.user = QStringLiteral("SYSDBA");
        schema::fillDemoData(*schema::createDatabase(p, 9, 3));
        data =
            std::make_unique<admin::MainD>(admin::AdminConfig{dir.path(), {}, {}, {}},
                                           admin::Credentials{QStringLiteral("SYSDBA"), QStringLiteral("x")});
        data->connect();
        data->backup({});
    }
    QTemporaryDir dir;
    std::unique_ptr<admin::MainD> data;
};

void Backup(benchmark::State& state) {
    DemoUnit unit;
    for (auto _ : state)
        unit.data->backup({});
}
BENCHMARK(Backup)->Unit(benchmark::kMillisecond);

void PlainRestore(benchmark::State& state) {
    DemoUnit unit;
    unit.data->disconnect();
    const QString copy = QDir(unit.dir.path()).filePath(QStringLiteral("plain.adb"));
    for (auto _ : state) {
        db::ServiceManager svc(unit.data->serviceParams());
        svc.restore(unit.data->backupFile(), copy, true, [](const QString&) {});
    }
}
BENCHMARK(PlainRestore)->Unit(benchmark::kMillisecond);

void ProvenRestore(benchmark::State& state) {
    DemoUnit unit;
    for (auto _ : state)
        unit.data->restore({});
}
BENCHMARK(ProvenRestore)->Unit(benchmark::kMillisecond);

} // namespace
