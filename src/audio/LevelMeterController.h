// The level meters' feed: takes each captured block on the capture thread and keeps the largest
// sample of the first two channels for the user thread, which hands them to the meters.
#pragma once

#include "audio/AudioStreamGrabber.h"
#include "util/WinTypes.h"

#include <mutex>
#include <vector>

// The capture thread only computes the two peaks of a block and queues them under a short lock;
// the meters are touched by whoever takes the peaks (the dialog's timer on the user thread).
class CAudioLevelMeterController : public IAudioStreamGrabber {
public:
    // The largest absolute sample of each of the first two channels of one block, and the
    // block's length in the capture source's buffers (CWaveInSource::kBufferSize).
    struct Peaks {
        int left = 0;
        int right = 0;
        double share = 1.0;
    };
    // Blocks kept when nobody takes them (the oldest are dropped beyond this).
    static constexpr size_t kMaxPending = 256;

    // Sets the format of the blocks to come; drops what is queued.
    void SetFormat(const WAVEFORMATEX& format);
    // Queues the block's peaks (capture thread). Returns 0.
    int ProcessBuffer(const void* data, uint32_t bytes) override;
    // Moves the queued peaks, oldest first, into peaks (which is cleared first).
    void TakePeaks(std::vector<Peaks>& peaks);
    // The peaks of a block of PCM in format (a single channel gives the same to both); false
    // with a trace line when the format has no frame size.
    static bool BlockPeaks(const void* data, uint32_t bytes, const WAVEFORMATEX& format,
                           Peaks& peaks);

private:
    std::mutex m_lock; // guards everything below
    WAVEFORMATEX m_format{};
    std::vector<Peaks> m_pending;
};
