// The doubts raised about a settled trip card: each case is a card, a vehicle and the vehicle's
// earlier months, and the doubts expected, in their order.

#include "tripcards/rules/Plausibility.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <vector>

using namespace korven::tripcards;

namespace {

using D = Doubt;

struct DoubtCase {
    const char* name;
    double initial, driven, final;
    double fuelUsed, fuelDue;
    const char* tank;
    bool meter;
    double meterStart, meterEnd;
    std::vector<double> history;
    std::vector<Doubt> expected;
};

const std::vector<double> steady{1000, 1100, 900, 1200, 1000, 0, 950, 1050, 1000, 1100, 1000, 900};

class Doubts : public ::testing::TestWithParam<DoubtCase> {
protected:
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
};

TEST_P(Doubts, AreFoundInOrder) {
    const DoubtCase& c = GetParam();
    CardRecord card;
    card.PRZEBIEG0 = c.initial;
    card.PRZEBIEGM = c.driven;
    card.PRZEBIEGS = c.final;
    card.ZUZYCIEP = c.fuelUsed;
    card.RAZEMP = c.fuelDue;
    card.ZUZYCIEPN = c.fuelDue;
    card.MIER_POCZ = c.meterStart;
    card.MIER_KON = c.meterEnd;
    VehicleContext vehicle;
    vehicle.POJ_ZBIO = QString::fromUtf8(c.tank);
    vehicle.CZY_MIERNIK = c.meter ? QStringLiteral("T") : QStringLiteral("N");
    std::vector<Doubt> found;
    for (const PlausibilityWarning& w : plausibilityDoubts(card, vehicle, c.history)) {
        found.push_back(w.doubt);
        EXPECT_FALSE(w.text.isEmpty());
    }
    EXPECT_EQ(found, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Doubts,
    ::testing::Values(
        DoubtCase{"PlainMonth", 199105, 1000, 200105, 250, 250, "300", false, 0, 0, steady, {}},
        DoubtCase{"FinalBelowInitial",
                  199105,
                  -105,
                  199000,
                  0,
                  0,
                  "300",
                  false,
                  0,
                  0,
                  steady,
                  {D::OdometerBackwards}},
        // 199105 typed as 1999105: the month is far beyond anything the vehicle drives.
        DoubtCase{"SlipWithHistory",
                  198105,
                  1801000,
                  1999105,
                  250,
                  250,
                  "300",
                  false,
                  0,
                  0,
                  steady,
                  {D::OdometerSlip, D::MileageBeyondHistory}},
        DoubtCase{"SlipWithoutHistory",
                  198105,
                  1801000,
                  1999105,
                  250,
                  250,
                  "300",
                  false,
                  0,
                  0,
                  {},
                  {D::OdometerSlip}},
        DoubtCase{"NoSlipFromAnUnknownStart", 0, 150000, 150000, 250, 250, "300", false, 0, 0, {}, {}},
        DoubtCase{"LongMonthAtThreeTimesMedianIsKept",
                  199105,
                  3000,
                  202105,
                  250,
                  250,
                  "300",
                  false,
                  0,
                  0,
                  steady,
                  {}},
        DoubtCase{"LongMonthAboveThreeTimesMedian",
                  199105,
                  3001,
                  202106,
                  250,
                  250,
                  "300",
                  false,
                  0,
                  0,
                  steady,
                  {D::MileageBeyondHistory}},
        // Two driven months are too few for a median; standstill months do not count.
        DoubtCase{
            "TooLittleHistory", 199105, 9000, 208105, 250, 250, "300", false, 0, 0, {1000, 0, 0, 1000}, {}},
        // 800 L due needs three fills of a 300 L tank besides the tank the month began with.
        DoubtCase{"FuelWithinTankFills", 199105, 1000, 200105, 1200, 800, "300", false, 0, 0, steady, {}},
        DoubtCase{"FuelAboveTankFills",
                  199105,
                  1000,
                  200105,
                  1200.01,
                  800,
                  "300",
                  false,
                  0,
                  0,
                  steady,
                  {D::FuelAboveTank}},
        DoubtCase{"DecimalCapacity",
                  199105,
                  1000,
                  200105,
                  130,
                  20,
                  "60.5",
                  false,
                  0,
                  0,
                  steady,
                  {D::FuelAboveTank}},
        DoubtCase{"UnknownCapacityIsNotChecked", 199105, 1000, 200105, 5000, 20, "", false, 0, 0, steady, {}},
        DoubtCase{
            "TextCapacityIsNotChecked", 199105, 1000, 200105, 5000, 20, "duży", false, 0, 0, steady, {}},
        DoubtCase{"MeterBackwards",
                  199105,
                  1000,
                  200105,
                  250,
                  250,
                  "300",
                  true,
                  1500,
                  1200,
                  steady,
                  {D::MeterBackwards}},
        DoubtCase{
            "MeterIgnoredWithoutMeter", 199105, 1000, 200105, 250, 250, "300", false, 1500, 1200, steady, {}},
        DoubtCase{"EverythingAtOnce",
                  199105,
                  -105,
                  199000,
                  2000,
                  100,
                  "50",
                  true,
                  10,
                  5,
                  steady,
                  {D::OdometerBackwards, D::FuelAboveTank, D::MeterBackwards}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Median, OfDrivenMonthsOnly) {
    EXPECT_EQ(medianMonthlyMileage(std::vector<double>{0, 0, 0, 0}), std::nullopt);
    EXPECT_EQ(medianMonthlyMileage(std::vector<double>{300, 100, 200}), std::optional<double>(200));
    EXPECT_EQ(medianMonthlyMileage(std::vector<double>{400, 0, 100, 300, 200}), std::optional<double>(250));
}

struct SlipCase {
    const char* name;
    double initial, final, longest, expected;
    std::optional<double> meant;
};

class Slip : public ::testing::TestWithParam<SlipCase> {};

TEST_P(Slip, GivesTheReadingMeant) {
    const SlipCase& c = GetParam();
    EXPECT_EQ(slipCorrection(c.initial, c.final, c.longest, c.expected), c.meant);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Slip,
    ::testing::Values(SlipCase{"DoubledDigit", 198105, 1999105, 3000, 1000, 199105},
                      // Leaving out other digits gives 199905, 199910 or 199915, all possible
                      // months too; the one nearest the usual month wins.
                      SlipCase{"NearestTheUsualMonth", 199000, 1999105, 3000, 900, 199905},
                      SlipCase{"NearestAShortUsualMonth", 199000, 1999105, 3000, 100, 199105},
                      SlipCase{"PlausibleMonthIsNoSlip", 198105, 199105, 3000, 1000, std::nullopt},
                      SlipCase{"NoDigitFits", 198105, 5000000, 3000, 1000, std::nullopt},
                      SlipCase{"DecimalsAreIgnored", 198105, 1999105.5, 3000, 1000, 199105}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Fills, CountTheStartingTank) {
    EXPECT_EQ(expectedFills(0, 300), 1);
    EXPECT_EQ(expectedFills(300, 300), 2);
    EXPECT_EQ(expectedFills(301, 300), 3);
    EXPECT_EQ(expectedFills(100, 0), 0);
}

} // namespace
