// Register rules without a database: numbering, carry-over, display texts, captions, document fields.

#include "tripcards/rules/CardRegister.h"

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::tripcards;

TEST(CardRegister, NextNumberStartsAtTheFirstNumberOfAnEmptyScope) {
    EXPECT_EQ(nextCardNumber(std::nullopt, 1), 1);
    EXPECT_EQ(nextCardNumber(std::nullopt, 250), 250); // POCZNR itself, without adding 1
    EXPECT_EQ(nextCardNumber(0, 250), 1);              // an existing card decides, whatever POCZNR is
    EXPECT_EQ(nextCardNumber(41, 250), 42);
    EXPECT_EQ(numberingMode(QStringLiteral("T")), NumberingMode::PerMonth);
    EXPECT_EQ(numberingMode(QStringLiteral(" t ")), NumberingMode::PerMonth);
    EXPECT_EQ(numberingMode(QStringLiteral("N")), NumberingMode::Running);
    EXPECT_EQ(numberingMode(QString()), NumberingMode::Running);
}

TEST(CardRegister, CarryOverComesFromTheLastCardByYearMonthAndNumber) {
    auto card = [](int rok, int mie, int kodd, double s) {
        CardRecord c;
        c.ROKD = rok;
        c.MIED = mie;
        c.KODD = kodd;
        c.PRZEBIEGS = s;
        c.PRZEBIEGSP = s + 1;
        c.MIER_KON = s + 2;
        return c;
    };
    EXPECT_DOUBLE_EQ(carryOverFrom({}).PRZEBIEGS, 0);
    // A later year wins over a higher month; two cards of one month: the higher number is the last.
    const std::vector<CardRecord> cards = {card(9, 3, 7, 300), card(8, 12, 9, 100), card(9, 3, 5, 200)};
    const CarryOver c = carryOverFrom(cards);
    EXPECT_DOUBLE_EQ(c.PRZEBIEGS, 300);
    EXPECT_DOUBLE_EQ(c.PRZEBIEGSP, 301);
    EXPECT_DOUBLE_EQ(c.MIER_KON, 302);
    EXPECT_EQ(findCard(cards, {0, 5, 9, 3}), 2);
    EXPECT_EQ(findCard(cards, {0, 6, 9, 3}), -1);
}

TEST(CardRegister, DisplayTextsOfTheCardColumns) {
    CardRecord c;
    c.ZUZYCIEP = 1234.5;
    c.PRZEPALP = -3.25;
    c.PRZEBIEGM = 987.6;
    c.PRZEBIEGS = 123456.4;
    c.NORMAP = 30;
    c.DODMIE_2 = 15;
    c.DODMIE_1 = 0.03;
    c.DODMIE = 500;
    c.KODD = 12;
    c.DATAD = QDate(2009, 3, 31);
    c.NRREJ = QStringLiteral("KN 1000A");
    struct Case {
        const char* column;
        const char* c;
        const char* pl;
    };
    const Case cases[] = {
        {"ZUZYCIEP", "1,234.50", "1 234,50"}, // N 7.2
        {"PRZEPALP", "-3.25", "-3,25"},       // N 7.2, the sign kept
        {"ZUZYCIEO", "0.00", "0,00"},         // zero shown with its decimals
        {"PRZEBIEGM", "988", "988"},          // N 7.0
        {"PRZEBIEGS", "123,456", "123 456"},  // N 10.0
        {"NORMAP", "30.00", "30,00"},         // N 6.2
        {"DODMIE_2", "15.00", "15,00"},       // settled column, N 7.2
        {"DODMIE_3", "0.00", "0,00"},         // to-settle column, N 7.2
        {"DODMIE_1", "0.03", "0,03"},         // multiplier: plain text
        {"DODMIE", "500", "500"},             // quantity: plain text
        {"KODD", "12", "12"},
        {"DATAD", "2009-03-31", "2009-03-31"},
        {"NRREJ", "KN 1000A", "KN 1000A"},
    };
    const QLocale pl(QLocale::Polish, QLocale::Poland);
    for (const Case& k : cases) {
        SCOPED_TRACE(k.column);
        EXPECT_EQ(cardDisplayText(c, k.column, QLocale::c()), QString::fromUtf8(k.c));
        // The Polish group separator is a non-breaking space.
        EXPECT_EQ(cardDisplayText(c, k.column, pl).replace(QChar(0x00A0), QLatin1Char(' ')),
                  QString::fromUtf8(k.pl));
    }
}

