#include "equipcards/rules/EquipmentSettlement.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace korven;
using namespace korven::equipcards;

namespace {

EquipmentCard twoStrokeCard() {
    EquipmentCard c;
    c.NORMAPAL = 0.105;
    c.NORMOLM = 0.02;
    c.NORMOLS = 0.025;
    return c;
}

} // namespace

// The recomputation on a card, with the values entered and what it must give.
struct RecomputeCase {
    const char* name;
    EngineKind engine;
    int CZAS;
    double NORMAPAL, NORMOLM, NORMOLS;
    double ZUZYCIEPALF, ILOPOBOLM, ILOPOBOLS;
    double ZUZYCIEPALN, ZUZYCIEOLMN, ZUZYCIEOLSN, POZOSTOLM, POZOSTOLS, OSZCZPAL;
};

class Recompute : public ::testing::TestWithParam<RecomputeCase> {};

TEST_P(Recompute, GivesTheDueQuantitiesAndTheSaving) {
    const RecomputeCase& c = GetParam();
    EquipmentCard card;
    card.CZAS = c.CZAS;
    card.NORMAPAL = c.NORMAPAL;
    card.NORMOLM = c.NORMOLM;
    card.NORMOLS = c.NORMOLS;
    card.ZUZYCIEPALF = c.ZUZYCIEPALF;
    card.ILOPOBOLM = c.ILOPOBOLM;
    card.ILOPOBOLS = c.ILOPOBOLS;
    // What a four-stroke or unknown engine must leave alone.
    card.ZUZYCIEOLMN = 7.77;
    card.ZUZYCIEOLSN = 8.88;
    card.POZOSTOLM = 1.11;
    card.POZOSTOLS = 2.22;
    recompute(card, c.engine);
    EXPECT_DOUBLE_EQ(card.ZUZYCIEPALN, c.ZUZYCIEPALN);
    EXPECT_DOUBLE_EQ(card.ZUZYCIEOLMN, c.ZUZYCIEOLMN);
    EXPECT_DOUBLE_EQ(card.ZUZYCIEOLSN, c.ZUZYCIEOLSN);
    EXPECT_DOUBLE_EQ(card.POZOSTOLM, c.POZOSTOLM);
    EXPECT_DOUBLE_EQ(card.POZOSTOLS, c.POZOSTOLS);
    EXPECT_DOUBLE_EQ(card.OSZCZPAL, c.OSZCZPAL);
}

constexpr EngineKind Two = EngineKind::TwoStroke;
constexpr EngineKind Four = EngineKind::FourStroke;
constexpr EngineKind Other = EngineKind::Unknown;

