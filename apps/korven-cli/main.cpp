#include "Command.h"

#include "core/ProgramStart.h"
#include "core/StopCleanup.h"
#include "db/Shutdown.h"

#include <QGuiApplication>

#include <cstdio>
#include <exception>
#include <vector>

#ifdef Q_OS_UNIX
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>
#endif

namespace korven::cli {

static std::vector<Command>& registry() {
    static std::vector<Command> list;
    return list;
}

CommandRegistration::CommandRegistration(Command command) {
    registry().push_back(std::move(command));
}

const std::vector<Command>& commands() {
    return registry();
}

void printError(const QString& text) {
    std::fputs(text.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}

void printLine(const QString& text) {
    std::fputs(text.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

#ifdef Q_OS_UNIX
// Stop signals end the tool at once with a non-zero exit. They are blocked in every thread (the
// database engine's threads inherit the mask, so its own handlers, which keep the process running,
// never see them) and taken by one waiting thread, which removes the files of unfinished work (a
// database still under its temporary name) and ends the process. Work already committed stays; a
// transaction in flight is never committed, so the database is left as it was before it.
static std::atomic<bool> stopping{false};

static void takeStopSignals() {
    static sigset_t stops;
    sigemptyset(&stops);
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        sigaddset(&stops, sig);
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);
    std::thread([] {
        int sig = 0;
        while (sigwait(&stops, &sig) != 0) {
        }
        stopping.store(true);
        korven::removeFilesOnStop();
        // The engine is stopped before the process ends, so that none of its locks shared with the
        // other programs of the machine is left held. An engine that does not stop in a few seconds
        // (it may itself wait for a lock another program left held) does not keep the tool alive.
        static std::atomic<bool> engineStopped{false};
        std::thread([] {
            korven::db::shutdownClient(3000);
            engineStopped.store(true);
        }).detach();
        for (int waited = 0; waited < 40 && !engineStopped.load(); ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        korven::removeFilesOnStop();
        static const char message[] = "korven-cli: przerwano, niedokończona praca nie została zapisana\n";
        [[maybe_unused]] ssize_t written = ::write(STDERR_FILENO, message, sizeof message - 1);
        ::_exit(128 + sig);
    }).detach();
}
#endif

// The exit code of a command; while a stop signal is being handled, the stopping thread ends the
// process instead, so that the program never exits under the engine's shutdown.
static int finish(int rc) {
#ifdef Q_OS_UNIX
    if (stopping.load())
        for (;;)
            ::pause();
#endif
    return rc;
}

static void printUsage() {
    printError(QStringLiteral("usage: korven-cli COMMAND [ARGS...]\ncommands:"));
    for (const Command& c : commands())
        printError(QStringLiteral("  %1").arg(QString::fromUtf8(c.usage)));
}

} // namespace korven::cli

int main(int argc, char** argv) {
    using namespace korven::cli;
#ifdef Q_OS_UNIX
    takeStopSignals(); // first, before any other thread exists
#endif
    // Rendering reports needs fonts and painting, hence a GUI application; it never opens a window,
    // so it runs without a display unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    try {
        korven::prepareProgram();
    } catch (const std::exception& e) {
        printError(QString::fromUtf8(e.what()));
        return 2;
    }
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        printUsage();
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const Command& c : commands()) {
        if (name == QLatin1String(c.name)) {
            int rc = 1;
            try {
                rc = c.run(args);
            } catch (const std::exception& e) {
                printError(QString::fromUtf8(e.what()));
            }
            // An answer that could not be written (a full disk, a closed pipe) is a failure, whatever
            // the command itself did.
            if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
                printError(QStringLiteral("korven-cli: nie można zapisać wyniku na standardowe wyjście"));
                return finish(rc == 0 ? 1 : rc);
            }
            return finish(rc);
        }
    }
    printError(QStringLiteral("korven-cli: unknown command '%1'").arg(name));
    printUsage();
    return 2;
}
