// korven-cli statement: builds one of the report windows' statements from a database, the same build
// as the window, and writes it as JSON, a printout (PDF, HTML, text) or a workbook.

#include "Command.h"

#include "core/Clock.h"
#include "core/Rounding.h"
#include "db/Database.h"
#include "exports/GridExport.h"
#include "reports/data/StatementData.h"
#include "reports/engine/ReportEngine.h"
#include "reports/rules/StatementOutput.h"
#include "reports/rules/Statements.h"
#include "session/data/AddonOptionsData.h"
#include "session/data/Session.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTemporaryFile>

#include <filesystem>
#include <functional>
#include <map>

namespace korven::cli {

namespace {

using reports::StatementChoices;
using reports::StatementId;

class UsageError : public std::runtime_error {
public:
    explicit UsageError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

const char* const kUsage =
    "statement NAME --db DIR [--user NAME --password TEXT] [choices] --format json|pdf|html|txt|xlsx --out "
    "FILE\n"
    "      NAME: vehicles, equipment, trip-cards, equipment-cards, by-kind, by-group, yearly-vehicles,\n"
    "      yearly-equipment, average-vehicles, average-equipment, services, voucher\n"
    "      choices: --kind CODE --group CODE --unit CODE --service CODE --vehicles all|passenger|other\n"
    "      --engine all|4|2 --section N --year YYYY --month M --register --formal --from-month M\n"
    "      --to-month M --from-year YYYY --to-year YYYY --plan any|yes|no --from YYYY-MM-DD\n"
    "      --to YYYY-MM-DD --oil --operator TEXT";

int toNumber(const QString& option, const QString& text, int low, int high) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < low || n > high)
        throw UsageError(QStringLiteral("statement: %1 must be a whole number from %2 to %3, got '%4'")
                             .arg(option)
                             .arg(low)
                             .arg(high)
                             .arg(text));
    return n;
}

QDate toDate(const QString& option, const QString& text) {
    const QDate d = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid())
        throw UsageError(
            QStringLiteral("statement: %1 must be a date YYYY-MM-DD, got '%2'").arg(option, text));
    return d;
}

template <class Enum>
Enum toChoice(const QString& option, const QString& text,
              std::initializer_list<std::pair<const char*, Enum>> items) {
    QStringList names;
    for (const auto& [name, value] : items) {
        if (text == QLatin1String(name)) return value;
        names << QString::fromLatin1(name);
    }
    throw UsageError(
        QStringLiteral("statement: %1 must be %2, got '%3'").arg(option, names.join(QLatin1Char('|')), text));
}

// The number of layouts "Nr sekcji" chooses from.
int sections(StatementId id) {
    switch (id) {
    case StatementId::Vehicles:
    case StatementId::Equipment:
        return 3;
    case StatementId::TripCards:
    case StatementId::YearlyVehicles:
    case StatementId::YearlyEquipment:
        return 2;
    default:
        return 1;
    }
}

// Which choices the window of a statement offers; any other is refused rather than ignored.
QStringList applicableOptions(StatementId id) {
    using S = StatementId;
    switch (id) {
    case S::Vehicles:
        return {"--kind", "--group", "--unit", "--vehicles", "--section"};
    case S::Equipment:
        return {"--group", "--unit", "--engine", "--section"};
    case S::TripCards:
        return {"--kind", "--group", "--unit", "--vehicles", "--section", "--year", "--month", "--register"};
    case S::EquipmentCards:
        return {"--group", "--unit", "--engine", "--year", "--month"};
    case S::ByKind:
        return {"--unit", "--year", "--from-month", "--to-month", "--formal"};
    case S::ByGroup:
        return {"--unit", "--year", "--from-month", "--to-month"};
    case S::YearlyVehicles:
    case S::YearlyEquipment:
        return {"--unit", "--year", "--section"};
    case S::AverageVehicles:
    case S::AverageEquipment:
        return {"--unit", "--from-year", "--to-year"};
    case S::Services:
        return {"--kind", "--group", "--unit", "--service", "--vehicles", "--plan", "--from", "--to"};
    case S::Voucher:
        return {"--group", "--unit", "--engine", "--year", "--month", "--oil"};
    case S::DoubtfulCards:
        return {"--kind", "--group", "--unit", "--vehicles", "--year", "--month"};
    }
    return {};
}

