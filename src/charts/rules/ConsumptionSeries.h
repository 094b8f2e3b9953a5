#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace korven::charts {

// The figures of one settled card as the charts read them. Years are full years (2009, not 9).
// For a vehicle: the kilometres driven, the fuel actually used and the card's norm in litres per
// 100 km. For a machine: the working time in minutes, the fuel actually used and the card's norm in
// litres per minute.
struct CardFigures {
    int year = 0;
    int month = 0;
    double amount = 0; // km or minutes
    double fuel = 0;   // litres
    double norm = 0;   // l/100 km or l/min
};

// One month of a rate chart. A month without a card, or whose cards drove no kilometres (worked no
// minutes), has no rate: the chart leaves a gap there instead of a false zero. The norm is known for
// every month that has a card.
struct RatePoint {
    int year = 0;
    int month = 0;
    std::optional<double> rate;
    std::optional<double> norm;
};

struct RateSeries {
    std::vector<RatePoint> points; // every month from January of the first year to December of the last
    // The whole period's fuel over its whole distance (time), in the same unit; none without any.
    std::optional<double> average;
};

// Litres per 100 km by month. Several cards of one month are added up; their norm is the one of the
// kilometres driven (a norm changed in the middle of a month gives the weighted one).
RateSeries vehicleRates(const std::vector<CardFigures>& cards, int fromYear, int toYear);
// Litres per hour by month, from working minutes and a norm in litres per minute.
RateSeries machineRates(const std::vector<CardFigures>& cards, int fromYear, int toYear);

// Spans of consecutive months that have a value, as index ranges [first, last] into the points: a
// line is drawn through each span and broken at the gaps.
struct Span {
    int first = 0;
    int last = 0;
};
std::vector<Span> spansOf(const std::vector<std::optional<double>>& values);

// One month's fuel of a kind, group or unit: the sums over its cards.
struct MonthFuel {
    int month = 0;
    double fuel = 0;     // used
    double normFuel = 0; // due by the norm
};

// The twelve months of a year, in order; months without cards hold zero.
std::vector<MonthFuel> yearByMonth(const std::vector<MonthFuel>& sums);

// The year range a chart may show: both years in 2000..2099 (the cards keep two digits), the first
// not after the last, at most 20 years. An empty text when it is fine, else the message.
QString checkYears(int fromYear, int toYear);

// "I.2024", the label of a month on a chart's axis.
QString monthLabel(int year, int month);

} // namespace korven::charts
