// Test helpers for decoders: the decoded WAV file, tone measurements and a recording progress.
#pragma once

#include "app/IOpProgress.h"
#include "app/OpResult.h"
#include "util/WinTypes.h"

#include "support/TestSupport.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace decodetest {

// The path of a committed fixture in tests/data.
QString Fixture(const QString& name);

// A WAV file as the program's writer lays it out: a 44-byte header, then the samples.
struct DecodedWav {
    bool valid = false;               // header complete and its sizes agree with the file length
    alignas(4) WAVEFORMATEX format{}; // aligned, so its fields can be bound to references
    QByteArray data;

    uint32_t frames() const;
    double seconds() const;
    int16_t sample(uint32_t frame, uint32_t channel) const;
};
DecodedWav ReadDecodedWav(const QString& path);
// The 16 bytes of a format record as hex, to compare two records in one go.
QByteArray FormatHex(const WAVEFORMATEX& format);

// Amplitude of the frequency in one channel as a fraction of full scale (one DFT bin over count
// frames from first; count should hold whole periods).
double ToneLevel(const DecodedWav& wav, uint32_t channel, double frequency, uint32_t first,
                 uint32_t count);
// Frequency of one channel from its upward zero crossings over count frames from first; -1 when
// the window does not lie inside the data.
double ZeroCrossingFrequency(const DecodedWav& wav, uint32_t channel, uint32_t first,
                             uint32_t count);

// Records what a decoder reports and cancels on request.
class RecordingProgress : public IOpProgress {
public:
    // IsCanceled answers true from this call on (counting from 0); -1 never.
    int cancelAtCall = -1;
    int canceledCalls = 0;
    bool shown = false;
    std::vector<uint32_t> ranges;
    std::vector<uint32_t> positions;

    void SetRange(uint32_t total) override { ranges.push_back(total); }
    void SetPos(uint32_t done) override { positions.push_back(done); }
    void Show(bool show) override { shown = show; }
    bool IsCanceled() override { return cancelAtCall >= 0 && canceledCalls++ >= cancelAtCall; }
    bool positionsRise() const;
};

// 16-bit little-endian PCM of a sine tone; channel c gets the amplitude amplitudes[c] (of full
// scale).
inline QByteArray SinePcm(int rate, int frames, double frequency,
                          const std::vector<double>& amplitudes) {
    QByteArray pcm;
    for (int i = 0; i < frames; ++i) {
        const double phase = std::sin(2.0 * std::numbers::pi * frequency * i / rate);
        for (const double amplitude : amplitudes) {
            char bytes[2];
            qToLittleEndian(int16_t(std::lround(amplitude * 32767.0 * phase)), bytes);
            pcm.append(bytes, 2);
        }
    }
    return pcm;
}

// Bytes that a fixed seed makes, the same on every run.
QByteArray RandomBytes(int count, uint32_t seed);

// What one decoding run left behind: its result, its error text, its progress and the output.
struct Decoded {
    uint32_t result = 0;
    QString errorText;
    RecordingProgress progress;
    bool outputExists = false;
    DecodedWav wav;
};

// A test folder for the decoder D: inputs written into it, and runs that decode into out.wav.
template <class D> class DecoderFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }

    // Decodes input into out.wav, cancelling at the given progress call (-1 never).
    Decoded decode(const QString& input, int cancelAtCall = -1) {
        const QString output = path("out.wav");
        Decoded d;
        d.progress.cancelAtCall = cancelAtCall;
        D decoder;
        d.result = decoder.decodeFile(input, output, &d.progress);
        d.errorText = decoder.getErrorText();
        d.outputExists = QFile::exists(output);
        if (d.outputExists)
            d.wav = ReadDecodedWav(output);
        return d;
    }
    // Decodes input, which must succeed into a complete WAV file.
    Decoded decoded(const QString& input) {
        Decoded d = decode(input);
        EXPECT_EQ(d.result, uint32_t(OpSuccess)) << input.toStdString();
        EXPECT_TRUE(d.wav.valid) << input.toStdString();
        return d;
    }
    // An input file made of bytes in the test folder.
    QString make(const QString& name, const QByteArray& bytes) {
        testsupport::WriteBytes(path(name), bytes);
        return path(name);
    }
};

} // namespace decodetest
