#include "registries/rules/Fields.h"

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::registries;

namespace {

struct NumberCase {
    const char* typed;
    std::optional<double> expected;
};

class ParseNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ParseNumber, AcceptsPointOrCommaOnly) {
    const NumberCase& c = GetParam();
    std::optional<double> v = parseNumber(QString::fromUtf8(c.typed));
    ASSERT_EQ(v.has_value(), c.expected.has_value()) << c.typed;
    if (v) {
        EXPECT_DOUBLE_EQ(*v, *c.expected) << c.typed;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseNumber,
                         ::testing::Values(NumberCase{"12.5", 12.5}, NumberCase{"12,5", 12.5},
                                           NumberCase{" -3 ", -3.0}, NumberCase{",25", 0.25},
                                           NumberCase{"1 234,5", 1234.5},
                                           NumberCase{"1\xc2\xa0"
                                                      "234.5",
                                                      1234.5},
                                           NumberCase{"7.", 7.0}, NumberCase{"abc", std::nullopt},
                                           NumberCase{"1.2.3", std::nullopt},
                                           NumberCase{"1,234.5", std::nullopt},
                                           NumberCase{"12e3", std::nullopt}, NumberCase{"", std::nullopt},
                                           NumberCase{"-", std::nullopt}, NumberCase{"0x10", std::nullopt}));

FieldInfo field(FieldKind kind, int width, int scale = 0, bool upper = false) {
    FieldInfo f;
    f.column = QStringLiteral("X");
    f.label = QStringLiteral("Pole X");
    f.kind = kind;
    f.width = width;
    f.scale = scale;
    f.upper = upper;
    return f;
}

struct InputCase {
    const char* name;
    FieldInfo field;
    const char* typed;
    bool ok;
    const char* stored; // Value::toText of the stored value when ok
};

class ConvertInput : public ::testing::TestWithParam<InputCase> {};

TEST_P(ConvertInput, StoresOrRefusesWithTheFieldNamed) {
    const InputCase& c = GetParam();
    Conversion r = convertInput(c.field, QString::fromUtf8(c.typed));
    EXPECT_EQ(r.ok, c.ok);
    if (c.ok) {
        EXPECT_EQ(r.value.toText(), QString::fromUtf8(c.stored));
    } else {
        EXPECT_TRUE(r.message.contains(QStringLiteral("Pole X"))) << r.message.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConvertInput,
    ::testing::Values(
        InputCase{"UpperCased", field(FieldKind::Text, 10, 0, true), "kr 12345", true, "KR 12345"},
        InputCase{"PolishUpperCased", field(FieldKind::Text, 10, 0, true), "łódź", true, "ŁÓDŹ"},
        InputCase{"CutToWidth", field(FieldKind::Text, 4), "abcdefgh", true, "abcd"},
        InputCase{"TrailingBlanksDropped", field(FieldKind::Text, 10), "  ab   ", true, "  ab"},
        InputCase{"DecimalComma", field(FieldKind::Decimal, 6, 3), "999,999", true, "999.999"},
        InputCase{"RoundedToScale", field(FieldKind::Decimal, 9, 2), "2.345", true, "2.35"},
        InputCase{"TooBigForColumn", field(FieldKind::Decimal, 6, 3), "1000", false, ""},
        InputCase{"TextInNumber", field(FieldKind::Decimal, 9, 2), "dużo", false, ""},
        InputCase{"EmptyNumberIsNull", field(FieldKind::Decimal, 9, 2), "  ", true, ""},
        InputCase{"Integer", field(FieldKind::Integer, 0), "42", true, "42"},
        InputCase{"FractionInInteger", field(FieldKind::Integer, 0), "1,5", false, ""},
        InputCase{"IntegerOverflow", field(FieldKind::Integer, 0), "3000000000", false, ""},
        InputCase{"ScaledIntegerLimit", field(FieldKind::Integer, 3), "1000", false, ""},
        InputCase{"Date", field(FieldKind::Date, 0), "2009-03-31", true, "2009-03-31"},
        InputCase{"DayThatDoesNotExist", field(FieldKind::Date, 0), "2009-02-30", false, ""},
        InputCase{"EmptyDateIsNull", field(FieldKind::Date, 0), "", true, ""}),
    [](const ::testing::TestParamInfo<InputCase>& info) { return std::string(info.param.name); });

TEST(DisplayText, NormsWithThousandsSeparatorsInTheLocale) {
    FieldInfo norm = field(FieldKind::Decimal, 9, 2);
    norm.displayDecimals = 2;
    EXPECT_EQ(displayText(norm, db::Value(db::Decimal{123450, 2}), QLocale::c()), QStringLiteral("1,234.50"));
    QLocale pl(QLocale::Polish, QLocale::Poland);
    EXPECT_EQ(displayText(norm, db::Value(db::Decimal{123450, 2}), pl),
              QStringLiteral("1") + pl.groupSeparator() + QStringLiteral("234,50"));
    // Without a display format a number shows as stored.
    FieldInfo plain = field(FieldKind::Decimal, 7, 3);
    EXPECT_EQ(displayText(plain, db::Value(db::Decimal{250, 3}), pl), QStringLiteral("0,25"));
    EXPECT_EQ(editText(plain, db::Value(db::Decimal{30000, 3})), QStringLiteral("30"));
}

} // namespace
