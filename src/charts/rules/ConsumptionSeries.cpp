#include "charts/rules/ConsumptionSeries.h"

#include <map>
#include <utility>

namespace korven::charts {

namespace {

struct MonthSums {
    double amount = 0;
    double fuel = 0;
    double normTimesAmount = 0;
    double lastNorm = 0;
};

RateSeries rates(const std::vector<CardFigures>& cards, int fromYear, int toYear, double perUnits,
                 double normScale) {
    std::map<std::pair<int, int>, MonthSums> months;
    for (const CardFigures& c : cards) {
        if (c.year < fromYear || c.year > toYear || c.month < 1 || c.month > 12) continue;
        MonthSums& m = months[{c.year, c.month}];
        // A card with a negative distance or time is a typing slip; it adds no distance to the month.
        const double amount = c.amount > 0 ? c.amount : 0;
        m.amount += amount;
        m.fuel += c.fuel;
        m.normTimesAmount += c.norm * amount;
        m.lastNorm = c.norm;
    }
    RateSeries series;
    double totalAmount = 0;
    double totalFuel = 0;
    for (int y = fromYear; y <= toYear; ++y)
        for (int mo = 1; mo <= 12; ++mo) {
            RatePoint p{y, mo, std::nullopt, std::nullopt};
            const auto it = months.find({y, mo});
            if (it != months.end()) {
                const MonthSums& m = it->second;
                if (m.amount > 0) {
                    p.rate = m.fuel * perUnits / m.amount;
                    p.norm = m.normTimesAmount / m.amount * normScale;
                    totalAmount += m.amount;
                    totalFuel += m.fuel;
                } else {
                    p.norm = m.lastNorm * normScale;
                }
            }
            series.points.push_back(p);
        }
    if (totalAmount > 0) series.average = totalFuel * perUnits / totalAmount;
    return series;
}

} // namespace

RateSeries vehicleRates(const std::vector<CardFigures>& cards, int fromYear, int toYear) {
    return rates(cards, fromYear, toYear, 100.0, 1.0);
}

RateSeries machineRates(const std::vector<CardFigures>& cards, int fromYear, int toYear) {
    return rates(cards, fromYear, toYear, 60.0, 60.0);
}

std::vector<Span> spansOf(const std::vector<std::optional<double>>& values) {
    std::vector<Span> spans;
    for (int i = 0; i < static_cast<int>(values.size()); ++i) {
        if (!values[static_cast<std::size_t>(i)]) continue;
        if (!spans.empty() && spans.back().last == i - 1)
            spans.back().last = i;
        else
            spans.push_back({i, i});
    }
    return spans;
}

std::vector<MonthFuel> yearByMonth(const std::vector<MonthFuel>& sums) {
    std::vector<MonthFuel> months;
    for (int m = 1; m <= 12; ++m)
        months.push_back({m, 0, 0});
    for (const MonthFuel& s : sums) {
        if (s.month < 1 || s.month > 12) continue;
        months[static_cast<std::size_t>(s.month - 1)].fuel += s.fuel;
        months[static_cast<std::size_t>(s.month - 1)].normFuel += s.normFuel;
    }
    return months;
}

QString checkYears(int fromYear, int toYear) {
    if (fromYear < 2000 || fromYear > 2099 || toYear < 2000 || toYear > 2099)
        return QStringLiteral("Lata wykresu muszą mieścić się w zakresie 2000-2099.");
    if (fromYear > toYear) return QStringLiteral("Rok początkowy nie może być późniejszy niż rok końcowy.");
    if (toYear - fromYear >= 20) return QStringLiteral("Wykres obejmuje najwyżej 20 lat.");
    return {};
}

QString monthLabel(int year, int month) {
    static const char* const roman[] = {"I",   "II",   "III", "IV", "V",  "VI",
                                        "VII", "VIII", "IX",  "X",  "XI", "XII"};
    if (month < 1 || month > 12) return QString::number(year);
    return QStringLiteral("%1.%2").arg(QLatin1String(roman[month - 1])).arg(year);
}

} // namespace korven::charts
