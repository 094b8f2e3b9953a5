// korven-cli init and demo stopped part-way: killed outright or stopped by a signal, they leave either
// no database or the complete one, and the next run works.

#include "db/Database.h"
#include "db/Services.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <signal.h>

using namespace korven;

namespace {

// The embedded engine keeps its locks in a folder shared by every program of the machine. A program
// killed outright in the middle of the engine's work may leave a lock there held, so every run these
// tests kill gets a lock folder of its own, and so does the test itself.
QProcessEnvironment withLockFolder(const QString& lockFolder) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FIREBIRD_LOCK"), lockFolder);
    return env;
}

struct OwnLockFolder {
    OwnLockFolder() { qputenv("FIREBIRD_LOCK", folder.path().toLocal8Bit()); }
    QTemporaryDir folder;
};

QProcess* startCli(const QString& command, const QString& dir, const QString& lockFolder) {
    auto* p = new QProcess;
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->setProcessEnvironment(withLockFolder(lockFolder));
    p->start(QStringLiteral(KORVEN_CLI), {command, dir});
    EXPECT_TRUE(p->waitForStarted());
    return p;
}

int runCli(const QString& command, const QString& dir, const QString& lockFolder, QString* err = nullptr) {
    QProcess p;
    p.setProcessEnvironment(withLockFolder(lockFolder));
    p.start(QStringLiteral(KORVEN_CLI), {command, dir});
    p.waitForFinished(300000);
    if (err) *err = QString::fromUtf8(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// What a run left in its folder: the names of the files.
QStringList leftIn(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The database in the folder is whole: the engine's validation finds nothing, and it holds what the
// command puts into it.
void expectComplete(const QString& dir, bool demo, const std::string& where) {
    const QString file = db::databaseName(dir);
    QStringList lines;
    db::ServiceManager svc(db::serviceParamsFor(dir, QStringLiteral("SYSDBA"), QString()));
    ASSERT_NO_THROW(svc.validate(file, [&](const QString& l) { lines << l; })) << where;
    const QString report = lines.join(QLatin1Char('\n'));
    EXPECT_TRUE(report.contains(QLatin1String("Validation finished"))) << where << report.toStdString();
    EXPECT_FALSE(report.contains(QLatin1String("ERROR"), Qt::CaseInsensitive))
        << where << report.toStdString();

    db::ConnectParams p;
    p.database = file;
    p.user = QStringLiteral("SYSDBA");
    auto att = db::Attachment::attach(p);
    db::Transaction t(*att);
    t.start();
    EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from FJ_BAZA where LP = 1")).toInt(), 1) << where;
    EXPECT_GE(t.scalar(QStringLiteral("select count(*) from A_GRUPS")).toInt(), 1) << where;
    if (demo) {
        EXPECT_GE(t.scalar(QStringLiteral("select count(*) from A_AUTO")).toInt(), 24) << where;
        EXPECT_EQ(t.scalar(QStringLiteral("select count(*) from A_AUTO a where a.BLOKADA <> 'T' and not "
                                          "exists (select 1 from A_KARTA k where k.KODA = a.KODA)"))
                      .toInt(),
                  0)
            << where << ": vehicles without cards";
    }
    t.commit();
}

qint64 fullRunMs(const QString& command) {
    QTemporaryDir dir, lock;
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(runCli(command, dir.path(), lock.path()), 0);
    return timer.elapsed();
}

} // namespace

TEST(CliInterrupted, KilledAtAnyMomentLeavesNothingOrTheWholeDatabase) {
    const OwnLockFolder ownLock;
    const int tries = 12;
    for (const QString& command : {QStringLiteral("init"), QStringLiteral("demo")}) {
        const qint64 full = fullRunMs(command);
        for (int i = 0; i < tries / 2; ++i) {
            QTemporaryDir dir, lock;
            // Moments spread over the whole run, each somewhere in its own slice.
            const qint64 delay =
                full * (2 * i + 1) / tries + QRandomGenerator::global()->bounded(full / tries + 1);
            const std::string where =
                command.toStdString() + " killed after " + std::to_string(delay) + " ms";
            std::unique_ptr<QProcess> p(startCli(command, dir.path(), lock.path()));
            QThread::msleep(static_cast<unsigned long>(delay));
            p->kill();
            p->waitForFinished(30000);

            const QString file = db::databaseName(dir.path());
            if (QFileInfo::exists(file)) {
                expectComplete(dir.path(), command == QLatin1String("demo"), where);
                continue;
            }
            // Nothing under the database's name: the next run builds it, and removes what the killed
            // one left under its temporary name.
            QString err;
            ASSERT_EQ(runCli(command, dir.path(), lock.path(), &err), 0)
                << where << ": " << err.toStdString();
            expectComplete(dir.path(), command == QLatin1String("demo"), where + ", then run again");
            EXPECT_EQ(leftIn(dir.path()), QStringList{QStringLiteral("korven.adb")}) << where;
        }
    }
}

TEST(CliInterrupted, StopSignalsEndTheRunPromptlyAndLeaveNothing) {
    const OwnLockFolder ownLock;
    const qint64 full = fullRunMs(QStringLiteral("demo"));
    for (int sig : {SIGTERM, SIGINT}) {
        QTemporaryDir dir, lock;
        std::unique_ptr<QProcess> p(startCli(QStringLiteral("demo"), dir.path(), lock.path()));
        QThread::msleep(static_cast<unsigned long>(full / 2));
        QElapsedTimer timer;
        timer.start();
        ::kill(static_cast<pid_t>(p->processId()), sig);
        ASSERT_TRUE(p->waitForFinished(15000)) << "signal " << sig << " was ignored";
        EXPECT_LT(timer.elapsed(), 5000) << "signal " << sig;
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
        EXPECT_NE(p->exitCode(), 0) << "signal " << sig;
        if (QFileInfo::exists(db::databaseName(dir.path()))) {
            // The run was finishing when the signal came.
            expectComplete(dir.path(), true, "signal " + std::to_string(sig));
        } else {
            EXPECT_TRUE(leftIn(dir.path()).isEmpty()) << leftIn(dir.path()).join(' ').toStdString();
        }
        // The engine was stopped in order: the next program using the same locks works at once.
        QTemporaryDir next;
        QProcess after;
        after.setProcessEnvironment(withLockFolder(lock.path()));
        after.start(QStringLiteral(KORVEN_CLI), {QStringLiteral("init"), next.path()});
        ASSERT_TRUE(after.waitForFinished(60000)) << "signal " << sig << " left the engine's locks held";
        EXPECT_EQ(after.exitCode(), 0) << "signal " << sig;
    }
}
