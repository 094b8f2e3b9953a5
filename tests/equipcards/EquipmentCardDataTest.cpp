// The equipment card register's statements against an embedded database.

#include "equipcards/data/EquipmentCardData.h"
#include "equipcards/rules/EquipmentRegister.h"
#include "equipcards/rules/EquipmentSettlement.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::equipcards;
using korven::test::TestDatabase;

namespace {

class EquipmentFixture : public ::testing::Test {
protected:
    EquipmentFixture() : working(*tdb.attachment), bracket(*tdb.attachment) {
        settings.ROK = 9;
        settings.MIE = 3;
        settings.P6P12 = QStringLiteral("N");
        settings.POCZNRS = 50;
        settings.DZWIEK = QStringLiteral("N");
        // A two-stroke saw, a four-stroke pump whose row still holds oil norms, a blocked generator and
        // a machine whose engine kind is neither.
        addMachine(1, "2", "N");
        addMachine(2, "4", "N");
        addMachine(3, "2", "T");
        addMachine(4, "X", "N");
    }

    void addMachine(int kods, const char* engine, const char* blocked) {
        sql(QStringLiteral("insert into A_SPRZET (KODS, NRREJ, NAZWA, RODZSILN, BLOKADA, NORMPAL, NORMOLM, "
                           "NORMOLS, POJ_ZBIO, POJ_KANI) values (:KODS, :NRREJ, :NAZWA, :RODZSILN, :BLOKADA, "
                           "0.105, 0.02, 0.025, 5.5, 10)"),
            {{"KODS", kods},
             {"NRREJ", QStringLiteral("SP-%1").arg(kods)},
             {"NAZWA", QStringLiteral("Maszyna %1").arg(kods)},
             {"RODZSILN", QString::fromLatin1(engine)},
             {"BLOKADA", QString::fromLatin1(blocked)}});
    }
    void sql(const QString& text, const db::Params& params = {}) {
        db::Transaction t(*tdb.attachment);
        db::inTransaction(t, [&](db::Transaction& tr) { tr.execute(text, params); });
    }
    EquipmentCardData data(int accessLevel = 0) {
        OperatorSession op;
        op.fullName = QStringLiteral("Jan Nowak");
        op.accessLevel = accessLevel;
        return EquipmentCardData(working, bracket, settings, op);
    }
    EquipmentContext machine(int kods) { return data().loadMachine(kods)->context; }
    AddResult add(int kods) { return data().addCard(machine(kods), QDate(2009, 3, 10)); }

    TestDatabase tdb{9, 3};
    db::Transaction working;
    db::Transaction bracket;
    SystemSettings settings;
};

} // namespace

TEST_F(EquipmentFixture, TheMachineContextIsCopiedWithItsTotalCapacity) {
    const auto m = data().loadMachine(1);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->context.NAZWA, QStringLiteral("Maszyna 1"));
    EXPECT_EQ(m->context.RODZSILN, QStringLiteral("2"));
    EXPECT_EQ(m->context.totalCapacity, QStringLiteral("15.5"));
    EXPECT_FALSE(m->blocked());
    EXPECT_TRUE(data().loadMachine(3)->blocked());
    EXPECT_FALSE(data().loadMachine(99));
}

TEST_F(EquipmentFixture, RunningNumbersStartAtPOCZNRSAndRunAcrossMachinesAndMonths) {
    EXPECT_EQ(add(1).key.KODK, 50); // the first card ever: POCZNRS itself
    EXPECT_EQ(add(1).key.KODK, 51); // twice in one month: two cards, consecutive numbers
    EXPECT_EQ(add(2).key.KODK, 52); // the second machine continues the sequence
    settings.MIE = 4;
    EXPECT_EQ(add(2).key.KODK, 53);
    const auto cards = data().list(1).cards;
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(cards[0].MIES, 3);
    EXPECT_EQ(cards[1].MIES, 3);
}

TEST_F(EquipmentFixture, MonthlyNumbersStartAgainEveryMonth) {
    settings.P6P12 = QStringLiteral("t");
    EXPECT_EQ(add(1).key.KODK, 50);
    EXPECT_EQ(add(2).key.KODK, 51);
    settings.MIE = 4;
    EXPECT_EQ(add(1).key.KODK, 50);
    EXPECT_EQ(add(2).key.KODK, 51);
}

TEST_F(EquipmentFixture, OilNormsOfTheNewCardByEngineKind) {
    struct Case {
        int kods;
        double NORMOLM;
        bool null;
    };
    for (const Case c : {Case{1, 0.02, false}, Case{2, 0, false}, Case{4, 0, true}}) {
        ASSERT_TRUE(add(c.kods).added());
        db::Transaction t(*tdb.attachment);
        const auto row = db::inTransaction(t, [&](db::Transaction& tr) {
            return tr.selectOne(QStringLiteral("select * from A_KARTAS where KODS = :K"), {{"K", c.kods}});
        });
        ASSERT_TRUE(row);
        EXPECT_EQ(row->isNull(QStringLiteral("NORMOLM")), c.null) << c.kods;
        EXPECT_EQ(row->isNull(QStringLiteral("NORMOLS")), c.null) << c.kods;
        EXPECT_DOUBLE_EQ(row->number(QStringLiteral("NORMOLM")), c.NORMOLM) << c.kods;
        EXPECT_DOUBLE_EQ(row->number(QStringLiteral("NORMAPAL")), 0.105);
        EXPECT_EQ(row->text(QStringLiteral("IMIENAZ")).trimmed(), QStringLiteral("Jan Nowak"));
        EXPECT_DOUBLE_EQ(row->number(QStringLiteral("ZUZYCIEPALF")), 0);
        EXPECT_EQ(row->date(QStringLiteral("DATAS")), QDate(2009, 3, 10));
    }
}

