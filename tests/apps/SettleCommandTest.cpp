#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CliRun settle(const QByteArray& input,
              const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KORVEN_CLI), {QStringLiteral("settle")});
    EXPECT_TRUE(p.waitForStarted());
    p.write(input);
    p.closeWriteChannel();
    EXPECT_TRUE(p.waitForFinished(30000));
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

} // namespace

TEST(CliSettle, RunsTheExampleFromStandardInputToStandardOutput) {
    const CliRun run = settle(R"({"vehicle": {"RODZPAL": "ON", "NORMPAL": 30},
        "meter": false,
        "card": {"NORMAP": 30, "NORMAO": 0.5, "DODPOS_1": 0.5, "DODMIE_1": 0.03, "DATAD": "2009-06-15"},
        "events": [["PRZEBIEGM", 1000], ["DODPOS", 60], ["DODMIE", 500], ["ZUZYCIEP", 340],
                   ["ZUZYCIEO", 2], ["PRZELICZ"]]})");
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject answer = QJsonDocument::fromJson(run.out).object();
    const QJsonObject card = answer.value(QLatin1String("card")).toObject();
    EXPECT_EQ(card.value(QLatin1String("RAZEMP")).toDouble(), 345);
    EXPECT_EQ(card.value(QLatin1String("PRZEPALO")).toDouble(), -0.3);
    EXPECT_EQ(card.value(QLatin1String("PRZEBIEGSP")).toDouble(), 1150);
    EXPECT_TRUE(run.out.contains("\"DODMIE_1\": 0.03")) << "numbers are written at the column's scale";
    EXPECT_EQ(answer.value(QLatin1String("labels")).toObject().value(QLatin1String("PRZEPALO")).toString(),
              QStringLiteral("Przepał (-)"));
    EXPECT_TRUE(answer.value(QLatin1String("error")).isNull());
}

TEST(CliSettle, RefusesInputThatIsNotARequest) {
    for (const QByteArray& input :
         {QByteArray("not json"), QByteArray("[1, 2]"), QByteArray(R"({"card": {"X": 1}})")}) {
        const CliRun run = settle(input);
        EXPECT_EQ(run.exitCode, 2) << input.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_FALSE(run.err.isEmpty());
    }
}

// The largest value is told in the notation of the system's locale, Polish where it has none.
TEST(CliSettle, AResultBeyondItsColumnIsAnErrorAndIsNotReturned) {
    const QString nb(QChar(0x00A0));
    const QString polish = QStringLiteral("21") + nb + QStringLiteral("474") + nb + QStringLiteral("836,47");
    struct Case {
        const char* locale;
        QString largest;
    } cases[] = {
        {"C", polish},
        {"POSIX", polish},
        {"pl_PL.UTF-8", polish},
        {"en_US.UTF-8", QStringLiteral("21,474,836.47")},
    };
    for (const Case& c : cases) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(c.locale));
        const CliRun run = settle(R"({"vehicle": {"RODZPAL": "ON", "NORMPAL": 30}, "card": {"NORMAP": 30},
            "events": [["PRZEBIEG0", 21474836.47], ["PRZEBIEGM", 21474836.47]]})",
                                  env);
        ASSERT_EQ(run.exitCode, 0) << c.locale << ": " << run.err.toStdString();
        const QJsonObject answer = QJsonDocument::fromJson(run.out).object();
        EXPECT_EQ(answer.value(QLatin1String("error")).toString(),
                  QStringLiteral("Przebieg faktyczny, stan końcowy: największa wartość ") + c.largest)
            << c.locale;
        // The card comes back as it was before the refused value, within its columns.
        EXPECT_EQ(answer.value(QLatin1String("card")).toObject().value(QLatin1String("PRZEBIEGS")).toDouble(),
                  21474836.47)
            << c.locale;
    }
}

TEST(CliSettle, AnAnswerThatCannotBeWrittenIsAFailure) {
    QProcess p;
    p.setStandardOutputFile(QStringLiteral("/dev/full"));
    p.start(QStringLiteral(KORVEN_CLI), {QStringLiteral("settle")});
    ASSERT_TRUE(p.waitForStarted());
    p.write(R"({"vehicle": {"RODZPAL": "ON", "NORMPAL": 30}, "events": [["PRZEBIEGM", 100]]})");
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(p.exitCode(), 0);
    EXPECT_FALSE(p.readAllStandardError().isEmpty());
}
