#include "XlsxReader.h"

#include "exports/CardDocument.h"
#include "exports/TemplateFill.h"
#include "exports/rules/CardDocuments.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

using namespace korven::exports;
using korven::test::readXlsx;
using korven::test::unzipMember;
using korven::test::XlsxSheet;

namespace {

const QString templates = QStringLiteral(KORVEN_TEMPLATE_DIR);

// A trip card whose every document field has a text of its own.
korven::tripcards::DocumentFields tripFields() {
    korven::tripcards::DocumentFields f;
    f.registrationNumber = QStringLiteral(" WZ 12345 ");
    f.vehicleName = QStringLiteral("GBA 2,5/16 Star 266");
    f.chassis = QStringLiteral("Star 266 M2");
    f.vehicleNumber = QStringLiteral("Numer pojazdu 7");
    f.monthName = QStringLiteral("Luty");
    f.monthNumber = 2;
    f.monthText = QStringLiteral("2");
    f.year = QStringLiteral("2008");
    f.yearNumber = 8;
    f.cardNumber = QStringLiteral("41");
    f.fuelKind = QStringLiteral("ON");
    f.tankCapacity = QStringLiteral("150");
    f.canisterCapacity = QStringLiteral("20");
    f.totalCapacity = QStringLiteral("170");
    f.fuelNorm = QStringLiteral("35,5");
    f.ugNorm = QStringLiteral("1,2");
    f.pumpNorm = QStringLiteral("0,6");
    f.standstillNorm = QStringLiteral("0,12");
    f.oilClass = QStringLiteral("15W40");
    f.lubricationCapacity = QStringLiteral("18");
    f.oilMake = QStringLiteral("Lotos");
    f.preparedBy = QStringLiteral("J. Kowal");
    f.placeAndDate = QStringLiteral("Zielonka, 2008-03-02");
    f.unit = QStringLiteral("JRG 1");
    f.today = QStringLiteral("2008-03-02");
    f.initialOdometer = QStringLiteral("10200");
    f.settlementDate = QStringLiteral("2008-02-29");
    f.finalOdometer = QStringLiteral("10750");
    f.monthlyMileage = QStringLiteral("550");
    f.actualFuel = QStringLiteral("190,5");
    f.totalDue = QStringLiteral("201,3");
    f.fuelDifference = QStringLiteral("10,8");
    f.pump = QStringLiteral("45");
    f.specialDevice = QStringLiteral("12");
    f.standstill = QStringLiteral("30");
    f.alarm = QStringLiteral("120");
    f.city = QStringLiteral("200");
    f.winter = QStringLiteral("80");
    f.terrain = QStringLiteral("15");
    f.ug = QStringLiteral("3");
    f.airConditioning = QStringLiteral("4");
    f.cardFuelNorm = QStringLiteral("35,5");
    f.responsiblePerson = QStringLiteral("st. ogn. Nowak");
    f.firstService = {QStringLiteral("Obsługa techniczna OT"), QStringLiteral("2008-04-10"),
                      QStringLiteral("11000")};
    f.secondService = {QStringLiteral("Legalizacja LT"), QStringLiteral("2008-06-01"), QString()};
    return f;
}

EquipmentDocumentFields equipmentFields() {
    EquipmentCardRow card;
    card.KODS = 3;
    card.KODK = 17;
    card.ROKS = 24;
    card.MIES = 2;
    card.DATAS = QDate(2024, 2, 27);
    card.ZUZYCIEPALN = 12.5;
    card.ZUZYCIEPALF = 11.25;
    card.ILOPOBOLM = 0.4;
    card.IMIENAZ = QStringLiteral("Anna Wiśniewska  ");
    EquipmentDocumentContext m;
    m.NAZWA = QStringLiteral(" Pilarka Husar 365 ");
    m.NORMPAL = 0.025;
    m.NROPER = QStringLiteral("OP-9");
    m.RODZPAL = QStringLiteral("ET");
    m.POJ_ZBIO = QStringLiteral("0,8");
    m.POJ_KANI = QStringLiteral("5");
    m.totalCapacity = QStringLiteral("5,8");
    m.NRIDENT = QStringLiteral("ID-55");
    m.NRFABR = QStringLiteral("F-2020-77");
    m.NRPOD = QStringLiteral("DR-8");
    return equipmentDocumentFields(card, m, QDate(2024, 3, 1), QLocale(QLocale::Polish));
}

struct Expected {
    const char* cell;
    QString value;
    int size;
};

// The cells of the equipment work card, as both of its templates take them.
const QList<Expected> equipmentWorkCells = {
    {"I4", QStringLiteral("OP-9"), 15},       {"A4", QStringLiteral("Pilarka Husar 365"), 12},
    {"M4", QStringLiteral("Luty"), 12},       {"S4", QStringLiteral("2024"), 16},
    {"X2", QStringLiteral("17"), 11},         {"Z2", QStringLiteral("2"), 11},
    {"AB2", QStringLiteral("2024"), 11},      {"X5", QStringLiteral("2024-02-01"), 11},
    {"X8", QStringLiteral("2024-02-29"), 11}, {"B12", QStringLiteral("ET"), 11},
    {"F12", QStringLiteral("0,8"), 14},       {"L12", QStringLiteral("5"), 14},
    {"Q12", QStringLiteral("5,8"), 14},       {"X13", QStringLiteral("0,025"), 14},
    {"K18", QStringLiteral("ID-55"), 10},     {"S18", QStringLiteral("F-2020-77"), 10},
    {"Z18", QStringLiteral("DR-8"), 10},
};

const QList<Expected> equipmentSettlementCells =
    equipmentWorkCells + QList<Expected>{
                             {"F23", QStringLiteral("0,8"), 10},
                             {"I23", QStringLiteral("5"), 10},
                             {"F30", QStringLiteral("11,25"), 10},
                             {"O30", QStringLiteral("0,4"), 10},
                             {"F36", QStringLiteral("0,8"), 10},
                             {"I36", QStringLiteral("5"), 10},
                             {"P34", QStringLiteral("Rozliczono na dzień     2024-02-27"), 11},
                             {"S36", QStringLiteral("Anna Wiśniewska"), 9},
                             {"K40", QStringLiteral("11,25"), 10},
                             {"K42", QStringLiteral("12,5"), 10},
                             {"B26", QStringLiteral("2024-03-01"), 10},
                             {"B27", QStringLiteral("2024-03-01"), 10},
                             {"B28", QStringLiteral("2024-03-01"), 10},
                             {"B29", QStringLiteral("2024-03-01"), 10},
                         };

const QList<Expected> tripWorkCells = {
    {"AB16", QStringLiteral("WZ 12345"), 17},
    {"AM19", QStringLiteral("GBA 2,5/16 Star 266"), 11},
    {"AM22", QStringLiteral("Star 266 M2"), 8},
    {"AB21", QStringLiteral("Numer pojazdu 7"), 8},
    {"AH9", QStringLiteral("Luty"), 10},
    {"AV9", QStringLiteral("2008"), 10},
    {"AK15", QStringLiteral("2008-02-01"), 10},
    {"AU15", QStringLiteral("2008-02-29"), 10},
    {"AQ5", QStringLiteral("41"), 12},
    {"AT5", QStringLiteral("2"), 12},
    {"AW5", QStringLiteral("2008"), 12},
    {"AH31", QStringLiteral("ON"), 8},
    {"AK31", QStringLiteral("150"), 10},
    {"AP31", QStringLiteral("20"), 10},
    {"AV31", QStringLiteral("170"), 10},
    {"AE43", QStringLiteral("35,5"), 10},
    {"AN43", QStringLiteral("1,2"), 10},
    {"AI51", QStringLiteral("0,6"), 10},
    {"AX54", QStringLiteral("0,12"), 10},
    {"AE62", QStringLiteral("15W40"), 10},
    {"AK62", QStringLiteral("18"), 10},
    {"AU62", QStringLiteral("Lotos"), 10},
    {"AF80", QStringLiteral("J. Kowal"), 10},
    {"AO80", QStringLiteral("Zielonka, 2008-03-02"), 10},
    {"AM75", QStringLiteral("st. ogn. Nowak"), 10},
    {"AC69", QStringLiteral("Obsługa techniczna OT"), 8},
    {"AH69", QStringLiteral("2008-04-10"), 8},
    {"AM69", QStringLiteral("11000"), 8},
    {"AC71", QStringLiteral("Legalizacja LT"), 8},
    {"AH71", QStringLiteral("2008-06-01"), 8},
    {"AM71", QString(), 8},
    {"G6", QStringLiteral("150"), 10},
    {"J6", QStringLiteral("20"), 10},
    {"C4", QStringLiteral("2008-03-02"), 6},
    {"E4", QStringLiteral("10200"), 6},
    {"AW91", QStringLiteral("10200"), 10},
};

const QList<Expected> tripMileageCells = {
    {"O2", QStringLiteral("41/2/2008"), 12},
    {"O3", QStringLiteral("WZ 12345"), 12},
    {"I5", QStringLiteral("Luty"), 14},
    {"O9", QStringLiteral("2008-02-29"), 12},
    {"O10", QStringLiteral("J. Kowal"), 8},
    {"H9", QStringLiteral("10750"), 10},
    {"H10", QStringLiteral("10200"), 10},
    {"H11", QStringLiteral("550"), 10},
    {"I25", QStringLiteral("190,5"), 10},
    {"I26", QStringLiteral("201,3"), 10},
    {"I27", QStringLiteral("10,8"), 10},
    {"C34", QStringLiteral("45"), 10},
    {"C35", QStringLiteral("12"), 10},
    {"C39", QStringLiteral("30"), 10},
    {"D42", QStringLiteral("120"), 10},
    {"D43", QStringLiteral("200"), 10},
    {"D44", QStringLiteral("80"), 10},
    {"D45", QStringLiteral("15"), 10},
    {"C48", QStringLiteral("3"), 10},
    {"C49", QStringLiteral("4"), 10},
    // The vehicle name's font covers E3:E35, so the norm ends at size 14.
    {"E31", QStringLiteral("35,5"), 14},
    {"E3", QStringLiteral("GBA 2,5/16 Star 266"), 14},
};

void expectCells(const XlsxSheet& sheet, const QList<Expected>& cells, const QString& colour) {
    for (const Expected& e : cells) {
        const QString ref = QLatin1String(e.cell);
        ASSERT_TRUE(sheet.has(ref)) << e.cell;
        EXPECT_EQ(sheet.cells.value(ref).value, e.value) << e.cell;
        const korven::test::XlsxFont font = sheet.fontOf(ref);
        EXPECT_EQ(font.name.toLower(), QStringLiteral("times new roman")) << e.cell;
        EXPECT_TRUE(font.bold) << e.cell;
        EXPECT_EQ(font.size, e.size) << e.cell;
        EXPECT_EQ(font.colour, colour) << e.cell;
        // The template's frame of the value cell stays.
        EXPECT_TRUE(sheet.styleOf(ref).framed) << e.cell;
    }
}

class CardDocuments : public ::testing::Test {
protected:
    // Fills the plan's template into a file of the test and reads it back.
    XlsxSheet fill(const FillPlan& plan, const QString& folder = templates) {
        const QString out = dir.filePath(QStringLiteral("doc%1.xlsx").arg(++count));
        writeCardDocument(plan, folder, out);
        lastFile = out;
        XlsxSheet sheet = readXlsx(out);
        EXPECT_TRUE(sheet.error.isEmpty()) << sheet.error.toStdString();
        return sheet;
    }
    QTemporaryDir dir;
    QString lastFile;
    int count = 0;
};

const QString red = QStringLiteral("FFFF0000");
const QString green = QStringLiteral("FF008000");

} // namespace

