// korven-bench: the program's own code against the raw engine doing the same statements, side by
// side in one run over one database (the national demo): the month opening, the statements, the
// vehicle registry, one vehicle's card register and the start to the main window. Prints a table of
// seconds, their ratio and the peak memory of each measure; --json prints the same as a list.
#include "RawEngine.h"

#include "core/Clock.h"
#include "db/Database.h"
#include "equipcards/data/EquipmentCardData.h"
#include "registries/data/Vehicle.h"
#include "reports/data/StatementData.h"
#include "reports/rules/Statements.h"
#include "session/data/Session.h"
#include "session/ui/MainWindows.h"
#include "technical/data/MonthOpening.h"
#include "tripcards/data/CardRegisterData.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>

using namespace korven;

namespace {

struct Result {
    QString measure;
    double program = 0, raw = 0, peakMb = 0;
};

double now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// The peak resident memory since the last reset, in MB; the reset makes each measure's own peak.
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}
double peakMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

// The SQL of the data layer with its named parameters as the raw engine takes them, and their names.
struct RawSql {
    std::string text;
    QStringList names;
};
RawSql rawSql(const QString& sql) {
    const auto [text, names] = db::translateNamedParameters(sql);
    return {text.toStdString(), names};
}

class Bench {
public:
    Bench(QString database, QString user, int rounds)
        : database_(std::move(database)), user_(std::move(user)), rounds_(rounds) {}

    std::vector<Result> run(const QString& self) {
        std::vector<Result> results;
        // First, while no attachment of this process holds the file: the embedded engine lets one
        // process at a time open it.
        results.push_back(startup(self));
        connect();
        results.push_back(monthOpening(false));
        results.push_back(monthOpening(true));
        for (const StatementCase& c : statementCases())
            results.push_back(statement(c));
        results.push_back(registry());
        results.push_back(cardRegister());
        return results;
    }

private:
    void connect() {
        db::ConnectParams p;
        p.database = database_;
        p.user = user_;
        att_ = db::Attachment::attach(p);
        raw_ = std::make_unique<rawfb::Database>(database_.toStdString(), user_.toStdString());
        db::Transaction t(*att_);
        settings_ = session::settingsFromRow(*db::inTransaction(t, [](db::Transaction& tr) {
            return tr.selectOne(QStringLiteral("select * from FJ_BAZA where LP = 1"));
        }));
        // The last month with cards: the one before the working month; the last whole year before it.
        const int index = (2000 + settings_.ROK) * 12 + settings_.MIE - 1 - 1;
        lastYear_ = index / 12;
        lastMonth_ = index % 12 + 1;
        fullYear_ = lastMonth_ == 12 ? lastYear_ : lastYear_ - 1;
    }

    // The best of the rounds of each side, the two sides taking turns so that neither has the cache
    // warmed by the other alone.
    Result measure(const QString& name, const std::function<void()>& program,
                   const std::function<void()>& raw, const std::function<void()>& after = {}) {
        Result r;
        r.measure = name;
        r.program = r.raw = 1e9;
        for (int i = 0; i < rounds_; ++i) {
            resetPeak();
            double t0 = now();
            program();
            r.program = std::min(r.program, now() - t0);
            r.peakMb = std::max(r.peakMb, peakMb());
            if (after) after();
            t0 = now();
            raw();
            r.raw = std::min(r.raw, now() - t0);
            if (after) after();
        }
        std::fprintf(stderr, "%-44s %8.3f s %8.3f s\n", name.toLocal8Bit().constData(), r.program, r.raw);
        return r;
    }

