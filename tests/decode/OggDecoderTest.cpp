// Tests of the OGG Vorbis decoder: the decoded signal, progress, cancel and damaged input.
#include "decode/OggDecoder.h"

#include "DecodedTone.h"
#include "app/IOpProgress.h"
#include "app/OpResult.h"
#include "app/Trace.h"
#include "encode/OggFileEncoder.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <cerrno>
#include <cmath>
#include <ctime>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>
#include <vorbis/vorbisfile.h>

using namespace Qt::StringLiterals;

using testsupport::FromUtf16Le;
using testsupport::ReadBytes;
using testsupport::WriteBytes;
using namespace decodetest;

namespace {

// Writes an OGG file of a sine tone through the program's encoder; channel c gets the amplitude
// amplitudes[c]. Returns the number of frames encoded.
int MakeToneOgg(const QString& path, int rate, double seconds, double frequency,
                const std::vector<double>& amplitudes, int quality = 4) {
    const int frames = int(std::lround(seconds * rate));
    const QByteArray pcm = SinePcm(rate, frames, frequency, amplitudes);
    EncoderParams params;
    params.mode = amplitudes.size() == 2 ? EncoderParams::kStereo : EncoderParams::kMono;
    params.sampleRate = uint32_t(rate);
    params.quality = quality;
    COggFileEncoder encoder(path, params);
    for (qsizetype done = 0; done < pcm.size(); done += 65536)
        encoder.encode(pcm.constData() + done,
                       uint32_t(std::min<qsizetype>(65536, pcm.size() - done)));
    return frames;
}

class OggDecoderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_logDir = new QTemporaryDir;
        TraceSetDebugOutput(false);
        TraceSetPrefix(s_logDir->filePath(u"Log"_s));
        TraceSetLevel(TRACE_DETAIL);
    }
    static void TearDownTestSuite() {
        TraceSetLevel(0);
        TraceClose();
        delete s_logDir;
        s_logDir = nullptr;
    }
    // The trace lines written since the last call.
    QString newTraceLines() {
        const QString name = TraceCurrentFileName();
        const QString all = name.isEmpty() ? QString() : FromUtf16Le(ReadBytes(name));
        const QString fresh = all.mid(m_traceSeen);
        m_traceSeen = all.size();
        return fresh;
    }
    void SetUp() override { newTraceLines(); }

    QString path(const QString& name) const { return m_dir.filePath(name); }
    uint32_t decode(const QString& input, const QString& output, IOpProgress& progress) {
        return m_decoder.decodeFile(input, output, &progress);
    }

    QTemporaryDir m_dir;
    COggDecoder m_decoder;
    qsizetype m_traceSeen = 0;
    static QTemporaryDir* s_logDir;
};
QTemporaryDir* OggDecoderTest::s_logDir = nullptr;

// Checks the tone of one channel of a decoded file over half a second after the first tenth.
void ExpectTone(const DecodedWav& wav, uint32_t channel, double frequency, double level) {
    const uint32_t first = wav.format.nSamplesPerSec / 10;
    const uint32_t count = wav.format.nSamplesPerSec / 2;
    ASSERT_GE(wav.frames(), first + count);
    EXPECT_NEAR(ZeroCrossingFrequency(wav, channel, first, count), frequency, 2.0)
        << "channel " << channel;
    EXPECT_NEAR(ToneLevel(wav, channel, frequency, first, count), level, level * 0.05)
        << "channel " << channel;
    EXPECT_LT(ToneLevel(wav, channel, frequency * 1.5, first, count), level * 0.01)
        << "channel " << channel;
}

TEST_F(OggDecoderTest, StereoToneComesBackAtItsFrequencyLevelAndLength) {
    const int frames = MakeToneOgg(path("tone.ogg"), 44100, 2.0, 1000.0, {0.5, 0.25});
    WriteBytes(path("out.wav"), "an older file that the decoder replaces");
    RecordingProgress progress;
    ASSERT_EQ(decode(path("tone.ogg"), path("out.wav"), progress), uint32_t(OpSuccess));
    EXPECT_TRUE(m_decoder.getErrorText().isEmpty());
    EXPECT_EQ(m_decoder.getErrorCode(), 0u);

    const DecodedWav wav = ReadDecodedWav(path("out.wav"));
    ASSERT_TRUE(wav.valid);
    EXPECT_EQ(FormatHex(wav.format), FormatHex(MakePcmFormat(2, 44100, 16)));
    EXPECT_NEAR(wav.frames(), frames, 1);
    ExpectTone(wav, 0, 1000.0, 0.5);
    ExpectTone(wav, 1, 1000.0, 0.25);

    // Progress counts compressed bytes up to the whole file, once per block of at most 4096 bytes.
    const qint64 oggSize = QFile(path("tone.ogg")).size();
    OggVorbis_File file{};
    ASSERT_EQ(ov_fopen(QFile::encodeName(path("tone.ogg")).constData(), &file), 0);
    const auto compressedSize = uint32_t(ov_raw_total(&file, 0));
    ov_clear(&file);
    EXPECT_EQ(progress.ranges, std::vector<uint32_t>{compressedSize});
    EXPECT_TRUE(progress.shown);
    ASSERT_FALSE(progress.positions.empty());
    EXPECT_GE(progress.positions.size(), size_t(wav.data.size() / 4096));
    EXPECT_TRUE(progress.positionsRise());
    EXPECT_EQ(progress.positions.back(), uint32_t(oggSize));
}

