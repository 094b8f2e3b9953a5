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

namespace {

// What tells two demo databases apart: every card's fuel and counters, summed in a stable order.
struct Fingerprint {
    double tripFuel = 0, odometer = 0, workFuel = 0, workHours = 0;
    int tripCards = 0, workCards = 0, services = 0;
    bool operator==(const Fingerprint&) const = default;
};

Fingerprint fingerprint(TestDatabase& tdb) {
    db::Transaction t(*tdb.attachment);
    return db::inTransaction(t, [](db::Transaction& tr) {
        Fingerprint f;
        const auto trip = tr.selectOne(
            QStringLiteral("select count(*) as N, sum(ZUZYCIEP) as F, sum(PRZEBIEGS) as S from A_KARTA"));
        f.tripCards = static_cast<int>(trip->integer(QStringLiteral("N")));
        f.tripFuel = trip->number(QStringLiteral("F"));
        f.odometer = trip->number(QStringLiteral("S"));
        const auto work = tr.selectOne(
            QStringLiteral("select count(*) as N, sum(ZUZYCIEPALF) as F, sum(CZAS) as H from A_KARTAS"));
        f.workCards = static_cast<int>(work->integer(QStringLiteral("N")));
        f.workFuel = work->number(QStringLiteral("F"));
        f.workHours = work->number(QStringLiteral("H"));
        f.services = tr.scalar(QStringLiteral("select count(*) from A_OBSLU")).toInt();
        return f;
    });
}

DemoScale sized(std::uint32_t seed) {
    DemoScale s;
    s.vehicles = 40; // past the small unit's 36, where the plates of the larger scales begin
    s.machines = 30;
    s.months = 26; // across two year boundaries
    s.seed = seed;
    return s;
}

} // namespace

TEST(TripCardDemo, ASizedDemoIsSettledCarriedOverAndMadeAgainFromItsSeed) {
    TestDatabase tdb(9, 3);
    QStringList stages;
    DemoScale scale = sized(7);
    scale.progress = [&](const QString& stage) { stages << stage; };
    schema::fillDemoData(*tdb.attachment, scale);
    EXPECT_FALSE(stages.isEmpty());
    const DemoContents d = read(tdb);
    ASSERT_EQ(d.vehicles.size(), 40u);

    std::set<QString> plates;
    std::set<int> numbers;
    int total = 0;
    for (const auto& [koda, vehicle] : d.vehicles) {
        plates.insert(vehicle.context.NRREJ);
        const std::vector<CardRecord>& cards = d.cards.at(koda);
        SCOPED_TRACE(koda);
        if (vehicle.blocked()) {
            EXPECT_TRUE(cards.empty());
            continue;
        }
        ASSERT_EQ(cards.size(), 26u);
        EXPECT_EQ(cards.front().ROKD * 100 + cards.front().MIED, 701); // 26 months before 2009-03
        EXPECT_EQ(cards.back().ROKD * 100 + cards.back().MIED, 902);
        for (std::size_t i = 0; i < cards.size(); ++i) {
            const CardRecord& c = cards[i];
            numbers.insert(c.KODD);
            ++total;
            if (i > 0) {
                EXPECT_EQ(c.PRZEBIEG0, cards[i - 1].PRZEBIEGS);
                EXPECT_EQ(c.MIER_POCZ, cards[i - 1].MIER_KON);
            }
            CardRecord again = c;
            const bool meter = settlementWindowFor(vehicle.context) == SettlementWindow::Meter;
            ASSERT_TRUE(
                (meter ? meterChain(again, vehicle.context) : settlementChain(again, vehicle.context)).ok());
            for (const CardColumn& col : cardColumns())
                EXPECT_EQ(cardValue(again, col), cardValue(c, col)) << col.name << " card " << c.KODD;
        }
    }
    EXPECT_EQ(plates.size(), 40u);
    EXPECT_EQ(static_cast<int>(numbers.size()), total);

    const Fingerprint first = fingerprint(tdb);
    EXPECT_EQ(first.tripCards, total);
    EXPECT_EQ(first.workCards, 29 * 26); // one machine is out of service
    EXPECT_GT(first.services, 0);

    // The same seed makes the same database; another seed other numbers of the same shape.
    TestDatabase same(9, 3);
    schema::fillDemoData(*same.attachment, sized(7));
    EXPECT_EQ(fingerprint(same), first);
    TestDatabase other(9, 3);
    schema::fillDemoData(*other.attachment, sized(8));
    const Fingerprint second = fingerprint(other);
    EXPECT_EQ(second.tripCards, first.tripCards);
    EXPECT_EQ(second.workCards, first.workCards);
    EXPECT_NE(second.tripFuel, first.tripFuel);
    EXPECT_NE(second.workFuel, first.workFuel);
}
