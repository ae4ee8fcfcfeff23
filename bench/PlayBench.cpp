// quillet-play-bench: measures playback on the virtual card: the CPU share of playing 60 s, the
// time from play() to the first buffer handed to the device, the time a stop takes, and the gap
// when a finished run is started again.
#include "CpuTime.h"
#include "audio/AudioCore.h"
#include "audio/WavPlayer.h"
#include "platform/audio/AudioTrace.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

using Clock = std::chrono::steady_clock;

// When the device took its first buffer, and when a run ended, as the bench's threads see them.
struct Events : CWavPlayerCallBack {
    std::mutex mutex;
    std::condition_variable changed;
    int starts = 0;
    int ends = 0;
    Clock::time_point lastStart;
    Clock::time_point lastEnd;

    void onPlayFinished(bool) override {
        std::lock_guard lock(mutex);
        ++ends;
        lastEnd = Clock::now();
        changed.notify_all();
    }
    void started() {
        std::lock_guard lock(mutex);
        ++starts;
        lastStart = Clock::now();
        changed.notify_all();
    }
    // Waits until the counter reaches count (at most 120 s).
    bool waitFor(const int& counter, int count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(120), [&] { return counter >= count; });
    }
};

Events* g_events = nullptr;

// The back end says "PCM ... started" when it takes the first buffer of a stream.
void OnDeviceText(int, const char* text) {
    if (g_events && std::strstr(text, "\" started"))
        g_events->started();
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Writes seconds of a 44100 Hz stereo 16-bit WAV with a changing signal.
bool WriteWav(const QString& path, int seconds) {
    const WAVEFORMATEX format = MakePcmFormat(2, 44100, 16);
    QByteArray data(44100 * 4 * seconds, '\0');
    for (int i = 0; i < data.size() / 2; ++i)
        qToLittleEndian(int16_t(i * 31), data.data() + i * 2);
    QByteArray header("RIFF....WAVEfmt ");
    qToLittleEndian(uint32_t(36 + data.size()), header.data() + 4);
    QByteArray size(4, '\0');
    qToLittleEndian(uint32_t(16), size.data());
    header += size + QByteArray(reinterpret_cast<const char*>(&format), 16) + "data";
    qToLittleEndian(uint32_t(data.size()), size.data());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(header + size + data) > 0;
}

} // namespace

int main() {
    setenv("QUILLET_AUDIO", "virtual", 1);
    QTemporaryDir temp;
    const QString wav = temp.filePath("in.wav");
    setenv("QUILLET_VIRTUAL_OUT", qPrintable(temp.filePath("out.wav")), 1);
    if (!WriteWav(wav, 60)) {
        std::fprintf(stderr, "quillet-play-bench: cannot write %s\n", qPrintable(wav));
        return 1;
    }
    CAudioCore::instance();
    AudioTraceSetFunction(OnDeviceText);
    Events events;
    g_events = &events;
    CWavPlayer player(&events);

    // Start latency and stop time, the mean of 20 runs each.
    double startSum = 0, stopMax = 0;
    const int runs = 20;
    for (int i = 0; i < runs; ++i) {
        const auto called = Clock::now();
        player.play(wav, 10000, 20000, CCutInfo());
        if (!events.waitFor(events.starts, i + 1))
            return 1;
        startSum += Ms(events.lastStart - called);
        const auto stopping = Clock::now();
        player.stop();
        stopMax = std::max(stopMax, Ms(Clock::now() - stopping));
    }

    // Restart gap: from the end of a 1 s run to the device taking the next run's first buffer.
    player.play(wav, 0, 1000, CCutInfo());
    if (!events.waitFor(events.ends, 1))
        return 1;
    player.play(wav, 0, 1000, CCutInfo());
    if (!events.waitFor(events.starts, runs + 2))
        return 1;
    const double gap = Ms(events.lastStart - events.lastEnd);
    if (!events.waitFor(events.ends, 2))
        return 1;

    // CPU share of playing 60 s.
    const double cpuBefore = CpuSeconds();
    const auto wallBefore = Clock::now();
    player.play(wav, 0, 60000, CCutInfo());
    if (!events.waitFor(events.ends, 3))
        return 1;
    const double wall = Ms(Clock::now() - wallBefore) / 1000;
    const double cpu = CpuSeconds() - cpuBefore;

    std::printf("start latency (mean of %d)  %.2f ms\n", runs, startSum / runs);
    std::printf("stop time (max of %d)       %.2f ms\n", runs, stopMax);
    std::printf("restart gap                 %.2f ms\n", gap);
    std::printf("playing 60 s: wall %.2f s, CPU %.3f s, %.3f %% of one core\n", wall, cpu,
                100 * cpu / wall);
    g_events = nullptr;
    AudioTraceSetFunction(nullptr);
    return 0;
}