TEST(DocumentRules, ColoursAreTheSpreadsheetsColourNumbers) {
    EXPECT_EQ(argbOfColourNumber(kDocumentRed), red);
    EXPECT_EQ(argbOfColourNumber(kDocumentGreen), green);
    EXPECT_EQ(argbOfColourNumber(0xFF0000), QStringLiteral("FF0000FF")); // blue
}

TEST(DocumentRules, LastDayOfTheCardsMonth) {
    struct Case {
        int year, month;
        const char* last;
    } cases[] = {{24, 2, "2024-02-29"},
                 {23, 2, "2023-02-28"},
                 {0, 2, "2000-02-29"},
                 {9, 4, "2009-04-30"},
                 {9, 12, "2009-12-31"}};
    for (const Case& c : cases) {
        const QString year = QStringLiteral("20") + QStringLiteral("%1").arg(c.year, 2, 10, QLatin1Char('0'));
        EXPECT_EQ(lastDayOfMonth(year, c.year, c.month), QLatin1String(c.last)) << c.last;
        EXPECT_EQ(firstDayOfMonth(year, c.month).right(3), QStringLiteral("-01"));
    }
}

TEST(DocumentRules, MileageSettlementNeedsAMonthNumber) {
    auto f = tripFields();
    f.monthText = QStringLiteral("II");
    try {
        tripMileagePlan(f);
        FAIL() << "no error";
    } catch (const DocumentError& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("„II”"))) << e.text().toStdString();
    }
    // The work card does not read the month's text as a number.
    EXPECT_NO_THROW(tripWorkCardPlan(f));
}

