// korven-cli month-open and add-card, run as other programs run them.

#include "CliRun.h"
#include "db/Database.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korven;

namespace {

struct CliResult {
    int code;
    QJsonObject json;
    QString err;
};

// korven-cli with its answer on standard output read as JSON.
CliResult cli(const QStringList& args) {
    const test::CliRun r = test::cli(args);
    return {r.code, QJsonDocument::fromJson(r.out.toUtf8()).object(), r.err};
}

// A new database in a folder of its own with `vehicles` vehicles; every tenth one is locked.
struct CliDatabase {
    explicit CliDatabase(int vehicles) {
        EXPECT_EQ(cli({QStringLiteral("init"), dir.path()}).code, 0);
        auto att = attach();
        db::Transaction t(*att);
        db::inTransaction(t, [&](db::Transaction& tr) {
            db::Statement insert(*att,
                                 QStringLiteral("insert into A_AUTO (KODA, NRREJ, RODZPAL, BLOKADA, NORMPAL) "
                                                "values (:KODA, :NRREJ, 'ON', :BLOKADA, 30)"));
            for (int koda = 1; koda <= vehicles; ++koda)
                insert.execute(tr, {{"KODA", koda},
                                    {"NRREJ", QStringLiteral("KN %1").arg(koda)},
                                    {"BLOKADA", koda % 10 == 0 ? "T" : "N"}});
        });
    }
    std::unique_ptr<db::Attachment> attach() const {
        db::ConnectParams p;
        p.database = db::databaseName(dir.path());
        p.user = QStringLiteral("SYSDBA");
        return db::Attachment::attach(p);
    }
    std::int64_t scalar(const QString& sql) const {
        auto att = attach();
        db::Transaction t(*att);
        return db::inTransaction(t, [&](db::Transaction& tr) { return tr.scalar(sql).toInt(); });
    }
    QTemporaryDir dir;
};

} // namespace

