#include "tripcards/rules/SettleJson.h"
#include "tripcards/rules/CardRecord.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

using namespace korven::tripcards;

namespace {

QJsonObject request(const char* json) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray(json), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << json;
    return doc.object();
}

const char* const example = R"({"vehicle": {"RODZPAL": "ON", "NORMPAL": 30},
    "meter": false,
    "card": {"NORMAP": 30, "NORMAO": 0.5, "DODPOS_1": 0.5, "DODMIE_1": 0.03, "DATAD": "2009-06-15"},
    "events": [["PRZEBIEGM", 1000], ["DODPOS", 60], ["DODMIE", 500], ["ZUZYCIEP", 340],
               ["ZUZYCIEO", 2], ["PRZELICZ"]]})";

} // namespace

TEST(SettleJson, AnswersTheExampleWithEveryColumn) {
    const SettleAnswer answer = settleJson(request(example));
    ASSERT_TRUE(answer.ok()) << answer.requestError.toStdString();
    const QJsonObject card = answer.response.value(QLatin1String("card")).toObject();
    EXPECT_EQ(card.size(), 87);
    EXPECT_EQ(card.value(QLatin1String("ZUZYCIEPN")).toDouble(), 300);
    EXPECT_EQ(card.value(QLatin1String("DODATKIP")).toDouble(), 45);
    EXPECT_EQ(card.value(QLatin1String("RAZEMP")).toDouble(), 345);
    EXPECT_EQ(card.value(QLatin1String("PRZEPALP")).toDouble(), 0);
    EXPECT_EQ(card.value(QLatin1String("ZUZYCIEON")).toDouble(), 1.7);
    EXPECT_EQ(card.value(QLatin1String("PRZEPALO")).toDouble(), -0.3);
    EXPECT_EQ(card.value(QLatin1String("PRZEBIEGMP")).toDouble(), 1150);
    EXPECT_EQ(card.value(QLatin1String("DODMIE_3")).toDouble(), 10);
    EXPECT_EQ(card.value(QLatin1String("DATAD")).toString(), QStringLiteral("2009-06-15"));
    EXPECT_EQ(card.value(QLatin1String("KODA")).toInt(), 0) << "a missing column is 0";
    const QJsonObject labels = answer.response.value(QLatin1String("labels")).toObject();
    EXPECT_EQ(labels.value(QLatin1String("PRZEPALP")).toString(), QStringLiteral("Oszczędność (+)"));
    EXPECT_EQ(labels.value(QLatin1String("PRZEPALO")).toString(), QStringLiteral("Przepał (-)"));
    EXPECT_TRUE(answer.response.value(QLatin1String("error")).isNull());
}

TEST(SettleJson, MissingDateIsEmptyAndTheZeroNormIsReported) {
    const SettleAnswer answer = settleJson(request(R"({"vehicle": {"RODZPAL": "ON", "NORMPAL": 0},
        "card": {"NORMAP": 30, "DODPOS_1": 0.5, "PRZEBIEGMP": 5},
        "events": [["PRZEBIEGM", 1000], ["DODPOS", 60], ["WYJAZDP", 2]]})"));
    ASSERT_TRUE(answer.ok()) << answer.requestError.toStdString();
    const QJsonObject card = answer.response.value(QLatin1String("card")).toObject();
    EXPECT_EQ(card.value(QLatin1String("DATAD")).toString(), QString());
    EXPECT_EQ(card.value(QLatin1String("DODATKIP")).toDouble(), 30);
    EXPECT_EQ(card.value(QLatin1String("PRZEBIEGMP")).toDouble(), 1000)
        << "set by the first event, kept by the second";
    EXPECT_EQ(card.value(QLatin1String("WYJAZDP")).toInt(), 2) << "later events still run";
    EXPECT_FALSE(answer.response.value(QLatin1String("error")).toString().isEmpty());
}

