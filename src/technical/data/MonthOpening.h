#pragma once

#include "core/SystemSettings.h"
#include "db/Database.h"
#include "technical/rules/MonthOpening.h"

#include <QDate>
#include <QString>

#include <functional>

namespace korven::technical {

// The opening of a month: one new card of the working month for every vehicle (trip cards) or every
// machine (work cards) that is not locked and has no card of that month yet, each made exactly as the
// register's "&Nowa Karta" makes it (numbering, frozen norms, carry-over). Used by the technical
// functions window and by korven-cli.
//
// Every card is inserted and committed in a transaction of its own, under the lock of the system
// record row that serialises card numbers: an operator adding a card in a register meanwhile waits
// at most for one card, and a run that is stopped at any moment leaves only whole cards behind. As
// vehicles that already have a card of the month are passed over, running it again completes the
// month.

struct MonthOpeningOutcome {
    MonthOpeningCounts counts;
    QString error; // the database's message when a card could not be added; the run ended there
    bool ok() const { return error.isEmpty(); }
};

// Called after each vehicle or machine with the progress counter (1 to 100, then again from 1).
using MonthProgress = std::function<void(int counter)>;

class MonthOpening {
public:
    // `transaction` is the one the technical functions write in (shared transaction 2).
    MonthOpening(db::Transaction& transaction, SystemSettings settings, OperatorSession operatorSession);

    MonthOpeningOutcome openTripCards(const QDate& today, const MonthProgress& progress = {});
    MonthOpeningOutcome openWorkCards(const QDate& today, const MonthProgress& progress = {});

private:
    db::Transaction& transaction_;
    SystemSettings settings_;
    OperatorSession operator_;
};

// The calendar: writes the working month into the system record and reads it back.
int setWorkingMonth(db::Transaction& transaction, int month);

} // namespace korven::technical
