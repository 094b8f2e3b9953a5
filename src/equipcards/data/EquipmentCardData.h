#pragma once

#include "core/Clock.h"
#include "core/SystemSettings.h"
#include "db/Database.h"
#include "equipcards/rules/EquipmentCard.h"
#include "equipcards/rules/EquipmentContext.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace korven::equipcards {

// The data class of the equipment card register: every statement the register window and the
// settlement window run on A_KARTAS, and the reading of the machine they work on. Writes run in the
// working transaction (shared transaction 1) by the shared transaction pattern; list reads are
// bracketed by shared transaction 2.

// A machine as the register sees it: the context it copies when it opens, and the card lock.
struct RegisterMachine {
    EquipmentContext context;
    QString BLOKADA;
    bool blocked() const { return BLOKADA.trimmed() == QLatin1String("T"); }
};

// Copies a row of A_SPRZET (all columns) into the register's machine.
RegisterMachine machineFromRow(const db::Row& row, const QLocale& locale = QLocale());
// A row of A_KARTAS (all columns) as a card; null numbers read as 0, texts trimmed.
EquipmentCard equipmentCardFromRow(const db::Row& row);
// Every column of the card under its own name, the decimals exact at their column's scale.
db::Params equipmentCardParams(const EquipmentCard& card);

struct EquipmentCardList {
    std::vector<EquipmentCard> cards;
    QString error; // a failed read gives an empty list; the window shows no message
};

enum class AddStatus {
    Added,          // the card was inserted
    Blocked,        // the machine's card lock is set: message and sound, nothing added
    MachineMissing, // the machine was deleted meanwhile: message, nothing added
    Failed          // the database refused: the error text, rolled back
};

struct AddResult {
    AddStatus status = AddStatus::Failed;
    EquipmentCardKey key; // the new card's key; empty unless Added
    EquipmentCard card;   // the row as inserted
    QString message;      // empty when Added
    QString sound;        // file to play before the message; empty when none or sounds are locked
    bool added() const { return status == AddStatus::Added; }
};

// The single addition of the card of the working month for one machine, inside a transaction the
// caller runs (the register's working transaction, or the month opening's loop over all machines).
// The system record row is locked first, so that two operators adding cards at the same moment never
// get the same number; the machine row is locked while its card goes in, and its card lock is read
// afresh. Numbering by P6P12 and POCZNRS; the oil norms by the engine kind. Database errors are
// passed on to the caller, who rolls back.
AddResult addEquipmentCard(db::Transaction& transaction, const EquipmentContext& machine,
                           const SystemSettings& settings, const QString& fullName,
                           const QDate& today = korven::today());

enum class PostStatus {
    Posted,      // the row was updated and committed
    Refused,     // the operator may not change a card of that period: message and sound
    CardMissing, // the card no longer exists under its key: nothing written
    Failed       // the database refused: the error text, rolled back
};

struct PostResult {
    PostStatus status = PostStatus::Failed;
    QString message;
    QString sound;
    bool posted() const { return status == PostStatus::Posted; }
};

class EquipmentCardData {
public:
    EquipmentCardData(db::Transaction& working, db::Transaction& bracket, SystemSettings settings,
                      OperatorSession operatorSession);

    const SystemSettings& settings() const { return settings_; }
    const OperatorSession& operatorSession() const { return operator_; }

    // The machine with that code as the register copies it, or nothing when there is none. Database
    // errors are passed on.
    std::optional<RegisterMachine> loadMachine(int KODS);

    // The cards of the machine ordered by year, month and number.
    EquipmentCardList list(int KODS);

    // "&Nowa Karta": addEquipmentCard in the working transaction, committed; errors end in the
    // result's message.
    AddResult addCard(const EquipmentContext& machine, const QDate& today = korven::today());

    // "O&K" of the settlement window: the operator's right to change a card of that period, then the
    // update of every column where the key is the key of the row as it was read.
    PostResult saveCard(const EquipmentCard& edited, const EquipmentCardKey& original);
    PostResult postCard(const EquipmentCard& edited, const EquipmentCardKey& original);

    // Deletes the card; false when it failed (rolled back) or there was no such card.
    bool deleteCard(const EquipmentCardKey& key);

    // The working transaction, for the windows opened from the register that read on their own.
    db::Transaction& working() { return working_; }

private:
    db::Transaction& working_;
    db::Transaction& bracket_;
    SystemSettings settings_;
    OperatorSession operator_;
};

// The statements, for tests and the log.
QString equipmentCardInsertStatement();
QString equipmentCardUpdateStatement();
// The columns the insert of a new card names, each a parameter of the same name.
QStringList equipmentCardInsertColumns();

} // namespace korven::equipcards
