#include "DecodedTone.h"

#include "support/TestSupport.h"

#include <QtEndian>
#include <cmath>
#include <cstring>
#include <numbers>
#include <random>

namespace decodetest {

QString Fixture(const QString& name) {
    return QStringLiteral(QUILLET_TEST_DATA_DIR "/") + name;
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
    const QByteArray bytes = testsupport::ReadBytes(path);
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

bool RecordingProgress::positionsRise() const {
    for (size_t i = 1; i < positions.size(); ++i) {
        if (positions[i] < positions[i - 1])
            return false;
    }
    return true;
}

QByteArray RandomBytes(int count, uint32_t seed) {
    std::mt19937 generator(seed);
    QByteArray bytes(count, '\0');
    for (char& b : bytes)
        b = char(generator() & 0xFF);
    return bytes;
}

} // namespace decodetest