TEST_F(EquipmentFixture, ABlockedMachineGetsNoCardTheSoundUnlessLocked) {
    AddResult r = add(3);
    EXPECT_EQ(r.status, AddStatus::Blocked);
    EXPECT_EQ(r.message, messages::blockedMachine());
    EXPECT_EQ(r.sound, QStringLiteral("test.wav"));
    settings.DZWIEK = QStringLiteral("T");
    r = add(3);
    EXPECT_EQ(r.status, AddStatus::Blocked);
    EXPECT_TRUE(r.sound.isEmpty());
    EXPECT_TRUE(data().list(3).cards.empty());
}

TEST_F(EquipmentFixture, AMachineDeletedMeanwhileGetsNoCard) {
    const EquipmentContext m = machine(1);
    sql(QStringLiteral("delete from A_SPRZET where KODS = 1"));
    const AddResult r = data().addCard(m);
    EXPECT_EQ(r.status, AddStatus::MachineMissing);
    EXPECT_TRUE(data().list(1).cards.empty());
}

TEST_F(EquipmentFixture, SavingPostsEveryColumnUnderTheOldKey) {
    ASSERT_TRUE(add(1).added());
    EquipmentCard card = data().list(1).cards.at(0);
    ASSERT_TRUE(fieldEntered(card, EngineKind::TwoStroke, "CZAS", 125).ok());
    ASSERT_TRUE(fieldEntered(card, EngineKind::TwoStroke, "ZUZYCIEPALF", 10.04).ok());
    ASSERT_TRUE(fieldEntered(card, EngineKind::TwoStroke, "ILOPOBOLM", 1.0).ok());
    ASSERT_TRUE(fieldEntered(card, EngineKind::TwoStroke, "IMIENAZ", QStringLiteral("Anna Wiśniewska")).ok());
    EXPECT_TRUE(data(1).saveCard(card, keyOf(card)).posted());
    const EquipmentCard stored = data().list(1).cards.at(0);
    EXPECT_EQ(stored.CZAS, 125);
    EXPECT_DOUBLE_EQ(stored.ZUZYCIEPALN, 13.1);
    EXPECT_DOUBLE_EQ(stored.ZUZYCIEPALF, 10.04);
    EXPECT_DOUBLE_EQ(stored.ZUZYCIEOLMN, 0.2);
    EXPECT_DOUBLE_EQ(stored.ZUZYCIEOLSN, 0.3);
    EXPECT_DOUBLE_EQ(stored.POZOSTOLM, 0.8);
    EXPECT_DOUBLE_EQ(stored.OSZCZPAL, 3.06);
    EXPECT_EQ(stored.IMIENAZ, QStringLiteral("Anna Wiśniewska"));
}

TEST_F(EquipmentFixture, AccessLevelsOnSaving) {
    settings.MIE = 1;
    ASSERT_TRUE(add(1).added());
    EquipmentCard card = data().list(1).cards.at(0);
    // The card of January 2009 seen from March 2009: two months old.
    settings.MIE = 3;
    card.CZAS = 10;
    for (int level : {1, 99}) {
        const PostResult r = data(level).saveCard(card, keyOf(card));
        EXPECT_EQ(r.status, PostStatus::Refused) << level;
        EXPECT_EQ(r.message, saveRefusedMessage());
        EXPECT_EQ(r.sound, QStringLiteral("mail.wav"));
        EXPECT_EQ(data().list(1).cards.at(0).CZAS, 0) << level;
    }
    EXPECT_TRUE(data(0).saveCard(card, keyOf(card)).posted());
    EXPECT_EQ(data().list(1).cards.at(0).CZAS, 10);
}

TEST_F(EquipmentFixture, PostingACardDeletedMeanwhileSaysSo) {
    ASSERT_TRUE(add(1).added());
    const EquipmentCard card = data().list(1).cards.at(0);
    EXPECT_TRUE(data().deleteCard(keyOf(card)));
    EXPECT_FALSE(data().deleteCard(keyOf(card)));
    EXPECT_EQ(data().postCard(card, keyOf(card)).status, PostStatus::CardMissing);
    EXPECT_TRUE(data().list(1).cards.empty());
}

TEST_F(EquipmentFixture, DeletingTheMachineLeavesItsCards) {
    ASSERT_TRUE(add(1).added());
    sql(QStringLiteral("delete from A_SPRZET where KODS = 1"));
    EXPECT_EQ(data().list(1).cards.size(), 1u);
}
