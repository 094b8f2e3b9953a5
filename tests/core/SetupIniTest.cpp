#include "core/SetupIni.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korven;

namespace {
QString readAll(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}
void writeAll(const QString& path, const QByteArray& data) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(data);
}
} // namespace

TEST(SetupIni, CreatedWithDefaultsWhenMissing) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("setup.ini"));
    SetupIni ini = SetupIni::load(path);
    EXPECT_EQ(ini.sciezka(), SetupIni::defaultFolder());
    EXPECT_EQ(ini.user(), QStringLiteral("SYSDBA"));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(readAll(path).startsWith(QStringLiteral("[Ogolne]\n")));
}

TEST(SetupIni, ReadsKeepsAndRewrites) {
    struct Case {
        const char* name;
        QByteArray content;
        const char* sciezka;
        const char* user;
    } cases[] = {
        {"plain", "[Ogolne]\nsciezka=/srv/korven\nuser=ANOWAK\n", "/srv/korven", "ANOWAK"},
        {"windows line ends and final backslash", "[Ogolne]\r\nsciezka=C:\\KORVEN\\\r\nuser=JAN\r\n",
         "C:\\KORVEN", "JAN"},
        {"other sections and keys", "[Inne]\nsciezka=/nie\n[ogolne]\nserwer=s1\n sciezka = srv:/d \n",
         "srv:/d", "SYSDBA"},
        {"garbage lines are ignored", "śmieci bez znaku\n[Ogolne]\n=x\nuser=EWA\n", nullptr, "EWA"},
        {"empty values fall back", "[Ogolne]\nsciezka=\nuser=\n", nullptr, "SYSDBA"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("setup.ini"));
        writeAll(path, c.content);
        SetupIni ini = SetupIni::load(path);
        EXPECT_EQ(ini.sciezka(), c.sciezka ? QString::fromUtf8(c.sciezka) : SetupIni::defaultFolder())
            << c.name;
        EXPECT_EQ(ini.user(), QString::fromUtf8(c.user)) << c.name;
    }

    // Writing the user back keeps the keys of the administration program.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("setup.ini"));
    writeAll(path, "[Ogolne]\nsciezka=/srv\nserwer=s1\ncien=/shadow\n");
    SetupIni ini = SetupIni::load(path);
    ini.setValue(QStringLiteral("user"), QStringLiteral("KOWALSKI"));
    ini.save();
    EXPECT_EQ(readAll(path),
              QStringLiteral("[Ogolne]\nsciezka=/srv\nserwer=s1\ncien=/shadow\nuser=KOWALSKI\n"));
}

TEST(SetupIni, UnreadableFileIsAClearError) {
    QTemporaryDir dir;
    // A folder where the file should be cannot be read as a file.
    const QString path = dir.filePath(QStringLiteral("setup.ini"));
    QDir().mkpath(path);
    try {
        SetupIni::load(path);
        FAIL() << "expected an error";
    } catch (const std::runtime_error& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("setup.ini")));
    }
}
