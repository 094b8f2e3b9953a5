#include "AdminFixture.h"
#include "schema/Shape.h"
#include "schema/Upgrades.h"
#include "support/OldShapes.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korven;

namespace {

struct CliRun {
    int code;
    QString out;
    QString err;
};

CliRun cli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(KORVEN_CLI), args);
    p.waitForFinished(180000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

int vehicles(const QString& sciezka) {
    db::ConnectParams p;
    p.database = db::databaseName(sciezka);
    p.user = QStringLiteral("SYSDBA");
    auto att = db::Attachment::attach(p);
    db::Transaction t(*att);
    return static_cast<int>(db::inTransaction(t, [](db::Transaction& tr) {
        return tr.scalar(QStringLiteral("select count(*) from A_AUTO")).toInt();
    }));
}

void deleteVehicles(const QString& sciezka) {
    db::ConnectParams p;
    p.database = db::databaseName(sciezka);
    p.user = QStringLiteral("SYSDBA");
    db::Attachment::attach(p)->executeImmediate(QStringLiteral("delete from A_AUTO"));
}

} // namespace

TEST(AdminCli, NightlyBackupRestoreAndValidation) {
    test::TestDatabase tdb;
    schema::fillDemoData(*tdb.attachment);
    tdb.attachment.reset();
    const int count = vehicles(tdb.sciezka);
    ASSERT_GT(count, 0);
    QTemporaryDir out;
    const QString file = out.filePath(QStringLiteral("noc.abk"));

    CliRun b = cli({QStringLiteral("backup"), tdb.sciezka, file});
    ASSERT_EQ(b.code, 0) << b.err.toStdString();
    EXPECT_TRUE(QFileInfo(file).size() > 0);
    EXPECT_TRUE(b.out.contains(QStringLiteral("Kopiowanie Bazy zakończono pomyślnie")));

    deleteVehicles(tdb.sciezka);
    CliRun r = cli({QStringLiteral("restore"), file, tdb.sciezka});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(vehicles(tdb.sciezka), count);

    CliRun v = cli({QStringLiteral("validate"), tdb.sciezka});
    EXPECT_EQ(v.code, 0) << v.err.toStdString();
    EXPECT_TRUE(v.out.contains(QStringLiteral("Sprawdzenie Bazy nie wykazuje błędów")));
}

TEST(AdminCli, FailuresExitWithTheReason) {
    test::TestDatabase tdb;
    tdb.attachment.reset();
    QTemporaryDir out;

    // Wrong arguments.
    EXPECT_EQ(cli({QStringLiteral("backup"), tdb.sciezka}).code, 2);
    EXPECT_EQ(
        cli({QStringLiteral("restore"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("--x")})
            .code,
        2);

    // No database in the folder.
    CliRun none = cli({QStringLiteral("backup"), out.path(), out.filePath(QStringLiteral("k.abk"))});
    EXPECT_EQ(none.code, 1);
    EXPECT_FALSE(none.err.trimmed().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(out.filePath(QStringLiteral("k.abk"))));

    // A damaged backup: refused, and the database keeps its rows.
    QFile junk(out.filePath(QStringLiteral("zla.abk")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(50000, 'x'));
    junk.close();
    const int count = vehicles(tdb.sciezka);
    CliRun bad = cli({QStringLiteral("restore"), junk.fileName(), tdb.sciezka});
    EXPECT_EQ(bad.code, 1);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("Odtwarzanie Bazy nie powiodło się")))
        << bad.err.toStdString();
    EXPECT_EQ(vehicles(tdb.sciezka), count);

    // A server is never reached without a password given.
    CliRun nopw = cli({QStringLiteral("validate"), QStringLiteral("localhost:/srv/korven")});
    EXPECT_EQ(nopw.code, 1);
    EXPECT_TRUE(nopw.err.contains(QStringLiteral("--password")));
}

TEST(AdminCli, ServerBackupRefusedWhileSomeoneIsConnected) {
    test::ServerAdmin a(QStringLiteral("cli_refuse"), false);
    const QString password = test::PrivateServer::instance().sysdbaPassword();
    const QStringList credentials = {QStringLiteral("--user"), QStringLiteral("SYSDBA"),
                                     QStringLiteral("--password"), password};
    // The fixture's own connection is the one to leave.
    CliRun refused =
        cli(QStringList{QStringLiteral("backup"), a.sciezka, a.file(QStringLiteral("k.abk"))} + credentials);
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("w liczbie 1 muszą go opuścić")))
        << refused.err.toStdString();

    a.data->disconnect();
    CliRun ok =
        cli(QStringList{QStringLiteral("backup"), a.sciezka, a.file(QStringLiteral("k.abk"))} + credentials);
    EXPECT_EQ(ok.code, 0) << ok.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(a.file(QStringLiteral("k.abk"))));
    CliRun wrong =
        cli({QStringLiteral("validate"), a.sciezka, QStringLiteral("--password"), QStringLiteral("zle")});
    EXPECT_EQ(wrong.code, 1);
}

namespace {

QStringList shapeIn(const QString& folder) {
    db::ConnectParams p;
    p.database = db::databaseName(folder);
    p.user = QStringLiteral("SYSDBA");
    auto att = db::Attachment::attach(p);
    db::Transaction t(*att, db::TransactionOptions{true});
    return db::inTransaction(t, [](db::Transaction& tr) { return schema::describeSchema(tr); });
}

} // namespace

TEST(AdminCli, UpgradeTakesEveryOlderShapeToTheShapeOfInit) {
    QTemporaryDir fresh;
    ASSERT_EQ(cli({QStringLiteral("init"), fresh.path()}).code, 0);
    const QStringList wanted = shapeIn(fresh.path());
    const auto& steps = schema::upgradeSteps();
    for (int i = 0; i <= static_cast<int>(steps.size()); ++i) {
        SCOPED_TRACE(i);
        QTemporaryDir dir;
        {
            db::ConnectParams p;
            p.database = db::databaseName(dir.path());
            p.user = QStringLiteral("SYSDBA");
            test::createOldDatabase(p, i);
        }
        const CliRun run = cli({QStringLiteral("upgrade"), dir.path()});
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_EQ(shapeIn(dir.path()), wanted);
        // Every step is named, in version order: those that ran by their success text, the others as
        // found in place.
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), static_cast<int>(steps.size()) + 1) << run.out.toStdString();
        for (int k = 0; k < static_cast<int>(steps.size()); ++k) {
            const schema::UpgradeStep& s = steps.at(static_cast<std::size_t>(k));
            const QString expected = k >= i ? QString(s.doneText).replace(QLatin1Char('\n'), QLatin1Char(' '))
                                            : schema::alreadyAppliedText(s);
            EXPECT_EQ(lines.at(k), expected);
        }
    }
}

TEST(AdminCli, UpgradeOfAMissingDatabaseFailsWithTheReason) {
    QTemporaryDir dir;
    const CliRun run = cli({QStringLiteral("upgrade"), dir.path()});
    EXPECT_NE(run.code, 0);
    EXPECT_FALSE(run.err.trimmed().isEmpty());
    EXPECT_EQ(cli({QStringLiteral("upgrade")}).code, 2);
}
