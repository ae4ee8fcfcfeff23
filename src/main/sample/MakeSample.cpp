// quillet-make-sample: writes the bundled sample, a short plucked-guitar piece, as a WAV file.
#include "decode/WavWriter.h"

#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <vector>

namespace {
constexpr uint32_t kRate = 44100;
constexpr double kPi = 3.14159265358979323846;
constexpr double kBeat = 0.3; // seconds per eighth note (100 beats per minute)

// A deterministic noise source, so every build makes the same sample.
class CNoise {
public:
    double next() {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return double(m_state >> 11) / double(1ULL << 53) * 2.0 - 1.0;
    }

private:
    uint64_t m_state = 0x5EED;
};

double NoteFrequency(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

// Adds a plucked string (Karplus-Strong) of the given note at time `at` to one channel pair.
void Pluck(std::vector<double>& left, std::vector<double>& right, double at, int midi, double level,
           double pan, CNoise& noise) {
    const auto period = size_t(std::lround(kRate / NoteFrequency(midi)));
    std::deque<double> line;
    for (size_t i = 0; i < period; ++i)
        line.push_back(noise.next());
    // Without its mean the burst carries no offset into the string's long ring.
    double mean = 0;
    for (double v : line)
        mean += v / double(period);
    for (double& v : line)
        v -= mean;
    const size_t begin = size_t(at * kRate);
    const size_t length = std::min(left.size() - begin, size_t(2.5 * kRate));
    for (size_t i = 0; i < length; ++i) {
        const double out = line.front();
        line.pop_front();
        line.push_back(0.996 * 0.5 * (out + line.front()));
        left[begin + i] += out * level * (1.0 - pan);
        right[begin + i] += out * level * pan;
    }
}

// Adds a soft bass note (a decaying sine with its octave) in the middle of the stereo image.
void Bass(std::vector<double>& left, std::vector<double>& right, double at, double seconds,
          int midi) {
    const double f = NoteFrequency(midi);
    const size_t begin = size_t(at * kRate);
    const size_t length = std::min(left.size() - begin, size_t(seconds * kRate));
    for (size_t i = 0; i < length; ++i) {
        const double t = double(i) / kRate;
        const double envelope = std::min(1.0, t * 200.0) * std::exp(-2.5 * t);
        const double v =
            envelope * (0.8 * std::sin(2 * kPi * f * t) + 0.2 * std::sin(4 * kPi * f * t));
        left[begin + i] += 0.35 * v;
        right[begin + i] += 0.35 * v;
    }
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillet-make-sample OUT.wav\n");
        return 2;
    }
    // C, G, A minor, F, twice: an arpeggio of eighth notes over a bass note per half bar.
    const int chords[][4] = {
        {48, 60, 64, 67}, {43, 59, 62, 67}, {45, 60, 64, 69}, {41, 60, 65, 69}};
    const int arpeggio[] = {1, 2, 3, 2, 1, 2, 3, 2};
    const double barSeconds = 8 * kBeat;
    const size_t frames = size_t((8 * barSeconds + 2.5) * kRate);
    std::vector<double> left(frames), right(frames);
    CNoise noise;
    for (int bar = 0; bar < 8; ++bar) {
        const int* chord = chords[bar % 4];
        const double at = bar * barSeconds;
        Bass(left, right, at, barSeconds / 2, chord[0]);
        Bass(left, right, at + barSeconds / 2, barSeconds / 2, chord[0]);
        for (int step = 0; step < 8; ++step) {
            const int note = chord[arpeggio[step]] + (bar >= 4 && step == 4 ? 12 : 0);
            Pluck(left, right, at + step * kBeat, note, 0.5, 0.35 + 0.3 * (step % 2), noise);
        }
    }
    double peak = 0;
    for (size_t i = 0; i < frames; ++i)
        peak = std::max({peak, std::abs(left[i]), std::abs(right[i])});

    const WAVEFORMATEX format = MakePcmFormat(2, kRate, 16);
    CWavWriter writer;
    if (!writer.create(QString::fromLocal8Bit(argv[1]), format)) {
        std::fprintf(stderr, "quillet-make-sample: %s\n",
                     writer.getError().toLocal8Bit().constData());
        return 2;
    }
    const double scale = 0.7 * 32767.0 / peak; // about 3 dB below full scale
    std::vector<int16_t> block;
    block.reserve(2 * 4096);
    for (size_t i = 0; i < frames; ++i) {
        block.push_back(int16_t(std::lround(left[i] * scale)));
        block.push_back(int16_t(std::lround(right[i] * scale)));
        if (block.size() == block.capacity() || i + 1 == frames) {
            if (!writer.write(block.data(), uint32_t(block.size() * sizeof(int16_t)))) {
                std::fprintf(stderr, "quillet-make-sample: %s\n",
                             writer.getError().toLocal8Bit().constData());
                writer.close();
                std::remove(argv[1]);
                return 2;
            }
            block.clear();
        }
    }
    writer.close();
    return 0;
}
