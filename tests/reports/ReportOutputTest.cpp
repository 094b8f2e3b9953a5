#include "ReportTestData.h"

#include "reports/engine/ReportEngine.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korven::reports;

namespace {

QString readText(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(f.readAll());
}

// Every "Pozycja NNN" of the text in the order it appears.
QList<int> rowsIn(const QString& text) {
    QList<int> rows;
    static const QRegularExpression re(QStringLiteral("Pozycja (\\d{3})"));
    for (auto it = re.globalMatch(text); it.hasNext();)
        rows.append(it.next().captured(1).toInt());
    return rows;
}

QList<int> oneTo(int n) {
    QList<int> list;
    for (int i = 1; i <= n; ++i)
        list.append(i);
    return list;
}

class ReportOutput : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file(const char* name) const { return dir.filePath(QLatin1String(name)); }
};

TEST_F(ReportOutput, PdfRepeatsTheColumnHeaderAndNumbersThePages) {
    renderToFile(korven::test::listJob(200), OutputFormat::Pdf, file("lista.pdf"));
    const QStringList pages = korven::test::pdfPages(file("lista.pdf"));
    if (pages.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    ASSERT_EQ(pages.size(), 5);
    for (int i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const QString& page = pages[i];
        EXPECT_TRUE(page.contains(QStringLiteral("KP PSP Żagań"))) << "page header with a parameter";
        EXPECT_TRUE(page.contains(QRegularExpression(QStringLiteral("Kod\\s+Nazwa\\s+Ilość"))))
            << "column header";
        EXPECT_TRUE(page.contains(QStringLiteral("Strona %1 z 5").arg(i + 1)));
        EXPECT_TRUE(page.contains(QStringLiteral("Wydrukował: Jan Kowalski")));
        EXPECT_EQ(page.contains(QStringLiteral("Lista pozycji")), i == 0) << "title on the first page only";
        EXPECT_EQ(page.contains(QStringLiteral("Razem: 123 456,78")), i == 4) << "summary after the last row";
    }
    EXPECT_EQ(rowsIn(pages.join(QString())), oneTo(200));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("1000,50 l"))) << "the display text, not the value";
    EXPECT_FALSE(pages[0].contains(QStringLiteral("1000.5")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("2026-03-05")));
}

TEST_F(ReportOutput, HtmlHoldsEveryRowParametersAndPictures) {
    QImage logo(40, 20, QImage::Format_RGB32);
    logo.fill(Qt::red);
    ASSERT_TRUE(logo.save(file("logo.png")));
    ReportJob job = korven::test::listJob(200);
    job.parameters[QStringLiteral("firma")] = QStringLiteral("Straż & <Spółka>");
    job.parameters[QStringLiteral("logo")] = file("logo.png");
    renderToFile(job, OutputFormat::Html, file("lista.html"));
    const QString html = readText(file("lista.html"));
    EXPECT_EQ(rowsIn(html), oneTo(200));
    EXPECT_EQ(html.count(QStringLiteral("class=\"page\"")), 5);
    EXPECT_EQ(html.count(QStringLiteral("Straż &amp; &lt;Spółka&gt;")), 5);
    EXPECT_TRUE(html.contains(QStringLiteral("Strona 5 z 5")));
    EXPECT_TRUE(html.contains(QStringLiteral("200000,50 l")));
    EXPECT_TRUE(html.contains(QStringLiteral("src=\"data:image/png;base64,")));
}

