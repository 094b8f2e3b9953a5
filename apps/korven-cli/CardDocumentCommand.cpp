// korven-cli card-document: the card documents of the card registers, for automation.

#include "Command.h"

#include "core/Clock.h"
#include "core/ProgramFolders.h"
#include "db/Database.h"
#include "exports/CardDocument.h"
#include "exports/data/EquipmentDocumentData.h"
#include "session/data/Session.h"
#include "tripcards/data/CardRegisterData.h"

#include <QDir>
#include <QFileInfo>

namespace korven::cli {

namespace {

const char* const usage =
    "card-document --db DIR [--user NAME --password TEXT] (--trip KODA KODD ROKD MIED [--mileage] | "
    "--equipment KODS KODK ROKS MIES --form 1|2|3) --out FILE.xlsx";

struct Options {
    QString sciezka;
    QString user = QStringLiteral("SYSDBA");
    QString password;
    enum class Kind { None, Trip, Equipment } kind = Kind::None;
    QStringList key; // the card's four key values as given
    bool mileage = false;
    QString form;
    QString out;
};

// Parses the arguments; the message is empty when they are complete.
QString parse(const QStringList& args, Options& o) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&]() -> QString { return i + 1 < args.size() ? args[++i] : QString(); };
        if (a == QLatin1String("--db"))
            o.sciezka = value();
        else if (a == QLatin1String("--user"))
            o.user = value();
        else if (a == QLatin1String("--password"))
            o.password = value();
        else if (a == QLatin1String("--out"))
            o.out = value();
        else if (a == QLatin1String("--form"))
            o.form = value();
        else if (a == QLatin1String("--mileage"))
            o.mileage = true;
        else if ((a == QLatin1String("--trip") || a == QLatin1String("--equipment")) &&
                 o.kind == Options::Kind::None) {
            o.kind = a == QLatin1String("--trip") ? Options::Kind::Trip : Options::Kind::Equipment;
            if (i + 4 >= args.size()) return QStringLiteral("%1 needs four values").arg(a);
            o.key = args.mid(i + 1, 4);
            i += 4;
        } else
            return QStringLiteral("unexpected argument '%1'").arg(a);
    }
    if (o.sciezka.isEmpty() || o.out.isEmpty() || o.kind == Options::Kind::None)
        return QStringLiteral("--db, --out and one of --trip or --equipment are required");
    if (o.kind == Options::Kind::Trip && !o.form.isEmpty())
        return QStringLiteral("--form is for --equipment");
    if (o.kind == Options::Kind::Equipment && o.mileage) return QStringLiteral("--mileage is for --trip");
    if (o.kind == Options::Kind::Equipment && !exports::equipmentFormOf(o.form))
        return QStringLiteral("--form must be 1, 2 or 3");
    return {};
}

// The export failure text followed by the reason, with its carriage returns as line breaks.
int failed(const QString& reason) {
    QString text = exports::kExportFailedMessage + reason;
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    printError(text);
    return 1;
}

int runCardDocument(const QStringList& args) {
    Options o;
    if (const QString problem = parse(args, o); !problem.isEmpty()) {
        printError(
            QStringLiteral("card-document: %1\nusage: korven-cli %2").arg(problem, QLatin1String(usage)));
        return 2;
    }
    // The key: codes, number and year are whole numbers; the month, which the mileage settlement
    // reads as a number, fails as the document does.
    int key[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        key[i] = o.key[i].trimmed().toInt(&ok);
        if (ok) continue;
        if (i == 3) return failed(QStringLiteral("„%1” nie jest poprawnym numerem miesiąca.").arg(o.key[i]));
        printError(QStringLiteral("card-document: '%1' is not a whole number").arg(o.key[i]));
        return 2;
    }

    db::ConnectParams p;
    p.database = db::databaseName(
        db::parseLocation(o.sciezka).server.isEmpty() ? QDir(o.sciezka).absolutePath() : o.sciezka);
    p.user = o.user;
    p.password = o.password;
    session::Session session(db::Attachment::attach(p));
    session.loadSettings();
    const QString templates = programFolders().resources;

    exports::FillPlan plan;
    try {
        if (o.kind == Options::Kind::Trip) {
            tripcards::CardRegisterData data(session.working(), session.bracket(), session.settings(),
                                             session.operatorSession());
            const std::optional<tripcards::RegisterVehicle> vehicle = data.loadVehicle(key[0]);
            if (!vehicle) {
                printError(QStringLiteral("Nie ma pojazdu o kodzie %1.").arg(key[0]));
                return 1;
            }
            const tripcards::CardList list = data.list(key[0]);
            if (!list.error.isEmpty()) {
                printError(list.error);
                return 1;
            }
            const int at = tripcards::findCard(list.cards, {key[0], key[1], key[2], key[3]});
            if (at < 0) {
                printError(QStringLiteral("Nie ma karty drogowej nr %1 za %2/%3 pojazdu o kodzie %4.")
                               .arg(key[1])
                               .arg(key[3])
                               .arg(key[2])
                               .arg(key[0]));
                return 1;
            }
            const tripcards::DocumentFieldsOutcome fields =
                data.documentFields(list.cards[std::size_t(at)], vehicle->context, korven::today());
            if (!fields.ok()) {
                printError(fields.error);
                return 1;
            }
            plan = exports::tripDocumentPlan(fields.fields, o.mileage);
        } else {
            const exports::EquipmentDocumentLookup found =
                exports::loadEquipmentDocument(session.working(), key[0], key[1], key[2], key[3]);
            if (!found.source) {
                printError(found.error);
                return 1;
            }
            plan = exports::equipmentDocumentPlan(
                exports::equipmentDocumentFields(found.source->card, found.source->machine, korven::today()),
                *exports::equipmentFormOf(o.form));
        }
        exports::writeCardDocument(plan, templates, o.out);
    } catch (const exports::DocumentError& e) {
        return failed(e.text());
    } catch (const exports::ExportError& e) {
        return failed(e.text());
    }
    printLine(QFileInfo(o.out).absoluteFilePath());
    return 0;
}

const CommandRegistration registration{Command{"card-document", usage, runCardDocument}};

} // namespace

} // namespace korven::cli