TEST(DocumentRules, EquipmentFormsByKind) {
    EXPECT_EQ(equipmentTemplate(*equipmentFormOf(QStringLiteral("1"))),
              QStringLiteral("karta_pracy_sprzetu1.xlsx"));
    EXPECT_EQ(equipmentTemplate(*equipmentFormOf(QStringLiteral("2"))),
              QStringLiteral("karta_pracy_sprzetu2.xlsx"));
    EXPECT_EQ(equipmentTemplate(*equipmentFormOf(QStringLiteral("3"))),
              QStringLiteral("karta_pracy_sprzetu3.xlsx"));
    EXPECT_FALSE(equipmentFormOf(QStringLiteral("4")));
    EXPECT_EQ(equipmentWorkCardForm(false), EquipmentForm::WorkCardTwoPages);
    EXPECT_EQ(equipmentWorkCardForm(true), EquipmentForm::WorkCardOnePage);
    EXPECT_FALSE(totalCapacity(QStringLiteral("10"), QString()));
    EXPECT_EQ(totalCapacity(QStringLiteral("0,8"), QStringLiteral("5"), QLocale(QLocale::Polish)),
              QStringLiteral("5,8"));
}

TEST(DocumentRules, CellAddresses) {
    struct Case {
        const char* ref;
        int column, row;
    } good[] = {
        {"A1", 1, 1}, {"Z9", 26, 9}, {"AA10", 27, 10}, {"AX91", 50, 91}, {"XFD1048576", 16384, 1048576}};
    for (const Case& c : good) {
        int column = 0, row = 0;
        ASSERT_TRUE(parseCellRef(QLatin1String(c.ref), column, row)) << c.ref;
        EXPECT_EQ(column, c.column) << c.ref;
        EXPECT_EQ(row, c.row) << c.ref;
        EXPECT_EQ(cellRef(column, row), QLatin1String(c.ref));
    }
    for (const char* bad : {"", "A", "1A", "A0", "a1", "A01", "XFE1", "A1048577", "A-1"}) {
        int column = 0, row = 0;
        EXPECT_FALSE(parseCellRef(QLatin1String(bad), column, row)) << bad;
    }
}

