// The statements' reads and the period indexes against an embedded database.

#include "reports/data/StatementData.h"
#include "schema/StatementIndexes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::reports;
using korven::test::TestDatabase;

namespace {

class StatementDataFixture : public ::testing::Test {
protected:
    StatementDataFixture() : t(*tdb.attachment) {
        sql("insert into A_AUTO (KODA, NRREJ, NAZWA, TYP, RODZPAL, KOD_RP, KOD_GP, KOD_KO, NORMPAL, DOEKSPL) "
            "values (1, 'KN 1', 'Jelcz', 'P', 'ON', 1, 1, 1, 32.5, '2004-05-01')");
        sql("insert into A_AUTO (KODA, NRREJ, NAZWA, TYP, RODZPAL, KOD_RP, KOD_GP, KOD_KO) "
            "values (2, 'KN 2', 'Star', 'O', 'ET', 2, 1, 2)");
        // Cards of March 2009, February 2009 and March 2008.
        card(1, 10, 9, 3, 120.5);
        card(2, 11, 9, 3, 40);
        card(1, 7, 9, 2, 80);
        card(2, 3, 8, 3, 15);
        sql("insert into A_SPRZET (KODS, NAZWA, NRIDENT, KOD_GR, KOD_KO, RODZPAL) "
            "values (1, 'Pompa', 'P-1', 1, 1, 'ET')");
        sql("insert into A_KARTAS (KODS, KODK, ROKS, MIES, ZUZYCIEPALF, CZAS) values (1, 4, 9, 3, 2.5, 60)");
        sql("insert into A_KARTAS (KODS, KODK, ROKS, MIES, ZUZYCIEPALF, CZAS) values (1, 2, 9, 4, 1, 30)");
        sql("insert into A_OBSLU (KODA, KODB, TYP, NAZWA, DATAP, PLANW) values (1, 1, 'PT', 'Przegląd', "
            "'2009-03-10', 'T')");
        sql("insert into A_OBSLU (KODA, KODB, TYP, NAZWA, DATAP, PLANW) values (1, 2, 'PT', 'Przegląd', "
            "'2009-05-10', 'T')");
        sql("insert into A_OBSLU (KODA, KODB, TYP, NAZWA, DATAP, PLANW) values (2, 1, 'OC', 'Ubezpieczenie', "
            "'2009-04-09', 'N')");
        choices = defaultChoices(StatementId::TripCards, settings(), QDate(2009, 3, 10));
    }

    static SystemSettings settings() {
        SystemSettings s;
        s.ROK = 9;
        s.MIE = 3;
        return s;
    }

    void sql(const char* text) {
        db::inTransaction(t, [&](db::Transaction& tr) { tr.execute(QString::fromUtf8(text)); });
    }
    void card(int koda, int kodd, int rok, int mie, double fuel) {
        db::inTransaction(t, [&](db::Transaction& tr) {
            tr.execute(
                QStringLiteral("insert into A_KARTA (KODA, KODD, NRREJ, ROKD, MIED, ZUZYCIEP, WYJAZDMZ) "
                               "values (:A, :D, 'KN', :R, :M, :P, 2)"),
                {{"A", koda}, {"D", kodd}, {"R", rok}, {"M", mie}, {"P", fuel}});
        });
    }
    StatementSources read(StatementId id) {
        return db::inTransaction(t,
                                 [&](db::Transaction& tr) { return readStatementSources(tr, id, choices); });
    }
    static QList<int> numbers(const StatementSources& s) {
        QList<int> n;
        for (const CardRow& c : s.cards)
            n << c.number;
        return n;
    }

