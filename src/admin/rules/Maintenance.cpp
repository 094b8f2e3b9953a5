#include "admin/rules/Maintenance.h"

#include <stdexcept>

namespace korven::admin {

const std::vector<DeletionItem>& deletionItems() {
    static const std::vector<DeletionItem> items = {
        {QStringLiteral("Kasowanie Pojazdów"), QStringLiteral("delete from A_AUTO"),
         QStringLiteral("OK ...")},
        {QStringLiteral("Kasowanie Kart Drogowych"), QStringLiteral("delete from A_KARTA"),
         QStringLiteral("OK  ...")},
        {QStringLiteral("Kasowanie Kart Obsług Tech."), QStringLiteral("delete from A_OBSLU"),
         QStringLiteral("OK  ...")},
        {QStringLiteral("Kasowanie Sprzętu"), QStringLiteral("delete from A_SPRZET"),
         QStringLiteral("OK ...")},
        {QStringLiteral("Kasowanie Kart Sprzętowych"), QStringLiteral("delete from A_KARTAS"),
         QStringLiteral("OK ...")},
        {QStringLiteral("Kasowanie Rodzaji Pojazdów"), QStringLiteral("delete from A_RODZP"),
         QStringLiteral("OK ...")},
        {QStringLiteral("Kasowanie Grup Pojazdów"), QStringLiteral("delete from A_GRUPP"),
         QStringLiteral("OK ...")},
        {QStringLiteral("Kasowanie Jednostek"), QStringLiteral("delete from A_KOMEN"),
         QStringLiteral("OK ...")},
        {QStringLiteral("Kasowanie Obsług Tech."), QStringLiteral("delete from A_OBSK"),
         QStringLiteral("OK ...")},
        {QStringLiteral("Kasowanie pliku cienia"), shadowDropStatement(), QStringLiteral("OK ...")},
    };
    return items;
}

QString shadowDropStatement() {
    return QStringLiteral("drop shadow 1");
}

QString shadowStatement(const QString& folder) {
    QString f = folder.trimmed();
    if (f.isEmpty())
        throw std::invalid_argument(
            "Nie podano położenia pliku cienia. Wpisz folder na serwerze, w którym ma powstać plik "
            "korven.shd; plik cienia nie został utworzony.");
    // The folder is the server's: a folder written with backslashes gets one before the file name.
    const QChar separator =
        f.contains(QLatin1Char('\\')) && !f.contains(QLatin1Char('/')) ? QLatin1Char('\\') : QLatin1Char('/');
    if (!f.endsWith(separator)) f += separator;
    QString file = f + QStringLiteral("korven.shd");
    file.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QStringLiteral("create shadow 1 auto '%1'").arg(file);
}

int integerField(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        throw std::invalid_argument(
            QStringLiteral("'%1' nie jest poprawną liczbą całkowitą").arg(text).toStdString());
    return value;
}

QString settingName(int number) {
    static const char* const names[] = {
        "LockMem",  "LockSem",  "LockSig",   "EventMem",    "DbCache",       "Priority",   "IPCMap",
        "MemMin",   "MemMax",   "LockOrder", "AnyLockMem",  "AnyLockSem",    "AnyLockSig", "AnyEventMem",
        "LockHash", "Deadlock", "LockSpin",  "Conn Timout", "Dummy Interval"};
    if (number >= 0 && number < static_cast<int>(std::size(names))) return QString::fromLatin1(names[number]);
    return QStringLiteral("Setting %1").arg(number);
}

namespace {
QString dashes() {
    return QString(50, QLatin1Char('-'));
}
} // namespace

QStringList databaseInfoLines(const ServerProperties& p) {
    QStringList out;
    out << QStringLiteral("Number of attachments: %1").arg(p.attachments)
        << QStringLiteral("Number of databases: %1").arg(p.databases) << dashes()
        << QStringLiteral("Database Files");
    out << p.databaseFiles;
    out << dashes();
    return out;
}

QStringList configurationLines(const ServerProperties& p) {
    QStringList out;
    out << QStringLiteral("Base File Folder: ") + p.baseFolder
        << QStringLiteral("Lock File Folder: ") + p.lockFolder
        << QStringLiteral("Message File Folder: ") + p.messageFolder
        << QStringLiteral("Security Database: ") + p.securityDatabase << dashes();
    for (const auto& [number, value] : p.settings)
        out << settingName(number) + QStringLiteral(": ") + QString::number(value);
    out << dashes();
    return out;
}

QStringList versionLines(const ServerProperties& p) {
    return {QStringLiteral("Server Version: ") + p.serverVersion,
            QStringLiteral("Server Implementation: ") + p.implementation,
            QStringLiteral("Service Version: ") + QString::number(p.serviceVersion)};
}

} // namespace korven::admin
