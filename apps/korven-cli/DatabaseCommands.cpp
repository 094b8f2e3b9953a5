// korven-cli init and demo: create a new database, empty or with a demo unit.

#include "Command.h"

#include "core/Clock.h"
#include "core/ProgramFolders.h"
#include "db/Database.h"
#include "registries/data/Photo.h"
#include "schema/Demo.h"
#include "schema/Schema.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>

#include <cstdint>
#include <cstdio>

namespace korven::cli {

namespace {

struct CreateOptions {
    QString sciezka;
    QString user = QStringLiteral("SYSDBA");
    QString password; // the embedded engine takes any; a server needs --password
    DemoScale scale;  // demo only: the small unit, or --scale national
};

// "V,M,MONTHS": a demo of a chosen size, for tests of the national load at a small scale.
bool parseSize(const QString& text, DemoScale& scale) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 3) return false;
    bool ok[3];
    const int v = parts[0].toInt(&ok[0]), m = parts[1].toInt(&ok[1]), months = parts[2].toInt(&ok[2]);
    if (!ok[0] || !ok[1] || !ok[2] || v < 1 || m < 1 || months < 1 || v > 100000 || m > 100000 ||
        months > 600)
        return false;
    scale.vehicles = v;
    scale.machines = m;
    scale.months = months;
    return true;
}

bool parseCreate(const QStringList& args, CreateOptions& o, bool demo) {
    bool seedGiven = false, sized = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if ((a == QLatin1String("--user") || a == QLatin1String("--password")) && i + 1 < args.size()) {
            (a == QLatin1String("--user") ? o.user : o.password) = args[++i];
        } else if (demo && a == QLatin1String("--scale") && i + 1 < args.size()) {
            if (args[++i] != QLatin1String("national")) return false;
            const std::uint32_t seed = o.scale.seed;
            o.scale = nationalScale(seed);
            sized = true;
        } else if (demo && a == QLatin1String("--size") && i + 1 < args.size()) {
            if (!parseSize(args[++i], o.scale)) return false;
            sized = true;
        } else if (demo && a == QLatin1String("--seed") && i + 1 < args.size()) {
            bool ok = false;
            const qlonglong seed = args[++i].toLongLong(&ok);
            if (!ok || seed < 0 || seed > 0xFFFFFFFFLL) return false;
            o.scale.seed = static_cast<std::uint32_t>(seed);
            seedGiven = true;
        } else if (!a.startsWith(QLatin1String("--")) && o.sciezka.isEmpty()) {
            o.sciezka = a;
        } else {
            return false;
        }
    }
    // A sized demo with no seed of its own takes seed 1; the small unit keeps its familiar cards.
    if (sized && !seedGiven && o.scale.seed == 0) o.scale.seed = 1;
    return !o.sciezka.isEmpty();
}

int create(const QStringList& args, bool demo) {
    CreateOptions o;
    if (!parseCreate(args, o, demo)) {
        printError(
            demo ? QStringLiteral("usage: korven-cli demo DIR [--scale national] [--seed N] [--user NAME] "
                                  "[--password TEXT]")
                 : QStringLiteral("usage: korven-cli init DIR [--user NAME] [--password TEXT]"));
        return 2;
    }
    db::Location loc = db::parseLocation(o.sciezka);
    if (loc.server.isEmpty()) {
        o.sciezka = QDir(o.sciezka).absolutePath();
        if (!QDir(o.sciezka).exists()) {
            printError(QStringLiteral("Folder %1 nie istnieje").arg(o.sciezka));
            return 1;
        }
    }
    db::ConnectParams p;
    p.database = db::databaseName(o.sciezka);
    p.user = o.user;
    p.password = o.password;
    const QDate today = korven::today();
    // The demo data goes into the database before it gets its name: a demo stopped part-way leaves
    // no database rather than one with half a unit.
    QStringList photos;
    schema::DatabaseFiller fill;
    QElapsedTimer clock;
    clock.start();
    // What is being loaded goes to stderr with the time so far, so that a long national load shows it
    // is moving; stdout keeps only the result.
    o.scale.progress = [&](const QString& stage) {
        std::fprintf(stderr, "[%7.1f s] %s\n", clock.elapsed() / 1000.0, stage.toLocal8Bit().constData());
        std::fflush(stderr);
    };
    if (demo)
        fill = [&](db::Attachment& att) {
            schema::fillDemoData(att, o.scale);
            // The photographs go where the program looks for them: "fotogr" beside the executable.
            photos = registries::fillDemoPhotos(att, programFolders().userFiles);
        };
    auto att = schema::createDatabase(p, today.year() % 100, today.month(), fill);
    if (demo)
        printLine(QStringLiteral("Zdjęcia pojazdów i sprzętu: %1 w %2")
                      .arg(photos.size())
                      .arg(registries::photoFolder(programFolders().userFiles)));
    att->detach();
    if (demo) o.scale.report(QStringLiteral("Gotowe"));
    printLine(QStringLiteral("Utworzono bazę danych %1").arg(p.database));
    return 0;
}

CommandRegistration initCommand({"init",
                                 "init DIR [--user NAME --password TEXT]   create an empty korven.adb in DIR",
                                 [](const QStringList& a) { return create(a, false); }});
CommandRegistration demoCommand(
    {"demo",
     "demo DIR [--scale national] [--seed N] [--user NAME --password TEXT]   create korven.adb in DIR "
     "with demo data (national: 5000 vehicles, 5000 machines, ten years of cards)",
     [](const QStringList& a) { return create(a, true); }});

} // namespace
} // namespace korven::cli
