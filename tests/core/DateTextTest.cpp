#include "core/DateText.h"
#include "core/Clock.h"
#include "core/ProgramStart.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace korven;

TEST(DateText, ReadsOnlyRealDatesOfTheDateColumnRange) {
    struct Case {
        const char* text;
        QDate expected; // invalid: refused
    } cases[] = {
        {"2009-03-31", QDate(2009, 3, 31)},
        {" 2009-3-1 ", QDate(2009, 3, 1)},
        {"2008-02-29", QDate(2008, 2, 29)},
        {"0001-01-01", QDate(1, 1, 1)},
        {"9999-12-31", QDate(9999, 12, 31)},
        {"2009-02-29", {}},
        {"2009-04-31", {}},
        {"2009-13-01", {}},
        {"2009-00-10", {}},
        {"2009-01-00", {}},
        {"0000-01-01", {}},
        {"-0001-01-01", {}},
        {"+2009-01-01", {}},
        {"10000-01-01", {}},
        {"09-03-31", {}},
        {"2009/03/31", {}},
        {"2009.03.31", {}},
        {"2009-03-31T10:00", {}},
        {"31-03-2009", {}},
        {"", {}},
        {"abc", {}},
    };
    for (const Case& c : cases) {
        const std::optional<QDate> d = parseDate(QString::fromLatin1(c.text));
        if (c.expected.isValid()) {
            ASSERT_TRUE(d.has_value()) << c.text;
            EXPECT_EQ(*d, c.expected) << c.text;
        } else {
            EXPECT_FALSE(d.has_value()) << c.text;
        }
    }
    EXPECT_EQ(dateText(QDate(9, 3, 1)), QStringLiteral("0009-03-01"));
    EXPECT_EQ(dateText(QDate()), QString());
}

namespace {
// Sets KORVEN_TODAY for one test and puts the previous state back.
struct TodayVariable {
    explicit TodayVariable(const char* value) {
        if (qEnvironmentVariableIsSet(kTodayVariable)) old = qgetenv(kTodayVariable);
        if (value)
            qputenv(kTodayVariable, value);
        else
            qunsetenv(kTodayVariable);
    }
    ~TodayVariable() {
        if (old)
            qputenv(kTodayVariable, *old);
        else
            qunsetenv(kTodayVariable);
    }
    std::optional<QByteArray> old;
};
} // namespace

TEST(Clock, TodayComesFromTheVariableWhenItIsSet) {
    {
        TodayVariable v("2009-03-31");
        EXPECT_EQ(today(), QDate(2009, 3, 31));
        EXPECT_NO_THROW(checkTodayVariable());
    }
    for (const char* unset : {static_cast<const char*>(nullptr), ""}) {
        TodayVariable v(unset);
        EXPECT_EQ(today(), QDate::currentDate());
        EXPECT_NO_THROW(checkTodayVariable());
    }
    for (const char* bad : {"2009-02-30", "-0001-01-01", "jutro", "2009-3"}) {
        TodayVariable v(bad);
        EXPECT_THROW(today(), std::runtime_error) << bad;
        try {
            checkTodayVariable();
            ADD_FAILURE() << bad << " was taken";
        } catch (const std::runtime_error& e) {
            EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QLatin1String("KORVEN_TODAY"))) << e.what();
        }
    }
    // A test's own day wins over the variable.
    TodayVariable v("2009-03-31");
    setTodayProvider([] { return QDate(2010, 1, 2); });
    EXPECT_EQ(today(), QDate(2010, 1, 2));
    setTodayProvider({});
}

TEST(ProgramLocale, PolishNumbersOnlyWhereTheSystemHasNoLocale) {
    struct Case {
        QLocale system;
        QString decimal;
        QString group;
    } cases[] = {
        {QLocale::c(), QStringLiteral(","), QString(QChar(0x00A0))},
        {QLocale(QStringLiteral("POSIX")), QStringLiteral(","), QString(QChar(0x00A0))},
        {QLocale(QLocale::Polish, QLocale::Poland), QStringLiteral(","), QString(QChar(0x00A0))},
        {QLocale(QLocale::English, QLocale::UnitedStates), QStringLiteral("."), QStringLiteral(",")},
        {QLocale(QLocale::German, QLocale::Germany), QStringLiteral(","), QStringLiteral(".")},
    };
    for (const Case& c : cases) {
        const QLocale l = programLocale(c.system);
        EXPECT_EQ(l.decimalPoint(), c.decimal) << c.system.name().toStdString();
        EXPECT_EQ(l.groupSeparator(), c.group) << c.system.name().toStdString();
    }
}
