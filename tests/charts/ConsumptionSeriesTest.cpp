// The series of the consumption charts, from card figures.

#include "charts/rules/ConsumptionSeries.h"

#include <gtest/gtest.h>

using namespace korven::charts;

namespace {

struct RateCase {
    const char* name;
    std::vector<CardFigures> cards;
    int year, month; // the month looked at, in 2024
    std::optional<double> rate, norm;
};

void expectNear(const std::optional<double>& got, const std::optional<double>& want) {
    ASSERT_EQ(got.has_value(), want.has_value());
    if (want) {
        EXPECT_NEAR(*got, *want, 1e-9);
    }
}

TEST(VehicleRates, MonthsOfACard) {
    const RateCase cases[] = {
        {"plain month", {{2024, 3, 1000, 300, 30}}, 2024, 3, 30.0, 30.0},
        {"month without km keeps its norm but has no rate",
         {{2024, 3, 0, 5, 30}},
         2024,
         3,
         std::nullopt,
         30.0},
        {"month without a card is a gap", {{2024, 3, 1000, 300, 30}}, 2024, 4, std::nullopt, std::nullopt},
        {"two cards of a month add up, the norm weighted by km",
         {{2024, 5, 600, 200, 30}, {2024, 5, 400, 100, 25}},
         2024,
         5,
         30.0,
         28.0},
        {"a card of a month without km does not pull the norm",
         {{2024, 5, 1000, 250, 30}, {2024, 5, 0, 0, 20}},
         2024,
         5,
         25.0,
         30.0},
        {"negative km (a typing slip) counts as none",
         {{2024, 6, -500, 40, 30}},
         2024,
         6,
         std::nullopt,
         30.0},
        {"fuel without km still no rate", {{2024, 7, 0, 80, 12}}, 2024, 7, std::nullopt, 12.0},
        {"last month of the range", {{2025, 12, 200, 17, 8.5}}, 2025, 12, 8.5, 8.5},
    };
    for (const RateCase& c : cases) {
        SCOPED_TRACE(c.name);
        const RateSeries s = vehicleRates(c.cards, 2024, 2025);
        ASSERT_EQ(s.points.size(), 24u) << "every month of both years";
        const RatePoint& p = s.points[static_cast<std::size_t>((c.year - 2024) * 12 + c.month - 1)];
        EXPECT_EQ(p.year, c.year);
        EXPECT_EQ(p.month, c.month);
        expectNear(p.rate, c.rate);
        expectNear(p.norm, c.norm);
    }
}

TEST(VehicleRates, NormChangeShowsAsAStepAndTheAverageIsOverTheWholePeriod) {
    const std::vector<CardFigures> cards = {{2023, 12, 100, 40, 30}, // outside the range
                                            {2024, 1, 1000, 320, 30},
                                            {2024, 2, 1000, 300, 30},
                                            {2024, 3, 500, 130, 26},
                                            {2026, 1, 100, 1, 1}};
    const RateSeries s = vehicleRates(cards, 2024, 2024);
    ASSERT_EQ(s.points.size(), 12u);
    EXPECT_DOUBLE_EQ(*s.points[1].norm, 30);
    EXPECT_DOUBLE_EQ(*s.points[2].norm, 26);
    EXPECT_DOUBLE_EQ(*s.points[2].rate, 26);
    ASSERT_TRUE(s.average);
    EXPECT_DOUBLE_EQ(*s.average, 750.0 * 100 / 2500) << "not the mean of the monthly rates";
    EXPECT_FALSE(vehicleRates({}, 2024, 2024).average);
    EXPECT_FALSE(vehicleRates({{2024, 1, 0, 50, 30}}, 2024, 2024).average) << "fuel without km";
}

TEST(MachineRates, LitresPerHourFromMinutes) {
    // 90 minutes, 3 litres: 2 l/h; the norm 0.05 l/min is 3 l/h.
    const RateSeries s = machineRates({{2024, 2, 90, 3, 0.05}, {2024, 3, 0, 0, 0.05}}, 2024, 2024);
    EXPECT_DOUBLE_EQ(*s.points[1].rate, 2.0);
    EXPECT_DOUBLE_EQ(*s.points[1].norm, 3.0);
    EXPECT_FALSE(s.points[2].rate) << "a month without work";
    EXPECT_DOUBLE_EQ(*s.points[2].norm, 3.0);
    EXPECT_DOUBLE_EQ(*s.average, 2.0);
}

TEST(Spans, LinesBreakAtGaps) {
    const std::optional<double> _;
    struct Case {
        std::vector<std::optional<double>> values;
        std::vector<std::pair<int, int>> spans;
    } cases[] = {
        {{}, {}},
        {{_, _}, {}},
        {{1.0}, {{0, 0}}},
        {{1.0, 2.0, _, 3.0}, {{0, 1}, {3, 3}}},
        {{_, 1.0, 1.0, 1.0, _}, {{1, 3}}},
        {{1.0, _, 1.0, _, 1.0}, {{0, 0}, {2, 2}, {4, 4}}},
    };
    for (const Case& c : cases) {
        std::vector<std::pair<int, int>> got;
        for (const Span& r : spansOf(c.values))
            got.emplace_back(r.first, r.last);
        EXPECT_EQ(got, c.spans);
    }
}

TEST(YearByMonth, TwelveMonthsMissingOnesZero) {
    const std::vector<MonthFuel> months =
        yearByMonth({{3, 100, 90}, {12, 5, 6}, {3, 1, 2}, {13, 1000, 1000}, {0, 1000, 1000}});
    ASSERT_EQ(months.size(), 12u);
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(months[static_cast<std::size_t>(m - 1)].month, m);
    EXPECT_DOUBLE_EQ(months[2].fuel, 101) << "rows of one month add up";
    EXPECT_DOUBLE_EQ(months[2].normFuel, 92);
    EXPECT_DOUBLE_EQ(months[11].fuel, 5);
    EXPECT_DOUBLE_EQ(months[0].fuel, 0);
    double total = 0;
    for (const MonthFuel& m : months)
        total += m.fuel;
    EXPECT_DOUBLE_EQ(total, 106) << "months outside 1..12 are left out";
}

TEST(CheckYears, RangeTheCardsCanHold) {
    struct Case {
        int from, to;
        bool ok;
    } cases[] = {{2024, 2024, true},  {2000, 2019, true},  {2080, 2099, true}, {2025, 2024, false},
                 {1999, 2004, false}, {2090, 2100, false}, {2000, 2020, false}};
    for (const Case& c : cases)
        EXPECT_EQ(checkYears(c.from, c.to).isEmpty(), c.ok) << c.from << "-" << c.to;
}

TEST(MonthLabel, RomanMonthAndYear) {
    EXPECT_EQ(monthLabel(2024, 1), QStringLiteral("I.2024"));
    EXPECT_EQ(monthLabel(2024, 9), QStringLiteral("IX.2024"));
    EXPECT_EQ(monthLabel(2024, 12), QStringLiteral("XII.2024"));
    EXPECT_EQ(monthLabel(2024, 13), QStringLiteral("2024"));
}

} // namespace
