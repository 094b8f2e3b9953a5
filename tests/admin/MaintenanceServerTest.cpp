#include "AdminFixture.h"

#include "session/SessionFixture.h"
#include "session/data/Session.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdio>

using namespace korven;
using namespace korven::admin;
using korven::test::PrivateServer;
using korven::test::ServerAdmin;

namespace {

const char* const kHoldVariable = "KORVEN_TEST_HOLD_SESSION";

void addOperator(MainD& d, const QString& name) {
    try {
        d.deleteUser(name);
    } catch (const db::DbError&) {
    }
    UserFields f;
    f.userName = name;
    f.password = QStringLiteral("haslo");
    d.saveUser(f, PrivilegeChoice{true, true, true, true, true, true}, true);
}

db::Value scalar(db::Attachment& att, const QString& sql) {
    db::Transaction t(att);
    return db::inTransaction(t, [&](db::Transaction& tr) { return tr.scalar(sql); });
}

std::unique_ptr<session::Session> logIn(const QString& sciezka, const QString& user) {
    QTemporaryDir dir;
    test::ScriptedStartup ui(user, QStringLiteral("haslo"));
    return session::startSession(test::writeSetupIni(dir, sciezka), ui);
}

// A copy of the main program in a process of its own: this test program started again to log an
// operator in and hold the session until it is killed.
struct MainProgramCopy {
    MainProgramCopy(const QString& sciezka, const QString& user) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kHoldVariable), sciezka + QLatin1Char('|') + user);
        process.setProcessEnvironment(env);
        process.start(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget(),
                      {QStringLiteral("--gtest_also_run_disabled_tests"),
                       QStringLiteral("--gtest_filter=MainProgramCopy.DISABLED_HoldsASession")});
        while (process.waitForReadyRead(30000))
            if (process.readAllStandardOutput().contains("SESSION HELD")) return;
        ADD_FAILURE() << "the copy did not log in: " << process.readAllStandardError().toStdString();
    }
    ~MainProgramCopy() {
        process.kill();
        process.waitForFinished();
    }
    QProcess process;
};

} // namespace

// Run only as the process of a MainProgramCopy.
TEST(MainProgramCopy, DISABLED_HoldsASession) {
    const QStringList what = qEnvironmentVariable(kHoldVariable).split(QLatin1Char('|'));
    ASSERT_EQ(what.size(), 2);
    auto s = logIn(what.at(0), what.at(1));
    ASSERT_TRUE(s);
    std::puts("SESSION HELD");
    std::fflush(stdout);
    QThread::sleep(120);
}

TEST(AdminMaintenance, ResetAfterAKilledMainProgramLetsOperatorsInAgain) {
    ServerAdmin a(QStringLiteral("adm_reset"));
    addOperator(*a.data, QStringLiteral("KRESET"));
    {
        MainProgramCopy copy(a.sciezka, QStringLiteral("KRESET"));
        EXPECT_TRUE(a.data->attachedUsers().contains(QStringLiteral("KRESET")));
        copy.process.kill(); // SIGKILL: the copy cannot count itself out
        copy.process.waitForFinished();
    }
    auto att = a.attach();
    EXPECT_EQ(scalar(*att, "select ILE from FJ_BAZA where LP = 1").toInt(), 1);
    EXPECT_EQ(scalar(*att, "select count(*) from FJ_FLOP").toInt(), 1);
    // The crash left technical functions open and two more operators counted, as the record says.
    {
        db::Transaction t(*att);
        db::inTransaction(t, [](db::Transaction& tr) {
            tr.execute("update FJ_BAZA set ILE = 3, FTECH = 'T', BILA = 'T' where LP = 1");
        });
    }
    EXPECT_TRUE(logIn(a.sciezka, QStringLiteral("KRESET")) == nullptr);

    EXPECT_EQ(a.data->resetConnections(), 0);
    EXPECT_EQ(scalar(*att, "select ILE from FJ_BAZA where LP = 1").toInt(), 0);
    EXPECT_EQ(scalar(*att, "select FTECH from FJ_BAZA where LP = 1").toText(), "N");
    EXPECT_EQ(scalar(*att, "select BILA from FJ_BAZA where LP = 1").toText(), "N");
    EXPECT_EQ(scalar(*att, "select count(*) from FJ_FLOP").toInt(), 0);
    // The server has dropped the killed copy's attachment.
    for (int i = 0; i < 50 && a.data->attachedUsers().contains(QStringLiteral("KRESET")); ++i)
        QThread::msleep(100);
    EXPECT_FALSE(a.data->attachedUsers().contains(QStringLiteral("KRESET")));
    EXPECT_TRUE(a.data->attachedUsers().contains(QStringLiteral("SYSDBA")));

    auto again = logIn(a.sciezka, QStringLiteral("KRESET"));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->operatorSession().sessionNumber, 1);
    EXPECT_EQ(scalar(*att, "select ILE from FJ_BAZA where LP = 1").toInt(), 1);
}

