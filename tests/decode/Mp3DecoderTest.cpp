// Tests of the MP3 decoder: tones decode back to their frequency and level, the ID3v2 skip,
// damaged input, cancel and progress.
#include "decode/Mp3Decoder.h"
#include "DecodedTone.h"
#include "app/OpResult.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace decodetest;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

namespace {

constexpr uint32_t kLayer3Frame = 1152;     // samples per MPEG-1 layer III frame
constexpr uint32_t kLayer3FrameLsf = 576;   // samples per MPEG-2 layer III frame
constexpr double kLevelTolerance = 0.03;    // of full scale
constexpr double kFrequencyTolerance = 5.0; // Hz

using Mp3DecoderTest = DecoderFixture<CMp3Decoder>;

// An ID3v2.3 header whose synchsafe size bytes are given as they stand.
QByteArray Id3Header(uint8_t s0, uint8_t s1, uint8_t s2, uint8_t s3) {
    QByteArray h("ID3\x03\x00\x00", 6);
    h.append(char(s0)).append(char(s1)).append(char(s2)).append(char(s3));
    return h;
}

} // namespace

TEST(Mp3SampleConversion, ClipsAtFullScaleAndTruncatesBelow) {
    EXPECT_EQ(CMp3Decoder::convertSample(0x10000000), 32767);
    EXPECT_EQ(CMp3Decoder::convertSample(-0x10000000), -32767);
    EXPECT_EQ(CMp3Decoder::convertSample(-0x10000000 + 1), -32768);
    EXPECT_EQ(CMp3Decoder::convertSample(0x2000), 1);
    EXPECT_EQ(CMp3Decoder::convertSample(0x1FFF), 0);
    EXPECT_EQ(CMp3Decoder::convertSample(-1), -1); // toward minus infinity, no rounding
    EXPECT_EQ(CMp3Decoder::convertSample(0x08000000), 16384);
}

TEST_F(Mp3DecoderTest, StereoToneDecodesToItsChannelsFrequenciesAndLevels) {
    const QString input = Fixture("tone-stereo-44k.mp3");
    const Decoded d = decoded(input);
    EXPECT_TRUE(d.errorText.isEmpty());
    EXPECT_EQ(FormatHex(d.wav.format), FormatHex(MakePcmFormat(2, 44100, 16)));
    // Whole frames: 2 s of tone plus the encoder's delay, padding and its silent info frame.
    EXPECT_EQ(d.wav.frames() % kLayer3Frame, 0u);
    EXPECT_GE(d.wav.frames(), 88200u);
    EXPECT_LE(d.wav.frames(), 88200u + 3 * kLayer3Frame);

    // Left 1000 Hz, right 2000 Hz, each at half of full scale, and nothing of the other.
    const uint32_t first = 11025, count = 44100; // 1 s from 0.25 s
    EXPECT_NEAR(ZeroCrossingFrequency(d.wav, 0, first, count), 1000.0, kFrequencyTolerance);
    EXPECT_NEAR(ZeroCrossingFrequency(d.wav, 1, first, count), 2000.0, kFrequencyTolerance);
    EXPECT_NEAR(ToneLevel(d.wav, 0, 1000, first, count), 0.5, kLevelTolerance);
    EXPECT_NEAR(ToneLevel(d.wav, 1, 2000, first, count), 0.5, kLevelTolerance);
    EXPECT_LT(ToneLevel(d.wav, 0, 2000, first, count), 0.01);
    EXPECT_LT(ToneLevel(d.wav, 1, 1000, first, count), 0.01);

    // Progress: compressed bytes of the whole file, reported once per decoded frame.
    EXPECT_TRUE(d.progress.shown);
    const auto fileSize = uint32_t(QFile(input).size());
    ASSERT_EQ(d.progress.ranges.size(), 1u);
    EXPECT_EQ(d.progress.ranges[0], fileSize);
    EXPECT_EQ(d.progress.positions.size(), d.wav.frames() / kLayer3Frame);
    EXPECT_TRUE(d.progress.positionsRise());
    ASSERT_FALSE(d.progress.positions.empty());
    EXPECT_EQ(d.progress.positions.back(), fileSize);
}

