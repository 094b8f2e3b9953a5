#pragma once

#include "db/Database.h"
#include "db/Error.h"

#include <QString>

#include <exception>

namespace korven::db {

// The server's message of a database error, or the text of any other error.
inline QString errorMessage(const std::exception& error) {
    if (const auto* d = dynamic_cast<const DbError*>(&error)) return d->message();
    return QString::fromLocal8Bit(error.what());
}

// A register's list read on opening: the working transaction inside the list bracket. A failure
// is not thrown: its message is returned (empty when the read went through), for the lists whose
// windows show an empty list instead of an error.
template <class Work> QString readListInBracket(Transaction& bracket, Transaction& working, Work&& work) {
    try {
        inTransaction(bracket, [&](Transaction&) { inTransaction(working, work); });
        return {};
    } catch (const std::exception& e) {
        return errorMessage(e);
    }
}

} // namespace korven::db
