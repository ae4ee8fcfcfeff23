// Helpers of the sound tests: WAV files of known samples, an end-of-playing receiver to wait on,
// and the samples the extraction would make of a cut.
#pragma once

#include "audio/AudioCore.h"
#include "audio/WavPlayer.h"
#include "encode/FadeGain.h"
#include "support/TestSupport.h"

#include <QByteArray>
#include <QtEndian>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace soundtest {

// A RIFF/WAVE file of PCM data.
inline QByteArray WavFile(const WAVEFORMATEX& format, const QByteArray& data) {
    auto le32 = [](uint32_t v) {
        QByteArray b(4, '\0');
        qToLittleEndian(v, b.data());
        return b;
    };
    return "RIFF" + le32(36 + uint32_t(data.size())) + "WAVEfmt " + le32(16) +
           QByteArray(reinterpret_cast<const char*>(&format), 16) + "data" +
           le32(uint32_t(data.size())) + data;
}

// Stereo 16-bit frames: the left channel constant at left, the right one a ramp that wraps.
inline QByteArray StereoFrames(int frames, int16_t left) {
    QByteArray data(frames * 4, '\0');
    for (int i = 0; i < frames; ++i) {
        qToLittleEndian(left, data.data() + i * 4);
        qToLittleEndian(int16_t(i * 37), data.data() + i * 4 + 2);
    }
    return data;
}

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
