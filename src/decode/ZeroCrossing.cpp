// Rising zero crossings of the work WAV near a time.
#include "decode/ZeroCrossing.h"

#include "app/OxaException.h"
#include "app/Trace.h"
#include "decode/WavReader.h"
#include "decode/WaveFormat.h"

#include <cstdlib>
#include <vector>

std::optional<qint64> FindRisingZeroCrossing(const QString& wavFile, qint64 t, qint64 reach) {
    try {
        CWavReader reader(wavFile);
        const CWaveFormat format = *reader.getFormat();
        const int bits = format.wBitsPerSample;
        if (format.wFormatTag != WAVE_FORMAT_PCM || (bits != 8 && bits != 16) ||
            format.nChannels < 1 || format.nChannels > 2 || format.nSamplesPerSec == 0) {
            Trace(TRACE_WARNING, "FindRisingZeroCrossing: %s is not 8/16-bit PCM", wavFile);
            return std::nullopt;
        }
        const int frameBytes = int(format.frameSize());
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
            // The sign of the channels' mean is the sign of their sum.
            if (!(format.getAverageSampleValue(bytes.data(), uint32_t(i - 1)) < 0 &&
                  format.getAverageSampleValue(bytes.data(), uint32_t(i)) >= 0))
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