    Result startup(const QString& self) {
        auto child = [&](const char* mode) {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            p.setProcessEnvironment(env);
            const double t0 = now();
            p.start(self, {QLatin1String(mode), QFileInfo(database_).absolutePath(), QStringLiteral("--user"),
                           user_});
            while (p.state() != QProcess::NotRunning && !p.canReadLine())
                p.waitForReadyRead(10);
            const double t = now() - t0;
            const QByteArray line = p.readLine().trimmed();
            p.waitForFinished(60000);
            if (line != "shown")
                throw std::runtime_error(("start-up (" + std::string(mode) +
                                          ") failed: " + p.readAllStandardError().toStdString()));
            return t;
        };
        Result r;
        r.measure = QStringLiteral("start-up to the main window");
        r.program = r.raw = 1e9;
        for (int i = 0; i < rounds_; ++i) {
            r.program = std::min(r.program, child("--startup-program"));
            r.raw = std::min(r.raw, child("--startup-raw"));
        }
        std::fprintf(stderr, "%-44s %8.3f s %8.3f s\n", r.measure.toLocal8Bit().constData(), r.program,
                     r.raw);
        return r;
    }

    // The opening of the working month for every vehicle or machine; the cards it made are deleted
    // after each side so that both open the same month over the same cards.
    Result monthOpening(bool machines) {
        const QString table = machines ? QStringLiteral("A_KARTAS") : QStringLiteral("A_KARTA");
        const QString y = machines ? QStringLiteral("ROKS") : QStringLiteral("ROKD");
        const QString m = machines ? QStringLiteral("MIES") : QStringLiteral("MIED");
        auto clear = [&] {
            db::Transaction t(*att_);
            db::inTransaction(t, [&](db::Transaction& tr) {
                tr.execute(QStringLiteral("delete from %1 where %2 = :Y and %3 = :M").arg(table, y, m),
                           {{"Y", settings_.ROK}, {"M", settings_.MIE}});
            });
        };
        clear();
        const QDate today = korven::today();
        auto program = [&] {
            db::Transaction t(*att_);
            technical::MonthOpening opening(t, settings_, OperatorSession{});
            const auto out = machines ? opening.openWorkCards(today) : opening.openTripCards(today);
            if (!out.ok()) throw std::runtime_error(out.error.toStdString());
        };
        auto raw = [&] { machines ? rawWorkOpening(today) : rawTripOpening(today); };
        return measure(machines ? QStringLiteral("month opening, all machines")
                                : QStringLiteral("month opening, all vehicles"),
                       program, raw, clear);
    }

    // A value for every parameter of a card insert: the keys and counters given, zero otherwise.
    static std::vector<rawfb::Value> insertValues(const QStringList& names,
                                                  const std::map<QString, rawfb::Value>& given) {
        std::vector<rawfb::Value> values;
        for (const QString& n : names) {
            const auto it = given.find(n);
            values.push_back(it != given.end() ? it->second : rawfb::Value::of(0.0));
        }
        return values;
    }

    void rawTripOpening(const QDate& today) {
        rawfb::Database& d = *raw_;
        d.start();
        d.drain("SELECT LP FROM FJ_BAZA WHERE LP = 1 WITH LOCK");
        const auto y = rawfb::Value::of(settings_.ROK), m = rawfb::Value::of(settings_.MIE);
        std::set<int> having;
        {
            rawfb::Statement s(d, "select distinct KODA from A_KARTA where ROKD = ? and MIED = ?");
            s.open({y, m});
            while (s.next())
                having.insert(static_cast<int>(s.number(0)));
        }
        rawfb::Statement highest(d,
                                 "SELECT MAX (KODD) AS KODD FROM A_KARTA WHERE ((ROKD = ?) AND (MIED = ?))");
        highest.open({y, m});
        highest.next();
        int number = highest.isNull(0) ? settings_.POCZNR - 1 : static_cast<int>(highest.number(0));
        highest.close();
        rawfb::Statement last(d, "select first 1 PRZEBIEGS, PRZEBIEGSP, MIER_KON from A_KARTA where KODA = ? "
                                 "order by ROKD desc, MIED desc, KODD desc");
        const RawSql insertSql = rawSql(tripcards::cardInsertStatement());
        rawfb::Statement insert(d, insertSql.text);
        rawfb::Statement vehicles(d, "select * from A_AUTO order by KODA");
        const int koda = vehicles.column("KODA"), nrrej = vehicles.column("NRREJ"),
                  lock = vehicles.column("BLOKADA");
        vehicles.open();
        const auto date = rawfb::Value::date(today.year(), today.month(), today.day());
        while (vehicles.next()) {
            const std::string l = vehicles.text(static_cast<unsigned>(lock));
            if (!(l.empty() || l == "N")) continue;
            const double code = vehicles.number(static_cast<unsigned>(koda));
            if (having.count(static_cast<int>(code))) continue;
            double p0 = 0, p0p = 0, meter = 0;
            last.open({rawfb::Value::of(code)});
            if (last.next()) {
                p0 = last.number(0);
                p0p = last.number(1);
                meter = last.number(2);
            }
            last.close();
            insert.execute(insertValues(
                insertSql.names, {{"KODA", rawfb::Value::of(code)},
                                  {"KODD", rawfb::Value::of(++number)},
                                  {"NRREJ", rawfb::Value::of(vehicles.text(static_cast<unsigned>(nrrej)))},
                                  {"ROKD", y},
                                  {"MIED", m},
                                  {"DATAD", date},
                                  {"PRZEBIEG0", rawfb::Value::of(p0)},
                                  {"PRZEBIEG0P", rawfb::Value::of(p0p)},
                                  {"MIER_POCZ", rawfb::Value::of(meter)}}));
        }
        vehicles.close();
        d.commit();
    }

