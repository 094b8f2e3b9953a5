#include "schema/Schema.h"
#include "schema/Shape.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace korven;
using korven::test::TestDatabase;

namespace {

QStringList describe(db::Transaction& t, const QString& table) {
    return schema::describeColumns(t, table);
}

QStringList lines(const char* text) {
    QStringList out;
    for (const QString& l : QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        out << l.trimmed();
    return out;
}

QStringList cardColumns() {
    QStringList out = lines(R"(
        KODA INTEGER NOT NULL
        KODD INTEGER NOT NULL
        NRREJ CHAR(10)
        ROKD INTEGER NOT NULL
        MIED INTEGER NOT NULL
        DATAD DATE
        PRZEBIEG0 DECIMAL(9,2)
        PRZEBIEGM DECIMAL(9,2)
        PRZEBIEGS DECIMAL(9,2)
        PRZEBIEG0P DECIMAL(9,2)
        PRZEBIEGMP DECIMAL(9,2)
        PRZEBIEGSP DECIMAL(9,2)
        NORMAP DECIMAL(9,2)
        NORMAA DECIMAL(9,2)
        NORMAUG DECIMAL(9,2)
        NORMAO DECIMAL(9,2)
        ZUZYCIEPN DECIMAL(9,2)
        ZUZYCIEP DECIMAL(9,2)
        ZUZYCIEON DECIMAL(9,2)
        ZUZYCIEO DECIMAL(9,2)
        DODATKIP DECIMAL(9,2)
        RAZEMP DECIMAL(9,2)
        PRZEPALP DECIMAL(9,2)
        PRZEPALO DECIMAL(9,2)
        WYJAZDMZ INTEGER
        WYJAZDP INTEGER
        WYJAZDF INTEGER
        WYJAZDIN INTEGER
        MASAPR DECIMAL(9,2)
        MIER_POCZ DECIMAL(8,2) DEFAULT 0
        MIER_KON DECIMAL(8,2) DEFAULT 0)");
    for (const char* base : {"DODPOS", "DODNAP", "DODUR1", "DODUR2", "DODMIE", "DODA", "DODG", "DODUG",
                             "DODOZ", "DODK", "DODT", "DODZ", "DODSZ", "DODH"}) {
        QString b = QString::fromLatin1(base);
        if (b.startsWith(QLatin1String("DODUR")))
            out << b + " DECIMAL(7,2) DEFAULT 0" << b + "_1 DECIMAL(8,5) DEFAULT 0"
                << b + "_2 DECIMAL(7,2) DEFAULT 0" << b + "_3 DECIMAL(7,2) DEFAULT 0";
        else
            out << b + " DECIMAL(9,2)" << b + "_1 DECIMAL(9,5)" << b + "_2 DECIMAL(9,2)"
                << b + "_3 DECIMAL(9,2)";
    }
    return out;
}

} // namespace

TEST(Schema, TablesAndColumnsAreTheDocumentedOnes) {
    TestDatabase tdb;
    db::Transaction t(*tdb.attachment);
    t.start();

    QStringList tables;
    for (const db::Row& r : t.select(QStringLiteral("select RDB$RELATION_NAME as N from RDB$RELATIONS where "
                                                    "coalesce(RDB$SYSTEM_FLAG, 0) = 0 order by 1")))
        tables << r.text("N").trimmed();
    EXPECT_EQ(tables, (QStringList{"A_AUTO", "A_GRUPP", "A_GRUPS", "A_KARTA", "A_KARTAS", "A_KOMEN", "A_OBSK",
                                   "A_OBSLU", "A_RODZP", "A_SPRZET", "FJ_BAZA", "FJ_DOSTEP", "FJ_FLOP",
                                   "FJ_HIST", "FJ_IMPMAP", "FJ_IMPTR", "FJ_OPCJE"}));

    EXPECT_EQ(describe(t, "A_RODZP"), lines("KOD INTEGER NOT NULL\nNAZWA CHAR(40)"));
    EXPECT_EQ(describe(t, "A_GRUPP"), lines("KOD INTEGER NOT NULL\nNAZWA CHAR(40)"));
    EXPECT_EQ(describe(t, "A_KOMEN"), lines("KOD INTEGER NOT NULL\nNAZWA CHAR(40)\nNRJED CHAR(20)"));
    EXPECT_EQ(describe(t, "A_OBSK"),
              lines("KOD DECIMAL(3,0) NOT NULL\nTYP CHAR(3)\nNAZWA CHAR(30)\nILE DECIMAL(4,0) DEFAULT 0"));
    EXPECT_EQ(describe(t, "A_GRUPS"), lines("KOD DECIMAL(3,0) NOT NULL\nNAZWA CHAR(60)"));
    EXPECT_EQ(describe(t, "FJ_FLOP"), lines("LP INTEGER NOT NULL\nNAZWA CHAR(60)"));
    EXPECT_EQ(describe(t, "A_OBSLU"), lines(R"(
        KODA DECIMAL(6,0) NOT NULL
        KODB DECIMAL(6,0) NOT NULL
        TYP CHAR(3)
        NAZWA CHAR(30)
        DATAW DATE
        DATAP DATE DEFAULT 'TODAY'
        STANW DECIMAL(10,2) DEFAULT 0
        STANP DECIMAL(10,2) DEFAULT 0
        PLANW CHAR(1)
        UWAGI CHAR(100)
        ILE DECIMAL(4,0) DEFAULT 0)"));
    EXPECT_EQ(describe(t, "A_AUTO"), lines(R"(
        KODA INTEGER NOT NULL
        NRREJ CHAR(10)
        NAZWA CHAR(40)
        RODZPOJ CHAR(40)
        KO CHAR(1)
        KOMENDA CHAR(40)
        NRJED CHAR(10)
        KSRG CHAR(1)
        MARKAPOD CHAR(20)
        TYPPOD CHAR(20)
        MODELPOD CHAR(20)
        PRODNAD CHAR(20)
        OZNPROD CHAR(20)
        TYPNAD CHAR(1)
        SR CHAR(1)
        SO CHAR(2)
        PARHAR CHAR(20)
        NRPOD CHAR(20)
        NRSILN CHAR(20)
        TYPSILN CHAR(20)
        RPR CHAR(4)
        DOEKSPL DATE
        PPOJ CHAR(2)
        NROPER CHAR(20)
        RODZPAL CHAR(2)
        NORMPAL DECIMAL(9,2)
        NORMPOM DECIMAL(6,3)
        NORMUG DECIMAL(6,3)
        PN CHAR(20)
        GRPOJ CHAR(60)
        KLPOJ CHAR(1)
        KAT CHAR(1)
        ILOMIE INTEGER
        ZBIORNIK CHAR(20)
        PARPOMP CHAR(20)
        WYPOSAZ CHAR(1)
        FOTO CHAR(30)
        KOD_RP INTEGER
        KOD_GP INTEGER
        KOD_KO INTEGER
        TYP CHAR(1)
        POJ_ZBIO DECIMAL(7,2)
        POJ_KANI DECIMAL(7,2)
        OLEJ_KLA CHAR(20)
        OLEJ_POJ DECIMAL(6,2)
        OLEJ_MAR CHAR(20)
        BLOKADA CHAR(1)
        INFO1 CHAR(100)
        INFO2 CHAR(100)
        INFO3 CHAR(100)
        NORMUR1 DECIMAL(6,3) DEFAULT 0
        NORMUR2 DECIMAL(6,3) DEFAULT 0
        CZY_MIERNIK CHAR(1) DEFAULT 'N'
        OSOB_ODP CHAR(40))"));
    EXPECT_EQ(describe(t, "A_KARTA"), cardColumns());
    QStringList sprzet = lines(R"(
        KODS DECIMAL(6,0) NOT NULL
        NRREJ CHAR(10)
        NAZWA CHAR(40)
        NRPOD CHAR(20)
        NRIDENT CHAR(20)
        KOD_GR DECIMAL(3,0)
        GRSPRZ CHAR(60)
        KOD_KO DECIMAL(3,0)
        KOMENDA CHAR(40)
        NRJED CHAR(20)
        INFO1 CHAR(60)
        INFO2 CHAR(60)
        INFO3 CHAR(60)
        INFO4 CHAR(60)
        FOTO CHAR(30)
        MARKASILN CHAR(30)
        TYPSILN CHAR(20)
        RODZSILN CHAR(1) DEFAULT '2'
        RPR CHAR(4) DEFAULT '2008'
        NRFABR CHAR(30)
        POJSKOK CHAR(10)
        MOC CHAR(10)
        PRODUCENT CHAR(40)
        PARHAR CHAR(20)
        NROPER CHAR(20)
        DOEKSPL DATE DEFAULT 'TODAY'
        RODZPAL CHAR(2) DEFAULT 'ET'
        NORMPAL DECIMAL(7,3) DEFAULT 0
        NORMOLM DECIMAL(7,3) DEFAULT 0
        NORMOLS DECIMAL(7,3) DEFAULT 0
        POJ_ZBIO DECIMAL(7,2) DEFAULT 0
        POJ_KANI DECIMAL(7,2) DEFAULT 0
        OLEJ_KLA CHAR(20)
        OLEJ_MARS CHAR(20)
        OLEJ_MARL CHAR(20))");
    for (int i = 1; i <= 10; ++i)
        sprzet << QStringLiteral("SKLAD_ZES%1 CHAR(50)").arg(i);
    sprzet << QStringLiteral("BLOKADA CHAR(1) DEFAULT 'N'");
    EXPECT_EQ(describe(t, "A_SPRZET"), sprzet);
    EXPECT_EQ(describe(t, "A_KARTAS"), lines(R"(
        KODS DECIMAL(6,0) NOT NULL
        KODK DECIMAL(6,0) NOT NULL
        NRREJ CHAR(10)
        ROKS DECIMAL(2,0) NOT NULL
        MIES DECIMAL(2,0) NOT NULL
        DATAS DATE DEFAULT 'TODAY'
        CZAS DECIMAL(5,0) DEFAULT 0
        NORMAPAL DECIMAL(7,3) DEFAULT 0
        NORMOLM DECIMAL(7,3) DEFAULT 0
        NORMOLS DECIMAL(7,3) DEFAULT 0
        ZUZYCIEPALN DECIMAL(7,2) DEFAULT 0
        ZUZYCIEOLMN DECIMAL(7,2) DEFAULT 0
        ZUZYCIEOLSN DECIMAL(7,2) DEFAULT 0
        ZUZYCIEPALF DECIMAL(7,2) DEFAULT 0
        ILOPOBOLM DECIMAL(7,2) DEFAULT 0
        ILOPOBOLS DECIMAL(7,2) DEFAULT 0
        POZOSTOLM DECIMAL(7,2) DEFAULT 0
        POZOSTOLS DECIMAL(7,2) DEFAULT 0
        OSZCZPAL DECIMAL(7,2) DEFAULT 0
        IMIENAZ CHAR(40))"));

    // The system record keeps at least the documented widths.
    QStringList baza = describe(t, "FJ_BAZA");
    for (const char* expected :
         {"NAZWASKR CHAR(40)", "MER CHAR(60)", "RAC CHAR(60)", "GLK CHAR(60)", "DYR CHAR(60)", "SPO CHAR(60)",
          "POCZNRS DECIMAL(4,0) DEFAULT 1", "LOGO CHAR(50)", "NIP CHAR(13)", "REGON CHAR(14)", "KODP CHAR(6)",
          "US CHAR(50)"})
        EXPECT_TRUE(baza.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_EQ(baza.size(), 60);

    // Keys, the name index and the generator.
    QStringList keys;
    for (const db::Row& r : t.select(QStringLiteral(
             "select trim(c.RDB$RELATION_NAME) || '(' || list(trim(s.RDB$FIELD_NAME)) || ')' as K from "
             "RDB$RELATION_CONSTRAINTS c join RDB$INDEX_SEGMENTS s on s.RDB$INDEX_NAME = c.RDB$INDEX_NAME "
             "where c.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY' group by c.RDB$RELATION_NAME order by 1")))
        keys << r.text("K");
    EXPECT_TRUE(keys.contains("A_KARTAS(KODS,ROKS,MIES,KODK)")) << keys.join(' ').toStdString();
    EXPECT_TRUE(keys.contains("A_OBSLU(KODA,KODB)"));
    EXPECT_TRUE(keys.contains("A_AUTO(KODA)"));
    EXPECT_EQ(
        t.scalar(QStringLiteral("select count(*) from RDB$INDICES where RDB$INDEX_NAME = 'A_SPRZETN' and "
                                "RDB$RELATION_NAME = 'A_SPRZET'"))
            .toInt(),
        1);
    EXPECT_EQ(
        t.scalar(QStringLiteral("select count(*) from RDB$GENERATORS where RDB$GENERATOR_NAME = 'NUM_OPER'"))
            .toInt(),
        1);
    t.commit();
}

TEST(Schema, StartingRowsAndOptions) {
    TestDatabase tdb(26, 12);
    db::Transaction t(*tdb.attachment);
    t.start();
    db::Row baza = *t.selectOne(QStringLiteral("select * from FJ_BAZA where LP = 1"));
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from FJ_BAZA")).toInt(), 1);
    EXPECT_EQ(baza.integer("ROK"), 26);
    EXPECT_EQ(baza.integer("MIE"), 12);
    EXPECT_EQ(baza.integer("ILE"), 0);
    for (const char* flag : {"FTECH", "ZAPI", "BILA", "DZWIEK", "P6P12"})
        EXPECT_EQ(baza.text(flag), QStringLiteral("N")) << flag;
    EXPECT_GT(baza.number("MN_POS"), 0.0); // a new card divides by it
    EXPECT_EQ(baza.integer("POCZNR"), 1);
    EXPECT_EQ(baza.integer("POCZNRS"), 1);

    db::Rows obsk = t.select(QStringLiteral("select * from A_OBSK order by KOD"));
    ASSERT_EQ(obsk.size(), 5u);
    EXPECT_EQ(obsk[3].text("TYP"), QStringLiteral("UDT"));
    EXPECT_EQ(obsk[3].text("NAZWA"), QStringLiteral("Urząd Dozoru Technicznego"));
    db::Rows grups = t.select(QStringLiteral("select * from A_GRUPS order by KOD"));
    ASSERT_EQ(grups.size(), 16u);
    EXPECT_EQ(grups[2].text("NAZWA"),
              QStringLiteral("Agregaty prądotwórcze do 5 kVA z osprzętem oświetleniowym"));
    EXPECT_EQ(grups[15].text("NAZWA"), QStringLiteral("Zestaw narzędzi hydraulicznych kategorii 2"));

    EXPECT_EQ(t.scalar(QStringLiteral("select MON$FORCED_WRITES from MON$DATABASE")).toInt(), 1);
    EXPECT_EQ(t.scalar(QStringLiteral("select MON$SQL_DIALECT from MON$DATABASE")).toInt(), 3);
    EXPECT_EQ(t.scalar(QStringLiteral("select RDB$CHARACTER_SET_NAME from RDB$DATABASE")).toText().trimmed(),
              QStringLiteral("UTF8"));
    t.commit();
}

TEST(Schema, OperatorRowsAreNumberedAlsoForNonOwners) {
    TestDatabase tdb;
    tdb.attachment->executeImmediate(QStringLiteral("GRANT SELECT, INSERT, DELETE ON FJ_FLOP TO OPERATOR1"));
    auto op = db::Attachment::attach(tdb.params(QStringLiteral("OPERATOR1")));
    db::Transaction t(*op);
    auto lp = db::inTransaction(t, [](db::Transaction& tr) {
        auto first = tr.selectOne(QStringLiteral("insert into FJ_FLOP (NAZWA) values (:NAZWA) returning LP"),
                                  {{"NAZWA", "Jan"}});
        auto second = tr.selectOne(QStringLiteral("insert into FJ_FLOP (NAZWA) values (:NAZWA) returning LP"),
                                   {{"NAZWA", "Ewa"}});
        return std::make_pair(first->integer("LP"), second->integer("LP"));
    });
    EXPECT_EQ(lp.first, 1);
    EXPECT_EQ(lp.second, 2);
}

TEST(Schema, IsqlReadsTheDatabase) {
    TestDatabase tdb;
    QString file = tdb.database;
    tdb.attachment->detach(); // the embedded engine holds the file exclusively while attached
    QProcess isql;
    isql.start(QStringLiteral("isql-fb"),
               {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA"), file});
    ASSERT_TRUE(isql.waitForStarted(10000)) << "isql-fb is part of firebird3.0-utils";
    isql.write("show tables;\nselect NAZWA from A_OBSK where KOD = 2;\n");
    isql.closeWriteChannel();
    ASSERT_TRUE(isql.waitForFinished(30000));
    QString out = QString::fromUtf8(isql.readAll());
    EXPECT_TRUE(out.contains(QLatin1String("A_KARTAS"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Obsługa Techniczna"))) << out.toStdString();
}

TEST(Schema, CreatingOverAnExistingDatabaseIsRefused) {
    TestDatabase tdb;
    db::ConnectParams p = tdb.params();
    tdb.attachment->detach();
    EXPECT_THROW(schema::createDatabase(p, 9, 3), db::DbError);
    // The old database is still whole.
    auto att = db::Attachment::attach(p);
    db::Transaction t(*att);
    EXPECT_EQ(db::inTransaction(t,
                                [](db::Transaction& tr) {
                                    return tr.scalar(QStringLiteral("select count(*) from A_GRUPS")).toInt();
                                }),
              16);
}
