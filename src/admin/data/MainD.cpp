#include "admin/data/MainD.h"

#include "core/SetupIni.h"
#include "schema/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace korven::admin {

namespace {

const QString kBackupFile = QStringLiteral("korven.abk");
// The restore is made under this name beside the database and renamed only once it is proven.
const QString kRestoreFile = QStringLiteral("korven_odtw.adb");

QString describe(const std::exception& e) {
    return QString::fromUtf8(e.what());
}

// Puts `from` in the place of `to` in one step: `to` is either the old file or the new one.
void renameOver(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw std::runtime_error(QStringLiteral("Nie można zamienić pliku %1 na %2: %3")
                                     .arg(from, to, QString::fromLocal8Bit(std::strerror(errno)))
                                     .toStdString());
}

} // namespace

AdminConfig MainD::loadConfig(const QString& setupIniPath) {
    const bool existed = QFileInfo::exists(setupIniPath);
    SetupIni ini = SetupIni::load(setupIniPath);
    if (!existed) {
        // A new file names no folder, server, protocol or shadow folder yet.
        for (const char* key : {"sciezka", "serwer", "protokol", "cien"})
            ini.setValue(QString::fromLatin1(key), QString());
        ini.save();
    }
    return AdminConfig{ini.value(QStringLiteral("sciezka")), ini.value(QStringLiteral("serwer")),
                       ini.value(QStringLiteral("protokol")), ini.value(QStringLiteral("cien"))};
}

void MainD::saveConfig(const QString& setupIniPath, const AdminConfig& config) {
    SetupIni ini = SetupIni::load(setupIniPath);
    ini.setValue(QStringLiteral("sciezka"), config.sciezka);
    ini.setValue(QStringLiteral("serwer"), config.serwer);
    ini.setValue(QStringLiteral("protokol"), config.protokol);
    ini.setValue(QStringLiteral("cien"), config.cien);
    ini.save();
}

MainD::MainD(AdminConfig config, Credentials credentials)
    : config_(std::move(config)), credentials_(std::move(credentials)) {}

MainD::~MainD() {
    disconnect();
}

QString MainD::databasePath() const {
    return db::databaseName(config_.sciezka);
}

QString MainD::serverPath(const QString& fileName) const {
    return db::databaseName(db::parseLocation(config_.sciezka).folder, fileName);
}

QString MainD::backupFile() const {
    return serverPath(kBackupFile);
}

QString MainD::localFolder() const {
    const db::Location loc = db::parseLocation(config_.sciezka);
    const QString host = loc.server.section(QLatin1Char('/'), 0, 0).toLower();
    const bool here =
        loc.server.isEmpty() || host == QLatin1String("localhost") || host == QLatin1String("127.0.0.1");
    if (!here) return QString();
    const QString folder = loc.folder.isEmpty() ? QStringLiteral(".") : loc.folder;
    return QFileInfo(folder).isDir() ? QDir(folder).absolutePath() : QString();
}

db::ServiceParams MainD::serviceParams() const {
    // The services go where the connection goes: the server named in the folder, or the embedded
    // engine. The protocol letter is kept for the configuration tab.
    return db::serviceParamsFor(config_.sciezka, credentials_.user, credentials_.password);
}

std::unique_ptr<db::ServiceManager> MainD::services() const {
    auto svc = std::make_unique<db::ServiceManager>(serviceParams());
    svc->setIdleHandler(idle_);
    return svc;
}

void MainD::connect() {
    disconnect();
    db::ConnectParams p;
    p.database = databasePath();
    p.user = credentials_.user;
    p.password = credentials_.password;
    attachment_ = db::Attachment::attach(p);
    transaction_ = std::make_unique<db::Transaction>(*attachment_);
    db::inTransaction(*transaction_, [](db::Transaction& t) {
        t.scalar(QStringLiteral("select ILE from FJ_BAZA where LP=1"));
    });
}

void MainD::disconnect() {
    transaction_.reset();
    if (attachment_) {
        try {
            attachment_->detach();
        } catch (const db::DbError&) {
            // A broken connection is gone either way.
        }
        attachment_.reset();
    }
}

db::Attachment& MainD::attachment() {
    if (!isConnected()) connect();
    return *attachment_;
}

db::Transaction& MainD::transaction() {
    attachment();
    return *transaction_;
}

