#pragma once

#include "charts/rules/ConsumptionSeries.h"

#include <QImage>
#include <QString>

#include <vector>

class QChart;

namespace korven::charts {

// What the rate chart shows beside its series: its title and the unit of its values.
struct RateChartText {
    QString title;
    QString unit; // "l/100 km" or "l/h"
};

// The chart of a rate by month: the actual rate broken at months without one, the norm as a second
// line. The caller owns the chart.
QChart* makeRateChart(const RateSeries& series, const RateChartText& text);
// The chart of a year's fuel by month: bars of the fuel used and the fuel due by the norm.
QChart* makeYearChart(const std::vector<MonthFuel>& months, const QString& title);

// Paints a chart into a picture of the given size on a white ground (no window needed). The chart
// is resized to the picture.
QImage renderChart(QChart& chart, const QSize& size);

} // namespace korven::charts
