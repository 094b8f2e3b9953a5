#include "db/FbClient.h"
#include "db/Database.h"
#include "db/Shutdown.h"

#include <dlfcn.h>

#include <mutex>

namespace korven::db {

namespace {
std::mutex clientMutex;
QString clientLibrary = QStringLiteral("libfbclient.so.2");
Firebird::IMaster* loadedMaster = nullptr;
} // namespace

void shutdownClient(unsigned timeoutMs) noexcept {
    Firebird::IMaster* loaded = nullptr;
    {
        std::lock_guard lock(clientMutex);
        loaded = loadedMaster;
    }
    if (!loaded) return;
    try {
        Firebird::IProvider* dispatcher = loaded->getDispatcher();
        detail::Status st;
        dispatcher->shutdown(&st, timeoutMs, fb_shutrsn_signal);
        dispatcher->release();
    } catch (...) {
        // The program ends anyway; there is nobody left to tell.
    }
}

void setClientLibraryName(const QString& name) {
    std::lock_guard lock(clientMutex);
    clientLibrary = name;
    loadedMaster = nullptr;
}

DbError::DbError(Reason reason, const QString& message, std::vector<long> codes, int sqlCode)
    : std::runtime_error(message.toStdString()), reason_(reason), message_(message), codes_(std::move(codes)),
      sqlCode_(sqlCode) {}

bool DbError::hasCode(long code) const {
    for (long c : codes_)
        if (c == code) return true;
    return false;
}

namespace detail {

Firebird::IMaster* master() {
    std::lock_guard lock(clientMutex);
    if (loadedMaster) return loadedMaster;
    // The client library is loaded at run time so that a missing one is reported like any refused
    // connection instead of stopping the program before it starts.
    void* handle = dlopen(clientLibrary.toLocal8Bit().constData(), RTLD_NOW | RTLD_GLOBAL);
    if (!handle)
        throw DbError(DbError::Reason::ClientLibraryMissing,
                      QStringLiteral("Nie można załadować biblioteki klienta bazy danych %1: %2")
                          .arg(clientLibrary, QString::fromLocal8Bit(dlerror())));
    using Entry = Firebird::IMaster* (*)();
    auto entry = reinterpret_cast<Entry>(dlsym(handle, "fb_get_master_interface"));
    if (!entry)
        throw DbError(
            DbError::Reason::ClientLibraryMissing,
            QStringLiteral("Biblioteka %1 nie jest biblioteką klienta Firebird 3").arg(clientLibrary));
    loadedMaster = entry();
    return loadedMaster;
}

Firebird::IUtil* util() {
    return master()->getUtilInterface();
}

QString fromUtf8(const char* data, unsigned length) {
    return QString::fromUtf8(data, static_cast<qsizetype>(length));
}

DbError toDbError(const Firebird::FbException& e) {
    Firebird::IStatus* status = e.getStatus();
    char buffer[2048];
    util()->formatStatus(buffer, sizeof buffer, status);
    QString text = QString::fromUtf8(buffer).trimmed();

    std::vector<long> codes;
    const intptr_t* v = status->getErrors();
    for (int i = 0; v && v[i] != isc_arg_end && i < 200;) {
        if (v[i] == isc_arg_gds) {
            codes.push_back(static_cast<long>(v[i + 1]));
            i += 2;
        } else if (v[i] == isc_arg_cstring) {
            i += 3;
        } else {
            i += 2;
        }
    }

    auto has = [&](long code) { return std::find(codes.begin(), codes.end(), code) != codes.end(); };
    using R = DbError::Reason;
    R reason = R::Other;
    if (has(isc_login))
        reason = R::LoginRefused;
    else if (text.contains(QLatin1String("already opened with engine instance")))
        reason = R::DatabaseInUse;
    else if (has(isc_lock_conflict) || has(isc_deadlock) || has(isc_update_conflict) || has(isc_lock_timeout))
        reason = R::LockConflict;
    else if (has(isc_unique_key_violation) || has(isc_no_dup))
        reason = R::UniqueViolation;
    else if (has(isc_net_read_err) || has(isc_net_write_err) || has(isc_att_shutdown) || has(isc_shutdown) ||
             has(isc_conn_lost) || has(isc_bad_db_handle))
        reason = R::ConnectionLost;
    else if (has(isc_network_error) || has(isc_io_error) || has(isc_unavailable) || has(isc_bad_db_format))
        reason = R::Unreachable;
    return DbError(reason, text, std::move(codes));
}

} // namespace detail
} // namespace korven::db
