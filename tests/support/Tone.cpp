// Tones and sound files of the tests.
#include "support/Tone.h"

#include "decode/WavWriter.h"
#include "encode/OggFileEncoder.h"
#include "support/TestSupport.h"

#include <QtEndian>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <numbers>
#include <random>

namespace testsupport {

QString Fixture(const QString& name) {
    return QStringLiteral(QUILLET_TEST_DATA_DIR "/") + name;
}

QByteArray RandomBytes(int count, uint32_t seed) {
    std::mt19937 generator(seed);
    QByteArray bytes(count, '\0');
    for (char& b : bytes)
        b = char(generator() & 0xFF);
    return bytes;
}

QByteArray SinePcm(int rate, int frames, double frequency, const std::vector<double>& amplitudes) {
    QByteArray pcm(frames * int(amplitudes.size()) * 2, Qt::Uninitialized);
    char* out = pcm.data();
    for (int i = 0; i < frames; ++i) {
        const double phase = std::sin(2.0 * std::numbers::pi * frequency * i / rate);
        for (const double amplitude : amplitudes) {
            qToLittleEndian(int16_t(std::lround(amplitude * 32767.0 * phase)), out);
            out += 2;
        }
    }
    return pcm;
}

void WriteWav(const QString& path, const WAVEFORMATEX& format, const QByteArray& data) {
    CWavWriter writer;
    ASSERT_TRUE(writer.create(path, format)) << path.toStdString();
    ASSERT_TRUE(writer.write(data.constData(), uint32_t(data.size())));
    ASSERT_TRUE(writer.close());
}

void WriteToneWav(const QString& path, double seconds, uint16_t channels, uint32_t rate,
                  double amplitude) {
    WriteWav(path, MakePcmFormat(channels, rate, 16),
             SinePcm(int(rate), int(std::lround(seconds * rate)), 440,
                     std::vector<double>(channels, amplitude)));
}

void WriteOgg(const QString& path, const QByteArray& pcm, int channels, int rate, int quality) {
    EncoderParams params;
    params.mode = channels == 2 ? EncoderParams::kStereo : EncoderParams::kMono;
    params.sampleRate = uint32_t(rate);
    params.quality = quality;
    COggFileEncoder encoder(path, params);
    for (qsizetype done = 0; done < pcm.size(); done += 65536)
        encoder.encode(pcm.constData() + done,
                       uint32_t(std::min<qsizetype>(65536, pcm.size() - done)));
}

uint32_t DecodedWav::frames() const {
    return format.nBlockAlign ? uint32_t(data.size()) / format.nBlockAlign : 0;
}

double DecodedWav::seconds() const {
    return format.nSamplesPerSec ? double(frames()) / format.nSamplesPerSec : 0.0;
}

int16_t DecodedWav::sample(uint32_t frame, uint32_t channel) const {
    const char* p = data.constData() + size_t(frame) * format.nBlockAlign + channel * 2;
    return qFromLittleEndian<qint16>(p);
}

DecodedWav ReadDecodedWav(const QString& path) {
    DecodedWav wav;
    const QByteArray bytes = ReadBytes(path);
    if (bytes.size() < 44)
        return wav;
    const char* p = bytes.constData();
    const auto u32 = [p](int at) { return qFromLittleEndian<quint32>(p + at); };
    std::memcpy(&wav.format, p + 20, 16);
    const uint32_t dataSize = u32(40);
    wav.valid = std::memcmp(p, "RIFF", 4) == 0 && std::memcmp(p + 8, "WAVEfmt ", 8) == 0 &&
                u32(16) == 16 && std::memcmp(p + 36, "data", 4) == 0 &&
                u32(4) == uint32_t(bytes.size() - 8) &&
                dataSize + (dataSize & 1) == uint32_t(bytes.size() - 44);
    wav.data = bytes.mid(44, dataSize);
    return wav;
}

QByteArray FormatHex(const WAVEFORMATEX& format) {
    return QByteArray(reinterpret_cast<const char*>(&format), 16).toHex();
}

double ToneLevel(const DecodedWav& wav, uint32_t channel, double frequency, uint32_t first,
                 uint32_t count) {
    if (first + count > wav.frames() || channel >= wav.format.nChannels || count == 0)
        return -1.0;
    const double step = 2.0 * std::numbers::pi * frequency / wav.format.nSamplesPerSec;
    double re = 0.0;
    double im = 0.0;
    for (uint32_t n = 0; n < count; ++n) {
        const double x = wav.sample(first + n, channel) / 32768.0;
        re += x * std::cos(step * n);
        im -= x * std::sin(step * n);
    }
    return 2.0 * std::hypot(re, im) / count;
}

double ZeroCrossingFrequency(const DecodedWav& wav, uint32_t channel, uint32_t first,
                             uint32_t count) {
    if (first + count > wav.frames() || channel >= wav.format.nChannels || count == 0)
        return -1.0;
    int crossings = 0;
    for (uint32_t n = first + 1; n < first + count; ++n) {
        if (wav.sample(n - 1, channel) < 0 && wav.sample(n, channel) >= 0)
            ++crossings;
    }
    return crossings * double(wav.format.nSamplesPerSec) / count;
}

void ExpectTones(const DecodedWav& wav, const std::vector<ToneOf>& tones, uint32_t first,
                 uint32_t count, double levelTolerance) {
    ASSERT_TRUE(wav.valid);
    ASSERT_EQ(tones.size(), size_t(wav.format.nChannels));
    for (uint32_t c = 0; c < tones.size(); ++c) {
        SCOPED_TRACE(testing::Message() << "channel " << c);
        EXPECT_NEAR(ZeroCrossingFrequency(wav, c, first, count), tones[c].frequency, 5.0);
        EXPECT_NEAR(ToneLevel(wav, c, tones[c].frequency, first, count), tones[c].level,
                    levelTolerance);
        for (const ToneOf& other : tones) {
            if (other.frequency != tones[c].frequency) {
                EXPECT_LT(ToneLevel(wav, c, other.frequency, first, count), 0.01);
            }
        }
    }
}

namespace {
// A part of a song: a chord (frequencies in Hz, none: silence) at the amplitude for its seconds.
struct SongPart {
    double seconds;
    std::vector<double> frequencies;
    double amplitude;
};
} // namespace

std::vector<double> WriteChorusSong(const QString& path) {
    const SongPart silence{3, {}, 0}, intro{6, {220}, 0.02}, verse{12, {220, 261.6, 329.6}, 0.1},
        bridge{10, {293.7, 349.2, 440}, 0.3};
    // C, G, F and A minor.
    const std::vector<SongPart> chorus = {{3.5, {261.6, 329.6, 392}, 0.25},
                                          {3.5, {196, 246.9, 293.7}, 0.25},
                                          {3.5, {174.6, 220, 261.6}, 0.25},
                                          {3.5, {220, 261.6, 329.6}, 0.25}};
    std::vector<SongPart> song = {silence, intro, verse};
    song.insert(song.end(), chorus.begin(), chorus.end());
    song.push_back(verse);
    song.insert(song.end(), chorus.begin(), chorus.end());
    song.push_back(bridge);
    song.insert(song.end(), chorus.begin(), chorus.end());
    song.push_back(silence);
    QByteArray pcm;
    for (const SongPart& part : song) {
        const int frames = int(part.seconds * 22050);
        for (int i = 0; i < frames; ++i) {
            double value = 0;
            for (const double f : part.frequencies)
                value += part.amplitude * std::sin(2 * std::numbers::pi * f * i / 22050);
            const auto sample = int16_t(std::lround(value * 32767));
            for (int channel = 0; channel < 2; ++channel) {
                pcm.append(char(sample & 0xFF));
                pcm.append(char((sample >> 8) & 0xFF));
            }
        }
    }
    WriteWav(path, WAVEFORMATEX{WAVE_FORMAT_PCM, 2, 22050, 88200, 4, 16, 0}, pcm);
    return {21, 47, 71};
}

} // namespace testsupport
