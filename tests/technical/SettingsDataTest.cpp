// The statements of the settings window and the data set map against an embedded database.

#include "technical/data/SettingsData.h"
#include "technical/data/DataSetMap.h"
#include "technical/rules/DataSetMap.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::technical;
using korven::test::TestDatabase;

namespace {
void sql(TestDatabase& tdb, const QString& text) {
    db::Transaction t(*tdb.attachment);
    db::inTransaction(t, [&](db::Transaction& tr) { tr.execute(text); });
}
} // namespace

TEST(SettingsData, SavedValuesAreReadBackAtTheirColumnsWidthsAndScales) {
    TestDatabase tdb;
    db::Transaction working(*tdb.attachment);
    SystemSettings s = readSystemRecord(working);
    s.NAZWASKR = QStringLiteral("Komenda Miejska Państwowej Straży Poż.40"); // 40 characters
    s.ROK = 10;
    s.MN_KLI = 2.3456;
    s.NORMA_OET = 0.75;
    s.POCZNR = 500;
    s.POCZNRS = 9999;
    s.P6P12 = QStringLiteral("T");
    s.ZAPI = QStringLiteral("T");
    s.DZWIEK = QStringLiteral("T");
    s.MER = QStringLiteral("Jan Kowalski");
    const SystemSettings back = saveSystemRecord(working, s);
    EXPECT_FALSE(working.isActive()); // committed
    const SystemSettings again = readSystemRecord(working);
    for (const SystemSettings& r : {back, again}) {
        EXPECT_EQ(r.NAZWASKR, s.NAZWASKR);
        EXPECT_EQ(r.ROK, 10);
        EXPECT_EQ(r.MIE, 3);
        EXPECT_DOUBLE_EQ(r.MN_KLI, 2.3456);
        EXPECT_DOUBLE_EQ(r.NORMA_OET, 0.75);
        EXPECT_EQ(r.POCZNR, 500);
        EXPECT_EQ(r.POCZNRS, 9999);
        EXPECT_EQ(r.P6P12, QStringLiteral("T"));
        EXPECT_EQ(r.ZAPI, QStringLiteral("T"));
        EXPECT_EQ(r.DZWIEK, QStringLiteral("T"));
        EXPECT_EQ(r.MER, QStringLiteral("Jan Kowalski"));
        EXPECT_EQ(r.DYRKOM, QStringLiteral("K")); // written back as read
    }
}

TEST(SettingsData, AFailedSaveChangesNothing) {
    TestDatabase tdb;
    db::Transaction working(*tdb.attachment);
    SystemSettings s = readSystemRecord(working);
    s.POCZNR = 77;
    s.NAZWASKR = QString(41, QLatin1Char('x')); // beyond its column
    EXPECT_THROW(saveSystemRecord(working, s), db::DbError);
    EXPECT_FALSE(working.isActive());
    EXPECT_EQ(readSystemRecord(working).NAZWASKR, QStringLiteral("KORVEN"));
    EXPECT_EQ(readSystemRecord(working).POCZNR, 1);
}

TEST(SettingsData, RepairsDeleteOnlyRowsWithCodeZero) {
    TestDatabase tdb;
    sql(tdb, QStringLiteral("insert into A_KARTA (KODA, KODD, ROKD, MIED) values (0, 1, 9, 3)"));
    sql(tdb, QStringLiteral("insert into A_KARTA (KODA, KODD, ROKD, MIED) values (1, 2, 9, 3)"));
    sql(tdb, QStringLiteral("insert into A_SPRZET (KODS, NAZWA) values (0, 'x')"));
    sql(tdb, QStringLiteral("insert into A_SPRZET (KODS, NAZWA) values (1, 'y')"));
    db::Transaction working(*tdb.attachment);
    deleteTripCardsOfVehicleZero(working);
    deleteEquipmentZero(working);
    EXPECT_EQ(countDataSet(working, QStringLiteral("select KODA from A_KARTA")), 1);
    EXPECT_EQ(countDataSet(working, QStringLiteral("select KODS from A_SPRZET")), 1);
}

TEST(DataSetMap, EveryDataSetIsCountedAndAnEmptyOneIsZero) {
    TestDatabase tdb;
    db::Transaction working(*tdb.attachment);
    std::vector<int> counts;
    for (const DataSet& set : dataSets())
        counts.push_back(countDataSet(working, QString::fromUtf8(set.statement)));
    // A new database holds only the starting dictionaries.
    EXPECT_EQ(counts[0], 0);
    EXPECT_EQ(counts[1], 0);
    EXPECT_EQ(counts[5], 5);  // service kinds
    EXPECT_EQ(counts[8], 16); // equipment groups
    EXPECT_THROW(countDataSet(working, QStringLiteral("select KOD from NO_SUCH_TABLE")), db::DbError);
}