TEST(AdminMaintenance, DeletionEmptiesTheChosenRegistriesAndStopsAtAnError) {
    ServerAdmin a(QStringLiteral("adm_delete"));
    auto att = a.attach();
    const qint64 vehicles = scalar(*att, "select count(*) from A_AUTO").toInt();
    ASSERT_GT(vehicles, 0);
    ASSERT_GT(scalar(*att, "select count(*) from A_KARTA").toInt(), 0);
    std::vector<int> done;
    a.data->deleteData({1}, [&](int i) { done.push_back(i); });
    EXPECT_EQ(done, std::vector<int>{1});
    EXPECT_EQ(scalar(*att, "select count(*) from A_KARTA").toInt(), 0);
    EXPECT_EQ(scalar(*att, "select count(*) from A_AUTO").toInt(), vehicles);

    // A table that cannot be emptied (an older database without the services) stops the run: what ran
    // before it stays done, nothing after it runs.
    att->executeImmediate("DROP TABLE A_OBSLU");
    const qint64 equipment = scalar(*att, "select count(*) from A_SPRZET").toInt();
    ASSERT_GT(equipment, 0);
    done.clear();
    EXPECT_THROW(a.data->deleteData({0, 2, 3}, [&](int i) { done.push_back(i); }), db::DbError);
    EXPECT_EQ(done, std::vector<int>{0});
    EXPECT_EQ(scalar(*att, "select count(*) from A_AUTO").toInt(), 0);
    EXPECT_EQ(scalar(*att, "select count(*) from A_SPRZET").toInt(), equipment);

    a.data->deleteData({3, 4, 5, 6, 7, 8}, {});
    for (const char* table : {"A_SPRZET", "A_KARTAS", "A_RODZP", "A_GRUPP", "A_KOMEN", "A_OBSK"})
        EXPECT_EQ(scalar(*att, QStringLiteral("select count(*) from %1").arg(QLatin1String(table))).toInt(),
                  0)
            << table;
}

