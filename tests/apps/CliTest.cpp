#include "CliRun.h"
#include "db/Database.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korven;

using korven::test::cli;
using korven::test::CliRun;

TEST(Cli, InitCreatesOnceAndNeverOverwrites) {
    QTemporaryDir dir;
    CliRun first = cli({QStringLiteral("init"), dir.path()});
    ASSERT_EQ(first.code, 0) << first.err.toStdString();
    const QString file = dir.filePath(QStringLiteral("korven.adb"));
    ASSERT_TRUE(QFileInfo::exists(file));
    qint64 size = QFileInfo(file).size();

    CliRun second = cli({QStringLiteral("init"), dir.path()});
    EXPECT_NE(second.code, 0);
    EXPECT_TRUE(second.err.contains(QStringLiteral("już istnieje"))) << second.err.toStdString();
    EXPECT_EQ(QFileInfo(file).size(), size);
}

TEST(Cli, BadArgumentsAndMissingFolders) {
    EXPECT_EQ(cli({}).code, 2);
    EXPECT_EQ(cli({QStringLiteral("no-such-command")}).code, 2);
    EXPECT_EQ(cli({QStringLiteral("init")}).code, 2);
    QTemporaryDir dir;
    CliRun r = cli({QStringLiteral("init"), dir.filePath(QStringLiteral("not/there"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("not/there/korven.adb"))));
}

TEST(Cli, DemoFillsRegistries) {
    QTemporaryDir dir;
    CliRun r = cli({QStringLiteral("demo"), dir.path()});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    db::ConnectParams p;
    p.database = db::databaseName(dir.path());
    p.user = QStringLiteral("SYSDBA");
    auto att = db::Attachment::attach(p);
    db::Transaction t(*att);
    t.start();
    EXPECT_GE(t.scalar(QStringLiteral("select count(*) from A_AUTO")).toInt(), 24);
    EXPECT_GE(t.scalar(QStringLiteral("select count(*) from A_SPRZET")).toInt(), 20);
    EXPECT_GE(t.scalar(QStringLiteral("select count(*) from A_KOMEN")).toInt(), 3);
    // A year of trip cards for the vehicles that are not blocked.
    EXPECT_GE(t.scalar(QStringLiteral("select count(*) from A_KARTA")).toInt(), 12 * 24);
    // Every vehicle's copied dictionary names match their codes.
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from A_AUTO a join A_RODZP r on r.KOD = a.KOD_RP "
                                      "where r.NAZWA <> a.RODZPOJ"))
                  .toInt(),
              0);
    t.commit();
}
