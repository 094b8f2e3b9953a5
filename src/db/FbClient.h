#pragma once

// Internal to the database layer: the loaded client library and conversion of its errors.

#include "db/Error.h"

#include <firebird/Interface.h>
#include <ibase.h>

#include <QString>

namespace korven::db::detail {

// The master interface of the client library, loaded on first use. Throws DbError
// (ClientLibraryMissing) when the library or its entry point cannot be found.
Firebird::IMaster* master();
Firebird::IUtil* util();

// A status object for one call sequence, disposed at the end of the scope.
class Status {
public:
    Status() : status_(master()->getStatus()), wrapper_(status_) {}
    ~Status() { status_->dispose(); }
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;
    Firebird::ThrowStatusWrapper* operator&() { return &wrapper_; }
    Firebird::ThrowStatusWrapper* get() { return &wrapper_; }

private:
    Firebird::IStatus* status_;
    Firebird::ThrowStatusWrapper wrapper_;
};

// Turns a client-library exception into a DbError with the server's text and a reason.
DbError toDbError(const Firebird::FbException& e);
// Runs f, converting client-library exceptions into DbError.
template <class F> auto guarded(F&& f) -> decltype(f()) {
    try {
        return f();
    } catch (const Firebird::FbException& e) {
        throw toDbError(e);
    }
}

QString fromUtf8(const char* data, unsigned length);

} // namespace korven::db::detail
