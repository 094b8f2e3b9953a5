#include "tripcards/rules/CardAccess.h"

#include <gtest/gtest.h>

using namespace korven::tripcards;

struct SaveCase {
    int cardYear, cardMonth, currentYear, currentMonth, level;
    bool allowed;
};

void PrintTo(const SaveCase& c, std::ostream* os) {
    *os << "card " << c.cardYear << "-" << c.cardMonth << " in " << c.currentYear << "-" << c.currentMonth
        << " level " << c.level;
}

class SaveRights : public ::testing::TestWithParam<SaveCase> {};

TEST_P(SaveRights, FollowTheAccessLevel) {
    const SaveCase& c = GetParam();
    EXPECT_EQ(maySaveCard(c.cardYear, c.cardMonth, c.currentYear, c.currentMonth, c.level), c.allowed)
        << c.cardYear << "/" << c.cardMonth << " in " << c.currentYear << "/" << c.currentMonth << " level "
        << c.level;
}

INSTANTIATE_TEST_SUITE_P(Cases, SaveRights,
                         ::testing::Values(SaveCase{9, 6, 9, 6, 1, true}, SaveCase{9, 5, 9, 6, 1, true},
                                           SaveCase{9, 4, 9, 6, 1, false}, SaveCase{8, 12, 9, 1, 1, true},
                                           SaveCase{8, 11, 9, 1, 1, false}, SaveCase{8, 12, 9, 2, 1, false},
                                           SaveCase{9, 7, 9, 6, 1, false}, SaveCase{5, 1, 9, 6, 0, true},
                                           SaveCase{5, 1, 9, 6, 99, true}));

TEST(StartValues, AreEditableOnTheFirstCardOrForLevel99) {
    EXPECT_TRUE(startValuesEditable(1, 0));
    EXPECT_FALSE(startValuesEditable(2, 0));
    EXPECT_FALSE(startValuesEditable(2, 1));
    EXPECT_TRUE(startValuesEditable(2, 99));
}
