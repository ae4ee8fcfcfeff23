// Playback of the work WAV file: a time range, shaped with the selection's fades and gain when the
// selection is valid, streamed to the sound device by a playing thread.
#pragma once

#include "encode/CutInfo.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

class CWaveOut;

// Told when a playing run ends by itself.
class CWavPlayerCallBack {
public:
    virtual ~CWavPlayerCallBack() = default;
    // The run reached its end (error false) or failed (error true). Called on the playing thread
    // with the player's end lock held, never after stop(); it may call stop() but not play().
    virtual void onPlayFinished(bool error) = 0;
};

class CWavPlayer {
public:
    // Buffers queued ahead of the device, and the size of each (also the read block).
    static constexpr int kBufferCount = 4;
    static constexpr uint32_t kBufferSize = 32768;

    explicit CWavPlayer(CWavPlayerCallBack* callback);
    // Stops playing first.
    ~CWavPlayer();
    CWavPlayer(const CWavPlayer&) = delete;
    CWavPlayer& operator=(const CWavPlayer&) = delete;

    // Plays fileName from start to end (milliseconds); a valid cut shapes every block with its
    // fades and the gain. A running playback is stopped first (without callback). True when the
    // playing thread was started; false when it could not be, or when called from the callback.
    bool play(const QString& fileName, int64_t start, int64_t end, const CCutInfo& cut);
    // Stops a running playback and returns once its thread has ended; no callback follows.
    // From the callback it only marks the run as stopped.
    void stop();
    // Whether a playing thread is running. Not from the callback.
    bool isPlaying() const;
    // The position the device has reached, in milliseconds of the file (where the last run
    // ended while idle). Not from the callback.
    int64_t position() const;

    // The normalization gain applied with the fades (default 1.0).
    void setGain(double gain) { m_gain = gain; }
    // The device to play on; "default" unless set.
    void setDevice(const QString& device) { m_device = device; }

private:
    // Stops and joins the run; the caller holds m_lock.
    void stopLocked();
    // The playing thread.
    void run();
    // Reads, shapes and queues the range; throws COxaException on failure.
    void stream(CWaveOut& waveOut);

    CWavPlayerCallBack* const m_callback;
    std::mutex m_lock;            // the player lock: serialises play and stop
    mutable std::mutex m_endLock; // guards m_playing and m_waveOut against the run's end
    std::thread m_thread;
    bool m_playing = false;
    std::unique_ptr<CWaveOut> m_waveOut;
    std::atomic<bool> m_stopRequested{false};

    // The request, set under m_endLock before the thread starts and read by it.
    QString m_fileName;
    int64_t m_start = 0;
    int64_t m_end = 0;
    CCutInfo m_cut;
    double m_gain = 1.0;
    QString m_device = QStringLiteral("default");

    // For position(): the byte rate of the running file, and the position a run ended at.
    std::atomic<uint32_t> m_bytesPerSecond{0};
    int64_t m_endPosition = 0; // guarded by m_endLock
};
