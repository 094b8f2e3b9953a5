#pragma once

#include "admin/rules/AdminRules.h"
#include "admin/rules/Maintenance.h"
#include "db/Database.h"
#include "db/Services.h"
#include "schema/Upgrades.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

namespace korven::admin {

// The administrator's name and password, asked for at start and used for the connection and for
// every service. Nothing of it is kept anywhere else.
struct Credentials {
    QString user = QStringLiteral("SYSDBA");
    QString password;
};

// Starts a program without waiting for it; false when it cannot be started.
using ProcessStarter = std::function<bool(const QString& program, const QStringList& arguments)>;

// An operation refused before it changed anything (others attached, a name not allowed...).
class Refusal : public std::runtime_error {
public:
    explicit Refusal(const QString& text) : std::runtime_error(text.toStdString()) {}
};

// What the window shows of the system record.
struct AdminState {
    bool backupRunning = false; // BILA = "T"
    int connections = 0;        // ILE
    int year = 0;               // ROK
};

// The administration program's data module: configuration, its one connection and transaction, and
// the services. No widgets; the window and korven-cli both work through it.
class MainD {
public:
    // Reads the four keys of setup.ini; a missing file is created with the four keys empty.
    static AdminConfig loadConfig(const QString& setupIniPath);
    static void saveConfig(const QString& setupIniPath, const AdminConfig& config);

    MainD(AdminConfig config, Credentials credentials);
    ~MainD();
    MainD(const MainD&) = delete;
    MainD& operator=(const MainD&) = delete;

    const AdminConfig& config() const { return config_; }
    const Credentials& credentials() const { return credentials_; }
    // The database as a connection names it (with the server's prefix when there is one).
    QString databasePath() const;
    // A file of the database folder as the server itself names it: what the services are given.
    QString serverPath(const QString& fileName = QStringLiteral("korven.adb")) const;
    QString backupFile() const;
    // The database folder when this machine can reach its files (embedded engine, or a server on this
    // machine); empty for a server elsewhere.
    QString localFolder() const;
    db::ServiceParams serviceParams() const;
    // Called while a service is waited for (the window handles its events there).
    void setIdleHandler(std::function<void()> idle) { idle_ = std::move(idle); }

    // Opens the administration connection (reading ILE of the system record); errors passed on.
    void connect();
    void disconnect();
    bool isConnected() const { return attachment_ && attachment_->isConnected(); }
    // The connection, opened when it is closed.
    db::Attachment& attachment();

    AdminState readState();
    // Attachments to the database, this program's own connection included.
    int attachmentCount();
    void setBackupFlag(bool running);

    // Copies the database into `target` (the backup file beside the database when empty). Throws
    // Refusal while others are attached, DbError when the service fails; the flag of a running backup
    // is set around the copy and cleared also after a failure.
    void backup(const db::LineHandler& onLine, const QString& target = QString());
    // Restores the database from `source` (the backup file beside the database when empty). The backup
    // is restored into a new file beside the database and checked (online, every index active,
    // validation clean, the rows of every table as many as the backup held) before it takes the old
    // database's place; on any failure the old database stays as it was and the error says why.
    void restore(const db::LineHandler& onLine, const QString& source = QString());
    // Validates the whole database; returns what the validation found (empty when clean).
    QStringList validate(const db::LineHandler& onLine);

    // Starts the archiver on the backup file under a name made of `moment`; returns the archive's
    // file name. Throws when the archiver cannot be started.
    QString makeArchive(const QDateTime& moment, const ProcessStarter& start);
    // Starts the archiver extracting `archive` into the database folder, overwriting files there.
    void unpackArchive(const QString& archive, const ProcessStarter& start);

    // Adds or modifies a server user with its names and numbers, writes its access level where the
    // main program reads it, then runs the privilege statements.
    void saveUser(const UserFields& fields, const PrivilegeChoice& privileges, bool add);
    // The user's entry, or nothing when the server has none.
    std::optional<UserFields> findUser(const QString& userName);
    // Deletes the user and its access level; its table privileges stay as they are.
    void deleteUser(const QString& userName);

    // Clears the bookkeeping of connected operators left by a crashed copy of the main program: the
    // counter, the flag of technical functions, the operator list and its numbering, and the flag of a
    // running backup, all in one transaction under the system record's lock. Returns the counter read
    // back (0). A failure changes nothing.
    int resetConnections();
    // The names of the users attached to the database, this program's own connection included.
    QStringList attachedUsers();
    // Runs the statements of the given deletion items (indexes into deletionItems(), run in that
    // order), each committed on its own; `done` hears of each one finished. An error stops the run,
    // the statements before it staying done.
    void deleteData(const std::vector<int>& items, const std::function<void(int)>& done);
    // Creates the shadow korven.shd in `folder`; an empty folder is refused (Refusal) before the server
    // is asked.
    void createShadow(const QString& folder);
    // Sets an option of the database through the configuration service; `value` for page buffers and
    // the sweep interval.
    void setOption(DatabaseOption option, int value = 0);
    void statistics(const db::LineHandler& onLine);
    void serverLog(const db::LineHandler& onLine);
    // The server's and the database's properties, line by line. Leaves the connection closed; the
    // next statement that needs it opens it again.
    void properties(const db::LineHandler& onLine);
    // Runs one upgrade step; returns the text of its result label: the step's success text, or the
    // text saying it is in the database already.
    QString upgradeStep(const QString& version);
    // Applies in version order every upgrade step the database lacks.
    void upgrade(const schema::StepReport& onStep);

private:
    db::Transaction& transaction();
    std::unique_ptr<db::ServiceManager> services() const;
    void checkExclusive(ExclusiveOperation operation);
    QStringList checkRestored(const QString& database, const QString& onServer, const RestoreCounts& counts);
    void dropQuietly(const QString& database, const QString& localFile);
    void clearBackupFlagQuietly();
    AdminConfig config_;
    Credentials credentials_;
    std::unique_ptr<db::Attachment> attachment_;
    std::unique_ptr<db::Transaction> transaction_;
    std::function<void()> idle_;
};

} // namespace korven::admin
