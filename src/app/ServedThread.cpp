// A job on a thread of its own while the calling thread keeps serving its events.
#include "app/ServedThread.h"

#include "app/Trace.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace {

// The longest time the caller waits for the thread before it serves its events again, while the
// application is quitting and its event loops return at once.
constexpr auto kServeInterval = std::chrono::milliseconds(10);

} // namespace

bool RunServingEvents(const std::function<void()>& job, const char* what) {
    std::mutex mutex;
    std::condition_variable endedSignal;
    bool ended = false;
    // Served until the thread's end wakes it: every event (the web engine's work among them) is
    // handled as soon as it comes, not at the next turn of a polling wait.
    // Without an application there are no events to serve (and no loop may be made).
    std::optional<QEventLoop> loop;
    if (QCoreApplication::instance())
        loop.emplace();
    std::thread worker;
    try {
        worker = std::thread([&] {
            job();
            const std::lock_guard lock(mutex);
            ended = true;
            endedSignal.notify_all();
            // By name: the queued call is made and freed inside Qt, not half here and half on
            // the serving thread.
            if (loop)
                QMetaObject::invokeMethod(&*loop, "quit", Qt::QueuedConnection);
        });
    } catch (const std::system_error& e) {
        Trace(TRACE_ERROR, "error creating %s thread (%d)", what, e.code().value());
        return false;
    }

    std::unique_lock lock(mutex);
    while (!ended) {
        lock.unlock();
        if (loop) {
            loop->exec();
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        }
        lock.lock();
        endedSignal.wait_for(lock, kServeInterval, [&] { return ended; });
    }
    lock.unlock();
    worker.join();
    return true;
}
