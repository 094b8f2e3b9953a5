#include "AdminFixture.h"

#include "admin/data/AdminStartup.h"
#include "schema/History.h"
#include "session/SessionFixture.h"
#include "session/data/Session.h"
#include "tripcards/rules/CardAccess.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::admin;
using korven::test::PrivateServer;
using korven::test::ServerAdmin;

namespace {

// An operator of the main program with every right on the tables.
void addOperator(MainD& d, const QString& name, int level = 0) {
    try {
        d.deleteUser(name);
    } catch (const db::DbError&) {
    }
    UserFields f;
    f.userName = name;
    f.firstName = QStringLiteral("Jan");
    f.lastName = QStringLiteral("Operator");
    f.password = QStringLiteral("haslo");
    f.userId = QStringLiteral("7");
    f.accessLevel = QString::number(level);
    d.saveUser(f, PrivilegeChoice{true, true, true, true, true, true}, true);
}

std::unique_ptr<session::Session> logIn(const ServerAdmin& a, const QString& user,
                                        QStringList* messages = nullptr) {
    QTemporaryDir dir;
    test::ScriptedStartup ui(user, QStringLiteral("haslo"));
    auto s = session::startSession(test::writeSetupIni(dir, a.sciezka), ui);
    if (messages) *messages = ui.messages;
    return s;
}

void corrupt(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const qint64 size = f.size();
    ASSERT_GT(size, 4096);
    // The data of the tables sits in the second half; a stretch of it is overwritten.
    f.seek(size / 2);
    f.write(QByteArray(static_cast<int>(size / 4), '\x5a'));
}

} // namespace

TEST(AdminServer, BackupRefusedWhileAnOperatorWorks) {
    ServerAdmin a(QStringLiteral("adm_refuse"));
    addOperator(*a.data, QStringLiteral("OPREF"));
    auto op = logIn(a, QStringLiteral("OPREF"));
    ASSERT_TRUE(op);
    try {
        a.data->backup({});
        FAIL() << "backup ran with an operator logged in";
    } catch (const Refusal& r) {
        EXPECT_EQ(QString::fromUtf8(r.what()), *exclusivityRefusal(ExclusiveOperation::Backup, 2));
        EXPECT_TRUE(QString::fromUtf8(r.what()).contains(QStringLiteral("w liczbie 1 muszą go opuścić ...")));
    }
    EXPECT_THROW(a.data->restore({}), Refusal);
    EXPECT_THROW(a.data->validate({}), Refusal);
    EXPECT_FALSE(QFileInfo::exists(a.file(QStringLiteral("korven.abk"))));
    EXPECT_EQ(test::bila(a.data->attachment()), QStringLiteral("N"));
    op->countOut();
}

TEST(AdminServer, BackupAndRestoreGiveBackEveryRow) {
    ServerAdmin a(QStringLiteral("adm_round"));
    const QStringList before = test::dumpRows(a.data->attachment());
    ASSERT_GT(before.size(), 100);
    QStringList lines;
    a.data->backup([&](const QString& l) { lines << l; });
    EXPECT_GT(lines.size(), 10); // the verbose output, line by line
    ASSERT_TRUE(QFileInfo::exists(a.file(QStringLiteral("korven.abk"))));

    // Work done after the backup is what a restore takes back.
    a.data->attachment().executeImmediate(QStringLiteral("delete from A_KARTA"));
    a.data->attachment().executeImmediate(QStringLiteral("update A_AUTO set NRREJ = 'ZMIANA'"));
    ASSERT_NE(test::dumpRows(a.data->attachment()), before);

    lines.clear();
    a.data->restore([&](const QString& l) { lines << l; });
    EXPECT_GT(lines.size(), 10);
    // The flag set while the backup was made is cleared in the restored database; nothing else differs.
    QStringList after = test::dumpRows(a.data->attachment());
    EXPECT_EQ(after, before);
    EXPECT_EQ(test::bila(a.data->attachment()), QStringLiteral("N"));
    EXPECT_FALSE(QFileInfo::exists(a.file(QStringLiteral("korven_odtw.adb"))));
    EXPECT_TRUE(a.data->validate({}).isEmpty());
}