AdminState MainD::readState() {
    return db::inTransaction(transaction(), [](db::Transaction& t) {
        AdminState s;
        auto row = t.selectOne(QStringLiteral("select * from FJ_BAZA where LP =1"));
        if (!row) return s;
        s.backupRunning = row->text(QStringLiteral("BILA")).left(1) == QLatin1String("T");
        s.connections = static_cast<int>(row->integer(QStringLiteral("ILE")));
        s.year = static_cast<int>(row->integer(QStringLiteral("ROK")));
        return s;
    });
}

int MainD::attachmentCount() {
    // The attachments of this database only: other databases on the same server are no concern.
    return static_cast<int>(db::inTransaction(transaction(), [](db::Transaction& t) {
        return t.scalar(QStringLiteral("select count(*) from MON$ATTACHMENTS where MON$SYSTEM_FLAG = 0"))
            .toInt();
    }));
}

void MainD::checkExclusive(ExclusiveOperation operation) {
    if (auto refusal = exclusivityRefusal(operation, attachmentCount())) throw Refusal(*refusal);
}

void MainD::setBackupFlag(bool running) {
    db::inTransaction(transaction(), [running](db::Transaction& t) {
        t.execute(running ? QStringLiteral("update FJ_BAZA set Bila = 'T' where LP =1")
                          : QStringLiteral("update FJ_BAZA set Bila = 'N' where LP =1"));
    });
}

void MainD::clearBackupFlagQuietly() {
    // The database is unchanged after a failed backup or restore, so the main program may be let in
    // again; the original error is the one reported.
    try {
        setBackupFlag(false);
    } catch (const std::exception&) {
    }
}

void MainD::backup(const db::LineHandler& onLine, const QString& target) {
    checkExclusive(ExclusiveOperation::Backup);
    setBackupFlag(true);
    const QString finished = target.isEmpty() ? backupFile() : target;
    // Where this machine reaches the files, the backup is written under another name and renamed when
    // complete, so that an interrupted run never leaves half a backup in place of the last good one.
    const bool reachable = !localFolder().isEmpty();
    const QString writing = reachable ? finished + QStringLiteral(".zapis") : finished;
    try {
        auto svc = services();
        svc->backup(
            serverPath(), writing, onLine ? onLine : [](const QString&) {});
        if (reachable) renameOver(writing, finished);
    } catch (...) {
        if (reachable) QFile::remove(writing);
        clearBackupFlagQuietly();
        throw;
    }
    setBackupFlag(false);
}

void MainD::dropQuietly(const QString& database, const QString& localFile) {
    try {
        db::ConnectParams p;
        p.database = database;
        p.user = credentials_.user;
        p.password = credentials_.password;
        db::Attachment::attach(p)->dropDatabase();
    } catch (const std::exception&) {
        if (!localFile.isEmpty()) QFile::remove(localFile);
    }
}

QStringList MainD::checkRestored(const QString& database, const QString& onServer,
                                 const RestoreCounts& counts) {
    QStringList failures;
    {
        db::ConnectParams p;
        p.database = database;
        p.user = credentials_.user;
        p.password = credentials_.password;
        auto att = db::Attachment::attach(p);
        db::Transaction t(*att, db::TransactionOptions{true});
        db::inTransaction(t, [&](db::Transaction& tr) {
            if (tr.scalar(QStringLiteral("select MON$SHUTDOWN_MODE from MON$DATABASE")).toInt() != 0)
                failures << QStringLiteral("baza po odtworzeniu nie jest dostępna (wyłączona)");
            for (const db::Row& r : tr.select(QStringLiteral(
                     "select trim(RDB$INDEX_NAME) as NAME from RDB$INDICES where RDB$INDEX_INACTIVE = 1")))
                failures << QStringLiteral("indeks %1 jest nieaktywny").arg(r.text(QStringLiteral("NAME")));
            const db::Rows tables = tr.select(
                QStringLiteral("select trim(RDB$RELATION_NAME) as NAME from RDB$RELATIONS where "
                               "coalesce(RDB$SYSTEM_FLAG, 0) = 0 and RDB$VIEW_BLR is null order by 1"));
            for (const db::Row& r : tables) {
                const QString name = r.text(QStringLiteral("NAME"));
                QString quoted = name;
                quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
                const qint64 have =
                    tr.scalar(QStringLiteral("select count(*) from \"%1\"").arg(quoted)).toInt();
                const qint64 expected = counts.counts().value(name.toUpper(), 0);
                if (have != expected)
                    failures << QStringLiteral("tabela %1: %2 wierszy, w kopii %3")
                                    .arg(name)
                                    .arg(have)
                                    .arg(expected);
            }
            for (auto it = counts.counts().begin(); it != counts.counts().end(); ++it) {
                bool present = false;
                for (const db::Row& r : tables)
                    present = present || r.text(QStringLiteral("NAME")).toUpper() == it.key();
                if (!present) failures << QStringLiteral("brak tabeli %1 z kopii").arg(it.key());
            }
        });
    }
    QStringList output;
    auto svc = services();
    svc->validate(onServer, [&](const QString& line) { output << line; });
    for (const QString& f : validationFindings(output))
        failures << QStringLiteral("sprawdzenie: %1").arg(f);
    return failures;
}

