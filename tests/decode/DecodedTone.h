// Test helpers for decoders: the decoded WAV file, tone measurements and a recording progress.
#pragma once

#include "util/WinTypes.h"
#include "workflow/IOpProgress.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
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

// Bytes that a fixed seed makes, the same on every run.
QByteArray RandomBytes(int count, uint32_t seed);

} // namespace decodetest
