#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

struct CliRun {
    int exitCode = -1;
    QJsonObject answer;
    QByteArray err;
};

CliRun settleEquipment(const QByteArray& input) {
    QProcess p;
    p.start(QStringLiteral(KORVEN_CLI), {QStringLiteral("settle-equipment")});
    EXPECT_TRUE(p.waitForStarted());
    p.write(input);
    p.closeWriteChannel();
    EXPECT_TRUE(p.waitForFinished(30000));
    return {p.exitCode(), QJsonDocument::fromJson(p.readAllStandardOutput()).object(),
            p.readAllStandardError()};
}

} // namespace

TEST(CliSettleEquipment, RunsTheEventsOfTheWindowOnACard) {
    const CliRun run = settleEquipment(R"({"engine": "2",
        "card": {"KODS": 1, "KODK": 7, "ROKS": 9, "MIES": 3, "DATAS": "2009-03-31", "NORMAPAL": 0.105,
                 "NORMOLM": 0.02, "NORMOLS": 0.025, "ILOPOBOLM": 1, "ILOPOBOLS": 0.5},
        "events": [["CZAS", 125], ["ZUZYCIEPALF", 10.04], ["PRZELICZ"]]})");
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject card = run.answer.value(QLatin1String("card")).toObject();
    EXPECT_EQ(card.size(), 20); // every column of A_KARTAS
    EXPECT_EQ(card.value(QLatin1String("ZUZYCIEPALN")).toDouble(), 13.1);
    EXPECT_EQ(card.value(QLatin1String("ZUZYCIEOLMN")).toDouble(), 0.2);
    EXPECT_EQ(card.value(QLatin1String("ZUZYCIEOLSN")).toDouble(), 0.3);
    EXPECT_EQ(card.value(QLatin1String("POZOSTOLS")).toDouble(), 0.2);
    EXPECT_EQ(card.value(QLatin1String("OSZCZPAL")).toDouble(), 3.06);
    EXPECT_EQ(card.value(QLatin1String("DATAS")).toString(), QStringLiteral("2009-03-31"));
    EXPECT_EQ(run.answer.value(QLatin1String("label")).toString(), QStringLiteral("Oszczędność (+)"));
    EXPECT_TRUE(run.answer.value(QLatin1String("error")).isNull());
}

TEST(CliSettleEquipment, BadInputGivesTheReasonAndExitCode1) {
    struct Case {
        const char* input;
        bool card; // the card as it stood is given back
    };
    for (const Case c :
         {Case{"not json", false}, Case{R"({"engine": "2", "card": {"NOSUCH": 1}})", false},
          Case{R"({"card": {}})", false}, Case{R"({"engine": "4", "events": [["CZAS", "abc"]]})", true},
          Case{R"({"engine": "4", "events": [["NORMAPAL", 1]]})", true},
          Case{R"({"engine": "4", "card": {"NORMAPAL": 2000000}, "events": [["CZAS", 90000]]})", true}}) {
        const CliRun run = settleEquipment(c.input);
        EXPECT_EQ(run.exitCode, 1) << c.input;
        EXPECT_FALSE(run.answer.value(QLatin1String("error")).toString().isEmpty()) << c.input;
        EXPECT_EQ(run.answer.value(QLatin1String("card")).isObject(), c.card) << c.input;
        EXPECT_FALSE(run.err.isEmpty());
    }
}

TEST(CliSettleEquipment, AnOverconsumptionGivesTheRedLabelsText) {
    const CliRun run = settleEquipment(
        R"({"engine": "4", "card": {"NORMAPAL": 0.1}, "events": [["CZAS", "100"], ["ZUZYCIEPALF", "12.5"]]})");
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.answer.value(QLatin1String("label")).toString(), QStringLiteral("Przepał (-)"));
    EXPECT_EQ(run.answer.value(QLatin1String("card")).toObject().value(QLatin1String("OSZCZPAL")).toDouble(),
              -2.5);
}
