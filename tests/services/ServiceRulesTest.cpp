#include "services/rules/ServiceRules.h"

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::services;

struct PlannedCase {
    const char* name;
    QDate done;
    int months;
    QDate planned;
};

class PlannedDate : public ::testing::TestWithParam<PlannedCase> {};

TEST_P(PlannedDate, AddsMonthsAndKeepsToTheEndOfTheMonth) {
    const PlannedCase& c = GetParam();
    EXPECT_EQ(plannedDate(c.done, c.months), std::optional<QDate>(c.planned));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlannedDate,
    ::testing::Values(PlannedCase{"Jan31Plus1", QDate(2009, 1, 31), 1, QDate(2009, 2, 28)},
                      PlannedCase{"Jan31Plus1LeapYear", QDate(2008, 1, 31), 1, QDate(2008, 2, 29)},
                      PlannedCase{"Nov30Plus3", QDate(2008, 11, 30), 3, QDate(2009, 2, 28)},
                      PlannedCase{"Nov30Plus3IntoLeapYear", QDate(2011, 11, 30), 3, QDate(2012, 2, 29)},
                      PlannedCase{"Feb29Plus12", QDate(2008, 2, 29), 12, QDate(2009, 2, 28)},
                      PlannedCase{"Feb29Plus48", QDate(2008, 2, 29), 48, QDate(2012, 2, 29)},
                      PlannedCase{"May15Plus12", QDate(2009, 5, 15), 12, QDate(2010, 5, 15)},
                      PlannedCase{"May15Plus24", QDate(2009, 5, 15), 24, QDate(2011, 5, 15)},
                      PlannedCase{"Mar31Plus1", QDate(2009, 3, 31), 1, QDate(2009, 4, 30)},
                      PlannedCase{"Dec31Plus0", QDate(2009, 12, 31), 0, QDate(2009, 12, 31)},
                      PlannedCase{"Mar31Minus1", QDate(2009, 3, 31), -1, QDate(2009, 2, 28)},
                      PlannedCase{"Jan15Minus13", QDate(2009, 1, 15), -13, QDate(2007, 12, 15)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlannedDate, NothingWithoutADateCarriedOut) {
    EXPECT_FALSE(plannedDate(QDate(), 6));
}

TEST(ServiceNumbers, FirstIsOneThenTheHighestPlusOne) {
    EXPECT_EQ(nextServiceNumber(std::nullopt), 1);
    EXPECT_EQ(nextServiceNumber(1), 2);
    EXPECT_EQ(nextServiceNumber(41), 42);
}

TEST(ServiceKinds, ChoosingAKindCopiesItsInterval) {
    ServiceRecord s;
    applyKind(s, {2, QStringLiteral("OT "), QStringLiteral(" Obsługa Techniczna "), 6});
    EXPECT_EQ(s.TYP, QStringLiteral("OT"));
    EXPECT_EQ(s.NAZWA, QStringLiteral("Obsługa Techniczna"));
    EXPECT_EQ(s.ILE, 6);
    s.DATAW = QDate(2009, 8, 31);
    EXPECT_EQ(plannedDate(s.DATAW, s.ILE), QDate(2010, 2, 28));
}

TEST(ServiceRegister, CaptionAndTitles) {
    SystemSettings settings;
    settings.ROK = 9;
    settings.MIE = 6;
    const QString caption =
        registerCaption(QStringLiteral(" GBA 2,5/16 "), QStringLiteral("KN 1234 "), settings);
    EXPECT_EQ(caption.left(80).trimmed(),
              QStringLiteral("Kartoteka Obsług Technicznych  GBA 2,5/16  KN 1234"));
    EXPECT_EQ(caption.mid(80), QStringLiteral("Czerwiec 2009"));
    EXPECT_EQ(registerExportTitle(QString(90, QLatin1Char('x')), QStringLiteral("KN 1")).size(), 100);
}

struct DueCase {
    const char* name;
    const char* PLANW;
    QDate DATAP;
    double STANP;
    std::optional<double> lastOdometer;
    bool byCounter;
    int margin;
    bool dueByDate;
    bool dueByCounter;
};

class Due : public ::testing::TestWithParam<DueCase> {};

TEST_P(Due, ByDateAndByCounter) {
    const DueCase& c = GetParam();
    ServiceRecord s;
    s.PLANW = QString::fromLatin1(c.PLANW);
    s.DATAP = c.DATAP;
    s.STANP = c.STANP;
    const ServiceDue d = serviceDue(s, QDate(2009, 6, 15), c.lastOdometer, c.byCounter, c.margin);
    EXPECT_EQ(d.byDate, c.dueByDate);
    EXPECT_EQ(d.byCounter, c.dueByCounter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Due,
    ::testing::Values(
        DueCase{"PlannedToday", "N", QDate(2009, 6, 15), 0, 50000, true, 500, true, false},
        DueCase{"PlannedTomorrow", "N", QDate(2009, 6, 16), 0, 50000, true, 500, false, false},
        DueCase{"OverdueLowerCaseFlag", "n", QDate(2009, 1, 1), 0, {}, false, 500, true, false},
        DueCase{"CarriedOutIsNeverDue", "T", QDate(2009, 1, 1), 40000, 50000, true, 500, false, false},
        DueCase{"NoPlannedDate", "N", QDate(), 0, 50000, true, 500, false, false},
        DueCase{"CounterReachedLessMargin", "N", QDate(2009, 9, 1), 50500, 50000, true, 500, false, true},
        DueCase{"CounterJustShortOfMargin", "N", QDate(2009, 9, 1), 50500.01, 50000, true, 500, false, false},
        DueCase{"CounterWithoutMargin", "N", QDate(2009, 9, 1), 50000, 50000, true, 0, false, true},
        DueCase{"CounterSwitchedOff", "N", QDate(2009, 9, 1), 40000, 50000, false, 500, false, false},
        DueCase{"NoPlannedCounter", "N", QDate(2009, 9, 1), 0, 50000, true, 500, false, false},
        DueCase{"VehicleWithoutCards", "N", QDate(2009, 9, 1), 400, {}, true, 500, false, false},
        DueCase{"BothKinds", "N", QDate(2009, 6, 1), 40000, 50000, true, 500, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DueReason, NamesBothKinds) {
    EXPECT_EQ(dueReasonText({true, false}), QStringLiteral("termin"));
    EXPECT_EQ(dueReasonText({false, true}), QStringLiteral("licznik"));
    EXPECT_EQ(dueReasonText({true, true}), QStringLiteral("termin, licznik"));
}
