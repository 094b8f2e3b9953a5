// The register's statements against an embedded database.

#include "tripcards/data/CardRegisterData.h"
#include "core/NumberFormat.h"
#include "session/data/AddonOptionsData.h"
#include "support/TestSupport.h"
#include "tripcards/rules/Settlement.h"

#include <gtest/gtest.h>

#include <array>

using namespace korven;
using namespace korven::tripcards;
using korven::test::TestDatabase;

namespace {

struct VehicleSpec {
    int KODA = 1;
    const char* TYP = "P";
    const char* RODZPAL = "ON";
    const char* BLOKADA = "N";
    double NORMPAL = 30;
};

class RegisterFixture : public ::testing::Test {
protected:
    RegisterFixture() : working(*tdb.attachment), bracket(*tdb.attachment) {
        settings.ROK = 9;
        settings.MIE = 3;
        settings.P6P12 = QStringLiteral("N");
        settings.POCZNR = 1;
        settings.DZWIEK = QStringLiteral("N");
        settings.MN_POS = 60;
        settings.MN_MIE = 10;
        settings.MN_ALA = 15;
        settings.MN_GOROS = 5;
        settings.MN_GORPOZ = 7;
        settings.MN_OZ = 8;
        settings.MN_KLI = 3;
        settings.MN_TER = 20;
        settings.MN_ZIM = 12;
        settings.MN_SZK = 9;
        settings.MN_HOLON = 6;
        settings.MN_HOLET = 4;
        settings.NORMA_OON = 0.5;
        settings.NORMA_OET = 0.7;
    }

    void addVehicle(const VehicleSpec& s) {
        sql(QStringLiteral(
                "insert into A_AUTO (KODA, NRREJ, NAZWA, TYP, RODZPAL, BLOKADA, NORMPAL, NORMPOM, NORMUG, "
                "NORMUR1, NORMUR2, POJ_ZBIO, MARKAPOD, CZY_MIERNIK) values (:KODA, :NRREJ, :NAZWA, :TYP, "
                ":RODZPAL, :BLOKADA, :NORMPAL, 0.55, 0.3, 0.2, 0.05, 250, ' MAN ', 'N')"),
            {{"KODA", s.KODA},
             {"NRREJ", QStringLiteral("KN %1").arg(1000 + s.KODA)},
             {"NAZWA", QStringLiteral("Pojazd %1").arg(s.KODA)},
             {"TYP", s.TYP},
             {"RODZPAL", s.RODZPAL},
             {"BLOKADA", s.BLOKADA},
             {"NORMPAL", s.NORMPAL}});
    }

    // Another operator's statement, on a connection of its own.
    void sql(const QString& text, const db::Params& params = {}) {
        db::Transaction t(*tdb.attachment);
        db::inTransaction(t, [&](db::Transaction& tr) { tr.execute(text, params); });
    }
    std::int64_t count(const QString& text) {
        db::Transaction t(*tdb.attachment);
        return db::inTransaction(t, [&](db::Transaction& tr) { return tr.scalar(text).toInt(); });
    }

    CardRegisterData data(int accessLevel = 0) {
        OperatorSession op;
        op.accessLevel = accessLevel;
        return CardRegisterData(working, bracket, settings, op);
    }
    VehicleContext vehicle(int koda) {
        auto v = data().loadVehicle(koda);
        EXPECT_TRUE(v.has_value());
        return v ? v->context : VehicleContext{};
    }
    AddResult add(int koda, const QDate& day = QDate(2009, 3, 5)) {
        return data().addCard(vehicle(koda), day);
    }

    TestDatabase tdb;
    db::Transaction working;
    db::Transaction bracket;
    SystemSettings settings;
};

} // namespace