TEST_F(ReportOutput, PlainTextKeepsTenCharactersAndSixLinesPerInch) {
    renderToFile(korven::test::listJob(200), OutputFormat::Text, file("lista.txt"));
    const QStringList pages = readText(file("lista.txt")).split(QLatin1Char('\f'));
    ASSERT_GE(pages.size(), 4);
    EXPECT_EQ(rowsIn(pages.join(QString())), oneTo(200));
    for (int p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE(p + 1);
        const QStringList lines = pages[p].split(QLatin1Char('\n'));
        EXPECT_LE(lines.size() - 1, 70) << "A4 holds 70 lines at 6 per inch";
        for (const QString& line : lines)
            EXPECT_LE(line.size(), 82) << "A4 holds 82 characters at 10 per inch";
        EXPECT_TRUE(pages[p].contains(QStringLiteral("Kod"))) << "column header on every page";
        // The footer's page number ends at 195 mm from the paper's edge: column 77; its line is
        // the footer's first, 285 mm less 8 mm of footer: line 65.
        ASSERT_GT(lines.size(), 65);
        const QString number = QStringLiteral("Strona %1 z %2").arg(p + 1).arg(pages.size());
        EXPECT_TRUE(lines[65].endsWith(number)) << lines[65].toStdString();
        EXPECT_EQ(lines[65].size(), 77);
    }
    // Page 1: 12 mm margin (3 lines), page header (1), title (3), column header (2): the first row
    // is line 9, and every row takes one line. The name starts at 35 mm (column 14), the amount
    // ends one blank before its cell's right edge at 195 mm (column 77).
    const QStringList first = pages[0].split(QLatin1Char('\n'));
    for (int r = 0; r < 3; ++r) {
        const QString& line = first[9 + r];
        SCOPED_TRACE(line.toStdString());
        EXPECT_EQ(line.indexOf(QStringLiteral("Pozycja %1").arg(r + 1, 3, 10, QLatin1Char('0'))), 14);
        EXPECT_TRUE(line.endsWith(QStringLiteral("%1,50 l").arg((r + 1) * 1000)));
        EXPECT_EQ(line.size(), 76);
        EXPECT_EQ(line.indexOf(QString::number(r + 1)), 12) << "code right-aligned in 15..35 mm";
    }
}

TEST_F(ReportOutput, ReportWithoutRowsPrintsItsHeadingAndSummary) {
    renderToFile(korven::test::listJob(0), OutputFormat::Text, file("pusta.txt"));
    const QString text = readText(file("pusta.txt"));
    EXPECT_FALSE(text.contains(QLatin1Char('\f')));
    EXPECT_TRUE(text.contains(QStringLiteral("Lista pozycji")));
    EXPECT_TRUE(text.contains(QStringLiteral("Razem: 123 456,78")));
    EXPECT_TRUE(text.contains(QStringLiteral("Strona 1 z 1")));
}

TEST_F(ReportOutput, PngWritesOnePicturePerPage) {
    renderToFile(korven::test::listJob(200), OutputFormat::Png, file("lista.png"));
    const QImage first(file("lista.png"));
    ASSERT_FALSE(first.isNull());
    EXPECT_GT(first.height(), first.width()) << "a portrait page";
    EXPECT_NEAR(first.width(), 1240, 2) << "A4 at 150 dpi";
    // Something is drawn on the white page.
    bool inked = false;
    for (int y = 0; y < first.height() && !inked; y += 4)
        for (int x = 0; x < first.width() && !inked; x += 4)
            inked = qGray(first.pixel(x, y)) < 128;
    EXPECT_TRUE(inked);
    for (int page = 2; page <= 5; ++page)
        EXPECT_FALSE(QImage(file("lista-%1.png").arg(page)).isNull()) << page;
    EXPECT_FALSE(QFile::exists(file("lista-6.png")));
}

TEST_F(ReportOutput, UnwritableFileIsAnError) {
    EXPECT_THROW(renderToFile(korven::test::listJob(3), OutputFormat::Pdf, file("brak/folderu/x.pdf")),
                 ReportError);
    EXPECT_THROW(renderToFile(korven::test::listJob(3), OutputFormat::Html, file("brak/folderu/x.html")),
                 ReportError);
    EXPECT_THROW(renderToFile(korven::test::listJob(3), OutputFormat::Png, file("brak/folderu/x.png")),
                 ReportError);
}

} // namespace
