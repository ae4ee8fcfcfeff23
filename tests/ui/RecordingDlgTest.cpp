// The recording dialog on the virtual card: monitoring moves the meters, the clip lamp holds for
// two seconds, a recording reported through the main control's posted events becomes the input
// sample for sample, a failing card ends it with the message, and the choices are remembered.
#include "ui/RecordingDlg.h"
#include "UiTestSupport.h"
#include "app/StringIds.h"
#include "audio/AudioCore.h"
#include "audio/AudioMixerDevice.h"
#include "audio/WaveInSource.h"
#include "audio/gui/AudioLevelMeter.h"
#include "audio/gui/AudioWaveMonitor.h"
#include "ui/QuilletCtrl.h"
#include "workflow/ModelTestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QtEndian>

using namespace uitest;
using namespace modeltest;

namespace {
constexpr WAVEFORMATEX kCd = MakePcmFormat(2, 44100, 16);
constexpr int kBuffer = int(CWaveInSource::kBufferSize);

// 5 s of a tone that grows louder (so that no two capture buffers are alike), the right channel at
// half the left, with one full-scale sample on the left at 0.5 s.
QByteArray GrowingTone() {
    QByteArray pcm = SinePcm(44100, 5 * 44100, 440, {1.0, 0.5});
    auto* samples = reinterpret_cast<int16_t*>(pcm.data());
    for (int i = 0; i < pcm.size() / 2; ++i)
        samples[i] = int16_t(samples[i] * (0.1 + 0.5 * i / double(pcm.size() / 2)));
    samples[2 * 22050] = 32767;
    return pcm;
}

// The virtual card's mixer volume of a line.
uint32_t CardVolume(const QString& line) {
    uint32_t value = 0;
    CAudioMixerDevice(QStringLiteral("Quillet Virtual"), CAudioMixerDevice::ByWaveInName)
        .getVolume(line, value);
    return value;
}

class RecordingDlgTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        WriteWav(work("in.wav"), kCd, source);
        qputenv("QUILLET_VIRTUAL_IN", work("in.wav").toUtf8());
        CAudioCore::destroyInstance();
        ctrl = std::make_unique<CQuilletCtrl>(messages, nullptr);
    }
    void TearDown() override {
        ctrl.reset();
        qunsetenv("QUILLET_VIRTUAL_IN");
        qunsetenv("QUILLET_VIRTUAL_IN_FAIL");
        CAudioCore::destroyInstance();
        DialogTest::TearDown();
    }
    // Opens the dialog through the record command and runs drive in it.
    void Record(const std::function<void(CRecordingDlg*)>& drive) {
        bool driven = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = FindTopLevel<CRecordingDlg>();
            ASSERT_NE(dialog, nullptr);
            drive(dialog);
            driven = true;
            dialog->closeButton()->click();
        });
        ctrl->runCommand(CQuilletCtrl::CmdRecord);
        EXPECT_TRUE(driven);
        EXPECT_EQ(FindTopLevel<CRecordingDlg>(), nullptr);
    }

    QByteArray source = GrowingTone();
    RecordingMessages messages;
    std::unique_ptr<CQuilletCtrl> ctrl;
};
} // namespace