TEST(CardRegister, ListColumnsAndCaptions) {
    const auto columns = registerListColumns();
    ASSERT_EQ(columns.size(), 17u);
    EXPECT_STREQ(columns[0].name, "KODD");
    EXPECT_EQ(columns[0].background, ListBackground::Yellow);
    EXPECT_FALSE(columns[1].visible); // NRREJ
    EXPECT_EQ(columns[12].title, QStringLiteral("Oszczęd/Przep.Olej"));
    for (const ListColumn& c : columns)
        EXPECT_NE(findCardColumn(QLatin1String(c.name)), nullptr) << c.name;

    VehicleContext v;
    v.NAZWA = QStringLiteral("  GBA 2,5/16 MAN ");
    v.NRREJ = QStringLiteral("KN 1000A  ");
    SystemSettings s;
    s.ROK = 9;
    s.MIE = 3;
    const QString caption = registerCaption(v, s);
    EXPECT_EQ(caption.left(80).trimmed(), QStringLiteral("Karty Drogowe  GBA 2,5/16 MAN  KN 1000A"));
    EXPECT_EQ(caption.mid(80), QStringLiteral("Marzec 2009"));
    EXPECT_EQ(registerExportTitle(v),
              QStringLiteral("Kartoteka Kart Drogowych dla GBA 2,5/16 MAN  KN 1000A"));
    v.NAZWA = QString(120, QLatin1Char('x'));
    EXPECT_EQ(registerExportTitle(v).size(), 100);
    EXPECT_EQ(registerReportFile(1), QStringLiteral("KartD.rav"));
    EXPECT_EQ(registerReportFile(2), QStringLiteral("KartD2.rav"));
}

namespace {

std::optional<ServiceReminder> reminder(const char* name) {
    return ServiceReminder{QString::fromUtf8(name), QStringLiteral("2009-05-01"), QStringLiteral("120000")};
}

} // namespace

TEST(CardRegister, RemindersAreTheFirstTwoKindsThatHavePlannedServices) {
    using R = std::vector<std::optional<ServiceReminder>>;
    auto names = [](const R& kinds) {
        const auto p = pickReminders(kinds);
        return std::pair{p.first.NAZWA, p.second.NAZWA};
    };
    EXPECT_EQ(names(R{std::nullopt, reminder("OT"), std::nullopt, std::nullopt}),
              std::pair(QStringLiteral("OT"), QString()));
    EXPECT_EQ(names(R{reminder("BT"), std::nullopt, reminder("LT"), reminder("UDT")}),
              std::pair(QStringLiteral("BT"), QStringLiteral("LT")));
    EXPECT_EQ(names(R(4)), std::pair(QString(), QString()));
}

namespace {

struct DocumentFixture : ::testing::Test {
    DocumentFixture() {
        vehicle.KODA = 17;
        vehicle.NRREJ = QStringLiteral("KN 1000A");
        vehicle.NAZWA = QStringLiteral("GBA 2,5/16");
        vehicle.MARKAPOD = QStringLiteral("MAN");
        vehicle.TYPPOD = QStringLiteral("TGM 13.290");
        vehicle.MODELPOD = QStringLiteral("4x4 BL");
        vehicle.RODZPAL = QStringLiteral("ON");
        vehicle.NORMPAL = 30;
        vehicle.NORMUG = 0.3;
        vehicle.NORMPOM = 0.55;
        vehicle.POJ_ZBIO = QStringLiteral("250");
        vehicle.POJ_KANI = QStringLiteral("20.5");
        vehicle.KOMENDA = QStringLiteral("JRG 2 Nowy Sącz");
        vehicle.OSOB_ODP = QStringLiteral("asp. Jan Nowak");
        settings.MN_POS = 60;
        settings.SPO = QStringLiteral("mł. asp. Ewa Zając   ");
        settings.MIEJSC = QStringLiteral("Nowy Sącz");
        card.KODA = 17;
        card.KODD = 105;
        card.ROKD = 9;
        card.MIED = 3;
        card.DATAD = QDate(2009, 3, 31);
        card.PRZEBIEG0 = 15000;
        card.PRZEBIEGM = 1000;
        card.PRZEBIEGS = 16000;
        card.ZUZYCIEP = 340;
        card.RAZEMP = 345.3;
        card.DODPOS = 60;
        card.NORMAP = 30;
    }
    VehicleContext vehicle;
    SystemSettings settings;
    CardRecord card;
};

} // namespace

