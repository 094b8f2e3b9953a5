#include "XlsxReader.h"

#include "exports/GridExport.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korven::exports;
using korven::test::readXlsx;
using korven::test::XlsxSheet;

namespace {

// A list shaped like a card register: code first, then text, numbers of every kind, a date, a
// hidden column and an integer.
ExportList cardList() {
    ExportList list;
    list.columns = {{QStringLiteral("Nr karty"), QStringLiteral("KODD"), FieldType::Integer, true},
                    {QStringLiteral("Nazwa"), QStringLiteral("NAZWA"), FieldType::Text, true},
                    {QStringLiteral("Zużycie"), QStringLiteral("ZUZYCIE"), FieldType::Float, true},
                    {QStringLiteral("Norma"), QStringLiteral("NORMA"), FieldType::Decimal, true},
                    {QStringLiteral("Data"), QStringLiteral("DATA"), FieldType::Date, true},
                    {QStringLiteral("Ukryta"), QStringLiteral("UKRYTA"), FieldType::Text, false},
                    {QStringLiteral("Wyjazdy"), QStringLiteral("WYJAZDY"), FieldType::Integer, true}};
    list.rows = {{17, QStringLiteral("Star 266   "), 1234.5, 12.5, QDate(2026, 3, 5), QStringLiteral("x"), 3},
                 {18, QStringLiteral("Jelcz"), QVariant(), QVariant(), QVariant(), QStringLiteral("y"), 0},
                 {19, QStringLiteral("Żuk"), 0.25, 7.0, QDate(2026, 4, 1), QStringLiteral("z"), 12}};
    return list;
}

bool isDataStyle(const korven::test::XlsxStyle& s) {
    return s.horizontal == QLatin1String("right") && s.vertical == QLatin1String("center") && s.framed &&
           (s.numFmtId == 4 || s.numFmtCode == QLatin1String("#,##0.00"));
}

bool isHeaderStyle(const korven::test::XlsxStyle& s) {
    return s.horizontal == QLatin1String("center") && s.vertical == QLatin1String("center") && s.framed;
}

class GridExport : public ::testing::Test {
protected:
    XlsxSheet write(const ExportList& list, const QString& title, int column = 1, int row = 1) {
        const QString path = dir.filePath(QStringLiteral("arkusz%1.xlsx").arg(++count));
        writeWorkbook(list, title, column, row, path);
        XlsxSheet sheet = readXlsx(path);
        EXPECT_TRUE(sheet.error.isEmpty()) << sheet.error.toStdString();
        return sheet;
    }
    QTemporaryDir dir;
    int count = 0;
};

TEST_F(GridExport, WritesTitleHeadersAndRecordsCellByCell) {
    const XlsxSheet s = write(cardList(), QStringLiteral("  Kartoteka Kart Drogowych dla Star  GBA 1234  "));
    ASSERT_FALSE(s.styles.isEmpty());
    EXPECT_EQ(s.cells.value("A1").value, QStringLiteral("Kartoteka Kart Drogowych dla Star  GBA 1234"));
    EXPECT_EQ(s.cells.value("A1").style, 0) << "the title is not formatted";
    for (const char* ref : {"A2", "B2", "B1"})
        EXPECT_FALSE(s.has(ref)) << ref;

    const QStringList headers{"Nr karty", "Nazwa", "Zużycie", "Norma", "Data", "Wyjazdy"};
    for (int i = 0; i < headers.size(); ++i) {
        const QString ref = QString(QChar('A' + i)) + QStringLiteral("3");
        SCOPED_TRACE(ref.toStdString());
        EXPECT_EQ(s.cells.value(ref).value, headers[i]);
        EXPECT_TRUE(isHeaderStyle(s.styleOf(ref)));
    }
    EXPECT_FALSE(s.has("G3")) << "the hidden column is skipped";

    struct Expected {
        const char* ref;
        const char* value;
        bool isString;
    };
    const QList<Expected> cells{
        {"A4", "_17", true},        {"B4", "Star 266", true}, {"C4", "1234.5", false}, {"D4", "12,5", true},
        {"E4", "2026-03-05", true}, {"F4", "3", false},       {"A5", "_18", true},     {"C5", "0", false},
        {"F5", "0", false},         {"A6", "_19", true},      {"B6", "Żuk", true},     {"C6", "0.25", false},
        {"D6", "7", true},          {"F6", "12", false},
    };
    for (const Expected& e : cells) {
        SCOPED_TRACE(e.ref);
        ASSERT_TRUE(s.has(e.ref));
        EXPECT_EQ(s.cells.value(e.ref).value, QString::fromUtf8(e.value));
        EXPECT_EQ(s.cells.value(e.ref).isString, e.isString);
        EXPECT_TRUE(isDataStyle(s.styleOf(e.ref)));
    }
    EXPECT_FALSE(s.has("A7"));
}

TEST_F(GridExport, HiddenFirstColumnGivesNoUnderscore) {
    ExportList list = cardList();
    list.columns[0].visible = false;
    const XlsxSheet s = write(list, QStringLiteral("Zestawienie"));
    EXPECT_EQ(s.cells.value("A3").value, QStringLiteral("Nazwa"));
    for (auto it = s.cells.begin(); it != s.cells.end(); ++it)
        EXPECT_FALSE(it.value().value.startsWith(QLatin1Char('_'))) << it.key().toStdString();
    EXPECT_EQ(s.cells.value("A4").value, QStringLiteral("Star 266"));
    EXPECT_EQ(s.cells.value("E4").value, QStringLiteral("3"));
    EXPECT_FALSE(s.cells.value("E4").isString);
}

TEST_F(GridExport, EmptyListGivesTitleAndHeadersOnly) {
    ExportList list = cardList();
    list.rows.clear();
    const XlsxSheet s = write(list, QStringLiteral("Zestawienie Pojazdów"));
    EXPECT_EQ(s.cells.size(), 7);
    EXPECT_EQ(s.cells.value("A1").value, QStringLiteral("Zestawienie Pojazdów"));
    EXPECT_EQ(s.cells.value("F3").value, QStringLiteral("Wyjazdy"));
}

TEST_F(GridExport, LongTitleIsCutToOneHundredCharacters) {
    const QString title = QStringLiteral("Zestawienie ").repeated(10); // 120 characters
    EXPECT_EQ(write(cardList(), title).cells.value("A1").value, title.left(100));
    // Cut first, then trimmed: a blank at position 100 goes too.
    EXPECT_EQ(exportTitle(QString(99, QLatin1Char('A')) + QStringLiteral(" BBB")),
              QString(99, QLatin1Char('A')));
}

TEST_F(GridExport, StartsAtTheGivenColumnAndRow) {
    const XlsxSheet s = write(cardList(), QStringLiteral("Tytuł"), 2, 3);
    EXPECT_EQ(s.cells.value("B3").value, QStringLiteral("Tytuł"));
    EXPECT_EQ(s.cells.value("B5").value, QStringLiteral("Nr karty"));
    EXPECT_EQ(s.cells.value("B6").value, QStringLiteral("_17"));
    EXPECT_FALSE(s.has("A1"));
}

TEST_F(GridExport, SelectedRowsOnlyWhenTheListSelectsSeveral) {
    struct Case {
        bool multiSelect;
        QSet<int> selected;
        QStringList codes;
    };
    const QList<Case> cases{
        {true, {0, 2}, {"_17", "_19"}},
        {true, {}, {"_17", "_18", "_19"}},
        {false, {1}, {"_17", "_18", "_19"}},
    };
    for (const Case& c : cases) {
        ExportList list = cardList();
        list.multiSelect = c.multiSelect;
        list.selectedRows = c.selected;
        const XlsxSheet s = write(list, QStringLiteral("T"));
        QStringList codes;
        for (int r = 4; s.has(QStringLiteral("A%1").arg(r)); ++r)
            codes.append(s.cells.value(QStringLiteral("A%1").arg(r)).value);
        EXPECT_EQ(codes, c.codes) << "multiSelect " << c.multiSelect;
    }
}

TEST(ExportFileName, TitleAndTimeMakeASafeName) {
    const QDateTime when(QDate(2026, 3, 5), QTime(14, 7, 9));
    const QList<std::pair<QString, QString>> cases{
        {QStringLiteral("Zestawienie Pojazdów"),
         QStringLiteral("Zestawienie Pojazdów 2026-03-05 14.07.09.xlsx")},
        {QStringLiteral("Kartoteka dla Star  GD/12:3*?"),
         QStringLiteral("Kartoteka dla Star GD_12_3__ 2026-03-05 14.07.09.xlsx")},
        {QStringLiteral("   "), QStringLiteral("Eksport 2026-03-05 14.07.09.xlsx")},
        {QStringLiteral("..\\..\\x."), QStringLiteral("_.._x 2026-03-05 14.07.09.xlsx")},
    };
    for (const auto& [title, name] : cases)
        EXPECT_EQ(exportFileName(title, when), name);
}

class ExportFlow : public ::testing::Test {
protected:
    ExportEnvironment env() {
        ExportEnvironment e;
        e.folder = dir.filePath(QStringLiteral("Dokumenty/KORVEN"));
        e.now = [] { return QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9)); };
        e.openFile = [this](const QString& path) {
            opened.append(path);
            return canOpen;
        };
        return e;
    }
    QTemporaryDir dir;
    QStringList opened;
    bool canOpen = true;
};

