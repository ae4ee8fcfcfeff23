// quillet-cli make in every format and with loudness normalization, measured as a player would:
// decoded by ffmpeg, probed by ffprobe, measured by libebur128.
#include "app/OxaException.h"
#include "encode/FfmpegRingtoneWriter.h"
#include "main/CliTestSupport.h"
#include "support/Tone.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <cmath>
#include <ebur128.h>

namespace {
using CliFormats = CliTest;

// The standard output of a tool of the system (ffmpeg, ffprobe).
QByteArray ToolOutput(const QString& tool, const QStringList& args) {
    QProcess process;
    process.start(tool, args);
    process.waitForFinished(60000);
    return process.readAllStandardOutput();
}

// The integrated loudness (LUFS) and true peak (dBTP) of a file as ffmpeg decodes it.
std::pair<double, double> Measure(const QString& path) {
    const QByteArray pcm = ToolOutput(
        "ffmpeg", {"-v", "error", "-i", path, "-f", "s16le", "-ac", "2", "-ar", "48000", "-"});
    ebur128_state* state = ebur128_init(2, 48000, EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK);
    ebur128_add_frames_short(state, reinterpret_cast<const short*>(pcm.constData()),
                             size_t(pcm.size() / 4));
    double loudness = 0, left = 0, right = 0;
    ebur128_loudness_global(state, &loudness);
    ebur128_true_peak(state, 0, &left);
    ebur128_true_peak(state, 1, &right);
    ebur128_destroy(&state);
    return {loudness, 20 * std::log10(std::max(left, right))};
}

// Uniform noise of the amplitude (of full scale) on every channel.
QByteArray NoisePcm(int frames, int channels, double amplitude) {
    const QByteArray random = RandomBytes(frames * channels * 2, 7);
    QByteArray pcm(random.size(), '\0');
    for (int i = 0; i + 1 < random.size(); i += 2) {
        const int16_t value = int16_t(uint8_t(random[i]) | uint8_t(random[i + 1]) << 8);
        const auto scaled = int16_t(value * amplitude);
        pcm[i] = char(scaled & 0xFF);
        pcm[i + 1] = char((scaled >> 8) & 0xFF);
    }
    return pcm;
}

WAVEFORMATEX Pcm16(int channels, int rate) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = uint16_t(channels);
    format.nSamplesPerSec = uint32_t(rate);
    format.wBitsPerSample = 16;
    format.nBlockAlign = uint16_t(2 * channels);
    format.nAvgBytesPerSec = uint32_t(2 * channels * rate);
    return format;
}
} // namespace

TEST_F(CliFormats, LoudnessModeHitsTheTargetUnderTheCeilingInEveryFormat) {
    constexpr int kRate = 44100, kFrames = 20 * kRate;
    // Clicks: full-scale single samples every 100 ms over a quiet tone, where the ceiling wins.
    QByteArray clicks = SinePcm(kRate, kFrames, 440, {0.01, 0.01});
    for (int frame = 0; frame < kFrames; frame += kRate / 10)
        clicks[frame * 4 + 1] = clicks[frame * 4 + 3] = char(0x7F);
    const struct {
        const char* name;
        QByteArray pcm;
        bool ceilingWins;
    } inputs[] = {{"quiettone", SinePcm(kRate, kFrames, 440, {0.02, 0.02}), false},
                  {"loudtone", SinePcm(kRate, kFrames, 1000, {0.9, 0.7}), false},
                  {"softnoise", NoisePcm(kFrames, 2, 0.03), false},
                  {"loudnoise", NoisePcm(kFrames, 2, 0.9), false},
                  {"clicks", clicks, true}};
    // The clicks' largest sample in the selection: no encoding's gain may clip it.
    const auto* samples = reinterpret_cast<const int16_t*>(clicks.constData());
    const int clickPeak = *std::max_element(samples + 2 * kRate, samples + 38 * kRate);
    for (const auto& input : inputs) {
        const QString wav = temp.filePath(QString::fromLatin1(input.name) + ".wav");
        WriteWav(wav, Pcm16(2, kRate), input.pcm);
        for (const char* format : {"ogg", "m4r", "mp3", "opus"}) {
            const QString out = temp.filePath(QString::fromLatin1(input.name) + "." + format);
            const QStringList log = {"--log-dir", temp.filePath(input.name), "--trace-level",
                                     "info"};
            const RunResult r =
                Run(log + QStringList{"make", wav, "-o", out, "--start", "0:01", "--end", "0:19",
                                      "--fade-in", "500", "--fade-out", "500", "--format", format,
                                      "--loudness", "-16"});
            ASSERT_EQ(r.exitCode, 0) << input.name << " " << format << ": " << r.err.toStdString();
            const auto [loudness, truePeak] = Measure(out);
            SCOPED_TRACE(std::string(input.name) + " " + format);
            EXPECT_LE(truePeak, -1.0);
            if (input.ceilingWins)
                EXPECT_LT(loudness, -16.5);
            else
                EXPECT_NEAR(loudness, -16.0, 0.5);
        }
    }
    const QString clickLog = Logs(temp.filePath("clicks")).join('\n');
    EXPECT_GE(clickLog.count("made at gain"), 4);
    for (const QRegularExpressionMatch& m :
         QRegularExpression("made at gain (\\S+):").globalMatch(clickLog))
        EXPECT_LE(m.captured(1).toDouble() * clickPeak, 32767.0) << "clipped";
    // The target of the settings when none is given; a target out of range is refused.
    ASSERT_EQ(Run({"settings", "TargetLoudness", "-20"}).exitCode, 0);
    const QString wav = temp.filePath("quiettone.wav"), out = temp.filePath("default.ogg");
    ASSERT_EQ(Run({"make", wav, "-o", out, "--loudness"}).exitCode, 0);
    EXPECT_NEAR(Measure(out).first, -20.0, 0.5);
    const RunResult refused = Run({"make", wav, "-o", out, "--force", "--loudness=3"});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err, "quillet-cli: Not a loudness (-70 to 0 LUFS): 3\n");
    EXPECT_EQ(Run({"settings", "NormalizationMode", "loud"}).err,
              "quillet-cli: NormalizationMode takes one of: peak, loudness.\n"
              "quillet-cli: The setting NormalizationMode was not changed.\n");

    // info measures the selection as it stands (stored as a setting: the loudness mode).
    ASSERT_EQ(Run({"settings", "NormalizationMode", "loudness"}).exitCode, 0);
    ASSERT_EQ(Run({"open", temp.filePath("loudtone.wav")}).exitCode, 0);
    const RunResult info = Run({"info"});
    const QRegularExpressionMatch line =
        QRegularExpression("Selection loudness: (\\S+) LUFS, true peak (\\S+) dBTP\n")
            .match(QString::fromUtf8(info.out));
    ASSERT_TRUE(line.hasMatch()) << info.out.toStdString();
    EXPECT_NEAR(line.captured(1).toDouble(), -1.8, 0.3); // 0.9 and 0.7 sines at 1 kHz
    EXPECT_NEAR(line.captured(2).toDouble(), -0.9, 0.1);
    const QString extracted = temp.filePath("extracted.ogg");
    ASSERT_EQ(Run({"extract", "-o", extracted}).exitCode, 0);
    EXPECT_NEAR(Measure(extracted).first, -20.0, 0.5);
}

