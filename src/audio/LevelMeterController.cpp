// The level meters' feed.
#include "audio/LevelMeterController.h"

#include "app/Trace.h"
#include "audio/WaveInSource.h"

#include <cstdlib>
#include <cstring>

void CAudioLevelMeterController::SetFormat(const WAVEFORMATEX& format) {
    std::lock_guard lock(m_lock);
    m_format = format;
    m_pending.clear();
}

bool CAudioLevelMeterController::BlockPeaks(const void* data, uint32_t bytes,
                                            const WAVEFORMATEX& format, Peaks& peaks) {
    const int frameSize = format.wFormatTag == WAVE_FORMAT_PCM
                              ? format.nChannels * format.wBitsPerSample / 8
                              : format.nBlockAlign;
    if (frameSize < 1) {
        Trace(TRACE_ERROR, "Invalid Wave Format in CAudioLevelMeterController!");
        return false;
    }
    peaks = Peaks();
    const auto* bytesIn = static_cast<const uint8_t*>(data);
    const bool stereo = format.nChannels >= 2;
    // 8-bit blocks show silence, as the recorder's peak does.
    const uint32_t frames = format.wBitsPerSample == 16 ? bytes / uint32_t(frameSize) : 0;
    for (uint32_t i = 0; i < frames; ++i) {
        const uint8_t* frame = bytesIn + size_t(i) * uint32_t(frameSize);
        int16_t samples[2] = {0, 0};
        std::memcpy(samples, frame, stereo ? 4 : 2);
        const int first = std::abs(int(samples[0]));
        const int second = std::abs(int(samples[1]));
        peaks.left = std::max(peaks.left, first);
        peaks.right = std::max(peaks.right, second);
    }
    if (!stereo)
        peaks.right = peaks.left;
    return true;
}

int CAudioLevelMeterController::ProcessBuffer(const void* data, uint32_t bytes) {
    WAVEFORMATEX format;
    {
        std::lock_guard lock(m_lock);
        format = m_format;
    }
    Peaks peaks;
    if (!BlockPeaks(data, bytes, format, peaks))
        return 0;
    peaks.share = double(bytes) / CWaveInSource::kBufferSize;
    std::lock_guard lock(m_lock);
    if (m_pending.size() >= kMaxPending)
        m_pending.erase(m_pending.begin());
    m_pending.push_back(peaks);
    return 0;
}

void CAudioLevelMeterController::TakePeaks(std::vector<Peaks>& peaks) {
    peaks.clear();
    std::lock_guard lock(m_lock);
    peaks.swap(m_pending);
}
