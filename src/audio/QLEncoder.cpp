// The recording consumer and its encoder thread.
#include "audio/QLEncoder.h"

#include "app/OxaException.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "app/Trace.h"
#include "audio/RecordingReceiver.h"
#include "encode/DatFileEncoder.h"
#include "encode/WavFileEncoder.h"
#include "util/SystemError.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>

CQLEncoder::CQLEncoder(const QString& baseName, const QString& extension,
                       const WAVEFORMATEX& format, IRecordingReceiver* receiver, int refreshMs,
                       uint64_t maxBytes)
    : m_wavFileName(baseName + extension), m_datFileName(baseName + QStringLiteral(".dat")),
      m_format(format), m_receiver(receiver),
      m_refreshBytes(double(refreshMs) / 1000.0 * format.nAvgBytesPerSec),
      m_maxBytes(maxBytes - maxBytes % std::max<uint16_t>(format.nBlockAlign, 1)) {
    m_wav = std::make_unique<CWavFileEncoder>(m_wavFileName, &m_format);
    try {
        m_dat = std::make_unique<CDatFileEncoder>(baseName, &m_format);
    } catch (...) {
        m_wav.reset();
        QFile::remove(m_wavFileName);
        throw;
    }
    m_running = true;
    try {
        m_thread = std::thread(&CQLEncoder::EncoderThreadFunc, this);
    } catch (const std::system_error&) {
        m_running = false;
        m_wav.reset();
        m_dat.reset();
        QFile::remove(m_wavFileName);
        QFile::remove(m_datFileName);
        throw COxaThrException(QStringLiteral("Error creating thread \"EncoderThreadHelper\""));
    }
}

CQLEncoder::~CQLEncoder() {
    Close();
}

void CQLEncoder::Close() {
    if (m_closed)
        return;
    m_closed = true;
    m_queue.Close(); // buffers already queued are still written
    if (m_thread.joinable())
        m_thread.join();
    m_wav.reset();
    m_dat.reset();
    if (m_receiver)
        m_receiver->RecordedTime(RecordedMilliseconds());
}

int CQLEncoder::ProcessBuffer(const void* data, uint32_t bytes) {
    AudioBuffer copy;
    try {
        copy.assign(static_cast<const char*>(data), static_cast<const char*>(data) + bytes);
    } catch (...) {
        Trace(TRACE_ERROR, "CQLEncoder::ProcessBuffer() - Unknown exception caught: copy audio "
                           "buffer to local buffer.");
        return 0;
    }
    try {
        m_queue.Put(std::move(copy));
    } catch (const COxaThrClosedException&) {
        // The session is ending.
    } catch (...) {
        Trace(TRACE_ERROR, "Unknown exception caught in CQLEncoder::ProcessBuffer()");
    }
    return 0;
}

int64_t CQLEncoder::RecordedMilliseconds() const {
    const uint64_t bytesPerSecond = uint64_t(m_format.nBlockAlign) * m_format.nSamplesPerSec;
    return bytesPerSecond ? int64_t(RecordedBytes() * 1000 / bytesPerSecond) : 0;
}

int CQLEncoder::BufferPeak(const void* data, uint32_t bytes, const WAVEFORMATEX& format) {
    if (format.wBitsPerSample != 16 || format.nChannels == 0)
        return 0;
    const uint32_t frames = bytes * 8 / format.nChannels / format.wBitsPerSample;
    const auto* samples = static_cast<const uchar*>(data);
    int peak = 0;
    for (uint32_t i = 0; i < frames * format.nChannels; ++i)
        peak = std::max(peak, std::abs(int(qFromLittleEndian<qint16>(samples + size_t(i) * 2))));
    return peak;
}

bool CQLEncoder::WriteBuffer(const AudioBuffer& buffer) {
    const uint64_t left = m_maxBytes - m_recordedBytes.load();
    const auto bytes = uint32_t(std::min<uint64_t>(buffer.size(), left));
    m_wav->encode(buffer.data(), bytes);
    m_dat->encode(buffer.data(), bytes);
    const int peak = BufferPeak(buffer.data(), bytes, m_format);
    m_lastPeak = peak;
    if (peak > m_peak.load())
        m_peak = peak;
    m_recordedBytes += bytes;
    if (m_receiver && double(m_recordedBytes.load() - m_bytesAtLastReport) >= m_refreshBytes) {
        m_receiver->RecordedTime(RecordedMilliseconds());
        m_bytesAtLastReport = m_recordedBytes.load();
    }
    return m_recordedBytes.load() < m_maxBytes;
}

void CQLEncoder::EncoderThreadFunc() {
    Trace(TRACE_DETAIL, "BEGIN THREAD rec session (Current Thread ID = 0x%X)",
          uint32_t(std::hash<std::thread::id>()(std::this_thread::get_id())));
    bool normalEnd = false;
    try {
        for (;;) {
            AudioBuffer buffer = m_queue.Get();
            if (m_atLimit)
                continue; // the recording is complete; the rest is dropped until the close
            if (!WriteBuffer(buffer)) {
                m_atLimit = true;
                if (m_receiver)
                    m_receiver->RecordingEnded(QString());
            }
        }
    } catch (const COxaThrClosedException&) {
        normalEnd = true;
    } catch (const COxaException& e) {
        QString detail;
        if (m_wav->getErrorCode() != 0)
            detail = SystemErrorText(int(m_wav->getErrorCode()));
        else if (m_dat->getErrorCode() != 0)
            detail = SystemErrorText(int(m_dat->getErrorCode()));
        else
            detail = e.message();
        Trace(TRACE_ERROR, "Recording stopped because: %s", detail);
        EndWithError(FormatString(IDS_RECORDING_STOPPED, detail));
    } catch (...) {
        Trace(TRACE_ERROR, "Unknown recording exception.");
        EndWithError(LoadString(IDS_UNKNOWN_RECORDING_ERROR));
    }
    if (normalEnd)
        m_running = false;
    Trace(TRACE_DETAIL, "END THREAD rec session (Current Thread ID = 0x%X)",
          uint32_t(std::hash<std::thread::id>()(std::this_thread::get_id())));
}

void CQLEncoder::EndWithError(const QString& message) {
    m_queue.Close(); // later buffers are dropped by ProcessBuffer
    m_wav.reset();
    m_dat.reset();
    QFile::remove(m_wavFileName);
    QFile::remove(m_datFileName);
    m_recordedBytes = 0;
    m_failed = true;
    m_running = false;
    if (m_receiver)
        m_receiver->RecordingEnded(message);
}
