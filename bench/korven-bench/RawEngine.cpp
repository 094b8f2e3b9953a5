#include "RawEngine.h"

#include <firebird/Interface.h>

#include <cmath>
#include <cstring>
#include <stdexcept>

using namespace Firebird;

namespace rawfb {

namespace {

IMaster* master() {
    static IMaster* m = fb_get_master_interface();
    return m;
}

// One status for the whole program: the benchmark runs on one thread.
ThrowStatusWrapper& status() {
    static ThrowStatusWrapper st(master()->getStatus());
    return st;
}

template <class F> auto guarded(F&& f) -> decltype(f()) {
    try {
        return f();
    } catch (const FbException& e) {
        char text[1024];
        master()->getUtilInterface()->formatStatus(text, sizeof text, e.getStatus());
        throw std::runtime_error(text);
    }
}

double power10(int scale) {
    return std::pow(10.0, scale);
}

} // namespace

Database::Database(const std::string& path, const std::string& user) {
    guarded([&] {
        ThrowStatusWrapper& st = status();
        IXpbBuilder* dpb = master()->getUtilInterface()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
        dpb->insertString(&st, isc_dpb_user_name, user.c_str());
        dpb->insertString(&st, isc_dpb_lc_ctype, "UTF8");
        att_ = master()->getDispatcher()->attachDatabase(&st, path.c_str(), dpb->getBufferLength(&st),
                                                         dpb->getBuffer(&st));
        dpb->dispose();
        return 0;
    });
}

Database::~Database() {
    try {
        if (tra_) rollback();
        if (att_)
            guarded([&] {
                att_->detach(&status());
                return 0;
            });
    } catch (...) {
    }
}

void Database::start() {
    guarded([&] {
        tra_ = att_->startTransaction(&status(), 0, nullptr);
        return 0;
    });
}

void Database::commit() {
    guarded([&] {
        tra_->commit(&status());
        tra_ = nullptr;
        return 0;
    });
}

void Database::rollback() {
    guarded([&] {
        tra_->rollback(&status());
        tra_ = nullptr;
        return 0;
    });
}

std::int64_t Database::drain(const std::string& sql, const std::vector<Value>& params) {
    Statement s(*this, sql);
    s.open(params);
    std::int64_t rows = 0;
    while (s.next())
        ++rows;
    s.close();
    return rows;
}

Statement::Statement(Database& db, const std::string& sql) : db_(db) {
    guarded([&] {
        ThrowStatusWrapper& st = status();
        stmt_ = db.attachment()->prepare(&st, db.transaction(), 0, sql.c_str(), 3,
                                         IStatement::PREPARE_PREFETCH_METADATA);
        in_ = stmt_->getInputMetadata(&st);
        out_ = stmt_->getOutputMetadata(&st);
        inBuf_.assign(in_->getMessageLength(&st), 0);
        outBuf_.assign(out_->getMessageLength(&st), 0);
        return 0;
    });
}

Statement::~Statement() {
    try {
        close();
        if (in_) in_->release();
        if (out_) out_->release();
        if (stmt_)
            guarded([&] {
                stmt_->free(&status());
                return 0;
            });
    } catch (...) {
    }
}

unsigned Statement::inputCount() const {
    return guarded([&] { return in_->getCount(&status()); });
}

void Statement::fill(const std::vector<Value>& params) {
    ThrowStatusWrapper& st = status();
    const unsigned count = in_->getCount(&st);
    if (params.size() != count) throw std::runtime_error("wrong number of parameters");
    for (unsigned i = 0; i < count; ++i) {
        const Value& v = params[i];
        unsigned char* at = inBuf_.data() + in_->getOffset(&st, i);
        auto* null = reinterpret_cast<short*>(inBuf_.data() + in_->getNullOffset(&st, i));
        const unsigned type = in_->getType(&st, i) & ~1u;
        const unsigned length = in_->getLength(&st, i);
        const double scaled = v.number / power10(in_->getScale(&st, i));
        *null = v.kind == Value::Kind::Null ? -1 : 0;
        if (v.kind == Value::Kind::Null) continue;
        switch (type) {
        case SQL_SHORT: {
            const auto x = static_cast<std::int16_t>(std::llround(scaled));
            std::memcpy(at, &x, sizeof x);
            break;
        }
        case SQL_LONG: {
            const auto x = static_cast<std::int32_t>(std::llround(scaled));
            std::memcpy(at, &x, sizeof x);
            break;
        }
        case SQL_INT64: {
            const auto x = static_cast<std::int64_t>(std::llround(scaled));
            std::memcpy(at, &x, sizeof x);
            break;
        }
        case SQL_DOUBLE:
            std::memcpy(at, &v.number, sizeof v.number);
            break;
        case SQL_FLOAT: {
            const auto x = static_cast<float>(v.number);
            std::memcpy(at, &x, sizeof x);
            break;
        }
        case SQL_TEXT: {
            std::memset(at, ' ', length);
            std::memcpy(at, v.text.data(), std::min<std::size_t>(v.text.size(), length));
            break;
        }
        case SQL_VARYING: {
            const auto n = static_cast<std::uint16_t>(std::min<std::size_t>(v.text.size(), length));
            std::memcpy(at, &n, sizeof n);
            std::memcpy(at + sizeof n, v.text.data(), n);
            break;
        }
        case SQL_TYPE_DATE: {
            const ISC_DATE d = master()->getUtilInterface()->encodeDate(
                static_cast<unsigned>(v.year), static_cast<unsigned>(v.month), static_cast<unsigned>(v.day));
            std::memcpy(at, &d, sizeof d);
            break;
        }
        case SQL_TIMESTAMP: {
            ISC_TIMESTAMP t;
            t.timestamp_date = master()->getUtilInterface()->encodeDate(
                static_cast<unsigned>(v.year), static_cast<unsigned>(v.month), static_cast<unsigned>(v.day));
            t.timestamp_time = 0;
            std::memcpy(at, &t, sizeof t);
            break;
        }
        default:
            *null = -1;
        }
    }
}

void Statement::execute(const std::vector<Value>& params) {
    guarded([&] {
        fill(params);
        stmt_->execute(&status(), db_.transaction(), in_, inBuf_.data(), nullptr, nullptr);
        return 0;
    });
}

void Statement::open(const std::vector<Value>& params) {
    guarded([&] {
        fill(params);
        cursor_ = stmt_->openCursor(&status(), db_.transaction(), in_, inBuf_.data(), out_, 0);
        return 0;
    });
}

bool Statement::next() {
    return guarded([&] { return cursor_->fetchNext(&status(), outBuf_.data()) == IStatus::RESULT_OK; });
}

void Statement::close() {
    if (!cursor_) return;
    guarded([&] {
        cursor_->close(&status());
        cursor_ = nullptr;
        return 0;
    });
}

bool Statement::isNull(unsigned column) const {
    return guarded([&] {
        return *reinterpret_cast<const short*>(outBuf_.data() + out_->getNullOffset(&status(), column)) != 0;
    });
}

double Statement::number(unsigned column) const {
    return guarded([&] {
        ThrowStatusWrapper& st = status();
        if (isNull(column)) return 0.0;
        const unsigned char* at = outBuf_.data() + out_->getOffset(&st, column);
        const double scale = power10(out_->getScale(&st, column));
        switch (out_->getType(&st, column) & ~1u) {
        case SQL_SHORT: {
            std::int16_t x;
            std::memcpy(&x, at, sizeof x);
            return x * scale;
        }
        case SQL_LONG: {
            std::int32_t x;
            std::memcpy(&x, at, sizeof x);
            return x * scale;
        }
        case SQL_INT64: {
            std::int64_t x;
            std::memcpy(&x, at, sizeof x);
            return static_cast<double>(x) * scale;
        }
        case SQL_DOUBLE: {
            double x;
            std::memcpy(&x, at, sizeof x);
            return x;
        }
        case SQL_FLOAT: {
            float x;
            std::memcpy(&x, at, sizeof x);
            return static_cast<double>(x);
        }
        default:
            return 0.0;
        }
    });
}

std::string Statement::text(unsigned column) const {
    return guarded([&] {
        ThrowStatusWrapper& st = status();
        if (isNull(column)) return std::string();
        const unsigned char* at = outBuf_.data() + out_->getOffset(&st, column);
        const unsigned type = out_->getType(&st, column) & ~1u;
        if (type == SQL_VARYING) {
            std::uint16_t n;
            std::memcpy(&n, at, sizeof n);
            return std::string(reinterpret_cast<const char*>(at + sizeof n), n);
        }
        if (type == SQL_TEXT) {
            std::string s(reinterpret_cast<const char*>(at), out_->getLength(&st, column));
            s.erase(s.find_last_not_of(' ') + 1);
            return s;
        }
        return std::string();
    });
}

int Statement::column(const std::string& alias) const {
    return guarded([&] {
        const unsigned count = out_->getCount(&status());
        for (unsigned i = 0; i < count; ++i)
            if (alias == out_->getAlias(&status(), i)) return static_cast<int>(i);
        return -1;
    });
}

} // namespace rawfb
