#include "support/TestSupport.h"

#include "schema/Schema.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QThread>

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace korven::test {

QString sourceDir() {
    return QStringLiteral(KORVEN_SOURCE_DIR);
}

TestDatabase::TestDatabase(int year, int month) {
    if (!dir.isValid()) throw std::runtime_error("cannot create a temporary folder");
    sciezka = dir.path();
    database = db::databaseName(sciezka);
    attachment = schema::createDatabase(params(), year, month);
}

db::ConnectParams TestDatabase::params(const QString& user) const {
    db::ConnectParams p;
    p.database = database;
    p.user = user;
    p.password = QStringLiteral("any");
    return p;
}

namespace {

int freePort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    int port = ntohs(addr.sin_port);
    ::close(fd);
    return port;
}

bool portOpen(int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
}

void writeFile(const QString& path, const QString& text) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error(("cannot write " + path).toStdString());
    f.write(text.toUtf8());
}

// Runs isql-fb with the private configuration; the environment must point at it, or the statements
// would reach the machine's own security database.
void runIsql(const QString& configDir, const QStringList& args, const QString& input) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FIREBIRD"), configDir);
    env.insert(QStringLiteral("FIREBIRD_LOCK"), configDir + QStringLiteral("/lock"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("isql-fb"), args);
    if (!p.waitForStarted(10000))
        throw std::runtime_error("isql-fb cannot be started (package firebird3.0-utils)");
    p.write(input.toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(60000);
    QString out = QString::fromUtf8(p.readAll());
    if (p.exitCode() != 0 || out.contains(QLatin1String("Statement failed")))
        throw std::runtime_error(("isql-fb failed: " + out).toStdString());
}

} // namespace

PrivateServer& PrivateServer::instance() {
    static PrivateServer server;
    return server;
}

PrivateServer::PrivateServer() {
    root_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/korven-fbserver-XXXXXX"));
    configDir_ = root_->path();
    dataDir_ = configDir_ + QStringLiteral("/data");
    QDir().mkpath(dataDir_);
    QDir().mkpath(configDir_ + QStringLiteral("/lock"));
    port_ = freePort();
    password_ = QStringLiteral("k%1").arg(QRandomGenerator::global()->bounded(100000000, 999999999));

    const QString security = configDir_ + QStringLiteral("/security3.fdb");
    writeFile(
        configDir_ + QStringLiteral("/firebird.conf"),
        QStringLiteral("RemoteServicePort = %1\nRemoteBindAddress = 127.0.0.1\nSecurityDatabase = %2\n"
                       "AuthServer = Srp, Legacy_Auth\nAuthClient = Srp, Legacy_Auth\n"
                       "UserManager = Srp, Legacy_UserManager\nWireCrypt = Enabled\nServerMode = Super\n")
            .arg(port_)
            .arg(security));
    writeFile(configDir_ + QStringLiteral("/databases.conf"),
              QStringLiteral("security.db = %1\n").arg(security));
    QFile::copy(QStringLiteral("/etc/firebird/3.0/plugins.conf"),
                configDir_ + QStringLiteral("/plugins.conf"));
    QFile::link(QStringLiteral("/usr/lib/x86_64-linux-gnu/firebird/3.0/intl"),
                configDir_ + QStringLiteral("/intl"));

    // The security database is built once per machine from the server package's script and copied.
    const QString cacheDir = QDir::tempPath() + QStringLiteral("/korven-test-cache");
    QDir().mkpath(cacheDir);
    const QString templ = cacheDir + QStringLiteral("/security3-template.fdb");
    {
        QLockFile lock(cacheDir + QStringLiteral("/security.lock"));
        lock.setStaleLockTime(120000);
        lock.lock();
        if (!QFile::exists(templ)) {
            const QString building = cacheDir + QStringLiteral("/security3-building.fdb");
            QFile::remove(building);
            runIsql(configDir_, {QStringLiteral("-q")},
                    QStringLiteral("create database '%1';\n").arg(building));
            runIsql(configDir_,
                    {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA"),
                     QStringLiteral("-i"), QStringLiteral("/usr/share/firebird/3.0/security.sql"), building},
                    QString());
            QFile::rename(building, templ);
        }
    }
    if (!QFile::copy(templ, security)) throw std::runtime_error("cannot copy the security database template");
    QFile::setPermissions(security, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    runIsql(configDir_, {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA"), security},
            QStringLiteral("create or alter user SYSDBA password '%1' using plugin Srp;\ncommit;\n")
                .arg(password_));

    pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("FIREBIRD", configDir_.toLocal8Bit().constData(), 1);
        ::setenv("FIREBIRD_LOCK", (configDir_ + QStringLiteral("/lock")).toLocal8Bit().constData(), 1);
        ::setsid();
        QByteArray log = (configDir_ + QStringLiteral("/server.out")).toLocal8Bit();
        FILE* out = std::freopen(log.constData(), "w", stdout);
        (void)out;
        ::dup2(STDOUT_FILENO, STDERR_FILENO);
        ::execl("/usr/sbin/firebird", "firebird", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    pid_ = pid;
    for (int i = 0; i < 400 && !portOpen(port_); ++i)
        QThread::msleep(25);
    if (!portOpen(port_)) throw std::runtime_error("the private Firebird server did not open its port");
}

PrivateServer::~PrivateServer() {
    if (pid_ > 0) {
        // The data is thrown away with the folder; there is nothing the server must finish first.
        ::kill(static_cast<pid_t>(pid_), SIGKILL);
        ::waitpid(static_cast<pid_t>(pid_), nullptr, 0);
    }
}

QString PrivateServer::server() const {
    return QStringLiteral("localhost/%1").arg(port_);
}

QString PrivateServer::databaseName(const QString& fileName) const {
    return server() + QLatin1Char(':') + dataDir_ + QLatin1Char('/') + fileName;
}

db::ConnectParams PrivateServer::sysdba(const QString& database) const {
    db::ConnectParams p;
    p.database = database;
    p.user = QStringLiteral("SYSDBA");
    p.password = password_;
    return p;
}

} // namespace korven::test
