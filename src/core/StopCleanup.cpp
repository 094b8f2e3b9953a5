#include "core/StopCleanup.h"

#include <QFile>

#include <atomic>
#include <cstring>

#ifdef Q_OS_UNIX
#include <unistd.h>
#else
#include <cstdio>
#endif

namespace korven {

namespace {

constexpr int kSlots = 4;
constexpr std::size_t kPathBytes = 4096;

// Plain buffers, so that a signal handler can read them without allocating. A slot's path is only
// read while its flag is set, and the flag is set after the path is written.
struct Slot {
    std::atomic<bool> used{false};
    std::atomic<bool> armed{false};
    char path[kPathBytes] = {};
};

Slot stopFiles[kSlots];

} // namespace

RemoveOnStop::RemoveOnStop(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    if (native.size() + 1 > static_cast<qsizetype>(kPathBytes)) return;
    for (int i = 0; i < kSlots; ++i) {
        bool expected = false;
        if (stopFiles[i].used.compare_exchange_strong(expected, true)) {
            std::memcpy(stopFiles[i].path, native.constData(), static_cast<std::size_t>(native.size()) + 1);
            stopFiles[i].armed.store(true);
            slot_ = i;
            return;
        }
    }
}

RemoveOnStop::~RemoveOnStop() {
    if (slot_ < 0) return;
    stopFiles[slot_].armed.store(false);
    stopFiles[slot_].used.store(false);
}

void removeFilesOnStop() noexcept {
    for (Slot& s : stopFiles) {
        if (!s.armed.load()) continue;
#ifdef Q_OS_UNIX
        ::unlink(s.path);
#else
        std::remove(s.path);
#endif
    }
}

} // namespace korven
