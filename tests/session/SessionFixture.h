#pragma once

#include "core/SetupIni.h"
#include "db/Services.h"
#include "schema/Schema.h"
#include "session/data/Session.h"
#include "support/TestSupport.h"

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

// A new database on the private server in a folder of its own, with operators (password "haslo")
// who have first and last names, user numbers from firstUid on, and every right on the given tables.
struct ServerDatabase {
    ServerDatabase(const QString& folder, const QStringList& operators, int firstUid,
                   const QStringList& tables) {
        PrivateServer& s = PrivateServer::instance();
        QDir(s.dataDir()).mkpath(folder);
        QFile::remove(s.dataDir() + QLatin1Char('/') + folder + QStringLiteral("/korven.adb"));
        sciezka = s.server() + QLatin1Char(':') + s.dataDir() + QLatin1Char('/') + folder;
        admin = schema::createDatabase(s.sysdba(db::databaseName(sciezka)), 9, 3);
        db::ServiceManager svc(db::ServiceParams{s.server(), QStringLiteral("SYSDBA"), s.sysdbaPassword()});
        int uid = firstUid;
        for (const QString& name : operators) {
            try {
                svc.deleteUser(name);
            } catch (const db::DbError&) {
            }
            db::UserInfo u;
            u.userName = name;
            u.password = QStringLiteral("haslo");
            u.firstName = QStringLiteral("Imię%1").arg(uid);
            u.lastName = QStringLiteral("Nazwisko");
            u.userId = uid++;
            svc.addUser(u);
            for (const QString& table : tables)
                admin->executeImmediate(QStringLiteral("GRANT ALL ON %1 TO %2").arg(table, u.userName));
        }
    }
    // The system record as it is now.
    db::Row baza() {
        db::Transaction t(*admin);
        return *db::inTransaction(t, [](db::Transaction& tr) {
            return tr.selectOne(QStringLiteral("select * from FJ_BAZA where LP = 1"));
        });
    }
    QString sciezka;
    std::unique_ptr<db::Attachment> admin;
};

} // namespace korven::test
