// The import against an embedded database: a file of a thousand transactions with matched,
// unmatched and duplicate rows, as CSV and as XLSX; the preview writes nothing, a second import of
// the same file changes nothing, and a card held or changed by another copy stops the whole import.

#include "fuelimport/data/FuelImportData.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <map>

using namespace korven;
using namespace korven::fuelimport;
using korven::test::TestDatabase;

namespace {

constexpr int vehiclesWithCards = 15; // KN 1001 .. KN 1015 have cards of January to March 2009
constexpr int vehiclesKnown = 18;     // KN 1016 .. KN 1018 have none; KN 1019 .. KN 1021 are unknown

struct Generated {
    int vehicle;
    QDate date;
    double litres;
    int odometer;
    bool duplicate;
};

// A thousand transactions; every 25th repeats the one before it.
std::vector<Generated> generate() {
    std::vector<Generated> out;
    for (int i = 0; i < 1000; ++i) {
        if (i % 25 == 24) {
            Generated copy = out.back();
            copy.duplicate = true;
            out.push_back(copy);
            continue;
        }
        out.push_back({1 + i % 21, QDate(2009, 1 + (i / 5) % 3, 1 + i % 28), 10 + i % 50 + 0.25 * (i % 4),
                       10000 + i, false});
    }
    return out;
}

QString registration(int vehicle) {
    // written as fuel-card exports do: sometimes without the space, sometimes in lower case
    const QString r = QStringLiteral("KN %1").arg(1000 + vehicle);
    return vehicle % 3 == 0 ? r.toLower().remove(QLatin1Char(' ')) : r;
}

void writeCsv(const QString& path, const std::vector<Generated>& rows) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\xEF\xBB\xBF"); // the byte order mark spreadsheet programs write
    QTextStream s(&f);
    s << "Data;Nr rej.;Litry;Licznik\r\n";
    int i = 0;
    for (const Generated& g : rows) {
        const QString date =
            i++ % 2 ? g.date.toString(QStringLiteral("dd.MM.yyyy")) : g.date.toString(Qt::ISODate);
        s << date << ";\"" << registration(g.vehicle) << "\";" << QString::number(g.litres).replace('.', ',')
          << ';' << g.odometer << "\r\n";
    }
}

void writeXlsx(const QString& path, const std::vector<Generated>& rows) {
    const QByteArray name = path.toUtf8();
    lxw_workbook* wb = workbook_new(name.constData());
    lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
    lxw_format* dateFormat = workbook_add_format(wb);
    format_set_num_format(dateFormat, "yyyy-mm-dd");
    const char* header[] = {"Data", "Nr rej.", "Litry", "Licznik"};
    for (int c = 0; c < 4; ++c)
        worksheet_write_string(ws, 0, lxw_col_t(c), header[c], nullptr);
    lxw_row_t r = 1;
    for (const Generated& g : rows) {
        lxw_datetime d{g.date.year(), g.date.month(), g.date.day(), 0, 0, 0};
        worksheet_write_datetime(ws, r, 0, &d, dateFormat);
        worksheet_write_string(ws, r, 1, registration(g.vehicle).toUtf8().constData(), nullptr);
        worksheet_write_number(ws, r, 2, g.litres, nullptr);
        worksheet_write_number(ws, r, 3, g.odometer, nullptr);
        ++r;
    }
    ASSERT_EQ(workbook_close(wb), LXW_NO_ERROR);
}

class ImportFixture : public ::testing::TestWithParam<const char*> {
protected:
    ImportFixture() : working(*tdb.attachment), bracket(*tdb.attachment) {
        settings.ROK = 9;
        settings.MIE = 3;
        for (int v = 1; v <= vehiclesKnown; ++v) {
            sql(QStringLiteral(
                    "insert into A_AUTO (KODA, NRREJ, NAZWA, TYP, RODZPAL, BLOKADA, NORMPAL, CZY_MIERNIK) "
                    "values (:KODA, :NRREJ, 'Pojazd', 'P', 'ON', 'N', 30, :M)"),
                {{"KODA", v},
                 {"NRREJ", QStringLiteral("KN %1").arg(1000 + v)},
                 {"M", v == 2 ? QStringLiteral("T") : QStringLiteral("N")}});
            if (v > vehiclesWithCards) continue;
            for (int m = 1; m <= 3; ++m)
                sql(QStringLiteral(
                        "insert into A_KARTA (KODA, KODD, NRREJ, ROKD, MIED, NORMAP, PRZEBIEG0, PRZEBIEGM, "
                        "PRZEBIEGS, ZUZYCIEPN, ZUZYCIEP, RAZEMP, PRZEPALP, DODATKIP) values (:KODA, :KODD, "
                        ":NRREJ, 9, :MIED, 30, 1000, 500, 1500, 150, 20, 150, 0, 0)"),
                    {{"KODA", v},
                     {"KODD", v * 10 + m},
                     {"NRREJ", QStringLiteral("KN %1").arg(1000 + v)},
                     {"MIED", m}});
        }
        rows = generate();
        path = tdb.dir.filePath(QStringLiteral("transakcje.") + QString::fromUtf8(GetParam()));
        if (QString::fromUtf8(GetParam()) == QLatin1String("csv"))
            writeCsv(path, rows);
        else
            writeXlsx(path, rows);
    }

