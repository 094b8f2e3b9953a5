// The change history written by the triggers of the recorded tables, and who may read it.

#include "schema/History.h"
#include "schema/Schema.h"
#include "schema/Upgrades.h"
#include "support/OldShapes.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korven;
using korven::test::TestDatabase;

namespace {

void run(db::Attachment& att, const QStringList& statements) {
    db::Transaction t(att);
    db::inTransaction(t, [&](db::Transaction& tr) {
        for (const QString& sql : statements)
            tr.execute(sql);
    });
}

std::vector<schema::HistoryEntry> history(db::Attachment& att, const schema::HistoryFilter& filter = {}) {
    db::Transaction t(att, db::TransactionOptions{true});
    return db::inTransaction(t, [&](db::Transaction& tr) { return schema::readHistory(tr, filter); });
}

const QString kVehicle = QStringLiteral("insert into A_AUTO (KODA, NRREJ, NAZWA, TYP, RODZPAL, BLOKADA, "
                                        "NORMPAL) values (1, 'KN 1', 'A', 'P', 'ON', "
                                        "'N', 30)");
const QString kCard = QStringLiteral(
    "insert into A_KARTA (KODA, KODD, NRREJ, ROKD, MIED, PRZEBIEG0, PRZEBIEGM) values (1, 5, 'KN 1', 9, 3, "
    "199105, 199105)");
const QString kMachine =
    QStringLiteral("insert into A_SPRZET (KODS, NRREJ, NAZWA) values (4, 'P 1', 'Pilarka')");
const QString kMachineCard = QStringLiteral(
    "insert into A_KARTAS (KODS, KODK, NRREJ, ROKS, MIES, CZAS) values (4, 2, 'P 1', 9, 3, 0)");
const QString kService = QStringLiteral("insert into A_OBSLU (KODA, KODB, TYP, NAZWA, DATAP, STANP) values "
                                        "(1, 3, 'OT', 'Obsługa', '2009-05-01', 0)");

} // namespace

