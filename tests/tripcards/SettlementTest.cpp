#include "CardFixtures.h"

#include "tripcards/rules/FieldEvents.h"
#include "tripcards/rules/Settlement.h"

#include <gtest/gtest.h>

#include <vector>

using namespace korven::tripcards;
using namespace korven::tripcards::test;

namespace {

double column(const CardRecord& card, const char* name) {
    const CardColumn* c = findCardColumn(QLatin1String(name));
    EXPECT_NE(c, nullptr) << name;
    return c ? cardValue(card, *c).toDouble() : 0;
}

struct Expect {
    const char* column;
    double value;
};

struct Step {
    const char* field; // "PRZELICZ" for the button
    double value;
    std::vector<Expect> expect;
};

void runSteps(CardRecord& card, const VehicleContext& vehicle, const std::vector<Step>& steps) {
    for (const Step& s : steps) {
        const FieldOutcome out = QLatin1String(s.field) == QLatin1String("PRZELICZ")
                                     ? recalculate(card, vehicle)
                                     : applyFieldEvent(card, vehicle, QLatin1String(s.field), s.value);
        EXPECT_TRUE(out.ok()) << s.field << ": " << out.error.toStdString();
        for (const Expect& e : s.expect)
            EXPECT_DOUBLE_EQ(column(card, e.column), e.value) << "after " << s.field << " = " << s.value;
    }
}

} // namespace

// The worked example of the settlement, field by field as the operator enters it.
TEST(SettlementChain, WorkedExampleLineByLine) {
    CardRecord card = exampleCard();
    runSteps(card, dieselVehicle(),
             {
                 {"PRZEBIEGM",
                  1000,
                  {{"PRZEBIEGS", 1000},
                   {"ZUZYCIEPN", 300},
                   {"DODATKIP", 0},
                   {"RAZEMP", 300},
                   {"PRZEPALP", 0},
                   {"ZUZYCIEON", 1.5},
                   {"PRZEBIEGMP", 1000},
                   {"PRZEBIEGSP", 1000}}},
                 {"DODPOS", 60, {{"DODPOS_2", 30}, {"DODATKIP", 30}, {"RAZEMP", 330}}},
                 {"DODMIE", 500, {{"DODMIE_2", 15}, {"DODATKIP", 45}, {"RAZEMP", 345}, {"PRZEBIEGMP", 1150}}},
                 {"ZUZYCIEP", 340, {{"ZUZYCIEPN", 300}, {"PRZEPALP", 0}}},
                 {"ZUZYCIEO", 2, {{"ZUZYCIEON", 1.7}, {"PRZEPALO", -0.3}}},
                 {"PRZELICZ", 0, {{"DODPOS_3", 40}, {"DODMIE_3", 10}, {"DODMIE_2", 15}, {"DODATKIP", 45}}},
             });
    EXPECT_EQ(fuelResultLabel(card).text, QStringLiteral("Oszczędność (+)"));
    EXPECT_FALSE(fuelResultLabel(card).red);
    EXPECT_EQ(oilResultLabel(card).text, QStringLiteral("Przepał (-)"));
    EXPECT_TRUE(oilResultLabel(card).red);
}

// The 130 % cap: the kilometre allowances may add at most C - ZUZYCIEPN (90 l at 1000 km and 30 l/100
// km); the time allowances are never capped.
struct CapCase {
    const char* name;
    const char* fuel;
    double norm;
    double km;
    double standstillMinutes; // DODPOS, 0.5 l/min
    double cityKm;            // DODMIE at 0.03 l/km (diesel) or the given multiplier
    double cityMultiplier;
    double expectedTotal;
};

void PrintTo(const CapCase& c, std::ostream* os) {
    *os << c.name;
}

class Cap : public ::testing::TestWithParam<CapCase> {};

