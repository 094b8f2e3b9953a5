#include "tripcards/rules/CardInsert.h"

#include <gtest/gtest.h>

using namespace korven::tripcards;

namespace {

SystemMultipliers system() {
    SystemMultipliers s;
    s.MN_POS = 60;
    s.MN_MIE = 10;
    s.MN_ALA = 15;
    s.MN_GOROS = 5;
    s.MN_GORPOZ = 7;
    s.MN_OZ = 8;
    s.MN_KLI = 3;
    s.MN_TER = 20;
    s.MN_ZIM = 12;
    s.MN_SZK = 9;
    s.MN_HOLON = 6;
    s.MN_HOLET = 4;
    s.NORMA_OON = 0.5;
    s.NORMA_OET = 0.7;
    return s;
}

VehicleContext vehicle(const char* type, const char* fuel) {
    VehicleContext v;
    v.KODA = 7;
    v.NRREJ = QStringLiteral("KR 12345");
    v.NORMPAL = 30;
    v.NORMPOM = 1.234;
    v.NORMUG = 0.125;
    v.NORMUR1 = 0.3333333;
    v.NORMUR2 = 0.25;
    v.TYP = QLatin1String(type);
    v.RODZPAL = QLatin1String(fuel);
    return v;
}

} // namespace

TEST(NewCard, FreezesTheNormsAndMultipliers) {
    const NewCardOutcome out =
        newCard(vehicle("P", "ON"), system(), {12, 9, 6, QDate(2009, 6, 1)}, {15000, 16000.5, 800});
    ASSERT_TRUE(out.ok());
    const CardRecord& c = out.card;
    EXPECT_EQ(c.KODA, 7);
    EXPECT_EQ(c.KODD, 12);
    EXPECT_EQ(c.ROKD, 9);
    EXPECT_EQ(c.MIED, 6);
    EXPECT_EQ(c.NRREJ, QStringLiteral("KR 12345"));
    EXPECT_EQ(c.DATAD, QDate(2009, 6, 1));
    EXPECT_DOUBLE_EQ(c.DODPOS_1, 0.5);
    EXPECT_DOUBLE_EQ(c.DODMIE_1, 0.03);
    EXPECT_DOUBLE_EQ(c.DODA_1, 0.045);
    EXPECT_DOUBLE_EQ(c.DODOZ_1, 0.024);
    EXPECT_DOUBLE_EQ(c.DODK_1, 0.009);
    EXPECT_DOUBLE_EQ(c.DODT_1, 0.06);
    EXPECT_DOUBLE_EQ(c.DODZ_1, 0.036);
    EXPECT_DOUBLE_EQ(c.DODSZ_1, 0.027);
    EXPECT_DOUBLE_EQ(c.DODNAP_1, 1.234);
    EXPECT_DOUBLE_EQ(c.DODUR1_1, 0.33333);
    EXPECT_DOUBLE_EQ(c.DODUR2_1, 0.25);
    EXPECT_DOUBLE_EQ(c.DODUG_1, 0.125);
    EXPECT_DOUBLE_EQ(c.NORMAP, 30);
    EXPECT_DOUBLE_EQ(c.NORMAA, 1.23) << "the card keeps two places of the pump norm";
    EXPECT_DOUBLE_EQ(c.NORMAUG, 0.13);
    EXPECT_DOUBLE_EQ(c.PRZEBIEG0, 15000);
    EXPECT_DOUBLE_EQ(c.PRZEBIEG0P, 16000.5);
    EXPECT_DOUBLE_EQ(c.MIER_POCZ, 800);
    EXPECT_DOUBLE_EQ(c.PRZEBIEGM, 0);
}

struct KindCase {
    const char* type;
    const char* fuel;
    double mountain; // DODG_1
    double towing;   // DODH_1
    double oil;      // NORMAO
};

void PrintTo(const KindCase& c, std::ostream* os) {
    *os << "type '" << c.type << "' fuel '" << c.fuel << "'";
}

class NewCardByKind : public ::testing::TestWithParam<KindCase> {};

TEST_P(NewCardByKind, PicksTheMultipliersOfTheVehicleTypeAndFuel) {
    const KindCase& k = GetParam();
    const NewCardOutcome out = newCard(vehicle(k.type, k.fuel), system(), {}, {});
    ASSERT_TRUE(out.ok());
    EXPECT_DOUBLE_EQ(out.card.DODG_1, k.mountain) << k.type << k.fuel;
    EXPECT_DOUBLE_EQ(out.card.DODH_1, k.towing) << k.type << k.fuel;
    EXPECT_DOUBLE_EQ(out.card.NORMAO, k.oil) << k.type << k.fuel;
}

INSTANTIATE_TEST_SUITE_P(Cases, NewCardByKind,
                         ::testing::Values(KindCase{"O", "ON", 0.015, 0.018, 0.5},
                                           KindCase{"o", "et", 0.015, 0.012, 0.7},
                                           KindCase{"P", "ET", 0.021, 0.012, 0.7},
                                           KindCase{"", "on", 0.021, 0.018, 0.5},
                                           KindCase{"P", "LP", 0.021, 0.012, 0.7}));

TEST(NewCard, StandstillMultiplierOfZeroGivesAMessageAndNoCard) {
    SystemMultipliers s = system();
    s.MN_POS = 0;
    const NewCardOutcome out = newCard(vehicle("P", "ON"), s, {12, 9, 6, QDate(2009, 6, 1)}, {});
    EXPECT_FALSE(out.ok());
    EXPECT_EQ(out.error, zeroStandstillMessage());
    EXPECT_EQ(out.card.KODD, 0);
    CardRecord card;
    card.NORMAP = 12;
    EXPECT_FALSE(freezeNorms(card, vehicle("P", "ON"), s).isEmpty());
    EXPECT_DOUBLE_EQ(card.NORMAP, 12) << "left untouched";
    double norm = -1;
    EXPECT_FALSE(standstillNorm(vehicle("P", "ON"), 0, norm));
    ASSERT_TRUE(standstillNorm(vehicle("P", "ON"), 45, norm));
    EXPECT_DOUBLE_EQ(norm, 0.67);
}
