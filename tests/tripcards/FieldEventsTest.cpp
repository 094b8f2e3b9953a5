#include "CardFixtures.h"

#include "tripcards/rules/FieldEvents.h"

#include <gtest/gtest.h>

using namespace korven::tripcards;
using namespace korven::tripcards::test;

struct HandlingCase {
    SettlementMode mode;
    const char* column;
    FieldHandling handling;
};

void PrintTo(const HandlingCase& c, std::ostream* os) {
    *os << (c.mode == SettlementMode::Norms ? "norms " : "meter ") << c.column;
}

class FieldHandlingOf : public ::testing::TestWithParam<HandlingCase> {};

TEST_P(FieldHandlingOf, TheWindowsFields) {
    const HandlingCase& c = GetParam();
    CardRecord card = exampleCard();
    const FieldOutcome out = applyFieldEvent(card, dieselVehicle(), QLatin1String(c.column), 1, c.mode);
    EXPECT_EQ(out.handling, c.handling) << c.column;
    if (c.handling == FieldHandling::NotAnInput) {
        EXPECT_FALSE(out.error.isEmpty());
        if (!findCardColumn(QLatin1String(c.column))) return;
        EXPECT_DOUBLE_EQ(cardValue(card, *findCardColumn(QLatin1String(c.column))).toDouble(),
                         cardValue(exampleCard(), *findCardColumn(QLatin1String(c.column))).toDouble())
            << "nothing stored";
    }
}

constexpr auto N = SettlementMode::Norms;
constexpr auto M = SettlementMode::Meter;
constexpr auto Rc = FieldHandling::Recomputed;
constexpr auto No = FieldHandling::NoRule;
constexpr auto Not = FieldHandling::NotAnInput;

INSTANTIATE_TEST_SUITE_P(Cases, FieldHandlingOf,
                         ::testing::Values(HandlingCase{N, "PRZEBIEGM", Rc}, HandlingCase{N, "DODUR2", Rc},
                                           HandlingCase{N, "MASAPR", Rc}, HandlingCase{N, "WYJAZDP", No},
                                           HandlingCase{N, "DODATKIP", Not}, HandlingCase{N, "DODPOS_2", Not},
                                           HandlingCase{N, "NORMAP", Not}, HandlingCase{N, "MIER_KON", Not},
                                           HandlingCase{M, "MIER_KON", Rc}, HandlingCase{M, "MIER_POCZ", No},
                                           HandlingCase{M, "ZUZYCIEPN", No}, HandlingCase{M, "WYJAZDIN", No},
                                           HandlingCase{M, "DODPOS", Not}, HandlingCase{M, "PRZEBIEGMP", Not},
                                           HandlingCase{N, "NOSUCH", Not}));

struct InputCase {
    const char* column;
    const char* locale;
    const char* typed;
    bool taken;
    QVariant value;
};

void PrintTo(const InputCase& c, std::ostream* os) {
    *os << c.column << " \"" << c.typed << "\" " << c.locale;
}

class TypedInput : public ::testing::TestWithParam<InputCase> {};

TEST_P(TypedInput, IsReadOrRefusedWithAMessage) {
    const InputCase& c = GetParam();
    const ParsedInput p = parseFieldInput(*findCardColumn(QLatin1String(c.column)),
                                          QString::fromUtf8(c.typed), QLocale(QLatin1String(c.locale)));
    EXPECT_EQ(p.ok(), c.taken) << c.typed;
    if (c.taken)
        EXPECT_EQ(p.value, c.value) << c.typed;
    else
        EXPECT_TRUE(p.error.contains(QString::fromUtf8(c.typed).trimmed()) ||
                    p.error.contains(columnCaption(*findCardColumn(QLatin1String(c.column)))))
            << p.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, TypedInput,
                         ::testing::Values(InputCase{"PRZEBIEGM", "pl_PL", "12,5", true, 12.5},
                                           InputCase{"PRZEBIEGM", "pl_PL", "12.5", true, 12.5},
                                           InputCase{"PRZEBIEGM", "C", " 1000 ", true, 1000.0},
                                           InputCase{"PRZEBIEGM", "C", "", true, QVariant()},
                                           InputCase{"PRZEBIEGM", "C", "abc", false, {}},
                                           InputCase{"PRZEBIEGM", "C", "12km", false, {}},
                                           InputCase{"PRZEBIEGM", "C", "nan", false, {}},
                                           InputCase{"PRZEBIEGM", "C", "99999999999", false, {}},
                                           InputCase{"DODUR1_1", "C", "21474.83647", true, 21474.83647},
                                           InputCase{"DODUR1_1", "C", "21474.83648", false, {}},
                                           InputCase{"WYJAZDP", "C", "2.5", false, {}},
                                           InputCase{"WYJAZDP", "C", "3", true, 3.0},
                                           InputCase{"DATAD", "C", "2009-06-15", true, QDate(2009, 6, 15)},
                                           InputCase{"DATAD", "C", "2009-02-30", false, {}},
                                           InputCase{"DATAD", "C", "15.06.2009", false, {}},
                                           InputCase{"DATAD", "C", "", true, QVariant()}));

