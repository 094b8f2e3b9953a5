#pragma once

#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace korven::admin {

// The four keys of setup.ini the administration program keeps.
struct AdminConfig {
    QString sciezka;  // folder of the database
    QString serwer;   // server name: shown and saved only
    QString protokol; // protocol letter of the services
    QString cien;     // folder of the shadow file
};

enum class Protocol { Local, Tcp, Spx, NamedPipes };
// "L" local, "T" TCP/IP, "S" SPX, "N" named pipes, in either case; anything else TCP/IP.
Protocol protocolFromLetter(const QString& letter);

// The operations that need the database to themselves.
enum class ExclusiveOperation { Backup, Restore, Validation };

// The refusal shown when others are attached: `attachments` counts this program's own connection.
// Nothing when this program is alone.
std::optional<QString> exclusivityRefusal(ExclusiveOperation operation, int attachments);

// The dated archive's name without extension: two-digit year, month, day and hour
// (31 March 2009 14:05 gives "09033114").
QString archiveBaseName(const QDateTime& moment);

// User names go into GRANT and REVOKE statements. Only plain names are accepted: a letter, then
// letters, digits, "_" or "$", at most 31 characters. A quote or a blank can never reach a statement.
bool isValidUserName(const QString& name);
QString userNameRefusal(const QString& name);

// The tables the privilege statements cover, in order.
const QStringList& privilegeTables();

// The check boxes of the privileges.
struct PrivilegeChoice {
    bool setPrivileges = false; // "Ustaw uprawnienia"
    bool all = false;           // "Wszystko"
    bool remove = false;        // "Usuwanie"
    bool insert = false;        // "Dodawanie"
    bool update = false;        // "Zmiana"
    bool select = false;        // "Podgląd"
};

// The GRANT and REVOKE statements for a user, in the order they run, ending with the grant of all
// rights on FJ_BAZA that every user needs to log in. The name must have passed isValidUserName; it is
// written as a quoted identifier in upper case, the form the server keeps it in.
QStringList privilegeStatements(const QString& userName, const PrivilegeChoice& choice);

// The typed fields of a user entry.
struct UserFields {
    QString userName, firstName, middleName, lastName, password;
    QString userId = QStringLiteral("0");
    QString accessLevel = QStringLiteral("0");
};

// A user entry ready for the security service.
struct UserEntry {
    QString userName, firstName, middleName, lastName, password;
    int userId = 0;
    int accessLevel = 0;
};

// Checks and converts the fields; throws std::invalid_argument with the message to show when the name
// is not acceptable or a number field holds no integer.
UserEntry userEntryFrom(const UserFields& fields);

// Reads the verbose output of a restore: the number of rows restored into each table.
class RestoreCounts {
public:
    void addLine(const QString& line);
    const QMap<QString, qint64>& counts() const { return counts_; }

private:
    QString table_;
    QMap<QString, qint64> counts_;
};

// The lines of a validation's output that report a problem (errors or warnings found).
QStringList validationFindings(const QStringList& output);

// Messages of the administration program.
namespace messages {
QString backupDone();
QString restoreDone();
QString validationClean();
QString validationFound(const QStringList& findings);
QString archiveMade(const QString& archiveFile);
QString noArchiveChosen();
QString modificationDone();
QString enterUserName();
QString userNotFound();
QString wrongAdminPassword();
} // namespace messages

} // namespace korven::admin