TEST_F(Mp3DecoderTest, MonoToneKeepsItsRateAndChannel) {
    const Decoded d = decoded(Fixture("tone-mono-22k.mp3"));
    EXPECT_EQ(FormatHex(d.wav.format), FormatHex(MakePcmFormat(1, 22050, 16)));
    EXPECT_EQ(d.wav.frames() % kLayer3FrameLsf, 0u);
    EXPECT_GE(d.wav.frames(), 33075u); // 1.5 s
    EXPECT_LE(d.wav.frames(), 33075u + 4 * kLayer3FrameLsf);
    const uint32_t first = 5512, count = 22050;
    EXPECT_NEAR(ZeroCrossingFrequency(d.wav, 0, first, count), 500.0, kFrequencyTolerance);
    EXPECT_NEAR(ToneLevel(d.wav, 0, 500, first, count), 0.25, kLevelTolerance);
}

TEST_F(Mp3DecoderTest, Id3v2TagIsSkippedAndLeftOutOfTheProgress) {
    // A tag written by an encoder, with padding.
    const QString taggedInput = Fixture("tone-id3.mp3");
    const Decoded tagged = decoded(taggedInput);
    EXPECT_EQ(FormatHex(tagged.wav.format), FormatHex(MakePcmFormat(2, 32000, 16)));
    EXPECT_NEAR(ToneLevel(tagged.wav, 0, 1000, 8000, 16000), 0.5, kLevelTolerance);
    EXPECT_NEAR(ToneLevel(tagged.wav, 1, 1000, 8000, 16000), 0.5, kLevelTolerance);
    const QByteArray head = ReadBytes(taggedInput).left(10);
    const uint32_t tagLength = 10 + (uint32_t(head[6]) << 21) + (uint32_t(head[7]) << 14) +
                               (uint32_t(head[8]) << 7) + uint32_t(head[9]);
    EXPECT_GT(tagLength, 1000u);
    ASSERT_EQ(tagged.progress.ranges.size(), 1u);
    EXPECT_EQ(tagged.progress.ranges[0], uint32_t(QFile(taggedInput).size()) - tagLength);

    // A tag of synchsafe size 1000 (bytes 00 00 07 68) that holds valid mono 22.05 kHz frames:
    // decoding starts at 1010, behind them, so the stereo stream alone comes out.
    const Decoded plain = decoded(Fixture("tone-stereo-44k.mp3"));
    const QByteArray stereo = ReadBytes(Fixture("tone-stereo-44k.mp3"));
    const QByteArray decoy = ReadBytes(Fixture("tone-mono-22k.mp3")).left(1000);
    const QString input = make("decoy.mp3", Id3Header(0, 0, 7, 0x68) + decoy + stereo);
    const Decoded d = decoded(input);
    EXPECT_EQ(FormatHex(d.wav.format), FormatHex(MakePcmFormat(2, 44100, 16)));
    EXPECT_EQ(d.wav.data, plain.wav.data);
    ASSERT_EQ(d.progress.ranges.size(), 1u);
    EXPECT_EQ(d.progress.ranges[0], uint32_t(QFile(input).size() - 1010));
    EXPECT_EQ(d.progress.ranges[0], uint32_t(stereo.size()));
    EXPECT_EQ(d.progress.positions.back(), uint32_t(stereo.size()));

    // Size bytes with the top bit set are no tag: decoding starts at 0 and the range is the file.
    const QString odd = make("odd.mp3", Id3Header(0x80, 0, 0, 0) + stereo);
    const Decoded o = decoded(odd);
    ASSERT_EQ(o.progress.ranges.size(), 1u);
    EXPECT_EQ(o.progress.ranges[0], uint32_t(stereo.size() + 10));
    EXPECT_EQ(o.wav.data, plain.wav.data);
}

