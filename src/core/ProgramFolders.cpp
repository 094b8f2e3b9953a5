#include "core/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace korven {

namespace {
bool hasReports(const QString& folder) {
    return QFileInfo(QDir(folder).filePath(QStringLiteral("raporty"))).isDir();
}
} // namespace

ProgramFolders programFoldersFor(const QString& exeDir, const QString& configHome, const QString& dataHome) {
    ProgramFolders f;
    const QString shared = QDir::cleanPath(exeDir + QStringLiteral("/../share/korven"));
    // Files beside the executable win, so a build tree or a copied folder keeps working unchanged
    // even on a machine where the package is installed too.
    if (!hasReports(exeDir) && hasReports(shared)) {
        f.installed = true;
        f.resources = shared;
        f.setupIni = QDir::cleanPath(configHome + QStringLiteral("/korven/setup.ini"));
        f.userFiles = QDir::cleanPath(dataHome + QStringLiteral("/korven"));
        return f;
    }
    f.resources = exeDir;
    f.setupIni = QDir(exeDir).filePath(QStringLiteral("setup.ini"));
    f.userFiles = exeDir;
    return f;
}

const ProgramFolders& programFolders() {
    static const ProgramFolders folders = [] {
        QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        if (config.isEmpty()) config = QDir::homePath() + QStringLiteral("/.config");
        if (data.isEmpty()) data = QDir::homePath() + QStringLiteral("/.local/share");
        return programFoldersFor(QCoreApplication::applicationDirPath(), config, data);
    }();
    return folders;
}

} // namespace korven