TEST_F(DocumentFixture, FieldsFromTheCardTheVehicleAndTheSystemRecord) {
    const auto out = documentFields(card, vehicle, settings, {*reminder("Obsługa Techniczna"), {}},
                                    QDate(2009, 4, 2), QLocale::c());
    ASSERT_TRUE(out.ok()) << out.error.toStdString();
    const DocumentFields& f = out.fields;
    EXPECT_EQ(f.chassis, QStringLiteral("MAN TGM 13.290 4x4 BL"));
    EXPECT_EQ(f.vehicleNumber, QStringLiteral("Numer pojazdu 17"));
    EXPECT_EQ(f.monthName, QStringLiteral("Marzec"));
    EXPECT_EQ(f.monthNumber, 3);
    EXPECT_EQ(f.year, QStringLiteral("2009"));
    EXPECT_EQ(f.yearNumber, 9);
    EXPECT_EQ(f.cardNumber, QStringLiteral("105"));
    EXPECT_EQ(f.totalCapacity, QStringLiteral("270.5"));
    EXPECT_EQ(f.fuelNorm, QStringLiteral("30"));
    EXPECT_EQ(f.ugNorm, QStringLiteral("0.3"));
    EXPECT_EQ(f.standstillNorm, QStringLiteral("0.50"));
    EXPECT_EQ(f.preparedBy, QStringLiteral("mł. asp. Ewa Zając"));
    EXPECT_EQ(f.placeAndDate, QStringLiteral("Nowy Sącz, 2009-04-02"));
    EXPECT_EQ(f.today, QStringLiteral("2009-04-02"));
    EXPECT_EQ(f.initialOdometer, QStringLiteral("15000"));
    EXPECT_EQ(f.settlementDate, QStringLiteral("2009-03-31"));
    EXPECT_EQ(f.finalOdometer, QStringLiteral("16000"));
    EXPECT_EQ(f.actualFuel, QStringLiteral("340"));
    EXPECT_EQ(f.totalDue, QStringLiteral("345.3"));
    EXPECT_EQ(f.fuelDifference, QStringLiteral("5.3"));
    EXPECT_EQ(f.standstill, QStringLiteral("60"));
    EXPECT_EQ(f.pump, QStringLiteral("0"));
    EXPECT_EQ(f.cardFuelNorm, QStringLiteral("30"));
    EXPECT_EQ(f.firstService.NAZWA, QStringLiteral("Obsługa Techniczna"));
    EXPECT_TRUE(f.secondService.isEmpty());

    // The Polish decimal comma in the general format and in the capacities read back.
    vehicle.POJ_KANI = QStringLiteral("20,5");
    const auto pl = documentFields(card, vehicle, settings, {}, QDate(2009, 4, 2), QLocale(QLocale::Polish));
    ASSERT_TRUE(pl.ok());
    EXPECT_EQ(pl.fields.totalCapacity, QStringLiteral("270,5"));
    EXPECT_EQ(pl.fields.standstillNorm, QStringLiteral("0,50"));
}

TEST_F(DocumentFixture, NoDocumentWithoutAStandstillMultiplierOrWithACapacityThatIsNotANumber) {
    settings.MN_POS = 0;
    auto out = documentFields(card, vehicle, settings, {}, QDate(2009, 4, 2), QLocale::c());
    EXPECT_FALSE(out.ok());
    EXPECT_TRUE(out.error.contains(QStringLiteral("dzielenia przez zero")));

    settings.MN_POS = 60;
    for (const char* bad : {"", "abc"}) {
        vehicle.POJ_KANI = QLatin1String(bad);
        out = documentFields(card, vehicle, settings, {}, QDate(2009, 4, 2), QLocale::c());
        EXPECT_FALSE(out.ok()) << bad;
        EXPECT_TRUE(out.fields.registrationNumber.isEmpty());
    }
}