TEST_P(Cap, LimitsOnlyTheKilometreAllowances) {
    const CapCase& c = GetParam();
    VehicleContext v = dieselVehicle(c.norm);
    v.RODZPAL = QLatin1String(c.fuel);
    CardRecord card;
    card.NORMAP = c.norm;
    card.DODPOS_1 = 0.5;
    card.DODMIE_1 = c.cityMultiplier;
    card.DODPOS = c.standstillMinutes;
    card.DODMIE = c.cityKm;
    card.DODPOS_2 = korven::R1(card.DODPOS_1 * card.DODPOS);
    card.DODMIE_2 = korven::R1(card.DODMIE_1 * card.DODMIE);
    card.PRZEBIEGM = c.km;
    ASSERT_TRUE(monthlyMileageEntered(card, v).ok());
    EXPECT_DOUBLE_EQ(card.DODATKIP, c.expectedTotal) << c.name;
    EXPECT_DOUBLE_EQ(card.RAZEMP, card.ZUZYCIEPN + c.expectedTotal) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Cap,
    ::testing::Values(CapCase{"below the cap", "ON", 30, 1000, 60, 500, 0.03, 45},
                      CapCase{"capped, time part kept", "ON", 30, 1000, 60, 5000, 0.03, 120},
                      CapCase{"capped without time allowances", "ON", 30, 1000, 0, 5000, 0.03, 90},
                      CapCase{"exactly at the cap", "ON", 30, 1000, 60, 3000, 0.03, 120},
                      CapCase{"time allowances alone above the room", "ON", 30, 100, 400, 0, 0.03, 200},
                      // Petrol, 8.5 l/100 km, 123 km: ZUZYCIEPN = R1(10.455) = 10.5, N130 = 11.05,
                      // C = R1(13.5915) = 13.6, room 3.1; city 500 km at 0.0085 gives R1(4.25) = 4.3.
                      CapCase{"petrol rounds the cap to tenths", "ET", 8.5, 123, 0, 500, 0.0085, 3.1},
                      CapCase{"no kilometres: no room at all", "ON", 30, 0, 60, 500, 0.03, 30}));

// Fuel quantities are rounded by the fuel kind: whole litres for diesel, tenths for petrol (and for
// every kind that is not diesel).
struct FuelCase {
    const char* fuel;
    double norm;
    double km;
    double fuelDue;
};

void PrintTo(const FuelCase& c, std::ostream* os) {
    *os << "'" << c.fuel << "' " << c.norm << " x " << c.km;
}

class FuelRounding : public ::testing::TestWithParam<FuelCase> {};

TEST_P(FuelRounding, OfTheFuelDueByTheNorm) {
    const FuelCase& c = GetParam();
    VehicleContext v = dieselVehicle(c.norm);
    v.RODZPAL = QLatin1String(c.fuel);
    CardRecord card;
    card.NORMAP = c.norm;
    card.PRZEBIEGM = c.km;
    ASSERT_TRUE(monthlyMileageEntered(card, v).ok());
    EXPECT_DOUBLE_EQ(card.ZUZYCIEPN, c.fuelDue) << c.fuel << " " << c.norm << " x " << c.km;
}

INSTANTIATE_TEST_SUITE_P(Cases, FuelRounding,
                         ::testing::Values(FuelCase{"ON", 30, 1000, 300}, FuelCase{"ET", 8.5, 123, 10.5},
                                           FuelCase{"ON", 25, 50, 13},     // R0(12.5)
                                           FuelCase{"ON", 24.92, 50, 12},  // R0(12.46)
                                           FuelCase{"ON", 25, -50, -13},   // R0(-12.5): halves of negatives
                                           FuelCase{"ET", 4.5, -50, -2.3}, // R1(-2.25)
                                           FuelCase{"ET", 4.5, 50, 2.3},   // R1(2.25)
                                           FuelCase{"on", 8.5, 123, 10},   // case does not matter
                                           FuelCase{"LP", 8.5, 123, 10.5}, // other kinds: petrol rule
                                           FuelCase{"", 8.5, 123, 10.5}));

TEST(AllowanceTotal, RoundsEachAllowanceByTheFuelKindBeforeAdding) {
    for (const char* fuel : {"ON", "ET"}) {
        VehicleContext v = dieselVehicle(30);
        v.RODZPAL = QLatin1String(fuel);
        CardRecord card = exampleCard();
        card.PRZEBIEGM = 1000;
        card.ZUZYCIEPN = 300;
        card.DODNAP_1 = 0.6;
        ASSERT_TRUE(applyFieldEvent(card, v, u"DODNAP", 4).ok());
        EXPECT_DOUBLE_EQ(card.DODNAP_2, 2.4);
        EXPECT_DOUBLE_EQ(card.DODATKIP, QLatin1String(fuel) == QLatin1String("ON") ? 2 : 2.4) << fuel;
    }
}

TEST(RoundingTraps, SeenThroughTheRules) {
    VehicleContext v = dieselVehicle(20);
    CardRecord card;
    card.NORMAP = 20;
    // 0.33333 x 0.15 = 0.0499995: the offset 0.50001 takes it up to a tenth.
    card.DODPOS_1 = 0.33333;
    ASSERT_TRUE(applyFieldEvent(card, v, u"DODPOS", 0.15).ok());
    EXPECT_DOUBLE_EQ(card.DODPOS_2, 0.1);

    // R1(13.125) = 13.1 for the oil due: 2.5 % of 525 l.
    CardRecord oil;
    oil.NORMAP = 52.5;
    oil.NORMAO = 2.5;
    ASSERT_TRUE(applyFieldEvent(oil, v, u"PRZEBIEGM", 1000).ok());
    EXPECT_DOUBLE_EQ(oil.RAZEMP, 525);
    EXPECT_DOUBLE_EQ(oil.ZUZYCIEON, 13.1);
}

