// quillet-record-bench: measures recording from the virtual card: the CPU share of recording 30 s
// into the work WAV and visualization files (the bench asleep), then for 10 s more how long a
// captured buffer waits until the encoder thread has written it.
#include "CpuTime.h"
#include "audio/QLEncoder.h"
#include "audio/WaveInSource.h"

#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Stamps each captured buffer as the source hands it out (registered before the encoder).
struct Stamps : IAudioStreamGrabber {
    std::atomic<int64_t> lastNs{0};
    std::atomic<uint64_t> bytes{0};
    int ProcessBuffer(const void*, uint32_t n) override {
        lastNs = Clock::now().time_since_epoch().count();
        bytes += n;
        return 0;
    }
};

} // namespace

int main() {
    setenv("QUILLET_AUDIO", "virtual", 1);
    setenv("QUILLET_VIRTUAL_IN", "tone:440", 1);
    QTemporaryDir temp;
    CWaveInSource card(-1);
    WAVEFORMATEX format{};
    card.GetFormat(format);
    Stamps stamps;
    CQLEncoder encoder(temp.filePath("temp"), ".in", format, nullptr, 100);
    card.AddGrabber(&stamps);
    card.AddGrabber(&encoder);

    const double cpuBefore = CpuSeconds();
    const auto started = Clock::now();
    if (!card.Start())
        return 1;
    std::this_thread::sleep_until(started + std::chrono::seconds(30));
    const double wall = std::chrono::duration<double>(Clock::now() - started).count();
    const double cpu = CpuSeconds() - cpuBefore;
    const double recorded = double(encoder.RecordedBytes()) / format.nAvgBytesPerSec;

    // The write lag: from a buffer's capture until the encoder has written it, for each buffer
    // seen fresh (the bench looks every millisecond).
    double lagMax = 0;
    uint64_t seen = stamps.bytes.load(); // buffers from before are not fresh
    while (Clock::now() - started < std::chrono::seconds(40)) {
        const uint64_t captured = stamps.bytes.load();
        const int64_t at = stamps.lastNs.load();
        if (captured != seen) {
            seen = captured;
            while (encoder.RecordedBytes() < captured)
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            lagMax = std::max(lagMax, double(Clock::now().time_since_epoch().count() - at) / 1e6);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    card.Stop();
    card.RemoveGrabber(&encoder);
    encoder.Close();
    std::printf("recording 30 s: %.2f s recorded, CPU %.3f s over %.2f s = %.2f %%\n", recorded,
                cpu, wall, 100.0 * cpu / wall);
    std::printf("write lag (buffer captured to written), at most: %.2f ms\n", lagMax);
    return 0;
}
