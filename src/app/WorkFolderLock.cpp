// The lock of a work folder: one process at a time writes its work files and config.ini.
#include "app/WorkFolderLock.h"

#include <QDir>
#include <QLockFile>

#include <map>
#include <memory>
#include <mutex>

namespace {

constexpr auto kRetryInterval = std::chrono::milliseconds(50);

// The locks this process holds, by folder, with the number of holders.
struct HeldLock {
    std::unique_ptr<QLockFile> file;
    int holders = 0;
};
std::mutex g_heldMutex;
std::map<QString, HeldLock> g_held;

} // namespace

CWorkFolderLock::CWorkFolderLock(QString folder) : m_folder(QDir(folder).absolutePath()) {}

CWorkFolderLock::~CWorkFolderLock() {
    Unlock();
}

CWorkFolderLock::Result CWorkFolderLock::Lock(std::chrono::milliseconds timeout,
                                              const std::function<void()>& onWait) {
    if (m_locked)
        return Result::Locked;
    std::unique_lock lock(g_heldMutex);
    HeldLock& held = g_held[m_folder];
    if (held.holders == 0) {
        auto file =
            std::make_unique<QLockFile>(m_folder + QLatin1Char('/') + QLatin1String(kFileName));
        file->setStaleLockTime(0); // only a dead holder's lock is stale
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        bool waited = false;
        while (!file->tryLock(int(kRetryInterval.count()))) {
            if (file->error() != QLockFile::LockFailedError) {
                g_held.erase(m_folder);
                return Result::Unavailable;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                g_held.erase(m_folder);
                return Result::Busy;
            }
            if (!waited && onWait) {
                waited = true;
                onWait();
            }
        }
        held.file = std::move(file);
    }
    ++held.holders;
    m_locked = true;
    return Result::Locked;
}

void CWorkFolderLock::Unlock() {
    if (!m_locked)
        return;
    m_locked = false;
    std::lock_guard lock(g_heldMutex);
    const auto it = g_held.find(m_folder);
    if (it != g_held.end() && --it->second.holders == 0)
        g_held.erase(it); // the QLockFile's destructor removes the lock file
}
