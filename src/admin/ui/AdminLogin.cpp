#include "admin/ui/AdminLogin.h"

#include "session/ui/LoginDialog.h"
#include "ui/UiServices.h"
#include "ui/Windows.h"

namespace korven::admin {

bool DialogAdminStartupUi::askLogin(const QString& database, QString& user, QString& password) {
    session::LoginDialog dialog(database, user);
    dialog.setWindowTitle(QStringLiteral("Administrator bazy danych"));
    if (dialog.exec() != QDialog::Accepted) return false;
    user = dialog.user().trimmed();
    password = dialog.password();
    return true;
}

void DialogAdminStartupUi::showMessage(const QString& text) {
    ui::services().message(nullptr, text, QString(), ui::MessageIcon::Warning);
}

void DialogAdminStartupUi::showError(const std::exception& error) {
    ui::showError(nullptr, error);
}

} // namespace korven::admin
