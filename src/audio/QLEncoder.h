// The recording consumer: queues each captured buffer and writes it on its own encoder thread
// into the work WAV file and the visualization file.
#pragma once

#include "audio/AudioStreamGrabber.h"
#include "audio/PCQueue.h"
#include "util/WinTypes.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

class CDatFileEncoder;
class CWavFileEncoder;
class IRecordingReceiver;

// Lives from the start of a recording to its end: construction opens both files and starts the
// thread, destruction writes what is queued and finishes both files. A write failure ends the
// thread, deletes both files and reports "Recording stopped: <system message>". The session
// stops writing at maxBytes and reports an end without a message.
class CQLEncoder : public IAudioStreamGrabber {
public:
    // A buffer as it waits in the queue.
    using AudioBuffer = std::vector<char>;
    // The largest recording by default: what a WAV file's 32-bit sizes can hold.
    static constexpr uint64_t kWavLimit = 0xFFFFFFFFull - 64;

    // Files baseName + extension (WAV) and baseName + ".dat"; reports every refreshMs of audio.
    // Throws COxaException when a file cannot be created or the thread cannot start.
    CQLEncoder(const QString& baseName, const QString& extension, const WAVEFORMATEX& format,
               IRecordingReceiver* receiver, int refreshMs, uint64_t maxBytes = kWavLimit);
    // Closes the session (see Close).
    ~CQLEncoder() override;
    CQLEncoder(const CQLEncoder&) = delete;
    CQLEncoder& operator=(const CQLEncoder&) = delete;

    // Closes the queue, lets the thread write what is queued, finishes both files and reports
    // the final recorded time. Later calls do nothing.
    void Close();
    // Copies the bytes into the queue (capture thread). Returns 0.
    int ProcessBuffer(const void* data, uint32_t bytes) override;

    // True while the encoder thread runs (false after the close or an error end).
    bool IsRunning() const { return m_running.load(); }
    // True once a failure ended the session and deleted both files.
    bool Failed() const { return m_failed.load(); }
    // Bytes written to the WAV file so far.
    uint64_t RecordedBytes() const { return m_recordedBytes.load(); }
    // Milliseconds of recorded audio.
    int64_t RecordedMilliseconds() const;
    // The largest absolute sample value written so far.
    int Peak() const { return m_peak.load(); }
    // The largest absolute sample value of the last buffer written (the current level).
    int LastPeak() const { return m_lastPeak.load(); }

    // The largest absolute 16-bit sample value of bytes of PCM in format; 0 for 8-bit PCM.
    static int BufferPeak(const void* data, uint32_t bytes, const WAVEFORMATEX& format);

private:
    // The encoder thread: writes queued buffers until the close, or until a failure.
    void EncoderThreadFunc();
    // Writes one buffer to both files, keeps the peaks and reports the time; false at maxBytes.
    bool WriteBuffer(const AudioBuffer& buffer);
    // Ends the thread after an error: closes both files, deletes them and reports message.
    void EndWithError(const QString& message);

    QString m_wavFileName;
    QString m_datFileName;
    WAVEFORMATEX m_format{};
    IRecordingReceiver* m_receiver;
    const double m_refreshBytes;
    const uint64_t m_maxBytes;
    CPCQueue<AudioBuffer> m_queue;
    std::atomic<uint64_t> m_recordedBytes{0};
    uint64_t m_bytesAtLastReport = 0; // encoder thread only
    std::atomic<int> m_peak{0};
    std::atomic<int> m_lastPeak{0};
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_failed{false};
    bool m_atLimit = false; // encoder thread only
    std::unique_ptr<CWavFileEncoder> m_wav;
    std::unique_ptr<CDatFileEncoder> m_dat;
    std::thread m_thread;
    bool m_closed = false;
};
