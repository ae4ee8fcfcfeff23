// Recording sessions: the virtual card and ALSA's file plugin recorded into the work files
// sample for sample, the time reports, a stop with a full queue, and start/stop cycles.
#include "audio/QLEncoder.h"
#include "audio/RecordingReceiver.h"
#include "audio/SoundTestSupport.h"
#include "audio/WaveInSource.h"
#include "encode/DatFileEncoder.h"
#include "workflow/ButtonState.h"
#include "workflow/ModelTestSupport.h"
#include "workflow/RingtoneModel.h"

#include <QFileInfo>
#include <gtest/gtest.h>

#include <thread>

using namespace soundtest;
using namespace modeltest;

namespace {

constexpr WAVEFORMATEX kCd = MakePcmFormat(2, 44100, 16);
constexpr int kBuffer = int(CWaveInSource::kBufferSize);

// Keeps the reports of a session for the test's thread.
class Reports : public IRecordingReceiver {
public:
    void RecordedTime(int64_t milliseconds) override {
        std::lock_guard lock(m_mutex);
        times.push_back(milliseconds);
        m_changed.notify_all();
    }
    void RecordingEnded(const QString& message) override {
        std::lock_guard lock(m_mutex);
        ended << message;
        m_changed.notify_all();
    }
    // Waits up to 20 s until done holds; false when it does not.
    template <class F> bool waitFor(F done) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(20), done);
    }
    std::vector<int64_t> times;
    QStringList ended;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
};

// The PCM part of a WAV file the program wrote (after its 44-byte header).
QByteArray WavData(const QString& path) {
    return ReadBytes(path).mid(44);
}

// What the visualization encoder writes for pcm.
QByteArray DatOf(const QByteArray& pcm, const QString& base) {
    {
        CDatFileEncoder dat(base, &kCd);
        dat.encode(pcm.constData(), uint32_t(pcm.size()));
    }
    return ReadBytes(base + ".dat");
}

class RecordingTest : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        model.attach(&owner, &view);
        GetConfig().SetWaveInLine("Mic");
    }
    void TearDown() override {
        UseBackend("virtual");
        ModelTest::TearDown();
    }
    // The input the card records: 2 s of a stereo tone.
    QByteArray source = SinePcm(44100, 88200, 440, {0.5, 0.25});
    TestOwner owner;
    TestView view;
    CRingtoneModel model;
};

} // namespace

TEST_F(RecordingTest, VirtualCardRecordingBecomesTheInputSampleForSample) {
    WriteWav(file("in.wav"), kCd, source);
    qputenv("QUILLET_VIRTUAL_IN", file("in.wav").toUtf8());
    UseBackend("virtual");
    CWaveInSource card(-1);
    Reports reports;
    ASSERT_TRUE(model.startRecording(card, &reports));
    EXPECT_FALSE(model.startRecording(card, &reports)); // one session at a time
    EXPECT_TRUE(model.isRecording());
    ButtonState state;
    model.getButtonState(state);
    EXPECT_TRUE(state[ButtonState::Recording]);
    EXPECT_EQ(model.getInputName(), "Recorded from [Mic]");
    EXPECT_EQ(model.getInputTitle(), "recording");
    EXPECT_EQ(model.getInputType(), CRingtoneModel::InputType::Recording);
    ASSERT_TRUE(
        reports.waitFor([&] { return !reports.times.empty() && reports.times.back() >= 1000; }));
    model.recordedTimeReported(reports.times.back()); // as the window hands it over
    EXPECT_EQ(model.getDuration(), reports.times.back());
    ASSERT_TRUE(model.stopRecording());
    card.Stop();
    EXPECT_FALSE(model.stopRecording());
    EXPECT_FALSE(model.isRecording());

    // Whole buffers from the first sample on: the file's data, then the card's silence.
    const QByteArray recorded = WavData(work("temp.in"));
    ASSERT_GE(recorded.size(), 176400);
    EXPECT_EQ(recorded.size() % kBuffer, 0);
    QByteArray expected =
        source + QByteArray(std::max<qsizetype>(0, recorded.size() - source.size()), '\0');
    EXPECT_EQ(recorded, expected.left(recorded.size()));
    EXPECT_EQ(model.getDuration(), int64_t(recorded.size()) * 1000 / 176400);
    EXPECT_EQ(reports.times.back(), model.getDuration()); // the final report
    // RecordingRefreshTime 100 ms = 17640 bytes: a report after every second buffer.
    EXPECT_EQ(reports.times.front(), 2 * kBuffer * 1000 / 176400);
    EXPECT_EQ(reports.times.size(), size_t(recorded.size() / kBuffer / 2 + 1));
    EXPECT_EQ(ReadBytes(work("temp.dat")), DatOf(recorded, file("expected")));
    EXPECT_DOUBLE_EQ(model.getNormalizationGain(),
                     CRingtoneModel::normalizationGain(
                         GetConfig().GetNormalizationPercent(),
                         CQLEncoder::BufferPeak(source.constData(), uint32_t(source.size()), kCd)));
    EXPECT_TRUE(model.getCut().isValid() || model.getDuration() <= 2000);
    EXPECT_TRUE(owner.messages.errors.isEmpty());

    // The card fails in its fifth buffer: the session ends with the message and keeps the four.
    qputenv("QUILLET_VIRTUAL_IN_FAIL", QByteArray::number(4 * kBuffer + 4));
    UseBackend("virtual");
    CWaveInSource failing(-1);
    Reports failed;
    ASSERT_TRUE(model.startRecording(failing, &failed));
    ASSERT_TRUE(failed.waitFor([&] { return !failed.ended.isEmpty(); }));
    model.recordingEnded(failed.ended.front());
    failing.Stop();
    qunsetenv("QUILLET_VIRTUAL_IN_FAIL");
    EXPECT_EQ(owner.messages.errors, QStringList{"Recording stopped: the sound device failed"});
    EXPECT_EQ(WavData(work("temp.in")), source.left(4 * kBuffer));
    EXPECT_EQ(model.getDuration(), 4 * kBuffer * 1000 / 176400);
}

