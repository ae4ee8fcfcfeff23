// The beam operation on the model: extraction, the upload thread, the window's events served
// meanwhile, and what the person sees at the end.
#include "workflow/Beaming.h"

#include "ModelTestSupport.h"
#include "support/BeamTestSupport.h"
#include "support/TraceCapture.h"
#include "web/UploadClient.h"
#include "workflow/RingtoneModel.h"
#include "workflow/UploadRunner.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QThread>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace beamtest;
using namespace modeltest;

namespace {

// Hands every call on to the progress the test keeps, which outlives the beam's own display.
class ForwardingProgress : public IOpProgress {
public:
    explicit ForwardingProgress(IOpProgress& to) : m_to(to) {}
    void SetTextId(int id) override { m_to.SetTextId(id); }
    void SetSubTextId(int id) override { m_to.SetSubTextId(id); }
    void SetRange(uint32_t total) override { m_to.SetRange(total); }
    void SetPos(uint32_t done) override { m_to.SetPos(done); }
    void Show(bool show) override { m_to.Show(show); }
    bool IsCanceled() override { return m_to.IsCanceled(); }

private:
    IOpProgress& m_to;
};

class BeamOwner : public IRingtoneModelOwner {
public:
    void RefreshState() override { states.push_back(model->getState()); }
    void RefreshInputName(const QString&) override {}
    std::unique_ptr<IOpProgress> CreateProgress(int titleId) override {
        titles.push_back(titleId);
        return std::make_unique<ForwardingProgress>(progress);
    }
    IUserMessages& Messages() override { return messages; }

    CRingtoneModel* model = nullptr;
    std::vector<CRingtoneModel::State> states; // the model's state at every refresh
    std::vector<int> titles;
    CTestProgress progress;
    RecordingMessages messages;
};

// A browser whose page opens on the main thread, as the window's does: Open only posts the work
// there, so the page opens only while the main thread's events are served. The person then acts
// on the page.
class CWindowBrowser : public CTestBrowser {
public:
    void Open(const QString& url, const BrowserPlacement& placement,
              IOpProgress* progress) override {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [=, this] {
                onMainThread = QThread::currentThread() == QCoreApplication::instance()->thread();
                record(url, placement, progress);
                if (person)
                    person(url);
            },
            Qt::QueuedConnection);
    }

    std::function<void(const QString& page)> person;
    std::atomic<bool> onMainThread{false};
};

class BeamingTest : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        if (!QCoreApplication::instance())
            m_app = std::make_unique<QCoreApplication>(m_argc, m_argv);
        m_owner.model = &m_model;
        m_model.attach(&m_owner, nullptr);
    }
    void TearDown() override {
        m_model.closeInput(false);
        ModelTest::TearDown();
    }
    // Opens five seconds of noise (a ringtone of several upload chunks) and selects 1 s to 5 s.
    void openNoise() {
        QByteArray pcm(5 * 44100 * 4, '\0');
        QRandomGenerator random(11);
        for (qsizetype i = 0; i < pcm.size(); i += 2)
            qToLittleEndian(qint16(random.bounded(-15000, 15000)), pcm.data() + i);
        const QString path = file(QStringLiteral("noise.wav"));
        WriteWav(path, MakePcmFormat(2, 44100, 16), pcm);
        ASSERT_TRUE(m_model.openInputFile(path, CRingtoneModel::OpenMode::UserFile, 0));
        m_model.setCut(1000, 5000);
        m_owner.states.clear();
        m_owner.titles.clear();
        m_owner.progress.clear();
    }
    // Beams; a beam still running after the bound has its browser closed, which ends it.
    bool beamWith(CWindowBrowser& browser) {
        std::mutex mutex;
        std::condition_variable changed;
        bool over = false;
        std::thread watchdog([&] {
            std::unique_lock lock(mutex);
            if (!changed.wait_for(lock, std::chrono::milliseconds(kBoundMs), [&] { return over; }))
                browser.Close();
        });
        const bool reached = beam(m_model, m_owner, &browser);
        {
            const std::lock_guard lock(mutex);
            over = true;
        }
        changed.notify_all();
        watchdog.join();
        return reached;
    }

    int m_argc = 1;
    char m_arg0[8] = "quillet";
    char* m_argv[2] = {m_arg0, nullptr};
    std::unique_ptr<QCoreApplication> m_app;
    CRingtoneModel m_model;
    BeamOwner m_owner;
};

} // namespace

