// Reading transaction files, the column mapping and the matching to the trip cards, without a
// database.

#include "fuelimport/rules/FuelImport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <xlsxwriter.h>

using namespace korven;
using namespace korven::fuelimport;

namespace {

// The text begins with the expected start; an empty expectation means no text at all.
bool begins(const QString& text, const char* start) {
    return *start == 0 ? text.isEmpty() : text.startsWith(QString::fromUtf8(start));
}

struct CsvCase {
    const char* name;
    QByteArray text;
    Table expected;
};

TEST(FuelImportCsv, SeparatorsQuotesBomAndLineEnds) {
    const CsvCase cases[] = {
        {"semicolons", "a;b;c\n1;2,5;3\n", {{"a", "b", "c"}, {"1", "2,5", "3"}}},
        {"commas with a quoted decimal comma", "a,b\n\"2,5\",x\n", {{"a", "b"}, {"2,5", "x"}}},
        {"byte order mark and CRLF",
         "\xEF\xBB\xBF"
         "Data;Nr\r\n2009-03-01;KN 1\r\n",
         {{"Data", "Nr"}, {"2009-03-01", "KN 1"}}},
        {"doubled quote and a line break inside quotes",
         "a;\"say \"\"hi\"\"\nnow\"\n",
         {{"a", "say \"hi\"\nnow"}}},
        {"blank lines left out, last line without a break", "a;b\n\n;\n1;2", {{"a", "b"}, {"1", "2"}}},
        {"separator inside quotes does not count", "\"x;y;z\",b,c\n", {{"x;y;z", "b", "c"}}},
    };
    for (const CsvCase& c : cases) {
        const ReadResult r = parseCsv(c.text);
        EXPECT_TRUE(r.ok()) << c.name;
        EXPECT_EQ(r.rows, c.expected) << c.name;
    }
    const ReadResult open = parseCsv("a;\"never closed\n");
    EXPECT_FALSE(open.ok());
    EXPECT_TRUE(open.rows.empty());
}

TEST(FuelImportValues, DatesNumbersAndRegistrations) {
    const std::pair<const char*, QDate> dates[] = {{"2009-03-05", QDate(2009, 3, 5)},
                                                   {"05.03.2009", QDate(2009, 3, 5)},
                                                   {"5.3.2009 14:20", QDate(2009, 3, 5)},
                                                   {"2009-03-05T10:00:00", QDate(2009, 3, 5)},
                                                   {"2009-02-30", QDate()},
                                                   {"03/05/2009", QDate()},
                                                   {"", QDate()},
                                                   {"20090305", QDate()}};
    for (const auto& [text, date] : dates)
        EXPECT_EQ(parseImportDate(QString::fromUtf8(text)), date) << text;

    const std::pair<const char*, std::optional<double>> numbers[] = {
        {"45,5", 45.5},     {"45.50", 45.5},           {"1 234,56", 1234.56}, {"  12 ", 12.0},
        {"", std::nullopt}, {"1.234,5", std::nullopt}, {"abc", std::nullopt}, {"inf", std::nullopt}};
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(parseImportNumber(QString::fromUtf8(text)), value) << text;

    EXPECT_EQ(normalisedRegistration(QStringLiteral(" kn 10-01a ")), QStringLiteral("KN1001A"));
}

TEST(FuelImportMapping, TextFormChecksAndHeaderGuess) {
    ColumnMapping m;
    EXPECT_EQ(parseMappingText(QStringLiteral("date=2,reg=1,litres=4,odometer=3,header=no"), m), QString());
    EXPECT_EQ(m.date, 2);
    EXPECT_EQ(m.registration, 1);
    EXPECT_EQ(m.odometer, 3);
    EXPECT_FALSE(m.header);
    ColumnMapping back;
    EXPECT_EQ(parseMappingText(mappingText(m), back), QString());
    EXPECT_EQ(back, m);

    const char* refused[] = {"date=1,reg=1,litres=3", "date=x", "colour=2", "header=maybe", "date=0"};
    for (const char* text : refused) {
        ColumnMapping kept;
        EXPECT_FALSE(parseMappingText(QString::fromUtf8(text), kept).isEmpty()) << text;
        EXPECT_EQ(kept, ColumnMapping()) << text; // a refused text changes nothing
    }

    const auto guessed = guessMapping({"Nr transakcji", "Data", "Nr rej.", "Ilość [l]", "Stan licznika"});
    ASSERT_TRUE(guessed);
    EXPECT_EQ(guessed->date, 2);
    EXPECT_EQ(guessed->registration, 3);
    EXPECT_EQ(guessed->litres, 4);
    EXPECT_EQ(guessed->odometer, 5);
    EXPECT_FALSE(guessMapping({"2009-03-01", "KN 1", "40"}));
}

TEST(FuelImportRows, ReadUnderTheMappingWithReasons) {
    const Table table{{"Data", "Nr", "Litry", "Licznik"},
                      {"2009-03-01", "KN 1", "40,5", "1000"},
                      {"xx", "KN 1", "1", ""},
                      {"2009-03-01", "", "1", ""},
                      {"2009-03-01", "KN 1", "", ""},
                      {"2009-03-01", "KN 1", "-3", ""},
                      {"2009-03-01", "KN 1", "3", "km?"},
                      {"2009-03-01", "KN 1"}}; // a short row: litres missing
    ColumnMapping m;
    m.odometer = 4;
    const auto rows = readTransactions(table, m);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0].error, QString());
    EXPECT_EQ(rows[0].transaction.line, 2);
    EXPECT_EQ(rows[0].transaction.odometer, 1000.0);
    EXPECT_TRUE(rows[1].error.startsWith(QStringLiteral("Niepoprawna data")));
    EXPECT_EQ(rows[2].error, QStringLiteral("Brak numeru rejestracyjnego"));
    EXPECT_TRUE(rows[3].error.startsWith(QStringLiteral("Niepoprawna ilość")));
    EXPECT_EQ(rows[4].error, QStringLiteral("Ilość litrów musi być większa od zera"));
    EXPECT_TRUE(rows[5].error.startsWith(QStringLiteral("Niepoprawny stan licznika")));
    EXPECT_FALSE(rows[6].error.isEmpty());
}

