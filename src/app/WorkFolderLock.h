// The lock of a work folder: one process at a time writes its work files and config.ini.
#pragma once

#include <QString>

#include <chrono>
#include <functional>

// A lock file in the folder (QLockFile), held by one process; within that process it is shared
// (the configuration's save takes it again while a command holds it). A lock left by a process
// that died is taken over; one held by a running process is never broken, however old.
class CWorkFolderLock {
public:
    static constexpr const char* kFileName = "quillet.lock";
    // What Lock ended in.
    enum class Result { Locked, Busy, Unavailable };

    explicit CWorkFolderLock(QString folder);
    // Releases the lock when this object holds it.
    ~CWorkFolderLock();
    CWorkFolderLock(const CWorkFolderLock&) = delete;
    CWorkFolderLock& operator=(const CWorkFolderLock&) = delete;

    // Takes the lock, waiting up to timeout while another process holds it; onWait runs once when
    // the wait begins. Busy: still held by the other after the time-out; Unavailable: no lock
    // file can be made there (the folder is missing or read-only).
    Result Lock(std::chrono::milliseconds timeout, const std::function<void()>& onWait = {});
    void Unlock();
    bool IsLocked() const { return m_locked; }

private:
    QString m_folder;
    bool m_locked = false;
};