INSTANTIATE_TEST_SUITE_P(
    Cases, Recompute,
    ::testing::Values(
        // 125 min x 0.105 l/min = 13.125, R1 gives 13.1 (not 13.2: only the hundredth decides).
        RecomputeCase{"FuelDueR1Of13_125", Four, 125, 0.105, 0, 0, 13.1, 0, 0, 13.1, 7.77, 8.88, 1.11, 2.22,
                      0},
        // The actual fuel 10.04 is rounded to 10.0 first: mixture R2(0.2) = 0.2, chain R1(0.25) = 0.3.
        RecomputeCase{"TwoStrokeOilFromRoundedActualFuel", Two, 125, 0.105, 0.02, 0.025, 10.04, 1, 0.5, 13.1,
                      0.2, 0.3, 0.8, 0.2, 3.06},
        // 10.05 rounds up to 10.1 (the 0.50001 offset); the mixture oil 0.202 to 0.2, the chain 0.2525 to
        // 0.3.
        RecomputeCase{"ActualFuelHalfRoundsUp", Two, 0, 0, 0.02, 0.025, 10.05, 0, 0, 0, 0.2, 0.3, -0.2, -0.3,
                      -10.05},
        // 3 x 0.35 is 1.0499999999999998 in double precision: the 0.50001 offset still rounds it up to 1.1.
        RecomputeCase{"OffsetLiftsJustBelowAHalf", Four, 3, 0.35, 0, 0, 0, 0, 0, 1.1, 7.77, 8.88, 1.11, 2.22,
                      1.1},
        // The same for the mixture oil: 0.175 x 0.2 = 0.034999999999999996, R2 gives 0.04.
        RecomputeCase{"MixtureOilOffset", Two, 0, 0, 0.175, 0, 0.2, 0, 0, 0, 0.04, 0, -0.04, 0, -0.2},
        RecomputeCase{"OverconsumptionIsNegative", Four, 100, 0.1, 0, 0, 12.5, 0, 0, 10, 7.77, 8.88, 1.11,
                      2.22, -2.5},
        RecomputeCase{"FourStrokeOilUntouched", Four, 60, 0.2, 0.02, 0.025, 12, 3, 3, 12, 7.77, 8.88, 1.11,
                      2.22, 0},
        RecomputeCase{"UnknownEngineOilUntouched", Other, 60, 0.2, 0.02, 0.025, 12, 3, 3, 12, 7.77, 8.88,
                      1.11, 2.22, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SavingLabel, BlackForASavingOrZeroRedForOverconsumption) {
    EXPECT_EQ(savingLabel(0.0), (SavingLabel{QStringLiteral("Oszczędność (+)"), false}));
    EXPECT_EQ(savingLabel(0.01), (SavingLabel{QStringLiteral("Oszczędność (+)"), false}));
    EXPECT_EQ(savingLabel(-0.01), (SavingLabel{QStringLiteral("Przepał (-)"), true}));
}

TEST(EngineKind, OnlyTwoAndFourAreKnown) {
    EXPECT_EQ(engineKind(QStringLiteral("2")), EngineKind::TwoStroke);
    EXPECT_EQ(engineKind(QStringLiteral(" 4 ")), EngineKind::FourStroke);
    for (const char* other : {"", "3", "x"})
        EXPECT_EQ(engineKind(QLatin1String(other)), EngineKind::Unknown) << other;
}

// --- Fields left in the window ----------------------------------------------------------------

TEST(FieldEntered, RecomputingFieldsRecomputeAndOthersOnlyStore) {
    EquipmentCard card = twoStrokeCard();
    EventOutcome o = fieldEntered(card, Two, "CZAS", QStringLiteral("125"), QLocale::c());
    EXPECT_TRUE(o.ok());
    EXPECT_EQ(o.handling, EventHandling::Recomputed);
    EXPECT_DOUBLE_EQ(card.ZUZYCIEPALN, 13.1);
    EXPECT_EQ(o.label.text, QStringLiteral("Oszczędność (+)"));

    o = fieldEntered(card, Two, "ZUZYCIEPALF", 15.0);
    EXPECT_EQ(o.label, (SavingLabel{QStringLiteral("Przepał (-)"), true}));
    EXPECT_DOUBLE_EQ(card.OSZCZPAL, -1.9);

    o = fieldEntered(card, Two, "IMIENAZ", QStringLiteral("  Jan Kowalski "));
    EXPECT_EQ(o.handling, EventHandling::Stored);
    EXPECT_EQ(card.IMIENAZ, QStringLiteral("Jan Kowalski"));
    o = fieldEntered(card, Two, "DATAS", QStringLiteral("2009-03-31"));
    EXPECT_EQ(card.DATAS, QDate(2009, 3, 31));
}

TEST(FieldEntered, RefusedValuesChangeNothing) {
    struct Case {
        const char* column;
        QVariant value;
    };
    const Case cases[] = {
        {"CZAS", QStringLiteral("abc")},
        {"CZAS", QStringLiteral("12.5")},
        {"ZUZYCIEPALF", QStringLiteral("1,5,0")},
        {"DATAS", QStringLiteral("2009-02-30")},
        {"IMIENAZ", QString(41, QLatin1Char('x'))},
        {"ZUZYCIEPALF", 1e12},
        {"NORMAPAL", 1.0},
        {"OSZCZPAL", 1.0},
        {"NOSUCH", 1.0},
    };
    for (const Case& c : cases) {
        EquipmentCard card = twoStrokeCard();
        card.CZAS = 10;
        const EquipmentCard before = card;
        const EventOutcome o = fieldEntered(card, Two, c.column, c.value, QLocale::c());
        EXPECT_FALSE(o.ok()) << c.column << " " << c.value.toString().toStdString();
        EXPECT_EQ(card.CZAS, before.CZAS);
        EXPECT_DOUBLE_EQ(card.ZUZYCIEPALF, before.ZUZYCIEPALF);
        EXPECT_EQ(card.DATAS, before.DATAS);
        EXPECT_EQ(card.IMIENAZ, before.IMIENAZ);
        EXPECT_DOUBLE_EQ(card.NORMAPAL, before.NORMAPAL);
    }
}

TEST(FieldEntered, AResultBeyondItsColumnIsRefusedNotStored) {
    // A working time that fits its column, times a large norm, gives more fuel than ZUZYCIEPALN holds.
    EquipmentCard card;
    card.NORMAPAL = 2000000;
    const EventOutcome o = fieldEntered(card, Four, "CZAS", 90000);
    EXPECT_EQ(o.handling, EventHandling::Rejected);
    EXPECT_TRUE(o.error.contains(QLatin1String("ZUZYCIEPALN"))) << o.error.toStdString();
    EXPECT_EQ(card.CZAS, 0);
    EXPECT_DOUBLE_EQ(card.ZUZYCIEPALN, 0);
}

// --- New cards --------------------------------------------------------------------------------

TEST(NewEquipmentCard, OilNormsByEngineKind) {
    EquipmentContext m;
    m.KODS = 4;
    m.NRREJ = QStringLiteral("SP 1");
    m.NORMPAL = 0.105;
    m.NORMOLM = 0.02;
    m.NORMOLS = 0.025;
    struct Case {
        const char* engine;
        double NORMOLM, NORMOLS;
        bool null;
    };
    for (const Case c : {Case{"2", 0.02, 0.025, false}, Case{"4", 0, 0, false}, Case{"", 0, 0, true},
                         Case{"3", 0, 0, true}}) {
        m.RODZSILN = QLatin1String(c.engine);
        const NewEquipmentCard n =
            newEquipmentCard(m, 17, 9, 3, QStringLiteral("Jan Nowak"), QDate(2009, 3, 5));
        EXPECT_DOUBLE_EQ(n.card.NORMOLM, c.NORMOLM) << c.engine;
        EXPECT_DOUBLE_EQ(n.card.NORMOLS, c.NORMOLS) << c.engine;
        EXPECT_EQ(n.oilNormsNull, c.null) << c.engine;
        EXPECT_DOUBLE_EQ(n.card.NORMAPAL, 0.105);
        EXPECT_EQ(n.card.KODK, 17);
        EXPECT_EQ(n.card.IMIENAZ, QStringLiteral("Jan Nowak"));
        EXPECT_EQ(keyOf(n.card), (EquipmentCardKey{4, 17, 9, 3}));
    }
}

// --- Saving old cards -------------------------------------------------------------------------

struct SaveCase {
    const char* name;
    int level;
    int cardYear, cardMonth, currentYear, currentMonth;
    bool allowed;
};

class SaveRights : public ::testing::TestWithParam<SaveCase> {};

TEST_P(SaveRights, RestrictedOperatorsChangeOnlyRecentCards) {
    const SaveCase& c = GetParam();
    EXPECT_EQ(maySaveEquipmentCard(c.cardYear, c.cardMonth, c.currentYear, c.currentMonth, c.level),
              c.allowed);
}

INSTANTIATE_TEST_SUITE_P(Cases, SaveRights,
                         ::testing::Values(SaveCase{"Level1ThisMonth", 1, 9, 3, 9, 3, true},
                                           SaveCase{"Level1LastMonth", 1, 9, 2, 9, 3, true},
                                           SaveCase{"Level1TwoMonthsOld", 1, 9, 1, 9, 3, false},
                                           SaveCase{"Level1LastDecemberInJanuary", 1, 8, 12, 9, 1, true},
                                           SaveCase{"Level1LastNovemberInJanuary", 1, 8, 11, 9, 1, false},
                                           SaveCase{"Level1LastDecemberInFebruary", 1, 8, 12, 9, 2, false},
                                           SaveCase{"Level1NextMonth", 1, 9, 4, 9, 3, false},
                                           SaveCase{"Level0AnyCard", 0, 5, 6, 9, 3, true},
                                           SaveCase{"Level99IsRestrictedHere", 99, 9, 1, 9, 3, false}),
                         [](const auto& info) { return std::string(info.param.name); });