    void rawWorkOpening(const QDate& today) {
        rawfb::Database& d = *raw_;
        d.start();
        d.drain("SELECT LP FROM FJ_BAZA WHERE LP = 1 WITH LOCK");
        const auto y = rawfb::Value::of(settings_.ROK), m = rawfb::Value::of(settings_.MIE);
        std::set<int> having;
        {
            rawfb::Statement s(d, "select distinct KODS from A_KARTAS where ROKS = ? and MIES = ?");
            s.open({y, m});
            while (s.next())
                having.insert(static_cast<int>(s.number(0)));
        }
        rawfb::Statement highest(d,
                                 "SELECT MAX (KODK) AS KODK FROM A_KARTAS WHERE ((ROKS = ?) AND (MIES = ?))");
        highest.open({y, m});
        highest.next();
        int number = highest.isNull(0) ? settings_.POCZNRS - 1 : static_cast<int>(highest.number(0));
        highest.close();
        const RawSql insertSql = rawSql(equipcards::equipmentCardInsertStatement());
        rawfb::Statement insert(d, insertSql.text);
        rawfb::Statement machines(d, "select * from A_SPRZET order by KODS");
        const int kods = machines.column("KODS"), nrrej = machines.column("NRREJ"),
                  lock = machines.column("BLOKADA");
        machines.open();
        const auto date = rawfb::Value::date(today.year(), today.month(), today.day());
        while (machines.next()) {
            const std::string l = machines.text(static_cast<unsigned>(lock));
            if (!(l.empty() || l == "N")) continue;
            const double code = machines.number(static_cast<unsigned>(kods));
            if (having.count(static_cast<int>(code))) continue;
            insert.execute(insertValues(
                insertSql.names, {{"KODS", rawfb::Value::of(code)},
                                  {"KODK", rawfb::Value::of(++number)},
                                  {"NRREJ", rawfb::Value::of(machines.text(static_cast<unsigned>(nrrej)))},
                                  {"ROKS", y},
                                  {"MIES", m},
                                  {"DATAS", date},
                                  {"IMIENAZ", rawfb::Value::of(std::string())}}));
        }
        machines.close();
        d.commit();
    }

    struct StatementCase {
        reports::StatementId id;
        std::function<void(reports::StatementChoices&)> choose;
        std::string rawSql; // the single aggregate over the same rows
        std::vector<rawfb::Value> rawParams;
    };

