#include "admin/data/AdminStartup.h"

namespace korven::admin {

namespace {

bool refused(const db::DbError& e) {
    return e.reason() == db::DbError::Reason::LoginRefused;
}

} // namespace

std::unique_ptr<MainD> startAdmin(const AdminConfig& config, AdminStartupUi& ui) {
    Credentials c;
    for (;;) {
        c.password.clear();
        if (!ui.askLogin(db::databaseName(config.sciezka), c.user, c.password)) return nullptr;
        auto d = std::make_unique<MainD>(config, c);
        try {
            d->connect();
            return d;
        } catch (const db::DbError& e) {
            if (refused(e)) {
                ui.showMessage(messages::wrongAdminPassword());
                continue;
            }
            // The database cannot be opened; the service manager still tells whether the name and
            // password are right.
            try {
                db::ServiceManager check(d->serviceParams());
            } catch (const db::DbError& s) {
                if (refused(s)) {
                    ui.showMessage(messages::wrongAdminPassword());
                    continue;
                }
            }
            ui.showError(e);
            return d;
        }
    }
}

} // namespace korven::admin
