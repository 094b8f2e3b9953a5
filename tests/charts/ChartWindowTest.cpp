// The chart pictures and the chart window over an embedded database: drawn offscreen, chosen,
// printed to PNG and PDF through the output options.

#include "charts/ui/ChartRender.h"
#include "charts/ui/Wykres.h"
#include "reports/ui/ReportPrint.h"
#include "support/GuiSupport.h"
#include "support/TestSupport.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace korven;
using namespace korven::charts;
using namespace korven::test;

namespace {

// Saves a picture beside the screenshots when KORVEN_SCREENSHOT_DIR is set, for a person to look at.
void keep(const QImage& image, const QString& name) {
    const QString dir = qEnvironmentVariable("KORVEN_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    image.save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

// Pixels near a colour: the lines and bars of a series.
int pixelsNear(const QImage& image, QColor colour) {
    int n = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                    std::abs(c.blue() - colour.blue()) <
                60)
                ++n;
        }
    return n;
}

const QColor kBlue(0x1f, 0x5f, 0xa8);
const QColor kRed(0xc0, 0x39, 0x2b);

TEST(ChartPictures, RateAndYearChartsAreDrawn) {
    // A year with a gap (April, May) and a norm change in September.
    std::vector<CardFigures> cards;
    for (int m = 1; m <= 12; ++m)
        if (m != 4 && m != 5) cards.push_back({2024, m, 1000.0 + m * 50, 280.0 + m * 8, m < 9 ? 30.0 : 27.0});
    std::unique_ptr<QChart> rate(
        makeRateChart(vehicleRates(cards, 2024, 2024), {"Zużycie paliwa", "l/100 km"}));
    const QImage a = renderChart(*rate, QSize(1200, 700));
    keep(a, QStringLiteral("chart-vehicle"));
    ASSERT_EQ(a.size(), QSize(1200, 700));
    EXPECT_GT(pixelsNear(a, kBlue), 200) << "the consumption line";
    EXPECT_GT(pixelsNear(a, kRed), 100) << "the norm line";

    std::vector<MonthFuel> sums = {{1, 800, 760}, {2, 650, 700}, {7, 1200, 1100}};
    std::unique_ptr<QChart> year(
        makeYearChart(yearByMonth(sums), QStringLiteral("Zużycie paliwa w roku 2024")));
    const QImage b = renderChart(*year, QSize(1200, 700));
    keep(b, QStringLiteral("chart-year"));
    EXPECT_GT(pixelsNear(b, kBlue), 2000) << "bars of fuel used";
    EXPECT_GT(pixelsNear(b, kRed), 2000) << "bars of fuel due";

    // A period without any card still gives a picture with its axes, not a crash.
    std::unique_ptr<QChart> empty(makeRateChart(vehicleRates({}, 2024, 2024), {"Brak", "l/h"}));
    EXPECT_FALSE(renderChart(*empty, QSize(600, 400)).isNull());
}

class ChartWindow : public ::testing::Test {
protected:
    ChartWindow() : t(*tdb.attachment), data(t) {
        sql("insert into A_RODZP (KOD, NAZWA) values (1, 'Gaśnicze')");
        sql("insert into A_AUTO (KODA, NRREJ, NAZWA, TYP, KOD_RP, KOD_GP, KOD_KO) values (1, 'KN 1', "
            "'Jelcz', 'P', "
            "1, 1, 1)");
        for (int m = 1; m <= 12; ++m)
            sql(QStringLiteral(
                    "insert into A_KARTA (KODA, KODD, NRREJ, ROKD, MIED, PRZEBIEGM, ZUZYCIEP, NORMAP, "
                    "ZUZYCIEPN) values (1, %1, 'KN 1', 24, %1, %2, %3, 30, %4)")
                    .arg(m)
                    .arg(900 + 40 * m)
                    .arg(270 + 15 * m)
                    .arg((900 + 40 * m) * 0.3));
        reports::ui::resetReportUiServices();
    }
    ~ChartWindow() override { reports::ui::resetReportUiServices(); }

    void sql(const QString& text) {
        db::inTransaction(t, [&](db::Transaction& tr) { tr.execute(text); });
    }
    void sql(const char* text) { sql(QString::fromUtf8(text)); }

    // The next print goes to a file of the format.
    void printTo(reports::OutputFormat format, const QString& path) {
        reports::ui::reportUiServices().chooseOutput = [=](QWidget*, const QString&) {
            return reports::ui::OutputChoice{reports::ui::OutputChoice::Destination::File, format, path};
        };
    }