TEST_F(CardDocuments, TripWorkCardCellByCell) {
    const XlsxSheet s = fill(tripWorkCardPlan(tripFields()));
    expectCells(s, tripWorkCells, red);
}

TEST_F(CardDocuments, TripMileageSettlementCellByCellWithTheNameBlock) {
    const XlsxSheet s = fill(tripMileagePlan(tripFields()));
    expectCells(s, tripMileageCells, red);
    // Every cell of E3:E35 has the vehicle name's font, whether or not it holds a value.
    for (int row = 3; row <= 35; ++row) {
        const QString ref = QStringLiteral("E%1").arg(row);
        ASSERT_TRUE(s.has(ref)) << row;
        const auto font = s.fontOf(ref);
        EXPECT_EQ(font.size, 14) << row;
        EXPECT_TRUE(font.bold) << row;
        EXPECT_EQ(font.colour, red) << row;
        if (row != 3 && row != 31) {
            EXPECT_TRUE(s.cells.value(ref).value.isEmpty()) << row;
        }
    }
    EXPECT_NE(s.fontOf(QStringLiteral("E36")).colour, red);
}

TEST_F(CardDocuments, EquipmentWorkCardsShareTheirCells) {
    for (EquipmentForm form : {EquipmentForm::WorkCardTwoPages, EquipmentForm::WorkCardOnePage}) {
        SCOPED_TRACE(int(form));
        const XlsxSheet s = fill(equipmentDocumentPlan(equipmentFields(), form));
        expectCells(s, equipmentWorkCells, green);
        // The settlement's cells stay as the template has them.
        EXPECT_TRUE(s.cells.value(QStringLiteral("P34")).value.isEmpty());
    }
}

TEST_F(CardDocuments, EquipmentSettlementCellByCell) {
    const XlsxSheet s = fill(equipmentDocumentPlan(equipmentFields(), EquipmentForm::Settlement));
    expectCells(s, equipmentSettlementCells, green);
}

TEST_F(CardDocuments, EmptyFieldsLeaveFormattedEmptyCells) {
    auto trip = tripFields();
    trip.oilMake.clear();
    trip.firstService = {};
    XlsxSheet s = fill(tripWorkCardPlan(trip));
    for (const char* cell : {"AU62", "AC69", "AH69", "AM69"}) {
        const QString ref = QLatin1String(cell);
        ASSERT_TRUE(s.has(ref)) << cell;
        EXPECT_TRUE(s.cells.value(ref).value.isEmpty()) << cell;
        EXPECT_FALSE(s.cells.value(ref).isInline) << cell;
        EXPECT_EQ(s.fontOf(ref).size, cell[1] == 'U' ? 10 : 8) << cell;
        EXPECT_EQ(s.fontOf(ref).colour, red) << cell;
        EXPECT_TRUE(s.styleOf(ref).framed) << cell;
    }

    // A card without a settlement date still says it was settled, with nothing after the blanks.
    EquipmentCardRow card;
    card.KODK = 1;
    card.ROKS = 9;
    card.MIES = 3;
    const auto fields = equipmentDocumentFields(card, {}, QDate(2009, 3, 31));
    s = fill(equipmentDocumentPlan(fields, EquipmentForm::Settlement));
    EXPECT_EQ(s.cells.value(QStringLiteral("P34")).value, QStringLiteral("Rozliczono na dzień     "));
    EXPECT_TRUE(s.cells.value(QStringLiteral("S36")).value.isEmpty());
}

