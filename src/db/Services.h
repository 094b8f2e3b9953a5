#pragma once

#include "db/Error.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace Firebird {
class IService;
}

namespace korven::db {

// Receives the output of a running service, line by line. Called on the calling thread, so a window
// can repaint between lines.
using LineHandler = std::function<void(const QString& line)>;

struct ServiceParams {
    QString server; // "" for the embedded engine, else "host" or "host/port"
    QString user;
    QString password;
};

// A user of the server's security database.
struct UserInfo {
    QString userName;
    QString password; // only sent, never read back
    QString firstName;
    QString middleName;
    QString lastName;
    int userId = 0;
    int groupId = 0;
    bool admin = false;
};

struct ServerInfo {
    QString serverVersion;  // "LI-V3.0.11.33637 Firebird 3.0"
    QString implementation; // "Firebird/Linux/AMD/Intel/x64"
    int attachments = 0;
    int databases = 0;
    QStringList databaseNames;
    QString baseFolder;
    QString lockFolder;
    QString messageFolder;
    QString securityDatabase;
    int serviceVersion = 0;
    // The server's numeric settings by their number in its list; empty when the server keeps none.
    std::vector<std::pair<int, qint64>> settings;
};

enum class ShutdownMode { Full, Multi, Single };

// The server's service manager: backup and restore, validation, statistics, the log, database
// properties and users. One attachment to the service manager per object.
class ServiceManager {
public:
    explicit ServiceManager(const ServiceParams& params);
    ~ServiceManager();
    ServiceManager(const ServiceManager&) = delete;
    ServiceManager& operator=(const ServiceManager&) = delete;

    // Called on the calling thread while an action without output is waited for, so that a window
    // can handle its events meanwhile.
    void setIdleHandler(std::function<void()> idle) { idle_ = std::move(idle); }

    void backup(const QString& database, const QString& backupFile, const LineHandler& onLine = {});
    // Restores into `database`; with replace = false an existing file is refused by the server.
    void restore(const QString& backupFile, const QString& database, bool replace,
                 const LineHandler& onLine = {}, int pageSize = 0);
    // Online validation: works while others are connected and reports what it checks.
    void validate(const QString& database, const LineHandler& onLine = {});
    // Full validation: needs the database to itself; most of its findings go to the server log, what
    // the service reports is passed on line by line.
    void validateFull(const QString& database, const LineHandler& onLine = {});
    void sweep(const QString& database);
    void statistics(const QString& database, const LineHandler& onLine, bool recordVersions = false);
    void serverLog(const LineHandler& onLine);
    ServerInfo serverInfo();

    void setSweepInterval(const QString& database, int transactions);
    void setPageBuffers(const QString& database, int pages);
    void setForcedWrites(const QString& database, bool sync);
    void setReadOnly(const QString& database, bool readOnly);
    void setReserveSpace(const QString& database, bool reserve);
    void setDialect(const QString& database, int dialect);
    void shutdown(const QString& database, ShutdownMode mode, int timeoutSeconds);
    void bringOnline(const QString& database);

    void addUser(const UserInfo& user);
    // Changes names, numbers and, when given, the password of an existing user.
    void modifyUser(const UserInfo& user);
    void deleteUser(const QString& userName);
    std::optional<UserInfo> displayUser(const QString& userName);
    std::vector<UserInfo> users();

private:
    struct Builder;
    void start(Builder& action);
    void run(Builder& action, const LineHandler& onLine);
    std::vector<UserInfo> readUsers();
    void readEnvironment(ServerInfo& info);
    Firebird::IService* service_ = nullptr;
    std::function<void()> idle_;
};

// The service manager's name for a `sciezka` (embedded or on a server).
ServiceParams serviceParamsFor(const QString& sciezka, const QString& user, const QString& password);

} // namespace korven::db
