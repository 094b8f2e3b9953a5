#include "SessionFixture.h"
#include "db/Services.h"
#include "schema/Schema.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <future>

using namespace korven;
using namespace korven::session;
using korven::test::PrivateServer;
using korven::test::ScriptedStartup;
using korven::test::writeSetupIni;

namespace {

// A database on the private server with three operators who have names, numbers and table rights;
// OPEWA has access level 99.
struct ServerDatabase : korven::test::ServerDatabase {
    ServerDatabase()
        : korven::test::ServerDatabase(QStringLiteral("sess"), {"OPJAN", "OPEWA", "OPADAM"}, 100,
                                       {"FJ_BAZA", "FJ_FLOP", "A_AUTO", "A_KARTA"}) {
        db::Transaction t(*admin);
        db::inTransaction(t, [](db::Transaction& tr) {
            tr.execute(QStringLiteral("insert into FJ_DOSTEP (NAZWA, POZIOM) values ('OPEWA', 99)"));
        });
    }
    int ile() {
        db::Transaction t(*admin);
        return static_cast<int>(db::inTransaction(t, [](db::Transaction& tr) {
            return tr.scalar(QStringLiteral("select ILE from FJ_BAZA where LP = 1")).toInt();
        }));
    }
    int operators() {
        db::Transaction t(*admin);
        return static_cast<int>(db::inTransaction(t, [](db::Transaction& tr) {
            return tr.scalar(QStringLiteral("select count(*) from FJ_FLOP")).toInt();
        }));
    }
};

} // namespace

TEST(ServerSession, TwoOperatorsAtOnceThenBothLeave) {
    ServerDatabase sdb;
    for (int round = 0; round < 5; ++round) {
        QTemporaryDir d1, d2;
        ScriptedStartup ui1(QStringLiteral("OPJAN"), QStringLiteral("haslo"));
        ScriptedStartup ui2(QStringLiteral("OPEWA"), QStringLiteral("haslo"));
        const QString ini1 = writeSetupIni(d1, sdb.sciezka), ini2 = writeSetupIni(d2, sdb.sciezka);
        // Both log in at the same moment.
        auto f1 = std::async(std::launch::async, [&] { return startSession(ini1, ui1); });
        auto f2 = std::async(std::launch::async, [&] { return startSession(ini2, ui2); });
        auto s1 = f1.get();
        auto s2 = f2.get();
        ASSERT_TRUE(s1 && s2) << ui1.messages.join(' ').toStdString() << ui2.messages.join(' ').toStdString();
        EXPECT_EQ(sdb.ile(), 2);
        EXPECT_EQ(sdb.operators(), 2);
        EXPECT_NE(s1->operatorSession().sessionNumber, s2->operatorSession().sessionNumber);
        EXPECT_GT(s1->operatorSession().sessionNumber, 0);
        EXPECT_EQ(s1->operatorSession().fullName, QStringLiteral("Imię100 Nazwisko"));
        EXPECT_EQ(s1->operatorSession().accessLevel, 0);
        EXPECT_EQ(s2->operatorSession().accessLevel, 99);
        QStringList list = s1->activeOperators();
        ASSERT_EQ(list.size(), 2);
        EXPECT_TRUE(list.join(' ').contains(QStringLiteral("Imię101 Nazwisko")));

        auto e1 = std::async(std::launch::async, [&] {
            s1->countOut();
            s1.reset();
        });
        auto e2 = std::async(std::launch::async, [&] {
            s2->countOut();
            s2.reset();
        });
        e1.get();
        e2.get();
        EXPECT_EQ(sdb.ile(), 0);
        EXPECT_EQ(sdb.operators(), 0);
    }
}

TEST(ServerSession, LoginDuringBackupIsRefused) {
    ServerDatabase sdb;
    QTemporaryDir d1, d2, d3;
    ScriptedStartup ui1(QStringLiteral("OPJAN"), QStringLiteral("haslo"));
    ScriptedStartup ui2(QStringLiteral("OPEWA"), QStringLiteral("haslo"));
    auto s1 = startSession(writeSetupIni(d1, sdb.sciezka), ui1);
    auto s2 = startSession(writeSetupIni(d2, sdb.sciezka), ui2);
    ASSERT_TRUE(s1 && s2);
    db::Transaction t(*sdb.admin);
    db::inTransaction(t, [](db::Transaction& tr) {
        tr.execute(QStringLiteral("update FJ_BAZA set BILA = 'T' where LP = 1"));
    });

    ScriptedStartup ui3(QStringLiteral("OPADAM"), QStringLiteral("haslo"));
    EXPECT_FALSE(startSession(writeSetupIni(d3, sdb.sciezka), ui3));
    ASSERT_EQ(ui3.messages.size(), 1);
    EXPECT_EQ(ui3.messages.first(), messages::backupRunning());
    EXPECT_EQ(ui3.messages.first().split(QStringLiteral("\n\n")).size(), 3);
    EXPECT_EQ(sdb.ile(), 2);
    EXPECT_EQ(sdb.operators(), 2);
}

TEST(ServerSession, WrongPasswordIsRefused) {
    ServerDatabase sdb;
    QTemporaryDir d;
    ScriptedStartup ui(QStringLiteral("OPJAN"), QStringLiteral("zle"));
    EXPECT_FALSE(startSession(writeSetupIni(d, sdb.sciezka), ui));
    EXPECT_EQ(ui.messages, QStringList{messages::wrongPassword()});
    EXPECT_EQ(sdb.ile(), 0);
}
