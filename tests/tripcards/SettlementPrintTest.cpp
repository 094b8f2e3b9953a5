#include "tripcards/rules/SettlementPrint.h"
#include "CardFixtures.h"

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::tripcards;

namespace {

SystemSettings settings() {
    SystemSettings s;
    s.ROK = 9;
    s.MIE = 6;
    s.NAZWASKR = QStringLiteral("KM PSP Nowy Sącz");
    s.LOGO = QStringLiteral("/logo.png");
    return s;
}

VehicleContext vehicle() {
    VehicleContext v = test::dieselVehicle();
    v.NAZWA = QStringLiteral(" GBA 2,5/16 ");
    v.NRREJ = QStringLiteral("KN 1234A ");
    return v;
}

} // namespace

TEST(SettlementPrint, CaptionsAndHeading) {
    EXPECT_EQ(settlementCaption(SettlementMode::Norms, settings()),
              QStringLiteral("Szczegółowe Dane Karty Drogowej").leftJustified(80) +
                  QStringLiteral("Czerwiec 2009"));
    EXPECT_EQ(settlementCaption(SettlementMode::Meter, settings()).left(80).trimmed(),
              QStringLiteral("Szczegółowe Dane Karty Drogowej z Paliwomierzem"));
    EXPECT_EQ(settlementHeading(vehicle()), QStringLiteral("GBA 2,5/16 - KN 1234A"));
    EXPECT_EQ(settlementReportFile(SettlementMode::Norms), QStringLiteral("Rozlicz.rav"));
    EXPECT_EQ(settlementReportFile(SettlementMode::Meter), QStringLiteral("Rozlicz2.rav"));
}

// Zeros of the allowances and of the totals print as empty text; everything else is always filled.
TEST(SettlementPrint, ParametersByNorms) {
    CardRecord card = test::exampleCard();
    card.KODD = 17;
    card.DODPOS = 60;
    card.DODPOS_2 = 30;
    card.PRZEBIEGM = 1000;
    card.PRZEPALO = -0.3;
    const auto p = settlementReportParameters(card, vehicle(), settings(), QStringLiteral("Jan Nowak"),
                                              SettlementMode::Norms, QLocale::c());
    EXPECT_EQ(p.value("firma"), QStringLiteral("KM PSP Nowy Sącz"));
    EXPECT_EQ(p.value("od"), QStringLiteral("Czerwiec  2009"));
    EXPECT_EQ(p.value("kto"), QStringLiteral("GBA 2,5/16 - KN 1234A"));
    EXPECT_EQ(p.value("dataD"), QStringLiteral("2009-06-15"));
    EXPECT_EQ(p.value("kodd"), QStringLiteral("17"));
    EXPECT_EQ(p.value("dodPOS"), QStringLiteral("60.00"));
    EXPECT_EQ(p.value("dodPOS_1"), QStringLiteral("0.50000"));
    EXPECT_EQ(p.value("dodPOS_2"), QStringLiteral("30.00"));
    EXPECT_EQ(p.value("dodPOS_3"), QString());
    EXPECT_EQ(p.value("dodMIE"), QString());
    EXPECT_EQ(p.value("dodH_1"), QString());
    EXPECT_EQ(p.value("przebiegM"), QStringLiteral("1,000.00"));
    EXPECT_EQ(p.value("przebieg0"), QStringLiteral("0.00"));
    EXPECT_EQ(p.value("zuzycieP"), QStringLiteral("0.00"));
    EXPECT_EQ(p.value("przepalP"), QString());
    EXPECT_EQ(p.value("przepalO"), QStringLiteral("-0.30"));
    EXPECT_EQ(p.value("tresc1"), QStringLiteral("Oszczędność (+)"));
    EXPECT_EQ(p.value("tresc2"), QStringLiteral("Przepał (-)"));
    EXPECT_EQ(p.value("wyjazdMZ"), QStringLiteral("0"));
    EXPECT_FALSE(p.contains("mier_kon"));
}

TEST(SettlementPrint, ParametersByMeter) {
    CardRecord card = test::exampleCard();
    card.MIER_POCZ = 1200.5;
    card.MIER_KON = 1350;
    card.ZUZYCIEPN = 149.5;
    card.PRZEPALP = -2.5;
    const auto p = settlementReportParameters(card, vehicle(), settings(), QString(), SettlementMode::Meter,
                                              QLocale::c());
    EXPECT_EQ(p.value("mier_pocz"), QStringLiteral("1,200.50"));
    EXPECT_EQ(p.value("mier_kon"), QStringLiteral("1,350.00"));
    EXPECT_EQ(p.value("zuzyciePN"), QStringLiteral("149.50"));
    EXPECT_EQ(p.value("przepalP"), QStringLiteral("-2.50"));
    EXPECT_EQ(p.value("tresc1"), QStringLiteral("Przepał (-)"));
    EXPECT_FALSE(p.contains("dodPOS"));
}
