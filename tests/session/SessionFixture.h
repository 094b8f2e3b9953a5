#pragma once

#include "core/SetupIni.h"
#include "session/data/Session.h"

#include <QDir>
#include <QTemporaryDir>

namespace korven::test {

// Answers the login dialog with fixed credentials and records the messages shown.
class ScriptedStartup : public session::StartupUi {
public:
    ScriptedStartup(QString user, QString password, bool cancel = false)
        : user_(std::move(user)), password_(std::move(password)), cancel_(cancel) {}
    bool askLogin(const QString& database, QString& user, QString& password) override {
        shownDatabase = database;
        offeredUser = user;
        if (cancel_) return false;
        user = user_;
        password = password_;
        return true;
    }
    void showMessage(const QString& text) override { messages << text; }

    QString shownDatabase;
    QString offeredUser;
    QStringList messages;

private:
    QString user_, password_;
    bool cancel_;
};

// A setup.ini in a folder of its own naming the given database folder.
inline QString writeSetupIni(const QTemporaryDir& dir, const QString& sciezka,
                             const QString& user = QStringLiteral("SYSDBA")) {
    const QString path = dir.filePath(QStringLiteral("setup.ini"));
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(QStringLiteral("[Ogolne]\nsciezka=%1\nuser=%2\n").arg(sciezka, user).toUtf8());
    return path;
}

} // namespace korven::test
