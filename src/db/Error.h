#pragma once

#include <QString>

#include <stdexcept>
#include <vector>

namespace korven::db {

// A failure reported by the database server or its client library, carrying the server's own text.
class DbError : public std::runtime_error {
public:
    enum class Reason {
        Other,
        ClientLibraryMissing, // libfbclient (or the embedded engine) could not be loaded
        LoginRefused,         // wrong user name or password
        Unreachable,          // no server answers, or the database file cannot be opened
        DatabaseInUse,        // the file is held exclusively by another program
        ConnectionLost,       // the connection broke while working
        LockConflict,         // a row is held by another transaction and the wait ran out
        UniqueViolation,      // a key or unique index would be duplicated
        Usage                 // a mistake of the calling code (unknown parameter, no transaction...)
    };

    DbError(Reason reason, const QString& message, std::vector<long> codes = {}, int sqlCode = 0);

    Reason reason() const { return reason_; }
    const QString& message() const { return message_; }
    // The Firebird status codes (isc_...) of the error, in order.
    const std::vector<long>& codes() const { return codes_; }
    int sqlCode() const { return sqlCode_; }
    bool hasCode(long code) const;

private:
    Reason reason_;
    QString message_;
    std::vector<long> codes_;
    int sqlCode_;
};

} // namespace korven::db
