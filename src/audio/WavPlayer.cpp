// Playback of the work WAV file.
#include "audio/WavPlayer.h"

#include "app/OxaException.h"
#include "app/Trace.h"
#include "audio/WaveOut.h"
#include "decode/WavReader.h"
#include "encode/FadeGain.h"

#include <limits>
#include <system_error>
#include <vector>

namespace {
// The player whose run this thread is, so that a call from its callback is recognised.
thread_local const CWavPlayer* t_runningPlayer = nullptr;
} // namespace

CWavPlayer::CWavPlayer(CWavPlayerCallBack* callback) : m_callback(callback) {}

CWavPlayer::~CWavPlayer() {
    stop();
}

bool CWavPlayer::play(const QString& fileName, int64_t start, int64_t end, const CCutInfo& cut) {
    if (t_runningPlayer == this)
        return false;
    std::lock_guard lock(m_lock);
    stopLocked();
    m_stopRequested.store(false);
    {
        std::lock_guard endLock(m_endLock);
        m_fileName = fileName;
        m_start = start;
        m_end = end;
        m_cut = cut;
        m_playing = true;
        m_waveOut = std::make_unique<CWaveOut>();
        m_endPosition = start;
        m_bytesPerSecond.store(0);
    }
    try {
        m_thread = std::thread(&CWavPlayer::run, this);
    } catch (const std::system_error& e) {
        Trace(TRACE_ERROR, "cannot start the playing thread: %s", e.what());
        std::lock_guard endLock(m_endLock);
        m_playing = false;
        m_waveOut.reset();
        return false;
    }
    return true;
}

void CWavPlayer::stop() {
    if (t_runningPlayer == this) {
        m_stopRequested.store(true);
        return;
    }
    std::lock_guard lock(m_lock);
    stopLocked();
}

void CWavPlayer::stopLocked() {
    {
        std::lock_guard endLock(m_endLock);
        if (m_playing) {
            m_stopRequested.store(true);
            m_waveOut->reset();
        }
    }
    if (m_thread.joinable())
        m_thread.join();
}

bool CWavPlayer::isPlaying() const {
    std::lock_guard endLock(m_endLock);
    return m_playing;
}

int64_t CWavPlayer::position() const {
    std::lock_guard endLock(m_endLock);
    const uint32_t rate = m_bytesPerSecond.load();
    if (!m_waveOut || rate == 0)
        return m_endPosition;
    return m_start + int64_t(m_waveOut->bytesPlayed() * 1000 / rate);
}

void CWavPlayer::run() {
    t_runningPlayer = this;
    CWaveOut& waveOut = *m_waveOut; // lives until this thread destroys it below
    bool error = false;
    try {
        stream(waveOut);
    } catch (const COxaException& e) {
        Trace(TRACE_ERROR, "error while playing: %s", e.traceMessage());
        error = true;
    } catch (const std::exception& e) {
        Trace(TRACE_ERROR, "error while playing: %s", e.what());
        error = true;
    }
    if (!m_stopRequested.load())
        waveOut.drain();
    waveOut.reset();

    std::lock_guard endLock(m_endLock);
    if (!m_stopRequested.load() && m_callback)
        m_callback->onPlayFinished(error);
    const uint32_t rate = m_bytesPerSecond.load();
    m_endPosition = m_start + (rate ? int64_t(waveOut.bytesPlayed() * 1000 / rate) : 0);
    m_waveOut.reset();
    m_playing = false;
    t_runningPlayer = nullptr;
}

void CWavPlayer::stream(CWaveOut& waveOut) {
    std::vector<char> block(kBufferSize);
    CWavReader reader(m_fileName);
    const WAVEFORMATEX format = *reader.getFormat();
    if (format.wBitsPerSample != 16)
        throw COxaException(QStringLiteral("not supported wav file"));
    QString why;
    const int result = waveOut.open(format, kBufferCount, kBufferSize, m_device, why);
    if (result != 0) {
        Trace(TRACE_ERROR, "cannot open sound device \"%s\": %s", m_device, why);
        throw COxaException(Sprintf("error initializing waveout: %d", result));
    }
    m_bytesPerSecond.store(format.nAvgBytesPerSec);
    const int64_t endPosition = reader.seek(m_end);
    const int64_t startPosition = reader.seek(m_start);
    if (startPosition == -1)
        throw COxaException(QStringLiteral("invalid start time"));
    const int64_t toPlay =
        endPosition == -1 ? std::numeric_limits<int64_t>::max() : endPosition - startPosition;
    int64_t played = 0;
    bool last = toPlay <= 0;
    while (!last && !m_stopRequested.load()) {
        int64_t got = reader.read(block.data(), kBufferSize);
        if (got <= 0)
            break;
        if (played + got >= toPlay) {
            got = toPlay - played;
            last = true;
        }
        if (m_cut.isValid())
            applyFades(block.data(), uint32_t(got), m_start, uint64_t(played), m_cut, format,
                       m_gain);
        waveOut.ProcessBuffer(block.data(), uint32_t(got));
        if (waveOut.failed())
            throw COxaException(QStringLiteral("error writing to waveout"));
        played += got;
    }
}