TEST_F(RecordingDlgTest, ARecordingMadeInTheDialogBecomesTheInput) {
    GetConfig().SetWaveInDevice(QStringLiteral("Quillet Virtual"));
    GetConfig().SetWaveInLine(QStringLiteral("Line"));
    GetConfig().SetWaveInVolume(1234);
    ctrl->initModel(QString());
    CRingtoneModel& model = ctrl->model();

    Record([&](CRecordingDlg* dialog) {
        // The stored card, line and volume; the volume is set on the card again.
        EXPECT_EQ(dialog->deviceBox()->count(), 2);
        EXPECT_EQ(dialog->deviceBox()->currentText(), "Quillet Virtual");
        EXPECT_EQ(dialog->lineBox()->currentText(), "Line");
        EXPECT_EQ(dialog->volumeSlider()->value(), 1234);
        EXPECT_EQ(CardVolume("Line"), 1234u);
        EXPECT_EQ(dialog->timeLabel()->text(), "00:00");
        EXPECT_FALSE(dialog->stopButton()->isEnabled());

        // Monitoring: the meters move before recording, left louder than right; the full-scale
        // sample lights the left lamp for two seconds of its clock.
        int64_t now = 1000;
        CAudioLevelMeter* left = dialog->meter(0);
        left->setClock([&] { return now; });
        ASSERT_TRUE(WaitUntil([&] { return left->clipLit(); }, 5000));
        EXPECT_GT(left->state().Current(), -30.0);
        EXPECT_GT(left->state().Current(), dialog->meter(1)->state().Current());
        EXPECT_FALSE(dialog->meter(1)->clipLit());
        ASSERT_TRUE(WaitUntil([&] { return dialog->waveMonitor()->points().size() > 100; }));
        SaveShot(dialog, QStringLiteral("recording_en"));
        now += 1999;
        EXPECT_TRUE(left->clipLit());
        now += 1;
        EXPECT_FALSE(left->clipLit());

        dialog->startButton()->click();
        EXPECT_TRUE(model.isRecording());
        EXPECT_FALSE(dialog->deviceBox()->isEnabled());
        EXPECT_FALSE(dialog->closeButton()->isEnabled());
        dialog->reject(); // refused while recording
        EXPECT_TRUE(dialog->isVisible());
        // The time reports reach the model as the main control's posted events.
        ASSERT_TRUE(WaitUntil([&] { return model.getDuration() >= 1500; }, 10000));
        dialog->stopButton()->click();
        EXPECT_FALSE(model.isRecording());
        EXPECT_EQ(dialog->timeLabel()->text(),
                  QString::asprintf("00:%02d", int(model.getDuration() / 1000)));
        dialog->volumeSlider()->setValue(4000);
        EXPECT_EQ(CardVolume("Line"), 4000u);
    });

    // Whole capture buffers of the card's stream, none dropped or doubled.
    const QByteArray recorded = ReadBytes(CRingtoneModel::workWavFileName()).mid(44);
    ASSERT_GE(recorded.size(), 176400 * 3 / 2);
    EXPECT_EQ(recorded.size() % kBuffer, 0);
    const QByteArray stream = source + QByteArray(recorded.size(), '\0');
    int offset = -1;
    for (int at = 0; at < source.size() && offset < 0; at += kBuffer)
        offset = stream.mid(at, recorded.size()) == recorded ? at : -1;
    EXPECT_GE(offset, kBuffer); // monitoring ran before the recording
    EXPECT_EQ(model.getDuration(), int64_t(recorded.size()) * 1000 / 176400);
    EXPECT_EQ(model.getInputType(), CRingtoneModel::InputType::Recording);
    EXPECT_EQ(model.getInputName(), "Recorded from [Line]");
    EXPECT_EQ(GetConfig().GetWaveInVolume(), 4000);
    EXPECT_TRUE(messages.errors.isEmpty());

    // In German, on a card that fails after 2 s of capture: the session ends with the message,
    // the dialog notices, and what was recorded stays the input.
    ASSERT_TRUE(StartLanguage(GetTraFilePath(QStringLiteral("de")), GetLanguageMemoryPath()));
    qputenv("QUILLET_VIRTUAL_IN_FAIL", QByteArray::number(2 * 176400));
    CAudioCore::destroyInstance(); // a new card: its volumes start afresh
    Record([&](CRecordingDlg* dialog) {
        EXPECT_EQ(dialog->volumeSlider()->value(), 4000);
        EXPECT_EQ(CardVolume("Line"), 4000u);
        EXPECT_EQ(dialog->startButton()->text(), "Aufnahme starten");
        ASSERT_TRUE(WaitUntil([&] { return dialog->meter(0)->state().Current() > -30; }));
        SaveShot(dialog, QStringLiteral("recording_de"));
        // Monitoring restarted on every change of card, a session started and stopped each time.
        for (int cycle = 30; cycle > 0; --cycle) {
            dialog->deviceBox()->setCurrentIndex(cycle % 2);
            dialog->startButton()->click();
            ASSERT_TRUE(model.isRecording()) << cycle;
            dialog->stopButton()->click();
            EXPECT_EQ(QFile::exists(CRingtoneModel::workWavFileName()), model.getDuration() > 0);
        }
        EXPECT_EQ(dialog->deviceBox()->currentText(), "Quillet Virtual");
        EXPECT_TRUE(messages.errors.isEmpty());
        dialog->startButton()->click();
        ASSERT_TRUE(WaitUntil([&] { return dialog->startButton()->isEnabled(); }, 10000));
        EXPECT_FALSE(dialog->stopButton()->isEnabled());
    });
    EXPECT_EQ(messages.errors, QStringList{FormatString(IDS_RECORDING_STOPPED,
                                                        LoadString(IDS_SOUND_DEVICE_FAILED))});
    EXPECT_GT(model.getDuration(), 0);
    EXPECT_LT(model.getDuration(), 2000);
}