TEST(SettlementChain, KeepsAnOverconsumptionAndStoresASavingAsZero) {
    const VehicleContext v = dieselVehicle();
    CardRecord card = exampleCard();
    runSteps(card, v, {{"PRZEBIEGM", 1000, {}}, {"DODPOS", 60, {}}, {"ZUZYCIEP", 335, {{"PRZEPALP", -5}}}});
    EXPECT_EQ(fuelResultLabel(card).text, QStringLiteral("Przepał (-)"));
    runSteps(card, v, {{"ZUZYCIEP", 330, {{"PRZEPALP", 0}}}});
    EXPECT_EQ(fuelResultLabel(card).text, QStringLiteral("Oszczędność (+)"));
    runSteps(card, v, {{"ZUZYCIEO", 1.65, {{"ZUZYCIEON", 1.7}, {"PRZEPALO", 0.05}}}});
    EXPECT_EQ(oilResultLabel(card).text, QStringLiteral("Oszczędność (+)"));
}

TEST(Odometer, EndReadingChangesTheKilometresButNotTheFuelDue) {
    const VehicleContext v = dieselVehicle();
    CardRecord card = exampleCard();
    card.PRZEBIEG0 = 5000;
    runSteps(card, v,
             {{"PRZEBIEGM", 1000, {{"PRZEBIEGS", 6000}, {"ZUZYCIEPN", 300}}},
              {"PRZEBIEGS", 6200, {{"PRZEBIEGM", 1200}, {"ZUZYCIEPN", 300}, {"PRZEBIEGMP", 1000}}},
              {"ZUZYCIEP", 0, {{"ZUZYCIEPN", 360}, {"PRZEBIEGMP", 1200}}},
              {"PRZEBIEG0", 4000, {{"PRZEBIEGS", 5200}, {"PRZEBIEGM", 1200}}}});
}

TEST(ConvertedMileage, RunsOnFromTheStartValue) {
    const VehicleContext v = dieselVehicle();
    CardRecord card = exampleCard();
    runSteps(card, v,
             {{"PRZEBIEGM", 1000, {}},
              {"DODPOS", 60, {{"PRZEBIEGMP", 1100}}},
              {"PRZEBIEG0P", 20000.4, {{"PRZEBIEGSP", 21100}}},
              {"PRZEBIEGSP", 21300.6, {{"PRZEBIEGMP", 1301}, {"PRZEBIEGSP", 21300.6}}},
              {"PRZEBIEGMP", 1200.5, {{"PRZEBIEGSP", 21201}, {"DODATKIP", 30}}}});
}

TEST(ConvertedMileage, ZeroNormIsAnArithmeticErrorThatKeepsTheConvertedMileage) {
    const VehicleContext v = dieselVehicle(0);
    CardRecord card = exampleCard();
    card.PRZEBIEGMP = 111;
    card.PRZEBIEGSP = 222;
    card.DODPOS = 60;
    card.DODPOS_2 = 30;
    card.PRZEBIEGM = 1000;
    const FieldOutcome out = applyFieldEvent(card, v, u"ZUZYCIEP", 340);
    EXPECT_EQ(out.error, zeroNormMessage());
    EXPECT_DOUBLE_EQ(card.ZUZYCIEPN, 300) << "the steps before the conversion have run";
    EXPECT_DOUBLE_EQ(card.DODATKIP, 30);
    EXPECT_DOUBLE_EQ(card.RAZEMP, 330);
    EXPECT_DOUBLE_EQ(card.PRZEPALP, -10);
    EXPECT_EQ(out.fuelLabel.text, QStringLiteral("Przepał (-)"));
    EXPECT_DOUBLE_EQ(card.PRZEBIEGMP, 111);
    EXPECT_DOUBLE_EQ(card.PRZEBIEGSP, 222);
}

TEST(ConvertedMileage, ZeroNormWithoutAllowancesIsTheMileageItself) {
    const VehicleContext v = dieselVehicle(0);
    CardRecord card;
    card.PRZEBIEG0P = 100;
    const FieldOutcome out = applyFieldEvent(card, v, u"PRZEBIEGM", 987.4);
    EXPECT_TRUE(out.ok()) << out.error.toStdString();
    EXPECT_DOUBLE_EQ(card.PRZEBIEGMP, 987);
    EXPECT_DOUBLE_EQ(card.PRZEBIEGSP, 1087);
}

