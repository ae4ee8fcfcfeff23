// Capture through the sound back ends: ALSA's file plugin and the virtual card deliver exactly
// their input, the test tone has its samples, and a stop ends a blocked read.
#include "audio/SoundTestSupport.h"
#include "platform/audio/AlsaBackend.h"
#include "platform/audio/VirtualBackend.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>

using namespace soundtest;
using namespace testsupport;

namespace {
constexpr WAVEFORMATEX kMono8k = MakePcmFormat(1, 8000, 16);

QByteArray Read(IPcmStream& stream, int bytes) {
    QByteArray data(bytes, '\x55');
    return stream.read(data.data(), uint32_t(bytes)) ? data : QByteArray();
}
} // namespace

TEST(AudioBackend, AlsaCapturesWhatItsFilePluginDelivers) {
    QTemporaryDir temp;
    const QByteArray input = SinePcm(8000, 8000, 440, {0.3}); // 1 s of mono
    WriteBytes(temp.filePath("in.raw"), input);
    WriteBytes(temp.filePath(".asoundrc"),
               QStringLiteral("pcm.quillet_capture { type file; slave.pcm \"null\"; file "
                              "\"%1/copy.raw\"; infile \"%1/in.raw\"; format \"raw\" }\n")
                   .arg(temp.path())
                   .toUtf8());
    qputenv("HOME", temp.path().toUtf8());
    CAlsaBackend alsa;
    std::string error;
    auto stream = alsa.open("quillet_capture", AudioDirection::Capture, kMono8k, error);
    ASSERT_TRUE(stream) << error;
    EXPECT_EQ(Read(*stream, 16000), input);
    EXPECT_FALSE(alsa.open("quillet_nothing", AudioDirection::Render, kMono8k, error));
    EXPECT_FALSE(error.empty());
}

TEST(AudioBackend, VirtualCardCapturesItsFileOrToneAtRealTimeUntilStopped) {
    QTemporaryDir temp;
    const QByteArray input = SinePcm(8000, 2000, 440, {0.3}); // 0.25 s of mono
    WriteWav(temp.filePath("in.wav"), kMono8k, input);
    qputenv("QUILLET_VIRTUAL_IN", temp.filePath("in.wav").toUtf8());
    CVirtualBackend card;
    std::string error;
    auto stream = card.open("default", AudioDirection::Capture, kMono8k, error);
    ASSERT_TRUE(stream) << error;
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(Read(*stream, 4000), input);
    EXPECT_EQ(Read(*stream, 800), QByteArray(800, '\0')); // then silence
    EXPECT_GE(clock.elapsed(), 280); // 0.3 s of sound, delivered as it is "recorded"
    EXPECT_FALSE(card.open("default", AudioDirection::Capture, MakePcmFormat(2, 8000, 16), error));
    EXPECT_EQ(error, "the WAV file's format differs from the one asked for");

    // A stop from another thread ends a read of 10 s at once.
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100)); // well into the read
        stream->stop();
    });
    EXPECT_TRUE(Read(*stream, 160000).isEmpty());
    stopper.join();
    EXPECT_LT(clock.elapsed(), 2000);

    qputenv("QUILLET_VIRTUAL_IN", "tone:1000");
    CVirtualBackend toneCard;
    stream = toneCard.open("Quillet Virtual", AudioDirection::Capture, kMono8k, error);
    ASSERT_TRUE(stream) << error;
    EXPECT_EQ(Read(*stream, 16), SinePcm(8000, 8, 1000, {8192 / 32767.0})); // 8192 * sin
}
