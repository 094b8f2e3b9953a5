#pragma once

#include "db/Database.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace korven::test {

// The folder of the source tree, for reading fixtures and report projects in tests.
QString sourceDir();

// A fresh embedded database with the whole schema in a temporary folder, removed with the object.
struct TestDatabase {
    TestDatabase(int year = 9, int month = 3);
    QTemporaryDir dir;
    QString sciezka;  // the folder, as setup.ini would name it
    QString database; // the full database name
    std::unique_ptr<db::Attachment> attachment;
    db::ConnectParams params(const QString& user = QStringLiteral("SYSDBA")) const;
};

// A private Firebird server on a free loopback port with its own configuration, security database and
// SYSDBA password. Started on first use in a test process and killed when the process ends.
class PrivateServer {
public:
    static PrivateServer& instance();
    QString server() const; // "localhost/PORT"
    QString dataDir() const { return dataDir_; }
    QString sysdbaPassword() const { return password_; }
    QString configDir() const { return configDir_; }
    // A database name on this server for a file in its data folder.
    QString databaseName(const QString& fileName) const;
    db::ConnectParams sysdba(const QString& database) const;
    ~PrivateServer();

private:
    PrivateServer();
    int port_ = 0;
    qint64 pid_ = 0;
    QString configDir_;
    QString dataDir_;
    QString password_;
    std::unique_ptr<QTemporaryDir> root_;
};

} // namespace korven::test
