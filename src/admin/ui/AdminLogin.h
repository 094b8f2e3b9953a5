#pragma once

#include "admin/data/AdminStartup.h"

namespace korven::admin {

// The start-up's screen: the login dialog for the administrator and plain message boxes.
class DialogAdminStartupUi : public AdminStartupUi {
public:
    bool askLogin(const QString& database, QString& user, QString& password) override;
    void showMessage(const QString& text) override;
    void showError(const std::exception& error) override;
};

} // namespace korven::admin