TEST_F(RegisterFixture, VehicleContextIsCopiedTrimmedWithTheCapacitiesAsText) {
    addVehicle({});
    const auto v = data().loadVehicle(1);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->context.NRREJ, QStringLiteral("KN 1001"));
    EXPECT_EQ(v->context.MARKAPOD, QStringLiteral("MAN"));
    EXPECT_EQ(v->context.POJ_ZBIO, QStringLiteral("250"));
    EXPECT_EQ(v->context.POJ_KANI, QString()); // null
    EXPECT_DOUBLE_EQ(v->context.NORMPOM, 0.55);
    EXPECT_FALSE(v->blocked());
    EXPECT_FALSE(data().loadVehicle(99));
}

TEST_F(RegisterFixture, CarryOverFromTheLastCardAlsoWithinOneMonth) {
    addVehicle({});
    const VehicleContext v = vehicle(1);
    AddResult first = data().addCard(v, QDate(2009, 3, 5));
    ASSERT_TRUE(first.added()) << first.message.toStdString();
    EXPECT_EQ(first.card.PRZEBIEG0, 0);
    EXPECT_EQ(first.card.PRZEBIEG0P, 0);
    EXPECT_EQ(first.card.MIER_POCZ, 0);

    // The first card is settled and posted the way the settlement window does it.
    CardRecord c = data().list(1).cards.at(0);
    c.PRZEBIEG0 = 15000;
    c.PRZEBIEG0P = 16000;
    c.PRZEBIEGM = 1000;
    c.MIER_KON = 812.5;
    ASSERT_TRUE(monthlyMileageEntered(c, v).ok());
    ASSERT_TRUE(startConvertedEntered(c, v).ok());
    ASSERT_TRUE(data().saveCard(c, keyOf(c)).posted());

    const AddResult second = data().addCard(v, QDate(2009, 3, 20));
    ASSERT_TRUE(second.added());
    const auto cards = data().list(1).cards;
    ASSERT_EQ(cards.size(), 2u);
    const CardRecord& n = cards.at(findCard(cards, second.key));
    EXPECT_EQ(n.PRZEBIEG0, 16000);
    EXPECT_EQ(n.PRZEBIEG0P, 17000);
    EXPECT_EQ(n.MIER_POCZ, 812.5);
    EXPECT_EQ(n.DATAD, QDate(2009, 3, 20));
    EXPECT_EQ(n.NRREJ, QStringLiteral("KN 1001"));
    EXPECT_EQ(second.key, (CardKey{1, 2, 9, 3}));
}

namespace {

struct NumberingCase {
    const char* P6P12;
    int POCZNR;
    // Additions in order: vehicle, year, month, and the number expected.
    std::vector<std::array<int, 4>> additions;
};

class Numbering : public RegisterFixture, public ::testing::WithParamInterface<NumberingCase> {};

} // namespace