struct Options {
    StatementId id = StatementId::Vehicles;
    QString sciezka, user = QStringLiteral("SYSDBA"), password, format, out, operatorName;
    std::map<QString, QString> choices; // option -> value ("" for switches)
};

Options parse(const QStringList& args) {
    if (args.isEmpty()) throw UsageError(QStringLiteral("statement: give the statement's NAME"));
    Options o;
    const auto id = reports::statementFromName(args.first());
    if (!id) throw UsageError(QStringLiteral("statement: unknown statement '%1'").arg(args.first()));
    o.id = *id;
    static const QStringList switches = {"--register", "--formal", "--oil"};
    static const QStringList valued = {"--kind",     "--group",      "--unit",     "--service",
                                       "--vehicles", "--engine",     "--section",  "--year",
                                       "--month",    "--from-month", "--to-month", "--from-year",
                                       "--to-year",  "--plan",       "--from",     "--to"};
    const QStringList applicable = applicableOptions(o.id);
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&]() -> QString {
            if (i + 1 >= args.size()) throw UsageError(QStringLiteral("statement: %1 needs a value").arg(a));
            return args[++i];
        };
        if (a == QLatin1String("--db")) {
            o.sciezka = value();
        } else if (a == QLatin1String("--user")) {
            o.user = value();
        } else if (a == QLatin1String("--password")) {
            o.password = value();
        } else if (a == QLatin1String("--format")) {
            o.format = value();
        } else if (a == QLatin1String("--out")) {
            o.out = value();
        } else if (a == QLatin1String("--operator")) {
            o.operatorName = value();
        } else if (switches.contains(a) || valued.contains(a)) {
            if (!applicable.contains(a))
                throw UsageError(QStringLiteral("statement: %1 does not apply to %2").arg(a, args.first()));
            o.choices[a] = switches.contains(a) ? QString() : value();
        } else {
            throw UsageError(QStringLiteral("statement: unexpected argument '%1'").arg(a));
        }
    }
    if (o.sciezka.isEmpty()) throw UsageError(QStringLiteral("statement: --db DIR is required"));
    if (o.out.isEmpty()) throw UsageError(QStringLiteral("statement: --out FILE is required"));
    if (o.format.isEmpty()) o.format = QFileInfo(o.out).suffix().toLower();
    static const QStringList formats = {"json", "pdf", "html", "txt", "xlsx"};
    if (!formats.contains(o.format))
        throw UsageError(QStringLiteral("statement: --format must be json, pdf, html, txt or xlsx"));
    return o;
}

