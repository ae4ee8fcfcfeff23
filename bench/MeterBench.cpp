// quillet-meter-bench: the latency from a sample entering the sound card to the recording dialog's
// level meter showing it. The virtual card plays a file of silence with short loud bursts at known
// sample positions (spread over the phases of a capture buffer); the bench watches the left
// meter's level, which the dialog's display timer sets and paints, every millisecond on the user
// thread and notes when it rises above -6 dB. The card's start is taken from the times at which
// its buffers are handed out (the card is paced by the clock). Then, for 10 s more without the
// watching, reports the CPU share of the open dialog (capture, meters, wave display, offscreen
// painting).
//
// quillet-meter-bench [SECONDS]   (default 20)
#include "CpuTime.h"
#include "app/ConfigFile.h"
#include "audio/WaveInSource.h"
#include "audio/gui/AudioLevelMeter.h"
#include "decode/WavWriter.h"
#include "ui/RecordingDlg.h"
#include "workflow/RingtoneModel.h"

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRate = 44100;
constexpr int kBurstFrames = kRate * 30 / 1000;
constexpr double kShownDb = -6.0;
constexpr double kQuietDb = -40.0;
constexpr int kCpuSeconds = 10;
constexpr double kStartSlackMs = 5.0;

double NowMs() {
    return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

// The earliest start of the card consistent with each buffer's hand-out time: buffer i is handed
// out once its last frame has entered, at start + (i + 1) x buffer length.
struct StartEstimate : IAudioStreamGrabber {
    std::atomic<double> startMs{1e300};
    int buffers = 0; // capture thread only
    int ProcessBuffer(const void*, uint32_t bytes) override {
        ++buffers;
        const double bufferMs = 1000.0 * bytes / (4.0 * kRate);
        const double start = NowMs() - buffers * bufferMs;
        if (start < startMs.load())
            startMs = start;
        return 0;
    }
};

// Silence with a 30 ms burst at 0.95 of full scale every 400 ms, each moved by a further part of
// a capture buffer so that the bursts fall on every phase of it.
std::vector<int> WriteBursts(const QString& path, int seconds) {
    const int frames = seconds * kRate;
    QByteArray pcm(frames * 4, '\0');
    auto* samples = reinterpret_cast<int16_t*>(pcm.data());
    const int bufferFrames = int(CWaveInSource::kBufferSize / 4);
    std::vector<int> starts;
    for (int k = 1;; ++k) {
        const int start = k * kRate * 2 / 5 + (k * 613) % bufferFrames;
        if (start + kBurstFrames >= frames)
            break;
        starts.push_back(start);
        for (int i = 0; i < kBurstFrames; ++i) {
            const auto value = int16_t(0.95 * 32767 * std::sin(2 * M_PI * 1000.0 * i / kRate));
            samples[2 * (start + i)] = samples[2 * (start + i) + 1] = value;
        }
    }
    CWavWriter writer;
    const WAVEFORMATEX format = MakePcmFormat(2, kRate, 16);
    if (!writer.create(path, format) || !writer.write(pcm.constData(), uint32_t(pcm.size())) ||
        !writer.close())
        starts.clear();
    return starts;
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 20;
    qputenv("QUILLET_AUDIO", "virtual");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir temp;
    GetConfig().SetConfigFolder(temp.path());
    GetConfig().SetDefaults();
    std::vector<int> bursts = WriteBursts(temp.filePath("bursts.wav"), seconds + kCpuSeconds);
    if (bursts.empty()) {
        std::fprintf(stderr, "quillet-meter-bench: cannot write %s\n", qPrintable(temp.path()));
        return 1;
    }
    qputenv("QUILLET_VIRTUAL_IN", temp.filePath("bursts.wav").toUtf8());

    CRingtoneModel model;
    CRecordingDlg dialog(nullptr, model, nullptr);
    StartEstimate start;
    if (!dialog.source()) {
        std::fprintf(stderr, "quillet-meter-bench: the virtual card did not start\n");
        return 1;
    }
    dialog.source()->AddGrabber(&start);
    dialog.show();

    // Rising edges of the left meter's level, in milliseconds of the steady clock.
    std::vector<double> shown;
    bool armed = true;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const double level = dialog.meter(0)->state().Current();
        if (armed && level > kShownDb) {
            shown.push_back(NowMs());
            armed = false;
        } else if (!armed && level < kQuietDb) {
            armed = true;
        }
    });
    watch.start(1);
    // Not the application's loop: its quit would close the dialog first.
    const auto run = [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    };
    run(seconds * 1000 - 200);
    dialog.source()->RemoveGrabber(&start);
    // The dialog's own CPU share, without the bench's watching.
    watch.stop();
    const double cpuBefore = CpuSeconds();
    const double wallBefore = NowMs();
    run(kCpuSeconds * 1000);
    const double cpu = CpuSeconds() - cpuBefore;
    const double wall = NowMs() - wallBefore;
    dialog.reject();

    // The bursts the watching saw the end of.
    bursts.erase(std::find_if(bursts.begin(), bursts.end(),
                              [&](int frame) { return frame > (seconds - 1) * kRate; }),
                 bursts.end());
    std::vector<double> latencies;
    const double startMs = start.startMs.load();
    for (int frame : bursts) {
        const double entered = startMs + 1000.0 * frame / kRate;
        // The card's start is known to a millisecond or so, and a burst at the end of a part
        // shows almost at once: a rise just before the computed entry is the burst's.
        const auto it = std::lower_bound(shown.begin(), shown.end(), entered - kStartSlackMs);
        if (it != shown.end() && *it - entered < 400)
            latencies.push_back(std::max(0.0, *it - entered));
    }
    if (latencies.empty()) {
        std::fprintf(stderr, "quillet-meter-bench: the meter never showed a burst\n");
        return 1;
    }
    std::sort(latencies.begin(), latencies.end());
    double sum = 0;
    for (double l : latencies)
        sum += l;
    const auto at = [&](double q) { return latencies[size_t(q * double(latencies.size() - 1))]; };
    std::printf("meter latency over %zu of %zu bursts: mean %.1f ms, median %.1f ms, "
                "95th %.1f ms, max %.1f ms (min %.1f ms)\n",
                latencies.size(), bursts.size(), sum / double(latencies.size()), at(0.5), at(0.95),
                latencies.back(), latencies.front());
    std::printf("dialog open %.1f s: CPU %.3f s = %.2f %% of one core\n", wall / 1000, cpu,
                100.0 * cpu / (wall / 1000));
    return 0;
}
