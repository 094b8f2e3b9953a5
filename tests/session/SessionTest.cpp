#include "SessionFixture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::session;
using korven::test::ScriptedStartup;
using korven::test::TestDatabase;
using korven::test::writeSetupIni;

namespace {

struct State {
    int ile;
    int operators;
};

State stateOf(db::Attachment& att) {
    db::Transaction t(att);
    return db::inTransaction(t, [](db::Transaction& tr) {
        return State{
            static_cast<int>(tr.scalar(QStringLiteral("select ILE from FJ_BAZA where LP = 1")).toInt()),
            static_cast<int>(tr.scalar(QStringLiteral("select count(*) from FJ_FLOP")).toInt())};
    });
}

void setFlags(db::Attachment& att, const QString& ftech, const QString& zapi, int ile, const QString& bila) {
    db::Transaction t(att);
    db::inTransaction(t, [&](db::Transaction& tr) {
        tr.execute(
            QStringLiteral("update FJ_BAZA set FTECH = :F, ZAPI = :Z, ILE = :I, BILA = :B where LP = 1"),
            {{"F", ftech}, {"Z", zapi}, {"I", ile}, {"B", bila}});
    });
}

// Non-owners log in too: give everyone the rights on the tables, as the administrator would.
void grantEveryone(db::Attachment& att) {
    for (const char* table : {"FJ_BAZA", "FJ_FLOP", "A_AUTO", "A_RODZP", "A_GRUPP", "A_KOMEN", "A_KARTA",
                              "A_OBSK", "A_OBSLU", "A_SPRZET", "A_GRUPS", "A_KARTAS"})
        att.executeImmediate(QStringLiteral("GRANT ALL ON %1 TO PUBLIC").arg(QString::fromLatin1(table)));
}

} // namespace

TEST(Startup, RefusalsInOrderLeaveNothingWritten) {
    struct Case {
        const char* name;
        const char* ftech;
        const char* zapi;
        int ile;
        const char* bila;
        QString message; // empty: the login succeeds
    } cases[] = {
        {"free", "N", "N", 0, "N", QString()},
        {"network lock alone", "N", "T", 0, "N", QString()},
        {"network lock with others", "N", "T", 1, "N", messages::networkLock()},
        {"technical functions left open", "T", "N", 0, "N", messages::techOpen()},
        {"technical functions come first", "T", "T", 3, "T", messages::techOpen()},
        {"backup running", "N", "N", 2, "T", messages::backupRunning()},
        {"network lock before backup", "N", "T", 2, "T", messages::networkLock()},
    };
    for (const Case& c : cases) {
        TestDatabase tdb;
        QTemporaryDir iniDir;
        setFlags(*tdb.attachment, c.ftech, c.zapi, c.ile, c.bila);
        ScriptedStartup ui(QStringLiteral("SYSDBA"), QStringLiteral("x"));
        auto session = startSession(writeSetupIni(iniDir, tdb.sciezka), ui);
        if (c.message.isEmpty()) {
            ASSERT_TRUE(session) << c.name;
            EXPECT_EQ(stateOf(*tdb.attachment).ile, c.ile + 1) << c.name;
        } else {
            EXPECT_FALSE(session) << c.name;
            ASSERT_FALSE(ui.messages.isEmpty()) << c.name;
            EXPECT_EQ(ui.messages.first(), c.message) << c.name;
            State s = stateOf(*tdb.attachment);
            EXPECT_EQ(s.ile, c.ile) << c.name;
            EXPECT_EQ(s.operators, 0) << c.name;
        }
    }
}

TEST(Startup, BadLoginsEndWithOneMessageAndTouchNothing) {
    TestDatabase tdb;
    struct Case {
        const char* name;
        QString sciezka;
        bool cancel;
    } cases[] = {
        {"cancel", tdb.sciezka, true},
        {"folder pointing nowhere", tdb.sciezka + QStringLiteral("/nie-ma"), false},
        {"server that does not answer", QStringLiteral("localhost/1:") + tdb.sciezka, false},
    };
    for (const Case& c : cases) {
        QTemporaryDir iniDir;
        ScriptedStartup ui(QStringLiteral("SYSDBA"), QStringLiteral("x"), c.cancel);
        EXPECT_FALSE(startSession(writeSetupIni(iniDir, c.sciezka), ui)) << c.name;
        ASSERT_EQ(ui.messages.size(), 1) << c.name;
        EXPECT_TRUE(ui.messages.first().startsWith(messages::wrongPassword())) << c.name;
    }
    EXPECT_EQ(stateOf(*tdb.attachment).ile, 0);
    EXPECT_FALSE(QFile::exists(tdb.sciezka + QStringLiteral("/nie-ma/korven.adb")));
}

