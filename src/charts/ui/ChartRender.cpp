#include "charts/ui/ChartRender.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QGraphicsScene>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPen>
#include <QValueAxis>

#include <algorithm>

namespace korven::charts {

namespace {

const QColor kActual(0x1f, 0x5f, 0xa8);
const QColor kNorm(0xc0, 0x39, 0x2b);

qreal monthTime(int year, int month) {
    return static_cast<qreal>(QDateTime(QDate(year, month, 1), QTime(0, 0)).toMSecsSinceEpoch());
}

// One line series per span of months with a value, all of one colour; only the first is named in the
// legend.
double addRuns(QChart& chart, const std::vector<RatePoint>& points,
               const std::vector<std::optional<double>>& values, const QString& name, const QColor& colour,
               Qt::PenStyle style, QAbstractAxis* x, QAbstractAxis* y) {
    double highest = 0;
    bool first = true;
    for (const Span& run : spansOf(values)) {
        auto* line = new QLineSeries();
        QPen pen(colour);
        pen.setWidthF(2.0);
        pen.setStyle(style);
        line->setPen(pen);
        line->setPointsVisible(true);
        line->setName(name);
        for (int i = run.first; i <= run.last; ++i) {
            const auto idx = static_cast<std::size_t>(i);
            line->append(monthTime(points[idx].year, points[idx].month), *values[idx]);
            highest = std::max(highest, *values[idx]);
        }
        chart.addSeries(line);
        line->attachAxis(x);
        line->attachAxis(y);
        if (!first) {
            const auto markers = chart.legend()->markers(line);
            for (auto* m : markers)
                m->setVisible(false);
        }
        first = false;
    }
    return highest;
}

void niceRange(QValueAxis& axis, double highest) {
    axis.setRange(0, highest > 0 ? highest * 1.15 : 1.0);
    axis.applyNiceNumbers();
    axis.setLabelFormat(QStringLiteral("%.1f"));
}

} // namespace

QChart* makeRateChart(const RateSeries& series, const RateChartText& text) {
    auto* chart = new QChart();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setTitle(text.title);
    chart->setLocale(QLocale(QLocale::Polish));
    chart->setLocalizeNumbers(true);
    chart->legend()->setAlignment(Qt::AlignBottom);

    auto* x = new QDateTimeAxis();
    x->setFormat(QStringLiteral("MM.yyyy"));
    x->setTitleText(QStringLiteral("Miesiąc"));
    auto* y = new QValueAxis();
    y->setTitleText(text.unit);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    if (!series.points.empty()) {
        const RatePoint& a = series.points.front();
        const RatePoint& b = series.points.back();
        x->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(monthTime(a.year, a.month))),
                    QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(monthTime(b.year, b.month))));
        const int months = static_cast<int>(series.points.size());
        x->setTickCount(std::clamp(months / 3 + 1, 2, 13));
    }

    std::vector<std::optional<double>> rates, norms;
    for (const RatePoint& p : series.points) {
        rates.push_back(p.rate);
        norms.push_back(p.norm);
    }
    // The consumption first, so that the legend names it first.
    const double actualHigh = addRuns(*chart, series.points, rates, QStringLiteral("Zużycie rzeczywiste"),
                                      kActual, Qt::SolidLine, x, y);
    const double normHigh =
        addRuns(*chart, series.points, norms, QStringLiteral("Norma"), kNorm, Qt::DashLine, x, y);
    const double high = std::max(actualHigh, normHigh);
    niceRange(*y, high);
    return chart;
}

QChart* makeYearChart(const std::vector<MonthFuel>& months, const QString& title) {
    auto* chart = new QChart();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setTitle(title);
    chart->setLocale(QLocale(QLocale::Polish));
    chart->setLocalizeNumbers(true);
    chart->legend()->setAlignment(Qt::AlignBottom);

    auto* used = new QBarSet(QStringLiteral("Zużycie rzeczywiste [l]"));
    used->setColor(kActual);
    auto* due = new QBarSet(QStringLiteral("Zużycie wg normy [l]"));
    due->setColor(kNorm);
    QStringList categories;
    double highest = 0;
    for (const MonthFuel& m : months) {
        *used << m.fuel;
        *due << m.normFuel;
        highest = std::max({highest, m.fuel, m.normFuel});
        categories << monthLabel(0, m.month).section(QLatin1Char('.'), 0, 0);
    }
    auto* bars = new QBarSeries();
    bars->append(used);
    bars->append(due);
    chart->addSeries(bars);

    auto* x = new QBarCategoryAxis();
    x->append(categories);
    x->setTitleText(QStringLiteral("Miesiąc"));
    auto* y = new QValueAxis();
    y->setTitleText(QStringLiteral("litry"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    bars->attachAxis(x);
    bars->attachAxis(y);
    niceRange(*y, highest);
    y->setLabelFormat(QStringLiteral("%.0f"));
    return chart;
}

QImage renderChart(QChart& chart, const QSize& size) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QGraphicsScene scene;
    const bool owned = chart.scene() == nullptr;
    if (owned) scene.addItem(&chart);
    QGraphicsScene* s = chart.scene();
    chart.setGeometry(QRectF(QPointF(0, 0), QSizeF(size)));
    s->setSceneRect(chart.geometry());
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        s->render(&painter, QRectF(QPointF(0, 0), QSizeF(size)), chart.geometry());
    }
    // The chart goes back to its owner outside the scene of this call.
    if (owned) scene.removeItem(&chart);
    return image;
}

} // namespace korven::charts
