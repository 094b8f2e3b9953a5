#include "core/NumberFormat.h"

#include <gtest/gtest.h>

using namespace korven;

TEST(NumberFormat, DisplaysLikeTheCardColumns) {
    const QLocale pl(QLocale::Polish, QLocale::Poland);
    const QString nb = QString(QChar(0x00A0)); // the Polish thousands separator
    struct Case {
        double value;
        int p, d;
        QString expected;
    } cases[] = {
        {0, 10, 2, QStringLiteral("0,00")},
        {1234567.891, 10, 2,
         QStringLiteral("1") + nb + QStringLiteral("234") + nb + QStringLiteral("567,89")},
        {-12.5, 7, 2, QStringLiteral("-12,50")},
        {30, 6, 2, QStringLiteral("30,00")},
        {0.555, 6, 3, QStringLiteral("0,555")},
        {12345.678, 6, 2,
         QStringLiteral("12") + nb + QStringLiteral("345,70")}, // six significant digits first
        {5, 4, 0, QStringLiteral("5")},
        {-0.001, 7, 2, QStringLiteral("0,00")},
        {123456789, 6, 2, QStringLiteral("1,23457E+08")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatNumber(c.value, c.p, c.d, pl), c.expected) << c.value << " N " << c.p << "." << c.d;

    const QLocale en(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(formatNumber(1234.5, 10, 2, en), QStringLiteral("1,234.50"));
    EXPECT_EQ(formatNumberOrEmpty(0, 7, 2, pl), QString());
    EXPECT_EQ(formatNumberOrEmpty(2, 7, 2, pl), QStringLiteral("2,00"));
    EXPECT_EQ(formatGeneral(12.25, pl), QStringLiteral("12,25"));
    EXPECT_EQ(formatGeneral(270, pl), QStringLiteral("270"));
}

TEST(NumberFormat, ParsesWhatOperatorsType) {
    const QLocale pl(QLocale::Polish, QLocale::Poland);
    struct Case {
        const char* text;
        bool ok;
        double value;
    } cases[] = {{"12,5", true, 12.5}, {"12.5", true, 12.5}, {" 1 234,50 ", true, 1234.5}, {"-3", true, -3},
                 {"", false, 0},       {"abc", false, 0},    {"1,2,3", false, 0},          {"12x", false, 0},
                 {"1e5", false, 0},    {",5", true, 0.5}};
    for (const Case& c : cases) {
        double v = 0;
        EXPECT_EQ(parseNumber(QString::fromUtf8(c.text), v, pl), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, c.value) << c.text;
        }
    }
}
