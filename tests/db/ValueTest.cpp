#include "db/Database.h"

#include <gtest/gtest.h>

using namespace korven::db;

TEST(Decimal, ConvertsExactly) {
    struct Case {
        double value;
        int scale;
        std::int64_t units;
        const char* text;
    } cases[] = {{2.675, 2, 268, "2.68"},    {-2.675, 2, -268, "-2.68"},
                 {0.03, 5, 3000, "0.03000"}, {1e6, 2, 100000000, "1000000.00"},
                 {-0.004, 2, 0, "0.00"},     {-0.005, 2, -1, "-0.01"},
                 {12.5, 0, 13, "13"},        {-12.5, 0, -13, "-13"}};
    for (const Case& c : cases) {
        Decimal d = Decimal::fromDouble(c.value, c.scale);
        EXPECT_EQ(d.units, c.units) << c.value;
        EXPECT_EQ(d.toString(), QString::fromLatin1(c.text)) << c.value;
    }
}

TEST(Value, NullReadsAsZeroAndEmpty) {
    Value v;
    EXPECT_TRUE(v.isNull());
    EXPECT_EQ(v.toInt(), 0);
    EXPECT_EQ(v.toDouble(), 0.0);
    EXPECT_EQ(v.toText(), QString());
    EXPECT_FALSE(v.toDate().isValid());
    EXPECT_TRUE(Value(QDate()).isNull());
}

TEST(NamedParameters, TranslatesOutsideQuotesAndComments) {
    struct Case {
        const char* sql;
        const char* translated;
        QStringList names;
    } cases[] = {
        {"select * from A where KOD = :KOD", "select * from A where KOD = ?", {"KOD"}},
        {"update A set X = :x where K = :Old_Koda and L = :x",
         "update A set X = ? where K = ? and L = ?",
         {"X", "OLD_KODA", "X"}},
        {"select ':NOPE' from A where B = :B", "select ':NOPE' from A where B = ?", {"B"}},
        {"select 'it''s :no' from A -- :comment\nwhere B = :B /* :c */",
         "select 'it''s :no' from A -- :comment\nwhere B = ? /* :c */",
         {"B"}},
        {"select \"A:B\" from T", "select \"A:B\" from T", {}},
        {"insert into FJ_FLOP  ( NAZWA) values  (:NAZWA)",
         "insert into FJ_FLOP  ( NAZWA) values  (?)",
         {"NAZWA"}},
    };
    for (const Case& c : cases) {
        auto [sql, names] = translateNamedParameters(QString::fromUtf8(c.sql));
        EXPECT_EQ(sql, QString::fromUtf8(c.translated));
        EXPECT_EQ(names, c.names);
    }
}

TEST(Location, ParsesLocalAndServerFolders) {
    struct Case {
        const char* sciezka;
        const char* server;
        const char* database;
    } cases[] = {
        {"/home/jrg/korven", "", "/home/jrg/korven/korven.adb"},
        {"/home/jrg/korven/", "", "/home/jrg/korven/korven.adb"},
        {"C:\\KORVEN", "", "C:\\KORVEN\\korven.adb"},
        {"serwer:/var/lib/korven", "serwer", "serwer:/var/lib/korven/korven.adb"},
        {"serwer/3051:/data", "serwer/3051", "serwer/3051:/data/korven.adb"},
        {"192.168.1.5:C:\\KORVEN", "192.168.1.5", "192.168.1.5:C:\\KORVEN\\korven.adb"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseLocation(QString::fromUtf8(c.sciezka)).server, QString::fromUtf8(c.server))
            << c.sciezka;
        EXPECT_EQ(databaseName(QString::fromUtf8(c.sciezka)), QString::fromUtf8(c.database)) << c.sciezka;
    }
}
