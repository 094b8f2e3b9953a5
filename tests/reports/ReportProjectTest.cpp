#include "ReportTestData.h"

#include "reports/engine/ReportProject.h"

#include <QDir>
#include <QFontMetricsF>
#include <QImage>

#include <gtest/gtest.h>

using namespace korven::reports;

namespace {

QStringList fieldsOf(const ReportProject& project) {
    QStringList names;
    for (const ReportItem& item : project.band(BandKind::Detail)->items)
        if (item.kind == ItemKind::Field) names.append(item.name);
    return names;
}

TEST(ReportProject, EveryProjectOfTheProgramLoads) {
    const QDir folder(korven::test::sourceDir() + QStringLiteral("/raporty"));
    const QStringList files = folder.entryList({QStringLiteral("*.rav")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        EXPECT_NO_THROW(loadProject(folder.filePath(file)));
    }
}

// Every static caption of every project prints whole: each word fits the width of its box with at
// least half its padding left on either side (the text is not clipped to the padding, so a word may
// use some of it, but one wider than the box runs over the frame into the next column), and the lines
// of a wrapped caption fit its height.
TEST(ReportProject, CaptionsFitTheirBoxes) {
    const QDir folder(korven::test::sourceDir() + QStringLiteral("/raporty"));
    QImage device(1, 1, QImage::Format_RGB32);
    const double dotsPerMm = 1200 / 25.4;
    device.setDotsPerMeterX(static_cast<int>(dotsPerMm * 1000));
    device.setDotsPerMeterY(static_cast<int>(dotsPerMm * 1000));
    for (const QString& file : folder.entryList({QStringLiteral("*.rav")}, QDir::Files)) {
        const ReportProject project = loadProject(folder.filePath(file));
        for (const ReportBand& band : project.bands)
            for (const ReportItem& item : band.items) {
                if (item.kind != ItemKind::Text || item.text.trimmed().isEmpty()) continue;
                QFont font(item.font.family);
                font.setPointSizeF(item.font.pointSize);
                font.setBold(item.font.bold);
                font.setItalic(item.font.italic);
                const QFontMetricsF metrics(font, &device);
                const QRectF inner(0, 0, (item.rect.width() - item.padding) * dotsPerMm,
                                   item.rect.height() * dotsPerMm);
                const std::string where = file.toStdString() + ": \"" + item.text.toStdString() + "\"";
                const QStringList words = item.wrap ? item.text.split(QLatin1Char(' '), Qt::SkipEmptyParts)
                                                    : QStringList{item.text};
                for (const QString& word : words)
                    EXPECT_LE(metrics.horizontalAdvance(word), inner.width()) << where << " is cut";
                if (item.wrap) {
                    EXPECT_LE(metrics.boundingRect(inner, Qt::TextWordWrap, item.text).height(),
                              inner.height() + 1)
                        << where << " has more lines than its box";
                }
            }
    }
}

struct DictionaryCase {
    const char* file;
    const char* dataView;
    QStringList fields;
};

TEST(ReportProject, DictionaryListsReadTheirDataViewAndColumns) {
    const QList<DictionaryCase> cases{
        {"RodzajP.rav", "RvDataSetRodzajP", {"KOD", "NAZWA"}},
        {"GrupaP.rav", "RvDataSetGrupaPo", {"KOD", "NAZWA"}},
        {"KomendaP.rav", "RvDataSetKomendaP", {"KOD", "NAZWA", "NRJED"}},
        {"ObslugaT.rav", "RvDataSetObslugaT", {"KOD", "TYP", "NAZWA", "ILE"}},
        {"GrupaS.rav", "RvDataSetGrupaSp", {"KOD", "NAZWA"}},
    };
    for (const DictionaryCase& c : cases) {
        SCOPED_TRACE(c.file);
        const ReportProject p =
            loadProject(korven::test::sourceDir() + QStringLiteral("/raporty/") + QLatin1String(c.file));
        EXPECT_EQ(p.dataView, QLatin1String(c.dataView));
        EXPECT_EQ(p.orientation, Orientation::Portrait);
        EXPECT_EQ(fieldsOf(p), c.fields);
        ASSERT_NE(p.band(BandKind::PageFooter), nullptr);
    }
}

TEST(ReportProject, ReadsBandsItemsAndAttributes) {
    const ReportProject p = loadProject(korven::test::fixtureProject());
    EXPECT_EQ(p.title, QStringLiteral("Lista testowa"));
    EXPECT_EQ(p.margins, QMarginsF(15, 12, 15, 12));
    ASSERT_EQ(p.bands.size(), 6);
    const ReportBand* detail = p.band(BandKind::Detail);
    ASSERT_NE(detail, nullptr);
    EXPECT_DOUBLE_EQ(detail->height, 6);
    const ReportItem& amount = detail->items[2];
    EXPECT_EQ(amount.kind, ItemKind::Field);
    EXPECT_EQ(amount.rect, QRectF(130, 0, 50, 6));
    EXPECT_TRUE(amount.alignment & Qt::AlignRight);
    EXPECT_TRUE(amount.border);
    EXPECT_DOUBLE_EQ(amount.padding, 1.0);
    EXPECT_DOUBLE_EQ(amount.font.pointSize, 9); // the report's default font size
    const ReportItem& line = p.band(BandKind::PageFooter)->items[0];
    EXPECT_EQ(line.kind, ItemKind::Line);
    EXPECT_EQ(line.rect.bottomRight(), QPointF(180, 1));
    EXPECT_EQ(p.band(BandKind::PageFooter)->items[2].text, QStringLiteral("Strona %1 z %2"));
}

struct BrokenCase {
    const char* what;
    const char* xml;
    const char* message; // part of the error text
    int line;
};

TEST(ReportProject, ErrorsNameTheFileTheLineAndTheFault) {
    const QList<BrokenCase> cases{
        {"not a report", "<raport/>", "oczekiwano elementu <report>", 1},
        {"unknown band kind", "<report>\n<band kind=\"naglowek\" height=\"5\"/></report>",
         "nieznany rodzaj sekcji", 2},
        {"band without height", "<report>\n<band kind=\"detail\"/></report>", "sekcja bez wysokości", 2},
        {"band twice",
         "<report><band kind=\"detail\" height=\"5\"/>\n<band kind=\"detail\" height=\"5\"/></report>",
         "dwa razy", 2},
        {"unknown item", "<report><band kind=\"detail\" height=\"5\">\n<circle/></band></report>",
         "nieznany element <circle>", 2},
        {"misspelt attribute",
         "<report><band kind=\"detail\" height=\"5\">\n<text x=\"1\" widht=\"2\"/></band></report>",
         "nieznany atrybut \"widht\"", 2},
        {"not a number",
         "<report><band kind=\"detail\" height=\"5\">\n<text x=\"a\" width=\"1\" "
         "height=\"1\"/></band></report>",
         "nie jest liczbą", 2},
        {"field without name",
         "<report><band kind=\"detail\" height=\"5\">\n<field width=\"1\" height=\"1\"/></band></report>",
         "bez nazwy", 2},
        {"bad flag",
         "<report><band kind=\"detail\" height=\"5\">\n<text bold=\"yes\" width=\"1\" "
         "height=\"1\"/></band></report>",
         "true albo false", 2},
        {"bad page", "<report page=\"B7\"/>", "rozmiar strony", 1},
        {"bad margins", "<report margins=\"1,2,3\"/>", "marginesy", 1},
        {"broken XML", "<report>\n<band kind=\"detail\" height=\"5\">\n</report>", "Błąd w pliku raportu", 3},
    };
    for (const BrokenCase& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            parseProject(QByteArray(c.xml), QStringLiteral("/x/raporty/Zly.rav"));
            ADD_FAILURE() << "no error";
        } catch (const ReportError& e) {
            EXPECT_TRUE(e.text().contains(QString::fromUtf8(c.message))) << e.text().toStdString();
            EXPECT_TRUE(e.text().contains(QStringLiteral("Zly.rav, wiersz %1:").arg(c.line)))
                << e.text().toStdString();
        }
    }
}

TEST(ReportProject, MissingFileNamesItsFullPath) {
    const QString path = QDir::current().absoluteFilePath(QStringLiteral("raporty/Nie_ma.rav"));
    try {
        loadProject(QStringLiteral("raporty/Nie_ma.rav"));
        FAIL() << "no error";
    } catch (const ProjectMissingError& e) {
        EXPECT_EQ(e.path(), path);
        EXPECT_TRUE(e.text().contains(QDir::toNativeSeparators(path)));
    }
}

} // namespace
