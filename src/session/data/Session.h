#pragma once

#include "core/SystemSettings.h"
#include "db/Database.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace korven::session {

// The session module: the one connection all windows share, its three shared transactions, the
// operator's context and the operations on the system record and the operator list. It holds no
// windows; the program's start and the main window drive it.
class Session {
public:
    explicit Session(std::unique_ptr<db::Attachment> attachment);
    // Unregisters the operator (errors swallowed) and disconnects.
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    db::Attachment& attachment() { return *attachment_; }
    // Shared transaction 1: lists, records and every write of the windows.
    db::Transaction& working() { return working_; }
    // Shared transaction 2: the bracket around list openings; the writes of the technical functions.
    db::Transaction& bracket() { return bracket_; }
    // Shared transaction 3: loading the system record.
    db::Transaction& settingsTransaction() { return settingsTx_; }

    SystemSettings& settings() { return settings_; }
    const SystemSettings& settings() const { return settings_; }
    OperatorSession& operatorSession() { return operator_; }
    const OperatorSession& operatorSession() const { return operator_; }

    // Reads FJ_BAZA into the settings (errors passed on).
    void loadSettings();
    // The first refusal that applies to a new login, in the order they are tested, or nothing.
    std::optional<QString> loginRefusal() const;
    // Adds delta to the connection count under a row lock, so that two copies changing it at the same
    // moment both count; the count never goes below 0. Errors passed on.
    void changeConnectionCount(int delta);
    // Reloads the settings and tells whether anyone but this session is connected.
    bool othersConnected();

    // Reads the operator's access level from the table only the administrator writes (0 when he has
    // no row there). Returns the refusal of the login when the table cannot be read.
    std::optional<QString> readAccessLevel();
    // Looks the operator up among the server's users with his own connection; fills the full name.
    // Returns false when there is no entry for him.
    bool lookUpOperator();
    // Inserts the operator's row into FJ_FLOP and keeps its LP; errors swallowed after the roll-back.
    void registerOperator(const QString& text);
    // Deletes this session's FJ_FLOP row; errors swallowed after the roll-back.
    void unregisterOperator();
    // The rows of FJ_FLOP as the operator list shows them, in LP order.
    QStringList activeOperators();

    // Sets or clears FTECH in shared transaction 2; errors swallowed after the roll-back.
    void setTechnicalFunctionsFlag(bool open);

    // Runs a query and returns the named column of its first row as text ("" for null or no row).
    QString queryText(const QString& sql, const QString& column);

    // The exit sequence's first step: reload the settings and count the operator out.
    void countOut();

    // The text registered in FJ_FLOP for an operator: the full name filled with blanks to 50
    // characters, then the user number (at most 6 characters).
    static QString operatorListText(const QString& fullName, const QString& userNumber);
    // The user number of the operator's server entry, as text of at most 6 characters.
    const QString& userNumberText() const { return userNumber_; }

private:
    std::unique_ptr<db::Attachment> attachment_;
    db::Transaction working_;
    db::Transaction bracket_;
    db::Transaction settingsTx_;
    SystemSettings settings_;
    OperatorSession operator_;
    QString userNumber_;
};

// Copies the system record row into the settings, cutting texts to their kept widths.
SystemSettings settingsFromRow(const db::Row& row);

// The main window's title: "System KORVEN: " + short name + 45 blanks cut to 58, then the period.
QString mainWindowTitle(const SystemSettings& settings);

// What the start-up needs from the user and the screen.
class StartupUi {
public:
    virtual ~StartupUi() = default;
    // Shows the login dialog for `database` with `user` offered; false when the operator cancels.
    virtual bool askLogin(const QString& database, QString& user, QString& password) = 0;
    virtual void showMessage(const QString& text) = 0;
};

// Runs the start-up sequence: setup.ini, login, settings, the refusals, counting in, the user
// lookup and registration. Returns the session, or nothing when the program must end (the reason has
// been shown through the ui). Errors while loading the settings or counting are passed on.
std::unique_ptr<Session> startSession(const QString& setupIniPath, StartupUi& ui);

// The message of a failed connection: "Błędne Hasło ..." for every failure, with the reason below it
// when the password is not what failed.
QString connectFailureText(const db::DbError& error);

// The messages of the start-up, as the operators know them.
namespace messages {
inline QString wrongPassword() {
    return QStringLiteral("Błędne Hasło ... spróbuj jeszcze raz ...");
}
inline QString techOpen() {
    return QStringLiteral(
        "Inny użytkownik w Funkcjach Technicznych ... spróbuj za parę minut jeszcze raz ...");
}
inline QString networkLock() {
    return QStringLiteral(
        "Dostęp do programu księgowego został zablokowany ... spróbuj za parę minut jeszcze raz ...");
}
inline QString backupRunning() {
    return QStringLiteral(
        "Dostęp do programu księgowego został zablokowany ... \n\nTrwa archiwizacja danych ...\n\n"
        "Spróbuj za parę minut jeszcze raz ...");
}
inline QString userNotFound() {
    return QStringLiteral("User not found.");
}
// The login is refused when the operator's rights cannot be read: working at an unknown level would
// mean working with all rights. `reason` is the database's own message.
inline QString accessLevelUnreadable(const QString& reason) {
    return QStringLiteral("Nie można odczytać poziomu dostępu operatora, logowanie zostało odrzucone ...\n\n"
                          "Administrator bazy danych musi dodać tabelę poziomów dostępu (FJ_DOSTEP) "
                          "albo nadać do niej prawo odczytu.\n\n%1")
        .arg(reason);
}
} // namespace messages

} // namespace korven::session
