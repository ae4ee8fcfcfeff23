// quillet-browser-bench: runs the window as quillet does (offscreen where no display is asked for)
// and beams its restored ringtone selection to the UploadUrl setting twice: the first beam starts
// the web engine in this fresh process (cold), the second finds it running (warm). For each beam
// it reports the time from the beam command to the browser dialog's showing, to the transfer
// page's first contentful paint (the page's own measure), to its load's end, and to the first
// paint of the dialog's page area at or after that contentful paint; then it sends the ringtone
// on the page as a person would, and ends the window through its exit command.
//
// quillet-browser-bench [quillet's options]; QUILLET_BENCH_PHONE is the number sent (default
// +447700900123).
#include "frame/QuilletApp.h"
#include "ui/BrowserDlg.h"
#include "ui/BrowserPage.h"
#include "ui/QuilletCtrl.h"
#include "ui/QuilletDlg.h"
#include "ui/QuilletWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>
#include <QWebEngineView>

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

// Milliseconds since the epoch, as the page's performance clock counts them.
double NowMs() {
    using namespace std::chrono;
    return double(duration_cast<microseconds>(system_clock::now().time_since_epoch()).count()) /
           1000.0;
}

// The moments of one beam, in milliseconds since the epoch; -1 until they happen.
struct BeamTimes {
    double command = -1; // the beam command
    double shown = -1;   // the dialog shown
    double loaded = -1;  // the transfer page loaded
    double content = -1; // the page's first contentful paint, by the page's clock
    double painted = -1; // the first paint of the page area at or after it
    // Milliseconds from the command to the moment.
    double since(double moment) const { return moment < 0 ? -1 : moment - command; }
};

// Watches the browser dialog during a beam: its showing, the transfer page's load, the paints of
// the page area; once loaded it asks the page for its first contentful paint, and once the page
// area has been painted after that it acts as the person and sends.
class Watch : public QObject {
public:
    Watch() { qApp->installEventFilter(this); }

    // Starts a new beam.
    void begin() {
        times = BeamTimes();
        times.command = NowMs();
        m_paints.clear();
        m_contentAsked = false;
    }
    BeamTimes times;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && times.shown < 0)
            if (auto* dialog = qobject_cast<CBrowserDlg*>(watched))
                onShown(dialog);
        if (event->type() == QEvent::Paint && m_dialog && watched->isWidgetType() &&
            m_dialog->view()->isAncestorOf(static_cast<QWidget*>(watched))) {
            m_paints.push_back(NowMs());
            sendOncePainted();
        }
        return false;
    }

private:
    void onShown(CBrowserDlg* dialog) {
        times.shown = NowMs();
        if (m_dialog == dialog)
            return;
        m_dialog = dialog;
        connect(dialog->page(), &QWebEnginePage::loadFinished, this, [this](bool ok) {
            // A load that ended before this beam's showing belongs to the page of the last one.
            if (ok && times.shown >= 0 && times.loaded < 0 &&
                m_dialog->page()->url().path() == "/transfer") {
                times.loaded = NowMs();
                askContent();
            }
        });
    }

    // Asks the page for its first contentful paint (the load's end when it has none).
    void askContent() {
        m_dialog->page()->runJavaScript(
            QStringLiteral("var paint = performance.getEntriesByName('first-contentful-paint')[0];"
                           "paint ? performance.timeOrigin + paint.startTime : -1"),
            [this](const QVariant& at) {
                times.content = at.toDouble();
                m_contentAsked = true;
                sendOncePainted();
            });
    }

    // Once a paint of the page area at or after the contentful paint has been seen: notes it
    // and sends the ringtone on the page.
    void sendOncePainted() {
        if (!m_contentAsked || times.painted >= 0)
            return;
        const double after = times.content >= 0 ? times.content : times.loaded;
        for (double paint : m_paints)
            if (paint >= after && times.painted < 0)
                times.painted = paint;
        if (times.painted < 0)
            return;
        const QString phone = qEnvironmentVariable("QUILLET_BENCH_PHONE", "+447700900123");
        m_dialog->page()->runJavaScript(
            QStringLiteral("document.getElementById('phone').value = '%1';"
                           "document.querySelector('form.line').submit();")
                .arg(phone));
    }

    CBrowserDlg* m_dialog = nullptr;
    std::vector<double> m_paints;
    bool m_contentAsked = false;
};

// The window, beamed from twice once the model has started, then ended by its exit command.
class BenchWindow : public IMainDialog {
public:
    int DoModal(const QString& commandLineFile) override {
        Watch watch;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            CQuilletDlg* dialog = m_window.dialog();
            if (!dialog || !dialog->isModelStarted())
                return;
            poll.stop();
            for (const char* name : {"cold", "warm"}) {
                watch.begin();
                dialog->ctrl().runCommand(CQuilletCtrl::CmdBeam); // returns when it is over
                const BeamTimes& t = watch.times;
                std::printf("%s beam: dialog shown %.1f ms, first contentful paint %.1f ms, page "
                            "loaded %.1f ms, painted in the dialog %.1f ms\n",
                            name, t.since(t.shown), t.since(t.content), t.since(t.loaded),
                            t.since(t.painted));
            }
            const QFileInfo ringtone(dialog->ctrl().model().getRingtoneFileName());
            std::printf("ringtone: %.1f KB\n", double(ringtone.size()) / 1000.0);
            dialog->exitCommand();
        });
        poll.start(1);
        return m_window.DoModal(commandLineFile);
    }

private:
    CQuilletWindow m_window;
};

} // namespace

int main(int argc, char* argv[]) {
    CBrowserDlg::PrepareEngine();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillet"));
    QApplication::setQuitOnLastWindowClosed(false);
    CQuilletApp app(QApplication::arguments());
    BenchWindow window;
    return app.Run(window, false);
}
