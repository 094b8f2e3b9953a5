// The demo year of trip cards: made by the register, consistent with the card rules.

#include "schema/Demo.h"
#include "support/TestSupport.h"
#include "tripcards/data/CardRegisterData.h"
#include "tripcards/rules/Settlement.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace korven;
using namespace korven::tripcards;
using korven::test::TestDatabase;

namespace {

struct DemoContents {
    std::map<int, RegisterVehicle> vehicles;
    std::map<int, std::vector<CardRecord>> cards; // by vehicle, in list order
    double fuel = 0;
};

DemoContents read(TestDatabase& tdb) {
    db::Transaction working(*tdb.attachment), bracket(*tdb.attachment);
    CardRegisterData data(working, bracket, SystemSettings{}, OperatorSession{});
    DemoContents d;
    const db::Rows rows = db::inTransaction(working, [](db::Transaction& t) {
        return t.select(QStringLiteral("select * from A_AUTO order by KODA"));
    });
    for (const db::Row& row : rows) {
        const RegisterVehicle v = vehicleFromRow(row);
        d.vehicles[v.context.KODA] = v;
        const CardList list = data.list(v.context.KODA);
        EXPECT_TRUE(list.error.isEmpty());
        d.cards[v.context.KODA] = list.cards;
        for (const CardRecord& c : list.cards)
            d.fuel += c.ZUZYCIEP;
    }
    return d;
}

} // namespace

TEST(TripCardDemo, AYearOfSettledCardsCarriedOverMonthToMonth) {
    TestDatabase tdb(9, 3);
    schema::fillDemoData(*tdb.attachment);
    const DemoContents d = read(tdb);

    std::set<int> numbers;
    int total = 0;
    for (const auto& [koda, vehicle] : d.vehicles) {
        const std::vector<CardRecord>& cards = d.cards.at(koda);
        SCOPED_TRACE(koda);
        if (vehicle.blocked()) {
            EXPECT_TRUE(cards.empty());
            continue;
        }
        ASSERT_EQ(cards.size(), 12u);
        EXPECT_EQ(cards.front().ROKD * 100 + cards.front().MIED, 803); // twelve months before 2009-03
        EXPECT_EQ(cards.back().ROKD * 100 + cards.back().MIED, 902);
        for (std::size_t i = 0; i < cards.size(); ++i) {
            const CardRecord& c = cards[i];
            numbers.insert(c.KODD);
            ++total;
            EXPECT_GT(c.PRZEBIEGM, 0);
            EXPECT_EQ(c.PRZEBIEGS, c.PRZEBIEG0 + c.PRZEBIEGM);
            if (i > 0) {
                EXPECT_EQ(c.PRZEBIEG0, cards[i - 1].PRZEBIEGS);
                EXPECT_EQ(c.PRZEBIEG0P, cards[i - 1].PRZEBIEGSP);
                EXPECT_EQ(c.MIER_POCZ, cards[i - 1].MIER_KON);
            }
            // Settling the stored card again changes nothing: the numbers are the rules' own.
            CardRecord again = c;
            const bool meter = settlementWindowFor(vehicle.context) == SettlementWindow::Meter;
            ASSERT_TRUE(
                (meter ? meterChain(again, vehicle.context) : settlementChain(again, vehicle.context)).ok());
            for (const CardColumn& col : cardColumns())
                EXPECT_EQ(cardValue(again, col), cardValue(c, col)) << col.name << " card " << c.KODD;
            if (meter) {
                EXPECT_DOUBLE_EQ(c.ZUZYCIEPN, roundToScale(c.MIER_KON - c.MIER_POCZ, 2));
            } else {
                EXPECT_GT(c.ZUZYCIEPN, 0);
                EXPECT_GT(c.DODATKIP, 0);
            }
        }
    }
    EXPECT_GE(total, 12 * 30);
    EXPECT_EQ(static_cast<int>(numbers.size()), total); // running numbers, unique

    // The same database comes out of a second run.
    TestDatabase other(9, 3);
    schema::fillDemoData(*other.attachment);
    EXPECT_DOUBLE_EQ(read(other).fuel, d.fuel);
}
