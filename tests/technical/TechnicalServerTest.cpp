// The calendar and the settings against the private server while another copy of the program is
// logged in.

#include "technical/rules/MonthOpening.h"
#include "technical/ui/Kalendar.h"
#include "technical/ui/TechBaz.h"

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
struct TechServer : korven::test::ServerDatabase {
    TechServer()
        : korven::test::ServerDatabase(QStringLiteral("tech"), {"OPTECHA", "OPTECHB"}, 300,
                                       {"FJ_BAZA", "FJ_FLOP", "A_AUTO", "A_KARTA", "A_SPRZET"}) {}
    std::unique_ptr<session::Session> login(const char* user) {
        dirs.push_back(std::make_unique<QTemporaryDir>());
        ScriptedStartup ui(QString::fromLatin1(user), QStringLiteral("haslo"));
        auto s = session::startSession(writeSetupIni(*dirs.back(), sciezka), ui);
        EXPECT_TRUE(s) << ui.messages.join(' ').toStdString();
        return s;
    }
    std::vector<std::unique_ptr<QTemporaryDir>> dirs;
};

} // namespace

TEST(TechnicalServer, CalendarAndSettingsRefuseWhileAnotherCopyIsLoggedIn) {
    TechServer sdb;
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
