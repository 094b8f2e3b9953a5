#pragma once

#include "core/Clock.h"
#include "core/SystemSettings.h"
#include "db/Database.h"
#include "tripcards/rules/CardRecord.h"
#include "tripcards/rules/CardRegister.h"
#include "tripcards/rules/VehicleContext.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace korven::tripcards {

// The data class of the trip card register: every statement the register window and the settlement
// windows run on A_KARTA, and the reading of the vehicle they work on. The windows call these
// functions and show what they return; they run no SQL and compute nothing themselves.
//
// Writes run in the working transaction (shared transaction 1) by the shared transaction pattern;
// list reads are bracketed by shared transaction 2. The system record and the operator's context are
// copies taken when the register opens, as the register uses them.

// A vehicle as the register sees it: the context it copies when it opens, and the card lock.
struct RegisterVehicle {
    VehicleContext context;
    QString BLOKADA;
    bool blocked() const { return BLOKADA.trimmed() == QLatin1String("T"); }
};

// Copies a row of A_AUTO (all columns) into the register's vehicle. The capacities are kept as text
// in general format ("" when the column is null), texts are trimmed and cut to their widths.
RegisterVehicle vehicleFromRow(const db::Row& row, const QLocale& locale = QLocale());

// A row of A_KARTA (all columns) as a card record; null numbers read as 0, texts trimmed.
CardRecord cardFromRow(const db::Row& row);

// The cards of the register's list, in list order. A failed read gives an empty list; the error is
// kept only for the log, the window shows no message.
struct CardList {
    std::vector<CardRecord> cards;
    QString error;
};

enum class AddStatus {
    Added,           // the card was inserted and committed
    Blocked,         // the vehicle's card lock is set: message and sound, nothing added
    VehicleMissing,  // the vehicle was deleted by another operator: message, nothing added
    ArithmeticError, // MN_POS is 0: message, nothing added
    AlreadyHasCard,  // month opening only: the vehicle has a card of the month already, nothing added
    Failed           // the database refused: the error text for the general error display, rolled back
};

// How an addition treats the vehicle's card lock and a card of the month the vehicle already has.
enum class AdditionMode {
    // "&Nowa Karta" of the register: only a lock "T" refuses, with its message and sound; a second
    // card of a month is a deliberate act of the operator and is added.
    Register,
    // The opening of a month for all vehicles: only a lock "N" or empty passes and a locked vehicle
    // is passed over without a word; a vehicle that has a card of the month already is passed over
    // too, so a second or interrupted run never doubles a month nor breaks the odometer chain.
    MonthOpening
};

struct AddResult {
    AddStatus status = AddStatus::Failed;
    CardKey key;     // the new card's key (select it in the re-read list); empty unless Added
    CardRecord card; // the row as inserted
    QString message; // empty when Added
    QString sound;   // file to play before the message, empty when none (or sounds are locked)
    bool added() const { return status == AddStatus::Added; }
};

enum class PostStatus {
    Posted,         // the row was updated and committed
    Refused,        // the operator may not change a card of that period: message and sound
    VehicleMissing, // the vehicle no longer exists: nothing written
    CardMissing,    // the card no longer exists under its key: nothing written
    Failed          // the database refused: the error text, rolled back
};

struct PostResult {
    PostStatus status = PostStatus::Failed;
    QString message;
    QString sound;
    bool posted() const { return status == PostStatus::Posted; }
};

class CardRegisterData {
public:
    CardRegisterData(db::Transaction& working, db::Transaction& bracket, SystemSettings settings,
                     OperatorSession operatorSession);

    const SystemSettings& settings() const { return settings_; }
    const OperatorSession& operatorSession() const { return operator_; }

    // The vehicle with that code as the register copies it when it opens, or nothing when there is
    // no such vehicle. Database errors are passed on.
    std::optional<RegisterVehicle> loadVehicle(int KODA);

    // Statement 1 of the register: the cards of the vehicle ordered by year, month and number.
    CardList list(int KODA);

    // "&Nowa Karta": adds the card of the working month for the vehicle, with its norms and the
    // system's multipliers frozen in and the counters carried over from its last card. The card lock
    // and the vehicle's existence are read afresh. The highest number is read and the card inserted
    // while the system record row is locked, so that two operators adding cards at the same moment
    // never get the same number.
    AddResult addCard(const VehicleContext& vehicle, const QDate& today = korven::today(),
                      AdditionMode mode = AdditionMode::Register);

    // "O&K" of the settlement windows: checks the operator's right to change a card of that period,
    // then posts the edited row (postCard).
    PostResult saveCard(const CardRecord& edited, const CardKey& original);
    // The update statement: every column of the row from the edited record, where the key is the key
    // of the row as it was read.
    PostResult postCard(const CardRecord& edited, const CardKey& original);

    // Deletes the card with that key; false when it failed (rolled back, no message) or there was no
    // such card.
    bool deleteCard(const CardKey& key);

    // How many cards the vehicle has (the start values of a card are open only on a first card).
    int vehicleCardCount(int KODA);

    // The mileages of the vehicle's cards of the `months` months before the card's own, latest first.
    // Database errors are passed on.
    std::vector<double> earlierMileages(const CardRecord& card, int months = 12);
    // The doubts about the card as edited, when the plausibility checks are switched on in the
    // options; none when they are off. Database errors are passed on.
    QStringList plausibilityWarnings(const CardRecord& card, const VehicleContext& vehicle);
    // The two service reminders of the work card document. Database errors are passed on.
    std::pair<ServiceReminder, ServiceReminder> serviceReminders(int KODA);

    // "&Karta Pracy ": the reminders and the document fields of the selected card. Errors of the
    // reminder query, MN_POS = 0 and capacities that are not numbers end in the outcome's message.
    DocumentFieldsOutcome documentFields(const CardRecord& card, const VehicleContext& vehicle,
                                         const QDate& today = korven::today(),
                                         const QLocale& locale = QLocale());

    // The working transaction, for the windows opened from the register that read on their own.
    db::Transaction& working() { return working_; }

private:
    bool vehicleExists(db::Transaction& t, int KODA);

    db::Transaction& working_;
    db::Transaction& bracket_;
    SystemSettings settings_;
    OperatorSession operator_;
};

// The statements, for tests and the log.
QString cardInsertStatement();
QString cardUpdateStatement();

// The parameters of a card row for the insert and the update: every column under its own name, the
// decimals exact at their column's scale.
db::Params cardParams(const CardRecord& card);
// The parameters of cardInsertStatement() for a new card.
db::Params cardInsertParams(const CardRecord& card);

} // namespace korven::tripcards
