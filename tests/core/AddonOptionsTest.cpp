// The options of the additions as read from their key/value rows.

#include "core/AddonOptions.h"

#include <gtest/gtest.h>

using namespace korven;

TEST(AddonOptions, MissingRowsAreTheDefaultsAndOff) {
    const AddonOptions o = addonOptionsFrom({});
    EXPECT_FALSE(o.plausibilityChecks);
    EXPECT_FALSE(o.serviceDueByCounter);
    EXPECT_EQ(o.serviceCounterMargin, 500);
}

TEST(AddonOptions, RowsRoundTrip) {
    const AddonOptions o{true, true, 1200};
    EXPECT_EQ(addonOptionsFrom(addonOptionRows(o)), o);
    const AddonOptions off{false, false, 0};
    EXPECT_EQ(addonOptionsFrom(addonOptionRows(off)), off);
}

TEST(AddonOptions, FlagsAndMarginAsStored) {
    struct Case {
        const char* flag;
        const char* margin;
        bool on;
        int marginRead;
    };
    for (const Case& c : {Case{"T", "300", true, 300}, Case{" t ", "0", true, 0}, Case{"N", "-5", false, 500},
                          Case{"TAK", "abc", false, 500}, Case{"", "100001", false, 500}}) {
        const AddonOptions o =
            addonOptionsFrom({{addon_keys::plausibilityChecks, QLatin1String(c.flag)},
                              {addon_keys::serviceCounterMargin, QLatin1String(c.margin)}});
        EXPECT_EQ(o.plausibilityChecks, c.on) << c.flag;
        EXPECT_EQ(o.serviceCounterMargin, c.marginRead) << c.margin;
    }
}

TEST(AddonOptions, TypedMargin) {
    EXPECT_EQ(parseServiceCounterMargin(QStringLiteral(" 750 ")).value, 750);
    for (const char* bad : {"", "7.5", "-1", "100001", "km"})
        EXPECT_FALSE(parseServiceCounterMargin(QLatin1String(bad)).ok()) << bad;
}
