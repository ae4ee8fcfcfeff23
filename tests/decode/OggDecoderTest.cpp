// Tests of the OGG Vorbis decoder: the decoded signal, progress, cancel and damaged input.
#include "decode/OggDecoder.h"
#include "decode/DecoderFixture.h"
#include "support/TraceCapture.h"

#include <QThread>
#include <ctime>
#include <vorbis/vorbisfile.h>

using namespace decodetest;

namespace {

// Writes an OGG file of a sine tone through the program's encoder; channel c gets the amplitude
// amplitudes[c]. Returns the number of frames encoded.
int MakeToneOgg(const QString& path, int rate, double seconds, double frequency,
                const std::vector<double>& amplitudes, int quality = 4) {
    const int frames = int(std::lround(seconds * rate));
    WriteOgg(path, SinePcm(rate, frames, frequency, amplitudes), int(amplitudes.size()), rate,
             quality);
    return frames;
}

class OggDecoderTest : public DecoderFixture<COggDecoder> {
protected:
    // True when a trace line holds the text.
    bool traced(const QString& text) const { return !m_trace.lines().filter(text).isEmpty(); }
    TraceCapture m_trace{TRACE_ERROR};
};

} // namespace

TEST_F(OggDecoderTest, TonesComeBackAtTheirFrequencyLevelLengthAndProgress) {
    const struct {
        int rate;
        double seconds;
        std::vector<double> levels;
        int quality;
    } cases[] = {{44100, 2.0, {0.5, 0.25}, 4}, {22050, 1.5, {0.7}, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        const int frames =
            MakeToneOgg(path("tone.ogg"), c.rate, c.seconds, 1000.0, c.levels, c.quality);
        WriteBytes(path("out.wav"), "an older file that the decoder replaces");
        const Decoded d = decoded(path("tone.ogg"));
        EXPECT_EQ(d.errorCode, 0u);
        EXPECT_EQ(FormatHex(d.wav.format),
                  FormatHex(MakePcmFormat(uint16_t(c.levels.size()), uint32_t(c.rate), 16)));
        EXPECT_NEAR(d.wav.frames(), frames, 1);
        std::vector<ToneOf> tones;
        for (const double level : c.levels)
            tones.push_back({1000.0, level});
        ExpectTones(d.wav, tones, uint32_t(c.rate / 10), uint32_t(c.rate / 2), 0.025);

        // Progress counts compressed bytes up to the whole file, once per block of at most 4096
        // bytes.
        OggVorbis_File file{};
        ASSERT_EQ(ov_fopen(QFile::encodeName(path("tone.ogg")).constData(), &file), 0);
        EXPECT_EQ(d.progress->ranges(), std::vector<uint32_t>{uint32_t(ov_raw_total(&file, 0))});
        ov_clear(&file);
        EXPECT_TRUE(d.progress->shown());
        const std::vector<uint32_t> done = d.progress->positions();
        ASSERT_GE(done.size(), size_t(d.wav.data.size() / 4096));
        EXPECT_TRUE(d.progress->positionsRise());
        EXPECT_EQ(done.back(), uint32_t(QFile(path("tone.ogg")).size()));
    }
}

TEST_F(OggDecoderTest, CancelGivesResultOneAndRemovesTheOutput) {
    MakeToneOgg(path("tone.ogg"), 44100, 1.0, 1000.0, {0.5, 0.5});
    const Decoded d = decode(path("tone.ogg"), 2);
    EXPECT_EQ(d.result, uint32_t(OpCancelled));
    EXPECT_EQ(d.progress->positions().size(), 2u);
    EXPECT_FALSE(d.outputExists);
    EXPECT_TRUE(d.errorText.isEmpty());
}

TEST_F(OggDecoderTest, ChainedFileIsNotSupported) {
    MakeToneOgg(path("one.ogg"), 44100, 0.5, 1000.0, {0.5, 0.5});
    // The second stream starts in a later second, so it gets a serial number of its own.
    const std::time_t first = std::time(nullptr);
    while (std::time(nullptr) == first)
        QThread::msleep(20);
    MakeToneOgg(path("two.ogg"), 44100, 0.5, 500.0, {0.5, 0.5});
    expectFailure(make("chained.ogg", ReadBytes(path("one.ogg")) + ReadBytes(path("two.ogg"))),
                  OpNotSupported, "Cannot open ogg files with multiple streams.");
}

TEST_F(OggDecoderTest, DamagedOrMissingInputFailsWithoutOutputOrDecodesWhatIsThere) {
    const int frames = MakeToneOgg(path("tone.ogg"), 44100, 10.0, 1000.0, {0.5, 0.5});
    const QByteArray whole = ReadBytes(path("tone.ogg"));

    // Cut short in the middle of a page: the audio up to the last whole page comes back.
    const Decoded cut = decoded(make("short.ogg", whole.left(whole.size() * 6 / 10 + 11)));
    EXPECT_GT(cut.wav.frames(), uint32_t(frames * 4 / 10));
    EXPECT_LT(cut.wav.frames(), uint32_t(frames * 6 / 10));
    ExpectTones(cut.wav, {{1000, 0.5}, {1000, 0.5}}, 4410, 22050, 0.025);

    // Bytes flipped in the middle: the page fails its checksum and the stream has a hole.
    QByteArray broken = whole;
    for (qsizetype at = whole.size() / 2; at < whole.size() / 2 + 64; ++at)
        broken[at] = char(~broken[at]);
    expectFailure(make("broken.ogg", broken), OpFailed, QString());
    EXPECT_TRUE(traced(" ERR: COggDecoder::decodeFile failed: error reading ogg file"));

    // Not Vorbis at all (noise, an MP3 frame header followed by zeros, the headers cut short):
    // refused before any progress is shown; a missing file likewise, with the system's reason.
    for (const QString& input :
         {make("noise.ogg", RandomBytes(20000, 7)),
          make("frames.ogg", QByteArray("\xFF\xFB\x90\x64", 4) + QByteArray(4000, '\0')),
          make("stub.ogg", whole.left(100))})
        EXPECT_FALSE(expectFailure(input, OpFailed, QString()).progress->shown());
    EXPECT_EQ(m_trace.lines().filter("failed: failed to open file as vorbis file").size(), 3);
    expectFailure(path("absent.ogg"), OpFailed, QString(), false);
    EXPECT_TRUE(traced(QStringLiteral(" ERR: failed to open input file: %1; error = %2")
                           .arg(path("absent.ogg"), QString::fromLocal8Bit(strerror(ENOENT)))));
}

TEST_F(OggDecoderTest, StreamWithoutAudioGivesAnEmptyWav) {
    WriteOgg(path("silent.ogg"), QByteArray(), 1, 8000);
    const Decoded d = decoded(path("silent.ogg"));
    EXPECT_EQ(FormatHex(d.wav.format), FormatHex(MakePcmFormat(1, 8000, 16)));
    EXPECT_EQ(d.wav.data.size(), 0);
}

TEST_F(OggDecoderTest, OutputThatCannotBeWrittenGivesTheSystemErrorText) {
    MakeToneOgg(path("tone.ogg"), 44100, 1.0, 1000.0, {0.5, 0.5});
    // A missing folder, and a full disk that refuses the header or the samples.
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), path("full.wav")));
    for (const auto& [output, code] :
         {std::pair(path("no/such/folder/out.wav"), ENOENT), std::pair(path("full.wav"), ENOSPC)}) {
        const Decoded d = decode(path("tone.ogg"), -1, output);
        EXPECT_EQ(d.result, uint32_t(OpFailed));
        EXPECT_EQ(d.errorCode, uint32_t(code));
        EXPECT_EQ(d.errorText, IDecoder::systemErrorText(code));
        EXPECT_FALSE(d.outputExists);
    }
    EXPECT_TRUE(traced(" ERR: COggDecoder::decodeFile failed: error creating dest wav file"));
}
