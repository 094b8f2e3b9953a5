#include "technical/data/MonthOpening.h"

#include "tripcards/data/CardRegisterData.h"

namespace korven::technical {

namespace {

const QString allVehicles = QStringLiteral("select * from A_AUTO order by KODA");

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

MonthOpeningOutcome MonthOpening::openWorkCards(const QDate&, const MonthProgress&) {
    MonthOpeningOutcome outcome;
    outcome.error = QStringLiteral("Tworzenie Kart Sprzętowych nie jest jeszcze dostępne");
    return outcome;
}

int setWorkingMonth(db::Transaction& transaction, int month) {
    return static_cast<int>(db::inTransaction(transaction, [&](db::Transaction& t) {
        t.execute(QStringLiteral("UPDATE FJ_BAZA SET MIE = :MIE where LP = 1"), {{"MIE", month}});
        return t.scalar(QStringLiteral("select MIE from FJ_BAZA where LP = 1")).toInt();
    }));
}

} // namespace korven::technical
