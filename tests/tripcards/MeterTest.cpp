#include "CardFixtures.h"

#include "tripcards/rules/FieldEvents.h"
#include "tripcards/rules/Settlement.h"

#include <gtest/gtest.h>

using namespace korven::tripcards;
using namespace korven::tripcards::test;

namespace {

constexpr auto Meter = SettlementMode::Meter;

CardRecord meterCard() {
    CardRecord card;
    card.NORMAP = 30;
    card.NORMAO = 0.5;
    card.MIER_POCZ = 1200.5;
    card.DODPOS_1 = 0.5;
    card.DODPOS = 60;
    card.DODPOS_2 = 30; // allowances are kept on the row but never used by the meter
    return card;
}

} // namespace

TEST(MeterCard, FuelDueIsTheMeterDifference) {
    for (const char* field : {"MIER_KON", "PRZEBIEGM"}) {
        const VehicleContext v = dieselVehicle();
        CardRecord card = meterCard();
        card.MIER_KON = 1350;
        card.ZUZYCIEP = 152;
        card.PRZEBIEGM = 987;
        const double value = QLatin1String(field) == QLatin1String("MIER_KON") ? 1350 : 987;
        const FieldOutcome out = applyFieldEvent(card, v, QLatin1String(field), value, Meter);
        ASSERT_TRUE(out.ok()) << field;
        EXPECT_DOUBLE_EQ(card.ZUZYCIEPN, 149.5) << field;
        EXPECT_DOUBLE_EQ(card.RAZEMP, 149.5) << field;
        EXPECT_DOUBLE_EQ(card.DODATKIP, 0) << field;
        EXPECT_DOUBLE_EQ(card.PRZEPALP, -2.5) << field;
        EXPECT_EQ(out.fuelLabel.text, QStringLiteral("Przepał (-)")) << field;
        EXPECT_DOUBLE_EQ(card.ZUZYCIEON, 0.7) << "R1(0.7475)";
        EXPECT_DOUBLE_EQ(card.PRZEBIEGMP, 987) << "no allowances in the converted mileage";
        EXPECT_DOUBLE_EQ(card.DODPOS_2, 30) << "the allowance columns are left alone";
    }
}

TEST(MeterCard, BelowTheMeterIsASavingStoredAsZero) {
    CardRecord card = meterCard();
    card.MIER_KON = 1350;
    card.ZUZYCIEPN = 145; // typed into "Zużycie [L]", which runs no rule
    card.ZUZYCIEP = 140;
    const FieldOutcome out = recalculate(card, dieselVehicle(), Meter);
    ASSERT_TRUE(out.ok());
    EXPECT_DOUBLE_EQ(card.RAZEMP, 145) << "the button settles the figure in the record, not the readings";
    EXPECT_DOUBLE_EQ(card.PRZEPALP, 0);
    EXPECT_EQ(out.fuelLabel.text, QStringLiteral("Oszczędność (+)"));
    EXPECT_DOUBLE_EQ(card.DODPOS_2, 30) << "there is no distribution on the meter card";
}

TEST(MeterCard, StartReadingAloneChangesNothing) {
    CardRecord card = meterCard();
    card.MIER_KON = 1350;
    card.ZUZYCIEPN = 10;
    const FieldOutcome out = applyFieldEvent(card, dieselVehicle(), u"MIER_POCZ", 1000, Meter);
    EXPECT_EQ(out.handling, FieldHandling::NoRule);
    EXPECT_DOUBLE_EQ(card.MIER_POCZ, 1000);
    EXPECT_DOUBLE_EQ(card.ZUZYCIEPN, 10);
    ASSERT_TRUE(applyFieldEvent(card, dieselVehicle(), u"ZUZYCIEP", 300, Meter).ok());
    EXPECT_DOUBLE_EQ(card.ZUZYCIEPN, 350);
    EXPECT_DOUBLE_EQ(card.PRZEPALP, 0);
}

TEST(MeterCard, OdometerFields) {
    const VehicleContext v = dieselVehicle();
    CardRecord card = meterCard();
    card.PRZEBIEG0 = 5000;
    card.PRZEBIEG0P = 7000.4;
    ASSERT_TRUE(applyFieldEvent(card, v, u"PRZEBIEGM", 987.6, Meter).ok());
    EXPECT_DOUBLE_EQ(card.PRZEBIEGS, 5987.6);
    EXPECT_DOUBLE_EQ(card.PRZEBIEGMP, 988);
    EXPECT_DOUBLE_EQ(card.PRZEBIEGSP, 7988);
    ASSERT_TRUE(applyFieldEvent(card, v, u"PRZEBIEGS", 6100, Meter).ok());
    EXPECT_DOUBLE_EQ(card.PRZEBIEGM, 1100);
    EXPECT_DOUBLE_EQ(card.PRZEBIEGMP, 988) << "the end odometer runs nothing else";
    ASSERT_TRUE(applyFieldEvent(card, v, u"PRZEBIEG0", 5100, Meter).ok());
    EXPECT_DOUBLE_EQ(card.PRZEBIEGS, 6200);
    EXPECT_DOUBLE_EQ(card.PRZEBIEGMP, 1100);
}

TEST(MeterCard, ANormOfZeroIsNoErrorWithoutAllowances) {
    // A vehicle settled by its meter needs no kilometre norm; its converted mileage is its mileage.
    CardRecord card = meterCard();
    card.MIER_KON = 1300.5;
    const FieldOutcome out = applyFieldEvent(card, dieselVehicle(0), u"PRZEBIEGM", 500, Meter);
    EXPECT_TRUE(out.ok()) << out.error.toStdString();
    EXPECT_DOUBLE_EQ(card.PRZEBIEGMP, 500);
}
