#include "technical/data/MonthOpening.h"

#include "equipcards/data/EquipmentCardData.h"
#include "tripcards/data/CardRegisterData.h"
#include "tripcards/rules/CardRegister.h"

namespace korven::technical {

namespace {

const QString allVehicles = QStringLiteral("select * from A_AUTO order by KODA");
const QString allMachines = QStringLiteral("select * from A_SPRZET order by KODS");
// Taken first, as every card addition takes it, so that the test below and the numbering of the
// addition see the same cards.
const QString numberingLock = QStringLiteral("SELECT LP FROM FJ_BAZA WHERE LP = 1 WITH LOCK");
const QString machineLock = QStringLiteral("select BLOKADA from A_SPRZET where KODS = :KODS with lock");
const QString machineMonthCards =
    QStringLiteral("select count(*) from A_KARTAS where KODS = :KODS and ROKS = :ROKS and MIES = :MIES");

QString errorMessage(const std::exception& e) {
    if (const auto* d = dynamic_cast<const db::DbError*>(&e)) return d->message();
    return QString::fromLocal8Bit(e.what());
}

// A list that cannot be read ends the run with the database's message: a run that created nothing
// must not end as if the month were open.
bool readList(db::Transaction& transaction, const QString& statement, db::Rows& rows, QString& error) {
    try {
        rows = db::inTransaction(transaction, [&](db::Transaction& t) { return t.select(statement); });
        return true;
    } catch (const std::exception& e) {
        error = errorMessage(e);
        return false;
    }
}

} // namespace

MonthOpening::MonthOpening(db::Transaction& transaction, SystemSettings settings,
                           OperatorSession operatorSession)
    : transaction_(transaction), settings_(std::move(settings)), operator_(std::move(operatorSession)) {}

MonthOpeningOutcome MonthOpening::openTripCards(const QDate& today, const MonthProgress& progress) {
    using tripcards::AddStatus;
    MonthOpeningOutcome outcome;
    tripcards::CardRegisterData cards(transaction_, transaction_, settings_, operator_);
    ProgressCounter counter;
    db::Rows vehicles;
    if (!readList(transaction_, allVehicles, vehicles, outcome.error)) return outcome;
    for (const db::Row& row : vehicles) {
        const tripcards::AddResult added = cards.addCard(tripcards::vehicleFromRow(row).context, today,
                                                         tripcards::AdditionMode::MonthOpening);
        switch (added.status) {
        case AddStatus::Added:
            ++outcome.counts.created;
            break;
        case AddStatus::Blocked:
            ++outcome.counts.skippedBlocked;
            break;
        case AddStatus::AlreadyHasCard:
            ++outcome.counts.skippedHavingCard;
            break;
        case AddStatus::VehicleMissing:
            // Deleted by another operator since the list was read: nothing to open.
            break;
        case AddStatus::ArithmeticError:
        case AddStatus::Failed:
            outcome.error = added.message;
            return outcome;
        }
        const int value = counter.advance();
        if (progress) progress(value);
    }
    return outcome;
}

MonthOpeningOutcome MonthOpening::openWorkCards(const QDate& today, const MonthProgress& progress) {
    MonthOpeningOutcome outcome;
    ProgressCounter counter;
    db::Rows machines;
    if (!readList(transaction_, allMachines, machines, outcome.error)) return outcome;
    for (const db::Row& row : machines) {
        const equipcards::EquipmentContext machine = equipcards::machineFromRow(row).context;
        try {
            db::inTransaction(transaction_, [&](db::Transaction& t) {
                t.selectOne(numberingLock);
                const auto locked = t.selectOne(machineLock, {{"KODS", machine.KODS}});
                if (!locked) return; // deleted by another operator since the list was read
                if (!tripcards::opensWithMonth(locked->text(QStringLiteral("BLOKADA")))) {
                    ++outcome.counts.skippedBlocked;
                    return;
                }
                if (t.scalar(machineMonthCards,
                             {{"KODS", machine.KODS}, {"ROKS", settings_.ROK}, {"MIES", settings_.MIE}})
                        .toInt() > 0) {
                    ++outcome.counts.skippedHavingCard;
                    return;
                }
                const equipcards::AddResult added =
                    equipcards::addEquipmentCard(t, machine, settings_, operator_.fullName, today);
                if (added.added()) ++outcome.counts.created;
            });
        } catch (const std::exception& e) {
            outcome.error = errorMessage(e);
            return outcome;
        }
        const int value = counter.advance();
        if (progress) progress(value);
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
