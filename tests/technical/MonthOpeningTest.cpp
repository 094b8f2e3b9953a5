// The opening of a month against an embedded database.

#include "technical/data/MonthOpening.h"

#include "session/data/Session.h"
#include "support/TestSupport.h"
#include "tripcards/data/CardRegisterData.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

using namespace korven;
using namespace korven::technical;
using korven::test::TestDatabase;

namespace {

const QDate kDay(2009, 3, 2);

class MonthFixture : public ::testing::Test {
protected:
    MonthFixture() : bracket(*tdb.attachment) {}

    void sql(const QString& text, const db::Params& params = {}) {
        db::Transaction t(*tdb.attachment);
        db::inTransaction(t, [&](db::Transaction& tr) { tr.execute(text, params); });
    }
    db::Rows rows(const QString& text) {
        db::Transaction t(*tdb.attachment);
        return db::inTransaction(t, [&](db::Transaction& tr) { return tr.select(text); });
    }
    std::int64_t count(const QString& text) {
        db::Transaction t(*tdb.attachment);
        return db::inTransaction(t, [&](db::Transaction& tr) { return tr.scalar(text).toInt(); });
    }
    SystemSettings settings() {
        db::Transaction t(*tdb.attachment);
        return session::settingsFromRow(*db::inTransaction(t, [](db::Transaction& tr) {
            return tr.selectOne(QStringLiteral("select * from FJ_BAZA where LP = 1"));
        }));
    }
    void addVehicle(int koda, const QVariant& lock = QStringLiteral("N"), const char* rodzpal = "ON") {
        sql(QStringLiteral(
                "insert into A_AUTO (KODA, NRREJ, NAZWA, TYP, RODZPAL, BLOKADA, NORMPAL, NORMPOM, "
                "NORMUG, NORMUR1, NORMUR2, CZY_MIERNIK) values (:KODA, :NRREJ, 'Pojazd', 'P', :RODZPAL, "
                ":BLOKADA, 30, 0.55, 0.3, 0.2, 0.05, 'N')"),
            {{"KODA", koda},
             {"NRREJ", QStringLiteral("KN %1").arg(1000 + koda)},
             {"RODZPAL", rodzpal},
             {"BLOKADA", lock.isNull() ? db::Value() : db::Value(lock.toString())}});
    }
    void addOldCard(int koda, int kodd, int rok, int mie, double przebiegs, double przebiegsp,
                    double mierKon) {
        sql(QStringLiteral(
                "insert into A_KARTA (KODA, KODD, ROKD, MIED, PRZEBIEGS, PRZEBIEGSP, MIER_KON) values "
                "(:KODA, :KODD, :ROKD, :MIED, :S, :SP, :MK)"),
            {{"KODA", koda},
             {"KODD", kodd},
             {"ROKD", rok},
             {"MIED", mie},
             {"S", db::Decimal::fromDouble(przebiegs, 2)},
             {"SP", db::Decimal::fromDouble(przebiegsp, 2)},
             {"MK", db::Decimal::fromDouble(mierKon, 2)}});
    }
    MonthOpeningOutcome openTrip(const MonthProgress& progress = {}) {
        MonthOpening opening(bracket, settings(), OperatorSession{});
        return opening.openTripCards(kDay, progress);
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
    MonthOpeningOutcome openWork() {
        OperatorSession op;
        op.fullName = QStringLiteral("Jan Kowalski");
        return MonthOpening(bracket, settings(), op).openWorkCards(kDay);
    }
    // KODA -> the numbers of its cards in the working month.
    std::map<int, std::vector<int>> cardsOfMonth() {
        std::map<int, std::vector<int>> m;
        for (const db::Row& r : rows(QStringLiteral(
                 "select KODA, KODD from A_KARTA where ROKD = 9 and MIED = 3 order by KODA, KODD")))
            m[static_cast<int>(r.integer("KODA"))].push_back(static_cast<int>(r.integer("KODD")));
        return m;
    }

    TestDatabase tdb{9, 3};
    db::Transaction bracket;
};

} // namespace

TEST_F(MonthFixture, NumbersByMonthStartAtPocznrAndTheRegisterContinues) {
    sql(QStringLiteral("update FJ_BAZA set P6P12 = 'T', POCZNR = 50 where LP = 1"));
    for (int koda : {3, 1, 2})
        addVehicle(koda);
    // Cards of the month before do not count in a numbering by month.
    addOldCard(1, 70, 9, 2, 0, 0, 0);
    const MonthOpeningOutcome out = openTrip();
    ASSERT_TRUE(out.ok()) << out.error.toStdString();
    EXPECT_EQ(out.counts, (MonthOpeningCounts{3, 0, 0}));
    EXPECT_EQ(cardsOfMonth(), (std::map<int, std::vector<int>>{{1, {50}}, {2, {51}}, {3, {52}}}));

    // A card added later in the register takes the next number of the month.
    db::Transaction working(*tdb.attachment);
    tripcards::CardRegisterData reg(working, bracket, settings(), OperatorSession{});
    const auto added = reg.addCard(reg.loadVehicle(2)->context, kDay);
    ASSERT_TRUE(added.added()) << added.message.toStdString();
    EXPECT_EQ(added.key.KODD, 53);
}

TEST_F(MonthFixture, RunningNumbersContinueOverAllCards) {
    addVehicle(1);
    addVehicle(2);
    addOldCard(1, 70, 8, 12, 0, 0, 0);
    ASSERT_TRUE(openTrip().ok());
    EXPECT_EQ(cardsOfMonth(), (std::map<int, std::vector<int>>{{1, {71}}, {2, {72}}}));
}

TEST_F(MonthFixture, OnlyVehiclesWithAnEmptyOrNLockGetACard) {
    struct Lock {
        int koda;
        QVariant value;
        bool card;
    };
    const Lock locks[] = {{1, QStringLiteral("T"), false}, {2, QStringLiteral("N"), true},
                          {3, QStringLiteral(""), true},   {4, QVariant(), true},
                          {5, QStringLiteral("n"), false}, {6, QStringLiteral("t"), false}};
    for (const Lock& l : locks)
        addVehicle(l.koda, l.value);
    const MonthOpeningOutcome out = openTrip();
    ASSERT_TRUE(out.ok()) << out.error.toStdString();
    EXPECT_EQ(out.counts, (MonthOpeningCounts{3, 3, 0}));
    const auto cards = cardsOfMonth();
    for (const Lock& l : locks)
        EXPECT_EQ(cards.count(l.koda) == 1, l.card) << "vehicle " << l.koda;
}

TEST_F(MonthFixture, CountersAreCarriedOverFromTheLastCard) {
    addVehicle(1);
    addVehicle(2);
    addOldCard(1, 1, 9, 1, 12000, 12500, 300);
    addOldCard(1, 2, 9, 2, 15000, 16000.5, 812.5); // the last one
    addOldCard(1, 3, 8, 12, 99999, 99999, 99999);  // an older year, despite its higher number
    ASSERT_TRUE(openTrip().ok());
    const db::Rows r = rows(QStringLiteral("select KODA, PRZEBIEG0, PRZEBIEG0P, MIER_POCZ from A_KARTA where "
                                           "ROKD = 9 and MIED = 3 order by KODA"));
    ASSERT_EQ(r.size(), 2u);
    EXPECT_DOUBLE_EQ(r[0].number("PRZEBIEG0"), 15000);
    EXPECT_DOUBLE_EQ(r[0].number("PRZEBIEG0P"), 16000.5);
    EXPECT_DOUBLE_EQ(r[0].number("MIER_POCZ"), 812.5);
    // A vehicle's first card starts from zero.
    EXPECT_DOUBLE_EQ(r[1].number("PRZEBIEG0"), 0);
    EXPECT_DOUBLE_EQ(r[1].number("MIER_POCZ"), 0);
}

TEST_F(MonthFixture, TheCardIsTheOneTheRegisterWouldAdd) {
    addVehicle(1, QStringLiteral("N"), "ET");
    addOldCard(1, 4, 9, 2, 1500, 1600, 20);
    ASSERT_TRUE(openTrip().ok());
    const QString card = QStringLiteral("select * from A_KARTA where ROKD = 9 and MIED = 3");
    const db::Row bulk = rows(card).at(0);
    sql(QStringLiteral("delete from A_KARTA where ROKD = 9 and MIED = 3"));

    db::Transaction working(*tdb.attachment);
    tripcards::CardRegisterData reg(working, bracket, settings(), OperatorSession{});
    ASSERT_TRUE(reg.addCard(reg.loadVehicle(1)->context, kDay).added());
    const db::Row single = rows(card).at(0);
    const tripcards::CardRecord a = tripcards::cardFromRow(bulk), b = tripcards::cardFromRow(single);
    for (const tripcards::CardColumn& c : tripcards::cardColumns())
        EXPECT_EQ(tripcards::cardValue(a, c), tripcards::cardValue(b, c)) << c.name;
    EXPECT_DOUBLE_EQ(bulk.number("NORMAO"), 0.5); // the petrol oil norm of the system record
}

TEST_F(MonthFixture, ASecondRunAddsNothing) {
    addVehicle(1);
    addVehicle(2, QStringLiteral("T"));
    addVehicle(3);
    ASSERT_EQ(openTrip().counts, (MonthOpeningCounts{2, 1, 0}));
    const MonthOpeningOutcome again = openTrip();
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.counts, (MonthOpeningCounts{0, 1, 2}));
    EXPECT_EQ(count(QStringLiteral("select count(*) from A_KARTA")), 2);
}

