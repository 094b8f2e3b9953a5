#include "schema/Schema.h"
#include "schema/Shape.h"
#include "schema/Upgrades.h"
#include "support/OldShapes.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korven;
using korven::schema::Presence;

namespace {

QStringList shapeOf(db::Attachment& att) {
    db::Transaction t(att, db::TransactionOptions{true});
    return db::inTransaction(t, [](db::Transaction& tr) { return schema::describeSchema(tr); });
}

QStringList newDatabaseShape() {
    static const QStringList shape = [] {
        test::TestDatabase fresh;
        return shapeOf(*fresh.attachment);
    }();
    return shape;
}

struct OldDatabase {
    explicit OldDatabase(int stepsApplied) {
        p.database = db::databaseName(dir.path());
        p.user = QStringLiteral("SYSDBA");
        p.password = QStringLiteral("any");
        att = test::createOldDatabase(p, stepsApplied);
    }
    db::Value scalar(const QString& sql) {
        db::Transaction t(*att);
        return db::inTransaction(t, [&](db::Transaction& tr) { return tr.scalar(sql); });
    }
    QTemporaryDir dir;
    db::ConnectParams p;
    std::unique_ptr<db::Attachment> att;
};

int stepCount() {
    return static_cast<int>(schema::upgradeSteps().size());
}

} // namespace

