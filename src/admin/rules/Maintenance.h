#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace korven::admin {

// One check box of the data deletion: its caption, its statement and the text of its result label.
struct DeletionItem {
    QString caption;
    QString statement;
    QString resultText;
};
// The check boxes in the order their statements run.
const std::vector<DeletionItem>& deletionItems();
// The two result labels emptied at the start of a deletion (the others keep an earlier run's text).
constexpr int kDeletionLabelsCleared = 2;

// The statement creating the shadow "korven.shd" in `folder` (trimmed). The folder is written as a
// quoted string with its quotes doubled, so nothing in it can end the statement. Throws
// std::invalid_argument with the message to show when the folder is empty, which would put the file
// at the root of the server's disk.
QString shadowStatement(const QString& folder);
QString shadowDropStatement();

// The options set through the configuration service.
enum class DatabaseOption {
    Shutdown,
    Start,
    BufferedWrites,
    ForcedWrites,
    ReadOnly,
    ReadWrite,
    ReserveSpace,
    UseFullPages,
    Dialect1,
    Dialect3,
    PageBuffers,
    SweepInterval
};

// A number field read as an integer; throws std::invalid_argument with the conversion error when it
// holds none.
int integerField(const QString& text);

// What the server reports about itself and its databases.
struct ServerProperties {
    int attachments = 0;
    int databases = 0;
    QStringList databaseFiles;
    QString baseFolder, lockFolder, messageFolder, securityDatabase;
    std::vector<std::pair<int, qint64>> settings; // by number in the server's list
    QString serverVersion, implementation;
    int serviceVersion = 0;
};

// The name of a numeric setting by its number; "Setting N" for a number beyond the known list.
QString settingName(int number);

// The lines of "Pokaż Właściwości": database information, configuration parameters and versions.
QStringList databaseInfoLines(const ServerProperties& p);
QStringList configurationLines(const ServerProperties& p);
QStringList versionLines(const ServerProperties& p);

} // namespace korven::admin