TEST(Startup, SetupIniIsCreatedAndTheUserWrittenBackCutTo20) {
    TestDatabase tdb;
    grantEveryone(*tdb.attachment);
    QTemporaryDir iniDir;
    const QString path = iniDir.filePath(QStringLiteral("setup.ini"));
    {
        // A missing file is created with the defaults before the login dialog appears.
        ScriptedStartup ui(QStringLiteral("SYSDBA"), QStringLiteral("x"), true);
        startSession(path, ui);
        EXPECT_EQ(ui.offeredUser, QStringLiteral("SYSDBA"));
        EXPECT_EQ(ui.shownDatabase, db::databaseName(SetupIni::defaultFolder()));
        EXPECT_TRUE(QFile::exists(path));
    }
    writeSetupIni(iniDir, tdb.sciezka);
    ScriptedStartup ui(QStringLiteral("OPERATOR_Z_BARDZO_DLUGA_NAZWA"), QStringLiteral("x"));
    auto session = startSession(path, ui);
    ASSERT_TRUE(session);
    EXPECT_EQ(session->operatorSession().userName, QStringLiteral("OPERATOR_Z_BARDZO_DL"));
    EXPECT_EQ(SetupIni::load(path).user(), QStringLiteral("OPERATOR_Z_BARDZO_DL"));
}

TEST(Startup, UnknownUserWorksUnregisteredAtLevelZero) {
    TestDatabase tdb;
    grantEveryone(*tdb.attachment);
    QTemporaryDir iniDir;
    ScriptedStartup ui(QStringLiteral("NIKT_TAKI"), QStringLiteral("x"));
    auto session = startSession(writeSetupIni(iniDir, tdb.sciezka), ui);
    ASSERT_TRUE(session);
    EXPECT_EQ(ui.messages, QStringList{messages::userNotFound()});
    EXPECT_EQ(session->operatorSession().fullName, QString());
    EXPECT_EQ(session->operatorSession().accessLevel, 0);
    EXPECT_EQ(session->operatorSession().sessionNumber, 0);
    EXPECT_EQ(stateOf(*tdb.attachment).operators, 0);
    EXPECT_EQ(stateOf(*tdb.attachment).ile, 1);
    session->countOut();
    session.reset(); // the final delete removes nothing and fails nothing
    EXPECT_EQ(stateOf(*tdb.attachment).ile, 0);
}

TEST(Startup, AccessLevelThatCannotBeReadRefusesTheLogin) {
    struct Case {
        const char* name;
        const char* change; // run by the administrator before the login
        bool refused;
        int level;
    } cases[] = {
        {"level of his own", "insert into FJ_DOSTEP (NAZWA, POZIOM) values ('OPERATOR1', 5)", false, 5},
        {"no row: level 0", nullptr, false, 0},
        {"older database without the table", "DROP TABLE FJ_DOSTEP", true, 0},
        {"no right to read the table", "REVOKE SELECT ON FJ_DOSTEP FROM PUBLIC", true, 0},
    };
    for (const Case& c : cases) {
        TestDatabase tdb;
        grantEveryone(*tdb.attachment);
        if (c.change) tdb.attachment->executeImmediate(QString::fromLatin1(c.change));
        QTemporaryDir iniDir;
        ScriptedStartup ui(QStringLiteral("OPERATOR1"), QStringLiteral("x"));
        auto session = startSession(writeSetupIni(iniDir, tdb.sciezka), ui);
        if (c.refused) {
            EXPECT_FALSE(session) << c.name;
            ASSERT_EQ(ui.messages.size(), 1) << c.name;
            EXPECT_TRUE(ui.messages[0].startsWith(QStringLiteral("Nie można odczytać poziomu dostępu")))
                << ui.messages[0].toStdString();
            EXPECT_TRUE(ui.messages[0].contains(QLatin1String("FJ_DOSTEP"))) << c.name;
            // Refused before counting in or registering.
            EXPECT_EQ(stateOf(*tdb.attachment).ile, 0) << c.name;
            EXPECT_EQ(stateOf(*tdb.attachment).operators, 0) << c.name;
        } else {
            ASSERT_TRUE(session) << c.name;
            // The level holds even for a user the server's user list does not know.
            EXPECT_EQ(session->operatorSession().accessLevel, c.level) << c.name;
        }
    }
}

TEST(Startup, CountNeverGoesBelowZero) {
    TestDatabase tdb;
    QTemporaryDir iniDir;
    ScriptedStartup ui(QStringLiteral("SYSDBA"), QStringLiteral("x"));
    auto session = startSession(writeSetupIni(iniDir, tdb.sciezka), ui);
    ASSERT_TRUE(session);
    // Someone reset the count while we were working.
    setFlags(*tdb.attachment, "N", "N", 0, "N");
    session->countOut();
    EXPECT_EQ(stateOf(*tdb.attachment).ile, 0);
}