TEST(MonthCommands, AddCardPrintsTheKeyAndRefusesWhatTheRegisterRefuses) {
    CliDatabase d(10);
    const CliResult added =
        cli({QStringLiteral("add-card"), d.dir.path(), QStringLiteral("--trip"), QStringLiteral("3")});
    ASSERT_EQ(added.code, 0) << added.err.toStdString();
    EXPECT_EQ(added.json.value("KODA").toInt(), 3);
    EXPECT_EQ(added.json.value("KODD").toInt(), 1);
    EXPECT_EQ(added.json.value("ROKD").toInt(), d.scalar(QStringLiteral("select ROK from FJ_BAZA")));
    EXPECT_EQ(added.json.value("MIED").toInt(), d.scalar(QStringLiteral("select MIE from FJ_BAZA")));
    // A second card of the month is a deliberate act in the register.
    EXPECT_EQ(cli({QStringLiteral("add-card"), d.dir.path(), QStringLiteral("--trip"), QStringLiteral("3")})
                  .json.value("KODD")
                  .toInt(),
              2);

    const CliResult blocked =
        cli({QStringLiteral("add-card"), d.dir.path(), QStringLiteral("--trip"), QStringLiteral("10")});
    EXPECT_EQ(blocked.code, 1);
    EXPECT_TRUE(blocked.err.contains(QStringLiteral("zablokowane"))) << blocked.err.toStdString();
    const CliResult missing =
        cli({QStringLiteral("add-card"), d.dir.path(), QStringLiteral("--trip"), QStringLiteral("99")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_FALSE(missing.err.isEmpty());
    EXPECT_EQ(cli({QStringLiteral("add-card"), d.dir.path(), QStringLiteral("--trip")}).code, 2);
    EXPECT_EQ(
        cli({QStringLiteral("add-card"), d.dir.path(), QStringLiteral("--trip"), QStringLiteral("x")}).code,
        2);
    EXPECT_EQ(d.scalar(QStringLiteral("select count(*) from A_KARTA")), 2);
}

TEST(MonthCommands, WorkCardsOfTheMonthFromTheCommandLine) {
    CliDatabase d(0);
    {
        auto att = d.attach();
        db::Transaction t(*att);
        db::inTransaction(t, [](db::Transaction& tr) {
            tr.execute(QStringLiteral(
                "insert into A_SPRZET (KODS, NRREJ, RODZSILN, BLOKADA) values (1, 'S1', '2', 'N')"));
            tr.execute(QStringLiteral(
                "insert into A_SPRZET (KODS, NRREJ, RODZSILN, BLOKADA) values (2, 'S2', '4', 'T')"));
            tr.execute(QStringLiteral(
                "insert into A_SPRZET (KODS, NRREJ, RODZSILN, BLOKADA) values (3, 'S3', '4', 'N')"));
        });
    }
    const CliResult added =
        cli({QStringLiteral("add-card"), d.dir.path(), QStringLiteral("--equipment"), QStringLiteral("3"),
             QStringLiteral("--operator"), QStringLiteral("Ewa Lis")});
    ASSERT_EQ(added.code, 0) << added.err.toStdString();
    EXPECT_EQ(added.json.value("KODS").toInt(), 3);
    EXPECT_EQ(added.json.value("KODK").toInt(), 1);
    EXPECT_EQ(
        cli({QStringLiteral("add-card"), d.dir.path(), QStringLiteral("--equipment"), QStringLiteral("2")})
            .code,
        1);
    const CliResult month = cli({QStringLiteral("month-open"), d.dir.path(), QStringLiteral("--equipment"),
                                 QStringLiteral("--operator"), QStringLiteral("Jan Nowak")});
    ASSERT_EQ(month.code, 0) << month.err.toStdString();
    EXPECT_EQ(month.json.value("created").toInt(), 1);
    EXPECT_EQ(month.json.value("skipped_blocked").toInt(), 1);
    EXPECT_EQ(month.json.value("skipped_having_card").toInt(), 1);
    EXPECT_EQ(
        d.scalar(QStringLiteral("select count(*) from A_KARTAS where KODS = 1 and IMIENAZ = 'Jan Nowak'")),
        1);
    EXPECT_EQ(
        d.scalar(QStringLiteral("select count(*) from A_KARTAS where KODS = 3 and IMIENAZ = 'Ewa Lis'")), 1);
}

TEST(MonthCommands, MonthOpenPrintsTheCountsAndASecondRunAddsNothing) {
    CliDatabase d(20);
    ASSERT_EQ(
        cli({QStringLiteral("add-card"), d.dir.path(), QStringLiteral("--trip"), QStringLiteral("1")}).code,
        0);
    const CliResult first = cli({QStringLiteral("month-open"), d.dir.path(), QStringLiteral("--trip")});
    ASSERT_EQ(first.code, 0) << first.err.toStdString();
    EXPECT_EQ(first.json.value("created").toInt(), 17);
    EXPECT_EQ(first.json.value("skipped_blocked").toInt(), 2);
    EXPECT_EQ(first.json.value("skipped_having_card").toInt(), 1);
    const CliResult second = cli({QStringLiteral("month-open"), d.dir.path(), QStringLiteral("--trip")});
    EXPECT_EQ(second.json.value("created").toInt(), 0);
    EXPECT_EQ(second.json.value("skipped_having_card").toInt(), 18);
    EXPECT_EQ(d.scalar(QStringLiteral("select count(*) from A_KARTA")), 18);
    EXPECT_EQ(cli({QStringLiteral("month-open"), d.dir.path()}).code, 2);
}

TEST(MonthCommands, MonthOpenExitsWithTheDatabasesMessage) {
    CliDatabase d(3);
    {
        auto att = d.attach();
        att->executeImmediate(QStringLiteral("CREATE EXCEPTION NO_CARD 'Karta odrzucona przez baze'"));
        att->executeImmediate(QStringLiteral(
            "CREATE TRIGGER A_KARTA_TEST FOR A_KARTA BEFORE INSERT AS BEGIN IF (NEW.KODA = 2) THEN EXCEPTION "
            "NO_CARD; END"));
    }
    const CliResult r = cli({QStringLiteral("month-open"), d.dir.path(), QStringLiteral("--trip")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Karta odrzucona przez baze"))) << r.err.toStdString();
    // The opening is all or nothing: a refused card leaves the month without any of its cards.
    EXPECT_EQ(r.json.value("created").toInt(), 0);
    EXPECT_EQ(d.scalar(QStringLiteral("select count(*) from A_KARTA")), 0);
}

TEST(MonthCommands, ARunKilledHalfWayIsCompletedByTheNext) {
    const int vehicles = 400;
    CliDatabase d(vehicles);
    QProcess run;
    run.start(QStringLiteral(KORVEN_CLI), {QStringLiteral("month-open"), d.dir.path(),
                                           QStringLiteral("--trip"), QStringLiteral("--progress")});
    ASSERT_TRUE(run.waitForStarted());
    // Killed without warning once some cards are in.
    int lines = 0;
    while (lines < 40 && run.waitForReadyRead(30000)) {
        run.setReadChannel(QProcess::StandardError);
        while (run.canReadLine()) {
            run.readLine();
            ++lines;
        }
    }
    run.kill();
    run.waitForFinished();
    ASSERT_GE(lines, 40);

    const CliResult rest = cli({QStringLiteral("month-open"), d.dir.path(), QStringLiteral("--trip")});
    ASSERT_EQ(rest.code, 0) << rest.err.toStdString();
    EXPECT_GT(rest.json.value("skipped_having_card").toInt(), 0);
    EXPECT_EQ(rest.json.value("created").toInt() + rest.json.value("skipped_having_card").toInt(), 360);
    EXPECT_EQ(d.scalar(QStringLiteral("select count(distinct KODA) from A_KARTA")), 360);
    EXPECT_EQ(d.scalar(QStringLiteral("select count(*) from A_KARTA")), 360);
}