TEST(SettleJson, TypedTextIsReadOrRefusedLikeTheField) {
    const SettleAnswer answer = settleJson(request(R"({"vehicle": {"RODZPAL": "ET", "NORMPAL": 8.5},
        "card": {"NORMAP": 8.5},
        "events": [["PRZEBIEGM", "123"], ["ZUZYCIEP", "abc"], ["DATAD", "2009-02-30"]]})"));
    ASSERT_TRUE(answer.ok()) << answer.requestError.toStdString();
    const QJsonObject card = answer.response.value(QLatin1String("card")).toObject();
    EXPECT_EQ(card.value(QLatin1String("ZUZYCIEPN")).toDouble(), 10.5);
    EXPECT_EQ(card.value(QLatin1String("ZUZYCIEP")).toDouble(), 0);
    EXPECT_TRUE(answer.response.value(QLatin1String("error")).toString().contains(QLatin1String("abc")));
}

TEST(SettleJson, MeterEventsFollowTheMeterCard) {
    const SettleAnswer answer =
        settleJson(request(R"({"vehicle": {"RODZPAL": "ON", "NORMPAL": 30, "CZY_MIERNIK": "T"},
        "card": {"MIER_POCZ": 1200.5, "NORMAO": 0.5},
        "events": [["MIER_KON", 1350], ["ZUZYCIEP", 152]]})"));
    ASSERT_TRUE(answer.ok()) << answer.requestError.toStdString();
    const QJsonObject card = answer.response.value(QLatin1String("card")).toObject();
    EXPECT_EQ(card.value(QLatin1String("ZUZYCIEPN")).toDouble(), 149.5);
    EXPECT_EQ(card.value(QLatin1String("PRZEPALP")).toDouble(), -2.5);
    EXPECT_EQ(
        answer.response.value(QLatin1String("labels")).toObject().value(QLatin1String("PRZEPALP")).toString(),
        QStringLiteral("Przepał (-)"));
}

class SettleJsonRefuses : public ::testing::TestWithParam<const char*> {};

TEST_P(SettleJsonRefuses, AMalformedRequest) {
    const SettleAnswer answer = settleJson(request(GetParam()));
    EXPECT_FALSE(answer.ok()) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Cases, SettleJsonRefuses,
                         ::testing::Values(R"({"card": {"NOSUCH": 1}})", R"({"vehicle": {"NORMPAL": "30"}})",
                                           R"({"vehicle": {"COLOUR": "red"}})",
                                           R"({"events": [["DODATKIP", 5]]})",
                                           R"({"meter": true, "events": [["DODPOS", 5]]})",
                                           R"({"events": [["PRZELICZ", 1]]})", R"({"events": ["PRZEBIEGM"]})",
                                           R"({"card": {"DATAD": "2009-13-01"}})", R"({"cards": {}})",
                                           R"({"meter": "yes"})", R"({"history": 300})",
                                           R"({"history": [300, "310"]})"));

// The doubts the window would ask about come back as warnings and change nothing of the settlement.
TEST(SettleJson, DoubtfulValuesComeBackAsWarnings) {
    struct Case {
        const char* name;
        const char* json;
        int warnings;
        const char* containing;
    };
    const Case cases[] = {
        {"plain",
         R"({"card": {"PRZEBIEG0": 1000}, "events": [["PRZEBIEGM", 300]], "history": [300, 310, 290]})", 0,
         ""},
        {"beyond history", R"({"card": {"PRZEBIEG0": 1000}, "events": [["PRZEBIEGM", 5000]],
            "history": [300, 310, 290]})",
         1, "km przekracza 3-krotność mediany"},
        {"no history given", R"({"card": {"PRZEBIEG0": 1000}, "events": [["PRZEBIEGM", 5000]]})", 0, ""},
        {"final below initial", R"({"card": {"PRZEBIEG0": 1000, "PRZEBIEGS": 900}})", 1, "900"},
    };
    for (const Case& c : cases) {
        const SettleAnswer answer = settleJson(request(c.json));
        ASSERT_TRUE(answer.ok()) << c.name << ": " << answer.requestError.toStdString();
        const QJsonArray warnings = answer.response.value(QLatin1String("warnings")).toArray();
        ASSERT_EQ(warnings.size(), c.warnings) << c.name;
        if (c.warnings > 0) {
            EXPECT_TRUE(warnings.at(0).toString().contains(QString::fromUtf8(c.containing)))
                << c.name << ": " << warnings.at(0).toString().toStdString();
        }
    }
}