TEST(AdminServer, MainProgramLoginRefusedWhileBackupRuns) {
    ServerAdmin a(QStringLiteral("adm_bila"));
    addOperator(*a.data, QStringLiteral("OPBILA"));
    QString flagDuringRun;
    QStringList refusal;
    bool loggedIn = true;
    bool asked = false;
    a.data->backup([&](const QString&) {
        if (asked) return;
        asked = true;
        auto other = a.attach();
        flagDuringRun = test::bila(*other);
        loggedIn = static_cast<bool>(logIn(a, QStringLiteral("OPBILA"), &refusal));
    });
    EXPECT_EQ(flagDuringRun, QStringLiteral("T"));
    EXPECT_FALSE(loggedIn);
    EXPECT_EQ(refusal, QStringList{session::messages::backupRunning()});
    EXPECT_EQ(test::bila(a.data->attachment()), QStringLiteral("N"));
    // Once the backup is over the operator gets in.
    auto op = logIn(a, QStringLiteral("OPBILA"));
    EXPECT_TRUE(op);
    if (op) op->countOut();
}

TEST(AdminServer, DamagedBackupLeavesTheDatabaseUntouched) {
    ServerAdmin a(QStringLiteral("adm_damaged"));
    a.data->backup({});
    corrupt(a.file(QStringLiteral("korven.abk")));
    a.data->attachment().executeImmediate(QStringLiteral("update A_AUTO set NRREJ = 'PO KOPII'"));
    const QStringList before = test::dumpRows(a.data->attachment());

    try {
        a.data->restore({});
        FAIL() << "a damaged backup was restored";
    } catch (const std::exception& e) {
        const QString text = QString::fromUtf8(e.what());
        EXPECT_TRUE(text.startsWith(QStringLiteral("Odtwarzanie Bazy nie powiodło się")))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Dotychczasowa baza danych pozostaje bez zmian.")));
    }
    EXPECT_EQ(test::dumpRows(a.data->attachment()), before);
    EXPECT_EQ(test::bila(a.data->attachment()), QStringLiteral("N"));
    EXPECT_FALSE(QFileInfo::exists(a.file(QStringLiteral("korven_odtw.adb"))));

    // A file that is no backup at all is refused the same way.
    QFile junk(a.file(QStringLiteral("junk.abk")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(100000, 'x'));
    junk.close();
    EXPECT_THROW(a.data->restore({}, a.file(QStringLiteral("junk.abk"))), std::runtime_error);
    EXPECT_EQ(test::dumpRows(a.data->attachment()), before);
}

TEST(AdminServer, UserWithLevel99GetsTheExtendedTripCardRights) {
    ServerAdmin a(QStringLiteral("adm_level"), false);
    // A database of an older schema, without the store of access levels: it gets one.
    a.data->attachment().executeImmediate(QStringLiteral("DROP TABLE FJ_DOSTEP"));
    addOperator(*a.data, QStringLiteral("OPNINE"), 99);
    auto op = logIn(a, QStringLiteral("OPNINE"));
    ASSERT_TRUE(op);
    const int level = op->operatorSession().accessLevel;
    EXPECT_EQ(level, 99);
    EXPECT_EQ(op->operatorSession().fullName, QStringLiteral("Jan Operator"));
    EXPECT_TRUE(tripcards::startValuesEditable(5, level));
    EXPECT_TRUE(tripcards::maySaveCard(8, 1, 9, 3, level));
    // The operator cannot change the level he is given.
    EXPECT_THROW(op->attachment().executeImmediate(QStringLiteral("update FJ_DOSTEP set POZIOM = 0")),
                 db::DbError);
    op->countOut();

    // Found again as stored, and a modification lowers the level the main program sees.
    std::optional<UserFields> found = a.data->findUser(QStringLiteral("opnine"));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->accessLevel, QStringLiteral("99"));
    EXPECT_EQ(found->userId, QStringLiteral("7"));
    EXPECT_EQ(found->lastName, QStringLiteral("Operator"));
    found->accessLevel = QStringLiteral("3");
    found->password = QStringLiteral("haslo");
    a.data->saveUser(*found, PrivilegeChoice{true, true, true, true, true, true}, false);
    auto again = logIn(a, QStringLiteral("OPNINE"));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->operatorSession().accessLevel, 3);
    EXPECT_FALSE(tripcards::startValuesEditable(5, 3));
    again->countOut();
    again.reset();

    a.data->deleteUser(QStringLiteral("OPNINE"));
    EXPECT_FALSE(a.data->findUser(QStringLiteral("OPNINE")));
    EXPECT_FALSE(logIn(a, QStringLiteral("OPNINE")));
}

