#pragma once

#include "core/SystemSettings.h"

#include <QString>
#include <QStringList>

namespace korven::technical {

// Rules of the technical functions window and the calendar that need no database: captions, the
// questions and messages of the month opening, its progress counter and its counts.

// "Funkcje Techniczne" filled with blanks and cut to 65 characters, then the working period.
QString techCaption(const SystemSettings& settings);

// The twelve month names of the calendar list, "Styczeń" to "Grudzień".
const QStringList& calendarMonths();

// Whether the operator may open the calendar (access level 0 only).
bool mayOpenCalendar(int accessLevel);

// What one run of the month opening did.
struct MonthOpeningCounts {
    int created = 0;
    int skippedBlocked = 0;    // the card lock is neither "N" nor empty
    int skippedHavingCard = 0; // the vehicle or machine has a card of the month already
    friend bool operator==(const MonthOpeningCounts&, const MonthOpeningCounts&) = default;
};

// The counter shown during the month opening: one step per vehicle or machine, running 1 to 100 and
// starting again at 1 after 100; the progress bar shows it out of 100.
class ProgressCounter {
public:
    int advance() {
        value_ = value_ >= 100 ? 1 : value_ + 1;
        return value_;
    }
    int value() const { return value_; }

private:
    int value_ = 0;
};

enum class CardKind { Trip, Equipment };

// The question asked before the month opening.
QString monthOpeningQuestion(CardKind kind);
// The message after a completed run, with what the run did.
QString monthOpeningDone(CardKind kind, const MonthOpeningCounts& counts);
// The message after a run that a database error ended, with what it did until then.
QString monthOpeningStopped(CardKind kind, const MonthOpeningCounts& counts, const QString& error);

namespace messages {
QString calendarRefused();
QString othersConnected();
QString settingsRefused();
} // namespace messages

} // namespace korven::technical
