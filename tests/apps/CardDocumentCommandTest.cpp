#include "db/Database.h"
#include "exports/XlsxReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korven;

namespace {

struct Outcome {
    int code;
    QString err;
};

Outcome run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}

// A demo database with one equipment card added, and the key of the first vehicle's last trip card.
struct DemoCards {
    QTemporaryDir dir;
    int KODA = 0, KODD = 0, ROKD = 0, MIED = 0;
    QString NRREJ;
    bool ok = false;

    DemoCards() {
        if (run(QStringLiteral(KORVEN_CLI), {QStringLiteral("demo"), dir.path()}).code != 0) return;
        db::ConnectParams p;
        p.database = db::databaseName(dir.path());
        p.user = QStringLiteral("SYSDBA");
        auto att = db::Attachment::attach(p);
        db::Transaction t(*att);
        t.start();
        const auto card = t.selectOne(
            QStringLiteral("select first 1 k.KODA, k.KODD, k.ROKD, k.MIED, a.NRREJ from A_KARTA k "
                           "join A_AUTO a on a.KODA = k.KODA order by k.KODA, k.ROKD desc, "
                           "k.MIED desc"));
        if (!card) return;
        KODA = int(card->integer(QStringLiteral("KODA")));
        KODD = int(card->integer(QStringLiteral("KODD")));
        ROKD = int(card->integer(QStringLiteral("ROKD")));
        MIED = int(card->integer(QStringLiteral("MIED")));
        NRREJ = card->text(QStringLiteral("NRREJ")).trimmed();
        t.execute(QStringLiteral(
            "insert into A_KARTAS (KODS, KODK, NRREJ, ROKS, MIES, DATAS, ZUZYCIEPALF, IMIENAZ) "
            "select first 1 KODS, 5, NRREJ, 24, 2, '2024-02-28', 5.5, 'Jan Strażak' from A_SPRZET "
            "order by KODS"));
        t.commit();
        att->detach();
        ok = true;
    }
    QStringList trip() const {
        return {QStringLiteral("--trip"), QString::number(KODA), QString::number(KODD), QString::number(ROKD),
                QString::number(MIED)};
    }
    QStringList equipment(const char* form) const {
        return {QStringLiteral("--equipment"),
                QStringLiteral("1"),
                QStringLiteral("5"),
                QStringLiteral("24"),
                QStringLiteral("2"),
                QStringLiteral("--form"),
                QLatin1String(form)};
    }
    QStringList command(const QStringList& card, const QString& out) const {
        return QStringList{QStringLiteral("card-document"), QStringLiteral("--db"), dir.path()} + card +
               QStringList{QStringLiteral("--out"), out};
    }
};

} // namespace

TEST(CardDocumentCommand, WritesEveryFormOfACard) {
    DemoCards demo;
    ASSERT_TRUE(demo.ok);
    const QString year = QStringLiteral("20%1").arg(demo.ROKD, 2, 10, QLatin1Char('0'));
    struct Case {
        QStringList card;
        const char* cell;
        QString value;
    };
    const QList<Case> cases = {
        {demo.trip(), "AB16", demo.NRREJ},
        {demo.trip() << QStringLiteral("--mileage"), "O2",
         QStringLiteral("%1/%2/%3").arg(demo.KODD).arg(demo.MIED).arg(year)},
        {demo.equipment("1"), "X8", QStringLiteral("2024-02-29")},
        {demo.equipment("3"), "X2", QStringLiteral("5")},
        {demo.equipment("2"), "P34", QStringLiteral("Rozliczono na dzień     2024-02-28")},
    };
    for (const Case& c : cases) {
        const QString out =
            demo.dir.filePath(QStringLiteral("out/%1.xlsx").arg(c.card.join(QLatin1Char('_'))));
        QDir().mkpath(QFileInfo(out).path());
        const Outcome r = run(QStringLiteral(KORVEN_CLI), demo.command(c.card, out));
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        const auto sheet = test::readXlsx(out);
        EXPECT_EQ(sheet.cells.value(QLatin1String(c.cell)).value, c.value) << c.cell;
    }
}

TEST(CardDocumentCommand, FailuresSayWhyAndWriteNothing) {
    DemoCards demo;
    ASSERT_TRUE(demo.ok);
    const QString out = demo.dir.filePath(QStringLiteral("doc.xlsx"));

    QStringList card = demo.trip();
    card[4] = QStringLiteral("luty");
    Outcome r = run(QStringLiteral(KORVEN_CLI), demo.command(card << QStringLiteral("--mileage"), out));
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(
        QStringLiteral("Błąd podczas eksportowania danych do MS Excela ...\nKomunikat: \n„luty”")))
        << r.err.toStdString();

    card = demo.trip();
    card[2] = QStringLiteral("99999");
    r = run(QStringLiteral(KORVEN_CLI), demo.command(card, out));
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("99999"))) << r.err.toStdString();

    r = run(QStringLiteral(KORVEN_CLI), demo.command(demo.equipment("4"), out));
    EXPECT_EQ(r.code, 2);
    r = run(QStringLiteral(KORVEN_CLI),
            demo.command(demo.trip() << QStringLiteral("--form") << QStringLiteral("1"), out));
    EXPECT_EQ(r.code, 2);

    // A program without its templates beside it.
    QTemporaryDir bare;
    const QString program = bare.filePath(QStringLiteral("korven-cli"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KORVEN_CLI), program));
    r = run(program, demo.command(demo.trip(), out));
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Brak szablonu"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("karta.xlsx"))) << r.err.toStdString();

    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_EQ(
        QDir(demo.dir.path())
            .entryList({QStringLiteral("*.xlsx*"), QStringLiteral("*.tmp")}, QDir::Files | QDir::Hidden),
        QStringList());
}
