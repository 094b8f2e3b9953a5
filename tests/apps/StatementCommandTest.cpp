// korven-cli statement over a small database, as a script would run it.

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

using korven::test::TestDatabase;

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray err;
};

class StatementCommand : public ::testing::Test {
protected:
    StatementCommand() {
        sql("update FJ_BAZA set NAZWASKR = 'KM PSP Testowo', SPO = 'Jan Nowak', GLK = 'Anna Kowal' where LP "
            "= 1");
        sql("insert into A_KOMEN (KOD, NAZWA) values (1, 'JRG 1')");
        sql("insert into A_AUTO (KODA, NRREJ, NAZWA, TYP, RODZPAL, KOD_RP, KOD_GP, KOD_KO, NORMPAL) "
            "values (1, 'KN 1', 'Jelcz', 'P', 'ON', 1, 1, 1, 32.5)");
        sql("insert into A_AUTO (KODA, NRREJ, NAZWA, TYP, RODZPAL, KOD_RP, KOD_GP, KOD_KO) "
            "values (2, 'KN 2', 'Star', 'O', 'ET', 2, 1, 2)");
        sql("insert into A_KARTA (KODA, KODD, NRREJ, ROKD, MIED, DATAD, ZUZYCIEP, PRZEBIEGM, WYJAZDMZ) "
            "values (1, 12, 'KN 1', 9, 3, '2009-03-31', 120.5, 400, 2)");
        sql("insert into A_KARTA (KODA, KODD, NRREJ, ROKD, MIED, ZUZYCIEP, WYJAZDMZ) "
            "values (2, 11, 'KN 2', 9, 3, 40.25, 1)");
        sql("insert into A_KARTA (KODA, KODD, NRREJ, ROKD, MIED, ZUZYCIEP) values (1, 4, 'KN 1', 9, 2, 80)");
        tdb.attachment->detach(); // the embedded engine lets one process open the file at a time
    }

    void sql(const char* text) {
        korven::db::Transaction t(*tdb.attachment);
        korven::db::inTransaction(t,
                                  [&](korven::db::Transaction& tr) { tr.execute(QString::fromUtf8(text)); });
    }

    CliRun run(QStringList args) {
        args.prepend(QStringLiteral("statement"));
        QProcess p;
        p.start(QStringLiteral(KORVEN_CLI), args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return {p.exitCode(), p.readAllStandardError()};
    }

    QString out(const QString& name) const { return tdb.dir.filePath(name); }

    QJsonObject json(const QStringList& args) {
        const QString path = out(QStringLiteral("s.json"));
        QFile::remove(path);
        QStringList all = args;
        all << QStringLiteral("--db") << tdb.sciezka << QStringLiteral("--format") << QStringLiteral("json")
            << QStringLiteral("--out") << path;
        const CliRun r = run(all);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return QJsonDocument::fromJson(f.readAll()).object();
    }

    TestDatabase tdb{9, 3};
};

TEST_F(StatementCommand, JsonCarriesTheWindowsTableAndPrint) {
    const QJsonObject o = json({"trip-cards", "--month", "3", "--operator", "Jan Kowalski"});
    EXPECT_TRUE(o.value("caption").toString().startsWith(QStringLiteral("Zestawienie Kart Drogowych    ")));
    EXPECT_TRUE(o.value("caption").toString().endsWith(QStringLiteral("Marzec 2009")));
    EXPECT_EQ(o.value("report").toString(), QStringLiteral("RapKartD.rav"));
    const QJsonObject params = o.value("params").toObject();
    EXPECT_EQ(params.value("firma").toString(), QStringLiteral("KM PSP Testowo"));
    EXPECT_EQ(params.value("osoba").toString(), QStringLiteral("Jan Kowalski"));
    EXPECT_EQ(params.value("kiedy").toString(), QStringLiteral("Marzec 2009"));
    EXPECT_EQ(o.value("columns").toArray().first().toArray(), (QJsonArray{"kodd", "Nr Karty"}));

    const QJsonArray rows = o.value("rows").toArray();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].toObject().value("kodd").toInt(), 11);
    EXPECT_EQ(rows[1].toObject().value("dataD").toString(), QStringLiteral("2009-03-31"));
    const QJsonObject totals = rows[2].toObject();
    EXPECT_EQ(totals.value("kodd").toInt(), 99999);
    EXPECT_DOUBLE_EQ(totals.value("zuzycieP").toDouble(), 160.75);
    EXPECT_EQ(totals.value("wyjazdMZ").toInt(), 3);
    EXPECT_TRUE(totals.value("lp").isNull());
    EXPECT_TRUE(totals.value("masaPR").isNull());
    const QJsonObject shown = o.value("display").toArray()[2].toObject();
    EXPECT_EQ(shown.value("kodd").toString(), QStringLiteral(" "));
    EXPECT_EQ(shown.value("nazwa").toString(), QStringLiteral("R A Z E M"));

    // Without --month the statement takes any month.
    EXPECT_EQ(json({"trip-cards"}).value("rows").toArray().size(), 4);
    EXPECT_EQ(json({"trip-cards", "--month", "3", "--register"}).value("report").toString(),
              QStringLiteral("RapKartDR.rav"));
}