TEST(FuelImportXlsx, SharedStringsNumbersAndDatesOfTheFirstSheet) {
    QTemporaryDir dir;
    const QByteArray path = dir.filePath(QStringLiteral("t.xlsx")).toUtf8();
    lxw_workbook* wb = workbook_new(path.constData());
    lxw_worksheet* ws = workbook_add_worksheet(wb, "Transakcje");
    lxw_format* dateFormat = workbook_add_format(wb);
    format_set_num_format(dateFormat, "dd.mm.yyyy");
    worksheet_write_string(ws, 0, 0, "Data", nullptr);
    worksheet_write_string(ws, 0, 1, "Nr rej.", nullptr);
    worksheet_write_string(ws, 0, 3, "Litry", nullptr); // column C left empty
    lxw_datetime day{2009, 3, 5, 0, 0, 0};
    worksheet_write_datetime(ws, 1, 0, &day, dateFormat);
    worksheet_write_string(ws, 1, 1, "KN 1001", nullptr);
    worksheet_write_number(ws, 1, 3, 45.5, nullptr);
    worksheet_write_string(ws, 2, 0, "06.03.2009", nullptr);
    worksheet_write_number(ws, 2, 3, 40, nullptr);
    ASSERT_EQ(workbook_close(wb), LXW_NO_ERROR);

    const ReadResult r = readTransactionFile(QString::fromUtf8(path));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.rows, (Table{{"Data", "Nr rej.", "", "Litry"},
                             {"2009-03-05", "KN 1001", "", "45.5"},
                             {"06.03.2009", "", "", "40"}}));

    EXPECT_FALSE(readXlsx("not a workbook").ok());
}

// --- Matching -----------------------------------------------------------------------------------

tripcards::VehicleContext vehicle(int koda, const char* nrrej, const char* meter = "N") {
    tripcards::VehicleContext v;
    v.KODA = koda;
    v.NRREJ = QString::fromUtf8(nrrej);
    v.RODZPAL = QStringLiteral("ON");
    v.NORMPAL = 30;
    v.CZY_MIERNIK = QString::fromUtf8(meter);
    return v;
}

tripcards::CardRecord card(int koda, int kodd, int rok, int mie, double fuel) {
    tripcards::CardRecord c;
    c.KODA = koda;
    c.KODD = kodd;
    c.ROKD = rok;
    c.MIED = mie;
    c.NORMAP = 30;
    c.PRZEBIEGM = 1000;
    c.ZUZYCIEPN = 300;
    c.ZUZYCIEP = fuel;
    return c;
}

ParsedRow tx(int line, const char* date, const char* reg, double litres) {
    ParsedRow p;
    p.transaction.line = line;
    p.transaction.date = parseImportDate(QString::fromUtf8(date));
    p.transaction.registration = QString::fromUtf8(reg);
    p.transaction.litres = litres;
    return p;
}

class Matching : public ::testing::Test {
protected:
    Matching() {
        input.vehicles = {vehicle(1, "KN 1001"), vehicle(2, "KN 1002", "T"), vehicle(3, "WA 1"),
                          vehicle(4, "wa1"), vehicle(5, "KN 1005", "X")};
        input.cards = {card(1, 10, 9, 3, 100), card(1, 11, 9, 3, 50), card(2, 20, 9, 3, 0),
                       card(1, 5, 9, 1, 0), card(5, 50, 9, 3, 0)};
        input.currentYear = 9;
        input.currentMonth = 3;
    }
    ImportInput input;
};

