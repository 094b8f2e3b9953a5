#pragma once

// The raw engine: the same statements over the bare Firebird client API, with no data layer, no
// named parameters and no conversions beyond what the engine needs. What the program is compared with.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Firebird {
class IAttachment;
class ITransaction;
class IStatement;
class IMessageMetadata;
class IResultSet;
class IStatus;
} // namespace Firebird

namespace rawfb {

struct Value {
    enum class Kind { Null, Number, Text, Date } kind = Kind::Null;
    double number = 0;
    std::string text;
    int year = 0, month = 0, day = 0;

    static Value of(double n) { return {Kind::Number, n, {}, 0, 0, 0}; }
    static Value of(std::string t) { return {Kind::Text, 0, std::move(t), 0, 0, 0}; }
    static Value date(int y, int m, int d) { return {Kind::Date, 0, {}, y, m, d}; }
};

class Database;

class Statement {
public:
    Statement(Database& db, const std::string& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    unsigned inputCount() const;
    // Runs a statement that returns no rows.
    void execute(const std::vector<Value>& params = {});
    // Opens the rows; next() moves to the next one, false at the end.
    void open(const std::vector<Value>& params = {});
    bool next();
    void close();
    // The current row's columns, by position.
    double number(unsigned column) const;
    std::string text(unsigned column) const;
    bool isNull(unsigned column) const;
    int column(const std::string& alias) const; // -1 when there is none

private:
    void fill(const std::vector<Value>& params);
    Database& db_;
    Firebird::IStatement* stmt_ = nullptr;
    Firebird::IMessageMetadata* in_ = nullptr;
    Firebird::IMessageMetadata* out_ = nullptr;
    Firebird::IResultSet* cursor_ = nullptr;
    std::vector<unsigned char> inBuf_, outBuf_;
};

class Database {
public:
    explicit Database(const std::string& path, const std::string& user = "SYSDBA");
    ~Database();
    void start();
    void commit();
    void rollback();
    // Every row read to the end, nothing kept: the engine's cost of handing the rows over.
    std::int64_t drain(const std::string& sql, const std::vector<Value>& params = {});

    Firebird::IAttachment* attachment() const { return att_; }
    Firebird::ITransaction* transaction() const { return tra_; }

private:
    Firebird::IAttachment* att_ = nullptr;
    Firebird::ITransaction* tra_ = nullptr;
};

} // namespace rawfb