TEST(FieldEvents, ARefusedValueChangesNothingAndRunsNoRule) {
    CardRecord card = exampleCard();
    card.PRZEBIEGM = 1000;
    const FieldOutcome out = applyFieldEvent(card, dieselVehicle(), u"PRZEBIEGM", QStringLiteral("abc"));
    EXPECT_EQ(out.handling, FieldHandling::Rejected);
    EXPECT_FALSE(out.error.isEmpty());
    EXPECT_DOUBLE_EQ(card.PRZEBIEGM, 1000);
    EXPECT_DOUBLE_EQ(card.ZUZYCIEPN, 0) << "no rule ran";
    EXPECT_EQ(applyFieldEvent(card, dieselVehicle(), u"DATAD", 42).handling, FieldHandling::Rejected);
    EXPECT_EQ(card.DATAD, QDate(2009, 6, 15));
}

TEST(FieldEvents, BoundFieldRunsTheRuleOnTheValueInTheRecord) {
    CardRecord card = exampleCard();
    card.PRZEBIEGM = 1000;
    const FieldOutcome out = fieldLeft(card, dieselVehicle(), u"PRZEBIEGM");
    EXPECT_TRUE(out.ok());
    EXPECT_DOUBLE_EQ(card.ZUZYCIEPN, 300);
    EXPECT_EQ(out.oilLabel.text, QStringLiteral("Oszczędność (+)"));
}

TEST(FieldEvents, TypedTextIsReadBeforeTheRuleRuns) {
    CardRecord card = exampleCard();
    const FieldOutcome out = applyFieldEvent(card, dieselVehicle(), u"PRZEBIEGM", QStringLiteral(" 1000 "));
    ASSERT_TRUE(out.ok()) << out.error.toStdString();
    EXPECT_DOUBLE_EQ(card.ZUZYCIEPN, 300);
    EXPECT_EQ(applyFieldEvent(card, dieselVehicle(), u"DATAD", QStringLiteral("2009-02-30")).handling,
              FieldHandling::Rejected);
    EXPECT_EQ(card.DATAD, QDate(2009, 6, 15));
}

TEST(FieldEvents, FieldsWithoutARuleOnlyStoreTheirValue) {
    CardRecord card = exampleCard();
    ASSERT_TRUE(applyFieldEvent(card, dieselVehicle(), u"PRZEBIEGM", 1000).ok());
    const FieldOutcome out = storeFieldValue(card, u"ZUZYCIEP", 400);
    EXPECT_EQ(out.handling, FieldHandling::NoRule);
    EXPECT_DOUBLE_EQ(card.ZUZYCIEP, 400);
    EXPECT_DOUBLE_EQ(card.PRZEPALP, 0) << "nothing recomputed until a recomputing field or the button";
    EXPECT_EQ(storeFieldValue(card, u"WYJAZDF", QStringLiteral("x")).handling, FieldHandling::Rejected);
    ASSERT_TRUE(recalculate(card, dieselVehicle()).ok());
    EXPECT_DOUBLE_EQ(card.PRZEPALP, -100);
}
