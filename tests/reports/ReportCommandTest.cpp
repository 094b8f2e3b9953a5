#include "ReportTestData.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct CliResult {
    int exitCode;
    QString out, err;
};

CliResult runCli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(KORVEN_CLI), QStringList{QStringLiteral("report")} + args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

TEST(ReportCommand, RendersADictionaryProjectFromParametersAndJson) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("grupy.txt"));
    const CliResult r =
        runCli({QStringLiteral("GrupaS.rav"), QStringLiteral("--param"), QStringLiteral("firma=KP PSP Żagań"),
                QStringLiteral("--param"), QStringLiteral("osoba=Jan Kowalski"), QStringLiteral("--data"),
                korven::test::sourceDir() + QStringLiteral("/tests/fixtures/grupy_sprzetu.json"),
                QStringLiteral("--format"), QStringLiteral("txt"), QStringLiteral("--out"), out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("KP PSP Żagań")));
    EXPECT_TRUE(text.contains(QStringLiteral("Wydrukował: Jan Kowalski")));
    EXPECT_TRUE(text.contains(QStringLiteral("Kartoteka Grup Sprzętu Silnikowego")));
    EXPECT_TRUE(text.contains(QStringLiteral("16 Zestaw narzędzi hydraulicznych kategorii 2")));
    EXPECT_TRUE(text.contains(QStringLiteral("Strona 1 z 1")));
}

TEST(ReportCommand, ReportsFailuresWithExitCodes) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("x.pdf"));
    CliResult r = runCli({QStringLiteral("Brak.rav"), QStringLiteral("--out"), out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Brak.rav"))) << r.err.toStdString();

    r = runCli({QStringLiteral("GrupaS.rav"), QStringLiteral("--format"), QStringLiteral("doc"),
                QStringLiteral("--out"), out});
    EXPECT_EQ(r.exitCode, 2);
    r = runCli({QStringLiteral("GrupaS.rav"), QStringLiteral("--param"), QStringLiteral("firma"),
                QStringLiteral("--out"), out});
    EXPECT_EQ(r.exitCode, 2);
    const QString json = dir.filePath(QStringLiteral("zly.json"));
    QFile f(json);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\"rows\": 5}");
    f.close();
    r = runCli({QStringLiteral("GrupaS.rav"), QStringLiteral("--data"), json, QStringLiteral("--out"), out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("rows")));
}

} // namespace
