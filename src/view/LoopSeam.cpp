#include "view/LoopSeam.h"

#include "app/OxaException.h"
#include "app/Trace.h"
#include "decode/WavReader.h"
#include "decode/WavWriter.h"
#include "encode/FadeGain.h"

#include <QFile>
#include <vector>

namespace {
constexpr int64_t kSeamBlock = 65536; // bytes read and written per step

// Copies the data from from to from + length (ms) into writer, with the fades and gain of the
// ringtone whose data starts at file position cutStart.
bool CopySide(CWavReader& reader, CWavWriter& writer, qint64 from, qint64 length,
              const CCutInfo& cut, int64_t cutStart, double gain) {
    const int64_t end = reader.seek(from + length);
    const int64_t begin = reader.seek(from);
    if (begin < 0 || end < begin)
        return false;
    const WAVEFORMATEX& format = *reader.getFormat();
    std::vector<uint8_t> buffer(kSeamBlock);
    for (int64_t done = 0; done < end - begin;) {
        const int64_t want = std::min<int64_t>(kSeamBlock, end - begin - done);
        const int64_t got = reader.read(buffer.data(), want);
        if (got <= 0)
            return false;
        applyFades(buffer.data(), uint32_t(got), cut.start(), uint64_t(begin - cutStart + done),
                   cut, format, gain);
        if (!writer.write(buffer.data(), uint32_t(got)))
            return false;
        done += got;
    }
    return true;
}
} // namespace

bool MakeLoopSeamWav(const QString& wavFile, const CCutInfo& cut, const QString& outFile,
                     double gain) {
    bool written = false;
    try {
        CWavReader reader(wavFile);
        const WAVEFORMATEX format = *reader.getFormat();
        CWavWriter writer;
        if (!cut.isValid())
            Trace(TRACE_WARNING, "MakeLoopSeamWav: no selection");
        else if (format.wFormatTag != WAVE_FORMAT_PCM || format.wBitsPerSample != 16)
            Trace(TRACE_WARNING, "MakeLoopSeamWav: %s is not 16-bit PCM", wavFile);
        else if (writer.create(outFile, format)) {
            const qint64 side = CLoopSeam::sideLength(cut);
            const int64_t cutStart = reader.seek(cut.start());
            written = CopySide(reader, writer, cut.end() - side, side, cut, cutStart, gain) &&
                      CopySide(reader, writer, cut.start(), side, cut, cutStart, gain);
            written = writer.close() && written;
            if (!written)
                Trace(TRACE_ERROR, "MakeLoopSeamWav: writing %s failed", outFile);
        }
    } catch (const COxaException& e) {
        TraceException(e, TRACE_ERROR, "MakeLoopSeamWav: cannot read %s", wavFile);
    }
    if (!written)
        QFile::remove(outFile);
    return written;
}