TEST_F(RecordingTest, AlsaFilePluginRecordingStopsAtItsLengthAndMissingDevicesFail) {
    WriteBytes(file("in.raw"), source);
    WriteBytes(file(".asoundrc"),
               QStringLiteral("pcm.quillet_capture { type file; slave.pcm \"null\"; file "
                              "\"%1/copy.raw\"; infile \"%1/in.raw\"; format \"raw\" }\n")
                   .arg(m_files.path())
                   .toUtf8());
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", m_files.path().toUtf8());
    UseBackend(nullptr);
    {
        CWaveInSource pcm(QStringLiteral("quillet_capture"));
        Reports reports;
        const uint64_t oneSecond = 176400;
        ASSERT_TRUE(model.startRecording(pcm, &reports, oneSecond + 1)); // whole frames only
        ASSERT_TRUE(reports.waitFor([&] { return !reports.ended.isEmpty(); }));
        EXPECT_EQ(reports.ended, QStringList{QString()}); // the length was reached: no message
        model.recordingEnded(reports.ended.front());
        pcm.Stop();
        EXPECT_EQ(WavData(work("temp.in")), source.left(176400));
        EXPECT_EQ(ReadBytes(work("temp.dat")), DatOf(source.left(176400), file("expected")));
        EXPECT_EQ(model.getDuration(), 1000);
        EXPECT_EQ(model.getCut().isValid(), false); // 1 s is too short for a proposal
    }
    EXPECT_EQ(ThrownMessage([] { CWaveInSource("quillet_nothing"); }),
              "Wave-in device \"quillet_nothing\" not found");
    qputenv("HOME", home);
    EXPECT_TRUE(owner.messages.errors.isEmpty());
}

TEST_F(RecordingTest, StopWritesEveryQueuedBufferAndCyclesEndCleanly) {
    // A burst far faster than the disk thread: the close still writes all of it in order.
    Reports reports;
    QByteArray written;
    {
        CQLEncoder encoder(file("burst"), ".in", kCd, &reports, 100);
        for (int i = 0; i < 300; ++i) {
            const QByteArray block = RandomBytes(kBuffer, uint32_t(i));
            written += block;
            encoder.ProcessBuffer(block.constData(), uint32_t(block.size()));
        }
        encoder.Close();
        EXPECT_FALSE(encoder.Failed());
        EXPECT_EQ(encoder.RecordedBytes(), uint64_t(written.size()));
        encoder.ProcessBuffer(written.constData(), 4); // after the close: dropped
    }
    EXPECT_EQ(WavData(file("burst.in")), written);
    EXPECT_EQ(ReadBytes(file("burst.dat")), DatOf(written, file("expected")));
    EXPECT_EQ(reports.times.back(), int64_t(written.size()) * 1000 / 176400);

    // 200 sessions on a running and on a stopped source, some long enough for buffers to flow.
    qputenv("QUILLET_VIRTUAL_IN", "tone:1000");
    UseBackend("virtual");
    CWaveInSource card(QStringLiteral("Quillet Virtual"));
    for (int cycle = 0; cycle < 200; ++cycle) {
        Reports cycleReports;
        ASSERT_TRUE(model.startRecording(card, &cycleReports)) << cycle;
        if (cycle % 50 == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
        ASSERT_TRUE(model.stopRecording()) << cycle;
        if (cycle % 2)
            card.Stop();
        EXPECT_EQ(QFileInfo::exists(work("temp.in")), model.getDuration() > 0);
    }
    card.Stop();
    EXPECT_TRUE(owner.messages.errors.isEmpty());
}