    void sql(const QString& text, const db::Params& params = {}) {
        db::Transaction t(*tdb.attachment);
        db::inTransaction(t, [&](db::Transaction& tr) { tr.execute(text, params); });
    }
    std::int64_t count(const QString& text) {
        db::Transaction t(*tdb.attachment);
        return db::inTransaction(t, [&](db::Transaction& tr) { return tr.scalar(text).toInt(); });
    }
    // Every card row, every column, as text.
    QStringList cards() {
        db::Transaction t(*tdb.attachment);
        return db::inTransaction(t, [&](db::Transaction& tr) {
            QStringList out;
            for (const db::Row& r :
                 tr.select(QStringLiteral("select * from A_KARTA order by KODA, KODD, ROKD, MIED"))) {
                QStringList values;
                for (int i = 0; i < r.size(); ++i)
                    values << r.at(i).toText();
                out << values.join(QLatin1Char('|'));
            }
            return out;
        });
    }
    FuelImportData data() { return FuelImportData(working, bracket, settings, OperatorSession{}); }
    ImportPlan preview() {
        const ReadResult file = readTransactionFile(path);
        EXPECT_TRUE(file.ok()) << file.error.toStdString();
        const auto mapping = guessMapping(file.rows.front());
        EXPECT_TRUE(mapping);
        const auto parsed = readTransactions(file.rows, mapping.value_or(ColumnMapping{}));
        return planImport(parsed, data().loadInput(parsed));
    }

    TestDatabase tdb{9, 3};
    db::Transaction working;
    db::Transaction bracket;
    SystemSettings settings;
    std::vector<Generated> rows;
    QString path;
};

TEST_P(ImportFixture, ThousandRowsPreviewThenApplyThenAgainChangesNothing) {
    // What the file must do, worked out from the generated rows.
    std::map<std::pair<int, int>, double> litres; // (vehicle, month) -> litres
    int matched = 0, unmatched = 0, duplicates = 0;
    for (const Generated& g : rows) {
        if (g.duplicate) {
            ++duplicates;
        } else if (g.vehicle <= vehiclesWithCards) {
            ++matched;
            litres[{g.vehicle, g.date.month()}] += g.litres;
        } else {
            ++unmatched;
        }
    }
    const QStringList before = cards();

    const ImportPlan plan = preview();
    EXPECT_EQ(plan.count(RowStatus::Matched), matched);
    EXPECT_EQ(plan.count(RowStatus::Unmatched), unmatched);
    EXPECT_EQ(plan.count(RowStatus::Duplicate), duplicates);
    EXPECT_EQ(plan.cards.size(), litres.size());
    int noCard = 0, unknown = 0;
    for (const RowOutcome& r : plan.rows) {
        if (r.reason.startsWith(QStringLiteral("Nieznany pojazd"))) ++unknown;
        if (r.reason.contains(QStringLiteral("nie ma karty"))) ++noCard;
    }
    EXPECT_GT(noCard, 0);
    EXPECT_GT(unknown, 0);
    EXPECT_EQ(noCard + unknown, unmatched);
    EXPECT_EQ(cards(), before) << "the preview wrote";
    EXPECT_EQ(count(QStringLiteral("select count(*) from FJ_IMPTR")), 0);

    const ApplyResult applied = data().apply(plan, QStringLiteral("transakcje"));
    ASSERT_TRUE(applied.applied()) << applied.message.toStdString();
    EXPECT_EQ(applied.transactions, matched);
    EXPECT_EQ(count(QStringLiteral("select count(*) from FJ_IMPTR")), matched);
    for (const auto& [key, sum] : litres) {
        const auto [vehicle, month] = key;
        db::Transaction t(*tdb.attachment);
        t.start();
        const auto row =
            t.selectOne(QStringLiteral("select ZUZYCIEP, RAZEMP, PRZEPALP from A_KARTA where KODA = "
                                       ":K and MIED = :M"),
                        {{"K", vehicle}, {"M", month}});
        ASSERT_TRUE(row);
        EXPECT_NEAR(row->number(QStringLiteral("ZUZYCIEP")), 20 + sum, 0.001) << vehicle << "/" << month;
        if (vehicle != 2) { // by norms: the fuel above the 150 L of the norm is overconsumption
            EXPECT_NEAR(row->number(QStringLiteral("PRZEPALP")), std::min(0.0, 150 - (20 + sum)), 0.001);
        }
    }

    const QStringList afterFirst = cards();
    const ImportPlan again = preview();
    EXPECT_EQ(again.count(RowStatus::Matched), 0);
    EXPECT_EQ(again.count(RowStatus::Duplicate), matched + duplicates);
    EXPECT_TRUE(again.cards.empty());
    ASSERT_TRUE(data().apply(again, QStringLiteral("transakcje")).applied());
    EXPECT_EQ(cards(), afterFirst);
    EXPECT_EQ(count(QStringLiteral("select count(*) from FJ_IMPTR")), matched);
}

