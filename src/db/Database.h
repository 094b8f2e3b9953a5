#pragma once

#include "db/Error.h"
#include "db/Value.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace Firebird {
class IAttachment;
class ITransaction;
class IStatement;
} // namespace Firebird

namespace korven::db {

// ---------------------------------------------------------------------------------------------
// Locations. `sciezka` is a folder that is either local (embedded engine) or carries a server
// prefix in Firebird syntax: "host:/folder", "host/port:/folder" (also "host:C:\folder").

struct Location {
    QString server; // "" for the embedded engine, else "host" or "host/port"
    QString folder; // the folder on that machine
};

Location parseLocation(const QString& sciezka);
// sciezka + separator + file name, with the separator the folder itself uses.
QString databaseName(const QString& sciezka, const QString& fileName = QStringLiteral("korven.adb"));

// Which client library to load; tests set a missing one to check the refusal path.
void setClientLibraryName(const QString& name);

// ---------------------------------------------------------------------------------------------
// Rows and parameters.

// One row of a result, with its columns by name (upper case; aliases as written).
class Row {
public:
    Row() = default;
    Row(std::shared_ptr<const QStringList> names, std::vector<Value> values)
        : names_(std::move(names)), values_(std::move(values)) {}

    int size() const { return static_cast<int>(values_.size()); }
    const QStringList& columnNames() const;
    bool has(const QString& column) const { return indexOf(column) >= 0; }
    const Value& at(int index) const { return values_.at(static_cast<std::size_t>(index)); }
    // The named column; a column that the query does not return is a DbError (Usage).
    const Value& operator[](const QString& column) const;

    std::int64_t integer(const QString& column) const { return (*this)[column].toInt(); }
    double number(const QString& column) const { return (*this)[column].toDouble(); }
    QString text(const QString& column) const { return (*this)[column].toText(); }
    QDate date(const QString& column) const { return (*this)[column].toDate(); }
    bool isNull(const QString& column) const { return (*this)[column].isNull(); }

private:
    int indexOf(const QString& column) const;
    std::shared_ptr<const QStringList> names_;
    std::vector<Value> values_;
};

using Rows = std::vector<Row>;

// Named parameters for statements written with ":NAME" placeholders (names are case-insensitive).
class Params {
public:
    Params() = default;
    Params(std::initializer_list<std::pair<QString, Value>> list);
    Params& set(const QString& name, const Value& value);
    const Value* find(const QString& name) const;
    bool isEmpty() const { return items_.empty(); }

private:
    std::vector<std::pair<QString, Value>> items_;
};

// ---------------------------------------------------------------------------------------------
// Attachment, transactions, statements.

struct ConnectParams {
    QString
        database; // full name as Firebird takes it: "/folder/korven.adb" or "host/3051:/folder/korven.adb"
    QString user;
    QString password;
    QString role;
    bool forcedWrites = true;       // used when creating, and when attaching with applyForcedWrites
    bool applyForcedWrites = false; // attach only: set the database's write mode to forcedWrites
    int pageSize = 8192;            // only used when creating
};

class Transaction;

// One connection to a database. Detaches when destroyed.
class Attachment {
public:
    static std::unique_ptr<Attachment> attach(const ConnectParams& params);
    // Creates a new database (dialect 3, UTF8); refuses to overwrite an existing file.
    static std::unique_ptr<Attachment> create(const ConnectParams& params);

    ~Attachment();
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

    void detach();
    // Deletes the database file this attachment is connected to and ends the attachment.
    void dropDatabase();
    bool isConnected() const { return handle_ != nullptr; }
    const ConnectParams& params() const { return params_; }

    // Runs one statement in a transaction of its own that is committed at once. For DDL and
    // trigger bodies (the text is sent as it is, ":name" is not treated as a parameter).
    void executeImmediate(const QString& sql);

    // Asks the server whether the connection still works (a cheap round trip).
    bool ping();

    Firebird::IAttachment* handle() const { return handle_; }

private:
    Attachment(Firebird::IAttachment* handle, ConnectParams params);
    Firebird::IAttachment* handle_;
    ConnectParams params_;
};

struct TransactionOptions {
    bool readOnly = false;
    // Seconds a statement waits for a row held by another transaction before it fails with a lock
    // conflict. Never unbounded: a conflict must not freeze the program.
    int lockTimeoutSeconds = 5;
};

// A transaction with read_committed, rec_version and wait (bounded by the lock time-out). It can be
// started and ended many times, as the program's shared transactions are. Rolled back if still
// active when destroyed.
class Transaction {
public:
    explicit Transaction(Attachment& attachment, TransactionOptions options = {});
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void start();
    void commit();
    void rollback();
    bool isActive() const { return handle_ != nullptr; }
    Attachment& attachment() const { return attachment_; }

    // Runs a select and fetches every row, in the order the statement gives.
    Rows select(const QString& sql, const Params& params = {});
    // The first row, or nothing when there is none.
    std::optional<Row> selectOne(const QString& sql, const Params& params = {});
    // The first column of the first row; null when there is no row.
    Value scalar(const QString& sql, const Params& params = {});
    // Runs an insert, update, delete or DDL statement; returns the number of rows it touched.
    // An "insert ... returning" gives its row through selectOne instead.
    int execute(const QString& sql, const Params& params = {});

    Firebird::ITransaction* handle() const { return handle_; }

private:
    void requireActive() const;
    Attachment& attachment_;
    TransactionOptions options_;
    Firebird::ITransaction* handle_ = nullptr;
};

// A statement prepared once and run many times (bulk inserts, reports).
class Statement {
public:
    Statement(Attachment& attachment, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Rows select(Transaction& transaction, const Params& params = {});
    int execute(Transaction& transaction, const Params& params = {});
    // The parameter names in the order they stand in the text (a name used twice appears twice).
    const QStringList& parameterNames() const { return paramNames_; }

private:
    int run(Transaction& transaction, const Params& params, Rows* rows);
    struct Impl;
    std::unique_ptr<Impl> impl_;
    QStringList paramNames_;
};

// Replaces ":NAME" placeholders outside quotes and comments with "?" and lists the names in order.
std::pair<QString, QStringList> translateNamedParameters(const QString& sql);

// ---------------------------------------------------------------------------------------------
// The shared transaction pattern: start the transaction if it is not active, run the work, commit
// if still active; on any error roll back if active and pass the error on.
template <class Work>
auto inTransaction(Transaction& transaction, Work&& work) -> decltype(work(transaction)) {
    if (!transaction.isActive()) transaction.start();
    try {
        if constexpr (std::is_void_v<decltype(work(transaction))>) {
            work(transaction);
            if (transaction.isActive()) transaction.commit();
        } else {
            auto result = work(transaction);
            if (transaction.isActive()) transaction.commit();
            return result;
        }
    } catch (...) {
        if (transaction.isActive()) {
            try {
                transaction.rollback();
            } catch (...) {
                // The original error is the one worth reporting.
            }
        }
        throw;
    }
}

} // namespace korven::db
