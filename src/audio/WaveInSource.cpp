// The sound-card capture source.
#include "audio/WaveInSource.h"

#include "app/OxaException.h"
#include "app/Trace.h"
#include "audio/AudioCore.h"
#include "util/Printf.h"

CWaveInSource::CWaveInSource(int index) {
    Trace(TRACE_DETAIL, "WaveInSource: Create START  -  Device index: %d", index);
    if (index != -1 &&
        !CAudioCore::instance().deviceName(AudioDirection::Capture, index, m_deviceName))
        throw COxaAudioSourceException(Sprintf("Could no retrieve wave_in name (%d)", index));
    Init(index);
    Trace(TRACE_DETAIL, "WaveInSource: Create OK");
}

CWaveInSource::CWaveInSource(const QString& name) : m_deviceName(name) {
    Trace(TRACE_DETAIL, "WaveInSource: Create START  -  Device name: %s", name);
    int index = -1;
    if (!CAudioCore::instance().deviceIndex(AudioDirection::Capture, name, index)) {
        // ALSA opens PCMs of the configuration that its card list does not show: the query
        // open below decides.
        Trace(TRACE_DEBUG, "WaveInSource: \"%s\" is not in the device list", name);
    }
    Init(index);
    Trace(TRACE_DETAIL, "WaveInSource: Create OK");
}

CWaveInSource::~CWaveInSource() {
    Stop();
}

void CWaveInSource::Init(int index) {
    Trace(TRACE_DETAIL, "WaveInSource: Init device %d", index);
    m_format = MakePcmFormat(2, 44100, 16); // block align 4, 176400 bytes per second
    Trace(TRACE_DETAIL, "Query open wave-in index %d using format (%d, %d, %d)", index,
          int(m_format.nSamplesPerSec), int(m_format.nChannels), int(m_format.wBitsPerSample));
    QString error;
    if (!CAudioCore::instance().openStream(OpenName(), AudioDirection::Capture, m_format, error)) {
        Trace(TRACE_ERROR, "WaveInSource: %s", error);
        if (index == -1 && !m_deviceName.isEmpty())
            throw COxaAudioSourceException(
                Sprintf("Wave-in device \"%s\" not found", m_deviceName));
        throw COxaAudioSourceException(
            Sprintf("Query open wave-in device index %d FAILED (%s)", index, error));
    }
    m_data.assign(size_t(kBufferCount) * kBufferSize, 0);
    m_stopped = true;
}

QString CWaveInSource::OpenName() const {
    return m_deviceName.isEmpty() ? QStringLiteral("default") : m_deviceName;
}

bool CWaveInSource::Start() {
    Trace(TRACE_DETAIL, "WaveInSource: Start BEGIN");
    if (m_thread.joinable()) {
        Trace(TRACE_DETAIL, "WaveInSource: Start already started");
        return true;
    }
    QString error;
    m_stream =
        CAudioCore::instance().openStream(OpenName(), AudioDirection::Capture, m_format, error);
    if (!m_stream) {
        Trace(TRACE_ERROR, "Couldn't open wave-in device \"%s\" (%s)", OpenName(), error);
        Stop();
        return false;
    }
    m_stopped = false;
    try {
        m_thread = std::thread(&CWaveInSource::CaptureThreadFunc, this);
    } catch (const std::system_error&) {
        Trace(TRACE_ERROR, "WaveInSource: Error creating thread \"CaptureThreadHelper\"");
        Stop();
        return false;
    }
    return true;
}

void CWaveInSource::Stop() {
    Trace(TRACE_DETAIL, "WaveInSource: Stop BEGIN");
    m_stopped = true;
    if (m_stream)
        m_stream->stop(); // ends a read in progress, which wakes the thread
    if (m_thread.joinable())
        m_thread.join();
    m_stream.reset();
    Trace(TRACE_DETAIL, "WaveInSource: Stop END");
}

void CWaveInSource::SetFailureHandler(std::function<void()> handler) {
    std::lock_guard lock(m_failureLock);
    m_onFailure = std::move(handler);
}

void CWaveInSource::CaptureThreadFunc() {
    Trace(TRACE_DEBUG, "BEGIN THREAD CWaveInSource::CaptureThreadFunc()");
    for (int i = 0; !m_stopped.load(); i = (i + 1) % kBufferCount) {
        char* buffer = m_data.data() + size_t(i) * kBufferSize;
        // In parts only for grabbers that take them: each read wakes this thread.
        const uint32_t step = HasPartGrabbers() ? kPartSize : kBufferSize;
        bool read = true;
        for (uint32_t done = 0; read && done < kBufferSize; done += step) {
            read = m_stream->read(buffer + done, step);
            if (read && step < kBufferSize)
                DeliverPart(buffer + done, step);
        }
        if (!read) {
            if (!m_stopped.load()) {
                Trace(TRACE_ERROR, "WaveInSource: the wave-in device failed");
                std::lock_guard lock(m_failureLock);
                if (m_onFailure)
                    m_onFailure();
            }
            break;
        }
        Deliver(buffer, kBufferSize);
    }
    Trace(TRACE_DEBUG, "END THREAD CWaveInSource::CaptureThreadFunc()");
}
