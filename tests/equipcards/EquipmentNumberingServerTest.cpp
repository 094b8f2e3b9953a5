// Two operators adding equipment cards at the same moment, each on a connection of his own to a real
// server.

#include "equipcards/data/EquipmentCardData.h"
#include "schema/Schema.h"
#include "support/TestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

#include <future>
#include <latch>
#include <set>

using namespace korven;
using namespace korven::equipcards;
using korven::test::PrivateServer;

namespace {

struct Operator {
    explicit Operator(const db::ConnectParams& p)
        : attachment(db::Attachment::attach(p)), working(*attachment), bracket(*attachment) {}
    std::unique_ptr<db::Attachment> attachment;
    db::Transaction working;
    db::Transaction bracket;
};

} // namespace

TEST(EquipmentNumberingServer, TwoOperatorsAddingAtOnceNeverGetTheSameNumber) {
    PrivateServer& server = PrivateServer::instance();
    QFile::remove(server.dataDir() + QStringLiteral("/equipment.adb"));
    const db::ConnectParams params = server.sysdba(server.databaseName(QStringLiteral("equipment.adb")));
    auto admin = schema::createDatabase(params, 9, 3);
    admin->executeImmediate(QStringLiteral("insert into A_SPRZET (KODS, NRREJ, NAZWA, RODZSILN, BLOKADA, "
                                           "NORMPAL) values (1, 'S-1', 'A', '2', 'N', 0.1)"));
    admin->executeImmediate(QStringLiteral("insert into A_SPRZET (KODS, NRREJ, NAZWA, RODZSILN, BLOKADA, "
                                           "NORMPAL) values (2, 'S-2', 'B', '4', 'N', 0.2)"));

    Operator first(params), second(params);
    struct Mode {
        const char* P6P12;
        int month;
    };
    for (const Mode mode : {Mode{"N", 3}, Mode{"T", 4}}) {
        SCOPED_TRACE(mode.P6P12);
        SystemSettings settings;
        settings.ROK = 9;
        settings.MIE = mode.month;
        settings.P6P12 = QLatin1String(mode.P6P12);
        settings.POCZNRS = 1;
        const int rounds = 20, perRound = 2;
        std::vector<int> numbers;
        for (int round = 0; round < rounds; ++round) {
            std::latch start(2);
            auto addCards = [&](Operator& op, int kods) {
                EquipmentCardData data(op.working, op.bracket, settings, OperatorSession{});
                const EquipmentContext m = data.loadMachine(kods).value().context;
                std::vector<AddResult> results;
                start.arrive_and_wait();
                for (int i = 0; i < perRound; ++i)
                    results.push_back(data.addCard(m, QDate(2009, mode.month, 10)));
                return results;
            };
            auto a = std::async(std::launch::async, addCards, std::ref(first), 1);
            auto b = std::async(std::launch::async, addCards, std::ref(second), 2);
            for (auto* f : {&a, &b})
                for (const AddResult& r : f->get()) {
                    ASSERT_TRUE(r.added()) << r.message.toStdString();
                    numbers.push_back(r.key.KODK);
                }
        }
        // Unique, and without gaps: every addition read the number its predecessor had committed.
        const std::set<int> unique(numbers.begin(), numbers.end());
        EXPECT_EQ(unique.size(), numbers.size());
        EXPECT_EQ(*unique.begin(), 1);
        EXPECT_EQ(*unique.rbegin(), rounds * perRound * 2);
    }
    first.attachment->detach();
    second.attachment->detach();
    admin->dropDatabase();
}