TEST_F(ExportFlow, WritesIntoTheDocumentsFolderAndOpensTheFile) {
    const ExportOutcome first = exportList(cardList(), QStringLiteral("Zestawienie Pojazdów"), 1, 1, env());
    EXPECT_EQ(first.status, ExportOutcome::Status::Opened);
    EXPECT_TRUE(first.message.isEmpty());
    EXPECT_EQ(first.filePath,
              dir.filePath(QStringLiteral("Dokumenty/KORVEN/Zestawienie Pojazdów 2026-03-05 14.07.09.xlsx")));
    const ExportOutcome second = exportList(cardList(), QStringLiteral("Zestawienie Pojazdów"), 1, 1, env());
    EXPECT_NE(second.filePath, first.filePath) << "a second export in the same second keeps the first";
    EXPECT_EQ(opened, QStringList({first.filePath, second.filePath}));
    EXPECT_EQ(readXlsx(first.filePath).cells.value("A4").value, QStringLiteral("_17"));
}

TEST_F(ExportFlow, NoApplicationToOpenTheFileSaysSoAndKeepsTheFile) {
    canOpen = false;
    const ExportOutcome o = exportList(cardList(), QStringLiteral("Zestawienie"), 1, 1, env());
    EXPECT_EQ(o.status, ExportOutcome::Status::NoApplication);
    EXPECT_TRUE(o.message.startsWith(QStringLiteral("Dane zapisano w pliku:\n") +
                                     QDir::toNativeSeparators(o.filePath) + QLatin1Char('\n')))
        << o.message.toStdString();
    EXPECT_TRUE(o.message.contains(QStringLiteral("Nie znaleziono programu arkusza kalkulacyjnego")));
    EXPECT_TRUE(QFile::exists(o.filePath));
}