TEST_P(ImportFixture, CardHeldOrChangedByAnotherCopyStopsEverything) {
    const QStringList before = cards();
    ASSERT_GT(count(QStringLiteral("select count(*) from A_KARTA where KODA = 1 and MIED = 3")), 0);
    {
        // Another copy is saving card 1/March right now: its row is locked until it commits.
        auto other = db::Attachment::attach(tdb.params());
        db::Transaction t(*other);
        t.start();
        ASSERT_EQ(t.execute(QStringLiteral("update A_KARTA set ZUZYCIEO = 1 where KODA = 1 and MIED = 3")),
                  1);
        const ApplyResult r = data().apply(preview(), QStringLiteral("transakcje"));
        EXPECT_EQ(r.status, ApplyResult::Status::Conflict) << r.message.toStdString();
        EXPECT_TRUE(r.message.contains(QStringLiteral("Niczego nie zapisano"))) << r.message.toStdString();
        t.rollback();
    }
    EXPECT_EQ(cards(), before);
    EXPECT_EQ(count(QStringLiteral("select count(*) from FJ_IMPTR")), 0);

    // Saved by another copy between the preview and "Zatwierdź".
    const ImportPlan plan = preview();
    sql(QStringLiteral("update A_KARTA set ZUZYCIEO = 2 where KODA = 3 and MIED = 2"));
    const QStringList changed = cards();
    const ApplyResult r = data().apply(plan, QStringLiteral("transakcje"));
    EXPECT_EQ(r.status, ApplyResult::Status::Conflict);
    EXPECT_TRUE(r.message.contains(QStringLiteral("po przygotowaniu podglądu"))) << r.message.toStdString();
    EXPECT_EQ(cards(), changed);
    EXPECT_EQ(count(QStringLiteral("select count(*) from FJ_IMPTR")), 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, ImportFixture, ::testing::Values("csv", "xlsx"));

TEST(FuelImportMappings, StoredByNameWithOneDefault) {
    TestDatabase tdb;
    db::Transaction working(*tdb.attachment), bracket(*tdb.attachment);
    FuelImportData data(working, bracket, SystemSettings{}, OperatorSession{});
    ColumnMapping a;
    a.NAZWA = QStringLiteral("Stacja A");
    a.isDefault = true;
    ColumnMapping b;
    b.NAZWA = QStringLiteral("Stacja B");
    b.date = 4;
    b.odometer = 5;
    b.header = false;
    data.saveMapping(a);
    data.saveMapping(b);
    EXPECT_EQ(data.mapping(QStringLiteral("Stacja B")), b);
    EXPECT_EQ(data.defaultMapping(), a);
    b.isDefault = true;
    data.saveMapping(b); // over the old one, taking the default mark
    EXPECT_EQ(data.mappings().size(), 2u);
    EXPECT_EQ(data.defaultMapping(), b);
    EXPECT_FALSE(data.mapping(QStringLiteral("Stacja A"))->isDefault);
    data.deleteMapping(QStringLiteral("Stacja A"));
    EXPECT_FALSE(data.mapping(QStringLiteral("Stacja A")));
}

} // namespace
