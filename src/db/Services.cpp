#include "db/Services.h"
#include "db/Database.h"
#include "db/FbClient.h"

#include <QThread>

#include <algorithm>
#include <cstring>

using namespace Firebird;

namespace korven::db {

using detail::guarded;
using detail::Status;

ServiceParams serviceParamsFor(const QString& sciezka, const QString& user, const QString& password) {
    return ServiceParams{parseLocation(sciezka).server, user, password};
}

struct ServiceManager::Builder {
    Status st;
    IXpbBuilder* xpb;
    explicit Builder(unsigned char action) {
        xpb = detail::util()->getXpbBuilder(&st, IXpbBuilder::SPB_START, nullptr, 0);
        xpb->insertTag(&st, action);
    }
    ~Builder() { xpb->dispose(); }
    Builder& text(unsigned char tag, const QString& value) {
        xpb->insertString(&st, tag, value.toUtf8().constData());
        return *this;
    }
    Builder& number(unsigned char tag, int value) {
        xpb->insertInt(&st, tag, value);
        return *this;
    }
    Builder& byte(unsigned char tag, unsigned char value) {
        xpb->insertBytes(&st, tag, &value, 1);
        return *this;
    }
    Builder& flag(unsigned char tag) {
        xpb->insertTag(&st, tag);
        return *this;
    }
};

namespace {

int readInt(const unsigned char* p) {
    return static_cast<int>(static_cast<unsigned>(p[0]) | (static_cast<unsigned>(p[1]) << 8) |
                            (static_cast<unsigned>(p[2]) << 16) | (static_cast<unsigned>(p[3]) << 24));
}

unsigned readShort(const unsigned char* p) {
    return static_cast<unsigned>(p[0]) | (static_cast<unsigned>(p[1]) << 8);
}

} // namespace

ServiceManager::ServiceManager(const ServiceParams& params) {
    guarded([&] {
        Status st;
        IXpbBuilder* spb = detail::util()->getXpbBuilder(&st, IXpbBuilder::SPB_ATTACH, nullptr, 0);
        // Names, paths and user data are sent as UTF-8 (Polish first and last names).
        spb->insertTag(&st, isc_spb_utf8_filename);
        spb->insertString(&st, isc_spb_user_name, params.user.toUtf8().constData());
        spb->insertString(&st, isc_spb_password, params.password.toUtf8().constData());
        QString name = params.server.isEmpty() ? QStringLiteral("service_mgr")
                                               : params.server + QStringLiteral(":service_mgr");
        IProvider* provider = detail::master()->getDispatcher();
        try {
            service_ = provider->attachServiceManager(&st, name.toUtf8().constData(),
                                                      spb->getBufferLength(&st), spb->getBuffer(&st));
        } catch (...) {
            spb->dispose();
            provider->release();
            throw;
        }
        spb->dispose();
        provider->release();
    });
}

ServiceManager::~ServiceManager() {
    if (service_) {
        try {
            Status st;
            service_->detach(&st);
        } catch (const FbException&) {
            service_->release();
        }
    }
}

// Starts the prepared action and reads its output to the end; errors of the running job arrive
// from query() and are thrown.
void ServiceManager::start(Builder& action) {
    // The service manager finishes an action a moment after its last answer; a new action started in
    // that moment is refused as busy, so it is tried again for a while.
    for (int attempt = 0;; ++attempt) {
        try {
            guarded([&] {
                Status st;
                service_->start(&st, action.xpb->getBufferLength(&st), action.xpb->getBuffer(&st));
            });
            return;
        } catch (const DbError& e) {
            if (!e.hasCode(isc_svc_in_use) || attempt >= 200) throw;
            QThread::msleep(25);
        }
    }
}

void ServiceManager::run(Builder& action, const LineHandler& onLine) {
    start(action);
    guarded([&] {
        Status st;
        const unsigned char lineItem[] = {isc_info_svc_line};
        std::vector<unsigned char> buffer(16384);
        for (;;) {
            service_->query(&st, 0, nullptr, sizeof lineItem, lineItem, static_cast<unsigned>(buffer.size()),
                            buffer.data());
            const unsigned char* p = buffer.data();
            if (*p != isc_info_svc_line) break;
            unsigned len = readShort(p + 1);
            if (len == 0) break;
            if (onLine)
                onLine(QString::fromUtf8(reinterpret_cast<const char*>(p + 3), static_cast<qsizetype>(len)));
        }
        // Actions without output may still be finishing; wait until the service says it is done.
        const unsigned char runningItem[] = {isc_info_svc_running};
        for (int i = 0; i < 6000; ++i) {
            service_->query(&st, 0, nullptr, sizeof runningItem, runningItem,
                            static_cast<unsigned>(buffer.size()), buffer.data());
            if (buffer[0] != isc_info_svc_running || readInt(buffer.data() + 1) == 0) break;
            if (idle_) idle_();
            QThread::msleep(20);
        }
    });
}

void ServiceManager::backup(const QString& database, const QString& backupFile, const LineHandler& onLine) {
    Builder b(isc_action_svc_backup);
    b.text(isc_spb_dbname, database).text(isc_spb_bkp_file, backupFile);
    if (onLine) b.flag(isc_spb_verbose);
    run(b, onLine);
}

void ServiceManager::restore(const QString& backupFile, const QString& database, bool replace,
                             const LineHandler& onLine, int pageSize) {
    Builder b(isc_action_svc_restore);
    b.text(isc_spb_bkp_file, backupFile).text(isc_spb_dbname, database);
    b.number(isc_spb_options, replace ? isc_spb_res_replace : isc_spb_res_create);
    if (pageSize > 0) b.number(isc_spb_res_page_size, pageSize);
    if (onLine) b.flag(isc_spb_verbose);
    run(b, onLine);
}

void ServiceManager::validate(const QString& database, const LineHandler& onLine) {
    Builder b(isc_action_svc_validate);
    b.text(isc_spb_dbname, database);
    run(b, onLine);
}

void ServiceManager::validateFull(const QString& database, const LineHandler& onLine) {
    Builder b(isc_action_svc_repair);
    b.text(isc_spb_dbname, database).number(isc_spb_options, isc_spb_rpr_validate_db | isc_spb_rpr_full);
    run(b, onLine);
}

void ServiceManager::sweep(const QString& database) {
    Builder b(isc_action_svc_repair);
    b.text(isc_spb_dbname, database).number(isc_spb_options, isc_spb_rpr_sweep_db);
    run(b, {});
}

void ServiceManager::statistics(const QString& database, const LineHandler& onLine, bool recordVersions) {
    Builder b(isc_action_svc_db_stats);
    int options = isc_spb_sts_data_pages | isc_spb_sts_idx_pages;
    if (recordVersions) options |= isc_spb_sts_record_versions;
    b.text(isc_spb_dbname, database).number(isc_spb_options, options);
    run(b, onLine);
}

void ServiceManager::serverLog(const LineHandler& onLine) {
    Builder b(isc_action_svc_get_fb_log);
    run(b, onLine);
}

ServerInfo ServiceManager::serverInfo() {
    return guarded([&] {
        Status st;
        ServerInfo info;
        const unsigned char items[] = {isc_info_svc_server_version, isc_info_svc_implementation,
                                       isc_info_svc_svr_db_info};
        std::vector<unsigned char> buffer(32768);
        service_->query(&st, 0, nullptr, sizeof items, items, static_cast<unsigned>(buffer.size()),
                        buffer.data());
        const unsigned char* p = buffer.data();
        const unsigned char* end = p + buffer.size();
        auto readText = [&](const unsigned char*& q) {
            unsigned len = readShort(q);
            QString s = QString::fromUtf8(reinterpret_cast<const char*>(q + 2), static_cast<qsizetype>(len));
            q += 2 + len;
            return s;
        };
        while (p < end && *p != isc_info_end) {
            unsigned char item = *p++;
            if (item == isc_info_svc_server_version) {
                info.serverVersion = readText(p);
            } else if (item == isc_info_svc_implementation) {
                info.implementation = readText(p);
            } else if (item == isc_info_svc_svr_db_info) {
                while (p < end && *p != isc_info_flag_end) {
                    unsigned char sub = *p++;
                    if (sub == isc_spb_num_att) {
                        info.attachments = readInt(p);
                        p += 4;
                    } else if (sub == isc_spb_num_db) {
                        info.databases = readInt(p);
                        p += 4;
                    } else if (sub == isc_spb_dbname) {
                        info.databaseNames << readText(p);
                    } else {
                        break;
                    }
                }
                ++p;
            } else {
                break;
            }
        }
        readEnvironment(info);
        return info;
    });
}

void ServiceManager::readEnvironment(ServerInfo& info) {
    Status st;
    const unsigned char items[] = {isc_info_svc_get_env,     isc_info_svc_get_env_lock,
                                   isc_info_svc_get_env_msg, isc_info_svc_user_dbpath,
                                   isc_info_svc_version,     isc_info_svc_get_config};
    std::vector<unsigned char> buffer(32768);
    service_->query(&st, 0, nullptr, sizeof items, items, static_cast<unsigned>(buffer.size()),
                    buffer.data());
    const unsigned char* p = buffer.data();
    const unsigned char* end = p + buffer.size();
    auto readText = [&]() {
        unsigned len = readShort(p);
        QString s = QString::fromUtf8(reinterpret_cast<const char*>(p + 2), static_cast<qsizetype>(len));
        p += 2 + len;
        return s;
    };
    while (p < end && *p != isc_info_end) {
        unsigned char item = *p++;
        if (item == isc_info_svc_get_env) {
            info.baseFolder = readText();
        } else if (item == isc_info_svc_get_env_lock) {
            info.lockFolder = readText();
        } else if (item == isc_info_svc_get_env_msg) {
            info.messageFolder = readText();
        } else if (item == isc_info_svc_user_dbpath) {
            info.securityDatabase = readText();
        } else if (item == isc_info_svc_version) {
            info.serviceVersion = readInt(p);
            p += 4;
        } else if (item == isc_info_svc_get_config) {
            // A length, then entries of a setting's number, a length and its value.
            const unsigned len = readShort(p);
            p += 2;
            const unsigned char* stop = std::min(end, p + len);
            while (p + 3 <= stop) {
                const int key = *p++;
                const unsigned vlen = readShort(p);
                p += 2;
                if (p + vlen > stop) break;
                qint64 value = 0;
                for (unsigned i = 0; i < vlen && i < 8; ++i)
                    value |= static_cast<qint64>(p[i]) << (8 * i);
                info.settings.emplace_back(key, value);
                p += vlen;
            }
            p = stop;
        } else {
            break;
        }
    }
}

void ServiceManager::setSweepInterval(const QString& database, int transactions) {
    Builder b(isc_action_svc_properties);
    b.text(isc_spb_dbname, database).number(isc_spb_prp_sweep_interval, transactions);
    run(b, {});
}

void ServiceManager::setPageBuffers(const QString& database, int pages) {
    Builder b(isc_action_svc_properties);
    b.text(isc_spb_dbname, database).number(isc_spb_prp_page_buffers, pages);
    run(b, {});
}

void ServiceManager::setForcedWrites(const QString& database, bool sync) {
    Builder b(isc_action_svc_properties);
    b.text(isc_spb_dbname, database)
        .byte(isc_spb_prp_write_mode, sync ? isc_spb_prp_wm_sync : isc_spb_prp_wm_async);
    run(b, {});
}

void ServiceManager::setReadOnly(const QString& database, bool readOnly) {
    Builder b(isc_action_svc_properties);
    b.text(isc_spb_dbname, database)
        .byte(isc_spb_prp_access_mode, readOnly ? isc_spb_prp_am_readonly : isc_spb_prp_am_readwrite);
    run(b, {});
}

void ServiceManager::setReserveSpace(const QString& database, bool reserve) {
    Builder b(isc_action_svc_properties);
    b.text(isc_spb_dbname, database)
        .byte(isc_spb_prp_reserve_space, reserve ? isc_spb_prp_res : isc_spb_prp_res_use_full);
    run(b, {});
}

void ServiceManager::setDialect(const QString& database, int dialect) {
    Builder b(isc_action_svc_properties);
    b.text(isc_spb_dbname, database).number(isc_spb_prp_set_sql_dialect, dialect);
    run(b, {});
}

void ServiceManager::shutdown(const QString& database, ShutdownMode mode, int timeoutSeconds) {
    unsigned char m = mode == ShutdownMode::Full    ? isc_spb_prp_sm_full
                      : mode == ShutdownMode::Multi ? isc_spb_prp_sm_multi
                                                    : isc_spb_prp_sm_single;
    Builder b(isc_action_svc_properties);
    b.text(isc_spb_dbname, database)
        .byte(isc_spb_prp_shutdown_mode, m)
        .number(isc_spb_prp_force_shutdown, timeoutSeconds);
    run(b, {});
}

void ServiceManager::bringOnline(const QString& database) {
    Builder b(isc_action_svc_properties);
    b.text(isc_spb_dbname, database).byte(isc_spb_prp_online_mode, isc_spb_prp_sm_normal);
    run(b, {});
}

void ServiceManager::addUser(const UserInfo& user) {
    Builder b(isc_action_svc_add_user);
    b.text(isc_spb_sec_username, user.userName).text(isc_spb_sec_password, user.password);
    b.text(isc_spb_sec_firstname, user.firstName).text(isc_spb_sec_middlename, user.middleName);
    b.text(isc_spb_sec_lastname, user.lastName);
    b.number(isc_spb_sec_userid, user.userId).number(isc_spb_sec_groupid, user.groupId);
    run(b, {});
}

void ServiceManager::modifyUser(const UserInfo& user) {
    Builder b(isc_action_svc_modify_user);
    b.text(isc_spb_sec_username, user.userName);
    if (!user.password.isEmpty()) b.text(isc_spb_sec_password, user.password);
    b.text(isc_spb_sec_firstname, user.firstName).text(isc_spb_sec_middlename, user.middleName);
    b.text(isc_spb_sec_lastname, user.lastName);
    b.number(isc_spb_sec_userid, user.userId).number(isc_spb_sec_groupid, user.groupId);
    run(b, {});
}

void ServiceManager::deleteUser(const QString& userName) {
    Builder b(isc_action_svc_delete_user);
    b.text(isc_spb_sec_username, userName);
    run(b, {});
}

std::optional<UserInfo> ServiceManager::displayUser(const QString& userName) {
    Builder b(isc_action_svc_display_user);
    b.text(isc_spb_sec_username, userName.toUpper());
    start(b);
    std::vector<UserInfo> list = readUsers();
    for (const UserInfo& u : list)
        if (u.userName.compare(userName, Qt::CaseInsensitive) == 0) return u;
    return std::nullopt;
}

std::vector<UserInfo> ServiceManager::users() {
    Builder b(isc_action_svc_display_user);
    start(b);
    return readUsers();
}

// Reads the answer of a display-user action. The list may come in several parts.
std::vector<UserInfo> ServiceManager::readUsers() {
    return guarded([&] {
        Status st;
        std::vector<unsigned char> data;
        // Service replies are limited to a 16-bit length.
        std::vector<unsigned char> buffer(32000);
        const unsigned char item[] = {isc_info_svc_get_users};
        for (int round = 0; round < 1000; ++round) {
            service_->query(&st, 0, nullptr, sizeof item, item, static_cast<unsigned>(buffer.size()),
                            buffer.data());
            const unsigned char* p = buffer.data();
            if (*p != isc_info_svc_get_users) break;
            unsigned len = readShort(p + 1);
            if (len == 0) break;
            data.insert(data.end(), p + 3, p + 3 + len);
        }
        std::vector<UserInfo> list;
        const unsigned char* p = data.data();
        const unsigned char* end = p + data.size();
        auto readText = [&](const unsigned char*& q) {
            unsigned len = readShort(q);
            QString s = QString::fromUtf8(reinterpret_cast<const char*>(q + 2), static_cast<qsizetype>(len));
            q += 2 + len;
            return s;
        };
        while (p < end) {
            unsigned char tag = *p++;
            switch (tag) {
            case isc_spb_sec_username:
                list.emplace_back();
                list.back().userName = readText(p);
                break;
            case isc_spb_sec_firstname:
                if (!list.empty()) list.back().firstName = readText(p);
                break;
            case isc_spb_sec_middlename:
                if (!list.empty()) list.back().middleName = readText(p);
                break;
            case isc_spb_sec_lastname:
                if (!list.empty()) list.back().lastName = readText(p);
                break;
            case isc_spb_sec_userid:
                if (!list.empty()) list.back().userId = readInt(p);
                p += 4;
                break;
            case isc_spb_sec_groupid:
                if (!list.empty()) list.back().groupId = readInt(p);
                p += 4;
                break;
            case isc_spb_sec_admin:
                if (!list.empty()) list.back().admin = readInt(p) != 0;
                p += 4;
                break;
            default:
                p = end; // an unknown tag: stop rather than misread
                break;
            }
        }
        return list;
    });
}

} // namespace korven::db