    TestDatabase tdb;
    db::Transaction t;
    ChartData data;
    RecordingServices services;
    QTemporaryDir out;
    ChartPrintContext context{QStringLiteral("KP PSP Żagań"), QStringLiteral("Jan Kowalski"), QString(),
                              2024};
};

TEST_F(ChartWindow, OpensOnTheVehicleAndSwitchesToAKindsYear) {
    Wykres window(data, context, ChartSubject::Vehicle, 1);
    window.show();
    EXPECT_EQ(window.entryBox()->currentText(), QStringLiteral("KN 1 – Jelcz"));
    EXPECT_EQ(window.fromYear()->value(), 2022);
    EXPECT_EQ(window.toYear()->value(), 2024);
    EXPECT_TRUE(window.chartTitle().contains(QStringLiteral("l/100 km")))
        << window.chartTitle().toStdString();
    EXPECT_TRUE(window.chartTitle().contains(QStringLiteral("KN 1")));
    EXPECT_TRUE(
        window.findChild<QLabel*>(QStringLiteral("summary"))->text().startsWith(QStringLiteral("Średnio")));
    ASSERT_NE(window.view()->chart(), nullptr);
    EXPECT_GE(window.view()->chart()->series().size(), 2) << "consumption and norm";
    screenshot(&window, QStringLiteral("Wykres-pojazd"));

    window.subjectBox()->setCurrentIndex(window.subjectBox()->findData(int(ChartSubject::VehicleKind)));
    EXPECT_EQ(window.entryBox()->currentText(), QStringLiteral("1 Gaśnicze"));
    EXPECT_FALSE(window.fromYear()->isEnabled()) << "a year chart shows one year";
    EXPECT_TRUE(window.chartTitle().contains(QStringLiteral("w roku 2024")))
        << window.chartTitle().toStdString();
    EXPECT_TRUE(
        window.findChild<QLabel*>(QStringLiteral("summary"))->text().contains(QStringLiteral("Razem")));
    screenshot(&window, QStringLiteral("Wykres-rodzaj"));
    EXPECT_TRUE(services.messages.isEmpty()) << services.messages.join(QLatin1Char('|')).toStdString();
}

TEST_F(ChartWindow, WrongYearsAreRefusedAndTheChartStays) {
    Wykres window(data, context, ChartSubject::Vehicle, 1);
    const QString before = window.chartTitle();
    window.fromYear()->setValue(2024);
    window.toYear()->setValue(2023);
    EXPECT_FALSE(window.showChart());
    ASSERT_EQ(services.messages.size(), 1);
    EXPECT_TRUE(services.messages[0].contains(QStringLiteral("Rok początkowy")));
    EXPECT_EQ(window.chartTitle(), before);
}

TEST_F(ChartWindow, PrintsToPngAndPdfThroughTheOutputOptions) {
    Wykres window(data, context, ChartSubject::Vehicle, 1);
    const QString png = out.filePath(QStringLiteral("wykres.png"));
    printTo(reports::OutputFormat::Png, png);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("print")), Qt::LeftButton);
    const QImage page(png);
    ASSERT_FALSE(page.isNull()) << services.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_GT(page.width(), page.height()) << "a landscape page";
    EXPECT_GT(pixelsNear(page, kBlue), 40) << "the chart's picture is on the page";
    keep(page, QStringLiteral("chart-print-page"));

    const QString pdf = out.filePath(QStringLiteral("wykres.pdf"));
    printTo(reports::OutputFormat::Pdf, pdf);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("print")), Qt::LeftButton);
    ASSERT_TRUE(QFileInfo(pdf).size() > 0);
    if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        p.waitForFinished(60000);
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        EXPECT_TRUE(text.contains(QStringLiteral("KP PSP Żagań")));
        EXPECT_TRUE(text.contains(QStringLiteral("KN 1"))) << "the title";
        EXPECT_TRUE(text.contains(QStringLiteral("Średnio w okresie")));
        EXPECT_TRUE(text.contains(QStringLiteral("Wydrukował: Jan Kowalski")));
    }
    EXPECT_TRUE(services.messages.isEmpty()) << services.messages.join(QLatin1Char('|')).toStdString();
}

TEST_F(ChartWindow, NothingToChartIsSaidNotPrinted) {
    sql("delete from A_KARTA");
    sql("delete from A_AUTO");
    Wykres window(data, context, ChartSubject::Vehicle, 1);
    EXPECT_EQ(window.entryBox()->count(), 0);
    EXPECT_EQ(window.makeChart(), nullptr);
    bool asked = false;
    reports::ui::reportUiServices().chooseOutput = [&](QWidget*, const QString&) {
        asked = true;
        return reports::ui::OutputChoice{reports::ui::OutputChoice::Destination::Cancelled};
    };
    window.printChart();
    EXPECT_FALSE(asked);
    EXPECT_EQ(services.messages, QStringList{QStringLiteral("Brak wykresu do wydruku.")});
}

} // namespace