namespace {

// The XML of one element of a part, as written, for comparing the template with the document.
QString elementXml(const QByteArray& part, const QString& name) {
    const QRegularExpression re(QStringLiteral("<(?:\\w+:)?%1[ >/].*?(</(?:\\w+:)?%1>|/>)").arg(name),
                                QRegularExpression::DotMatchesEverythingOption);
    QStringList all;
    auto it = re.globalMatch(QString::fromUtf8(part));
    while (it.hasNext())
        all << it.next().captured(0);
    return all.join(QLatin1Char('\n'));
}

// Rows in ascending order and cells in ascending column order within each row.
bool cellsInOrder(const QByteArray& sheetXml, QString& problem) {
    QXmlStreamReader xml(sheetXml);
    int lastRow = 0, lastColumn = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("row")) {
            const int r = xml.attributes().value(QLatin1String("r")).toInt();
            if (r <= lastRow) {
                problem = QStringLiteral("row %1 after %2").arg(r).arg(lastRow);
                return false;
            }
            lastRow = r;
            lastColumn = 0;
        } else if (xml.name() == QLatin1String("c")) {
            int column = 0, row = 0;
            parseCellRef(xml.attributes().value(QLatin1String("r")).toString(), column, row);
            if (column <= lastColumn || row != lastRow) {
                problem = xml.attributes().value(QLatin1String("r")).toString();
                return false;
            }
            lastColumn = column;
        }
    }
    return true;
}

} // namespace

TEST_F(CardDocuments, KeepsEverythingElseOfTheTemplate) {
    for (const FillPlan& plan : {tripWorkCardPlan(tripFields()), tripMileagePlan(tripFields()),
                                 equipmentDocumentPlan(equipmentFields(), EquipmentForm::Settlement),
                                 equipmentDocumentPlan(equipmentFields(), EquipmentForm::WorkCardTwoPages)}) {
        SCOPED_TRACE(plan.templateFile.toStdString());
        const QString source = QDir(templates).filePath(plan.templateFile);
        const XlsxSheet before = readXlsx(source);
        const XlsxSheet after = fill(plan);
        const QByteArray sheetBefore = unzipMember(source, QStringLiteral("xl/worksheets/sheet1.xml"));
        const QByteArray sheetAfter = unzipMember(lastFile, QStringLiteral("xl/worksheets/sheet1.xml"));
        for (const char* element :
             {"mergeCells", "cols", "pageSetup", "pageMargins", "printOptions", "rowBreaks", "sheetViews"})
            EXPECT_EQ(elementXml(sheetAfter, QLatin1String(element)),
                      elementXml(sheetBefore, QLatin1String(element)))
                << element;
        for (const char* part : {"xl/workbook.xml", "xl/sharedStrings.xml", "xl/theme/theme1.xml"})
            EXPECT_EQ(unzipMember(lastFile, QLatin1String(part)), unzipMember(source, QLatin1String(part)))
                << part;
        // Every text of the form is still there, in its cell and with its format.
        QStringList written;
        for (const FillStep& step : plan.steps)
            written << step.cell;
        int texts = 0;
        for (auto it = before.cells.begin(); it != before.cells.end(); ++it) {
            if (written.contains(it.key()) || it->value.isEmpty()) continue;
            ++texts;
            EXPECT_EQ(after.cells.value(it.key()).value, it->value) << it.key().toStdString();
            EXPECT_EQ(after.cells.value(it.key()).style, it->style) << it.key().toStdString();
        }
        EXPECT_GT(texts, 20);
        // Row heights stay as the template sets them.
        EXPECT_EQ(sheetAfter.count("customHeight=\"1\""), sheetBefore.count("customHeight=\"1\""));
        QString problem;
        EXPECT_TRUE(cellsInOrder(sheetAfter, problem)) << problem.toStdString();
    }
}

