// The calendar and the settings against the private server while another copy of the program is
// logged in.

#include "technical/rules/MonthOpening.h"
#include "technical/ui/Kalendar.h"
#include "technical/ui/TechBaz.h"

#include "db/Services.h"
#include "schema/Schema.h"
#include "session/SessionFixture.h"
#include "support/GuiSupport.h"
#include "support/TestSupport.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::technical;
using namespace korven::test;

namespace {

// A database on the private server with two operators at access level 0.
struct ServerDatabase {
    ServerDatabase() {
        PrivateServer& s = PrivateServer::instance();
        QDir(s.dataDir()).mkpath(QStringLiteral("tech"));
        QFile::remove(s.dataDir() + QStringLiteral("/tech/korven.adb"));
        sciezka = s.server() + QLatin1Char(':') + s.dataDir() + QStringLiteral("/tech");
        admin = schema::createDatabase(s.sysdba(db::databaseName(sciezka)), 9, 3);
        db::ServiceManager svc(db::ServiceParams{s.server(), QStringLiteral("SYSDBA"), s.sysdbaPassword()});
        int uid = 300;
        for (const char* name : {"OPTECHA", "OPTECHB"}) {
            try {
                svc.deleteUser(QString::fromLatin1(name));
            } catch (const db::DbError&) {
            }
            db::UserInfo u;
            u.userName = QString::fromLatin1(name);
            u.password = QStringLiteral("haslo");
            u.firstName = QStringLiteral("Operator");
            u.lastName = QString::fromLatin1(name);
            u.userId = uid++;
            svc.addUser(u);
            for (const char* table : {"FJ_BAZA", "FJ_FLOP", "A_AUTO", "A_KARTA", "A_SPRZET"})
                admin->executeImmediate(
                    QStringLiteral("GRANT ALL ON %1 TO %2").arg(QString::fromLatin1(table), u.userName));
        }
    }
    std::unique_ptr<session::Session> login(const char* user) {
        dirs.push_back(std::make_unique<QTemporaryDir>());
        ScriptedStartup ui(QString::fromLatin1(user), QStringLiteral("haslo"));
        auto s = session::startSession(writeSetupIni(*dirs.back(), sciezka), ui);
        EXPECT_TRUE(s) << ui.messages.join(' ').toStdString();
        return s;
    }
    db::Row baza() {
        db::Transaction t(*admin);
        return *db::inTransaction(t, [](db::Transaction& tr) {
            return tr.selectOne(QStringLiteral("select * from FJ_BAZA where LP = 1"));
        });
    }
    QString sciezka;
    std::unique_ptr<db::Attachment> admin;
    std::vector<std::unique_ptr<QTemporaryDir>> dirs;
};

} // namespace

TEST(TechnicalServer, CalendarAndSettingsRefuseWhileAnotherCopyIsLoggedIn) {
    ServerDatabase sdb;
    auto first = sdb.login("OPTECHA");
    auto second = sdb.login("OPTECHB");
    ASSERT_TRUE(first && second);
    ASSERT_EQ(sdb.baza().integer("ILE"), 2);
    RecordingServices services;

    Kalendar calendar(*first);
    calendar.show();
    calendar.list()->setCurrentRow(1);
    calendar.confirm();
    EXPECT_EQ(services.messages, QStringList{messages::othersConnected()});
    EXPECT_TRUE(calendar.isVisible()); // the calendar stays open
    EXPECT_EQ(sdb.baza().integer("MIE"), 3);
    calendar.reject();

    services.messages.clear();
    QTemporaryDir iniDir;
    TechBaz settings(*first, writeSetupIni(iniDir, sdb.sciezka));
    settings.show();
    settings.field(QStringLiteral("NAZWASKR"))->setText(QStringLiteral("Zmieniona"));
    settings.findChild<QPushButton*>(QStringLiteral("ok"))->click();
    EXPECT_EQ(services.messages, QStringList{messages::othersConnected()});
    EXPECT_FALSE(settings.isVisible());
    EXPECT_EQ(sdb.baza().text("NAZWASKR").trimmed(), QStringLiteral("KORVEN"));

    // Once the other copy has left, the same month goes through.
    second->countOut();
    second.reset();
    services.messages.clear();
    Kalendar again(*first);
    again.list()->setCurrentRow(1);
    again.confirm();
    EXPECT_TRUE(services.messages.isEmpty()) << services.messages.join('|').toStdString();
    EXPECT_EQ(sdb.baza().integer("MIE"), 2);
    first->countOut();
}