TEST_F(ExportFlow, WriteFailuresGiveTheExportMessageWithTheErrorsText) {
    // A folder that cannot be made: a file stands in its way.
    QFile blocker(dir.filePath(QStringLiteral("Dokumenty")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ExportOutcome o = exportList(cardList(), QStringLiteral("Zestawienie"), 1, 1, env());
    EXPECT_EQ(o.status, ExportOutcome::Status::WriteFailed);
    EXPECT_TRUE(o.message.startsWith(
        QStringLiteral("Błąd podczas eksportowania danych do MS Excela ...\rKomunikat: \r")));
    EXPECT_TRUE(o.message.contains(QStringLiteral("Dokumenty")));
    EXPECT_TRUE(opened.isEmpty());
    blocker.remove();

    // A value longer than a cell may hold: what came before it is still saved.
    ExportList list = cardList();
    list.rows[1][1] = QString(40000, QLatin1Char('x'));
    o = exportList(list, QStringLiteral("Zestawienie"), 1, 1, env());
    EXPECT_EQ(o.status, ExportOutcome::Status::WriteFailed);
    EXPECT_TRUE(o.message.startsWith(
        QStringLiteral("Błąd podczas eksportowania danych do MS Excela ...\rKomunikat: \r")));
    EXPECT_GT(o.message.size(), 60) << "the writer's own text follows";
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(readXlsx(o.filePath).cells.value("A4").value, QStringLiteral("_17"));
}

} // namespace

namespace {

// The spreadsheet application reads the same values back: LibreOffice converts the workbook to CSV.
TEST_F(GridExport, LibreOfficeReadsTheSameValues) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) GTEST_SKIP() << "soffice (libreoffice-calc-nogui) is not installed";
    const QString path = dir.filePath(QStringLiteral("lista.xlsx"));
    writeWorkbook(cardList(), QStringLiteral("Kartoteka Kart Drogowych"), 1, 1, path);

    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
    p.setProcessEnvironment(environment);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(soffice, {QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                      QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"), QStringLiteral("--outdir"),
                      dir.filePath(QStringLiteral("csv")), path});
    ASSERT_TRUE(p.waitForFinished(180000));
    QFile csv(dir.filePath(QStringLiteral("csv/lista.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly)) << p.readAll().toStdString();
    const QStringList lines = QString::fromUtf8(csv.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QStringList expected{
        QStringLiteral("Kartoteka Kart Drogowych,,,,,"),
        QStringLiteral(",,,,,"),
        QStringLiteral("Nr karty,Nazwa,Zużycie,Norma,Data,Wyjazdy"),
        QStringLiteral("_17,Star 266,\"1,234.50\",\"12,5\",2026-03-05,3.00"),
        QStringLiteral("_18,Jelcz,0.00,,,0.00"),
        QStringLiteral("_19,Żuk,0.25,7,2026-04-01,12.00"),
    };
    QStringList got;
    for (const QString& l : lines)
        got.append(l.trimmed());
    EXPECT_EQ(got.join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString());
}

} // namespace
