// The reads of the consumption charts against an embedded database.

#include "charts/data/ChartData.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace korven;
using namespace korven::charts;
using korven::test::TestDatabase;

namespace {

class ChartDataFixture : public ::testing::Test {
protected:
    ChartDataFixture() : t(*tdb.attachment), data(t) {
        sql("insert into A_RODZP (KOD, NAZWA) values (1, 'Gaśnicze')");
        sql("insert into A_RODZP (KOD, NAZWA) values (2, 'Osobowe')");
        sql("insert into A_AUTO (KODA, NRREJ, NAZWA, TYP, KOD_RP, KOD_GP, KOD_KO) "
            "values (1, 'KN 1', 'Jelcz', 'P', 1, 5, 7)");
        sql("insert into A_AUTO (KODA, NRREJ, NAZWA, TYP, KOD_RP, KOD_GP, KOD_KO) "
            "values (2, 'KN 2', 'Star', 'P', 1, 6, 7)");
        sql("insert into A_AUTO (KODA, NRREJ, NAZWA, TYP, KOD_RP, KOD_GP, KOD_KO) "
            "values (3, 'KN 3', 'Fiat', 'O', 2, 6, 8)");
        card(1, 1, 23, 12, 900, 280, 30, 270);
        card(1, 2, 24, 1, 1000, 320, 30, 300);
        card(1, 3, 24, 1, 200, 60, 30, 60); // a second card in January
        card(1, 4, 24, 3, 500, 130, 26, 130);
        card(1, 5, 25, 1, 100, 30, 26, 26); // after the range
        card(2, 1, 24, 1, 400, 100, 25, 100);
        card(3, 1, 24, 1, 1000, 90, 8, 80);
        sql("insert into A_SPRZET (KODS, NAZWA, KOD_GR, KOD_KO) values (1, 'Pompa', 4, 7)");
        sql("insert into A_SPRZET (KODS, NAZWA, KOD_GR, KOD_KO) values (2, 'Piła', 9, 7)");
        sql("insert into A_KARTAS (KODS, KODK, ROKS, MIES, CZAS, ZUZYCIEPALF, ZUZYCIEPALN, NORMAPAL) "
            "values (1, 1, 24, 2, 90, 3, 4.5, 0.05)");
        sql("insert into A_KARTAS (KODS, KODK, ROKS, MIES, CZAS, ZUZYCIEPALF, ZUZYCIEPALN, NORMAPAL) "
            "values (2, 1, 24, 2, 60, 1, 1, 0.02)");
    }

    void sql(const char* text) {
        db::inTransaction(t, [&](db::Transaction& tr) { tr.execute(QString::fromUtf8(text)); });
    }
    void card(int koda, int kodd, int rok, int mie, double km, double fuel, double norm, double due) {
        db::inTransaction(t, [&](db::Transaction& tr) {
            tr.execute(
                QStringLiteral("insert into A_KARTA (KODA, KODD, NRREJ, ROKD, MIED, PRZEBIEGM, ZUZYCIEP, "
                               "NORMAP, ZUZYCIEPN) values (:A, :D, 'KN', :R, :M, :K, :P, :N, :PN)"),
                {{"A", koda},
                 {"D", kodd},
                 {"R", rok},
                 {"M", mie},
                 {"K", km},
                 {"P", fuel},
                 {"N", norm},
                 {"PN", due}});
        });
    }

    TestDatabase tdb;
    db::Transaction t;
    ChartData data;
};

TEST_F(ChartDataFixture, CardsOfOneVehicleInTheYearsWithFullYears) {
    std::vector<CardFigures> cards = data.cards(ChartSubject::Vehicle, 1, 2024, 2024);
    std::sort(cards.begin(), cards.end(), [](const CardFigures& a, const CardFigures& b) {
        return std::pair(a.month, a.amount) < std::pair(b.month, b.amount);
    });
    ASSERT_EQ(cards.size(), 3u) << "only vehicle 1, only 2024";
    EXPECT_EQ(cards[0].year, 2024);
    EXPECT_EQ(cards[0].month, 1);
    EXPECT_DOUBLE_EQ(cards[0].amount, 200);
    EXPECT_DOUBLE_EQ(cards[1].fuel, 320);
    EXPECT_DOUBLE_EQ(cards[2].norm, 26);
    // Through the rules: January is both cards together.
    const RateSeries s = vehicleRates(data.cards(ChartSubject::Vehicle, 1, 2023, 2025), 2023, 2025);
    EXPECT_DOUBLE_EQ(*s.points[12].rate, 380.0 * 100 / 1200);
    EXPECT_FALSE(s.points[13].rate) << "February 2024 has no card";
    EXPECT_TRUE(data.cards(ChartSubject::Vehicle, 99, 2024, 2024).empty());
}

TEST_F(ChartDataFixture, CardsOfOneMachine) {
    const std::vector<CardFigures> cards = data.cards(ChartSubject::Machine, 1, 2024, 2024);
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0].year, 2024);
    EXPECT_DOUBLE_EQ(cards[0].amount, 90);
    EXPECT_DOUBLE_EQ(cards[0].fuel, 3);
    EXPECT_NEAR(cards[0].norm, 0.05, 1e-9);
}

TEST_F(ChartDataFixture, YearSumsByKindGroupAndUnit) {
    struct Case {
        ChartSubject subject;
        int code;
        double januaryFuel, januaryDue, marchFuel;
    } cases[] = {
        {ChartSubject::VehicleKind, 1, 480, 460, 130}, {ChartSubject::VehicleKind, 2, 90, 80, 0},
        {ChartSubject::VehicleGroup, 6, 190, 180, 0},  {ChartSubject::VehicleUnit, 7, 480, 460, 130},
        {ChartSubject::VehicleUnit, 99, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(subjectCaption(c.subject).toStdString() + " " + std::to_string(c.code));
        const std::vector<MonthFuel> months = yearByMonth(data.monthSums(c.subject, c.code, 2024));
        EXPECT_DOUBLE_EQ(months[0].fuel, c.januaryFuel);
        EXPECT_DOUBLE_EQ(months[0].normFuel, c.januaryDue);
        EXPECT_DOUBLE_EQ(months[2].fuel, c.marchFuel);
        EXPECT_DOUBLE_EQ(months[11].fuel, 0) << "December 2023 is another year";
    }
    const auto machines = yearByMonth(data.monthSums(ChartSubject::MachineUnit, 7, 2024));
    EXPECT_DOUBLE_EQ(machines[1].fuel, 4);
    EXPECT_DOUBLE_EQ(machines[1].normFuel, 5.5);
    EXPECT_DOUBLE_EQ(yearByMonth(data.monthSums(ChartSubject::MachineGroup, 4, 2024))[1].fuel, 3);
}

TEST_F(ChartDataFixture, ChoicesOfEachSubject) {
    const auto vehicles = data.entries(ChartSubject::Vehicle);
    ASSERT_EQ(vehicles.size(), 3u);
    EXPECT_EQ(vehicles[0].code, 1);
    EXPECT_EQ(vehicles[0].caption, QStringLiteral("KN 1 – Jelcz"));
    const auto kinds = data.entries(ChartSubject::VehicleKind);
    ASSERT_EQ(kinds.size(), 2u);
    EXPECT_EQ(kinds[1].caption, QStringLiteral("2 Osobowe"));
    EXPECT_EQ(data.entries(ChartSubject::Machine).size(), 2u);
    EXPECT_FALSE(data.entries(ChartSubject::MachineGroup).empty()) << "the groups a new database starts with";
}

} // namespace
