#include "AdminFixture.h"

#include "core/SetupIni.h"

#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::admin;

namespace {

// The embedded engine: a database of its own in a temporary folder, the test's attachment closed so
// that the administration program is alone with it.
struct EmbeddedAdmin {
    EmbeddedAdmin() {
        tdb.attachment.reset();
        data = std::make_unique<MainD>(AdminConfig{tdb.sciezka, {}, {}, {}},
                                       Credentials{QStringLiteral("SYSDBA"), QStringLiteral("any")});
        data->connect();
    }
    test::TestDatabase tdb;
    std::unique_ptr<MainD> data;
};

bool runNow(const QString& program, const QStringList& args) {
    return QProcess::execute(program, args) == 0;
}

} // namespace

TEST(AdminConfig, NewSetupIniHasTheFourKeysEmptyAndClosingWritesThemBack) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("setup.ini"));
    AdminConfig c = MainD::loadConfig(ini);
    EXPECT_TRUE(QFileInfo::exists(ini));
    EXPECT_TRUE(c.sciezka.isEmpty() && c.serwer.isEmpty() && c.protokol.isEmpty() && c.cien.isEmpty());
    for (const char* key : {"sciezka=", "serwer=", "protokol=", "cien="}) {
        QFile f(ini);
        f.open(QIODevice::ReadOnly);
        EXPECT_TRUE(QString::fromUtf8(f.readAll()).contains(QString::fromLatin1(key))) << key;
    }
    EXPECT_EQ(MainD(c, {}).databasePath(), QStringLiteral("korven.adb"));

    MainD::saveConfig(ini, AdminConfig{QStringLiteral("/srv/korven"), QStringLiteral("SERWER1"),
                                       QStringLiteral("t"), QStringLiteral("/srv/cien")});
    // The main program reads the same folder at its next start, and its own key stays.
    SetupIni main = SetupIni::load(ini);
    EXPECT_EQ(main.sciezka(), QStringLiteral("/srv/korven"));
    AdminConfig again = MainD::loadConfig(ini);
    EXPECT_EQ(again.serwer, QStringLiteral("SERWER1"));
    EXPECT_EQ(again.protokol, QStringLiteral("t"));
    EXPECT_EQ(again.cien, QStringLiteral("/srv/cien"));
    MainD d(again, {});
    EXPECT_EQ(d.databasePath(), QStringLiteral("/srv/korven/korven.adb"));
    EXPECT_EQ(d.backupFile(), QStringLiteral("/srv/korven/korven.abk"));
}

TEST(AdminEmbedded, BackupRestoreAndValidateWithoutServer) {
    EmbeddedAdmin a;
    schema::fillDemoData(a.data->attachment());
    const QStringList before = test::dumpRows(a.data->attachment());
    a.data->backup({});
    // The backup is written under another name and renamed when complete.
    EXPECT_TRUE(QFileInfo::exists(QDir(a.tdb.sciezka).filePath(QStringLiteral("korven.abk"))));
    EXPECT_FALSE(QFileInfo::exists(QDir(a.tdb.sciezka).filePath(QStringLiteral("korven.abk.zapis"))));
    a.data->attachment().executeImmediate(QStringLiteral("delete from A_KARTA"));
    a.data->restore({});
    EXPECT_EQ(test::dumpRows(a.data->attachment()), before);
    EXPECT_TRUE(a.data->validate({}).isEmpty());
    EXPECT_EQ(a.data->readState().backupRunning, false);
}

TEST(AdminEmbedded, ArchiveOfTheBackupAndItsUnpacking) {
    EmbeddedAdmin a;
    a.data->backup({});
    const QString backup = QDir(a.tdb.sciezka).filePath(QStringLiteral("korven.abk"));
    const QByteArray content = [&] {
        QFile f(backup);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();

    QStringList started;
    auto record = [&](const QString& p, const QStringList& args) {
        started << p + QLatin1Char(' ') + args.join(QLatin1Char(' '));
        return runNow(p, args);
    };
    const QString archive = a.data->makeArchive(QDateTime(QDate(2009, 3, 31), QTime(14, 5)), record);
    EXPECT_EQ(archive, QDir(a.tdb.sciezka).filePath(QStringLiteral("09033114.arj")));
    EXPECT_EQ(started.value(0), QStringLiteral("arj a -y -e %1/09033114 %1/korven.abk").arg(a.tdb.sciezka));
    ASSERT_TRUE(QFileInfo::exists(archive));

    ASSERT_TRUE(QFile::remove(backup));
    a.data->unpackArchive(QStringLiteral("  ") + archive + QStringLiteral(" "), record);
    EXPECT_EQ(started.value(1), QStringLiteral("arj e -y %1 %2/").arg(archive, a.tdb.sciezka));
    QFile f(backup);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), content);

    // An archiver that cannot be started is reported, not passed over.
    EXPECT_THROW(a.data->makeArchive(QDateTime::currentDateTime(),
                                     [](const QString&, const QStringList&) { return false; }),
                 std::runtime_error);
}