TEST(AdminMaintenance, ShadowIsCreatedKeptUpToDateAndDropped) {
    ServerAdmin a(QStringLiteral("adm_shadow"), false);
    // A quote in the folder's name stays part of the name.
    const QString folder = a.file(QStringLiteral("cień o'brien"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString shadow = QDir(folder).filePath(QStringLiteral("korven.shd"));

    try {
        a.data->createShadow(QStringLiteral("   "));
        ADD_FAILURE() << "an empty folder was taken";
    } catch (const Refusal& r) {
        EXPECT_TRUE(
            QString::fromUtf8(r.what()).contains(QStringLiteral("Nie podano położenia pliku cienia")));
    }
    a.data->createShadow(QStringLiteral("  ") + folder + QStringLiteral("  "));
    ASSERT_TRUE(QFileInfo::exists(shadow));
    auto att = a.attach();
    EXPECT_EQ(scalar(*att, "select count(*) from RDB$FILES where RDB$SHADOW_NUMBER = 1").toInt(), 1);

    // Written rows reach the shadow as well: it grows with the database.
    const qint64 before = QFileInfo(shadow).size();
    {
        db::Transaction t(*att);
        db::inTransaction(t, [](db::Transaction& tr) {
            for (int i = 0; i < 3000; ++i)
                tr.execute(
                    "INSERT INTO A_KOMEN (KOD, NAZWA, NRJED) VALUES (:K, :N, 'JRG')",
                    {{"K", 1000 + i}, {"N", QStringLiteral("Jednostka numer %1 z długą nazwą").arg(i)}});
        });
    }
    att->detach();
    a.data->disconnect();
    EXPECT_GT(QFileInfo(shadow).size(), before);

    // A second shadow 1 is refused by the server.
    EXPECT_THROW(a.data->createShadow(folder), db::DbError);

    a.data->deleteData({9}, {});
    EXPECT_FALSE(QFileInfo::exists(shadow));
    att = a.attach();
    EXPECT_EQ(scalar(*att, "select count(*) from RDB$FILES where RDB$SHADOW_NUMBER = 1").toInt(), 0);
}

TEST(AdminMaintenance, OptionsPropertiesStatisticsAndLogThroughTheServices) {
    ServerAdmin a(QStringLiteral("adm_options"));
    // The options are read back from the database opened afresh, with no attachment left over.
    a.data->disconnect();
    auto mon = [&](const char* column) {
        auto att = a.attach();
        return scalar(*att, QStringLiteral("select %1 from MON$DATABASE").arg(QLatin1String(column))).toInt();
    };
    a.data->setOption(DatabaseOption::PageBuffers, 100);
    EXPECT_EQ(mon("MON$PAGE_BUFFERS"), 100);
    a.data->setOption(DatabaseOption::SweepInterval, 1000);
    EXPECT_EQ(mon("MON$SWEEP_INTERVAL"), 1000);
    a.data->setOption(DatabaseOption::BufferedWrites);
    EXPECT_EQ(mon("MON$FORCED_WRITES"), 0);
    a.data->setOption(DatabaseOption::ForcedWrites);
    EXPECT_EQ(mon("MON$FORCED_WRITES"), 1);
    a.data->setOption(DatabaseOption::UseFullPages);
    EXPECT_EQ(mon("MON$RESERVE_SPACE"), 0);
    a.data->setOption(DatabaseOption::ReserveSpace);
    EXPECT_EQ(mon("MON$RESERVE_SPACE"), 1);
    a.data->setOption(DatabaseOption::ReadOnly);
    EXPECT_EQ(mon("MON$READ_ONLY"), 1);
    a.data->setOption(DatabaseOption::ReadWrite);
    EXPECT_EQ(mon("MON$READ_ONLY"), 0);
    a.data->setOption(DatabaseOption::Dialect3);
    EXPECT_EQ(mon("MON$SQL_DIALECT"), 3);

    // A shut-down database takes no attachment until it is started again; the program's own
    // connection opens again afterwards.
    a.data->connect();
    a.data->setOption(DatabaseOption::Shutdown);
    EXPECT_FALSE(a.data->isConnected());
    EXPECT_THROW(a.attach(), db::DbError);
    a.data->setOption(DatabaseOption::Start);
    EXPECT_EQ(a.data->readState().year, 9);

    QStringList lines;
    a.data->properties([&](const QString& l) { lines << l; });
    EXPECT_FALSE(a.data->isConnected());
    ASSERT_GE(lines.size(), 14);
    EXPECT_EQ(lines.at(0), "Number of attachments: 1");
    EXPECT_TRUE(lines.at(1).startsWith("Number of databases: "));
    EXPECT_EQ(lines.at(2), QString(50, QLatin1Char('-')));
    EXPECT_EQ(lines.at(3), "Database Files");
    EXPECT_TRUE(lines.contains(a.file("korven.adb")));
    EXPECT_TRUE(lines.filter(QRegularExpression("^Security Database: .+security")).size() == 1)
        << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.filter(QRegularExpression("^Server Version: .*Firebird")).size() == 1);
    EXPECT_TRUE(lines.last().startsWith("Service Version: "));

    QStringList stats;
    a.data->statistics([&](const QString& l) { stats << l; });
    EXPECT_FALSE(stats.filter("A_AUTO").isEmpty());
    EXPECT_NO_THROW(a.data->serverLog([](const QString&) {}));
}