TEST_F(Mp3DecoderTest, DamagedInputFailsCleanlyOrDecodesWhatIsThere) {
    const QByteArray stereo = ReadBytes(Fixture("tone-stereo-44k.mp3"));

    // Cut in the middle of a frame: the frames before the cut decode, the tone intact.
    const Decoded cut = decoded(make("cut.mp3", stereo.left(stereo.size() * 6 / 10 + 77)));
    EXPECT_GT(cut.wav.seconds(), 1.1);
    EXPECT_LT(cut.wav.seconds(), 1.3);
    EXPECT_NEAR(ToneLevel(cut.wav, 0, 1000, 11025, 22050), 0.5, kLevelTolerance);

    // Nothing decodable: result 3, "Invalid mp3 file!", and no output, not even one that was
    // there before.
    const QList<QPair<QString, QByteArray>> invalid = {
        {"random.mp3", RandomBytes(100000, 8)},
        {"zeros.mp3", QByteArray(10000, '\0')},
        {"empty.mp3", QByteArray()},
        {"tag-only.mp3", Id3Header(0, 0, 3, 0x74) + QByteArray(500, '\0')},
        {"tag-longer-than-file.mp3", Id3Header(0, 1, 0, 0) + stereo.left(5000)},
    };
    for (const auto& [name, bytes] : invalid) {
        SCOPED_TRACE(name.toStdString());
        WriteBytes(path("out.wav"), "stale");
        const Decoded d = decode(make(name, bytes));
        EXPECT_EQ(d.result, uint32_t(OpInvalidFile));
        EXPECT_EQ(d.errorText, u"Invalid mp3 file!"_s);
        EXPECT_FALSE(d.outputExists);
    }

    // Random bytes may hold a chance frame header that libmad's sync takes after a refill; such
    // a frame decodes into a complete WAV, never a broken one.
    const Decoded chance = decoded(make("chance.mp3", RandomBytes(100000, 7)));
    EXPECT_TRUE(chance.wav.valid);
    EXPECT_EQ(chance.wav.frames(), kLayer3Frame);

    // An input that cannot be opened: result 2 without a text of its own.
    QFile::remove(path("out.wav"));
    const Decoded missing = decode(path("no-such-file.mp3"));
    EXPECT_EQ(missing.result, uint32_t(OpFailed));
    EXPECT_TRUE(missing.errorText.isEmpty());
    EXPECT_FALSE(missing.outputExists);

    // An output that cannot be created: result 2 with the system's text.
    CMp3Decoder decoder;
    RecordingProgress progress;
    const QString output = path("no-such-folder/out.wav");
    EXPECT_EQ(decoder.decodeFile(Fixture("tone-stereo-44k.mp3"), output, &progress),
              uint32_t(OpFailed));
    EXPECT_EQ(decoder.getErrorCode(), uint32_t(ENOENT));
    EXPECT_EQ(decoder.getErrorText(), IDecoder::systemErrorText(ENOENT));
    EXPECT_TRUE(decoder.getErrorText().endsWith(" (2)"));
    EXPECT_FALSE(QFile::exists(output));
}

TEST_F(Mp3DecoderTest, CancelReturnsOneAndLeavesNoFile) {
    // Before the first read, and in the middle of the frames.
    for (int cancelAt : {0, 1, 20}) {
        SCOPED_TRACE(cancelAt);
        const Decoded d = decode(Fixture("tone-stereo-44k.mp3"), cancelAt);
        EXPECT_EQ(d.result, uint32_t(OpCancelled));
        EXPECT_TRUE(d.errorText.isEmpty());
        EXPECT_FALSE(d.outputExists);
        EXPECT_EQ(d.progress.canceledCalls, cancelAt + 1); // stopped at the first yes
    }
}
