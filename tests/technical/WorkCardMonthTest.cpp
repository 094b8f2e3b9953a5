// The opening of a month for the motor equipment against an embedded database.

#include "technical/data/MonthOpening.h"

#include "session/data/Session.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::technical;
using korven::test::TestDatabase;

namespace {

class WorkCardFixture : public ::testing::Test {
protected:
    WorkCardFixture() : bracket(*tdb.attachment) {}

    void sql(const QString& text, const db::Params& params = {}) {
        db::Transaction t(*tdb.attachment);
        db::inTransaction(t, [&](db::Transaction& tr) { tr.execute(text, params); });
    }
    db::Rows rows(const QString& text) {
        db::Transaction t(*tdb.attachment);
        return db::inTransaction(t, [&](db::Transaction& tr) { return tr.select(text); });
    }
    void addMachine(int kods, const char* engine, const char* lock = "N") {
        sql(QStringLiteral(
                "insert into A_SPRZET (KODS, NRREJ, NAZWA, RODZSILN, BLOKADA, NORMPAL, NORMOLM, NORMOLS) "
                "values (:KODS, :NRREJ, 'Pilarka', :RODZSILN, :BLOKADA, 0.025, 2.5, 0.8)"),
            {{"KODS", kods},
             {"NRREJ", QStringLiteral("S-%1").arg(kods)},
             {"RODZSILN", engine},
             {"BLOKADA", lock}});
    }
    MonthOpeningOutcome open() {
        db::Transaction t(*tdb.attachment);
        const SystemSettings settings =
            session::settingsFromRow(*db::inTransaction(t, [](db::Transaction& tr) {
                return tr.selectOne(QStringLiteral("select * from FJ_BAZA where LP = 1"));
            }));
        OperatorSession op;
        op.fullName = QStringLiteral("Jan Kowalski");
        return MonthOpening(bracket, settings, op).openWorkCards(QDate(2009, 3, 2));
    }

    TestDatabase tdb{9, 3};
    db::Transaction bracket;
};

} // namespace

TEST_F(WorkCardFixture, OilNormsFollowTheEngineKindOfEachMachine) {
    // The machine with an unknown engine kind comes right after one that had oil norms.
    addMachine(1, "2");
    addMachine(2, "X");
    addMachine(3, "4");
    addMachine(4, "");
    const MonthOpeningOutcome out = open();
    ASSERT_TRUE(out.ok()) << out.error.toStdString();
    EXPECT_EQ(out.counts, (MonthOpeningCounts{4, 0, 0}));
    const db::Rows r =
        rows(QStringLiteral("select KODS, KODK, NRREJ, DATAS, NORMAPAL, IMIENAZ, NORMOLM, NORMOLS "
                            "from A_KARTAS where ROKS = 9 and MIES = 3 order by KODS"));
    ASSERT_EQ(r.size(), 4u);
    EXPECT_DOUBLE_EQ(r[0].number("NORMOLM"), 2.5);
    EXPECT_DOUBLE_EQ(r[0].number("NORMOLS"), 0.8);
    EXPECT_TRUE(r[1].isNull("NORMOLM"));
    EXPECT_TRUE(r[1].isNull("NORMOLS"));
    EXPECT_FALSE(r[2].isNull("NORMOLM"));
    EXPECT_DOUBLE_EQ(r[2].number("NORMOLM"), 0);
    EXPECT_DOUBLE_EQ(r[2].number("NORMOLS"), 0);
    EXPECT_TRUE(r[3].isNull("NORMOLM"));
    for (const db::Row& row : r) {
        EXPECT_EQ(row.text("IMIENAZ").trimmed(), QStringLiteral("Jan Kowalski"));
        EXPECT_DOUBLE_EQ(row.number("NORMAPAL"), 0.025);
        EXPECT_EQ(row.date("DATAS"), QDate(2009, 3, 2));
    }
    EXPECT_EQ(r[0].integer("KODK"), 1);
    EXPECT_EQ(r[3].integer("KODK"), 4);
    EXPECT_EQ(r[1].text("NRREJ").trimmed(), QStringLiteral("S-2"));
}

TEST_F(WorkCardFixture, NumbersByMonthStartAtPocznrsAndLockedMachinesArePassedOver) {
    sql(QStringLiteral("update FJ_BAZA set P6P12 = 'T', POCZNRS = 200 where LP = 1"));
    sql(QStringLiteral("insert into A_KARTAS (KODS, KODK, ROKS, MIES) values (9, 900, 9, 2)"));
    addMachine(1, "2");
    addMachine(2, "2", "T");
    addMachine(3, "4", "n");
    addMachine(4, "4", "");
    addMachine(5, "2");
    const MonthOpeningOutcome out = open();
    ASSERT_TRUE(out.ok()) << out.error.toStdString();
    EXPECT_EQ(out.counts, (MonthOpeningCounts{3, 2, 0}));
    QList<std::pair<int, int>> numbers;
    for (const db::Row& r :
         rows(QStringLiteral("select KODS, KODK from A_KARTAS where MIES = 3 order by KODS")))
        numbers << std::pair{static_cast<int>(r.integer("KODS")), static_cast<int>(r.integer("KODK"))};
    EXPECT_EQ(numbers, (QList<std::pair<int, int>>{{1, 200}, {4, 201}, {5, 202}}));

    // A second run adds nothing.
    EXPECT_EQ(open().counts, (MonthOpeningCounts{0, 2, 3}));
    EXPECT_EQ(rows(QStringLiteral("select KODS from A_KARTAS where MIES = 3")).size(), 3u);
}
