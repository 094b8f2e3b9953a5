// korven-cli import-fuel: the fuel transaction import of the trip cards without the window, and the
// named column mappings it uses.

#include "Command.h"

#include "db/Database.h"
#include "db/ListRead.h"
#include "fuelimport/data/FuelImportData.h"
#include "session/data/Session.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace korven::cli {

namespace {

using namespace korven::fuelimport;

const char* const usageText =
    "usage: korven-cli import-fuel --db DIR FILE [--mapping NAME] [--dry-run] [--user U --password P]\n"
    "       korven-cli import-fuel --db DIR --save-mapping NAME --columns date=1,reg=2,litres=3[,odometer=4]"
    "[,header=yes|no] [--default]\n"
    "       korven-cli import-fuel --db DIR --list-mappings";

struct Options {
    QString sciezka, file, mapping, saveMapping, columns;
    QString user = QStringLiteral("SYSDBA");
    QString password;
    bool dryRun = false, makeDefault = false, list = false;
};

bool parse(const QStringList& args, Options& o) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--db") && hasValue)
            o.sciezka = args[++i];
        else if (a == QLatin1String("--mapping") && hasValue)
            o.mapping = args[++i];
        else if (a == QLatin1String("--save-mapping") && hasValue)
            o.saveMapping = args[++i];
        else if (a == QLatin1String("--columns") && hasValue)
            o.columns = args[++i];
        else if (a == QLatin1String("--user") && hasValue)
            o.user = args[++i];
        else if (a == QLatin1String("--password") && hasValue)
            o.password = args[++i];
        else if (a == QLatin1String("--dry-run"))
            o.dryRun = true;
        else if (a == QLatin1String("--default"))
            o.makeDefault = true;
        else if (a == QLatin1String("--list-mappings"))
            o.list = true;
        else if (!a.startsWith(QLatin1String("--")) && o.file.isEmpty())
            o.file = a;
        else
            return false;
    }
    if (o.sciezka.isEmpty()) return false;
    if (o.list) return o.file.isEmpty() && o.saveMapping.isEmpty();
    if (!o.saveMapping.isEmpty()) return o.file.isEmpty() && !o.columns.isEmpty();
    return !o.file.isEmpty() && o.columns.isEmpty() && !o.makeDefault;
}

void printJson(const QJsonObject& o) {
    std::fputs(QJsonDocument(o).toJson(QJsonDocument::Indented).constData(), stdout);
    std::fflush(stdout);
}

QJsonObject mappingJson(const ColumnMapping& m) {
    return {{"NAZWA", m.NAZWA},       {"date", m.date},     {"reg", m.registration}, {"litres", m.litres},
            {"odometer", m.odometer}, {"header", m.header}, {"default", m.isDefault}};
}

QJsonObject keyJson(const tripcards::CardKey& k) {
    return {{"KODA", k.KODA}, {"KODD", k.KODD}, {"ROKD", k.ROKD}, {"MIED", k.MIED}};
}

QJsonObject rowJson(const RowOutcome& r) {
    QJsonObject o{{"line", r.transaction.line},
                  {"date", r.transaction.date.toString(Qt::ISODate)},
                  {"NRREJ", r.transaction.registration},
                  {"litres", r.transaction.litres},
                  {"status", statusText(r.status)}};
    if (r.transaction.odometer) o.insert(QStringLiteral("odometer"), *r.transaction.odometer);
    if (r.status == RowStatus::Matched)
        o.insert(QStringLiteral("card"), keyJson(r.card));
    else
        o.insert(QStringLiteral("reason"), r.reason);
    return o;
}

