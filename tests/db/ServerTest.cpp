#include "db/Database.h"
#include "db/Services.h"
#include "support/TestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace korven::db;
using korven::test::PrivateServer;

namespace {

std::unique_ptr<Attachment> createOnServer(const QString& file) {
    PrivateServer& s = PrivateServer::instance();
    QFile::remove(s.dataDir() + QLatin1Char('/') + file);
    auto att = Attachment::create(s.sysdba(s.databaseName(file)));
    att->executeImmediate(QStringLiteral("create table T (ID integer not null primary key, N varchar(30))"));
    Transaction t(*att);
    inTransaction(t, [](Transaction& tr) {
        for (int i = 1; i <= 50; ++i)
            tr.execute(QStringLiteral("insert into T values (:ID, :N)"),
                       {{"ID", i}, {"N", QStringLiteral("wiersz ąę %1").arg(i)}});
    });
    return att;
}

ServiceManager services() {
    PrivateServer& s = PrivateServer::instance();
    return ServiceManager(ServiceParams{s.server(), QStringLiteral("SYSDBA"), s.sysdbaPassword()});
}

} // namespace

TEST(Server, RefusedLogins) {
    PrivateServer& s = PrivateServer::instance();
    createOnServer(QStringLiteral("login.fdb"))->detach();
    ConnectParams p = s.sysdba(s.databaseName(QStringLiteral("login.fdb")));
    p.password = QStringLiteral("wrong");
    try {
        Attachment::attach(p);
        FAIL() << "expected a refusal";
    } catch (const DbError& e) {
        EXPECT_EQ(e.reason(), DbError::Reason::LoginRefused) << e.message().toStdString();
    }
    // A port where nobody listens.
    p = s.sysdba(QStringLiteral("localhost/1:/tmp/x.fdb"));
    try {
        Attachment::attach(p);
        FAIL() << "expected a refusal";
    } catch (const DbError& e) {
        EXPECT_EQ(e.reason(), DbError::Reason::Unreachable) << e.message().toStdString();
    }
}

TEST(Server, BackupThenRestoreGivesTheSameRows) {
    PrivateServer& s = PrivateServer::instance();
    createOnServer(QStringLiteral("source.fdb"))->detach();
    const QString backup = s.dataDir() + QStringLiteral("/source.abk");
    const QString restored = s.dataDir() + QStringLiteral("/restored.fdb");
    QFile::remove(backup);
    QFile::remove(restored);

    ServiceManager svc = services();
    QStringList lines;
    svc.backup(s.dataDir() + QStringLiteral("/source.fdb"), backup, [&](const QString& l) { lines << l; });
    EXPECT_GT(lines.size(), 5);
    EXPECT_TRUE(QFile::exists(backup));

    lines.clear();
    svc.restore(backup, restored, false, [&](const QString& l) { lines << l; });
    EXPECT_GT(lines.size(), 5);

    // Restoring onto an existing file without replace is refused by the server.
    EXPECT_THROW(svc.restore(backup, restored, false), DbError);

    auto att = Attachment::attach(s.sysdba(s.server() + QLatin1Char(':') + restored));
    Transaction t(*att);
    Rows rows = inTransaction(
        t, [](Transaction& tr) { return tr.select(QStringLiteral("select * from T order by ID")); });
    ASSERT_EQ(rows.size(), 50u);
    EXPECT_EQ(rows[49].text("N"), QStringLiteral("wiersz ąę 50"));
}

TEST(Server, ValidationAndStatisticsRun) {
    PrivateServer& s = PrivateServer::instance();
    auto att = createOnServer(QStringLiteral("valid.fdb"));
    ServiceManager svc = services();
    QStringList lines;
    // Online validation works while someone is connected.
    svc.validate(s.dataDir() + QStringLiteral("/valid.fdb"), [&](const QString& l) { lines << l; });
    EXPECT_TRUE(lines.join(QLatin1Char('\n')).contains(QLatin1String("Validation finished")))
        << lines.join('\n').toStdString();
    lines.clear();
    svc.statistics(s.dataDir() + QStringLiteral("/valid.fdb"), [&](const QString& l) { lines << l; });
    EXPECT_TRUE(lines.join(QLatin1Char('\n')).contains(QLatin1String("T (")))
        << lines.join('\n').toStdString();
    att->detach();
    EXPECT_NO_THROW(svc.validateFull(s.dataDir() + QStringLiteral("/valid.fdb")));
}