TEST(History, EachChangeOfARecordedTableLeavesWhatItChanged) {
    struct Case {
        const char* name;
        QStringList before;  // rows in place, their history then cleared
        QStringList action;  // what the case does
        QStringList written; // the history rows it leaves: "op|table|key|changes"
    } cases[] = {
        {"an insert records the key only", {}, {kVehicle}, {"I|A_AUTO|KODA=1|"}},
        {"an update changing nothing records nothing",
         {kVehicle},
         {"update A_AUTO set NRREJ = 'KN 1', NORMPAL = 30 where KODA = 1"},
         {}},
        {"an update records its changed columns only, old and new",
         {kVehicle},
         {"update A_AUTO set NRREJ = 'KN 2', NORMPAL = 31.5, NAZWA = 'A' where KODA = 1"},
         {"U|A_AUTO|KODA=1|NRREJ: KN 1 -> KN 2\nNORMPAL: 30.00 -> 31.50\n"}},
        {"a value taken away and a value given are told from blanks",
         {kVehicle},
         {"update A_AUTO set NAZWA = null, OSOB_ODP = 'Jan' where KODA = 1"},
         {"U|A_AUTO|KODA=1|NAZWA: A -> (brak)\nOSOB_ODP: (brak) -> Jan\n"}},
        {"a delete records the values the row had",
         {kService},
         {"delete from A_OBSLU where KODA = 1 and KODB = 3"},
         {"D|A_OBSLU|KODA=1;KODB=3|KODA: 1\nKODB: 3\nTYP: OT\nNAZWA: Obsługa\nDATAP: 2009-05-01\nSTANW: "
          "0.00\nSTANP: 0.00\nILE: 0\n"}},
        {"a trip card is known by its whole key, a typing slip in the odometer shows",
         {kVehicle, kCard},
         {"update A_KARTA set PRZEBIEGM = 1999105 where KODA = 1 and KODD = 5"},
         {"U|A_KARTA|KODA=1;KODD=5;ROKD=9;MIED=3|PRZEBIEGM: 199105.00 -> 1999105.00\n"}},
        {"equipment cards, machines and services are recorded alike",
         {kMachine, kMachineCard, kService},
         {"update A_KARTAS set CZAS = 12 where KODS = 4", "update A_SPRZET set NAZWA = 'Piła' where KODS = 4",
          "update A_OBSLU set STANP = 150000 where KODA = 1"},
         {"U|A_OBSLU|KODA=1;KODB=3|STANP: 0.00 -> 150000.00\n", "U|A_SPRZET|KODS=4|NAZWA: Pilarka -> Piła\n",
          "U|A_KARTAS|KODS=4;KODK=2;ROKS=9;MIES=3|CZAS: 0 -> 12\n"}},
        {"tables outside the history leave nothing",
         {},
         {"update FJ_BAZA set ILE = 3", "insert into A_KOMEN (KOD, NAZWA) values (1, 'KM')"},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestDatabase tdb;
        run(*tdb.attachment, c.before);
        run(*tdb.attachment, {QStringLiteral("delete from FJ_HIST")});
        run(*tdb.attachment, c.action);
        QStringList written;
        for (const schema::HistoryEntry& e : history(*tdb.attachment)) {
            written << QStringList{e.operation, e.table, e.key, e.changes}.join(QLatin1Char('|'));
            EXPECT_EQ(e.user, QStringLiteral("SYSDBA"));
            EXPECT_TRUE(e.time.isValid());
        }
        EXPECT_EQ(written, c.written);
    }
}

TEST(History, TheStatementFiltersByPeriodUserTableAndRow) {
    TestDatabase tdb;
    run(*tdb.attachment, {kVehicle, kCard, QStringLiteral("update A_AUTO set NAZWA = 'B' where KODA = 1")});
    tdb.attachment->executeImmediate(QStringLiteral("GRANT SELECT, UPDATE ON A_KARTA TO OPERATOR1"));
    {
        auto op = db::Attachment::attach(tdb.params(QStringLiteral("OPERATOR1")));
        run(*op, {QStringLiteral("update A_KARTA set PRZEBIEGM = 199500 where KODA = 1")});
    }
    const QDate today = QDate::currentDate();
    struct Case {
        const char* name;
        schema::HistoryFilter filter;
        QStringList ops;
    } cases[] = {
        {"everything, newest first", {}, {"U", "U", "I", "I"}},
        {"today", {today, today, {}, {}, {}}, {"U", "U", "I", "I"}},
        {"a period before", {today.addDays(-30), today.addDays(-1), {}, {}, {}}, {}},
        {"one operator", {{}, {}, QStringLiteral("OPERATOR1"), {}, {}}, {"U"}},
        {"one table", {{}, {}, {}, QStringLiteral("A_AUTO"), {}}, {"U", "I"}},
        {"one card",
         {{},
          {},
          {},
          QStringLiteral("A_KARTA"),
          schema::historyKey({"KODA", "KODD", "ROKD", "MIED"}, {"1", "5", "9", "3"})},
         {"U", "I"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList ops;
        for (const schema::HistoryEntry& e : history(*tdb.attachment, c.filter))
            ops << e.operation;
        EXPECT_EQ(ops, c.ops);
    }
    db::Transaction t(*tdb.attachment, db::TransactionOptions{true});
    EXPECT_EQ(db::inTransaction(t, [](db::Transaction& tr) { return schema::historyUsers(tr); }),
              (QStringList{"OPERATOR1", "SYSDBA"}));
}

// An operator's changes are recorded with his name through the triggers' own rights, while he himself
// can neither read nor touch the history.
TEST(History, AnOperatorIsRecordedButCannotReadOrAlterTheHistory) {
    TestDatabase tdb;
    run(*tdb.attachment, {kVehicle});
    tdb.attachment->executeImmediate(
        QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON A_AUTO TO OPERATOR1"));
    auto op = db::Attachment::attach(tdb.params(QStringLiteral("OPERATOR1")));
    run(*op, {QStringLiteral("update A_AUTO set NRREJ = 'KN 9' where KODA = 1"),
              QStringLiteral("delete from A_AUTO where KODA = 1")});
    EXPECT_THROW(history(*op), schema::HistoryDenied);
    {
        db::Transaction t(*op, db::TransactionOptions{true});
        EXPECT_THROW(db::inTransaction(t, [](db::Transaction& tr) { return schema::historyUsers(tr); }),
                     schema::HistoryDenied);
    }
    for (const char* sql :
         {"delete from FJ_HIST", "update FJ_HIST set UZYTKOWNIK = 'X'",
          "insert into FJ_HIST (ID, TABELA, KLUCZ, OPERACJA, CZAS) values (0, 'A', 'B', 'I', "
          "current_timestamp)"}) {
        SCOPED_TRACE(sql);
        EXPECT_THROW(run(*op, {QString::fromLatin1(sql)}), db::DbError);
    }
    const auto rows = history(*tdb.attachment, {{}, {}, QStringLiteral("OPERATOR1"), {}, {}});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows.at(0).operation, QStringLiteral("D"));
    EXPECT_EQ(rows.at(1).changes, QStringLiteral("NRREJ: KN 1 -> KN 9\n"));
}

// An older database gets the history through its upgrade (the columns its old rows lack read as
// missing), and a trigger left from an earlier column list is written again, so that every column a
// new database has is recorded.
TEST(History, AnUpgradedDatabaseRecordsEveryColumnOfANewOne) {
    QTemporaryDir dir;
    db::ConnectParams p;
    p.database = db::databaseName(dir.path());
    p.user = QStringLiteral("SYSDBA");
    p.password = QStringLiteral("any");
    auto att = test::createOldDatabase(p, 0);
    schema::upgradeDatabase(*att);
    const schema::UpgradeStep& step = schema::upgradeStep(QStringLiteral("2.02"));
    EXPECT_TRUE(schema::isApplied(*att, step));
    att->executeImmediate(
        QStringLiteral("CREATE OR ALTER TRIGGER FJ_HIST_A_KARTA_AU FOR A_KARTA ACTIVE AFTER "
                       "UPDATE POSITION 30000 AS BEGIN END"));
    EXPECT_FALSE(schema::isApplied(*att, step));
    EXPECT_TRUE(schema::applyStep(*att, step).ran());
    EXPECT_TRUE(schema::isApplied(*att, step));
    run(*att, {QStringLiteral("update A_KARTA set MIER_KON = 12.5, DODH_3 = 1 where KODA = 1")});
    const auto rows = history(*att, {{}, {}, {}, QStringLiteral("A_KARTA"), {}});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows.front().changes, QStringLiteral("MIER_KON: (brak) -> 12.50\nDODH_3: (brak) -> 1.00\n"));
}
