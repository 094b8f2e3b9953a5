// Ending the real program from outside while an operator works in it: the stop signals, the end of
// the desktop session (the display going away) and a second copy started beside a running one.

#include "apps/Desktop.h"
#include "db/Database.h"

#include <QThread>

#include <csignal>

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::test;

namespace {

// What the program leaves in the database about the operators and the first vehicle.
struct Traces {
    qint64 ile = -1;
    qint64 operators = -1;
    QString firstVehicle;
};

Traces readTraces(const QString& databaseFile) {
    db::ConnectParams p;
    p.database = databaseFile;
    p.user = QStringLiteral("SYSDBA");
    auto attachment = db::Attachment::attach(p);
    db::Transaction t(*attachment);
    Traces traces = db::inTransaction(t, [](db::Transaction& tr) {
        Traces r;
        r.ile = tr.scalar(QStringLiteral("select ILE from FJ_BAZA where LP = 1")).toInt();
        r.operators = tr.scalar(QStringLiteral("select count(*) from FJ_FLOP")).toInt();
        r.firstVehicle =
            tr.scalar(QStringLiteral("select first 1 NAZWA from A_AUTO order by KODA")).toText().trimmed();
        return r;
    });
    attachment->detach();
    return traces;
}

struct StopWay {
    const char* name;
    int signal; // 0: the display goes away instead
};

void PrintTo(const StopWay& way, std::ostream* out) {
    *out << way.name;
}

class Stopping : public ::testing::TestWithParam<StopWay> {};

} // namespace

TEST_P(Stopping, EndsByTheExitSequenceAndDropsWhatWasNotPosted) {
    Desktop desktop;
    ASSERT_TRUE(desktop.ready()) << desktop.error().toStdString();
    Korven korven(programFolder());
    ASSERT_TRUE(korven.ready()) << korven.error().toStdString();
    const Traces before = readTraces(korven.database());
    ASSERT_TRUE(korven.startAndLogIn(desktop)) << korven.error().toStdString();

    // An operator in the middle of typing a vehicle's name, two windows deep.
    desktop.keys({QStringLiteral("space")});
    ASSERT_TRUE(desktop.waitActive(QRegularExpression(QStringLiteral("^Kartoteka Pojazdów "))));
    desktop.keys({QStringLiteral("Return")});
    ASSERT_TRUE(desktop.waitActive(QRegularExpression(QStringLiteral("^Dane Szczegółowe Pojazdu :"))));
    desktop.keys({QStringLiteral("ctrl+a")});
    desktop.type(QStringLiteral("NIE ZAPISANO"));

    const StopWay way = GetParam();
    if (way.signal != 0)
        korven.signal(way.signal);
    else
        desktop.pullThePlug();
    ASSERT_TRUE(korven.waitEnded(20000))
        << "the program did not end; it said: " << korven.output().toStdString();
    if (way.signal != 0) {
        EXPECT_EQ(korven.process().exitCode(), 0) << korven.output().toStdString();
    }

    const Traces after = readTraces(korven.database());
    EXPECT_EQ(after.ile, before.ile) << "counted out of ILE";
    EXPECT_EQ(after.operators, before.operators) << "its operator row removed";
    EXPECT_EQ(after.firstVehicle, before.firstVehicle)
        << "what was typed and not posted is dropped, as by Esc";
}

INSTANTIATE_TEST_SUITE_P(Ways, Stopping,
                         ::testing::Values(StopWay{"SIGTERM", SIGTERM}, StopWay{"SIGINT", SIGINT},
                                           StopWay{"SIGHUP", SIGHUP}, StopWay{"DisplayLost", 0}),
                         [](const ::testing::TestParamInfo<StopWay>& info) {
                             return std::string(info.param.name);
                         });

TEST(SecondCopy, SaysInAWindowThatTheDatabaseIsInUse) {
    Desktop desktop;
    ASSERT_TRUE(desktop.ready()) << desktop.error().toStdString();
    Korven first(programFolder());
    ASSERT_TRUE(first.ready()) << first.error().toStdString();
    ASSERT_TRUE(first.startAndLogIn(desktop)) << first.error().toStdString();

    // A second copy of the same program folder, on the same database.
    QProcess second;
    second.setProcessEnvironment(first.process().processEnvironment());
    second.setProcessChannelMode(QProcess::MergedChannels);
    second.start(first.process().program(), {});
    ASSERT_TRUE(second.waitForStarted(10000));
    const QRegularExpression message(QStringLiteral("^KORVEN$"));
    bool told = false;
    if (desktop.waitActive(QRegularExpression(QStringLiteral("^Database Login$")), 15000)) {
        desktop.type(QStringLiteral("dowolne")); // the embedded engine takes any password
        desktop.keys({QStringLiteral("Return")});
        told = desktop.waitActive(message, 15000);
    } else {
        told = desktop.waitActive(message, 1000);
    }
    desktop.screenshot(QStringLiteral("desktop-second-copy"));
    const QString shown = desktop.visibleTitles().join(QStringLiteral(" | "));
    if (second.state() != QProcess::NotRunning) {
        second.kill();
        second.waitForFinished(5000);
    }
    EXPECT_TRUE(told) << "shown: " << shown.toStdString() << "; it said: " << second.readAll().toStdString();
}
