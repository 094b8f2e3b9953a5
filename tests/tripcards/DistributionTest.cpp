#include "CardFixtures.h"

#include "tripcards/rules/FieldEvents.h"
#include "tripcards/rules/Settlement.h"

#include <gtest/gtest.h>

using namespace korven::tripcards;
using namespace korven::tripcards::test;

namespace {

// The worked example's card after 1000 km: fuel due 300 l, standstill 60 min (30 l), city 500 km
// (15 l), alarm 100 km at 0.06 l/km (6 l); the quantities can be changed per case.
struct Card {
    double standstill = 60;
    double city = 500;
    double alarm = 100;
};

CardRecord settledCard(const Card& c) {
    const VehicleContext v = dieselVehicle();
    CardRecord card = exampleCard();
    card.DODA_1 = 0.06;
    applyFieldEvent(card, v, u"PRZEBIEGM", 1000);
    applyFieldEvent(card, v, u"DODPOS", c.standstill);
    applyFieldEvent(card, v, u"DODMIE", c.city);
    applyFieldEvent(card, v, u"DODA", c.alarm);
    return card;
}

struct DistributionCase {
    const char* name;
    Card card;
    double actualFuel;
    // settled and still to settle of standstill, city and alarm after "&Przelicz", and the total
    double pos2, pos3, mie2, mie3, a2, a3;
    double total;
};

void PrintTo(const DistributionCase& c, std::ostream* os) {
    *os << c.name;
}

class Distribution : public ::testing::TestWithParam<DistributionCase> {};

} // namespace

TEST_P(Distribution, KeepsTheAllowancesThatExplainTheExcess) {
    const DistributionCase& c = GetParam();
    CardRecord card = settledCard(c.card);
    card.ZUZYCIEP = c.actualFuel;
    const FieldOutcome out = recalculate(card, dieselVehicle());
    ASSERT_TRUE(out.ok());
    EXPECT_DOUBLE_EQ(card.DODPOS_2, c.pos2) << c.name;
    EXPECT_DOUBLE_EQ(card.DODPOS_3, c.pos3) << c.name;
    EXPECT_DOUBLE_EQ(card.DODMIE_2, c.mie2) << c.name;
    EXPECT_DOUBLE_EQ(card.DODMIE_3, c.mie3) << c.name;
    EXPECT_DOUBLE_EQ(card.DODA_2, c.a2) << c.name;
    EXPECT_DOUBLE_EQ(card.DODA_3, c.a3) << c.name;
    EXPECT_DOUBLE_EQ(card.DODATKIP, c.total) << c.name;
    EXPECT_DOUBLE_EQ(card.RAZEMP, 300 + c.total) << c.name;
    if (card.PRZEPALP >= 0)
        EXPECT_EQ(out.fuelLabel.text, QStringLiteral("Oszczędność (+)")) << c.name;
    else
        EXPECT_EQ(out.fuelLabel.text, QStringLiteral("Przepał (-)")) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Distribution,
    ::testing::Values(
        // Standstill alone covers 20 l: everything after it is cleared.
        DistributionCase{"standstill covers", {}, 320, 30, 20, 0, 0, 0, 0, 30},
        // 40 l: standstill leaves 10 l, the city allowance covers them, the alarm one is cleared.
        DistributionCase{"city covers the rest", {}, 340, 30, 40, 15, 10, 0, 0, 45},
        // 48 l: the alarm allowance is needed too and stays whole.
        DistributionCase{"alarm needed", {}, 348, 30, 48, 15, 18, 6, 3, 51},
        // Above the norm plus every allowance: all kept, an overconsumption remains.
        DistributionCase{"all kept, overconsumption", {}, 400, 30, 100, 15, 70, 6, 55, 51},
        // Exactly at the norm: the first allowance reaches the (zero) excess and stays whole.
        DistributionCase{"fuel exactly at the norm", {}, 300, 30, 0, 0, 0, 0, 0, 30},
        // Below the norm: nothing is settled.
        DistributionCase{"below the norm", {}, 280, 0, -20, 0, 0, 0, 0, 0},
        // Below the norm without standstill minutes: still nothing is settled.
        DistributionCase{"below the norm, no standstill", {0, 500, 100}, 280, 0, 0, 0, 0, 0, 0, 0},
        // A quantity of 0 shows nothing to settle even though the excess is not covered yet.
        DistributionCase{"zero standstill quantity", {0, 500, 100}, 340, 0, 0, 15, 40, 6, 25, 21}));

TEST(Distribution, AClearedAllowanceReturnsWhenItsQuantityIsEnteredAgain) {
    const VehicleContext v = dieselVehicle();
    CardRecord card = settledCard({});
    card.ZUZYCIEP = 320;
    ASSERT_TRUE(recalculate(card, v).ok());
    EXPECT_DOUBLE_EQ(card.DODMIE_2, 0);
    ASSERT_TRUE(applyFieldEvent(card, v, u"DODMIE", 500).ok());
    EXPECT_DOUBLE_EQ(card.DODMIE_2, 15);
    EXPECT_DOUBLE_EQ(card.DODATKIP, 30 + 15 + 0) << "the alarm allowance stays cleared";
}

TEST(Distribution, ComparesExactDecimals) {
    // 0.1 + 0.2 litres in binary is not 0.3; the comparison X_2 - X_3 >= 0 must see 0.3 >= 0.3.
    const VehicleContext v = petrolVehicle(30);
    CardRecord card;
    card.NORMAP = 30;
    card.DODPOS_1 = 0.1;
    card.DODNAP_1 = 0.2;
    card.DODMIE_1 = 0.3;
    applyFieldEvent(card, v, u"PRZEBIEGM", 100); // 30 l due
    applyFieldEvent(card, v, u"DODPOS", 1);
    applyFieldEvent(card, v, u"DODNAP", 1);
    applyFieldEvent(card, v, u"DODMIE", 1);
    card.ZUZYCIEP = 30.3; // excess 0.3 = 0.1 + 0.2
    ASSERT_TRUE(recalculate(card, v).ok());
    EXPECT_DOUBLE_EQ(card.DODNAP_3, 0.2);
    EXPECT_DOUBLE_EQ(card.DODMIE_2, 0) << "the excess was covered by the first two";
    EXPECT_DOUBLE_EQ(card.DODATKIP, 0.3);
}

TEST(Distribution, BelowTheNormClearsEvenAStandstillFigureWithoutMinutes) {
    // A row whose standstill litres were left without minutes (older data): DODPOS_3 becomes 0 for the
    // missing minutes, yet with fuel below the norm nothing may stay settled.
    CardRecord card = settledCard({0, 500, 100});
    card.DODPOS_2 = 5;
    card.ZUZYCIEP = 280;
    ASSERT_TRUE(recalculate(card, dieselVehicle()).ok());
    EXPECT_DOUBLE_EQ(card.DODPOS_2, 0);
    EXPECT_DOUBLE_EQ(card.DODATKIP, 0);
}
