// The player on ALSA (through ALSA's file plugin) and on the virtual card: the exact samples, the
// real-time pacing, the end notification and the failures; start and stop from several threads.
#include "audio/SoundTestSupport.h"
#include "support/TraceCapture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace soundtest;
using namespace testsupport;

namespace {
constexpr WAVEFORMATEX kStereo = MakePcmFormat(2, 44100, 16);

class WavPlayerTest : public ::testing::Test {
protected:
    QTemporaryDir temp;
    // A stereo 16-bit WAV tone of seconds; returns its path.
    QString MakeWav(const QString& name, int seconds, QByteArray* data = nullptr) {
        const QByteArray frames = SinePcm(44100, 44100 * seconds, 440, {0.6, 0.3});
        if (data)
            *data = frames;
        WriteWav(temp.filePath(name), kStereo, frames);
        return temp.filePath(name);
    }
};
} // namespace

TEST_F(WavPlayerTest, AlsaReceivesTheInputAsIsAndTheRingtoneAsTheExtractionMakesIt) {
    // Two PCMs of ALSA's file plugin, defined in an asoundrc of a home of this test's own.
    const QString asoundrc =
        QStringLiteral("pcm.quillet_input { type file; slave.pcm \"null\"; file \"%1/input.raw\"; "
                       "format \"raw\" }\n"
                       "pcm.quillet_ringtone { type file; slave.pcm \"null\"; file "
                       "\"%1/ringtone.raw\"; format \"raw\" }\n")
            .arg(temp.path());
    WriteBytes(temp.filePath(".asoundrc"), asoundrc.toUtf8());
    qputenv("HOME", temp.path().toUtf8());
    UseBackend(nullptr);
    QByteArray data;
    const QString wav = MakeWav("in.wav", 4, &data);

    EndWaiter waiter;
    CWavPlayer player(&waiter);
    player.setDevice("quillet_input");
    ASSERT_TRUE(player.play(wav, 0, 60000, CCutInfo())); // an end past the data plays to its end
    ASSERT_TRUE(waiter.waitForCount(1));
    EXPECT_EQ(waiter.errors(), 0);
    EXPECT_EQ(ReadBytes(temp.filePath("input.raw")), data);

    CCutInfo cut;
    cut.setStart(500);
    cut.setEnd(3500);
    cut.setFadeIn(2000);
    cut.setFadeOut(500);
    cut.validate();
    ASSERT_TRUE(cut.isValid());
    player.setGain(1.5);
    player.setDevice("quillet_ringtone");
    ASSERT_TRUE(player.play(wav, cut.start(), cut.end(), cut));
    ASSERT_TRUE(waiter.waitForCount(2));
    EXPECT_EQ(waiter.errors(), 0);
    const QByteArray ringtone = ReadBytes(temp.filePath("ringtone.raw"));
    EXPECT_EQ(ringtone, ExtractedSamples(data, kStereo, cut, 1.5));
    EXPECT_EQ(ringtone.size(), 3 * 176400);
}

TEST_F(WavPlayerTest, VirtualCardPlaysAtRealTimeIntoItsFile) {
    qputenv("QUILLET_VIRTUAL_OUT", temp.filePath("out.wav").toUtf8());
    UseBackend("virtual");
    QByteArray data;
    const QString wav = MakeWav("in.wav", 3, &data);
    EndWaiter waiter;
    CWavPlayer player(&waiter);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(player.play(wav, 0, 3000, CCutInfo()));
    ASSERT_TRUE(waiter.waitForCount(1));
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(elapsed, 2850); // 3 s of sound take 3 s, not less
    EXPECT_LE(elapsed, 4500); // and not much more, even under a sanitizer
    EXPECT_EQ(waiter.errors(), 0);
    WriteWav(temp.filePath("expected.wav"), kStereo, data);
    EXPECT_EQ(ReadBytes(temp.filePath("out.wav")), ReadBytes(temp.filePath("expected.wav")));
    EXPECT_EQ(player.position(), 3000);
}

TEST_F(WavPlayerTest, StartsAndStopsFromEveryThreadWithoutLosingOrInventingAnEnd) {
    qunsetenv("QUILLET_VIRTUAL_OUT");
    UseBackend("virtual");
    const QString wav = MakeWav("in.wav", 3);
    EndWaiter waiter;
    CWavPlayer player(&waiter);

    // Stopped runs never report their end, whether the stop comes during the start or later.
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(player.play(wav, 0, 3000, CCutInfo()));
        player.stop();
        ASSERT_FALSE(player.isPlaying());
    }
    ASSERT_TRUE(player.play(wav, 0, 3000, CCutInfo()));
    QElapsedTimer waited;
    waited.start();
    while (player.position() == 0 && waited.elapsed() < 5000)
        std::this_thread::yield();
    QElapsedTimer stopping;
    stopping.start();
    player.stop(); // with the device busy playing
    EXPECT_LT(stopping.elapsed(), 1000);
    // A second play stops the first without an end report.
    ASSERT_TRUE(player.play(wav, 0, 3000, CCutInfo()));
    ASSERT_TRUE(player.play(wav, 1000, 1000, CCutInfo()));
    ASSERT_TRUE(waiter.waitForCount(1));
    EXPECT_EQ(waiter.count(), 1);

    // Every run that ends by itself reports exactly once, also when its callback calls stop().
    waiter.stopFromCallback = &player;
    for (int i = 2; i <= 300; ++i) {
        ASSERT_TRUE(player.play(wav, 1000, 1000, CCutInfo())); // nothing to play
        ASSERT_TRUE(waiter.waitForCount(i)) << "run " << i;
    }
    player.stop();
    EXPECT_EQ(waiter.count(), 300);
    EXPECT_EQ(waiter.errors(), 0);
}

TEST_F(WavPlayerTest, FailuresEndTheRunWithAnErrorAndTheirTraceLine) {
    UseBackend("virtual");
    TraceCapture trace(TRACE_ERROR);
    EndWaiter waiter;
    CWavPlayer player(&waiter);
    const QString eightBit = temp.filePath("8bit.wav");
    WriteWav(eightBit, MakePcmFormat(1, 8000, 8), QByteArray(8000, '\x80'));
    ASSERT_TRUE(player.play(eightBit, 0, 1000, CCutInfo()));
    ASSERT_TRUE(waiter.waitForCount(1));
    ASSERT_TRUE(player.play(temp.filePath("missing.wav"), 0, 1000, CCutInfo()));
    ASSERT_TRUE(waiter.waitForCount(2));
    player.setDevice("no such device");
    ASSERT_TRUE(player.play(MakeWav("in.wav", 1), 0, 1000, CCutInfo()));
    ASSERT_TRUE(waiter.waitForCount(3));
    EXPECT_EQ(waiter.errors(), 3);
    EXPECT_TRUE(trace.hasLine("ERR", "error while playing: not supported wav file"));
    EXPECT_TRUE(trace.hasLine("ERR", "error while playing: error initializing waveout: 1"));
    int readerErrors = 0;
    for (const QString& line : trace.lines())
        readerErrors += line.contains("error while playing: ") ? 1 : 0;
    EXPECT_EQ(readerErrors, 3); // the missing file with the reader's own text
}