// The choices of the window on creation, changed by the options given.
void applyChoices(const Options& o, StatementChoices& c) {
    auto has = [&](const char* name) { return o.choices.count(QString::fromLatin1(name)) > 0; };
    auto get = [&](const char* name) { return o.choices.at(QString::fromLatin1(name)); };
    auto code = [&](const char* name, reports::FilterChoice& f) {
        if (!has(name)) return;
        f.all = false;
        f.code = toNumber(QString::fromLatin1(name), get(name), 0, 999999);
    };
    code("--kind", c.kind);
    code("--group", c.group);
    code("--unit", c.unit);
    code("--service", c.service);
    if (has("--vehicles"))
        c.vehicles = toChoice<reports::VehicleChoice>(QStringLiteral("--vehicles"), get("--vehicles"),
                                                      {{"all", reports::VehicleChoice::All},
                                                       {"passenger", reports::VehicleChoice::Passenger},
                                                       {"other", reports::VehicleChoice::Other}});
    if (has("--engine"))
        c.engine = toChoice<reports::EngineChoice>(QStringLiteral("--engine"), get("--engine"),
                                                   {{"all", reports::EngineChoice::All},
                                                    {"4", reports::EngineChoice::FourStroke},
                                                    {"2", reports::EngineChoice::TwoStroke}});
    if (has("--plan"))
        c.plan = toChoice<reports::PlanChoice>(QStringLiteral("--plan"), get("--plan"),
                                               {{"any", reports::PlanChoice::Any},
                                                {"yes", reports::PlanChoice::Yes},
                                                {"no", reports::PlanChoice::No}});
    if (has("--section"))
        c.section = toNumber(QStringLiteral("--section"), get("--section"), 1, sections(o.id));
    if (has("--year")) c.year = toNumber(QStringLiteral("--year"), get("--year"), 2000, 2100);
    if (has("--month")) {
        c.month = toNumber(QStringLiteral("--month"), get("--month"), 1, 12);
        c.anyMonth = false;
    }
    c.registerForm = has("--register");
    c.formal = has("--formal");
    c.oil = has("--oil");
    if (has("--from-month"))
        c.fromMonth = toNumber(QStringLiteral("--from-month"), get("--from-month"), 1, 12);
    if (has("--to-month")) c.toMonth = toNumber(QStringLiteral("--to-month"), get("--to-month"), 1, 12);
    if (has("--from-year"))
        reports::setStartYear(c, toNumber(QStringLiteral("--from-year"), get("--from-year"), 2007, 2100));
    if (has("--to-year")) c.toYear = toNumber(QStringLiteral("--to-year"), get("--to-year"), 2000, 2100);
    if (has("--from")) c.from = toDate(QStringLiteral("--from"), get("--from"));
    if (has("--to")) c.to = toDate(QStringLiteral("--to"), get("--to"));
}

QJsonValue jsonValue(const reports::FieldDef& f, const QVariant& v) {
    if (f.type == reports::FieldType::Text) return v.isNull() ? QString() : v.toString();
    if (v.isNull()) return QJsonValue(QJsonValue::Null);
    if (f.type == reports::FieldType::Integer) return QJsonValue(v.toLongLong());
    // Sums of amounts kept at two decimals carry binary noise (672.9000000000001); six decimals hold
    // every value a statement computes.
    return roundToScale(v.toDouble(), 6);
}