TEST_F(OggDecoderTest, MonoToneGivesAMonoWavAtTheStreamRate) {
    const int frames = MakeToneOgg(path("mono"), 22050, 1.5, 1000.0, {0.7}, 0);
    RecordingProgress progress;
    ASSERT_EQ(decode(path("mono.ogg"), path("mono.wav"), progress), uint32_t(OpSuccess));
    const DecodedWav wav = ReadDecodedWav(path("mono.wav"));
    ASSERT_TRUE(wav.valid);
    EXPECT_EQ(FormatHex(wav.format), FormatHex(MakePcmFormat(1, 22050, 16)));
    EXPECT_NEAR(wav.frames(), frames, 1);
    ExpectTone(wav, 0, 1000.0, 0.7);
}

TEST_F(OggDecoderTest, CancelGivesResultOneAndRemovesTheOutput) {
    MakeToneOgg(path("tone.ogg"), 44100, 1.0, 1000.0, {0.5, 0.5});
    RecordingProgress progress;
    progress.cancelAtCall = 2;
    EXPECT_EQ(decode(path("tone.ogg"), path("out.wav"), progress), uint32_t(OpCancelled));
    EXPECT_EQ(progress.positions.size(), 2u);
    EXPECT_FALSE(QFile::exists(path("out.wav")));
    EXPECT_TRUE(m_decoder.getErrorText().isEmpty());
    const QString trace = newTraceLines();
    EXPECT_TRUE(trace.contains(u" DBG: ogg decoding canceled\r\n"_s)) << trace.toStdString();
    EXPECT_FALSE(trace.contains(u"failed"_s)) << trace.toStdString();
}

TEST_F(OggDecoderTest, ChainedFileIsNotSupported) {
    MakeToneOgg(path("one.ogg"), 44100, 0.5, 1000.0, {0.5, 0.5});
    // The second stream starts in a later second, so it gets a serial number of its own.
    const std::time_t first = std::time(nullptr);
    while (std::time(nullptr) == first)
        QThread::msleep(20);
    MakeToneOgg(path("two.ogg"), 44100, 0.5, 500.0, {0.5, 0.5});
    WriteBytes(path("chained.ogg"), ReadBytes(path("one.ogg")) + ReadBytes(path("two.ogg")));

    RecordingProgress progress;
    EXPECT_EQ(decode(path("chained.ogg"), path("out.wav"), progress), uint32_t(OpNotSupported));
    EXPECT_EQ(m_decoder.getErrorText(), "Cannot open ogg files with multiple streams.");
    EXPECT_FALSE(QFile::exists(path("out.wav")));
    EXPECT_TRUE(newTraceLines().contains(QStringLiteral(
        " ERR: COggDecoder::decodeFile failed: cannot open ogg files with multiple streams\r\n")));
}

TEST_F(OggDecoderTest, InputThatIsNotVorbisOrMissingFailsWithoutOutput) {
    WriteBytes(path("noise.ogg"), RandomBytes(20000, 7));
    // An MP3 frame header followed by zeros.
    WriteBytes(path("frames.ogg"), QByteArray("\xFF\xFB\x90\x64", 4) + QByteArray(4000, '\0'));

    for (const char* name : {"noise.ogg", "frames.ogg"}) {
        RecordingProgress progress;
        EXPECT_EQ(decode(path(QString::fromLatin1(name)), path("out.wav"), progress),
                  uint32_t(OpFailed))
            << name;
        EXPECT_TRUE(m_decoder.getErrorText().isEmpty()) << name;
        EXPECT_FALSE(QFile::exists(path("out.wav"))) << name;
        EXPECT_FALSE(progress.shown) << name;
        EXPECT_TRUE(newTraceLines().contains(
            QStringLiteral(" ERR: COggDecoder::decodeFile failed: failed to open file as vorbis "
                           "file\r\n")))
            << name;
    }

    RecordingProgress progress;
    EXPECT_EQ(decode(path("absent.ogg"), path("out.wav"), progress), uint32_t(OpFailed));
    EXPECT_TRUE(m_decoder.getErrorText().isEmpty());
    EXPECT_FALSE(QFile::exists(path("out.wav")));
    EXPECT_TRUE(newTraceLines().contains(u" ERR: failed to open input file: %1; error = %2\n"_s.arg(
        path("absent.ogg"), QString::fromLocal8Bit(std::strerror(ENOENT)))));
}

