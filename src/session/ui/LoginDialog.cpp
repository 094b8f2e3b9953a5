#include "session/ui/LoginDialog.h"

#include "ui/UiServices.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace korven::session {

LoginDialog::LoginDialog(const QString& database, const QString& user, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("LoginDialog"));
    setWindowTitle(QStringLiteral("Database Login"));
    auto* form = new QFormLayout(this);
    auto* name = new QLabel(database, this);
    name->setObjectName(QStringLiteral("database"));
    name->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QStringLiteral("Database:"), name);
    user_ = new QLineEdit(user, this);
    user_->setObjectName(QStringLiteral("user"));
    user_->setMaxLength(31);
    password_ = new QLineEdit(this);
    password_->setObjectName(QStringLiteral("password"));
    password_->setMaxLength(31);
    password_->setEchoMode(QLineEdit::Password);
    auto* userLabel = new QLabel(QStringLiteral("&User Name:"), this);
    userLabel->setBuddy(user_);
    auto* passwordLabel = new QLabel(QStringLiteral("&Password:"), this);
    passwordLabel->setBuddy(password_);
    form->addRow(userLabel, user_);
    form->addRow(passwordLabel, password_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    setMinimumWidth(420);
    // The user name is usually the one offered; the password is what is typed.
    if (user.isEmpty())
        user_->setFocus();
    else
        password_->setFocus();
}

QString LoginDialog::user() const {
    return user_->text();
}
QString LoginDialog::password() const {
    return password_->text();
}

bool DialogStartupUi::askLogin(const QString& database, QString& user, QString& password) {
    LoginDialog dialog(database, user);
    if (dialog.exec() != QDialog::Accepted) return false;
    user = dialog.user();
    password = dialog.password();
    return true;
}

void DialogStartupUi::showMessage(const QString& text) {
    ui::services().message(nullptr, text, QStringLiteral("KORVEN"));
}

} // namespace korven::session