TEST(ConvertedMileage, UsesTheVehiclesCurrentNormNotTheCardsCopy) {
    CardRecord card = exampleCard();
    card.DODPOS = 60;
    card.DODPOS_2 = 30;
    ASSERT_TRUE(applyFieldEvent(card, dieselVehicle(60), u"PRZEBIEGM", 1000).ok());
    EXPECT_DOUBLE_EQ(card.ZUZYCIEPN, 300);
    EXPECT_DOUBLE_EQ(card.PRZEBIEGMP, 1050);
}

// Winter runs from 1 November to 31 March inclusive.
void PrintTo(const std::pair<QDate, bool>& c, std::ostream* os) {
    *os << (c.first.isValid() ? c.first.toString(Qt::ISODate).toStdString() : "no date");
}

class Winter : public ::testing::TestWithParam<std::pair<QDate, bool>> {};

TEST_P(Winter, ByMonthAndDay) {
    EXPECT_EQ(inWinterPeriod(GetParam().first), GetParam().second)
        << GetParam().first.toString().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Winter,
    ::testing::Values(std::pair{QDate(2009, 11, 1), true}, std::pair{QDate(2009, 10, 31), false},
                      std::pair{QDate(2009, 3, 31), true}, std::pair{QDate(2009, 4, 1), false},
                      std::pair{QDate(2009, 12, 15), true}, std::pair{QDate(2010, 1, 1), true},
                      std::pair{QDate(2008, 2, 29), true}, std::pair{QDate(2009, 6, 15), false},
                      std::pair{QDate(), true}));

TEST(SettlementDate, OutsideWinterClearsTheWinterAllowanceAndSettles) {
    const VehicleContext v = dieselVehicle();
    CardRecord card = exampleCard();
    card.DODZ_1 = 0.045;
    card.DATAD = QDate(2009, 12, 15);
    runSteps(card, v, {{"PRZEBIEGM", 1000, {}}, {"DODZ", 200, {{"DODZ_2", 9}, {"DODATKIP", 9}}}});
    card.DODZ_3 = 4;
    EXPECT_TRUE(winterRowShown(card));

    ASSERT_TRUE(applyFieldEvent(card, v, u"DATAD", QDate(2009, 11, 1)).ok());
    EXPECT_DOUBLE_EQ(card.DODZ, 200) << "1 November is winter: nothing cleared";
    EXPECT_DOUBLE_EQ(card.DODZ_2, 9);

    ASSERT_TRUE(applyFieldEvent(card, v, u"DATAD", QDate(2009, 4, 1)).ok());
    EXPECT_FALSE(winterRowShown(card));
    EXPECT_DOUBLE_EQ(card.DODZ, 0);
    EXPECT_DOUBLE_EQ(card.DODZ_2, 0);
    EXPECT_DOUBLE_EQ(card.DODZ_3, 0);
    EXPECT_DOUBLE_EQ(card.DODZ_1, 0.045) << "the multiplier stays";
    EXPECT_DOUBLE_EQ(card.DODATKIP, 0) << "the chain has run";
}

TEST(SettlementDate, InsideWinterRecomputesNothing) {
    const VehicleContext v = dieselVehicle();
    CardRecord card = exampleCard();
    card.DODZ = 200;
    card.DODZ_2 = 9;
    card.DODATKIP = 5; // stale on purpose: leaving the date in winter runs no rule
    ASSERT_TRUE(applyFieldEvent(card, v, u"DATAD", QDate(2009, 3, 31)).ok());
    EXPECT_DOUBLE_EQ(card.DODZ_2, 9);
    EXPECT_DOUBLE_EQ(card.DODATKIP, 5);
}

TEST(Towing, ScalesWithTheTrailerMass) {
    const VehicleContext v = dieselVehicle();
    CardRecord card = exampleCard();
    card.DODH_1 = 0.0105;
    runSteps(card, v, {{"PRZEBIEGM", 1000, {}}, {"DODH", 100, {{"DODH_2", 0}}}});
    EXPECT_TRUE(trailerMassShown(card));
    runSteps(card, v,
             {{"MASAPR", 3.5, {{"DODH_2", 3.7}, {"DODATKIP", 4}}}, // R1(3.675), diesel R0(3.7)
              {"DODH", 0, {{"DODH_2", 0}, {"DODATKIP", 0}}}});
    EXPECT_FALSE(trailerMassShown(card));
}
