#include "ui/Stopping.h"

#include "ui/Windows.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <cstdlib>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace korven::ui {

namespace {

bool& stopFlag() {
    static bool flag = false;
    return flag;
}

// One step of the stop: close the innermost thing that is open, then come back once its event loop
// has unwound. Windows opened from other windows close from the innermost outwards, each returning
// to the code that opened it, so every caller finishes as it does after Esc.
void stopStep() {
    QWidget* modal = QApplication::activeModalWidget();
    const QList<QDialog*> open = openWindows();
    if (modal && !open.contains(modal)) {
        // A message, a question or a dialog of its own loop: closed as Esc closes it (No, Cancel).
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    } else if (!open.isEmpty()) {
        open.last()->reject();
    } else {
        // Only the top-level windows are left: closing them runs their exit sequence without the
        // closing question, then the window loop ends.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->windowType() == Qt::Window && !qobject_cast<QDialog*>(w)) w->close();
        QApplication::quit();
        return;
    }
    QTimer::singleShot(0, qApp, stopStep);
}

// The stop signals, kept blocked in every thread of the program and read from a descriptor, so
// that no signal handler ever interrupts the program or the database engine inside it.
sigset_t stopSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&set, s);
    return set;
}

std::function<void()>& emergencySlot() {
    static std::function<void()> slot;
    return slot;
}

void runEmergencyExit() {
    if (std::function<void()> last = std::exchange(emergencySlot(), {})) last();
}

} // namespace

bool stopping() {
    return stopFlag();
}

void stopProgram() {
    if (stopFlag() || !qApp) return;
    stopFlag() = true;
    QTimer::singleShot(0, qApp, stopStep);
}

void blockStopSignals() {
    const sigset_t set = stopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void installStopSignals() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    blockStopSignals();
    const sigset_t set = stopSignals();
    const int fd = ::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (fd >= 0) {
        auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, qApp);
        QObject::connect(notifier, &QSocketNotifier::activated, qApp, [fd] {
            signalfd_siginfo info;
            while (::read(fd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
            }
            stopProgram();
        });
    }
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QObject::connect(app, &QGuiApplication::commitDataRequest, app,
                         [](QSessionManager&) { stopProgram(); });
}

void setEmergencyExit(std::function<void()> last) {
    static const bool registered = [] {
        emergencySlot(); // constructed before the handler is registered, so it outlives it
        return std::atexit(runEmergencyExit) == 0;
    }();
    (void)registered;
    emergencySlot() = std::move(last);
}

} // namespace korven::ui