QByteArray statementJson(const reports::ResultTable& t, const QString& caption,
                         const reports::PrintSpec& print) {
    QJsonObject params;
    for (const auto& [name, value] : print.parameters)
        params.insert(name, value);
    QJsonArray columns, rows, display;
    for (const reports::FieldDef& f : t.fields())
        if (f.shown()) columns.append(QJsonArray{f.name, f.title});
    for (int r = 0; r < t.rowCount(); ++r) {
        QJsonObject row, texts;
        for (int i = 0; i < t.fields().size(); ++i) {
            const reports::FieldDef& f = t.fields()[i];
            row.insert(f.name, jsonValue(f, t.row(r).at(i)));
            texts.insert(f.name, t.text(r, i));
        }
        rows.append(row);
        display.append(texts);
    }
    QJsonObject o{{"caption", caption}, {"report", print.projectFile},
                  {"params", params},   {"columns", columns},
                  {"rows", rows},       {"display", display}};
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

// Writes the output under a temporary name beside the target and gives it the target's name only when
// it is complete, so that an interrupted run leaves the old file or the whole new one.
void writeAtomically(const QString& out, const std::function<void(const QString& path)>& write) {
    const QFileInfo target(out);
    QTemporaryFile part(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                        QStringLiteral(".XXXXXX"));
    if (!part.open())
        throw std::runtime_error(QStringLiteral("Nie można zapisać pliku %1: %2")
                                     .arg(QDir::toNativeSeparators(out), part.errorString())
                                     .toStdString());
    part.close();
    write(part.fileName());
    std::error_code error;
    std::filesystem::rename(part.fileName().toStdString(), target.absoluteFilePath().toStdString(), error);
    if (error)
        throw std::runtime_error(
            QStringLiteral("Nie można zapisać pliku %1: %2")
                .arg(QDir::toNativeSeparators(out), QString::fromStdString(error.message()))
                .toStdString());
    part.setAutoRemove(false);
}

int runStatement(const QStringList& args) {
    Options o;
    StatementChoices choices;
    try {
        o = parse(args);
    } catch (const UsageError& e) {
        printError(QString::fromUtf8(e.what()));
        return 2;
    }

    db::ConnectParams params;
    const db::Location loc = db::parseLocation(o.sciezka);
    params.database = db::databaseName(loc.server.isEmpty() ? QDir(o.sciezka).absolutePath() : o.sciezka);
    params.user = o.user;
    params.password = o.password;
    if (loc.server.isEmpty() && !QFileInfo::exists(params.database)) {
        printError(QStringLiteral("statement: no database %1").arg(params.database));
        return 1;
    }
    auto attachment = db::Attachment::attach(params);
    db::Transaction t(*attachment, {true, 5});
    const SystemSettings settings = db::inTransaction(t, [](db::Transaction& tr) {
        const auto row = tr.selectOne(QStringLiteral("select * from FJ_BAZA where LP = 1"));
        if (!row) throw std::runtime_error("statement: the database has no system record (FJ_BAZA)");
        return session::settingsFromRow(*row);
    });
    choices = reports::defaultChoices(o.id, settings, korven::today());
    try {
        applyChoices(o, choices);
    } catch (const UsageError& e) {
        printError(QString::fromUtf8(e.what()));
        return 2;
    }
    // The services statement lists the services due by the odometer too when that is switched on.
    if (o.id == StatementId::Services) {
        const AddonOptions addons = session::readAddonOptions(t);
        choices.dueByCounter = addons.serviceDueByCounter;
        choices.counterMargin = addons.serviceCounterMargin;
    }
    reports::StatementSources sources;
    db::inTransaction(t, [&](db::Transaction& tr) {
        const reports::FilterLists lists = reports::readFilterLists(tr, o.id);
        const QString unknown = reports::resolveFilterNames(choices, lists);
        if (!unknown.isEmpty())
            throw std::runtime_error(QStringLiteral("statement: --%1 %2 is not in its dictionary")
                                         .arg(unknown, o.choices.at(QStringLiteral("--") + unknown))
                                         .toStdString());
        sources = reports::readStatementSources(tr, o.id, choices);
    });
    attachment->detach();

    const reports::ResultTable table = reports::buildStatement(o.id, choices, sources);
    const reports::PrintSpec print = reports::statementPrint(o.id, choices, settings, o.operatorName);
    const QString caption = reports::statementCaption(o.id, settings.ROK, settings.MIE);

    writeAtomically(o.out, [&](const QString& path) {
        if (o.format == QLatin1String("json")) {
            QSaveFile f(path);
            if (!f.open(QIODevice::WriteOnly) || f.write(statementJson(table, caption, print)) < 0 ||
                !f.commit())
                throw std::runtime_error(QStringLiteral("Nie można zapisać pliku %1: %2")
                                             .arg(QDir::toNativeSeparators(o.out), f.errorString())
                                             .toStdString());
        } else if (o.format == QLatin1String("xlsx")) {
            exports::writeWorkbook(reports::statementExportList(table), reports::statementExportTitle(o.id),
                                   1, 1, path);
        } else {
            const reports::ReportJob job = reports::statementJob(table, print);
            reports::renderToFile(job, *reports::formatFromName(o.format), path);
        }
    });
    printLine(o.out);
    return 0;
}

int run(const QStringList& args) {
    try {
        return runStatement(args);
    } catch (const reports::ReportError& e) {
        printError(e.text());
    } catch (const exports::ExportError& e) {
        printError(e.text());
    } catch (const db::DbError& e) {
        printError(QString::fromUtf8(e.what()));
    }
    return 1;
}

const CommandRegistration registration{Command{"statement", kUsage, run}};

} // namespace

} // namespace korven::cli
