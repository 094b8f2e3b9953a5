#pragma once

#include "admin/data/MainD.h"

#include <exception>
#include <memory>

namespace korven::admin {

// What the start-up needs from the screen.
class AdminStartupUi {
public:
    virtual ~AdminStartupUi() = default;
    // Asks for the administrator's name and password; false when the administrator gives up.
    virtual bool askLogin(const QString& database, QString& user, QString& password) = 0;
    virtual void showMessage(const QString& text) = 0;
    virtual void showError(const std::exception& error) = 0;
};

// Asks for the administrator's name (SYSDBA offered) and password and connects with them. A refused
// name or password is said plainly and asked again. Any other failure to connect is shown and the
// data module is returned without a connection, so that the window still opens. Nothing when the
// administrator gives up.
std::unique_ptr<MainD> startAdmin(const AdminConfig& config, AdminStartupUi& ui);

} // namespace korven::admin