TEST(SettleJson, ResultsBeyondTheirColumnAreRefusedAndNeverReturned) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    const QString nb(QChar(0x00A0));
    const QString largest2 =
        QStringLiteral("21") + nb + QStringLiteral("474") + nb + QStringLiteral("836,47");
    struct Case {
        const char* name;
        const char* json;
        QString error; // expected "error"; empty: null
    } cases[] = {
        {"odometer sum beyond the column",
         R"({"vehicle": {"RODZPAL": "ON", "NORMPAL": 30}, "card": {"NORMAP": 30},
             "events": [["PRZEBIEG0", 21474836.47], ["PRZEBIEGM", 21474836.47]]})",
         QStringLiteral("Przebieg faktyczny, stan końcowy: największa wartość ") + largest2},
        {"odometer sum at the column's limit",
         R"({"vehicle": {"RODZPAL": "ON", "NORMPAL": 30}, "card": {"NORMAP": 30},
             "events": [["PRZEBIEG0", 21474836.46], ["PRZEBIEGM", 0.01]]})",
         QString()},
        {"typed value beyond the column",
         R"({"vehicle": {"RODZPAL": "ON", "NORMPAL": 30}, "events": [["ZUZYCIEP", "21474836.48"]]})",
         QStringLiteral("Faktyczne zużycie paliwa: największa wartość ") + largest2},
        {"fuel by norm beyond the column",
         R"({"vehicle": {"RODZPAL": "ON", "NORMPAL": 200}, "card": {"NORMAP": 200},
             "events": [["PRZEBIEGM", 20000000]]})",
         QStringLiteral("Zużycie paliwa wg normy: największa wartość ") + largest2},
        {"allowance quantity times its multiplier",
         R"({"vehicle": {"RODZPAL": "ON", "NORMPAL": 30}, "card": {"DODMIE_1": 21474.83647},
             "events": [["DODMIE", 10000]]})",
         QStringLiteral("Dodatek Miejski")},
        {"call-outs beyond a whole-number column",
         R"({"vehicle": {"RODZPAL": "ON"}, "events": [["WYJAZDP", 2147483648]]})",
         QStringLiteral("Wyjazdy Pożary: największa wartość 2") + nb + QStringLiteral("147") + nb +
             QStringLiteral("483") + nb + QStringLiteral("647")},
    };
    for (const Case& c : cases) {
        const SettleAnswer answer = settleJson(request(c.json));
        ASSERT_TRUE(answer.ok()) << c.name << ": " << answer.requestError.toStdString();
        const QJsonValue error = answer.response.value(QLatin1String("error"));
        if (c.error.isEmpty()) {
            EXPECT_TRUE(error.isNull()) << c.name << ": " << error.toString().toStdString();
        } else {
            EXPECT_TRUE(error.toString().startsWith(c.error))
                << c.name << ": " << error.toString().toStdString();
        }
        const QJsonObject card = answer.response.value(QLatin1String("card")).toObject();
        for (const CardColumn& column : cardColumns()) {
            if (column.type != ColumnType::Integer && column.type != ColumnType::Decimal) continue;
            EXPECT_LE(std::abs(card.value(QLatin1String(column.name)).toDouble()), columnLimit(column))
                << c.name << ": " << column.name;
        }
    }
    QLocale::setDefault(previous);
}

TEST(SettleJson, ADateOutsideTheYearsADateColumnKeepsIsRefused) {
    for (const char* date : {"-0001-01-01", "0000-12-31", "12009-01-01"}) {
        const QByteArray json = QByteArray(R"({"vehicle": {"RODZPAL": "ON", "NORMPAL": 30},
            "card": {"DATAD": "2009-06-15"}, "events": [["DATAD", ")") +
                                date + R"("]]})";
        const SettleAnswer answer = settleJson(request(json.constData()));
        ASSERT_TRUE(answer.ok()) << date;
        EXPECT_TRUE(answer.response.value(QLatin1String("error")).toString().contains(QLatin1String(date)))
            << date;
        EXPECT_EQ(
            answer.response.value(QLatin1String("card")).toObject().value(QLatin1String("DATAD")).toString(),
            QStringLiteral("2009-06-15"))
            << date;
    }
    // Given in the card itself, such a date is not a request at all.
    EXPECT_FALSE(settleJson(request(R"({"card": {"DATAD": "-0001-01-01"}})")).ok());
}
