// korven-cli month-open and add-card: the opening of a month and the single card addition of the
// registers, for automation and load tests.

#include "Command.h"

#include "core/Clock.h"
#include "db/Database.h"
#include "equipcards/data/EquipmentCardData.h"
#include "equipcards/rules/EquipmentRegister.h"
#include "session/data/Session.h"
#include "technical/data/MonthOpening.h"
#include "tripcards/data/CardRegisterData.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

namespace korven::cli {

namespace {

using technical::CardKind;

struct CardOptions {
    QString sciezka;
    QString user = QStringLiteral("SYSDBA");
    QString password; // the embedded engine takes any; a server needs one
    QString operatorName;
    std::optional<CardKind> kind;
    int code = 0;          // add-card: the vehicle's or the machine's code
    bool progress = false; // month-open: one line on standard error per vehicle or machine
};

// Reads DIR and the options; `withCode` makes --trip and --equipment take the code that follows.
bool parseCardOptions(const QStringList& args, bool withCode, CardOptions& o) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if ((a == QLatin1String("--trip") || a == QLatin1String("--equipment")) && !o.kind) {
            o.kind = a == QLatin1String("--trip") ? CardKind::Trip : CardKind::Equipment;
            if (withCode) {
                bool ok = false;
                if (!hasValue) return false;
                o.code = args[++i].toInt(&ok);
                if (!ok) return false;
            }
        } else if (a == QLatin1String("--user") && hasValue) {
            o.user = args[++i];
        } else if (a == QLatin1String("--password") && hasValue) {
            o.password = args[++i];
        } else if (a == QLatin1String("--operator") && hasValue) {
            o.operatorName = args[++i];
        } else if (a == QLatin1String("--progress") && !withCode) {
            o.progress = true;
        } else if (!a.startsWith(QLatin1String("--")) && o.sciezka.isEmpty()) {
            o.sciezka = a;
        } else {
            return false;
        }
    }
    return !o.sciezka.isEmpty() && o.kind.has_value();
}

// Connects to the database of the folder and loads the system record; the operator's full name is
// the one given, as cards record who made them.
std::unique_ptr<session::Session> openSession(const CardOptions& o) {
    db::ConnectParams p;
    const db::Location loc = db::parseLocation(o.sciezka);
    p.database = db::databaseName(loc.server.isEmpty() ? QDir(o.sciezka).absolutePath() : o.sciezka);
    p.user = o.user;
    p.password = o.password;
    auto session = std::make_unique<session::Session>(db::Attachment::attach(p));
    session->loadSettings();
    session->operatorSession().userName = o.user.left(20);
    session->operatorSession().fullName = o.operatorName.left(40);
    return session;
}

void printJson(const QJsonObject& o) {
    printLine(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)));
}

int monthOpen(const QStringList& args) {
    CardOptions o;
    if (!parseCardOptions(args, false, o)) {
        printError(QStringLiteral("usage: korven-cli month-open DIR --trip|--equipment [--operator NAME] "
                                  "[--user U --password P] [--progress]"));
        return 2;
    }
    auto session = openSession(o);
    technical::MonthOpening opening(session->bracket(), session->settings(), session->operatorSession());
    int row = 0;
    technical::MonthProgress progress;
    if (o.progress)
        progress = [&row](int counter) {
            printError(QStringLiteral("%1 %2").arg(++row).arg(counter));
            std::fflush(stderr);
        };
    const QDate day = korven::today();
    const technical::MonthOpeningOutcome outcome = *o.kind == CardKind::Trip
                                                       ? opening.openTripCards(day, progress)
                                                       : opening.openWorkCards(day, progress);
    printJson({{"ROK", session->settings().ROK},
               {"MIE", session->settings().MIE},
               {"created", outcome.counts.created},
               {"skipped_blocked", outcome.counts.skippedBlocked},
               {"skipped_having_card", outcome.counts.skippedHavingCard}});
    if (!outcome.ok()) {
        printError(outcome.error);
        return 1;
    }
    return 0;
}

int addCard(const QStringList& args) {
    CardOptions o;
    if (!parseCardOptions(args, true, o)) {
        printError(
            QStringLiteral("usage: korven-cli add-card DIR --trip KODA | --equipment KODS [--operator NAME] "
                           "[--user U --password P]"));
        return 2;
    }
    auto session = openSession(o);
    if (*o.kind == CardKind::Trip) {
        tripcards::CardRegisterData data(session->working(), session->bracket(), session->settings(),
                                         session->operatorSession());
        const auto vehicle = data.loadVehicle(o.code);
        if (!vehicle) {
            printError(tripcards::messages::vehicleDeleted());
            return 1;
        }
        const tripcards::AddResult added = data.addCard(vehicle->context, korven::today());
        if (!added.added()) {
            printError(added.message);
            return 1;
        }
        printJson({{"KODA", added.key.KODA},
                   {"KODD", added.key.KODD},
                   {"ROKD", added.key.ROKD},
                   {"MIED", added.key.MIED}});
        return 0;
    }
    equipcards::EquipmentCardData data(session->working(), session->bracket(), session->settings(),
                                       session->operatorSession());
    const auto machine = data.loadMachine(o.code);
    if (!machine) {
        printError(equipcards::messages::machineDeleted());
        return 1;
    }
    const equipcards::AddResult added = data.addCard(machine->context, korven::today());
    if (!added.added()) {
        printError(added.message);
        return 1;
    }
    printJson({{"KODS", added.key.KODS},
               {"KODK", added.key.KODK},
               {"ROKS", added.key.ROKS},
               {"MIES", added.key.MIES}});
    return 0;
}

CommandRegistration monthOpenCommand(
    {"month-open",
     "month-open DIR --trip|--equipment [--operator NAME] [--user U --password P] [--progress]   create "
     "the cards of the working month for every vehicle or machine that has none",
     monthOpen});
CommandRegistration addCardCommand({"add-card",
                                    "add-card DIR --trip KODA | --equipment KODS [--operator NAME] [--user U "
                                    "--password P]   add one card of the working month, print its key",
                                    addCard});

} // namespace
} // namespace korven::cli