int run(const Options& o) {
    db::ConnectParams p;
    const db::Location loc = db::parseLocation(o.sciezka);
    p.database = db::databaseName(loc.server.isEmpty() ? QDir(o.sciezka).absolutePath() : o.sciezka);
    p.user = o.user;
    p.password = o.password;
    auto session = std::make_unique<session::Session>(db::Attachment::attach(p));
    session->loadSettings();
    session->operatorSession().userName = o.user.left(20);
    FuelImportData data(session->working(), session->bracket(), session->settings(),
                        session->operatorSession());

    if (o.list) {
        QJsonArray list;
        for (const ColumnMapping& m : data.mappings())
            list.append(mappingJson(m));
        printJson({{"mappings", list}});
        return 0;
    }
    if (!o.saveMapping.isEmpty()) {
        ColumnMapping m;
        m.NAZWA = o.saveMapping.trimmed();
        m.isDefault = o.makeDefault;
        if (m.NAZWA.isEmpty() || m.NAZWA.size() > 40) {
            printError(QStringLiteral("import-fuel: the mapping name must have 1 to 40 characters"));
            return 2;
        }
        if (const QString e = parseMappingText(o.columns, m); !e.isEmpty()) {
            printError(QStringLiteral("import-fuel: --columns: %1").arg(e));
            return 2;
        }
        data.saveMapping(m);
        printJson({{"saved", mappingJson(m)}});
        return 0;
    }

    const ReadResult file = readTransactionFile(o.file);
    if (!file.ok()) {
        printError(QStringLiteral("import-fuel: %1").arg(file.error));
        return 1;
    }
    std::optional<ColumnMapping> mapping;
    if (!o.mapping.isEmpty()) {
        mapping = data.mapping(o.mapping);
        if (!mapping) {
            printError(QStringLiteral("import-fuel: no mapping named \"%1\"").arg(o.mapping));
            return 1;
        }
    } else {
        mapping = data.defaultMapping();
        if (!mapping && !file.rows.empty()) mapping = guessMapping(file.rows.front());
        if (!mapping) {
            printError(QStringLiteral("import-fuel: no default mapping and the first row names no date, "
                                      "registration and litres columns; give --mapping NAME"));
            return 1;
        }
    }
    const std::vector<ParsedRow> rows = readTransactions(file.rows, *mapping);
    const ImportPlan plan = planImport(rows, data.loadInput(rows));

    QJsonArray matched, unmatched, duplicates, cards;
    for (const RowOutcome& r : plan.rows)
        (r.status == RowStatus::Matched     ? matched
         : r.status == RowStatus::Duplicate ? duplicates
                                            : unmatched)
            .append(rowJson(r));
    for (const CardChange& c : plan.cards) {
        QJsonObject card = keyJson(c.key);
        card.insert(QStringLiteral("NRREJ"), c.NRREJ);
        card.insert(QStringLiteral("transactions"), c.transactions);
        card.insert(QStringLiteral("litres"), c.litres);
        card.insert(QStringLiteral("ZUZYCIEP_before"), c.before);
        card.insert(QStringLiteral("ZUZYCIEP_after"), c.after);
        card.insert(QStringLiteral("PRZEPALP_after"), c.updated.PRZEPALP.value());
        card.insert(QStringLiteral("refusal"), c.refusal.isEmpty() ? QJsonValue() : QJsonValue(c.refusal));
        cards.append(card);
    }
    QJsonObject out{{"file", QFileInfo(o.file).fileName()},
                    {"mapping", mappingJson(*mapping)},
                    {"dry_run", o.dryRun},
                    {"matched_count", plan.count(RowStatus::Matched)},
                    {"unmatched_count", plan.count(RowStatus::Unmatched)},
                    {"duplicate_count", plan.count(RowStatus::Duplicate)},
                    {"matched", matched},
                    {"unmatched", unmatched},
                    {"duplicates", duplicates},
                    {"cards", cards},
                    {"applied", false}};
    if (o.dryRun) {
        printJson(out);
        return 0;
    }
    const ApplyResult applied = data.apply(plan, QFileInfo(o.file).fileName());
    out.insert(QStringLiteral("applied"), applied.applied());
    out.insert(QStringLiteral("error"), applied.applied() ? QJsonValue() : QJsonValue(applied.message));
    printJson(out);
    if (!applied.applied()) {
        printError(QStringLiteral("import-fuel: %1").arg(applied.message));
        return 1;
    }
    return 0;
}

int importFuel(const QStringList& args) {
    Options o;
    if (!parse(args, o)) {
        printError(QString::fromLatin1(usageText));
        return 2;
    }
    try {
        return run(o);
    } catch (const std::exception& e) {
        printError(QStringLiteral("import-fuel: %1").arg(db::errorMessage(e)));
        return 1;
    }
}

const CommandRegistration registration{
    {"import-fuel",
     "import-fuel --db DIR FILE [--mapping NAME] [--dry-run]   enter the fuel of a CSV/XLSX file of "
     "fuel-card "
     "transactions into the trip cards (--save-mapping NAME --columns date=1,reg=2,litres=3,odometer=4 "
     "[--default] stores a mapping, --list-mappings shows them)",
     importFuel}};

} // namespace

} // namespace korven::cli
