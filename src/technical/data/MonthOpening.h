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
// A run is one transaction, taken under the lock of the system record row that serialises card
// numbers: the list, the cards of the month already there and the highest number are read once, the
// cards inserted with one prepared statement and committed together. An operator of another copy
// adding a card meanwhile waits for the commit and numbers after the run's cards; a run that is stopped
// at any moment, or ends in an error, leaves the month as it was, and running it again opens it. As
// vehicles that already have a card of the month are passed over, a second run adds nothing.

struct MonthOpeningOutcome {
    MonthOpeningCounts counts;
    QString error; // the database's message when a card could not be added; nothing was added
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