    TestDatabase tdb;
    db::Transaction t;
    StatementChoices choices;
};

TEST_F(StatementDataFixture, CardsAreReadForThePeriodOfTheStatement) {
    struct Case {
        StatementId id;
        std::function<void(StatementChoices&)> set;
        QList<int> numbers; // by owner, then number
    } cases[] = {
        {StatementId::TripCards, [](StatementChoices&) {}, {7, 10, 3, 11}},
        {StatementId::TripCards, [](StatementChoices& c) { c.anyMonth = false; }, {10, 11}},
        {StatementId::ByKind,
         [](StatementChoices& c) {
             c.fromMonth = 2;
             c.toMonth = 3;
         },
         {7, 10, 11}},
        {StatementId::YearlyVehicles, [](StatementChoices& c) { c.year = 2008; }, {3}},
        {StatementId::AverageVehicles,
         [](StatementChoices& c) {
             c.fromYear = 2008;
             c.toYear = 2008;
         },
         {3}},
        {StatementId::TripCards,
         [](StatementChoices& c) {
             c.anyMonth = false;
             c.year = 2100;
         },
         {}},
        {StatementId::Voucher, [](StatementChoices&) {}, {4}},
        {StatementId::EquipmentCards, [](StatementChoices&) {}, {2, 4}},
    };
    for (const Case& k : cases) {
        choices = defaultChoices(k.id, settings(), QDate(2009, 3, 10));
        k.set(choices);
        EXPECT_EQ(numbers(read(k.id)), k.numbers) << statementName(k.id).toStdString();
    }
}

TEST_F(StatementDataFixture, RowsCarryWhatTheBuildsRead) {
    const StatementSources s = read(StatementId::TripCards);
    ASSERT_EQ(s.registry.size(), 2u);
    EXPECT_EQ(s.registry[0].NAZWA, QStringLiteral("Jelcz"));
    EXPECT_EQ(s.registry[0].RODZPAL, QStringLiteral("ON"));
    EXPECT_EQ(s.registry[1].KOD_KO, 2);
    EXPECT_DOUBLE_EQ(s.registry[0].NORMPAL, 32.5);
    EXPECT_EQ(s.registry[0].columns.value(QStringLiteral("DOEKSPL")).toDate(), QDate(2004, 5, 1));
    EXPECT_DOUBLE_EQ(s.cards[1].amount(QStringLiteral("ZUZYCIEP")), 120.5);
    EXPECT_DOUBLE_EQ(s.cards[1].amount(QStringLiteral("WYJAZDMZ")), 2);

    const ResultTable r = buildStatement(StatementId::TripCards, choices, s);
    EXPECT_EQ(r.rowCount(), 5);
    EXPECT_DOUBLE_EQ(r.number(4, QStringLiteral("zuzycieP")), 255.5);
}

TEST_F(StatementDataFixture, ServicesOfTheDateWindowAndFilterNames) {
    choices.from = QDate(2009, 3, 10);
    choices.to = QDate(2009, 4, 9);
    const StatementSources s = read(StatementId::Services);
    ASSERT_EQ(s.services.size(), 2u);
    EXPECT_EQ(s.services[1].TYP, QStringLiteral("OC"));

    const FilterLists lists =
        db::inTransaction(t, [](db::Transaction& tr) { return readFilterLists(tr, StatementId::Services); });
    ASSERT_FALSE(lists.serviceKinds.empty());
    choices.service = {false, lists.serviceKinds.front().KOD, {}, {}};
    EXPECT_EQ(resolveFilterNames(choices, lists), QString());
    EXPECT_EQ(choices.service.name, lists.serviceKinds.front().NAZWA);
    EXPECT_EQ(choices.service.typeCode, lists.serviceKinds.front().TYP.left(3));
    choices.unit = {false, 999, {}, {}};
    EXPECT_EQ(resolveFilterNames(choices, lists), QStringLiteral("unit"));
}

TEST_F(StatementDataFixture, IndexUpgradeAddsOnlyWhatIsMissing) {
    EXPECT_EQ(schema::addStatementIndexes(*tdb.attachment), 0) << "a new database has them all";
    tdb.attachment->executeImmediate(QStringLiteral("DROP INDEX A_KARTA_OKRES"));
    tdb.attachment->executeImmediate(QStringLiteral("DROP INDEX A_OBSLU_DATAP"));
    EXPECT_EQ(schema::addStatementIndexes(*tdb.attachment), 2);
    EXPECT_EQ(schema::addStatementIndexes(*tdb.attachment), 0);
    EXPECT_EQ(numbers(read(StatementId::YearlyVehicles)), (QList<int>{7, 10, 11}));
}

} // namespace
