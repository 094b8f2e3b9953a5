#include "core/ProgramFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korven;

// A fixture tree: <root>/usr/bin with or without raporty/ beside it, <root>/usr/share/korven with
// or without raporty/, and the user's folders under <root>/home.
TEST(ProgramFolders, LayoutDecidedByWhereTheReportsAre) {
    struct Case {
        const char* name;
        bool reportsBesideExe;
        bool reportsInShare;
        bool installed;
    } cases[] = {
        {"build tree", true, false, false},
        {"installed", false, true, true},
        // A folder copied whole beside an installed package still uses its own files.
        {"both: the executable's folder wins", true, true, false},
        // Nothing anywhere: the old place, so the messages name the files where they were sought.
        {"neither", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        const QString bin = root.filePath(QStringLiteral("usr/bin"));
        const QString share = root.filePath(QStringLiteral("usr/share/korven"));
        ASSERT_TRUE(QDir().mkpath(bin));
        if (c.reportsBesideExe) {
            ASSERT_TRUE(QDir().mkpath(bin + QStringLiteral("/raporty")));
        }
        if (c.reportsInShare) {
            ASSERT_TRUE(QDir().mkpath(share + QStringLiteral("/raporty")));
        }
        const QString config = root.filePath(QStringLiteral("home/.config"));
        const QString data = root.filePath(QStringLiteral("home/.local/share"));

        const ProgramFolders f = programFoldersFor(bin, config, data);
        EXPECT_EQ(f.installed, c.installed);
        if (c.installed) {
            EXPECT_EQ(f.resources, share);
            EXPECT_EQ(f.setupIni, config + QStringLiteral("/korven/setup.ini"));
            EXPECT_EQ(f.userFiles, data + QStringLiteral("/korven"));
        } else {
            EXPECT_EQ(f.resources, bin);
            EXPECT_EQ(f.setupIni, bin + QStringLiteral("/setup.ini"));
            EXPECT_EQ(f.userFiles, bin);
        }
    }
}

// A file named raporty is not the folder of report projects.
TEST(ProgramFolders, PlainFileNamedLikeTheFolderIsNotAnInstallation) {
    QTemporaryDir root;
    const QString bin = root.filePath(QStringLiteral("usr/bin"));
    ASSERT_TRUE(QDir().mkpath(bin));
    ASSERT_TRUE(QDir().mkpath(root.filePath(QStringLiteral("usr/share/korven"))));
    QFile file(root.filePath(QStringLiteral("usr/share/korven/raporty")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_FALSE(programFoldersFor(bin, QStringLiteral("/c"), QStringLiteral("/d")).installed);
}
