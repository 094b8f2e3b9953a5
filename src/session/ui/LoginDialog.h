#pragma once

#include "session/data/Session.h"

#include <QDialog>

class QLineEdit;

namespace korven::session {

// The login dialog of the database connection: "Database Login".
class LoginDialog : public QDialog {
    Q_OBJECT
public:
    LoginDialog(const QString& database, const QString& user, QWidget* parent = nullptr);
    QString user() const;
    QString password() const;

private:
    QLineEdit* user_;
    QLineEdit* password_;
};

// The start-up's screen: the login dialog and plain message boxes.
class DialogStartupUi : public StartupUi {
public:
    bool askLogin(const QString& database, QString& user, QString& password) override;
    void showMessage(const QString& text) override;
};

} // namespace korven::session