TEST_F(CardDocuments, FailuresLeaveNoFileAndSayWhy) {
    QTemporaryDir empty;
    ExportEnvironment env;
    env.folder = dir.filePath(QStringLiteral("Dokumenty"));
    env.now = [] { return QDateTime(QDate(2008, 3, 2), QTime(10, 0)); };
    int opened = 0;
    env.openFile = [&](const QString&) { return ++opened, true; };

    // The template is missing.
    ExportOutcome out = makeCardDocument(tripWorkCardPlan(tripFields()), empty.path(), env);
    EXPECT_EQ(out.status, ExportOutcome::Status::WriteFailed);
    EXPECT_TRUE(out.message.startsWith(kExportFailedMessage)) << out.message.toStdString();
    EXPECT_TRUE(out.message.contains(QStringLiteral("karta.xlsx"))) << out.message.toStdString();

    // A template that is no workbook.
    QFile broken(QDir(empty.path()).filePath(QStringLiteral("karta.xlsx")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a workbook");
    broken.close();
    out = makeCardDocument(tripWorkCardPlan(tripFields()), empty.path(), env);
    EXPECT_EQ(out.status, ExportOutcome::Status::WriteFailed);
    EXPECT_TRUE(out.message.startsWith(kExportFailedMessage));
    EXPECT_EQ(opened, 0);
    EXPECT_TRUE(QDir(env.folder).entryList(QDir::Files | QDir::Hidden).isEmpty())
        << QDir(env.folder).entryList(QDir::Files | QDir::Hidden).join(QLatin1Char(' ')).toStdString();

    // A document asked for at a path that holds a file keeps that file when the fill fails.
    const QString kept = dir.filePath(QStringLiteral("kept.xlsx"));
    QFile keptFile(kept);
    ASSERT_TRUE(keptFile.open(QIODevice::WriteOnly));
    keptFile.write("old");
    keptFile.close();
    EXPECT_THROW(writeCardDocument(tripWorkCardPlan(tripFields()), empty.path(), kept), ExportError);
    QFile check(kept);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("old"));

    // The good template: saved under a new name in the documents folder and opened.
    out = makeCardDocument(tripWorkCardPlan(tripFields()), templates, env);
    EXPECT_EQ(out.status, ExportOutcome::Status::Opened) << out.message.toStdString();
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(out.filePath.startsWith(env.folder));
    EXPECT_TRUE(out.filePath.endsWith(
        QStringLiteral("Karta pracy pojazdu WZ 12345 nr 41 2008-02 2008-03-02 10.00.00.xlsx")))
        << out.filePath.toStdString();
    const ExportOutcome second = makeCardDocument(tripWorkCardPlan(tripFields()), templates, env);
    EXPECT_NE(second.filePath, out.filePath);
    EXPECT_EQ(readXlsx(second.filePath).cells.value(QStringLiteral("AB16")).value,
              QStringLiteral("WZ 12345"));
}

// A user's own template, saved by a spreadsheet program: its layout of the package differs from the
// generated one (shared strings, styles, names of its parts), and the user changed a text. The
// document keeps the change and still gets its values.
TEST_F(CardDocuments, UsersEditedTemplateKeepsItsChanges) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) GTEST_SKIP() << "LibreOffice is not installed";
    QTemporaryDir work;
    const QString home = QDir(work.path()).filePath(QStringLiteral("home"));
    QDir().mkpath(home);
    QDir().mkpath(work.filePath(QStringLiteral("in")));
    QDir().mkpath(work.filePath(QStringLiteral("out")));
    ASSERT_TRUE(QFile::copy(QDir(templates).filePath(QStringLiteral("karta_pracy_sprzetu2.xlsx")),
                            work.filePath(QStringLiteral("in/karta_pracy_sprzetu2.xlsx"))));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    p.setProcessEnvironment(env);
    p.start(soffice, {QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("xlsx"),
                      QStringLiteral("--outdir"), work.filePath(QStringLiteral("out")),
                      work.filePath(QStringLiteral("in/karta_pracy_sprzetu2.xlsx"))});
    ASSERT_TRUE(p.waitForFinished(120000));
    const QString saved = work.filePath(QStringLiteral("out/karta_pracy_sprzetu2.xlsx"));
    ASSERT_TRUE(QFile::exists(saved)) << p.readAllStandardError().toStdString();

    // The user's change: the form's title names his unit.
    const QString edited = work.filePath(QStringLiteral("edited"));
    QDir().mkpath(edited + QStringLiteral("/xl"));
    QByteArray strings = unzipMember(saved, QStringLiteral("xl/sharedStrings.xml"));
    ASSERT_TRUE(strings.contains("ROZLICZENIE KARTY PRACY SPRZĘTU"));
    strings.replace("ROZLICZENIE KARTY PRACY SPRZĘTU", "ROZLICZENIE SPRZĘTU OSP ZIELONKA");
    QFile part(edited + QStringLiteral("/xl/sharedStrings.xml"));
    ASSERT_TRUE(part.open(QIODevice::WriteOnly));
    part.write(strings);
    part.close();
    QProcess zip;
    zip.setWorkingDirectory(edited);
    zip.start(QStringLiteral("zip"), {QStringLiteral("-q"), saved, QStringLiteral("xl/sharedStrings.xml")});
    if (!zip.waitForStarted()) GTEST_SKIP() << "zip is not installed";
    ASSERT_TRUE(zip.waitForFinished(30000));
    ASSERT_EQ(zip.exitCode(), 0);

    const XlsxSheet before = readXlsx(saved);
    const XlsxSheet s = fill(equipmentDocumentPlan(equipmentFields(), EquipmentForm::Settlement),
                             work.filePath(QStringLiteral("out")));
    EXPECT_EQ(s.cells.value(QStringLiteral("A1")).value, QStringLiteral("ROZLICZENIE SPRZĘTU OSP ZIELONKA"));
    expectCells(s, equipmentSettlementCells, green);
    for (auto it = before.cells.begin(); it != before.cells.end(); ++it)
        if (!it->value.isEmpty() && it.key() != QLatin1String("P34")) {
            EXPECT_EQ(s.cells.value(it.key()).value, it->value) << it.key().toStdString();
        }
}