    std::vector<StatementCase> statementCases() const {
        using reports::StatementId;
        const int ly = lastYear_ - 2000, fy = fullYear_ - 2000;
        const int lm = lastMonth_, lastYear = lastYear_, fullYear = fullYear_;
        auto month = [=](reports::StatementChoices& c) {
            c.anyMonth = false;
            c.year = lastYear;
            c.month = lm;
        };
        auto year = [=](reports::StatementChoices& c) {
            c.year = fullYear;
            c.fromMonth = 1;
            c.toMonth = 12;
        };
        auto years = [=](reports::StatementChoices& c) { reports::setStartYear(c, fullYear - 5); };
        const auto v = [](double x) { return rawfb::Value::of(x); };
        const QDate today = korven::today(), to = today.addDays(30);
        const std::string trip = "select count(*), sum(ZUZYCIEP) from A_KARTA";
        const std::string work = "select count(*), sum(CZAS) from A_KARTAS";
        return {
            {StatementId::TripCards, month, trip + " where ROKD = ? and MIED = ?", {v(ly), v(lm)}},
            {StatementId::EquipmentCards, month, work + " where ROKS = ? and MIES = ?", {v(ly), v(lm)}},
            {StatementId::ByKind, year, trip + " where ROKD = ? and MIED between 1 and 12", {v(fy)}},
            {StatementId::ByGroup, year, work + " where ROKS = ? and MIES between 1 and 12", {v(fy)}},
            {StatementId::YearlyVehicles, year, trip + " where ROKD = ?", {v(fy)}},
            {StatementId::YearlyEquipment, year, work + " where ROKS = ?", {v(fy)}},
            {StatementId::AverageVehicles, years, trip + " where ROKD between ? and ?", {v(fy - 5), v(fy)}},
            {StatementId::AverageEquipment, years, work + " where ROKS between ? and ?", {v(fy - 5), v(fy)}},
            {StatementId::Services,
             [](reports::StatementChoices&) {},
             "select count(*), sum(STANW) from A_OBSLU where DATAP between ? and ?",
             {rawfb::Value::date(today.year(), today.month(), today.day()),
              rawfb::Value::date(to.year(), to.month(), to.day())}},
            {StatementId::Voucher, month, trip + " where ROKD = ? and MIED = ?", {v(ly), v(lm)}},
        };
    }

    Result statement(const StatementCase& c) {
        reports::StatementChoices choices = reports::defaultChoices(c.id, settings_, korven::today());
        c.choose(choices);
        auto program = [&] {
            db::Transaction t(*att_);
            const reports::StatementSources sources = db::inTransaction(
                t, [&](db::Transaction& tr) { return reports::readStatementSources(tr, c.id, choices); });
            const reports::ResultTable table = reports::buildStatement(c.id, choices, sources);
            (void)table;
        };
        auto raw = [&] {
            raw_->start();
            raw_->drain(c.rawSql, c.rawParams);
            raw_->commit();
        };
        return measure(QStringLiteral("statement %1").arg(reports::statementName(c.id)), program, raw);
    }

    Result registry() {
        auto program = [&] {
            db::Transaction work(*att_);
            registries::VehicleRegistry reg(work);
            const auto rows = reg.list(0);
            if (rows.empty()) throw std::runtime_error("the vehicle registry is empty");
        };
        db::Transaction t(*att_);
        const std::string sql = registries::VehicleRegistry(t).listSql(0).toStdString();
        auto raw = [&] {
            raw_->start();
            raw_->drain(sql);
            raw_->commit();
        };
        return measure(QStringLiteral("vehicle registry open"), program, raw);
    }

    Result cardRegister() {
        auto program = [&] {
            db::Transaction work(*att_), bracket(*att_);
            tripcards::CardRegisterData cards(work, bracket, settings_, OperatorSession{});
            const tripcards::CardList list = cards.list(1);
            if (!list.error.isEmpty()) throw std::runtime_error(list.error.toStdString());
        };
        auto raw = [&] {
            raw_->start();
            raw_->drain("select * from A_KARTA  where KODA =  ?  order by KODA, ROKD, MIED, KODD",
                        {rawfb::Value::of(1)});
            raw_->commit();
        };
        return measure(QStringLiteral("card register of one vehicle"), program, raw);
    }

    QString database_, user_;
    int rounds_;
    std::unique_ptr<db::Attachment> att_;
    std::unique_ptr<rawfb::Database> raw_;
    SystemSettings settings_;
    int lastYear_ = 0, lastMonth_ = 0, fullYear_ = 0;
};

