// The sound-card capture source: a capture thread reads the device into a ring of 64 buffers of
// 16384 bytes and hands each full buffer to the grabbers.
#pragma once

#include "audio/AudioSource.h"
#include "platform/audio/AudioDevice.h"
#include "util/WinTypes.h"

#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Records 44100 Hz 16-bit stereo PCM. Start and Stop run on one thread (the user's); the
// grabbers are called on the capture thread. Start can follow Stop again. A buffer the device
// fails in is handed to no whole-buffer grabber.
class CWaveInSource : public CAudioSource {
public:
    static constexpr int kBufferCount = 64;
    static constexpr uint32_t kBufferSize = 16384;
    // A buffer is read from the device in parts of this size (about 23 ms), each handed at once
    // to the grabbers that take parts.
    static constexpr uint32_t kPartSize = 4096;

    // The device of index in the capture list; -1 is the system's default device. Throws
    // COxaAudioSourceException when the index has no name or the device refuses the format.
    explicit CWaveInSource(int index);
    // The device of this name in the capture list (or, for ALSA, any PCM name that opens).
    // Throws COxaAudioSourceException when there is none or it refuses the format.
    explicit CWaveInSource(const QString& name);
    // Stops and frees the buffers.
    ~CWaveInSource() override;

    // Opens the device and starts the capture thread; true when capturing (also when it was).
    bool Start();
    // Stops the device, waits for the capture thread and closes the device.
    void Stop();
    // The recording format.
    void GetFormat(WAVEFORMATEX& format) const { format = m_format; }
    // Sets what is called on the capture thread when the device fails while capturing (not
    // after Stop); null for nothing. Any time, from the user's thread.
    void SetFailureHandler(std::function<void()> handler);

private:
    // Sets the format and checks that the device accepts it (throws when not).
    void Init(int index);
    // The name the back end opens: the device name or "default".
    QString OpenName() const;
    // The capture thread: fills the buffers in turn and delivers each.
    void CaptureThreadFunc();

    QString m_deviceName;
    WAVEFORMATEX m_format{};
    std::vector<char> m_data;
    std::unique_ptr<IPcmStream> m_stream;
    std::thread m_thread;
    std::atomic<bool> m_stopped{true};
    std::mutex m_failureLock; // guards m_onFailure
    std::function<void()> m_onFailure;
};