TEST_F(StatementCommand, ChoicesReachTheBuild) {
    QJsonObject o = json({"vehicles", "--unit", "1", "--section", "2"});
    EXPECT_EQ(o.value("rows").toArray().size(), 1);
    EXPECT_EQ(o.value("report").toString(), QStringLiteral("RapPoj2.rav"));
    EXPECT_EQ(o.value("params").toObject().value("jednost").toString(), QStringLiteral("JRG 1"));

    o = json({"by-kind", "--formal", "--from-month", "2", "--to-month", "2"});
    EXPECT_EQ(o.value("report").toString(), QStringLiteral("RapZuzySF.rav"));
    EXPECT_EQ(o.value("params").toObject().value("okres").toString(), QStringLiteral("od Luty do Luty 2009"));
    EXPECT_EQ(o.value("params").toObject().value("jednost").toString(), QStringLiteral("KM PSP Testowo"));
    const QJsonArray rows = o.value("rows").toArray();
    EXPECT_DOUBLE_EQ(rows.last().toObject().value("on").toDouble(), 80);

    o = json({"average-vehicles", "--from-year", "2009"});
    EXPECT_EQ(o.value("params").toObject().value("par6").toString(), QStringLiteral("2014"));
    EXPECT_EQ(o.value("columns").toArray()[3].toArray(), (QJsonArray{"m1", "2009"}));
}

TEST_F(StatementCommand, RefusalsExitNonZeroAndWriteNothing) {
    const QString path = out(QStringLiteral("refused.json"));
    const QString db = tdb.sciezka;
    struct Case {
        QStringList args;
        int exitCode;
        const char* message;
    } cases[] = {
        {{"nonsense", "--db", db, "--out", path}, 2, "unknown statement"},
        {{"vehicles", "--db", db, "--out", path, "--month", "3"}, 2, "does not apply"},
        {{"trip-cards", "--db", db, "--out", path, "--month", "13"}, 2, "--month"},
        {{"vehicles", "--db", db, "--out", path, "--section", "4"}, 2, "--section"},
        {{"services", "--db", db, "--out", path, "--from", "2009-02-30"}, 2, "--from"},
        {{"vehicles", "--db", db, "--out", out("x.doc")}, 2, "--format"},
        {{"vehicles", "--db", db, "--out", path, "--unit", "7"}, 1, "--unit 7"},
        {{"vehicles", "--db", out("missing"), "--out", path}, 1, "no database"},
        {{"vehicles", "--db", db, "--out", out("no/such/folder/x.json")}, 1, "x.json"},
    };
    for (const Case& k : cases) {
        const CliRun r = run(k.args);
        EXPECT_EQ(r.exitCode, k.exitCode) << k.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(k.message)) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(path));
    }
    EXPECT_EQ(QDir(tdb.dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".refused")),
              QStringList());
}

TEST_F(StatementCommand, WritesTheWorkbook) {
    const QString path = out(QStringLiteral("k.xlsx"));
    const CliRun r = run({"voucher", "--db", tdb.sciezka, "--out", path});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(2) == "PK");
}

} // namespace