TEST_P(Numbering, NumbersOfNewCards) {
    const NumberingCase& k = GetParam();
    addVehicle({.KODA = 1});
    addVehicle({.KODA = 2});
    settings.P6P12 = QLatin1String(k.P6P12);
    settings.POCZNR = k.POCZNR;
    for (const auto& [koda, rok, mie, expected] : k.additions) {
        settings.ROK = rok;
        settings.MIE = mie;
        const AddResult r = add(koda);
        ASSERT_TRUE(r.added()) << r.message.toStdString();
        EXPECT_EQ(r.key.KODD, expected) << "vehicle " << koda << " " << rok << "/" << mie;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, Numbering,
    ::testing::Values(
        // By month: the first card of a month in the whole table gets POCZNR, the next of any vehicle + 1,
        // the next month starts again.
        NumberingCase{
            "T", 100, {{1, 9, 3, 100}, {2, 9, 3, 101}, {1, 9, 4, 100}, {2, 9, 3, 102}, {2, 10, 3, 100}}},
        NumberingCase{"t", 1, {{1, 9, 3, 1}, {1, 9, 3, 2}}},
        // Running: across vehicles, months and years; POCZNR only while the table is empty.
        NumberingCase{"N", 100, {{1, 9, 3, 100}, {2, 9, 3, 101}, {1, 9, 4, 102}, {2, 10, 1, 103}}},
        NumberingCase{"", 5, {{2, 9, 12, 5}, {1, 8, 1, 6}}}),
    [](const auto& info) {
        return std::string("P6P12_") + (*info.param.P6P12 ? info.param.P6P12 : "empty") + "_POCZNR_" +
               std::to_string(info.param.POCZNR);
    });

TEST_F(RegisterFixture, BlockedVehicleGetsNoCardAndTheSoundFollowsTheSoundLock) {
    addVehicle({.BLOKADA = "T"});
    for (const char* lock : {"N", "T"}) {
        settings.DZWIEK = QLatin1String(lock);
        const AddResult r = add(1);
        EXPECT_EQ(r.status, AddStatus::Blocked);
        EXPECT_EQ(r.message,
                  QStringLiteral(
                      "UWAGA ...! Dodawanie Kart Drogowych dla danego Pojazdu zostało zablokowane ...."));
        EXPECT_EQ(r.sound,
                  QLatin1String(lock) == QLatin1String("T") ? QString() : QStringLiteral("test.wav"));
    }
    EXPECT_EQ(count(QStringLiteral("select count(*) from A_KARTA")), 0);
}

TEST_F(RegisterFixture, TheLockIsReadFreshWhenTheCardIsAdded) {
    addVehicle({});
    const VehicleContext v = vehicle(1);
    sql(QStringLiteral("update A_AUTO set BLOKADA = 'T' where KODA = 1")); // another operator locks it
    EXPECT_EQ(data().addCard(v, QDate(2009, 3, 5)).status, AddStatus::Blocked);
}

namespace {

struct MultiplierCase {
    const char* TYP;
    const char* RODZPAL;
    double DODG_1, DODH_1, NORMAO;
};

class Multipliers : public RegisterFixture, public ::testing::WithParamInterface<MultiplierCase> {};

} // namespace

TEST_P(Multipliers, ReachTheInsertedRow) {
    const MultiplierCase& k = GetParam();
    addVehicle({.TYP = k.TYP, .RODZPAL = k.RODZPAL});
    ASSERT_TRUE(add(1).added());
    const CardRecord c = data().list(1).cards.at(0);
    EXPECT_DOUBLE_EQ(c.DODG_1, k.DODG_1);
    EXPECT_DOUBLE_EQ(c.DODH_1, k.DODH_1);
    EXPECT_DOUBLE_EQ(c.NORMAO, k.NORMAO);
    EXPECT_DOUBLE_EQ(c.DODMIE_1, 0.03); // NORMPAL 30, MN_MIE 10
    EXPECT_DOUBLE_EQ(c.DODPOS_1, 0.5);  // 30 / 60
    EXPECT_DOUBLE_EQ(c.DODNAP_1, 0.55);
    EXPECT_DOUBLE_EQ(c.DODUG_1, 0.3);
    EXPECT_DOUBLE_EQ(c.DODUR1_1, 0.2);
    EXPECT_DOUBLE_EQ(c.DODUR2_1, 0.05);
    EXPECT_DOUBLE_EQ(c.NORMAP, 30);
    EXPECT_DOUBLE_EQ(c.NORMAA, 0.55);
    EXPECT_DOUBLE_EQ(c.NORMAUG, 0.3);
    EXPECT_DOUBLE_EQ(c.ZUZYCIEP, 0); // every other column takes its default
}

INSTANTIATE_TEST_SUITE_P(TypeAndFuel, Multipliers,
                         ::testing::Values(MultiplierCase{"O", "ON", 0.015, 0.018, 0.5},
                                           MultiplierCase{"o", "et", 0.015, 0.012, 0.7},
                                           MultiplierCase{"P", "ET", 0.021, 0.012, 0.7},
                                           MultiplierCase{"P", "on", 0.021, 0.018, 0.5}),
                         [](const auto& info) {
                             return std::string("TYP_") + info.param.TYP + "_" + info.param.RODZPAL;
                         });

TEST_F(RegisterFixture, ZeroStandstillMultiplierAddsNothing) {
    addVehicle({});
    settings.MN_POS = 0;
    const AddResult r = add(1);
    EXPECT_EQ(r.status, AddStatus::ArithmeticError);
    EXPECT_EQ(r.message, zeroStandstillMessage());
    EXPECT_EQ(count(QStringLiteral("select count(*) from A_KARTA")), 0);
}

TEST_F(RegisterFixture, ListOrderAndDelete) {
    addVehicle({.KODA = 1});
    addVehicle({.KODA = 2});
    const int periods[][2] = {{9, 3}, {8, 11}, {9, 1}, {9, 3}};
    for (auto [rok, mie] : periods) {
        settings.ROK = rok;
        settings.MIE = mie;
        ASSERT_TRUE(add(1).added());
    }
    ASSERT_TRUE(add(2).added()); // another vehicle's card is not in the list
    auto keys = [&] {
        std::vector<std::array<int, 3>> k;
        for (const CardRecord& c : data().list(1).cards)
            k.push_back({c.ROKD, c.MIED, c.KODD});
        return k;
    };
    EXPECT_EQ(keys(), (std::vector<std::array<int, 3>>{{8, 11, 2}, {9, 1, 3}, {9, 3, 1}, {9, 3, 4}}));

    EXPECT_TRUE(data().deleteCard({1, 3, 9, 1}));
    EXPECT_EQ(keys(), (std::vector<std::array<int, 3>>{{8, 11, 2}, {9, 3, 1}, {9, 3, 4}}));
    // The key must match in all four columns.
    EXPECT_FALSE(data().deleteCard({1, 4, 9, 1}));
    EXPECT_FALSE(data().deleteCard({2, 4, 9, 3}));
    EXPECT_EQ(data().list(1).cards.size(), 3u);
    EXPECT_EQ(data().list(2).cards.size(), 1u);
}

TEST_F(RegisterFixture, UpdateStatementPostsEveryColumnByTheKeyAsRead) {
    addVehicle({});
    const VehicleContext v = vehicle(1);
    ASSERT_TRUE(add(1).added());
    CardRecord c = data().list(1).cards.at(0);
    const CardKey original = keyOf(c);
    c.PRZEBIEG0 = 15000;
    c.PRZEBIEGM = 1000;
    c.ZUZYCIEP = 340;
    c.ZUZYCIEO = 2;
    c.DODPOS = 60;
    c.DODMIE = 500;
    c.DODH = 20;
    c.MASAPR = 3.5;
    c.WYJAZDP = 4;
    c.DATAD = QDate(2009, 3, 31);
    for (const char* base : {"DODPOS", "DODMIE"})
        ASSERT_TRUE(allowanceEntered(c, v, allowance(QLatin1String(base))).ok());
    ASSERT_TRUE(towingEntered(c, v).ok());
    ASSERT_TRUE(recalculateByNorms(c, v).ok());
    const PostResult r = data().saveCard(c, original);
    ASSERT_TRUE(r.posted()) << r.message.toStdString();

    const CardRecord back = data().list(1).cards.at(0);
    for (const CardColumn& col : cardColumns())
        EXPECT_EQ(cardValue(back, col), cardValue(c, col)) << col.name;
    EXPECT_DOUBLE_EQ(c.DODH_2, 1.3);
    EXPECT_DOUBLE_EQ(back.DODATKIP, 30 + 15 + 1); // diesel: every allowance rounded to whole litres
}

TEST_F(RegisterFixture, OldCardIsRefusedForARestrictedOperator) {
    addVehicle({});
    settings.MIE = 1;
    ASSERT_TRUE(add(1).added());
    CardRecord c = data().list(1).cards.at(0);
    c.ZUZYCIEP = 10;
    settings.MIE = 3; // two months later
    for (const char* lock : {"N", "T"}) {
        settings.DZWIEK = QLatin1String(lock);
        const PostResult r = data(1).saveCard(c, keyOf(c));
        EXPECT_EQ(r.status, PostStatus::Refused);
        EXPECT_EQ(r.message,
                  QStringLiteral("... Za niskie uprawnienia do zmiany starej Karty Drogowej ... pa,pa ..."));
        EXPECT_EQ(r.sound,
                  QLatin1String(lock) == QLatin1String("T") ? QString() : QStringLiteral("mail.wav"));
    }
    EXPECT_EQ(data().list(1).cards.at(0).ZUZYCIEP, 0);
    EXPECT_TRUE(data(99).saveCard(c, keyOf(c)).posted());
    EXPECT_EQ(data().list(1).cards.at(0).ZUZYCIEP, 10);
}

TEST_F(RegisterFixture, VehicleDeletedByAnotherOperatorWhileTheRegisterIsOpen) {
    addVehicle({.KODA = 1});
    addVehicle({.KODA = 2});
    const VehicleContext v1 = vehicle(1);
    const VehicleContext v2 = vehicle(2);
    ASSERT_TRUE(data().addCard(v2, QDate(2009, 3, 5)).added());
    CardRecord c = data().list(2).cards.at(0);

    // Vehicle 1 has no cards and is deleted: adding its card is refused and nothing is written.
    sql(QStringLiteral("delete from A_AUTO where KODA = 1"));
    const AddResult added = data().addCard(v1, QDate(2009, 3, 5));
    EXPECT_EQ(added.status, AddStatus::VehicleMissing);
    EXPECT_EQ(added.message, messages::vehicleDeleted());
    EXPECT_EQ(count(QStringLiteral("select count(*) from A_KARTA where KODA = 1")), 0);

    // Vehicle 2 disappears while its card is open in the settlement window: the post writes nothing.
    sql(QStringLiteral("delete from A_AUTO where KODA = 2"));
    c.ZUZYCIEP = 123;
    const PostResult posted = data().saveCard(c, keyOf(c));
    EXPECT_EQ(posted.status, PostStatus::VehicleMissing);
    EXPECT_EQ(posted.message, messages::vehicleDeleted());
    EXPECT_EQ(count(QStringLiteral("select ZUZYCIEP from A_KARTA where KODA = 2")), 0);
}

TEST_F(RegisterFixture, CardDeletedByAnotherOperatorIsNotPostedAsSuccess) {
    addVehicle({});
    ASSERT_TRUE(add(1).added());
    CardRecord c = data().list(1).cards.at(0);
    sql(QStringLiteral("delete from A_KARTA"));
    c.ZUZYCIEP = 50;
    const PostResult r = data().saveCard(c, keyOf(c));
    EXPECT_EQ(r.status, PostStatus::CardMissing);
    EXPECT_EQ(r.message, messages::cardDeleted());
    EXPECT_EQ(count(QStringLiteral("select count(*) from A_KARTA")), 0);
}

TEST_F(RegisterFixture, FailedListReadGivesAnEmptyListWithoutThrowing) {
    addVehicle({});
    ASSERT_TRUE(add(1).added());
    tdb.attachment->executeImmediate(QStringLiteral("drop table A_KARTA"));
    const CardList l = data().list(1);
    EXPECT_TRUE(l.cards.empty());
    EXPECT_FALSE(l.error.isEmpty());
    // And a failed insert is a Failed result with the database's text, not an exception.
    const AddResult r = add(1);
    EXPECT_EQ(r.status, AddStatus::Failed);
    EXPECT_FALSE(r.message.isEmpty());
    EXPECT_FALSE(working.isActive());
}

TEST_F(RegisterFixture, ServiceRemindersAndDocumentFields) {
    addVehicle({});
    auto service = [&](int kodb, const char* typ, const char* nazwa, const char* datap, const char* planw) {
        sql(QStringLiteral(
                "insert into A_OBSLU (KODA, KODB, TYP, NAZWA, DATAP, STANP, PLANW) values (1, :KODB, :TYP, "
                ":NAZWA, :DATAP, 125000.5, :PLANW)"),
            {{"KODB", kodb},
             {"TYP", typ},
             {"NAZWA", nazwa},
             {"DATAP", QDate::fromString(QLatin1String(datap), Qt::ISODate)},
             {"PLANW", planw}});
    };
    EXPECT_TRUE(data().serviceReminders(1).first.isEmpty());
    service(1, "OT", "Obsługa Techniczna", "2009-06-10", "N");
    service(2, "OT", "Obsługa Techniczna 2", "2009-08-10", "N"); // the later planned date is shown
    service(3, "BT", "Badanie Techniczne", "2009-05-01", "T");   // already carried out
    service(4, "UDT", "Urząd Dozoru", "2009-07-01", "N");
    const auto r = data().serviceReminders(1);
    EXPECT_EQ(r.first.NAZWA, QStringLiteral("Obsługa Techniczna 2"));
    EXPECT_EQ(r.first.DATAP, QStringLiteral("2009-08-10"));
    EXPECT_EQ(r.first.STANP, formatGeneral(125000.5));
    EXPECT_EQ(r.second.NAZWA, QStringLiteral("Urząd Dozoru"));

    ASSERT_TRUE(add(1).added());
    const CardRecord c = data().list(1).cards.at(0);
    sql(QStringLiteral("update A_AUTO set POJ_KANI = 20 where KODA = 1"));
    const auto doc = data().documentFields(c, vehicle(1), QDate(2009, 3, 5));
    ASSERT_TRUE(doc.ok()) << doc.error.toStdString();
    EXPECT_EQ(doc.fields.totalCapacity, formatGeneral(270));
    EXPECT_EQ(doc.fields.firstService.NAZWA, QStringLiteral("Obsługa Techniczna 2"));
    EXPECT_EQ(doc.fields.cardNumber, QStringLiteral("1"));
}

// The checks run only when switched on in the options, and read the vehicle's earlier months.
TEST_F(RegisterFixture, PlausibilityWarningsFollowTheOptionAndTheHistory) {
    addVehicle({});
    for (int month = 1; month <= 5; ++month)
        sql(QStringLiteral(
                "insert into A_KARTA (KODA, KODD, ROKD, MIED, PRZEBIEGM) values (1, :D, 8, :M, 1000)"),
            {{"D", month}, {"M", month}});
    // A later month and another vehicle's months are not the history of a card of March 2009.
    sql(QStringLiteral(
        "insert into A_KARTA (KODA, KODD, ROKD, MIED, PRZEBIEGM) values (1, 50, 9, 4, 90000)"));
    sql(QStringLiteral(
        "insert into A_KARTA (KODA, KODD, ROKD, MIED, PRZEBIEGM) values (2, 51, 9, 1, 90000)"));
    CardRecord card;
    card.KODA = 1;
    card.ROKD = 9;
    card.MIED = 3;
    EXPECT_EQ(data().earlierMileages(card).size(), 5u);
    card.PRZEBIEG0 = 20000;
    card.PRZEBIEGM = 5000;
    card.PRZEBIEGS = 25000;
    const VehicleContext v = vehicle(1);
    EXPECT_TRUE(data().plausibilityWarnings(card, v).isEmpty()); // off by default

    AddonOptions on;
    on.plausibilityChecks = true;
    session::saveAddonOptions(working, on);
    EXPECT_EQ(data().plausibilityWarnings(card, v).size(), 1);
    card.PRZEBIEGM = 3000;
    card.PRZEBIEGS = 23000;
    EXPECT_TRUE(data().plausibilityWarnings(card, v).isEmpty());
}
