// The playback queue: a ring of output buffers counted by a semaphore, handed one by one to a
// device thread that writes them to the sound device.
#pragma once

#include "audio/AudioStreamGrabber.h"
#include "platform/audio/AudioDevice.h"
#include "util/WinTypes.h"

#include <QString>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <semaphore>
#include <thread>
#include <vector>

// The semaphore counts the free buffers: ProcessBuffer waits on it before it fills a buffer, the
// device thread releases it as each buffer has been written. A reset makes every later call
// return at once, so one object serves one playing run.
class CWaveOut : public IAudioStreamGrabber {
public:
    static constexpr int kMaxBuffers = 64;

    CWaveOut() = default;
    // Resets, then frees the buffers and closes the device.
    ~CWaveOut() override;
    CWaveOut(const CWaveOut&) = delete;
    CWaveOut& operator=(const CWaveOut&) = delete;

    // Opens device for format with bufferCount (1..kMaxBuffers) buffers of bufferSize bytes: 0,
    // or 1 when the device cannot be opened (errorText tells why).
    int open(const WAVEFORMATEX& format, int bufferCount, uint32_t bufferSize,
             const QString& device, QString& errorText);
    // Queues PCM, blocking while every buffer is queued; full buffers go to the device. Returns 0.
    int ProcessBuffer(const void* data, uint32_t bytes) override;
    // Sends the partly filled buffer and waits until the device has played everything.
    void drain();
    // Stops output at once and returns every queued buffer; callable from any thread.
    void reset();
    // Bytes the device has taken so far.
    uint64_t bytesPlayed() const { return m_bytesPlayed.load(); }
    // True once the device refused a buffer without a reset (it failed).
    bool failed() const { return m_failed.load(); }

private:
    // Hands the buffer to the device thread (or straight back after a reset).
    void queue(WAVEHDR& header);
    // The device thread: writes queued buffers in order, frees each one as it is written.
    void deviceLoop();

    std::unique_ptr<std::counting_semaphore<kMaxBuffers>> m_free;
    std::vector<WAVEHDR> m_headers;
    std::vector<std::vector<char>> m_blocks;
    std::vector<uint32_t> m_fill;
    uint32_t m_bufferSize = 0;
    int m_current = 0;
    bool m_needsSlot = true;

    std::mutex m_mutex; // guards m_queue, m_stream's creation and m_thread
    std::condition_variable m_queued;
    std::deque<WAVEHDR*> m_queue;
    std::unique_ptr<IPcmStream> m_stream;
    std::thread m_thread;
    std::atomic<bool> m_resetting{false};
    std::mutex m_resetMutex; // one reset at a time
    std::atomic<uint64_t> m_bytesPlayed{0};
    std::atomic<bool> m_failed{false};
};
