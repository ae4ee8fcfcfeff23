// Tests of the MP3 decoder: tones decode back to their frequency and level, the ID3v2 skip,
// damaged input, cancel and progress.
#include "decode/Mp3Decoder.h"
#include "decode/DecoderFixture.h"

using namespace decodetest;

namespace {

constexpr double kLevelTolerance = 0.03; // of full scale

using Mp3DecoderTest = DecoderFixture<CMp3Decoder>;

// An ID3v2.3 header whose synchsafe size bytes are given as they stand.
QByteArray Id3Header(uint8_t s0, uint8_t s1, uint8_t s2, uint8_t s3) {
    return QByteArray("ID3\x03\x00\x00", 6) + char(s0) + char(s1) + char(s2) + char(s3);
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

TEST_F(Mp3DecoderTest, TonesDecodeToTheirFormatChannelsLevelsAndProgress) {
    const struct {
        const char* name;
        WAVEFORMATEX format;
        uint32_t frameSize; // MPEG-1 or MPEG-2 layer III
        uint32_t tone;      // frames of tone encoded
        uint32_t spare;     // frames the encoder may add
        std::vector<ToneOf> tones;
    } cases[] = {
        {"tone-stereo-44k.mp3",
         MakePcmFormat(2, 44100, 16),
         1152,
         88200,
         3,
         {{1000, .5}, {2000, .5}}},
        {"tone-mono-22k.mp3", MakePcmFormat(1, 22050, 16), 576, 33075, 4, {{500, 0.25}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded d = decoded(Fixture(c.name));
        EXPECT_EQ(FormatHex(d.wav.format), FormatHex(c.format));
        // Whole frames: the tone plus the encoder's delay, padding and its silent info frame.
        EXPECT_EQ(d.wav.frames() % c.frameSize, 0u);
        EXPECT_GE(d.wav.frames(), c.tone);
        EXPECT_LE(d.wav.frames(), c.tone + c.spare * c.frameSize);
        const uint32_t rate = c.format.nSamplesPerSec;
        ExpectTones(d.wav, c.tones, rate / 4, rate, kLevelTolerance);

        // Progress: compressed bytes of the whole file, reported once per decoded frame.
        const auto fileSize = uint32_t(QFile(Fixture(c.name)).size());
        EXPECT_TRUE(d.progress->shown());
        EXPECT_EQ(d.progress->ranges(), std::vector<uint32_t>{fileSize});
        const std::vector<uint32_t> done = d.progress->positions();
        ASSERT_EQ(done.size(), d.wav.frames() / c.frameSize);
        EXPECT_TRUE(d.progress->positionsRise());
        EXPECT_EQ(done.back(), fileSize);
    }
}

TEST_F(Mp3DecoderTest, Id3v2TagIsSkippedAndLeftOutOfTheProgress) {
    // A tag written by an encoder, with padding.
    const QString taggedInput = Fixture("tone-id3.mp3");
    const Decoded tagged = decoded(taggedInput);
    EXPECT_EQ(FormatHex(tagged.wav.format), FormatHex(MakePcmFormat(2, 32000, 16)));
    ExpectTones(tagged.wav, {{1000, 0.5}, {1000, 0.5}}, 8000, 16000, kLevelTolerance);
    const QByteArray head = ReadBytes(taggedInput).left(10);
    const uint32_t tagLength = 10 + (uint32_t(head[6]) << 21) + (uint32_t(head[7]) << 14) +
                               (uint32_t(head[8]) << 7) + uint32_t(head[9]);
    EXPECT_GT(tagLength, 1000u);
    EXPECT_EQ(tagged.progress->ranges(),
              std::vector<uint32_t>{uint32_t(QFile(taggedInput).size()) - tagLength});

    // A tag of synchsafe size 1000 (bytes 00 00 07 68) that holds valid mono 22.05 kHz frames:
    // decoding starts at 1010, behind them, so the stereo stream alone comes out.
    const Decoded plain = decoded(Fixture("tone-stereo-44k.mp3"));
    const QByteArray stereo = ReadBytes(Fixture("tone-stereo-44k.mp3"));
    const QByteArray decoy = ReadBytes(Fixture("tone-mono-22k.mp3")).left(1000);
    const Decoded d = decoded(make("decoy.mp3", Id3Header(0, 0, 7, 0x68) + decoy + stereo));
    EXPECT_EQ(d.wav.data, plain.wav.data);
    EXPECT_EQ(d.progress->ranges(), std::vector<uint32_t>{uint32_t(stereo.size())});
    EXPECT_EQ(d.progress->positions().back(), uint32_t(stereo.size()));

    // Size bytes with the top bit set are no tag: decoding starts at 0 and the range is the file.
    const Decoded o = decoded(make("odd.mp3", Id3Header(0x80, 0, 0, 0) + stereo));
    EXPECT_EQ(o.progress->ranges(), std::vector<uint32_t>{uint32_t(stereo.size() + 10)});
    EXPECT_EQ(o.wav.data, plain.wav.data);
}

TEST_F(Mp3DecoderTest, DamagedInputFailsCleanlyOrDecodesWhatIsThere) {
    const QByteArray stereo = ReadBytes(Fixture("tone-stereo-44k.mp3"));

    // Cut in the middle of a frame: the frames before the cut decode, the tone intact.
    const Decoded cut = decoded(make("cut.mp3", stereo.left(stereo.size() * 6 / 10 + 77)));
    EXPECT_GT(cut.wav.seconds(), 1.1);
    EXPECT_LT(cut.wav.seconds(), 1.3);
    EXPECT_NEAR(ToneLevel(cut.wav, 0, 1000, 11025, 22050), 0.5, kLevelTolerance);

    // Nothing decodable: result 3 with its text; an input that cannot be opened: result 2
    // without a text of its own.
    for (const auto& [name, bytes] : std::initializer_list<std::pair<QString, QByteArray>>{
             {"random.mp3", RandomBytes(100000, 8)},
             {"zeros.mp3", QByteArray(10000, '\0')},
             {"empty.mp3", QByteArray()},
             {"tag-only.mp3", Id3Header(0, 0, 3, 0x74) + QByteArray(500, '\0')},
             {"tag-longer-than-file.mp3", Id3Header(0, 1, 0, 0) + stereo.left(5000)}})
        expectFailure(make(name, bytes), OpInvalidFile, "Invalid mp3 file!");
    expectFailure(path("no-such-file.mp3"), OpFailed, QString(), false);

    // Random bytes may hold a chance frame header that libmad's sync takes after a refill; such
    // a frame decodes into a complete WAV, never a broken one.
    EXPECT_EQ(decoded(make("chance.mp3", RandomBytes(100000, 7))).wav.frames(), 1152u);

    // An output that cannot be created: result 2 with the system's text.
    const Decoded d = decode(Fixture("tone-stereo-44k.mp3"), -1, path("no-such-folder/out.wav"));
    EXPECT_EQ(d.result, uint32_t(OpFailed));
    EXPECT_EQ(d.errorCode, uint32_t(ENOENT));
    EXPECT_EQ(d.errorText, IDecoder::systemErrorText(ENOENT));
    EXPECT_FALSE(d.outputExists);
}

TEST_F(Mp3DecoderTest, CancelReturnsOneAndLeavesNoFile) {
    // Before the first read, and in the middle of the frames.
    for (int cancelAt : {0, 1, 20}) {
        SCOPED_TRACE(cancelAt);
        const Decoded d = decode(Fixture("tone-stereo-44k.mp3"), cancelAt);
        EXPECT_EQ(d.result, uint32_t(OpCancelled));
        EXPECT_TRUE(d.errorText.isEmpty());
        EXPECT_FALSE(d.outputExists);
        EXPECT_EQ(d.progress->asked, cancelAt + 1); // stopped at the first yes
    }
}