TEST(Upgrade, WhatAStatementAddsIsReadFromItsText) {
    using K = Presence::Kind;
    struct Case {
        const char* sql;
        K kind;
        const char* table;
        const char* name;
        const char* detail;
    } cases[] = {
        {"ALTER TABLE A_AUTO ADD poj_zbio  DECIMAL(7,2)", K::Column, "A_AUTO", "POJ_ZBIO", ""},
        {"ALTER TABLE FJ_BAZA ALTER MER TYPE CHAR(60)", K::ColumnType, "FJ_BAZA", "MER", "CHAR(60)"},
        {"ALTER TABLE A_AUTO ALTER NORMPOM TYPE DECIMAL(6, 3);", K::ColumnType, "A_AUTO", "NORMPOM",
         "DECIMAL(6,3)"},
        {"CREATE TABLE A_OBSK (kod DECIMAL(3,0) NOT NULL);", K::Table, "A_OBSK", "", ""},
        {"CREATE INDEX A_SPRZETN ON A_SPRZET (NAZWA);", K::Index, "A_SPRZET", "A_SPRZETN", ""},
        {"CREATE DESCENDING INDEX A_KARTA_NR ON A_KARTA (KODD)", K::Index, "A_KARTA", "A_KARTA_NR", ""},
        {"INSERT INTO A_GRUPS (kod, nazwa ) VALUES (12,'Pontony, łodzie');", K::Row, "A_GRUPS", "KOD", "12"},
        {"GRANT SELECT ON FJ_DOSTEP TO PUBLIC", K::Privilege, "FJ_DOSTEP", "PUBLIC", "S"},
        {"GRANT USAGE ON GENERATOR NUM_OPER TO TRIGGER FJ_FLOP_BI", K::Privilege, "NUM_OPER", "FJ_FLOP_BI",
         "G"},
        {"CREATE OR ALTER TRIGGER FJ_HIST_A_AUTO_AI FOR A_AUTO ACTIVE AFTER INSERT POSITION 30000 AS BEGIN "
         "END",
         K::Trigger, "A_AUTO", "FJ_HIST_A_AUTO_AI", ""},
        {"CREATE GENERATOR FJ_HIST_NR", K::Generator, "", "FJ_HIST_NR", ""},
        {"update FJ_BAZA set ILE = 0", K::Unknown, "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        const Presence p = schema::presenceOf(QString::fromUtf8(c.sql));
        EXPECT_EQ(p.kind, c.kind);
        EXPECT_EQ(p.table, QString::fromLatin1(c.table));
        EXPECT_EQ(p.name, QString::fromLatin1(c.name));
        const QString detail = p.kind == K::ColumnType ? p.type : p.key;
        EXPECT_EQ(detail, QString::fromLatin1(c.detail));
    }
}

TEST(Upgrade, EveryStepRunsOnTheShapeBeforeItAndIsThenApplied) {
    for (int i = 0; i < stepCount(); ++i) {
        const schema::UpgradeStep& step = schema::upgradeSteps().at(static_cast<std::size_t>(i));
        SCOPED_TRACE(step.version.toStdString());
        OldDatabase old(i);
        ASSERT_FALSE(schema::isApplied(*old.att, step));
        const schema::StepResult first = schema::applyStep(*old.att, step);
        EXPECT_TRUE(first.ran());
        EXPECT_TRUE(schema::isApplied(*old.att, step));
        // A second run finds everything in place and changes nothing.
        const QStringList before = shapeOf(*old.att);
        const schema::StepResult second = schema::applyStep(*old.att, step);
        EXPECT_FALSE(second.ran());
        EXPECT_EQ(shapeOf(*old.att), before);
    }
}

TEST(Upgrade, EveryOlderShapeEndsEqualToANewDatabaseWithItsDataKept) {
    for (int i = 0; i <= stepCount(); ++i) {
        SCOPED_TRACE(i);
        OldDatabase old(i);
        QStringList ran;
        schema::upgradeDatabase(*old.att, [&](const schema::UpgradeStep& s, const schema::StepResult& r) {
            if (r.ran()) ran << s.version;
        });
        EXPECT_EQ(shapeOf(*old.att), newDatabaseShape());
        QStringList expected;
        for (int k = i; k < stepCount(); ++k)
            expected << schema::upgradeSteps().at(static_cast<std::size_t>(k)).version;
        EXPECT_EQ(ran, expected);
        EXPECT_EQ(old.scalar("select trim(MER) from FJ_BAZA where LP = 1").toText(), "Jan Kowalski");
        EXPECT_EQ(old.scalar("select NORMPOM * 1000 from A_AUTO where KODA = 1").toInt(), 1250);
        EXPECT_EQ(old.scalar("select DODPOS * 100 from A_KARTA where KODA = 1").toInt(), 250);
    }
}

TEST(Upgrade, AStepPartlyInPlaceIsFinishedInsteadOfFailing) {
    // Equipment cards made by hand before the step: the first number of equipment cards still comes.
    OldDatabase cards(6);
    cards.att->executeImmediate("CREATE TABLE A_KARTAS (KODS DECIMAL(6,0) NOT NULL)");
    schema::applyStep(*cards.att, schema::upgradeStep("1.19"));
    EXPECT_EQ(cards
                  .scalar("select count(*) from RDB$RELATION_FIELDS where RDB$RELATION_NAME = 'FJ_BAZA' "
                          "and RDB$FIELD_NAME = 'POCZNRS'")
                  .toInt(),
              1);

    // A group the administrator entered himself keeps its name; the missing groups are added.
    OldDatabase groups(5);
    groups.att->executeImmediate("CREATE TABLE A_GRUPS (kod DECIMAL(3,0) NOT NULL, nazwa CHAR(60), "
                                 "CONSTRAINT A_GRUPS PRIMARY KEY(kod))");
    {
        db::Transaction t(*groups.att);
        db::inTransaction(t, [](db::Transaction& tr) {
            tr.execute("INSERT INTO A_GRUPS (kod, nazwa) VALUES (4, 'Własna grupa')");
        });
    }
    schema::applyStep(*groups.att, schema::upgradeStep("1.18"));
    EXPECT_EQ(groups.scalar("select count(*) from A_GRUPS").toInt(), 16);
    EXPECT_EQ(groups.scalar("select trim(nazwa) from A_GRUPS where kod = 4").toText(), "Własna grupa");
    EXPECT_EQ(groups.scalar("select trim(nazwa) from A_GRUPS where kod = 12").toText(),
              "Pontony i łodzie z silnikiem do 25 KM");
}

TEST(Upgrade, AFailingBlockIsRolledBackAndTheErrorPassedOn) {
    // Without the system record the second statement of the block fails: the table made before it in
    // the same block is not left behind.
    OldDatabase old(6);
    old.att->executeImmediate("DROP TABLE FJ_BAZA");
    EXPECT_THROW(schema::applyStep(*old.att, schema::upgradeStep("1.19")), db::DbError);
    EXPECT_EQ(old.scalar("select count(*) from RDB$RELATIONS where RDB$RELATION_NAME = 'A_KARTAS'").toInt(),
              0);
}
