// Tests of the Windows Media decoder: WMA and WMV tones decode back to their signal, files without
// audio or with damage fail cleanly, cancel and progress; result 5 in a build without FFmpeg.
#include "decode/WmaDecoder.h"
#include "decode/DecoderFixture.h"

using namespace decodetest;

namespace {
constexpr double kLevelTolerance = 0.04; // of full scale
using WmaDecoderTest = DecoderFixture<CWmaDecoder>;
} // namespace

#ifdef QUILLET_WITH_FFMPEG

TEST_F(WmaDecoderTest, TonesDecodeToTheirChannelsLevelsAndMediaTimeProgress) {
    // Progress runs in milliseconds of media time over the header's duration and ends at it; a
    // file written as a stream has no duration in its header and an empty range.
    const struct {
        const char* name;
        WAVEFORMATEX format;
        double seconds;
        std::vector<ToneOf> tones;
        double range, rangeTolerance;
    } cases[] = {
        {"tone.wma", MakePcmFormat(2, 44100, 16), 2.0, {{1000, .5}, {2000, .5}}, 2000, 60},
        {"video-tone.wmv", MakePcmFormat(1, 22050, 16), 1.5, {{500, 0.25}}, 1500, 120},
        {"tone-streamed.wma", MakePcmFormat(2, 44100, 16), 1.0, {{1000, .5}, {2000, .5}}, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded d = decoded(Fixture(c.name));
        EXPECT_EQ(FormatHex(d.wav.format), FormatHex(c.format));
        EXPECT_NEAR(d.wav.seconds(), c.seconds, 0.06);
        const uint32_t rate = c.format.nSamplesPerSec;
        ExpectTones(d.wav, c.tones, rate / 4, rate / 2, kLevelTolerance);

        EXPECT_TRUE(d.progress->shown());
        const std::vector<uint32_t> ranges = d.progress->ranges();
        ASSERT_EQ(ranges.size(), 1u);
        EXPECT_NEAR(double(ranges[0]), c.range, c.rangeTolerance);
        const std::vector<uint32_t> done = d.progress->positions();
        ASSERT_GT(done.size(), 20u);
        EXPECT_TRUE(d.progress->positionsRise());
        EXPECT_NEAR(double(done.back()), c.seconds * 1000, 60.0);
        if (c.name == std::string("tone.wma")) {
            EXPECT_EQ(done.back(), ranges[0]);
        }
    }
}

TEST_F(WmaDecoderTest, NoAudioOrDamagedInputFailsWithoutOutput) {
    const QByteArray wma = ReadBytes(Fixture("tone.wma"));
    // Each fails with result 2 and FFmpeg's text for the reason.
    const QString invalid = "Invalid data found when processing input";
    expectFailure(Fixture("video-only.asf"), OpFailed, "Stream not found");
    expectFailure(make("random.wma", RandomBytes(50000, 11)), OpFailed, invalid);
    expectFailure(make("mp3.wma", ReadBytes(Fixture("tone-stereo-44k.mp3"))), OpFailed, invalid);
    expectFailure(make("header-cut.wma", wma.left(300)), OpFailed, invalid);
    expectFailure(make("empty.wma", QByteArray()), OpFailed, invalid);
    expectFailure(path("no-such-file.wma"), OpFailed, "No such file or directory");

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
    EXPECT_GT(hurt.wav.seconds(), 1.0);
    EXPECT_LT(hurt.wav.seconds(), 2.06);

    // An output that cannot be created: result 2, no file, and no text (the caller's "Error
    // decoding file" stands).
    const Decoded d = decode(Fixture("tone.wma"), -1, path("no-such-folder/out.wav"));
    EXPECT_EQ(d.result, uint32_t(OpFailed));
    EXPECT_TRUE(d.errorText.isEmpty());
    EXPECT_FALSE(d.outputExists);
}

TEST_F(WmaDecoderTest, CancelReturnsOneAndLeavesNoFile) {
    for (int cancelAt : {0, 10}) {
        SCOPED_TRACE(cancelAt);
        const Decoded d = decode(Fixture("video-tone.wmv"), cancelAt);
        EXPECT_EQ(d.result, uint32_t(OpCancelled));
        EXPECT_TRUE(d.errorText.isEmpty());
        EXPECT_FALSE(d.outputExists);
        EXPECT_EQ(d.progress->asked, cancelAt + 1);
    }
}

#else

TEST_F(WmaDecoderTest, BuildWithoutFfmpegReportsMissingComponents) {
    expectFailure(Fixture("tone.wma"), OpComponentsMissing,
                  "Windows media format components are not installed or they are too old! Please "
                  "install the Window Media Player 9 or newer.");
}

#endif