TEST_F(BeamingTest, BeamsTheSelectionWhileTheWindowKeepsRunning) {
    CServiceProcess service;
    ASSERT_TRUE(service.started());
    GetConfig().SetUploadUrl(UploadUrl(service));
    openNoise();
    CWindowBrowser browser;
    browser.person = [](const QString& page) { SendToPhone(page, "5550199"); };

    EXPECT_TRUE(beamWith(browser));
    EXPECT_TRUE(browser.onMainThread);
    EXPECT_TRUE(m_owner.messages.errors.isEmpty());
    EXPECT_EQ(m_owner.titles, std::vector<int>{108});
    ASSERT_FALSE(m_owner.states.empty());
    EXPECT_EQ(m_owner.states.front(), CRingtoneModel::State::Beaming);
    EXPECT_EQ(m_owner.states.back(), CRingtoneModel::State::Idle);
    const std::vector<std::string> calls = m_owner.progress.calls();
    EXPECT_EQ(calls.front(), "show 1");
    EXPECT_EQ(calls.back(), "show 0");
    // The bytes that reach the inbox: the CLI beam test.
}

TEST_F(BeamingTest, AFailedUploadIsShownAndACancelIsNot) {
    CServiceProcess service({"--fail-phase", "0"});
    ASSERT_TRUE(service.started());
    GetConfig().SetUploadUrl(UploadUrl(service));
    openNoise();
    CWindowBrowser failing;
    EXPECT_TRUE(beamWith(failing)); // the upload stage was reached
    EXPECT_EQ(m_owner.messages.errors,
              QStringList{QStringLiteral("Error beaming ringtone: Service unavailable.")});
    EXPECT_EQ(m_owner.states.back(), CRingtoneModel::State::Idle);
    EXPECT_EQ(m_owner.progress.calls().back(), "show 0");

    // The runner alone: a cancel after the first chunk ends the upload without a message.
    CTestProgress progress;
    progress.cancelAtPos = CUploadClient::kChunkSize;
    CTestBrowser browser;
    RecordingMessages messages;
    EXPECT_FALSE(startUploadFile(m_model, progress, &browser, messages));
    EXPECT_TRUE(messages.errors.isEmpty());
    EXPECT_EQ(progress.calls("pos "), std::vector<std::string>{"pos 16384"});
    EXPECT_EQ(progress.calls().back(), "show 0");
    EXPECT_TRUE(browser.opened().empty());
}

TEST_F(BeamingTest, NoUploadWhenTheExtractionDoesNotSucceed) {
    TraceCapture trace(TRACE_ERROR);
    openNoise();
    CWindowBrowser browser;
    m_owner.progress.cancel = true; // the extraction is cancelled
    EXPECT_FALSE(beamWith(browser));
    EXPECT_TRUE(trace.hasLine("ERR", QStringLiteral("extractFile returned with opresult 1")));

    m_owner.progress.cancel = false;
    m_model.clearCut(); // nothing to extract
    EXPECT_FALSE(beamWith(browser));
    EXPECT_TRUE(trace.hasLine("ERR", QStringLiteral("extractFile returned with opresult 2")));
    EXPECT_EQ(m_owner.states.back(), CRingtoneModel::State::Idle);
    EXPECT_TRUE(m_owner.messages.errors.isEmpty());
    EXPECT_TRUE(m_owner.progress.calls("sub ").empty()); // the upload never began
}
