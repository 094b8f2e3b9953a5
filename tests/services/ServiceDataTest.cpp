// The services register's statements against an embedded database, and the reminders the trip card
// documents read from them.

#include "services/data/ServiceData.h"
#include "support/TestSupport.h"
#include "tripcards/data/CardRegisterData.h"

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::services;
using korven::test::TestDatabase;

namespace {

class ServiceFixture : public ::testing::Test {
protected:
    ServiceFixture() : working(*tdb.attachment), bracket(*tdb.attachment), data(working, bracket) {
        for (int koda : {1, 2})
            sql(QStringLiteral("insert into A_AUTO (KODA, NRREJ, NAZWA) values (:K, :N, 'Wóz')"),
                {{"K", koda}, {"N", QStringLiteral("KN %1").arg(koda)}});
    }
    void sql(const QString& text, const db::Params& params = {}) {
        db::Transaction t(*tdb.attachment);
        db::inTransaction(t, [&](db::Transaction& tr) { tr.execute(text, params); });
    }
    ServiceRecord service(int KODA, int KODB) {
        for (const db::Row& row : data.list(KODA))
            if (row.integer(QStringLiteral("KODB")) == KODB) return serviceFromRow(row);
        ADD_FAILURE() << "no service " << KODA << "/" << KODB;
        return {};
    }
    // A planned service of that kind, not yet carried out.
    void plan(int KODA, const char* kind, const QDate& planned, double counter) {
        const AddServiceResult added = data.add(KODA, QDate(2009, 6, 1));
        ASSERT_TRUE(added.added);
        ServiceRecord s = service(KODA, added.KODB);
        s.TYP = QLatin1String(kind);
        s.NAZWA = QStringLiteral("Obsługa %1").arg(QLatin1String(kind));
        s.DATAP = planned;
        s.STANP = counter;
        s.PLANW = QStringLiteral("N");
        ASSERT_TRUE(data.post(s, s.KODA, s.KODB));
    }

    TestDatabase tdb{9, 6};
    db::Transaction working;
    db::Transaction bracket;
    ServiceData data;
};

} // namespace

TEST_F(ServiceFixture, NumbersRunPerVehicleFromOne) {
    EXPECT_EQ(data.add(1, QDate(2009, 6, 3)).KODB, 1);
    EXPECT_EQ(data.add(1, QDate(2009, 6, 3)).KODB, 2);
    EXPECT_EQ(data.add(2, QDate(2009, 6, 3)).KODB, 1);
    const ServiceRecord s = service(1, 2);
    EXPECT_EQ(s.DATAW, QDate(2009, 6, 3));
    EXPECT_TRUE(s.TYP.isEmpty());
    EXPECT_DOUBLE_EQ(s.STANW, 0);
}

TEST_F(ServiceFixture, AVehicleDeletedMeanwhileGetsNoService) {
    sql(QStringLiteral("delete from A_AUTO where KODA = 2"));
    const AddServiceResult r = data.add(2);
    EXPECT_FALSE(r.added);
    EXPECT_FALSE(r.message.isEmpty());
    EXPECT_TRUE(data.list(2).empty());
}

TEST_F(ServiceFixture, PostingWritesEveryColumnAndDeletingRemovesOne) {
    ASSERT_TRUE(data.add(1).added);
    ServiceRecord s = service(1, 1);
    applyKind(s, data.kinds().at(1));
    s.DATAP = *plannedDate(QDate(2009, 1, 31), 1);
    s.STANW = 12345.67;
    s.UWAGI = QStringLiteral("wymiana oleju");
    ASSERT_TRUE(data.post(s, 1, 1));
    const ServiceRecord stored = service(1, 1);
    EXPECT_EQ(stored.TYP, QStringLiteral("OT"));
    EXPECT_EQ(stored.DATAP, QDate(2009, 2, 28));
    EXPECT_DOUBLE_EQ(stored.STANW, 12345.67);
    EXPECT_EQ(stored.UWAGI, QStringLiteral("wymiana oleju"));
    EXPECT_TRUE(data.remove(1, 1));
    EXPECT_FALSE(data.remove(1, 1));
    EXPECT_FALSE(data.post(s, 1, 1));
}

TEST_F(ServiceFixture, TheKindsOfTheDictionaryInCodeOrder) {
    const auto kinds = data.kinds();
    ASSERT_EQ(kinds.size(), 5u);
    EXPECT_EQ(kinds.front().TYP, QStringLiteral("BT"));
    EXPECT_EQ(kinds.back().TYP, QStringLiteral("NB"));
}

TEST_F(ServiceFixture, TripCardRemindersReadThePlannedServices) {
    tripcards::CardRegisterData cards(working, bracket, SystemSettings{}, OperatorSession{});
    auto [first, second] = cards.serviceReminders(1);
    EXPECT_TRUE(first.isEmpty());
    EXPECT_TRUE(second.isEmpty());

    // Two planned "OT" services and a "UDT" one; no "BT": the later "OT" is the first reminder.
    plan(1, "OT", QDate(2009, 9, 1), 50000);
    plan(1, "OT", QDate(2009, 12, 1), 60000);
    plan(1, "UDT", QDate(2010, 1, 15), 0);
    // Carried out services and those of another vehicle are not reminders.
    plan(2, "BT", QDate(2009, 7, 1), 0);
    ASSERT_TRUE(data.add(1).added);
    ServiceRecord done = service(1, 4);
    done.TYP = QStringLiteral("BT");
    done.PLANW = QStringLiteral("T");
    ASSERT_TRUE(data.post(done, 1, 4));

    std::tie(first, second) = cards.serviceReminders(1);
    EXPECT_EQ(first.NAZWA, QStringLiteral("Obsługa OT"));
    EXPECT_EQ(first.DATAP, QStringLiteral("2009-12-01"));
    EXPECT_EQ(second.NAZWA, QStringLiteral("Obsługa UDT"));
}

// The list of due services reads the vehicle's highest final odometer from its trip cards.
TEST_F(ServiceFixture, DueServicesByDateAndByCounter) {
    plan(1, "BT", QDate(2009, 6, 10), 0);     // due by date
    plan(1, "OT", QDate(2009, 12, 1), 60000); // due by counter: 59600 is within 500 km of it
    plan(2, "OT", QDate(2009, 12, 1), 60000); // vehicle 2 has no card
    plan(2, "LT", QDate(2009, 6, 20), 0);     // not yet
    sql(QStringLiteral("insert into A_KARTA (KODA, KODD, ROKD, MIED, PRZEBIEGS) values (1, 1, 9, 4, 58000)"));
    sql(QStringLiteral("insert into A_KARTA (KODA, KODD, ROKD, MIED, PRZEBIEGS) values (1, 2, 9, 5, 59600)"));

    const std::vector<DueService> byDate = data.dueServices(QDate(2009, 6, 15), false, 500);
    ASSERT_EQ(byDate.size(), 1u);
    EXPECT_EQ(byDate[0].service.TYP, QStringLiteral("BT"));
    EXPECT_EQ(byDate[0].NRREJ, QStringLiteral("KN 1"));

    const std::vector<DueService> both = data.dueServices(QDate(2009, 6, 15), true, 500);
    ASSERT_EQ(both.size(), 2u);
    EXPECT_TRUE(both[1].why.byCounter);
    EXPECT_FALSE(both[1].why.byDate);
    EXPECT_EQ(both[1].lastOdometer, std::optional<double>(59600));
    EXPECT_TRUE(data.dueServices(QDate(2009, 6, 15), true, 300).size() == 1u);
}