void MainD::restore(const db::LineHandler& onLine, const QString& source) {
    checkExclusive(ExclusiveOperation::Restore);
    setBackupFlag(true);
    const QString from = source.isEmpty() ? backupFile() : source;
    const QString staged = db::databaseName(config_.sciezka, kRestoreFile);
    const QString stagedOnServer = serverPath(kRestoreFile);
    const QString folder = localFolder();
    const QString stagedFile = folder.isEmpty() ? QString() : QDir(folder).filePath(kRestoreFile);
    const QString databaseFile =
        folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("korven.adb"));
    const QString kept = QStringLiteral("Dotychczasowa baza danych pozostaje bez zmian.");
    auto fail = [&](const QString& why) {
        dropQuietly(staged, stagedFile);
        clearBackupFlagQuietly();
        throw std::runtime_error(
            (QStringLiteral("Odtwarzanie Bazy nie powiodło się: ") + why + QStringLiteral("\n\n") + kept)
                .toStdString());
    };

    RestoreCounts counts;
    try {
        auto svc = services();
        svc->restore(from, stagedOnServer, true, [&](const QString& line) {
            counts.addLine(line);
            if (onLine) onLine(line);
        });
    } catch (const std::exception& e) {
        fail(describe(e));
    }

    QStringList failures;
    try {
        failures = checkRestored(staged, stagedOnServer, counts);
    } catch (const std::exception& e) {
        failures << describe(e);
    }
    if (!failures.isEmpty())
        fail(QStringLiteral("odtworzona baza nie przeszła sprawdzenia:\n") + failures.join('\n'));

    // The proven copy takes the old database's place. On this machine that is one rename, so the
    // folder holds either the old database or the new one, never half of either.
    disconnect();
    try {
        if (!stagedFile.isEmpty()) {
            renameOver(stagedFile, databaseFile);
        } else {
            // A server elsewhere: its files cannot be renamed from here. The backup has just been
            // proven restorable, so it is restored once more over the database itself.
            auto svc = services();
            svc->restore(from, serverPath(), true, {});
            dropQuietly(staged, QString());
        }
    } catch (const std::exception& e) {
        fail(describe(e));
    }
    // The restored record still carries the flag the backup was made under.
    connect();
    setBackupFlag(false);
}

QStringList MainD::validate(const db::LineHandler& onLine) {
    checkExclusive(ExclusiveOperation::Validation);
    // A full validation needs the database to itself, this program's connection included; the next
    // statement that needs the connection opens it again.
    disconnect();
    QStringList output;
    auto collect = [&](const QString& line) {
        output << line;
        if (onLine) onLine(line);
    };
    auto svc = services();
    svc->validateFull(serverPath(), collect);
    // The full validation writes its findings to the server's log; the online one reports them here.
    svc->validate(serverPath(), collect);
    return validationFindings(output);
}

QString MainD::makeArchive(const QDateTime& moment, const ProcessStarter& start) {
    const QString folder = localFolder();
    if (folder.isEmpty())
        throw std::runtime_error(QStringLiteral("Folder bazy danych %1 nie jest dostępny na tym komputerze; "
                                                "archiwum kopii nie zostało utworzone.")
                                     .arg(db::parseLocation(config_.sciezka).folder)
                                     .toStdString());
    const QString base = QDir(folder).filePath(archiveBaseName(moment));
    // -e keeps only the file's name in the archive, so that it unpacks into any folder.
    const QStringList args = {QStringLiteral("a"), QStringLiteral("-y"), QStringLiteral("-e"), base,
                              QDir(folder).filePath(kBackupFile)};
    if (!start(QStringLiteral("arj"), args))
        throw std::runtime_error(
            "Nie można uruchomić programu arj (pakiet arj); archiwum kopii nie zostało utworzone.");
    return base + QStringLiteral(".arj");
}

