#pragma once

#include <QString>

namespace korven {

// A file that must not outlive an interrupted run, such as a database still being built under its
// temporary name. While the object lives, removeFilesOnStop() deletes the file; a program's stop
// signal handler calls it before the program ends. Up to a few such files at once; more are not
// registered (they are then left behind as after a hard kill, and cleaned up by their owner later).
class RemoveOnStop {
public:
    explicit RemoveOnStop(const QString& path);
    ~RemoveOnStop();
    RemoveOnStop(const RemoveOnStop&) = delete;
    RemoveOnStop& operator=(const RemoveOnStop&) = delete;

private:
    int slot_ = -1;
};

// Deletes every file registered by a living RemoveOnStop. Safe to call from a signal handler: it only
// reads fixed buffers and calls unlink().
void removeFilesOnStop() noexcept;

} // namespace korven