TEST_F(OggDecoderTest, DamagedStreamsFailCleanlyOrDecodeWhatIsThere) {
    const int frames = MakeToneOgg(path("tone.ogg"), 44100, 10.0, 1000.0, {0.5, 0.5});
    const QByteArray whole = ReadBytes(path("tone.ogg"));

    // Cut short in the middle of a page: the audio up to the last whole page comes back.
    WriteBytes(path("short.ogg"), whole.left(whole.size() * 6 / 10 + 11));
    RecordingProgress progress;
    EXPECT_EQ(decode(path("short.ogg"), path("short.wav"), progress), uint32_t(OpSuccess));
    const DecodedWav shortWav = ReadDecodedWav(path("short.wav"));
    ASSERT_TRUE(shortWav.valid);
    EXPECT_GT(shortWav.frames(), uint32_t(frames * 4 / 10));
    EXPECT_LT(shortWav.frames(), uint32_t(frames * 6 / 10));
    ExpectTone(shortWav, 0, 1000.0, 0.5);

    // Cut inside the headers: not a Vorbis file any more.
    WriteBytes(path("stub.ogg"), whole.left(100));
    EXPECT_EQ(decode(path("stub.ogg"), path("stub.wav"), progress), uint32_t(OpFailed));
    EXPECT_FALSE(QFile::exists(path("stub.wav")));
    EXPECT_TRUE(newTraceLines().contains(QStringLiteral(
        " ERR: COggDecoder::decodeFile failed: failed to open file as vorbis file")));

    // Bytes flipped in the middle: the page fails its checksum and the stream has a hole.
    QByteArray broken = whole;
    for (qsizetype at = whole.size() / 2; at < whole.size() / 2 + 64; ++at)
        broken[at] = char(~broken[at]);
    WriteBytes(path("broken.ogg"), broken);
    EXPECT_EQ(decode(path("broken.ogg"), path("broken.wav"), progress), uint32_t(OpFailed));
    EXPECT_FALSE(QFile::exists(path("broken.wav")));
    EXPECT_TRUE(m_decoder.getErrorText().isEmpty());
    EXPECT_TRUE(newTraceLines().contains(
        u" ERR: COggDecoder::decodeFile failed: error reading ogg file\r\n"_s));
}

TEST_F(OggDecoderTest, StreamWithoutAudioGivesAnEmptyWav) {
    {
        EncoderParams params;
        params.mode = EncoderParams::kMono;
        params.sampleRate = 8000;
        COggFileEncoder encoder(path("silent.ogg"), params);
    }
    RecordingProgress progress;
    EXPECT_EQ(decode(path("silent.ogg"), path("silent.wav"), progress), uint32_t(OpSuccess));
    const DecodedWav wav = ReadDecodedWav(path("silent.wav"));
    ASSERT_TRUE(wav.valid);
    EXPECT_EQ(FormatHex(wav.format), FormatHex(MakePcmFormat(1, 8000, 16)));
    EXPECT_EQ(wav.data.size(), 0);
}

TEST_F(OggDecoderTest, OutputThatCannotBeWrittenGivesTheSystemErrorText) {
    MakeToneOgg(path("tone.ogg"), 44100, 1.0, 1000.0, {0.5, 0.5});
    RecordingProgress progress;
    EXPECT_EQ(decode(path("tone.ogg"), path("no/such/folder/out.wav"), progress),
              uint32_t(OpFailed));
    EXPECT_EQ(m_decoder.getErrorCode(), uint32_t(ENOENT));
    EXPECT_EQ(m_decoder.getErrorText(), IDecoder::systemErrorText(ENOENT));
    EXPECT_TRUE(newTraceLines().contains(
        u" ERR: COggDecoder::decodeFile failed: error creating dest wav file\r\n"_s));

    // A full disk: the output is refused while the header or the samples are written.
    ASSERT_TRUE(QFile::link(u"/dev/full"_s, path("full.wav")));
    COggDecoder decoder;
    EXPECT_EQ(decoder.decodeFile(path("tone.ogg"), path("full.wav"), &progress),
              uint32_t(OpFailed));
    EXPECT_EQ(decoder.getErrorCode(), uint32_t(ENOSPC));
    EXPECT_EQ(decoder.getErrorText(), IDecoder::systemErrorText(ENOSPC));
    EXPECT_FALSE(QFile::exists(path("full.wav")));
}

} // namespace
