#include "core/Period.h"

#include <gtest/gtest.h>

using namespace korven;

TEST(Period, MonthNames) {
    EXPECT_EQ(monthName(0), QStringLiteral("Bil.Otw. "));
    EXPECT_EQ(monthName(1), QStringLiteral("Styczeń "));
    EXPECT_EQ(monthName(10), QStringLiteral("Październik "));
    EXPECT_EQ(monthName(12), QStringLiteral("Grudzień "));
    EXPECT_EQ(monthName(13), QString(15, QLatin1Char('-')));
    EXPECT_EQ(monthName(-1), QString(15, QLatin1Char('-')));
}

TEST(Period, TwoDigits) {
    EXPECT_EQ(twoDigits(5), QStringLiteral("05"));
    EXPECT_EQ(twoDigits(0), QStringLiteral("00"));
    EXPECT_EQ(twoDigits(9), QStringLiteral("09"));
    EXPECT_EQ(twoDigits(26), QStringLiteral("26"));
    EXPECT_EQ(twoDigits(123), QStringLiteral("12"));
}

TEST(Period, DaysInMonth) {
    EXPECT_EQ(daysInMonth(8, 2), 29);
    EXPECT_EQ(daysInMonth(9, 2), 28);
    EXPECT_EQ(daysInMonth(0, 2), 29);
    EXPECT_EQ(daysInMonth(9, 4), 30);
    EXPECT_EQ(daysInMonth(9, 11), 30);
    EXPECT_EQ(daysInMonth(9, 12), 31);
    EXPECT_EQ(daysInMonth(9, 13), 31);
}

TEST(Period, TitleSuffixAndPadding) {
    EXPECT_EQ(titleSuffix(9, 3), QStringLiteral("Marzec 2009"));
    EXPECT_EQ(titleSuffix(26, 12), QStringLiteral("Grudzień 2026"));
    EXPECT_EQ(padCut(QStringLiteral("abc"), 5), QStringLiteral("abc  "));
    EXPECT_EQ(padCut(QStringLiteral("abcdefg"), 5), QStringLiteral("abcde"));
}
