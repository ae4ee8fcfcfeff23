#include "view/ZeroCrossing.h"

#include "app/OxaException.h"
#include "app/Trace.h"
#include "decode/WavReader.h"

#include <QtEndian>
#include <cstdlib>
#include <vector>

namespace {
// The signal of frame i of the window: the sum of its channels, centred on 0.
int FrameValue(const std::vector<uint8_t>& bytes, size_t i, const WAVEFORMATEX& format) {
    int sum = 0;
    for (int c = 0; c < format.nChannels; ++c) {
        if (format.wBitsPerSample == 8)
            sum += int(bytes[i * format.nChannels + c]) - 128;
        else
            sum += qFromLittleEndian<int16_t>(&bytes[(i * format.nChannels + c) * 2]);
    }
    return sum;
}
} // namespace

std::optional<qint64> FindRisingZeroCrossing(const QString& wavFile, qint64 t, qint64 reach) {
    try {
        CWavReader reader(wavFile);
        const WAVEFORMATEX format = *reader.getFormat();
        const int bits = format.wBitsPerSample;
        if (format.wFormatTag != WAVE_FORMAT_PCM || (bits != 8 && bits != 16) ||
            format.nChannels < 1 || format.nChannels > 2 || format.nSamplesPerSec == 0) {
            Trace(TRACE_WARNING, "FindRisingZeroCrossing: %s is not 8/16-bit PCM", wavFile);
            return std::nullopt;
        }
        const int frameBytes = bits / 8 * format.nChannels;
        // From the frame before the window's first millisecond to the frame after its last.
        const int64_t last = reader.seek(t + reach + 1);
        const int64_t first = reader.seek(std::max<qint64>(0, t - reach - 1));
        if (first < 0 || last <= first)
            return std::nullopt;
        std::vector<uint8_t> bytes(size_t(last - first) + frameBytes);
        const int64_t got = reader.read(bytes.data(), int64_t(bytes.size()));
        const int64_t dataEnd = int64_t(reader.getDataOffset()) + reader.getDataSize();
        const int64_t usable = std::min(got, dataEnd - first);
        const size_t frames = usable > 0 ? size_t(usable / frameBytes) : 0;
        const int64_t firstFrame = (first - reader.getDataOffset()) / frameBytes;

        std::optional<qint64> best;
        for (size_t i = 1; i < frames; ++i) {
            if (!(FrameValue(bytes, i - 1, format) < 0 && FrameValue(bytes, i, format) >= 0))
                continue;
            const int64_t frame = firstFrame + int64_t(i);
            const qint64 ms = (frame * 1000 + format.nSamplesPerSec - 1) / format.nSamplesPerSec;
            if (std::abs(ms - t) <= reach && (!best || std::abs(ms - t) < std::abs(*best - t)))
                best = ms;
        }
        return best;
    } catch (const COxaException& e) {
        TraceException(e, TRACE_WARNING, "FindRisingZeroCrossing: cannot read %s", wavFile);
        return std::nullopt;
    }
}
