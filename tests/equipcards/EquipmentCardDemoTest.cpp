#include "equipcards/data/EquipmentCardData.h"
#include "equipcards/rules/EquipmentContext.h"
#include "schema/Demo.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace korven;
using namespace korven::equipcards;

// The demo year of work cards: made by the register's own addition, settled by the card rules.
TEST(EquipmentCardDemo, AYearOfSettledCardsForEveryMachineThatIsNotBlocked) {
    test::TestDatabase tdb(9, 6);
    schema::fillDemoData(*tdb.attachment);
    db::Transaction working(*tdb.attachment), bracket(*tdb.attachment);
    EquipmentCardData data(working, bracket, SystemSettings{}, OperatorSession{});
    std::set<int> numbers;
    int machines = 0;
    for (int kods = 1; data.loadMachine(kods); ++kods) {
        const RegisterMachine m = *data.loadMachine(kods);
        const auto cards = data.list(kods).cards;
        if (m.blocked()) {
            EXPECT_TRUE(cards.empty()) << kods;
            continue;
        }
        ++machines;
        ASSERT_EQ(cards.size(), 12u) << kods;
        EXPECT_EQ(cards.front().ROKS, 8);
        EXPECT_EQ(cards.front().MIES, 6);
        EXPECT_EQ(cards.back().ROKS, 9);
        EXPECT_EQ(cards.back().MIES, 5);
        for (const EquipmentCard& c : cards) {
            numbers.insert(c.KODK);
            EXPECT_NEAR(c.OSZCZPAL, c.ZUZYCIEPALN - c.ZUZYCIEPALF, 0.001) << kods;
            if (engineKind(m.context.RODZSILN) == EngineKind::FourStroke) {
                EXPECT_DOUBLE_EQ(c.NORMOLM, 0) << kods;
            }
        }
    }
    EXPECT_GT(machines, 20);
    EXPECT_EQ(numbers.size(), static_cast<std::size_t>(machines) * 12); // one running sequence
}
