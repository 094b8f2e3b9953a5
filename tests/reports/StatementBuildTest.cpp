// The statements' builds over small fixtures of registry, card and service rows.

#include "reports/rules/Statements.h"

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::reports;

namespace {

const QLocale kPolish(QLocale::Polish, QLocale::Poland);

RegistryRow vehicle(int code, const char* fuel = "ON", int kind = 1, int unit = 1, const char* typ = "P") {
    RegistryRow r;
    r.code = code;
    r.KOD_RP = kind;
    r.group = 1;
    r.KOD_KO = unit;
    r.TYP = QString::fromLatin1(typ);
    r.RODZPAL = QString::fromLatin1(fuel);
    r.NAZWA = QStringLiteral("Pojazd %1").arg(code);
    r.NRREJ = QStringLiteral("KN %1").arg(code);
    r.KOMENDA = QStringLiteral("KP Nowy Targ");
    r.NRIDENT = QStringLiteral("ID-%1").arg(code);
    r.columns.insert(QStringLiteral("NRREJ"), r.NRREJ);
    r.columns.insert(QStringLiteral("NAZWA"), r.NAZWA);
    r.columns.insert(QStringLiteral("RODZPAL"), r.RODZPAL);
    return r;
}

CardRow card(int owner, int number, int month, int year, QHash<QString, double> amounts) {
    CardRow c;
    c.owner = owner;
    c.number = number;
    c.month = month;
    c.year = year;
    c.NRREJ = QStringLiteral("KN %1").arg(owner);
    c.date = QDate(2000 + year, month, 28);
    c.amounts = std::move(amounts);
    return c;
}

StatementChoices choices(int year = 2009, int month = 3) {
    SystemSettings s;
    s.ROK = year - 2000;
    s.MIE = month;
    return defaultChoices(StatementId::Vehicles, s, QDate(2009, 3, 10));
}

QList<qlonglong> column(const ResultTable& t, const QString& field) {
    QList<qlonglong> v;
    for (int r = 0; r < t.rowCount(); ++r)
        v << t.value(r, field).toLongLong();
    return v;
}

// ------------------------------------------------------------------------------------------------
// Lists

TEST(VehicleList, FilterAndRadioGroupPickTheRows) {
    StatementSources s;
    s.registry = {vehicle(1, "ON", 1, 1, "O"), vehicle(2, "ET", 2, 1, "P"), vehicle(3, "ON", 1, 2, "X")};
    struct Case {
        const char* what;
        std::function<void(StatementChoices&)> set;
        QList<qlonglong> codes;
    } cases[] = {
        {"everything", [](StatementChoices&) {}, {1, 2, 3}},
        {"passenger", [](StatementChoices& c) { c.vehicles = VehicleChoice::Passenger; }, {1}},
        {"other", [](StatementChoices& c) { c.vehicles = VehicleChoice::Other; }, {2}},
        {"kind 1",
         [](StatementChoices& c) {
             c.kind = {false, 1, QStringLiteral("Lekki")};
         },
         {1, 3}},
        {"unit 2",
         [](StatementChoices& c) {
             c.unit = {false, 2, QStringLiteral("JRG 2")};
         },
         {3}},
        {"box unchecked, nothing picked", [](StatementChoices& c) { c.group.all = false; }, {}},
    };
    for (const Case& k : cases) {
        StatementChoices c = choices();
        k.set(c);
        const ResultTable t = buildStatement(StatementId::Vehicles, c, s);
        EXPECT_EQ(column(t, QStringLiteral("koda")), k.codes) << k.what;
        for (int r = 0; r < t.rowCount(); ++r)
            EXPECT_EQ(t.value(r, QStringLiteral("lp")).toInt(), r + 1) << k.what;
    }
}

TEST(VehicleList, TypeTextsAndHiddenZeroNorms) {
    StatementSources s;
    s.registry = {vehicle(1, "ON", 1, 1, "O"), vehicle(2, "ON", 1, 1, "X")};
    s.registry[0].columns.insert(QStringLiteral("NORMPAL"), 31.5);
    s.registry[0].columns.insert(QStringLiteral("DOEKSPL"), QDate(2004, 5, 1));
    s.registry[0].columns.insert(QStringLiteral("NAZWA"), QString(50, QLatin1Char('a')));
    const ResultTable t = buildStatement(StatementId::Vehicles, choices(), s);
    EXPECT_EQ(t.value(0, QStringLiteral("typ")).toString(), QStringLiteral("Osobowy"));
    EXPECT_EQ(t.value(1, QStringLiteral("typ")).toString(), QString());
    EXPECT_EQ(t.text(0, QStringLiteral("normpal"), kPolish), QStringLiteral("31,50"));
    EXPECT_EQ(t.text(1, QStringLiteral("normpal"), kPolish), QString());
    EXPECT_EQ(t.value(0, QStringLiteral("doekspl")).toString(), QStringLiteral("2004-05-01"));
    EXPECT_EQ(t.value(0, QStringLiteral("nazwa")).toString().size(), 40);
}

TEST(EquipmentList, EngineChoiceAndThreeDecimalNorms) {
    StatementSources s;
    s.registry = {vehicle(1), vehicle(2), vehicle(3)};
    s.registry[0].RODZSILN = QStringLiteral("4");
    s.registry[1].RODZSILN = QStringLiteral("2");
    s.registry[2].columns.insert(QStringLiteral("NORMPAL"), 1.25);
    StatementChoices c = choices();
    c.engine = EngineChoice::TwoStroke;
    EXPECT_EQ(column(buildStatement(StatementId::Equipment, c, s), QStringLiteral("kods")),
              QList<qlonglong>{2});
    const ResultTable all = buildStatement(StatementId::Equipment, choices(), s);
    EXPECT_EQ(all.value(0, QStringLiteral("rodzsiln")).toString(), QStringLiteral("4-suw"));
    EXPECT_EQ(all.text(2, QStringLiteral("normpal"), kPolish), QStringLiteral("1,250"));
}

// ------------------------------------------------------------------------------------------------
// Card statements

StatementSources tripCards() {
    StatementSources s;
    s.registry = {vehicle(1), vehicle(2)};
    // Numbers run across vehicles: the statement lists them by number, not by vehicle.
    s.cards = {card(1, 10, 2, 9, {{"ZUZYCIEP", 100}, {"WYJAZDMZ", 2}, {"MASAPR", 3}}),
               card(1, 12, 3, 9, {{"ZUZYCIEP", 50.5}, {"WYJAZDMZ", 1}}),
               card(2, 11, 3, 9, {{"ZUZYCIEP", 20}, {"PRZEBIEGM", 400}}),
               card(2, 5, 3, 8, {{"ZUZYCIEP", 7}})};
    return s;
}

TEST(TripCardStatement, MonthChoiceAndTotals) {
    struct Case {
        const char* what;
        bool anyMonth;
        int month, year;
        bool registerForm;
        QList<qlonglong> numbers;
        double fuel; // total of the totals row, when there is one
    } cases[] = {
        {"any month", true, 3, 2009, false, {5, 10, 11, 12, 99999}, 177.5},
        {"March 2009", false, 3, 2009, false, {11, 12, 99999}, 70.5},
        {"March 2008", false, 3, 2008, false, {5, 99999}, 7},
        {"a month without cards", false, 7, 2009, false, {99999}, 0},
        {"register without cards", false, 7, 2009, true, {}, 0},
        {"register", false, 3, 2009, true, {11, 12}, 0},
    };
    for (const Case& k : cases) {
        StatementChoices c = choices();
        c.anyMonth = k.anyMonth;
        c.month = k.month;
        c.year = k.year;
        c.registerForm = k.registerForm;
        const ResultTable t = buildStatement(StatementId::TripCards, c, tripCards());
        EXPECT_EQ(column(t, QStringLiteral("kodd")), k.numbers) << k.what;
        if (!k.registerForm) {
            EXPECT_DOUBLE_EQ(t.number(t.rowCount() - 1, QStringLiteral("zuzycieP")), k.fuel) << k.what;
        }
    }
}

TEST(TripCardStatement, TotalsRowShowsBlankNumberAndHidesZeros) {
    StatementSources s = tripCards();
    s.cards.push_back(card(2, 99999, 1, 9, {{"WYJAZDMZ", 0}}));
    const ResultTable t = buildStatement(StatementId::TripCards, choices(), s);
    const int last = t.rowCount() - 1;
    EXPECT_EQ(t.text(last, QStringLiteral("kodd"), kPolish), QStringLiteral(" "));
    EXPECT_EQ(t.value(last, QStringLiteral("nazwa")).toString(), QStringLiteral("R A Z E M"));
    EXPECT_TRUE(t.value(last, QStringLiteral("lp")).isNull());
    EXPECT_TRUE(t.value(last, QStringLiteral("dataD")).isNull());
    EXPECT_TRUE(t.value(last, QStringLiteral("masaPR")).isNull()); // not summed
    EXPECT_EQ(t.text(last, QStringLiteral("dodPOS"), kPolish), QString());
    // Trips add up as whole numbers and still show two decimals.
    EXPECT_EQ(t.value(last, QStringLiteral("wyjazdMZ")).toLongLong(), 3);
    EXPECT_EQ(t.text(last, QStringLiteral("wyjazdMZ"), kPolish), QStringLiteral("3,00"));
    // A card numbered 99999 shows a blank number like the totals row.
    const int card99999 = last - 1;
    EXPECT_EQ(t.value(card99999, QStringLiteral("kodd")).toInt(), 99999);
    EXPECT_EQ(t.text(card99999, QStringLiteral("kodd"), kPolish), QStringLiteral(" "));
}

TEST(EquipmentCardStatement, AlwaysHasTheTotalsRow) {
    StatementSources s;
    s.registry = {vehicle(1), vehicle(2)};
    s.cards = {card(1, 3, 3, 9, {{"CZAS", 120}, {"ZUZYCIEPALF", 4.5}}), card(2, 2, 3, 9, {{"CZAS", 30}})};
    StatementChoices c = choices();
    c.registerForm = true; // the switch is disabled for equipment
    const ResultTable t = buildStatement(StatementId::EquipmentCards, c, s);
    EXPECT_EQ(column(t, QStringLiteral("kodk")), (QList<qlonglong>{2, 3, 99999}));
    EXPECT_DOUBLE_EQ(t.number(2, QStringLiteral("czas")), 150);
    EXPECT_EQ(t.text(2, QStringLiteral("czas"), kPolish), QStringLiteral("150"));
}

// ------------------------------------------------------------------------------------------------
// Consumption by kind and group

StatementSources byKind() {
    StatementSources s;
    s.dictionary = {{1, QStringLiteral("Lekki"), {}},
                    {3, QStringLiteral("Średni"), {}},
                    {12, QStringLiteral("Ciężki"), {}}};
    s.registry = {vehicle(1, "ON", 1), vehicle(2, "ET", 1), vehicle(3, "LP", 3), vehicle(4, "XX", 3),
                  vehicle(5, "ON", 7)};
    s.cards = {card(1, 1, 2, 9, {{"ZUZYCIEP", 100}, {"ZUZYCIEO", 1}, {"PRZEBIEGM", 300}}),
               card(2, 2, 3, 9, {{"ZUZYCIEP", 40}, {"PRZEBIEGM", 200}}),
               card(3, 3, 3, 9, {{"ZUZYCIEP", 60}, {"PRZEBIEGM", 500}}),
               card(4, 4, 4, 9, {{"ZUZYCIEP", 25}, {"ZUZYCIEO", 2}, {"PRZEBIEGM", 90}}),
               card(5, 5, 5, 9, {{"ZUZYCIEP", 10}, {"PRZEBIEGM", 50}}),
               card(1, 6, 3, 8, {{"ZUZYCIEP", 999}})};
    return s;
}

TEST(ConsumptionByKind, RowsPerKindAndTotals) {
    const ResultTable t = buildStatement(StatementId::ByKind, choices(), byKind(), {}, kPolish);
    // Kind 7 is missing from the dictionary: its row sorts by code among the others.
    EXPECT_EQ(column(t, QStringLiteral("kod")), (QList<qlonglong>{1, 3, 7, 12, 99999}));
    EXPECT_EQ(t.value(0, QStringLiteral("kodL")).toString(), QStringLiteral("1"));
    EXPECT_EQ(t.value(1, QStringLiteral("kodL")).toString(), QStringLiteral("2a"));
    EXPECT_EQ(t.value(2, QStringLiteral("rodzpoj")).toString(),
              QStringLiteral("Nieistniejący Numer Rodzaju Pojazdu"));
    EXPECT_EQ(t.value(2, QStringLiteral("kodL")).toString(), QString());
    EXPECT_EQ(t.value(3, QStringLiteral("kodL")).toString(), QString()); // code 12 has no label
    // Kind 1: diesel and petrol; kind 3: LPG, and a fuel type of none of the three adds oil and km only.
    EXPECT_DOUBLE_EQ(t.number(0, QStringLiteral("on")), 100);
    EXPECT_DOUBLE_EQ(t.number(0, QStringLiteral("pb")), 40);
    EXPECT_DOUBLE_EQ(t.number(1, QStringLiteral("lpg")), 60);
    EXPECT_DOUBLE_EQ(t.number(1, QStringLiteral("ol")), 2);
    EXPECT_DOUBLE_EQ(t.number(1, QStringLiteral("km")), 590);
    EXPECT_DOUBLE_EQ(t.number(1, QStringLiteral("on")) + t.number(1, QStringLiteral("pb")), 0);
    // Totals: the missing kind enters them, the card of 2008 does not.
    const int total = 4;
    EXPECT_EQ(t.text(total, QStringLiteral("kod"), kPolish), QStringLiteral(" "));
    EXPECT_EQ(t.value(total, QStringLiteral("rodzpoj")).toString(), QStringLiteral("R A Z E M"));
    EXPECT_DOUBLE_EQ(t.number(total, QStringLiteral("on")), 110);
    EXPECT_DOUBLE_EQ(t.number(total, QStringLiteral("km")), 1140);
    EXPECT_EQ(t.value(total, QStringLiteral("kmT")).toString(),
              QStringLiteral("1") + kPolish.groupSeparator() + QStringLiteral("140,00"));
    // A kind without cards: empty amounts and "XXX" texts.
    EXPECT_EQ(t.text(3, QStringLiteral("on"), kPolish), QString());
    for (const char* f : {"pbT", "onT", "lpgT", "kmT"})
        EXPECT_EQ(t.value(3, QString::fromLatin1(f)).toString(), QStringLiteral("XXX")) << f;
}

TEST(ConsumptionByKind, MonthSpan) {
    struct Case {
        int from, to;
        double km;
    } cases[] = {{1, 12, 1140}, {3, 3, 700}, {3, 4, 790}, {5, 2, 0}};
    for (const Case& k : cases) {
        StatementChoices c = choices();
        c.fromMonth = k.from;
        c.toMonth = k.to;
        const ResultTable t = buildStatement(StatementId::ByKind, c, byKind(), {}, kPolish);
        EXPECT_DOUBLE_EQ(t.number(t.rowCount() - 1, QStringLiteral("km")), k.km) << k.from << "-" << k.to;
        if (k.km == 0) {
            EXPECT_EQ(t.rowCount(), 4) << "no missing-kind row when no card is taken";
            EXPECT_EQ(t.value(t.rowCount() - 1, QStringLiteral("onT")).toString(), QStringLiteral("XXX"));
        }
    }
}

TEST(ConsumptionByGroup, WorkingTimeAndBothOils) {
    StatementSources s;
    s.dictionary = {{1, QStringLiteral("Pompy"), {}}};
    s.registry = {vehicle(1, "ET", 0), vehicle(2, "ET", 0)};
    s.registry[0].group = 1;
    s.registry[1].group = 4;
    s.cards = {card(1, 1, 3, 9, {{"ZUZYCIEPALF", 3}, {"ILOPOBOLM", 0.2}, {"ILOPOBOLS", 0.1}, {"CZAS", 90}}),
               card(2, 2, 3, 9, {{"ILOPOBOLS", 0.5}})};
    const ResultTable t = buildStatement(StatementId::ByGroup, choices(), s, {}, kPolish);
    EXPECT_EQ(column(t, QStringLiteral("kod")), (QList<qlonglong>{1, 4, 99999}));
    EXPECT_EQ(t.value(1, QStringLiteral("rodzpoj")).toString(),
              QStringLiteral("Nieistniejąca Grupa Sprzętu"));
    EXPECT_DOUBLE_EQ(t.number(2, QStringLiteral("ols")), 0.6);
    EXPECT_EQ(t.text(0, QStringLiteral("km"), kPolish), QStringLiteral("90"));
    EXPECT_FALSE(t.field(QStringLiteral("kodL")).shown());
}

// ------------------------------------------------------------------------------------------------
// Yearly analytic consumption

TEST(YearlyConsumption, MonthsQuartersAndFuelTotals) {
    StatementSources s;
    s.registry = {vehicle(1, "ON"), vehicle(2, "LP"), vehicle(3, "ET"), vehicle(4, "ON")};
    s.cards = {card(1, 1, 1, 9, {{"ZUZYCIEP", 10}}), card(1, 2, 1, 9, {{"ZUZYCIEP", 5}}),
               card(1, 3, 5, 9, {{"ZUZYCIEP", 7}}),  card(2, 4, 2, 9, {{"ZUZYCIEP", 50}}),
               card(3, 5, 12, 9, {{"ZUZYCIEP", 3}}), card(1, 6, 4, 8, {{"ZUZYCIEP", 100}}),
               card(3, 7, 13, 9, {{"ZUZYCIEP", 8}})};
    const ResultTable t = buildStatement(StatementId::YearlyVehicles, choices(), s);
    // Grouped by fuel type, then code; the totals last.
    EXPECT_EQ(column(t, QStringLiteral("kod")), (QList<qlonglong>{3, 2, 1, 4, 99998, 99999}));
    EXPECT_EQ(column(t, QStringLiteral("lp")), (QList<qlonglong>{1, 2, 3, 4, 0, 0}));
    EXPECT_TRUE(t.value(4, QStringLiteral("lp")).isNull());
    const int v1 = 2;
    EXPECT_DOUBLE_EQ(t.number(v1, QStringLiteral("m1")), 15); // two cards of one month add up
    EXPECT_DOUBLE_EQ(t.number(v1, QStringLiteral("k1")), 15);
    EXPECT_DOUBLE_EQ(t.number(v1, QStringLiteral("k2")), 7);
    EXPECT_DOUBLE_EQ(t.number(v1, QStringLiteral("RR")), 22);
    // A vehicle without cards of the year keeps a numbered row of empty cells.
    EXPECT_EQ(t.text(3, QStringLiteral("RR"), kPolish), QString());
    // LPG is listed but in neither total; a month outside 1..12 counts nowhere.
    EXPECT_EQ(t.value(4, QStringLiteral("nazwa")).toString(), QStringLiteral("RAZEM ET "));
    EXPECT_DOUBLE_EQ(t.number(4, QStringLiteral("RR")), 3);
    EXPECT_EQ(t.value(5, QStringLiteral("nazwa")).toString(), QStringLiteral("RAZEM ON "));
    EXPECT_DOUBLE_EQ(t.number(5, QStringLiteral("RR")), 22);
    EXPECT_DOUBLE_EQ(t.number(5, QStringLiteral("k1")), 15);
    EXPECT_EQ(t.text(5, QStringLiteral("rodzpal")), QStringLiteral(" "));
}

TEST(YearlyConsumption, YearWithoutCardsGivesEmptyRowsAndZeroTotals) {
    StatementSources s;
    s.registry = {vehicle(1, "ON"), vehicle(2, "ET")};
    StatementChoices c = choices();
    c.year = 2015;
    const ResultTable t = buildStatement(StatementId::YearlyEquipment, c, s);
    ASSERT_EQ(t.rowCount(), 4);
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(t.text(r, QStringLiteral("RR"), kPolish), QString());
}

// ------------------------------------------------------------------------------------------------
// Average consumption by years

TEST(AverageConsumption, MeanOfTheYearsWithAnAverage) {
    StatementSources s;
    s.registry = {vehicle(1, "ON"), vehicle(2, "ON"), vehicle(3, "ET")};
    s.registry[2].NORMPAL = 25;
    // Vehicle 1 drove in 2007 and 2009 only; in 2010 it took fuel without mileage.
    s.cards = {card(1, 1, 3, 7, {{"ZUZYCIEP", 57}, {"PRZEBIEGM", 800}}),
               card(1, 2, 3, 9, {{"ZUZYCIEP", 30}, {"PRZEBIEGM", 200}}),
               card(1, 3, 3, 10, {{"ZUZYCIEP", 40}}),
               card(1, 4, 3, 6, {{"ZUZYCIEP", 90}, {"PRZEBIEGM", 100}}),
               card(2, 5, 3, 12, {{"ZUZYCIEP", 12.5}, {"PRZEBIEGM", 100}}),
               card(2, 6, 3, 13, {{"ZUZYCIEP", 99}, {"PRZEBIEGM", 100}})};
    StatementChoices c = choices(2012);
    EXPECT_EQ(c.fromYear, 2007);
    EXPECT_EQ(c.toYear, 2012);
    const ResultTable t = buildStatement(StatementId::AverageVehicles, c, s, {}, kPolish);
    EXPECT_EQ(column(t, QStringLiteral("kod")), (QList<qlonglong>{3, 1, 2}));
    EXPECT_EQ(t.field(QStringLiteral("m1")).title, QStringLiteral("2007"));
    EXPECT_EQ(t.field(QStringLiteral("m6")).title, QStringLiteral("2012"));
    const int v1 = 1;
    // 57 l over 800 km is 7,125 l/100 km: kept and shown as 7,13.
    EXPECT_DOUBLE_EQ(t.number(v1, QStringLiteral("m1")), 7.13);
    EXPECT_EQ(t.text(v1, QStringLiteral("m1"), kPolish), QStringLiteral("7,13"));
    EXPECT_DOUBLE_EQ(t.number(v1, QStringLiteral("m3")), 15);
    EXPECT_EQ(t.text(v1, QStringLiteral("m4"), kPolish), QString()); // fuel without mileage
    EXPECT_DOUBLE_EQ(t.number(v1, QStringLiteral("z4")), 40);
    EXPECT_DOUBLE_EQ(t.number(v1, QStringLiteral("sr")), 11.07); // (7,13 + 15) / 2, not / 6
    EXPECT_DOUBLE_EQ(t.number(2, QStringLiteral("m6")), 12.5);
    // A vehicle without cards shows only its norm.
    EXPECT_EQ(t.text(0, QStringLiteral("sr"), kPolish), QString());
    EXPECT_EQ(t.text(0, QStringLiteral("norma"), kPolish), QStringLiteral("25,00"));

    // Moving the start year moves every column.
    setStartYear(c, 2008);
    const ResultTable moved = buildStatement(StatementId::AverageVehicles, c, s, {}, kPolish);
    EXPECT_EQ(moved.field(QStringLiteral("m1")).title, QStringLiteral("2008"));
    EXPECT_DOUBLE_EQ(moved.number(1, QStringLiteral("m2")), 15);
    EXPECT_DOUBLE_EQ(moved.number(1, QStringLiteral("sr")), 15);
    EXPECT_DOUBLE_EQ(moved.number(2, QStringLiteral("m6")), 99);
}

TEST(AverageConsumption, SpanWiderThanSixYearsStopsAtTheSixthColumn) {
    StatementSources s;
    s.registry = {vehicle(1)};
    s.cards = {card(1, 1, 1, 20, {{"ZUZYCIEP", 10}, {"PRZEBIEGM", 100}})};
    StatementChoices c = choices(2012);
    c.fromYear = 2007;
    c.toYear = 2030;
    const ResultTable t = buildStatement(StatementId::AverageEquipment, c, s);
    EXPECT_DOUBLE_EQ(t.number(0, QStringLiteral("sr")), 0);
}

// ------------------------------------------------------------------------------------------------
// Technical services

ServiceRow service(int vehicle, int number, const char* typ, const QDate& planned, const char* plan) {
    ServiceRow s;
    s.KODA = vehicle;
    s.KODB = number;
    s.TYP = QString::fromLatin1(typ);
    s.NAZWA = QStringLiteral("Obsługa %1").arg(number);
    s.DATAP = planned;
    s.PLANW = QString::fromLatin1(plan);
    return s;
}

TEST(ServicesStatement, DateWindowPlanAndKind) {
    StatementSources s;
    s.registry = {vehicle(1), vehicle(2)};
    const QDate from(2009, 3, 10), to(2009, 4, 9);
    s.services = {service(1, 1, "OT1", to, "t"),
                  service(1, 2, "OT2", from, "N"),
                  service(1, 3, "OT1", from.addDays(-1), "T"),
                  service(2, 1, "OT1", to.addDays(1), "T"),
                  service(2, 2, "OT2", QDate(2009, 3, 20), "x"),
                  service(2, 3, "OT1", QDate(), "T")};
    struct Case {
        const char* what;
        PlanChoice plan;
        const char* typ; // empty: every kind
        QStringList names;
    } cases[] = {
        {"defaults", PlanChoice::Any, "", {"Obsługa 2", "Obsługa 2", "Obsługa 1"}},
        {"TAK takes t and T", PlanChoice::Yes, "", {"Obsługa 1"}},
        {"NIE takes n and N", PlanChoice::No, "", {"Obsługa 2"}},
        {"kind OT1", PlanChoice::Any, "OT1", {"Obsługa 1"}},
        {"kind OT2", PlanChoice::Any, "OT2", {"Obsługa 2", "Obsługa 2"}},
    };
    for (const Case& k : cases) {
        StatementChoices c = choices();
        EXPECT_EQ(c.from, from);
        EXPECT_EQ(c.to, to);
        c.plan = k.plan;
        if (*k.typ) c.service = {false, 7, QStringLiteral("Przegląd"), QString::fromLatin1(k.typ)};
        const ResultTable t = buildStatement(StatementId::Services, c, s);
        QStringList names;
        for (int r = 0; r < t.rowCount(); ++r) {
            names << t.value(r, QStringLiteral("nazwa")).toString();
            EXPECT_EQ(t.value(r, QStringLiteral("lp")).toInt(), r + 1);
        }
        EXPECT_EQ(names, k.names) << k.what;
    }
    // Ordered by planned date.
    const ResultTable t = buildStatement(StatementId::Services, choices(), s);
    EXPECT_EQ(t.value(0, QStringLiteral("dataP")).toString(), QStringLiteral("2009-03-10"));
    EXPECT_EQ(t.value(2, QStringLiteral("dataP")).toString(), QStringLiteral("2009-04-09"));
    EXPECT_EQ(t.value(1, QStringLiteral("nazwaA")).toString(), QStringLiteral("Pojazd 2"));
}

// With services due by the counter switched on, a planned service whose counter the odometer has
// reached (less the margin) joins the date window's services; carried out ones never do.
TEST(ServicesStatement, DueByCounterBesideTheDateWindow) {
    StatementSources s;
    s.registry = {vehicle(1), vehicle(2)};
    auto counted = [](int vehicle, int number, double counter, const char* plan) {
        ServiceRow r = service(vehicle, number, "OT", QDate(2010, 1, 1), plan);
        r.STANP = counter;
        return r;
    };
    s.services = {counted(1, 1, 60000, "N"), counted(1, 2, 61000, "N"), counted(1, 3, 59000, "T"),
                  counted(2, 1, 100, "N"), service(2, 2, "BT", QDate(2009, 3, 20), "N")};
    s.lastOdometer = {{1, 59600}}; // vehicle 2 has no card
    StatementChoices c = choices();
    auto names = [&] {
        QStringList n;
        const ResultTable t = buildStatement(StatementId::Services, c, s);
        for (int r = 0; r < t.rowCount(); ++r)
            n << t.value(r, QStringLiteral("nrrej")).toString() + QLatin1Char('/') +
                     t.value(r, QStringLiteral("nazwa")).toString();
        return n;
    };
    EXPECT_EQ(names(), QStringList{QStringLiteral("KN 2/Obsługa 2")});
    c.dueByCounter = true;
    c.counterMargin = 500;
    EXPECT_EQ(names(), (QStringList{QStringLiteral("KN 2/Obsługa 2"), QStringLiteral("KN 1/Obsługa 1")}));
    c.counterMargin = 0;
    EXPECT_EQ(names(), QStringList{QStringLiteral("KN 2/Obsługa 2")});
}

// ------------------------------------------------------------------------------------------------
// Issue voucher

TEST(Voucher, FuelOrOilsByCardNumber) {
    StatementSources s;
    s.registry = {vehicle(1, "ET"), vehicle(2, "LP"), vehicle(3, "ON")};
    s.cards = {card(1, 30, 3, 9, {{"ZUZYCIEPALF", 4}, {"ILOPOBOLM", 0.1}}),
               card(2, 10, 3, 9, {{"ZUZYCIEPALF", 6}, {"ILOPOBOLM", 0.2}, {"ILOPOBOLS", 0.3}}),
               card(3, 20, 3, 9, {{"ZUZYCIEPALF", 8}}), card(3, 5, 2, 9, {{"ZUZYCIEPALF", 8}})};
    StatementChoices c = choices();
    const ResultTable fuel = buildStatement(StatementId::Voucher, c, s, {}, kPolish);
    EXPECT_EQ(column(fuel, QStringLiteral("kodk")), (QList<qlonglong>{10, 20, 30, 99999}));
    EXPECT_EQ(fuel.text(0, QStringLiteral("et"), kPolish), QString()); // LPG: no fuel amounts
    EXPECT_EQ(fuel.text(0, QStringLiteral("on"), kPolish), QString());
    EXPECT_DOUBLE_EQ(fuel.number(3, QStringLiteral("et")), 4);
    EXPECT_DOUBLE_EQ(fuel.number(3, QStringLiteral("on")), 8);
    EXPECT_EQ(fuel.value(3, QStringLiteral("nazwa")).toString(), QStringLiteral("R A Z E M"));
    EXPECT_EQ(fuel.field(QStringLiteral("et")).title, QStringLiteral("Wydane ET"));

    c.oil = true;
    const ResultTable oil = buildStatement(StatementId::Voucher, c, s, {}, kPolish);
    EXPECT_DOUBLE_EQ(oil.number(0, QStringLiteral("et")), 0.2);
    EXPECT_DOUBLE_EQ(oil.number(0, QStringLiteral("on")), 0.3);
    EXPECT_DOUBLE_EQ(oil.number(3, QStringLiteral("et")), 0.3);
    EXPECT_EQ(oil.field(QStringLiteral("et")).title, QStringLiteral("Wydany olej mieszanka"));

    c.month = 7;
    const ResultTable none = buildStatement(StatementId::Voucher, c, s, {}, kPolish);
    ASSERT_EQ(none.rowCount(), 1);
    EXPECT_EQ(none.text(0, QStringLiteral("et"), kPolish), QString());
}

// ------------------------------------------------------------------------------------------------
// Prints

// The doubtful cards of March 2009: each vehicle's March card against its months before, in the
// year that crosses into 2008; a card of another month is never listed.
TEST(DoubtfulCards, CardsOfTheMonthAgainstTheYearBefore) {
    StatementSources s;
    for (int code : {1, 2, 3}) {
        s.registry.push_back(vehicle(code));
        s.registry.back().columns.insert(QStringLiteral("POJ_ZBIO"), QStringLiteral("100"));
        s.registry.back().columns.insert(QStringLiteral("CZY_MIERNIK"), QStringLiteral("N"));
    }
    int number = 1;
    for (int code : {1, 2, 3})
        for (int month : {10, 11, 12})
            s.cards.push_back(card(code, number++, month, 8, {{"PRZEBIEGM", 1000}}));
    // Vehicle 1 drives as usual, vehicle 2 five times as far, vehicle 3 takes more fuel than its
    // tank could hold; vehicle 1's doubtful April card is not of the month.
    s.cards.push_back(card(
        1, number++, 3, 9,
        {{"PRZEBIEG0", 5000}, {"PRZEBIEGM", 1000}, {"PRZEBIEGS", 6000}, {"ZUZYCIEP", 100}, {"RAZEMP", 100}}));
    s.cards.push_back(card(2, number++, 3, 9,
                           {{"PRZEBIEG0", 5000},
                            {"PRZEBIEGM", 5000},
                            {"PRZEBIEGS", 10000},
                            {"ZUZYCIEP", 100},
                            {"RAZEMP", 100}}));
    s.cards.push_back(card(
        3, number++, 3, 9,
        {{"PRZEBIEG0", 5000}, {"PRZEBIEGM", 1000}, {"PRZEBIEGS", 6000}, {"ZUZYCIEP", 900}, {"RAZEMP", 100}}));
    s.cards.push_back(card(1, number++, 4, 9, {{"PRZEBIEG0", 6000}, {"PRZEBIEGS", 100}}));
    StatementChoices c = choices(2009, 3);
    c.month = 3;
    c.year = 2009;
    const ResultTable t = buildStatement(StatementId::DoubtfulCards, c, s);
    ASSERT_EQ(t.rowCount(), 2);
    EXPECT_EQ(column(t, QStringLiteral("lp")), (QList<qlonglong>{1, 2}));
    EXPECT_EQ(t.value(0, QStringLiteral("nrrej")).toString(), QStringLiteral("KN 2"));
    EXPECT_TRUE(t.value(0, QStringLiteral("uwagi")).toString().contains(QStringLiteral("mediany")));
    EXPECT_EQ(t.value(1, QStringLiteral("nrrej")).toString(), QStringLiteral("KN 3"));
    EXPECT_TRUE(t.value(1, QStringLiteral("uwagi")).toString().contains(QStringLiteral("zbiornika")));
}

TEST(StatementPrint, LayoutsAndParameters) {
    SystemSettings settings;
    settings.NAZWASKR = QStringLiteral("KP PSP Nowy Targ");
    settings.SPO = QStringLiteral("Jan Nowak");
    settings.GLK = QStringLiteral("Anna Kowal");
    StatementChoices c = choices();
    c.unit = {false, 2, QStringLiteral(" JRG 2  ")};

    PrintSpec p = statementPrint(StatementId::TripCards, c, settings, QStringLiteral("Operator"));
    EXPECT_EQ(p.projectFile, QStringLiteral("RapKartD.rav"));
    QStringList names;
    for (const auto& kv : p.parameters)
        names << kv.first;
    EXPECT_EQ(names, (QStringList{"firma", "osoba", "rodzaj", "grupa", "jednost", "kiedy"}));
    EXPECT_EQ(p.parameters[2].second, QStringLiteral("Rodzaje wszystkie"));
    EXPECT_EQ(p.parameters[4].second, QStringLiteral("JRG 2"));
    EXPECT_EQ(p.parameters[5].second, QStringLiteral("Marzec 2009"));
    c.registerForm = true;
    EXPECT_EQ(statementPrint(StatementId::TripCards, c, settings, {}).projectFile,
              QStringLiteral("RapKartDR.rav"));

    c.formal = true;
    c.unit.all = true;
    c.fromMonth = 2;
    c.toMonth = 5;
    p = statementPrint(StatementId::ByKind, c, settings, {});
    EXPECT_EQ(p.projectFile, QStringLiteral("RapZuzySF.rav"));
    EXPECT_TRUE(p.landscape);
    ASSERT_EQ(p.parameters.size(), 4);
    EXPECT_EQ(p.parameters[0].second, QStringLiteral("od Luty do Maj 2009"));
    EXPECT_EQ(p.parameters[1].second, settings.NAZWASKR); // all units: the organisation
    EXPECT_EQ(p.parameters[3].second, settings.GLK);

    c.section = 3;
    EXPECT_EQ(statementPrint(StatementId::Equipment, c, settings, {}).projectFile,
              QStringLiteral("RapSprzet3.rav"));
    p = statementPrint(StatementId::AverageEquipment, c, settings, {});
    EXPECT_EQ(p.parameters.last(), qMakePair(QStringLiteral("par6"), QString::number(c.fromYear + 5)));
    EXPECT_EQ(p.dataView, QStringLiteral("RvDataSetConnectionRapSredSP"));

    EXPECT_EQ(statementCaption(StatementId::ByKind, 9, 3),
              QStringLiteral("Zestawienie Zużycia Paliwa wg Rodzajów Pojazdów") +
                  QString(21, QLatin1Char(' ')) + QStringLiteral("Marzec 2009"));
}

} // namespace