TEST_F(MonthFixture, ARunStoppedHalfWayLeavesTheMonthAsItWasAndTheNextOpensIt) {
    for (int koda = 1; koda <= 6; ++koda)
        addVehicle(koda);
    // The run is cut off after the third vehicle, as if the program were killed there.
    int seen = 0;
    EXPECT_THROW(openTrip([&](int) {
                     if (++seen == 3) throw std::runtime_error("killed");
                 }),
                 std::runtime_error);
    // One transaction: none of the three cards made before the stop is left behind.
    EXPECT_EQ(count(QStringLiteral("select count(*) from A_KARTA")), 0);
    const MonthOpeningOutcome rest = openTrip();
    ASSERT_TRUE(rest.ok());
    EXPECT_EQ(rest.counts, (MonthOpeningCounts{6, 0, 0}));
    const auto cards = cardsOfMonth();
    ASSERT_EQ(cards.size(), 6u);
    for (const auto& [koda, numbers] : cards)
        EXPECT_EQ(numbers.size(), 1u) << "vehicle " << koda;
}

TEST_F(MonthFixture, AnInsertErrorEndsTheRunAndAddsNothing) {
    for (int koda = 1; koda <= 4; ++koda)
        addVehicle(koda);
    tdb.attachment->executeImmediate(
        QStringLiteral("CREATE EXCEPTION NO_CARD 'Karta zablokowana przez test'"));
    tdb.attachment->executeImmediate(QStringLiteral(
        "CREATE TRIGGER A_KARTA_TEST FOR A_KARTA BEFORE INSERT AS BEGIN IF (NEW.KODA = 3) THEN EXCEPTION "
        "NO_CARD; END"));
    const MonthOpeningOutcome out = openTrip();
    EXPECT_FALSE(out.ok());
    EXPECT_TRUE(out.error.contains(QStringLiteral("Karta zablokowana przez test")))
        << out.error.toStdString();
    EXPECT_EQ(out.counts.created, 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from A_KARTA")), 0);

    tdb.attachment->executeImmediate(QStringLiteral("DROP TRIGGER A_KARTA_TEST"));
    EXPECT_EQ(openTrip().counts, (MonthOpeningCounts{4, 0, 0}));
}

TEST_F(MonthFixture, AZeroStandstillMultiplierStopsTheRunWithItsMessage) {
    addVehicle(1);
    sql(QStringLiteral("update FJ_BAZA set MN_POS = 0 where LP = 1"));
    const MonthOpeningOutcome out = openTrip();
    EXPECT_EQ(out.error, tripcards::zeroStandstillMessage());
    EXPECT_EQ(count(QStringLiteral("select count(*) from A_KARTA")), 0);
}

TEST_F(MonthFixture, TheCalendarWritesTheMonthAndReadsItBack) {
    EXPECT_EQ(setWorkingMonth(bracket, 2), 2);
    EXPECT_EQ(settings().MIE, 2);
}

// --- Work cards of the motor equipment ---------------------------------------------------------

TEST_F(MonthFixture, OilNormsFollowTheEngineKindOfEachMachine) {
    // The machine with an unknown engine kind comes right after one that had oil norms.
    addMachine(1, "2");
    addMachine(2, "X");
    addMachine(3, "4");
    addMachine(4, "");
    const MonthOpeningOutcome out = openWork();
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

TEST_F(MonthFixture, NumbersByMonthStartAtPocznrsAndLockedMachinesArePassedOver) {
    sql(QStringLiteral("update FJ_BAZA set P6P12 = 'T', POCZNRS = 200 where LP = 1"));
    sql(QStringLiteral("insert into A_KARTAS (KODS, KODK, ROKS, MIES) values (9, 900, 9, 2)"));
    addMachine(1, "2");
    addMachine(2, "2", "T");
    addMachine(3, "4", "n");
    addMachine(4, "4", "");
    addMachine(5, "2");
    const MonthOpeningOutcome out = openWork();
    ASSERT_TRUE(out.ok()) << out.error.toStdString();
    EXPECT_EQ(out.counts, (MonthOpeningCounts{3, 2, 0}));
    QList<std::pair<int, int>> numbers;
    for (const db::Row& r :
         rows(QStringLiteral("select KODS, KODK from A_KARTAS where MIES = 3 order by KODS")))
        numbers << std::pair{static_cast<int>(r.integer("KODS")), static_cast<int>(r.integer("KODK"))};
    EXPECT_EQ(numbers, (QList<std::pair<int, int>>{{1, 200}, {4, 201}, {5, 202}}));

    // A second run adds nothing.
    EXPECT_EQ(openWork().counts, (MonthOpeningCounts{0, 2, 3}));
    EXPECT_EQ(rows(QStringLiteral("select KODS from A_KARTAS where MIES = 3")).size(), 3u);
}
