#include "technical/data/MonthOpening.h"

#include "equipcards/data/EquipmentCardData.h"
#include "equipcards/rules/EquipmentSettlement.h"
#include "tripcards/data/CardRegisterData.h"
#include "tripcards/rules/CardRegister.h"

#include <exception>
#include <optional>
#include <set>

namespace korven::technical {

namespace {

const QString allVehicles = QStringLiteral("select * from A_AUTO order by KODA");
const QString allMachines = QStringLiteral("select * from A_SPRZET order by KODS");
// Taken first, as every card addition takes it: it serialises card numbers across the copies of the
// program.
const QString numberingLock = QStringLiteral("SELECT LP FROM FJ_BAZA WHERE LP = 1 WITH LOCK");
// One read each for the vehicles and machines that have a card of the month already.
const QString vehiclesWithMonthCard =
    QStringLiteral("select distinct KODA from A_KARTA where ROKD = :ROKD and MIED = :MIED");
const QString machinesWithMonthCard =
    QStringLiteral("select distinct KODS from A_KARTAS where ROKS = :ROKS and MIES = :MIES");
const QString highestTripNumber = QStringLiteral("SELECT MAX (KODD) AS KODD FROM A_KARTA");
const QString highestTripNumberInMonth =
    QStringLiteral("SELECT MAX (KODD) AS KODD FROM A_KARTA WHERE ((ROKD = :ROKD) AND (MIED = :MIED))");
const QString highestWorkNumber = QStringLiteral("SELECT MAX (KODK) AS KODK FROM A_KARTAS");
const QString highestWorkNumberInMonth =
    QStringLiteral("SELECT MAX (KODK) AS KODK FROM A_KARTAS WHERE ((ROKS = :ROKS) AND (MIES = :MIES))");
// The latest card of a vehicle, whose closing counters the new card starts from.
const QString lastTripCard =
    QStringLiteral("select first 1 PRZEBIEGS, PRZEBIEGSP, MIER_KON from A_KARTA where "
                   "KODA = :KODA order by ROKD desc, MIED desc, KODD desc");

// What the progress callback throws stops the run and goes on to the caller as it is (after the
// rollback); only the database's and the rules' errors become the outcome's message.
void report(const MonthProgress& progress, int value, std::exception_ptr& stopped) {
    if (!progress) return;
    try {
        progress(value);
    } catch (...) {
        stopped = std::current_exception();
        throw;
    }
}

// A card the rules refuse to make (a multiplier of 0): the run ends with their message.
struct Refused {
    QString message;
};

QString errorMessage(const std::exception& e) {
    if (const auto* d = dynamic_cast<const db::DbError*>(&e)) return d->message();
    return QString::fromLocal8Bit(e.what());
}

} // namespace

MonthOpening::MonthOpening(db::Transaction& transaction, SystemSettings settings,
                           OperatorSession operatorSession)
    : transaction_(transaction), settings_(std::move(settings)), operator_(std::move(operatorSession)) {}

MonthOpeningOutcome MonthOpening::openTripCards(const QDate& today, const MonthProgress& progress) {
    using namespace tripcards;
    MonthOpeningOutcome outcome;
    std::exception_ptr stopped;
    const int year = settings_.ROK;
    const int month = settings_.MIE;
    try {
        db::inTransaction(transaction_, [&](db::Transaction& t) {
            // The numbering lock first, as every card addition takes it: another copy adding a card
            // meanwhile waits for this run to commit and then numbers after it.
            t.selectOne(numberingLock);
            const db::Rows vehicles = t.select(allVehicles);
            std::set<int> having;
            for (const db::Row& row : t.select(vehiclesWithMonthCard, {{"ROKD", year}, {"MIED", month}}))
                having.insert(static_cast<int>(row.integer(QStringLiteral("KODA"))));
            const db::Value highest =
                numberingMode(settings_.P6P12) == NumberingMode::PerMonth
                    ? t.scalar(highestTripNumberInMonth, {{"ROKD", year}, {"MIED", month}})
                    : t.scalar(highestTripNumber);
            std::optional<int> last =
                highest.isNull() ? std::nullopt : std::optional<int>(static_cast<int>(highest.toInt()));
            const SystemMultipliers multipliers = multipliersOf(settings_);
            db::Statement lastCard(t.attachment(), lastTripCard);
            db::Statement insert(t.attachment(), cardInsertStatement());
            ProgressCounter counter;
            for (const db::Row& row : vehicles) {
                const VehicleContext vehicle = vehicleFromRow(row).context;
                if (!opensWithMonth(row.text(QStringLiteral("BLOKADA")))) {
                    ++outcome.counts.skippedBlocked;
                } else if (having.count(vehicle.KODA)) {
                    ++outcome.counts.skippedHavingCard;
                } else {
                    CarryOver carried;
                    const db::Rows previous = lastCard.select(t, {{"KODA", vehicle.KODA}});
                    if (!previous.empty())
                        carried = {previous.front().number(QStringLiteral("PRZEBIEGS")),
                                   previous.front().number(QStringLiteral("PRZEBIEGSP")),
                                   previous.front().number(QStringLiteral("MIER_KON"))};
                    const int number = nextCardNumber(last, settings_.POCZNR);
                    const NewCardOutcome created =
                        newCard(vehicle.normalised(), multipliers, {number, year, month, today}, carried);
                    if (!created.ok()) throw Refused(created.error);
                    insert.execute(t, cardInsertParams(created.card));
                    last = number;
                    ++outcome.counts.created;
                }
                report(progress, counter.advance(), stopped);
            }
        });
    } catch (const Refused& e) {
        outcome = {};
        outcome.error = e.message;
    } catch (const std::exception& e) {
        if (stopped) std::rethrow_exception(stopped);
        outcome = {};
        outcome.error = errorMessage(e);
    }
    return outcome;
}

MonthOpeningOutcome MonthOpening::openWorkCards(const QDate& today, const MonthProgress& progress) {
    MonthOpeningOutcome outcome;
    std::exception_ptr stopped;
    const int year = settings_.ROK;
    const int month = settings_.MIE;
    try {
        db::inTransaction(transaction_, [&](db::Transaction& t) {
            t.selectOne(numberingLock);
            const db::Rows machines = t.select(allMachines);
            std::set<int> having;
            for (const db::Row& row : t.select(machinesWithMonthCard, {{"ROKS", year}, {"MIES", month}}))
                having.insert(static_cast<int>(row.integer(QStringLiteral("KODS"))));
            const db::Value highest =
                tripcards::numberingMode(settings_.P6P12) == tripcards::NumberingMode::PerMonth
                    ? t.scalar(highestWorkNumberInMonth, {{"ROKS", year}, {"MIES", month}})
                    : t.scalar(highestWorkNumber);
            std::optional<int> last =
                highest.isNull() ? std::nullopt : std::optional<int>(static_cast<int>(highest.toInt()));
            db::Statement insert(t.attachment(), equipcards::equipmentCardInsertStatement());
            const QStringList columns = equipcards::equipmentCardInsertColumns();
            ProgressCounter counter;
            for (const db::Row& row : machines) {
                const equipcards::EquipmentContext machine = equipcards::machineFromRow(row).context;
                if (!tripcards::opensWithMonth(row.text(QStringLiteral("BLOKADA")))) {
                    ++outcome.counts.skippedBlocked;
                } else if (having.count(machine.KODS)) {
                    ++outcome.counts.skippedHavingCard;
                } else {
                    const int number = tripcards::nextCardNumber(last, settings_.POCZNRS);
                    const equipcards::NewEquipmentCard created = equipcards::newEquipmentCard(
                        machine.normalised(), number, year, month, operator_.fullName, today);
                    const db::Params all = equipcards::equipmentCardParams(created.card);
                    db::Params params;
                    for (const QString& c : columns)
                        params.set(c, *all.find(c));
                    if (created.oilNormsNull)
                        params.set(QStringLiteral("NORMOLM"), db::Value())
                            .set(QStringLiteral("NORMOLS"), db::Value());
                    insert.execute(t, params);
                    last = number;
                    ++outcome.counts.created;
                }
                report(progress, counter.advance(), stopped);
            }
        });
    } catch (const std::exception& e) {
        if (stopped) std::rethrow_exception(stopped);
        outcome = {};
        outcome.error = errorMessage(e);
    }
    return outcome;
}

int setWorkingMonth(db::Transaction& transaction, int month) {
    return static_cast<int>(db::inTransaction(transaction, [&](db::Transaction& t) {
        t.execute(QStringLiteral("UPDATE FJ_BAZA SET MIE = :MIE where LP = 1"), {{"MIE", month}});
        return t.scalar(QStringLiteral("select MIE from FJ_BAZA where LP = 1")).toInt();
    }));
}

} // namespace korven::technical