TEST(Server, UsersKeepNamesAndNumbers) {
    ServiceManager svc = services();
    UserInfo u;
    u.userName = QStringLiteral("JKOWALSKI");
    u.password = QStringLiteral("haslo1");
    u.firstName = QStringLiteral("Jan");
    u.middleName = QStringLiteral("Maria");
    u.lastName = QStringLiteral("Kowalski");
    u.userId = 123;
    u.groupId = 99;
    try {
        svc.deleteUser(u.userName);
    } catch (const DbError&) {
    }
    svc.addUser(u);
    auto got = svc.displayUser(QStringLiteral("jkowalski"));
    ASSERT_TRUE(got);
    EXPECT_EQ(got->firstName, QStringLiteral("Jan"));
    EXPECT_EQ(got->middleName, QStringLiteral("Maria"));
    EXPECT_EQ(got->lastName, QStringLiteral("Kowalski"));
    EXPECT_EQ(got->userId, 123);
    EXPECT_EQ(got->groupId, 99);

    u.password.clear();
    u.lastName = QStringLiteral("Nowak");
    u.groupId = 7;
    svc.modifyUser(u);
    got = svc.displayUser(u.userName);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->lastName, QStringLiteral("Nowak"));
    EXPECT_EQ(got->groupId, 7);

    // The new user logs in with his own password.
    PrivateServer& s = PrivateServer::instance();
    createOnServer(QStringLiteral("users.fdb"))->detach();
    ConnectParams p = s.sysdba(s.databaseName(QStringLiteral("users.fdb")));
    p.user = u.userName;
    p.password = QStringLiteral("haslo1");
    EXPECT_NO_THROW(Attachment::attach(p));

    svc.deleteUser(u.userName);
    EXPECT_FALSE(svc.displayUser(u.userName));
    EXPECT_FALSE(svc.displayUser(QStringLiteral("NOBODY_HERE")));
}

TEST(Server, InformationCountsAttachments) {
    PrivateServer& s = PrivateServer::instance();
    createOnServer(QStringLiteral("info.fdb"))->detach();
    ServiceManager svc = services();
    ServerInfo before = svc.serverInfo();
    EXPECT_TRUE(before.serverVersion.contains(QLatin1String("Firebird")))
        << before.serverVersion.toStdString();
    EXPECT_FALSE(before.implementation.isEmpty());

    auto a1 = Attachment::attach(s.sysdba(s.databaseName(QStringLiteral("info.fdb"))));
    auto a2 = Attachment::attach(s.sysdba(s.databaseName(QStringLiteral("info.fdb"))));
    ServerInfo during = svc.serverInfo();
    EXPECT_EQ(during.attachments, before.attachments + 2);
    EXPECT_TRUE(during.databaseNames.join(QLatin1Char(' ')).contains(QLatin1String("info.fdb")));
    a1->detach();
    a2->detach();
    EXPECT_EQ(svc.serverInfo().attachments, before.attachments);
}

TEST(Server, DatabasePropertiesChange) {
    PrivateServer& s = PrivateServer::instance();
    createOnServer(QStringLiteral("props.fdb"))->detach();
    const QString db = s.dataDir() + QStringLiteral("/props.fdb");
    ServiceManager svc = services();
    svc.setSweepInterval(db, 5000);
    svc.setPageBuffers(db, 4000);
    svc.setForcedWrites(db, false);
    svc.setReserveSpace(db, false);
    svc.setDialect(db, 3);

    auto read = [&] {
        auto att = Attachment::attach(s.sysdba(s.databaseName(QStringLiteral("props.fdb"))));
        Transaction t(*att);
        return *inTransaction(t, [](Transaction& tr) {
            return tr.selectOne(
                QStringLiteral("select MON$SWEEP_INTERVAL, MON$PAGE_BUFFERS, MON$FORCED_WRITES, "
                               "MON$RESERVE_SPACE, MON$READ_ONLY, MON$SHUTDOWN_MODE from MON$DATABASE"));
        });
    };
    Row r = read();
    EXPECT_EQ(r.integer("MON$SWEEP_INTERVAL"), 5000);
    EXPECT_EQ(r.integer("MON$PAGE_BUFFERS"), 4000);
    EXPECT_EQ(r.integer("MON$FORCED_WRITES"), 0);
    EXPECT_EQ(r.integer("MON$RESERVE_SPACE"), 0);

    svc.setReadOnly(db, true);
    EXPECT_EQ(read().integer("MON$READ_ONLY"), 1);
    svc.setReadOnly(db, false);

    svc.shutdown(db, ShutdownMode::Full, 0);
    EXPECT_THROW(Attachment::attach(s.sysdba(s.databaseName(QStringLiteral("props.fdb")))), DbError);
    svc.bringOnline(db);
    EXPECT_EQ(read().integer("MON$SHUTDOWN_MODE"), 0);
}

TEST(Server, ADroppedConnectionIsReportedAsLost) {
    PrivateServer& s = PrivateServer::instance();
    createOnServer(QStringLiteral("dropped.fdb"))->detach();
    auto att = Attachment::attach(s.sysdba(s.databaseName(QStringLiteral("dropped.fdb"))));
    Transaction t(*att);
    EXPECT_EQ(
        inTransaction(
            t, [](Transaction& tr) { return tr.scalar(QStringLiteral("select count(*) from T")).toInt(); }),
        50);

    // The administrator shuts the database down under the working program.
    ServiceManager svc = services();
    svc.shutdown(s.dataDir() + QStringLiteral("/dropped.fdb"), ShutdownMode::Full, 0);
    try {
        inTransaction(t, [](Transaction& tr) { tr.scalar(QStringLiteral("select count(*) from T")); });
        FAIL() << "expected the connection to be gone";
    } catch (const DbError& e) {
        EXPECT_EQ(e.reason(), DbError::Reason::ConnectionLost) << e.message().toStdString();
    }
    EXPECT_FALSE(t.isActive());
    EXPECT_FALSE(att->ping());
    svc.bringOnline(s.dataDir() + QStringLiteral("/dropped.fdb"));
}