namespace {

// Packs the parts into an xlsx file with the zip program; false when there is none.
bool packWorkbook(const QString& path, const QMap<QString, QByteArray>& parts) {
    QTemporaryDir tree;
    for (auto it = parts.begin(); it != parts.end(); ++it) {
        const QString file = tree.filePath(it.key());
        QDir().mkpath(QFileInfo(file).path());
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly)) return false;
        f.write(it.value());
    }
    QProcess zip;
    zip.setWorkingDirectory(tree.path());
    zip.start(QStringLiteral("zip"),
              QStringList{QStringLiteral("-q"), QStringLiteral("-r"), path} + parts.keys());
    return zip.waitForStarted() && zip.waitForFinished(30000) && zip.exitCode() == 0;
}

} // namespace

// Another writer's workbook: prefixed element names, rows and cells without their addresses, the
// sheet named by an absolute path. New cells and rows go in their places; the old ones keep theirs.
TEST_F(CardDocuments, FillsAWorkbookOfAnotherWriter) {
    const QByteArray main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    QMap<QString, QByteArray> parts;
    parts[QStringLiteral("[Content_Types].xml")] =
        "<?xml version=\"1.0\"?><Types "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/xl/workbook.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
        "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
        "<Override PartName=\"/xl/styles.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
        "<Override PartName=\"/xl/calcChain.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml\"/></Types>";
    parts[QStringLiteral("_rels/.rels")] =
        "<?xml version=\"1.0\"?><Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"" +
        rel + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
    parts[QStringLiteral("xl/workbook.xml")] = "<?xml version=\"1.0\"?><x:workbook xmlns:x=\"" + main +
                                               "\" xmlns:r=\"" + rel +
                                               "\"><x:sheets><x:sheet name=\"Formularz\" sheetId=\"1\" "
                                               "r:id=\"rIdS\"/></x:sheets></x:workbook>";
    parts[QStringLiteral("xl/_rels/workbook.xml.rels")] =
        "<?xml version=\"1.0\"?><Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rIdT\" Type=\"" +
        rel +
        "/styles\" Target=\"styles.xml\"/>"
        "<Relationship Id=\"rIdS\" Type=\"" +
        rel +
        "/worksheet\" Target=\"/xl/worksheets/sheet1.xml\"/>"
        "<Relationship Id=\"rIdC\" Type=\"" +
        rel +
        "/calcChain\" Target=\"calcChain.xml\"/>"
        "</Relationships>";
    parts[QStringLiteral("xl/calcChain.xml")] =
        "<?xml version=\"1.0\"?><calcChain xmlns=\"" + main + "\"><c r=\"B1\" i=\"1\"/></calcChain>";
    parts[QStringLiteral("xl/styles.xml")] =
        "<?xml version=\"1.0\"?><x:styleSheet xmlns:x=\"" + main +
        "\"><x:fonts count=\"1\"><x:font><x:i/><x:sz val=\"11\"/><x:name val=\"Calibri\"/><x:scheme "
        "val=\"minor\"/>"
        "</x:font></x:fonts><x:fills count=\"1\"><x:fill><x:patternFill "
        "patternType=\"none\"/></x:fill></x:fills>"
        "<x:borders count=\"2\"><x:border/><x:border><x:left style=\"thin\"/><x:right style=\"thin\"/>"
        "<x:top style=\"thin\"/><x:bottom style=\"thin\"/></x:border></x:borders><x:cellXfs count=\"2\">"
        "<x:xf fontId=\"0\" borderId=\"0\"/><x:xf fontId=\"0\" borderId=\"1\" applyBorder=\"1\"/></x:cellXfs>"
        "</x:styleSheet>";
    parts[QStringLiteral("xl/worksheets/sheet1.xml")] =
        "<?xml version=\"1.0\"?><x:worksheet xmlns:x=\"" + main +
        "\"><x:dimension ref=\"A1:C3\"/><x:sheetData>"
        "<x:row><x:c t=\"inlineStr\"><x:is><x:t>Formularz</x:t></x:is></x:c><x:c "
        "s=\"1\"><x:f>0+1</x:f><x:v>1</x:v></x:c></x:row>"
        "<x:row r=\"3\"><x:c r=\"C3\"><x:v>7</x:v></x:c></x:row>"
        "</x:sheetData><x:mergeCells count=\"1\"><x:mergeCell ref=\"D3:E3\"/></x:mergeCells></x:worksheet>";
    const QString foreign = dir.filePath(QStringLiteral("obcy/karta.xlsx"));
    QDir().mkpath(QFileInfo(foreign).path());
    if (!packWorkbook(foreign, parts)) GTEST_SKIP() << "zip is not installed";

    FillPlan plan;
    plan.templateFile = QStringLiteral("karta.xlsx");
    plan.colour = kDocumentRed;
    plan.steps = {{QStringLiteral("B1"), QStringLiteral("x"), 10, {}},
                  {QStringLiteral("A2"), QStringLiteral("nowy wiersz"), 11, {}},
                  {QStringLiteral("D3"), QStringLiteral("po C3"), 12, {}},
                  {QStringLiteral("B3"), QStringLiteral("przed C3"), 12, {}},
                  {QStringLiteral("E5"), QStringLiteral("koniec"), 9, {}}};
    const XlsxSheet s = fill(plan, QFileInfo(foreign).path());
    const QMap<QString, QString> expected = {{QStringLiteral("A1"), QStringLiteral("Formularz")},
                                             {QStringLiteral("B1"), QStringLiteral("x")},
                                             {QStringLiteral("A2"), QStringLiteral("nowy wiersz")},
                                             {QStringLiteral("B3"), QStringLiteral("przed C3")},
                                             {QStringLiteral("C3"), QStringLiteral("7")},
                                             {QStringLiteral("D3"), QStringLiteral("po C3")},
                                             {QStringLiteral("E5"), QStringLiteral("koniec")}};
    for (auto it = expected.begin(); it != expected.end(); ++it)
        EXPECT_EQ(s.cells.value(it.key()).value, it.value()) << it.key().toStdString();
    // The old cell keeps its frame and the rest of its font; the face, size and colour are the
    // document's, and the theme no longer overrides the face.
    EXPECT_TRUE(s.styleOf(QStringLiteral("B1")).framed);
    EXPECT_EQ(s.fontOf(QStringLiteral("B1")).name, QStringLiteral("Times New Roman"));
    EXPECT_EQ(s.fontOf(QStringLiteral("E5")).size, 9);
    const QByteArray sheetXml = unzipMember(lastFile, QStringLiteral("xl/worksheets/sheet1.xml"));
    const QByteArray styles = unzipMember(lastFile, QStringLiteral("xl/styles.xml"));
    EXPECT_GT(styles.count("<x:font>"), 1);
    EXPECT_EQ(styles.count("<x:i/>"), styles.count("<x:font>")) << styles.toStdString();
    EXPECT_EQ(styles.count("x:scheme"), 1);
    EXPECT_TRUE(sheetXml.contains("ref=\"A1:E5\"")) << sheetXml.toStdString();
    EXPECT_TRUE(sheetXml.contains("<x:mergeCell ref=\"D3:E3\"/>"));
    QString problem;
    EXPECT_TRUE(cellsInOrder(sheetXml, problem)) << problem.toStdString();
    // The value replaced the formula of B1: the list of formulas to calculate goes with it.
    EXPECT_FALSE(sheetXml.contains("<x:f>"));
    EXPECT_TRUE(unzipMember(lastFile, QStringLiteral("xl/calcChain.xml")).isEmpty());
    EXPECT_FALSE(unzipMember(lastFile, QStringLiteral("xl/_rels/workbook.xml.rels")).contains("calcChain"));
    EXPECT_FALSE(unzipMember(lastFile, QStringLiteral("\\[Content_Types\\].xml")).contains("calcChain"));
    EXPECT_TRUE(unzipMember(lastFile, QStringLiteral("\\[Content_Types\\].xml")).contains("/xl/styles.xml"));
}
