// Tests of the Windows Media decoder: WMA and WMV tones decode back to their signal, files without
// audio or with damage fail cleanly, cancel and progress; result 5 in a build without FFmpeg.
#include "decode/WmaDecoder.h"
#include "DecodedTone.h"
#include "app/OpResult.h"
#include "decode/IDecoder.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace decodetest;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

namespace {

constexpr double kLevelTolerance = 0.04;    // of full scale
constexpr double kFrequencyTolerance = 5.0; // Hz

using WmaDecoderTest = DecoderFixture<CWmaDecoder>;

} // namespace

#ifdef QUILLET_WITH_FFMPEG

TEST_F(WmaDecoderTest, WmaToneDecodesToItsChannelsFrequenciesAndLevels) {
    const Decoded d = decoded(Fixture("tone.wma"));
    EXPECT_TRUE(d.errorText.isEmpty());
    EXPECT_EQ(FormatHex(d.wav.format), FormatHex(MakePcmFormat(2, 44100, 16)));
    EXPECT_NEAR(d.wav.seconds(), 2.0, 0.06);

    const uint32_t first = 11025, count = 44100;
    EXPECT_NEAR(ZeroCrossingFrequency(d.wav, 0, first, count), 1000.0, kFrequencyTolerance);
    EXPECT_NEAR(ZeroCrossingFrequency(d.wav, 1, first, count), 2000.0, kFrequencyTolerance);
    EXPECT_NEAR(ToneLevel(d.wav, 0, 1000, first, count), 0.5, kLevelTolerance);
    EXPECT_NEAR(ToneLevel(d.wav, 1, 2000, first, count), 0.5, kLevelTolerance);
    EXPECT_LT(ToneLevel(d.wav, 0, 2000, first, count), 0.01);
    EXPECT_LT(ToneLevel(d.wav, 1, 1000, first, count), 0.01);

    // Progress in milliseconds of media time over the header's duration, ending at it.
    EXPECT_TRUE(d.progress.shown);
    ASSERT_EQ(d.progress.ranges.size(), 1u);
    EXPECT_NEAR(double(d.progress.ranges[0]), 2000.0, 60.0);
    ASSERT_GT(d.progress.positions.size(), 20u);
    EXPECT_TRUE(d.progress.positionsRise());
    EXPECT_EQ(d.progress.positions.back(), d.progress.ranges[0]);
}

TEST_F(WmaDecoderTest, VideoFileGivesOnlyItsAudio) {
    const Decoded d = decoded(Fixture("video-tone.wmv"));
    EXPECT_EQ(FormatHex(d.wav.format), FormatHex(MakePcmFormat(1, 22050, 16)));
    EXPECT_NEAR(d.wav.seconds(), 1.5, 0.06);
    const uint32_t first = 5512, count = 22050;
    EXPECT_NEAR(ZeroCrossingFrequency(d.wav, 0, first, count), 500.0, kFrequencyTolerance);
    EXPECT_NEAR(ToneLevel(d.wav, 0, 500, first, count), 0.25, kLevelTolerance);
    ASSERT_EQ(d.progress.ranges.size(), 1u);
    EXPECT_NEAR(double(d.progress.ranges[0]), 1500.0, 120.0);
}

TEST_F(WmaDecoderTest, FileWithoutDurationDecodesOverAnEmptyRange) {
    // Written as a stream, the header carries no play duration.
    const Decoded d = decoded(Fixture("tone-streamed.wma"));
    EXPECT_NEAR(d.wav.seconds(), 1.0, 0.06);
    EXPECT_NEAR(ToneLevel(d.wav, 0, 1000, 11025, 22050), 0.5, kLevelTolerance);
    ASSERT_EQ(d.progress.ranges.size(), 1u);
    EXPECT_EQ(d.progress.ranges[0], 0u);
    ASSERT_FALSE(d.progress.positions.empty());
    EXPECT_NEAR(double(d.progress.positions.back()), 1000.0, 60.0);
}

TEST_F(WmaDecoderTest, NoAudioOrDamagedInputFailsWithoutOutput) {
    const QByteArray wma = ReadBytes(Fixture("tone.wma"));
    // Each fails with result 2, FFmpeg's text for the reason and no output file, not even one
    // that was there before.
    const QList<QPair<QString, QString>> failing = {
        {Fixture("video-only.asf"), "Stream not found"},
        {make("random.wma", RandomBytes(50000, 11)), "Invalid data found when processing input"},
        {make("mp3.wma", ReadBytes(Fixture("tone-stereo-44k.mp3"))),
         "Invalid data found when processing input"},
        {make("header-cut.wma", wma.left(300)), "Invalid data found when processing input"},
        {make("empty.wma", QByteArray()), "Invalid data found when processing input"},
        {path("no-such-file.wma"), "No such file or directory"},
    };
    for (const auto& [input, text] : failing) {
        SCOPED_TRACE(input.toStdString());
        WriteBytes(path("out.wav"), "stale");
        const Decoded d = decode(input);
        EXPECT_EQ(d.result, uint32_t(OpFailed));
        EXPECT_EQ(d.errorText, text);
        EXPECT_FALSE(d.outputExists);
    }

    // Cut in the middle: the packets before the cut decode, the tone intact.
    const Decoded cut = decoded(make("cut.wma", wma.left(wma.size() / 2 + 101)));
    EXPECT_GT(cut.wav.seconds(), 0.8);
    EXPECT_LT(cut.wav.seconds(), 1.1);
    EXPECT_NEAR(ToneLevel(cut.wav, 0, 1000, 11025, 22050), 0.5, kLevelTolerance);

    // Damage inside the packets (every 97th byte behind the header flipped): the damaged frames
    // are skipped, the rest decodes.
    QByteArray damaged = wma;
    for (int i = 6000; i < damaged.size(); i += 97)
        damaged[i] = char(~damaged[i]);
    const Decoded hurt = decoded(make("damaged.wma", damaged));
    EXPECT_TRUE(hurt.wav.valid);
    EXPECT_GT(hurt.wav.seconds(), 1.0);
    EXPECT_LT(hurt.wav.seconds(), 2.06);

    // An output that cannot be created: result 2 and no file.
    CWmaDecoder decoder;
    RecordingProgress progress;
    const QString output = path("no-such-folder/out.wav");
    EXPECT_EQ(decoder.decodeFile(Fixture("tone.wma"), output, &progress), uint32_t(OpFailed));
    EXPECT_TRUE(decoder.getErrorText().isEmpty()); // the caller's "Error decoding file" stands
    EXPECT_FALSE(QFile::exists(output));
}

TEST_F(WmaDecoderTest, CancelReturnsOneAndLeavesNoFile) {
    for (int cancelAt : {0, 10}) {
        SCOPED_TRACE(cancelAt);
        const Decoded d = decode(Fixture("video-tone.wmv"), cancelAt);
        EXPECT_EQ(d.result, uint32_t(OpCancelled));
        EXPECT_TRUE(d.errorText.isEmpty());
        EXPECT_FALSE(d.outputExists);
        EXPECT_EQ(d.progress.canceledCalls, cancelAt + 1);
    }
}

#else

TEST_F(WmaDecoderTest, BuildWithoutFfmpegReportsMissingComponents) {
    WriteBytes(path("out.wav"), "stale");
    const Decoded d = decode(Fixture("tone.wma"));
    EXPECT_EQ(d.result, uint32_t(OpComponentsMissing));
    EXPECT_EQ(d.errorText,
              QStringLiteral("Windows media format components are not installed or they are too "
                             "old! Please install the Window Media Player 9 or newer."));
    EXPECT_FALSE(d.outputExists);
}

#endif