void MainD::unpackArchive(const QString& archive, const ProcessStarter& start) {
    QString folder = localFolder();
    if (folder.isEmpty()) folder = db::parseLocation(config_.sciezka).folder;
    const QStringList args = {QStringLiteral("e"), QStringLiteral("-y"), archive.trimmed(),
                              QDir(folder).absolutePath() + QLatin1Char('/')};
    if (!start(QStringLiteral("arj"), args))
        throw std::runtime_error("Nie można uruchomić programu arj (pakiet arj).");
}

void MainD::saveUser(const UserFields& fields, const PrivilegeChoice& privileges, bool add) {
    UserEntry e;
    try {
        e = userEntryFrom(fields);
    } catch (const std::invalid_argument& err) {
        throw Refusal(QString::fromUtf8(err.what()));
    }
    const QStringList statements = privilegeStatements(e.userName, privileges);
    // A database of an older schema gets the store of access levels before the first level is written.
    schema::addAccessLevelTable(attachment());
    {
        db::UserInfo u;
        u.userName = e.userName;
        u.password = e.password;
        u.firstName = e.firstName;
        u.middleName = e.middleName;
        u.lastName = e.lastName;
        u.userId = e.userId;
        u.groupId = e.accessLevel;
        auto svc = services();
        if (add)
            svc->addUser(u);
        else
            svc->modifyUser(u);
    }
    // The group number can be changed by the user himself; the level the main program trusts is kept
    // where only the administrator writes.
    db::inTransaction(transaction(), [&](db::Transaction& t) {
        t.execute(QStringLiteral("update or insert into FJ_DOSTEP (NAZWA, POZIOM) values (:NAZWA, :POZIOM) "
                                 "matching (NAZWA)"),
                  {{"NAZWA", e.userName.toUpper()}, {"POZIOM", e.accessLevel}});
    });
    for (const QString& sql : statements)
        attachment().executeImmediate(sql);
}

std::optional<UserFields> MainD::findUser(const QString& userName) {
    std::optional<db::UserInfo> u;
    {
        auto svc = services();
        u = svc->displayUser(userName.trimmed());
    }
    if (!u) return std::nullopt;
    UserFields f;
    f.userName = u->userName;
    f.firstName = u->firstName;
    f.middleName = u->middleName;
    f.lastName = u->lastName;
    f.userId = QString::number(u->userId);
    int level = u->groupId;
    db::inTransaction(transaction(), [&](db::Transaction& t) {
        db::Value v = t.scalar(QStringLiteral("select POZIOM from FJ_DOSTEP where NAZWA = :NAZWA"),
                               {{"NAZWA", u->userName.toUpper()}});
        if (!v.isNull()) level = static_cast<int>(v.toInt());
    });
    f.accessLevel = QString::number(level);
    return f;
}

void MainD::deleteUser(const QString& userName) {
    const QString name = userName.trimmed();
    {
        auto svc = services();
        svc->deleteUser(name);
    }
    db::inTransaction(transaction(), [&](db::Transaction& t) {
        t.execute(QStringLiteral("delete from FJ_DOSTEP where NAZWA = :NAZWA"), {{"NAZWA", name.toUpper()}});
    });
}

int MainD::resetConnections() {
    return static_cast<int>(db::inTransaction(transaction(), [](db::Transaction& t) {
        t.scalar(QStringLiteral("select ILE from FJ_BAZA where LP=1 with lock"));
        t.execute(QStringLiteral("update FJ_BAZA set ILE = 0 where LP =1"));
        const qint64 ile = t.scalar(QStringLiteral("select ILE from FJ_BAZA where LP=1")).toInt();
        t.execute(QStringLiteral("update FJ_BAZA set ftech = 'N' where LP =1"));
        t.execute(QStringLiteral("delete from FJ_FLOP"));
        t.execute(QStringLiteral("SET GENERATOR NUM_OPER TO 0"));
        t.execute(QStringLiteral("update FJ_BAZA set Bila = 'N' where LP =1"));
        return ile;
    }));
}

