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

namespace korven::cli {

namespace {

struct CreateOptions {
    QString sciezka;
    QString user = QStringLiteral("SYSDBA");
    QString password; // the embedded engine takes any; a server needs --password
};

bool parseCreate(const QStringList& args, CreateOptions& o) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if ((a == QLatin1String("--user") || a == QLatin1String("--password")) && i + 1 < args.size()) {
            (a == QLatin1String("--user") ? o.user : o.password) = args[++i];
        } else if (!a.startsWith(QLatin1String("--")) && o.sciezka.isEmpty()) {
            o.sciezka = a;
        } else {
            return false;
        }
    }
    return !o.sciezka.isEmpty();
}

int create(const QStringList& args, bool demo) {
    CreateOptions o;
    if (!parseCreate(args, o)) {
        printError(QStringLiteral("usage: korven-cli %1 DIR [--user NAME] [--password TEXT]")
                       .arg(demo ? "demo" : "init"));
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
    if (demo)
        fill = [&](db::Attachment& att) {
            schema::fillDemoData(att);
            // The photographs go where the program looks for them: "fotogr" beside the executable.
            photos = registries::fillDemoPhotos(att, programFolders().userFiles);
        };
    auto att = schema::createDatabase(p, today.year() % 100, today.month(), fill);
    if (demo)
        printLine(QStringLiteral("Zdjęcia pojazdów i sprzętu: %1 w %2")
                      .arg(photos.size())
                      .arg(registries::photoFolder(programFolders().userFiles)));
    att->detach();
    printLine(QStringLiteral("Utworzono bazę danych %1").arg(p.database));
    return 0;
}

CommandRegistration initCommand({"init",
                                 "init DIR [--user NAME --password TEXT]   create an empty korven.adb in DIR",
                                 [](const QStringList& a) { return create(a, false); }});
CommandRegistration
    demoCommand({"demo", "demo DIR [--user NAME --password TEXT]   create korven.adb in DIR with demo data",
                 [](const QStringList& a) { return create(a, true); }});

} // namespace
} // namespace korven::cli
