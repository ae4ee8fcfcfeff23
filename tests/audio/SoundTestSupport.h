// Helpers of the sound tests: an end-of-playing receiver to wait on, the samples the extraction
// would make of a cut, and the choice of the back end.
#pragma once

#include "audio/AudioCore.h"
#include "audio/WavPlayer.h"
#include "encode/FadeGain.h"
#include "support/TestSupport.h"
#include "support/Tone.h"

#include <QByteArray>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace soundtest {

// What the extraction feeds its encoder for cut of data (which starts at millisecond 0): the
// cut's bytes shaped by the fade-and-gain routine in the extraction's 65536-byte blocks.
inline QByteArray ExtractedSamples(const QByteArray& data, const WAVEFORMATEX& format,
                                   const CCutInfo& cut, double gain) {
    const auto at = [&](qint64 ms) {
        return int(ms * format.nSamplesPerSec / 1000) * format.nBlockAlign;
    };
    QByteArray out = data.mid(at(cut.start()), at(cut.end()) - at(cut.start()));
    for (int done = 0; done < out.size(); done += 65536)
        applyFades(out.data() + done, uint32_t(std::min(65536, int(out.size()) - done)),
                   cut.start(), uint64_t(done), cut, format, gain);
    return out;
}

// Counts the ends of playing runs; optionally stops the player from inside the callback.
class EndWaiter : public CWavPlayerCallBack {
public:
    CWavPlayer* stopFromCallback = nullptr;

    void onPlayFinished(bool error) override {
        if (stopFromCallback)
            stopFromCallback->stop();
        std::lock_guard lock(m_mutex);
        ++m_count;
        m_errors += error ? 1 : 0;
        m_changed.notify_all();
    }
    // Waits until count runs have ended, at most timeoutMs; false when they have not.
    bool waitForCount(int count, int timeoutMs = 20000) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                  [&] { return m_count >= count; });
    }
    int count() {
        std::lock_guard lock(m_mutex);
        return m_count;
    }
    int errors() {
        std::lock_guard lock(m_mutex);
        return m_errors;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_count = 0;
    int m_errors = 0;
};

// Makes the audio core start again over the back end that QUILLET_AUDIO now names.
inline void UseBackend(const char* audio) {
    if (audio)
        qputenv("QUILLET_AUDIO", audio);
    else
        qunsetenv("QUILLET_AUDIO");
    CAudioCore::destroyInstance();
}

} // namespace soundtest