TEST(Session, OperatorCannotRaiseHisOwnAccessLevel) {
    TestDatabase tdb;
    grantEveryone(*tdb.attachment);
    {
        db::Transaction t(*tdb.attachment);
        db::inTransaction(t, [](db::Transaction& tr) {
            tr.execute(QStringLiteral("insert into FJ_DOSTEP (NAZWA, POZIOM) values ('OPERATOR1', 5)"));
        });
    }
    auto op = db::Attachment::attach(tdb.params(QStringLiteral("OPERATOR1")));
    db::Transaction t(*op);
    EXPECT_EQ(db::inTransaction(t,
                                [](db::Transaction& tr) {
                                    return tr
                                        .scalar(QStringLiteral(
                                            "select POZIOM from FJ_DOSTEP where NAZWA = CURRENT_USER"))
                                        .toInt();
                                }),
              5);
    for (const char* sql : {"update FJ_DOSTEP set POZIOM = 0 where NAZWA = CURRENT_USER",
                            "delete from FJ_DOSTEP where NAZWA = CURRENT_USER",
                            "insert into FJ_DOSTEP (NAZWA, POZIOM) values ('OPERATOR2', 0)"}) {
        EXPECT_THROW(db::inTransaction(t, [&](db::Transaction& tr) { tr.execute(QString::fromLatin1(sql)); }),
                     db::DbError)
            << sql;
    }
    EXPECT_EQ(db::inTransaction(t,
                                [](db::Transaction& tr) {
                                    return tr
                                        .scalar(QStringLiteral(
                                            "select POZIOM from FJ_DOSTEP where NAZWA = 'OPERATOR1'"))
                                        .toInt();
                                }),
              5);
}

TEST(Session, TechnicalFunctionsFlagAndOperatorList) {
    TestDatabase tdb;
    QTemporaryDir iniDir;
    ScriptedStartup ui(QStringLiteral("SYSDBA"), QStringLiteral("x"));
    auto session = startSession(writeSetupIni(iniDir, tdb.sciezka), ui);
    ASSERT_TRUE(session);
    session->setTechnicalFunctionsFlag(true);
    db::Transaction t(*tdb.attachment);
    auto ftech = [&] {
        return db::inTransaction(t, [](db::Transaction& tr) {
            return tr.scalar(QStringLiteral("select FTECH from FJ_BAZA where LP = 1")).toText();
        });
    };
    EXPECT_EQ(ftech(), QStringLiteral("T"));
    session->setTechnicalFunctionsFlag(false);
    EXPECT_EQ(ftech(), QStringLiteral("N"));

    // The list shows the stored text with a running number.
    db::inTransaction(t, [](db::Transaction& tr) {
        tr.execute(
            QStringLiteral("insert into FJ_FLOP (NAZWA) values (:N)"),
            {{"N", Session::operatorListText(QStringLiteral("Anna Nowak"), QStringLiteral("1234567"))}});
    });
    QStringList list = session->activeOperators();
    ASSERT_FALSE(list.isEmpty());
    EXPECT_EQ(list.last(), QString::number(list.size()) + QStringLiteral(". Anna Nowak") +
                               QString(40, QLatin1Char(' ')) + QStringLiteral("123456"));
}

TEST(Session, MainWindowTitle) {
    SystemSettings s;
    s.NAZWASKR = QStringLiteral("  KM PSP Nowy Sącz ");
    s.ROK = 9;
    s.MIE = 3;
    EXPECT_EQ(mainWindowTitle(s), QStringLiteral("System KORVEN: KM PSP Nowy Sącz") +
                                      QString(27, QLatin1Char(' ')) + QStringLiteral("Marzec 2009"));
    EXPECT_EQ(mainWindowTitle(s).size(), 58 + QStringLiteral("Marzec 2009").size());
}

TEST(Startup, ConnectFailuresSayWhyUnlessItIsThePassword) {
    using R = db::DbError::Reason;
    EXPECT_EQ(
        connectFailureText(db::DbError(R::LoginRefused, QStringLiteral("Your user name and password..."))),
        messages::wrongPassword());
    const QString inUse = connectFailureText(db::DbError(R::DatabaseInUse, QStringLiteral("already opened")));
    EXPECT_TRUE(inUse.startsWith(messages::wrongPassword()));
    EXPECT_TRUE(inUse.contains(QStringLiteral("otwarta przez inny program")));
    EXPECT_TRUE(inUse.endsWith(QStringLiteral("already opened")));
    EXPECT_TRUE(connectFailureText(db::DbError(R::Unreachable, QStringLiteral("no route")))
                    .endsWith(QStringLiteral("\n\nno route")));
}