TEST_F(Matching, EachRowMatchedToTheCardOfItsVehicleAndMonthOrGivenAReason) {
    ParsedRow broken = tx(9, "2009-03-01", "KN 1001", 1);
    broken.error = QStringLiteral("Niepoprawna data \"x\"");
    const std::vector<ParsedRow> rows{
        tx(2, "2009-03-01", "kn1001", 40),   tx(3, "2009-03-02", "KN 1001", 12.5),
        tx(4, "2009-03-01", "KN  1001", 40), tx(5, "2009-03-03", "XX 1", 5),
        tx(6, "2009-02-03", "KN 1001", 5),   tx(7, "2009-03-04", "WA 1", 5),
        tx(8, "2009-03-04", "KN 1002", 7),   broken,
        tx(10, "2009-03-09", "KN 1001", 3)};
    input.importedKeys.insert(rows[8].transaction.key());
    const ImportPlan plan = planImport(rows, input);

    struct Expected {
        RowStatus status;
        const char* reasonStart;
        int kodd;
    };
    const Expected expected[] = {
        {RowStatus::Matched, "", 11}, // the month's card with the highest number
        {RowStatus::Matched, "", 11},
        {RowStatus::Duplicate, "Powtórzenie transakcji z wiersza 2", 0},
        {RowStatus::Unmatched, "Nieznany pojazd XX 1", 0},
        {RowStatus::Unmatched, "Pojazd KN 1001 nie ma karty za 02.2009", 0},
        {RowStatus::Unmatched, "Numer WA 1 ma kilka pojazdów", 0},
        {RowStatus::Matched, "", 20},
        {RowStatus::Unmatched, "Niepoprawna data", 0},
        {RowStatus::Duplicate, "Transakcja zaimportowana wcześniej", 0},
    };
    ASSERT_EQ(plan.rows.size(), std::size(expected));
    for (std::size_t i = 0; i < plan.rows.size(); ++i) {
        const RowOutcome& r = plan.rows[i];
        EXPECT_EQ(r.status, expected[i].status) << "line " << r.transaction.line;
        EXPECT_TRUE(begins(r.reason, expected[i].reasonStart))
            << "line " << r.transaction.line << ": " << r.reason.toStdString();
        if (r.status == RowStatus::Matched) {
            EXPECT_EQ(r.card.KODD, expected[i].kodd);
        }
    }
    EXPECT_EQ(plan.count(RowStatus::Matched), 3);
    EXPECT_EQ(plan.count(RowStatus::Duplicate), 2);
    EXPECT_EQ(plan.count(RowStatus::Unmatched), 4);

    ASSERT_EQ(plan.cards.size(), 2u);
    const CardChange& norms = plan.cards[0];
    EXPECT_EQ(norms.key.KODD, 11);
    EXPECT_EQ(norms.transactions, 2);
    EXPECT_DOUBLE_EQ(norms.before, 50);
    EXPECT_DOUBLE_EQ(norms.after, 102.5);
    EXPECT_TRUE(norms.refusal.isEmpty());
    // Entered as typed into the field: its rule and the settlement chain ran on the card.
    EXPECT_DOUBLE_EQ(norms.updated.ZUZYCIEP, 102.5);
    EXPECT_DOUBLE_EQ(norms.updated.PRZEBIEGS, 1000);
    EXPECT_DOUBLE_EQ(norms.updated.RAZEMP, 300);
    EXPECT_DOUBLE_EQ(norms.original.ZUZYCIEP, 50);
    const CardChange& meter = plan.cards[1];
    EXPECT_EQ(meter.key.KODA, 2);
    EXPECT_DOUBLE_EQ(meter.after, 7);
    EXPECT_DOUBLE_EQ(meter.updated.PRZEPALP, -7); // by the meter chain: nothing measured, 7 L over
    EXPECT_TRUE(plan.canApply());
}

TEST_F(Matching, CardsThatCannotTakeTheFuelStopTheImport) {
    struct Case {
        const char* name;
        int accessLevel;
        ParsedRow row;
        double fuelBefore;
        const char* refusalStart;
    };
    const Case cases[] = {
        {"card of January for a restricted operator in March", 5, tx(2, "2009-01-10", "KN 1001", 10), 0,
         "... Za niskie uprawnienia"},
        {"the same card for full access", 0, tx(2, "2009-01-10", "KN 1001", 10), 0, ""},
        {"total beyond what the column keeps", 0, tx(2, "2009-01-10", "KN 1001", 100), 21474836.00,
         "Faktyczne"},
        {"vehicle whose meter flag opens no settlement window", 0, tx(2, "2009-03-10", "KN 1005", 10), 0,
         "Pojazd ma nieznany znacznik"},
    };
    for (const Case& c : cases) {
        ImportInput in = input;
        in.accessLevel = c.accessLevel;
        in.cards[3].ZUZYCIEP = c.fuelBefore;
        const ImportPlan plan = planImport({c.row}, in);
        ASSERT_EQ(plan.cards.size(), 1u) << c.name;
        const CardChange& change = plan.cards[0];
        EXPECT_TRUE(begins(change.refusal, c.refusalStart)) << c.name << ": " << change.refusal.toStdString();
        EXPECT_EQ(plan.canApply(), *c.refusalStart == 0) << c.name;
        if (!change.refusal.isEmpty()) {
            // a refused card keeps every value as read
            EXPECT_DOUBLE_EQ(change.updated.ZUZYCIEP, change.original.ZUZYCIEP) << c.name;
            EXPECT_DOUBLE_EQ(change.updated.PRZEBIEGS, change.original.PRZEBIEGS) << c.name;
        }
    }
}

} // namespace