QStringList MainD::attachedUsers() {
    return db::inTransaction(transaction(), [](db::Transaction& t) {
        QStringList names;
        for (const db::Row& r :
             t.select(QStringLiteral("select trim(MON$USER) as U from MON$ATTACHMENTS where "
                                     "MON$SYSTEM_FLAG = 0 order by MON$ATTACHMENT_ID")))
            names << r.text(QStringLiteral("U"));
        return names;
    });
}

void MainD::deleteData(const std::vector<int>& items, const std::function<void(int)>& done) {
    const auto& all = deletionItems();
    for (int i : items) {
        const DeletionItem& item = all.at(static_cast<std::size_t>(i));
        db::inTransaction(transaction(), [&](db::Transaction& t) { t.execute(item.statement); });
        if (done) done(i);
    }
}

void MainD::createShadow(const QString& folder) {
    QString sql;
    try {
        sql = shadowStatement(folder);
    } catch (const std::invalid_argument& e) {
        throw Refusal(QString::fromUtf8(e.what()));
    }
    attachment().executeImmediate(sql);
}

void MainD::setOption(DatabaseOption option, int value) {
    const QString database = serverPath();
    // A forced shut-down ends every attachment, this program's own too; it is closed first so that
    // the next statement opens it again instead of failing on a broken connection.
    if (option == DatabaseOption::Shutdown) disconnect();
    auto svc = services();
    switch (option) {
    case DatabaseOption::Shutdown:
        svc->shutdown(database, db::ShutdownMode::Full, 0);
        break;
    case DatabaseOption::Start:
        svc->bringOnline(database);
        break;
    case DatabaseOption::BufferedWrites:
        svc->setForcedWrites(database, false);
        break;
    case DatabaseOption::ForcedWrites:
        svc->setForcedWrites(database, true);
        break;
    case DatabaseOption::ReadOnly:
        svc->setReadOnly(database, true);
        break;
    case DatabaseOption::ReadWrite:
        svc->setReadOnly(database, false);
        break;
    case DatabaseOption::ReserveSpace:
        svc->setReserveSpace(database, true);
        break;
    case DatabaseOption::UseFullPages:
        svc->setReserveSpace(database, false);
        break;
    case DatabaseOption::Dialect1:
        svc->setDialect(database, 1);
        break;
    case DatabaseOption::Dialect3:
        svc->setDialect(database, 3);
        break;
    case DatabaseOption::PageBuffers:
        svc->setPageBuffers(database, value);
        break;
    case DatabaseOption::SweepInterval:
        svc->setSweepInterval(database, value);
        break;
    }
}

void MainD::statistics(const db::LineHandler& onLine) {
    auto svc = services();
    svc->statistics(serverPath(), onLine);
}

void MainD::serverLog(const db::LineHandler& onLine) {
    auto svc = services();
    svc->serverLog(onLine);
}

void MainD::properties(const db::LineHandler& onLine) {
    auto svc = services();
    attachment();
    db::ServerInfo info;
    try {
        info = svc->serverInfo();
    } catch (...) {
        disconnect();
        throw;
    }
    disconnect();
    ServerProperties p;
    p.attachments = info.attachments;
    p.databases = info.databases;
    p.databaseFiles = info.databaseNames;
    p.baseFolder = info.baseFolder;
    p.lockFolder = info.lockFolder;
    p.messageFolder = info.messageFolder;
    p.securityDatabase = info.securityDatabase;
    p.settings = info.settings;
    p.serverVersion = info.serverVersion;
    p.implementation = info.implementation;
    p.serviceVersion = info.serviceVersion;
    for (const QStringList& part : {databaseInfoLines(p), configurationLines(p), versionLines(p)})
        for (const QString& line : part)
            onLine(line);
}

QString MainD::upgradeStep(const QString& version) {
    const schema::UpgradeStep& step = schema::upgradeStep(version);
    if (schema::isApplied(attachment(), step)) return schema::alreadyAppliedText(step);
    schema::applyStep(attachment(), step);
    return step.doneText;
}

void MainD::upgrade(const schema::StepReport& onStep) {
    schema::upgradeDatabase(attachment(), onStep);
}

} // namespace korven::admin
