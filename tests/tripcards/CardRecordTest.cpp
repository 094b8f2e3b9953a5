#include "tripcards/rules/CardRecord.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QStringList>

using namespace korven::tripcards;

TEST(CardColumns, HoldEveryColumnOfTheCardOnceWithItsScale) {
    QStringList expected = {"KODA",      "KODD",      "NRREJ",     "ROKD",       "MIED",       "DATAD",
                            "PRZEBIEG0", "PRZEBIEGM", "PRZEBIEGS", "PRZEBIEG0P", "PRZEBIEGMP", "PRZEBIEGSP",
                            "NORMAP",    "NORMAA",    "NORMAUG",   "NORMAO",     "ZUZYCIEPN",  "ZUZYCIEP",
                            "ZUZYCIEON", "ZUZYCIEO",  "DODATKIP",  "RAZEMP",     "PRZEPALP",   "PRZEPALO",
                            "WYJAZDMZ",  "WYJAZDP",   "WYJAZDF",   "WYJAZDIN",   "MASAPR",     "MIER_POCZ",
                            "MIER_KON"};
    for (const char* base : {"DODPOS", "DODNAP", "DODUR1", "DODUR2", "DODMIE", "DODA", "DODG", "DODUG",
                             "DODOZ", "DODK", "DODT", "DODZ", "DODSZ", "DODH"})
        for (const char* suffix : {"", "_1", "_2", "_3"})
            expected << QLatin1String(base) + QLatin1String(suffix);

    QStringList names;
    for (const CardColumn& c : cardColumns()) {
        names << QLatin1String(c.name);
        const QString name = QLatin1String(c.name);
        if (c.type == ColumnType::Decimal) {
            EXPECT_EQ(c.scale, name.endsWith(QLatin1String("_1")) ? 5 : 2) << c.name;
        }
    }
    EXPECT_EQ(names, expected);
    EXPECT_EQ(findCardColumn(u"przebiegm"), findCardColumn(u"PRZEBIEGM"));
    EXPECT_EQ(findCardColumn(u"NOPE"), nullptr);
}

struct AssignCase {
    const char* column;
    double assigned;
    double stored;
};

void PrintTo(const AssignCase& c, std::ostream* os) {
    *os << c.column << " = " << c.assigned;
}

class RoundsOnAssignment : public ::testing::TestWithParam<AssignCase> {};

TEST_P(RoundsOnAssignment, ToTheColumnsScale) {
    const AssignCase& c = GetParam();
    CardRecord card;
    const CardColumn* column = findCardColumn(QLatin1String(c.column));
    ASSERT_NE(column, nullptr);
    ASSERT_TRUE(setCardValue(card, *column, c.assigned));
    EXPECT_DOUBLE_EQ(cardValue(card, *column).toDouble(), c.stored) << c.column;
    EXPECT_FALSE(std::signbit(cardValue(card, *column).toDouble())) << "no negative zero is stored";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RoundsOnAssignment,
    ::testing::Values(AssignCase{"PRZEBIEGM", 1.005, 1.01}, AssignCase{"DODPOS_1", 0.123455, 0.12346},
                      AssignCase{"DODPOS_1", 1.0 / 3, 0.33333}, AssignCase{"RAZEMP", 300.1 + 45.2, 345.3},
                      AssignCase{"PRZEPALO", -0.001, 0.0}, AssignCase{"DODUR1_1", 2.123456, 2.12346}));

TEST(RoundsOnAssignment, HalvesOfNegativesGoAwayFromZero) {
    CardRecord card;
    card.PRZEPALP = -2.675;
    EXPECT_DOUBLE_EQ(card.PRZEPALP, -2.68);
}

TEST(CardValues, RefuseWhatDoesNotFitTheType) {
    CardRecord card;
    card.WYJAZDP = 3;
    EXPECT_FALSE(setCardValue(card, *findCardColumn(u"WYJAZDP"), 2.5));
    EXPECT_FALSE(setCardValue(card, *findCardColumn(u"DATAD"), 12));
    EXPECT_FALSE(setCardValue(card, *findCardColumn(u"PRZEBIEGM"), QStringLiteral("abc")));
    EXPECT_EQ(card.WYJAZDP, 3);
    EXPECT_TRUE(setCardValue(card, *findCardColumn(u"WYJAZDP"), QVariant()));
    EXPECT_EQ(card.WYJAZDP, 0) << "a null number is 0";
}

TEST(Allowances, AreInSettlementOrderWithTheFourTimeAllowancesFirst) {
    QStringList order;
    for (const Allowance& a : allowances()) {
        order << QLatin1String(a.base);
        EXPECT_EQ(a.timeBased, order.size() <= timeAllowanceCount) << a.base;
    }
    EXPECT_EQ(order, (QStringList{"DODPOS", "DODNAP", "DODUR1", "DODUR2", "DODMIE", "DODA", "DODG", "DODUG",
                                  "DODOZ", "DODK", "DODT", "DODZ", "DODSZ", "DODH"}));
    EXPECT_STREQ(allowances()[towingIndex].base, "DODH");
    EXPECT_STREQ(allowances()[winterIndex].base, "DODZ");
}
