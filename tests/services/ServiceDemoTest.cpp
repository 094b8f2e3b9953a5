#include "schema/Demo.h"
#include "services/data/ServiceData.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::services;

// The demo services: for every vehicle its carried-out services and the planned next one of each kind,
// some of them due in the weeks after the working period.
TEST(ServiceDemo, EveryVehicleHasItsPlanAndSomeAreDueSoon) {
    test::TestDatabase tdb(9, 6);
    schema::fillDemoData(*tdb.attachment);
    db::Transaction working(*tdb.attachment), bracket(*tdb.attachment);
    ServiceData data(working, bracket);
    int dueSoon = 0;
    for (int koda = 1; data.loadVehicle(koda); ++koda) {
        const db::Rows rows = data.list(koda);
        ASSERT_FALSE(rows.empty()) << koda;
        int planned = 0;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const ServiceRecord s = serviceFromRow(rows[i]);
            EXPECT_EQ(s.KODB, static_cast<int>(i) + 1);
            EXPECT_EQ(s.DATAP, plannedDate(s.DATAW, s.ILE));
            if (s.PLANW != QLatin1String("N")) continue;
            ++planned;
            if (s.DATAP >= QDate(2009, 6, 15) && s.DATAP <= QDate(2009, 7, 15)) ++dueSoon;
        }
        EXPECT_GE(planned, 2) << koda;
    }
    EXPECT_GT(dueSoon, 5);
}