// The answers of the login dialog: the user given, any password (the embedded engine takes any).
class FixedLogin : public session::StartupUi {
public:
    explicit FixedLogin(QString user) : user_(std::move(user)) {}
    bool askLogin(const QString&, QString& user, QString& password) override {
        user = user_;
        password = QStringLiteral("x");
        return true;
    }
    void showMessage(const QString& text) override {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    }

private:
    QString user_;
};

// The program's start in a process of its own: the start-up sequence and the main window, shown.
int startupProgram(int argc, char** argv, const QString& folder, const QString& user) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("setup.ini"));
    QFile f(ini);
    if (!f.open(QIODevice::WriteOnly)) return 1;
    f.write(QStringLiteral("[Ogolne]\nsciezka=%1\nuser=%2\n").arg(folder, user).toUtf8());
    f.close();
    FixedLogin login(user);
    std::unique_ptr<session::Session> s = session::startSession(ini, login);
    if (!s) return 1;
    {
        session::mainP window(*s, session::Navigator{});
        window.show();
        QApplication::processEvents();
        std::printf("shown\n");
        std::fflush(stdout);
        window.runExitSequence(false);
    }
    s.reset();
    return 0;
}

// The raw engine's start: attach and the reads of the start-up.
int startupRaw(const QString& database, const QString& user) {
    rawfb::Database d(database.toStdString(), user.toStdString());
    d.start();
    d.drain("select * from FJ_BAZA where LP = 1");
    d.drain("select count(*) from MON$ATTACHMENTS");
    d.commit();
    std::printf("shown\n");
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QString folder, user = QStringLiteral("SYSDBA"), mode;
    bool json = false;
    int rounds = 2;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--json"))
            json = true;
        else if (a == QLatin1String("--user") && i + 1 < args.size())
            user = args[++i];
        else if (a == QLatin1String("--rounds") && i + 1 < args.size())
            rounds = std::max(1, args[++i].toInt());
        else if (a == QLatin1String("--startup-program") || a == QLatin1String("--startup-raw"))
            mode = a;
        else if (!a.startsWith(QLatin1String("--")) && folder.isEmpty())
            folder = a;
        else
            folder.clear(), i = static_cast<int>(args.size());
    }
    if (folder.isEmpty()) {
        std::fprintf(stderr, "usage: korven-bench DIR [--json] [--rounds N] [--user NAME]\n"
                             "  DIR holds korven.adb, e.g. made by korven-cli demo DIR --scale national\n");
        return 2;
    }
    folder = QDir(folder).absolutePath();
    const QString database = db::databaseName(folder);
    try {
        if (mode == QLatin1String("--startup-program")) return startupProgram(argc, argv, folder, user);
        if (mode == QLatin1String("--startup-raw")) return startupRaw(database, user);
        QCoreApplication app(argc, argv);
        if (!QFileInfo::exists(database)) throw std::runtime_error(("no database " + database.toStdString()));
        Bench bench(database, user, rounds);
        const std::vector<Result> results = bench.run(QCoreApplication::applicationFilePath());
        if (json) {
            QJsonArray list;
            for (const Result& r : results)
                list.append(QJsonObject{{"measure", r.measure},
                                        {"program_s", r.program},
                                        {"raw_s", r.raw},
                                        {"ratio", r.raw > 0 ? r.program / r.raw : 0.0},
                                        {"peak_mb", r.peakMb}});
            std::printf("%s\n", QJsonDocument(list).toJson(QJsonDocument::Indented).constData());
        } else {
            std::printf("| %-40s | %10s | %10s | %6s | %8s |\n", "measure", "program s", "raw s", "ratio",
                        "peak MB");
            std::printf("|%s|%s|%s|%s|%s|\n", std::string(42, '-').c_str(), std::string(12, '-').c_str(),
                        std::string(12, '-').c_str(), std::string(8, '-').c_str(),
                        std::string(10, '-').c_str());
            for (const Result& r : results)
                std::printf("| %-40s | %10.3f | %10.3f | %6.2f | %8.1f |\n",
                            r.measure.toLocal8Bit().constData(), r.program, r.raw,
                            r.raw > 0 ? r.program / r.raw : 0.0, r.peakMb);
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korven-bench: %s\n", e.what());
        return 1;
    }
}