TEST_F(CliFormats, EachFormatReadsBackWithItsCodecLayoutRateLengthAndTitle) {
    const struct {
        const char* format;
        const char* codec;
        const char* container;
        double frameSeconds; // one frame of the codec at the input's rate
    } formats[] = {{"ogg", "vorbis", "ogg", 2048.0 / 22050},
                   {"m4r", "aac", "mov,mp4,m4a,3gp,3g2,mj2", 1024.0 / 22050},
                   {"mp3", "mp3", "mp3", 1152.0 / 22050},
                   {"opus", "opus", "ogg", 0.02}};
    const QString wav = temp.filePath("Mono Song.wav");
    WriteWav(wav, Pcm16(1, 22050), SinePcm(22050, 30 * 22050, 440, {0.5}));
    for (const auto& f : formats) {
        SCOPED_TRACE(f.format);
        const QString out = temp.filePath(QStringLiteral("song.") + f.format);
        const RunResult r = Run({"make", wav, "-o", out, "--start", "0:02.5", "--end", "0:14",
                                 "--format", QString::fromLatin1(f.format).toUpper()});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QJsonObject probe =
            QJsonDocument::fromJson(ToolOutput("ffprobe", {"-v", "error", "-of", "json",
                                                           "-show_format", "-show_streams", out}))
                .object();
        const QJsonObject stream = probe["streams"][0].toObject();
        const QJsonObject container = probe["format"].toObject();
        EXPECT_EQ(stream["codec_name"].toString(), f.codec);
        EXPECT_EQ(container["format_name"].toString(), f.container);
        EXPECT_EQ(stream["channels"].toInt(), 1);
        // Opus always plays at 48 kHz.
        EXPECT_EQ(stream["sample_rate"].toString(), f.codec == QString("opus") ? "48000" : "22050");
        // The length as played (ffprobe's MP3 length holds the encoder's padding).
        const QByteArray played =
            ToolOutput("ffmpeg", {"-v", "error", "-i", out, "-f", "s16le", "-ac", "1", "-"});
        EXPECT_NEAR(played.size() / 2.0 / stream["sample_rate"].toString().toDouble(), 11.5,
                    f.frameSeconds);
        // The OGG Vorbis ringtone is saved as it is sent; Ogg keeps tags with the stream.
        if (f.codec != QString("vorbis")) {
            EXPECT_EQ(container["tags"]["title"].toString() + stream["tags"]["title"].toString(),
                      "MonoSong");
        }
    }
    const RunResult unknown = Run({"make", wav, "-o", temp.filePath("x.wav"), "--format", "wav"});
    EXPECT_EQ(unknown.err, "quillet-cli: Unknown format wav: use ogg, m4r, mp3 or opus.\n");
    // A folder that is not there fails the write (and puts nothing in the root folder).
    const QString lost = temp.filePath("missing/song.mp3");
    EXPECT_EQ(Run({"make", wav, "-o", lost, "--format", "mp3"}).err,
              "quillet-cli: Could not write " + lost.toUtf8() +
                  ": No such file or directory (2)\n");
    EXPECT_FALSE(QFileInfo::exists("/song.mp3"));

    // Ringtones of that kind hold 40 s at most: a longer one is refused and leaves no file.
    const QString m4r = temp.filePath("long.m4r");
    EXPECT_EQ(ThrownMessage([&] {
                  CFfmpegRingtoneWriter(m4r, RingtoneFormat::M4r, Pcm16(2, 44100), "t", 41000);
              }),
              "A ringtone in M4R can be at most 40 seconds long; this one has 41.0 seconds. "
              "(code 1)");
    EXPECT_FALSE(QFileInfo::exists(m4r));
}