TEST(AdminServer, UserWithoutGrantsCannotChangeData) {
    ServerAdmin a(QStringLiteral("adm_nogrants"));
    try {
        a.data->deleteUser(QStringLiteral("OPNONE"));
    } catch (const db::DbError&) {
    }
    UserFields f;
    f.userName = QStringLiteral("OPNONE");
    f.password = QStringLiteral("haslo");
    a.data->saveUser(f, PrivilegeChoice{}, true);
    auto att = a.attach(QStringLiteral("OPNONE"), QStringLiteral("haslo"));
    for (const char* sql : {"update A_AUTO set NRREJ = 'X'", "delete from A_KARTA",
                            "insert into A_RODZP (KOD) values (99)", "select count(*) from A_AUTO"})
        EXPECT_THROW(att->executeImmediate(QString::fromLatin1(sql)), db::DbError) << sql;
    // The system record is open to him: that is what a login needs.
    EXPECT_NO_THROW(att->executeImmediate(QStringLiteral("update FJ_BAZA set ILE = ILE where LP = 1")));

    // Read-only rights: he reads vehicles and changes nothing.
    a.data->saveUser(f, PrivilegeChoice{true, false, false, false, false, true}, false);
    att = a.attach(QStringLiteral("OPNONE"), QStringLiteral("haslo"));
    db::Transaction t(*att);
    EXPECT_NO_THROW(
        db::inTransaction(t, [](db::Transaction& tr) { tr.select(QStringLiteral("select * from A_AUTO")); }));
    EXPECT_THROW(att->executeImmediate(QStringLiteral("update A_AUTO set NRREJ = 'X'")), db::DbError);
}

// On the server an operator's change is recorded under his name by the history triggers, which hold
// the right to write the history he lacks; he cannot read it, the administrator can.
TEST(AdminServer, AnOperatorsChangesGoIntoAHistoryOnlyTheAdministratorReads) {
    ServerAdmin a(QStringLiteral("adm_hist"));
    addOperator(*a.data, QStringLiteral("OPHIST"));
    auto op = logIn(a, QStringLiteral("OPHIST"));
    ASSERT_TRUE(op);
    op->attachment().executeImmediate(QStringLiteral(
        "update A_AUTO set NORMPAL = NORMPAL + 1 where KODA = (select min(KODA) from A_AUTO)"));
    db::Transaction mine(op->attachment(), db::TransactionOptions{true});
    EXPECT_THROW(db::inTransaction(mine, [](db::Transaction& t) { return schema::readHistory(t, {}); }),
                 schema::HistoryDenied);
    for (const char* sql : {"delete from FJ_HIST", "update FJ_HIST set UZYTKOWNIK = 'X'",
                            "insert into FJ_HIST (ID, TABELA) values (-1, 'A_AUTO')"})
        EXPECT_THROW(op->attachment().executeImmediate(QString::fromLatin1(sql)), db::DbError) << sql;
    op->countOut();

    db::Transaction t(a.data->attachment(), db::TransactionOptions{true});
    schema::HistoryFilter filter;
    filter.user = QStringLiteral("OPHIST");
    const auto rows =
        db::inTransaction(t, [&](db::Transaction& tr) { return schema::readHistory(tr, filter); });
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows.front().table, QStringLiteral("A_AUTO"));
    EXPECT_EQ(rows.front().operation, QStringLiteral("U"));
    EXPECT_TRUE(rows.front().changes.startsWith(QStringLiteral("NORMPAL: ")))
        << rows.front().changes.toStdString();
}

