// quillet-window-bench: starts the window as quillet does (offscreen where no display is asked
// for) and reports the time from process start to the window's first paint and to the model's
// start, and the peak resident memory, then exits the window through its exit command.
//
// quillet-window-bench [quillet's options] [FILE]; QUILLET_BENCH_T0 holds the start time in
// nanoseconds since the epoch (date +%s%N) taken just before the process was started.
#include "CpuTime.h"
#include "frame/QuilletApp.h"
#include "ui/QuilletDlg.h"
#include "ui/QuilletWindow.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {
// Milliseconds since QUILLET_BENCH_T0.
double SinceStartMs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const double t0 = qEnvironmentVariable("QUILLET_BENCH_T0").toDouble();
    return (double(now.tv_sec) * 1e9 + double(now.tv_nsec) - t0) / 1e6;
}

// Notes the first paint of the main dialog.
class FirstPaint : public QObject {
public:
    double at = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (at < 0 && event->type() == QEvent::Paint && qobject_cast<CQuilletDlg*>(watched))
            at = SinceStartMs();
        return false;
    }
};

// The window, ended by its exit command once the model has started.
class BenchWindow : public IMainDialog {
public:
    int DoModal(const QString& commandLineFile) override {
        FirstPaint paint;
        qApp->installEventFilter(&paint);
        double started = -1;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            CQuilletDlg* dialog = m_window.dialog();
            if (!dialog || !dialog->isModelStarted())
                return;
            started = SinceStartMs();
            poll.stop();
            dialog->exitCommand();
        });
        poll.start(1);
        const int result = m_window.DoModal(commandLineFile);
        std::printf("first paint: %.1f ms\nmodel started: %.1f ms\npeak RSS: %.1f MiB\n", paint.at,
                    started, PeakRssMiB());
        return result;
    }

private:
    CQuilletWindow m_window;
};
} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    CQuilletApp app(QApplication::arguments());
    BenchWindow window;
    return app.Run(window, false);
}
