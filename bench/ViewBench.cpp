// quillet-view-bench: the stream view's drawing costs and memory, offscreen.
//   quillet-view-bench paint        full repaints of a 15-minute input at 1000 x 200 (median)
//   quillet-view-bench cursor       one cursor step while playing (median)
//   quillet-view-bench memory MIN   the view's memory growth over its states for a MIN-minute input
#include "app/ConfigFile.h"
#include "app/IUserMessages.h"
#include "decode/WavWriter.h"
#include "skin/SkinParser.h"
#include "view/gui/StreamViewCtrl.h"
#include "workflow/IRingtoneModelOwner.h"
#include "workflow/RingtoneModel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// Reports the model's messages on standard error.
class BenchOwner : public IRingtoneModelOwner, public IUserMessages {
public:
    void RefreshState() override {}
    void RefreshInputName(const QString&) override {}
    std::unique_ptr<IOpProgress> CreateProgress(int) override {
        return std::make_unique<IOpProgress>();
    }
    IUserMessages& Messages() override { return *this; }
    void ShowMessage(Kind, const QString& text) override {
        std::fprintf(stderr, "quillet-view-bench: %s\n", qPrintable(text));
    }
};

// A mono 8 kHz WAV of a tone whose loudness swells, written a second at a time.
bool WriteInput(const QString& path, int seconds) {
    WAVEFORMATEX format{};
    format.wFormatTag = 1;
    format.nChannels = 1;
    format.nSamplesPerSec = 8000;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 2;
    format.nAvgBytesPerSec = 16000;
    CWavWriter writer;
    if (!writer.create(path, format))
        return false;
    std::vector<int16_t> block(8000);
    for (int s = 0; s < seconds; ++s) {
        for (int i = 0; i < 8000; ++i) {
            const double t = s + i / 8000.0;
            const double level = 0.2 + 0.7 * std::fabs(std::sin(t * 0.7));
            block[size_t(i)] = int16_t(32767 * level * std::sin(2 * M_PI * 220 * t));
        }
        if (!writer.write(block.data(), uint32_t(block.size() * 2)))
            return false;
    }
    return writer.close();
}

// The resident set size of the process in KiB.
long ResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// The model with an input of the length, and the view on it with the shipped skin.
struct Bench {
    QTemporaryDir folder;
    BenchOwner owner;
    CRingtoneModel model;
    std::unique_ptr<CStreamViewCtrl> view;

    bool open(int seconds) {
        GetConfig().SetConfigFolder(folder.path());
        GetConfig().SetDefaults();
        qputenv("QUILLET_VIRTUAL_OUT", folder.filePath(QStringLiteral("out.wav")).toUtf8());
        const QString input = folder.filePath(QStringLiteral("input.wav"));
        if (!WriteInput(input, seconds))
            return false;
        model.attach(&owner, nullptr);
        return model.openInputFile(input, CRingtoneModel::OpenMode::UserFile, 0);
    }
    bool createView(QSize size) {
        view = std::make_unique<CStreamViewCtrl>(nullptr);
        CSkinParser parser;
        const QString skin = QApplication::applicationDirPath() + "/Skins/en/__default.sdf";
        if (!parser.init(skin, QStringLiteral("PP_SDF")) || !view->loadSkin(parser))
            return false;
        view->applySkin();
        view->resize(size);
        model.attach(&owner, view.get());
        view->refresh(true, false);
        view->show();
        QApplication::processEvents();
        return true;
    }
};

int RunPaint() {
    Bench bench;
    if (!bench.open(15 * 60) || !bench.createView(QSize(1000, 200)))
        return 1;
    std::vector<double> times;
    for (int i = 0; i < 200; ++i) {
        QElapsedTimer timer;
        timer.start();
        bench.view->refresh(false, false); // marks the whole view for drawing
        bench.view->repaint();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("full repaint, 15-minute input, 1000 x 200: median %.3f ms (goal <= 4 ms)\n",
                Median(times));
    return 0;
}

int RunCursor() {
    Bench bench;
    if (!bench.open(15 * 60) || !bench.createView(QSize(1000, 200)))
        return 1;
    for (int i = 0; i < 4; ++i) // a span where every step moves the cursor a few columns
        bench.view->onCommand(CStreamViewCtrl::CmdZoomIn);
    bench.view->onCommand(CStreamViewCtrl::CmdPlay);
    QApplication::processEvents();
    // At the timer's rhythm (the caches cool between steps), and back to back.
    for (int pause : {20, 0}) {
        std::vector<double> times;
        for (int i = 0; i < (pause ? 100 : 2000); ++i) {
            QThread::msleep(pause);
            QElapsedTimer timer;
            timer.start();
            const bool scrolled = bench.view->advancePlayback();
            QApplication::processEvents();
            if (!scrolled)
                times.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::printf("cursor step while playing, %d ms apart: median %.3f ms over %zu steps "
                    "(goal <= 0.3 ms)\n",
                    pause, Median(times), times.size());
    }
    bench.view->onCommand(CStreamViewCtrl::CmdStop);
    return 0;
}

int RunMemory(int minutes) {
    Bench bench;
    if (!bench.open(minutes * 60))
        return 1;
    QApplication::processEvents();
    const long before = ResidentKiB();
    if (!bench.createView(QSize(1000, 200)))
        return 1;
    long peak = ResidentKiB();
    CStreamViewCtrl& view = *bench.view;
    // Every state a person passes: whole, zoomed in and out, scrolled across the input.
    for (int i = 0; i < 12; ++i) {
        view.onCommand(CStreamViewCtrl::CmdZoomIn);
        view.repaint();
        peak = std::max(peak, ResidentKiB());
    }
    for (int i = 0; i < 400 && !view.progress().isInVisible(minutes * 60000 - 1); ++i) {
        view.onCommand(CStreamViewCtrl::CmdScrollRight);
        view.repaint();
        peak = std::max(peak, ResidentKiB());
    }
    for (int i = 0; i < 12; ++i) {
        view.onCommand(CStreamViewCtrl::CmdZoomOut);
        view.repaint();
        peak = std::max(peak, ResidentKiB());
    }
    std::printf("view memory, %d-minute input: %ld KiB above the model alone\n", minutes,
                peak - before);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QUILLET_AUDIO"))
        qputenv("QUILLET_AUDIO", "virtual");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString mode = args.value(1);
    if (mode == QLatin1String("paint"))
        return RunPaint();
    if (mode == QLatin1String("cursor"))
        return RunCursor();
    if (mode == QLatin1String("memory") && args.size() == 3)
        return RunMemory(args[2].toInt());
    std::fputs("usage: quillet-view-bench paint | cursor | memory MINUTES\n", stderr);
    return 2;
}