TEST(AdminServer, NamesWithQuotesOrBlanksNeverReachAStatement) {
    ServerAdmin a(QStringLiteral("adm_names"), false);
    const QStringList bad = {QStringLiteral("JAN KOWALSKI"), QStringLiteral("O'BRIEN"),
                             QStringLiteral("X\" TO PUBLIC; --"), QStringLiteral("PUBLIC WITH GRANT OPTION")};
    for (const QString& name : bad) {
        UserFields f;
        f.userName = name;
        f.password = QStringLiteral("haslo");
        EXPECT_THROW(a.data->saveUser(f, PrivilegeChoice{true, true, true, true, true, true}, true), Refusal)
            << name.toStdString();
    }
    db::Transaction t(a.data->attachment());
    db::inTransaction(t, [](db::Transaction& tr) {
        // Nothing was granted to anyone but the owner (beyond the tables every operator reads: the
        // access levels, the additions' options and the fuel import's), and no such user was made.
        for (const db::Row& r : tr.select(QStringLiteral(
                 "select trim(RDB$USER) as U, trim(RDB$RELATION_NAME) as R from RDB$USER_PRIVILEGES where "
                 "RDB$USER_TYPE = 8 and RDB$USER <> 'SYSDBA' and RDB$RELATION_NAME <> 'FJ_DOSTEP' and "
                 "RDB$RELATION_NAME not in ('FJ_OPCJE', 'FJ_IMPMAP', 'FJ_IMPTR') and "
                 "RDB$RELATION_NAME not similar to '(RDB|MON|SEC)$%'")))
            ADD_FAILURE() << "granted to " << r.text(QStringLiteral("U")).toStdString() << " on "
                          << r.text(QStringLiteral("R")).toStdString();
        EXPECT_EQ(tr.scalar(QStringLiteral(
                                "select count(*) from SEC$USERS where trim(SEC$USER_NAME) containing ' ' "
                                "or SEC$USER_NAME containing ''''"))
                      .toInt(),
                  0);
    });
}

TEST(AdminServer, WrongAdministratorPasswordIsAskedAgain) {
    ServerAdmin a(QStringLiteral("adm_login"), false);
    struct Ui : AdminStartupUi {
        QStringList passwords;
        QStringList messages, offered;
        bool askLogin(const QString&, QString& user, QString& password) override {
            offered << user;
            if (passwords.isEmpty()) return false;
            password = passwords.takeFirst();
            return true;
        }
        void showMessage(const QString& text) override { messages << text; }
        void showError(const std::exception& e) override { messages << QString::fromUtf8(e.what()); }
    } ui;
    ui.passwords = {QStringLiteral("zle"), PrivateServer::instance().sysdbaPassword()};
    auto d = startAdmin(AdminConfig{a.sciezka, {}, {}, {}}, ui);
    ASSERT_TRUE(d);
    EXPECT_TRUE(d->isConnected());
    EXPECT_EQ(ui.messages, QStringList{messages::wrongAdminPassword()});
    EXPECT_EQ(ui.offered, (QStringList{QStringLiteral("SYSDBA"), QStringLiteral("SYSDBA")}));

    // A database that does not exist: the window opens without a connection, after saying why.
    ui.passwords = {PrivateServer::instance().sysdbaPassword()};
    ui.messages.clear();
    d = startAdmin(AdminConfig{a.sciezka + QStringLiteral("/brak"), {}, {}, {}}, ui);
    ASSERT_TRUE(d);
    EXPECT_FALSE(d->isConnected());
    EXPECT_EQ(ui.messages.size(), 1);
    EXPECT_NE(ui.messages.value(0), messages::wrongAdminPassword());
}
