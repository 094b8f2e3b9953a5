#include "core/Rounding.h"

#include <gtest/gtest.h>

using namespace korven;

struct RoundCase {
    double (*fn)(double);
    const char* name;
    double input;
    double expected;
};

class RoundingTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundingTest, RoundsAsTheProgramDoes) {
    const RoundCase& c = GetParam();
    EXPECT_DOUBLE_EQ(c.fn(c.input), c.expected) << c.name << "(" << c.input << ")";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RoundingTest,
    ::testing::Values(RoundCase{R2, "R2", 2.345, 2.35}, RoundCase{R2, "R2", -2.345, -2.35},
                      RoundCase{R1, "R1", 2.345, 2.3}, RoundCase{R5, "R5", 1.234565, 1.23457},
                      RoundCase{R0, "R0", 2.5, 3}, RoundCase{R0, "R0", 2.45, 2},
                      RoundCase{R0, "R0", -2.5, -3}, RoundCase{R0, "R0", 12.46, 12},
                      RoundCase{R0, "R0", 12.5, 13},
                      // The offset is 0.50001: values a hair below a half still go up.
                      RoundCase{R1, "R1", 0.049999, 0.1}, RoundCase{R1, "R1", 13.125, 13.1},
                      RoundCase{R2, "R2", 0.0, 0.0}, RoundCase{R2, "R2", -0.004, 0.0},
                      RoundCase{R2, "R2", -0.005, -0.01}, RoundCase{R1, "R1", -13.15, -13.2}));

TEST(RoundToScale, KeepsDecimalFractionsOnTheirDecimal) {
    EXPECT_DOUBLE_EQ(roundToScale(2.675, 2), 2.68);
    EXPECT_DOUBLE_EQ(roundToScale(-2.675, 2), -2.68);
    EXPECT_DOUBLE_EQ(roundToScale(1.005, 2), 1.01);
    EXPECT_DOUBLE_EQ(roundToScale(0.123455, 5), 0.12346);
    EXPECT_DOUBLE_EQ(roundToScale(0.1 + 0.2, 2), 0.3);
    EXPECT_DOUBLE_EQ(roundToScale(1234567.891, 2), 1234567.89);
}
