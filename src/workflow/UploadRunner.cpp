// The upload's worker thread and the runner that waits for it.
#include "workflow/UploadRunner.h"

#include "app/IOpProgress.h"
#include "app/IUserMessages.h"
#include "app/Trace.h"
#include "web/UploadClient.h"
#include "workflow/RingtoneModel.h"

#include <QCoreApplication>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// The longest time the runner waits for the thread before it serves its events again.
constexpr auto kServeInterval = std::chrono::milliseconds(10);

} // namespace

bool startUploadFile(CRingtoneModel& model, IOpProgress& progress, IBrowser* browser,
                     IUserMessages& messages, BeamOutcome* outcome) {
    UploadThreadParams params;
    params.ringtoneFile = model.getRingtoneFileName();
    // The input's short title ("MySong", "track03", "recording") names the ringtone.
    params.ringtoneName = model.getInputTitle();
    params.progress = &progress;
    params.browser = browser;

    std::mutex mutex;
    std::condition_variable endedSignal;
    bool ended = false;
    std::thread worker;
    try {
        worker = std::thread([&] {
            uploadFile(params);
            const std::lock_guard lock(mutex);
            ended = true;
            endedSignal.notify_all();
        });
    } catch (const std::system_error& e) {
        Trace(TRACE_ERROR, "error creating upload thread (%d)", e.code().value());
        return false;
    }

    // The window stays alive: its events are served while the thread works.
    std::unique_lock lock(mutex);
    while (!ended) {
        lock.unlock();
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        lock.lock();
        endedSignal.wait_for(lock, kServeInterval, [&] { return ended; });
    }
    lock.unlock();
    worker.join();

    progress.Show(false);
    if (outcome)
        *outcome = BeamOutcome{params.result, params.cancelledOnPage, params.errorCause};
    if (!params.result && !params.errorText.isEmpty())
        ShowErrorMessage(messages, params.errorText);
    return params.result;
}
