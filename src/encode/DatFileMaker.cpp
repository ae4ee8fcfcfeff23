// The visualization file of a whole WAV file.
#include "encode/DatFileMaker.h"

#include "app/StringIds.h"
#include "decode/WavBlockCopy.h"
#include "decode/WavReader.h"
#include "encode/DatFileEncoder.h"

#include <algorithm>
#include <memory>

namespace {

// Feeds the visualization encoder block by block and keeps the peak.
class CDatFileMaking : public CWavBlockCopy {
public:
    CDatFileMaking(const QString& base, int& peak)
        : CWavBlockCopy({"createDatFile", "creating dat file", IDS_CREATING_DAT, false,
                         base + QStringLiteral(".dat")}),
          m_base(base), m_peak(peak) {}

private:
    void begin(const WAVEFORMATEX& format) override {
        m_encoder = std::make_unique<CDatFileEncoder>(m_base, &format);
    }

    bool consume(const uint8_t* data, uint32_t bytes, UserText& errorText) override {
        (void)errorText;
        m_encoder->encode(data, bytes);
        m_peak = std::max(m_peak, blockPeak(data, bytes));
        return true;
    }

    int finish(int result, UserText& errorText) override {
        (void)errorText;
        m_encoder.reset(); // closes the file before a failed step removes it
        return result;
    }

    QString m_base;
    int& m_peak;
    std::unique_ptr<CDatFileEncoder> m_encoder;
};

} // namespace

int createDatFile(CWavReader& reader, const QString& base, IOpProgress& progress, int& peak,
                  UserText& errorText) {
    peak = 0;
    CDatFileMaking making(base, peak);
    return making.run(reader, progress, errorText);
}

int blockPeak(const void* data, uint32_t bytes) {
    const auto* p = static_cast<const uint8_t*>(data);
    int peak = 0;
    for (uint32_t i = 0; i + 1 < bytes; i += 2) {
        const int sample = int16_t(uint16_t(p[i] | p[i + 1] << 8));
        peak = std::max(peak, sample < 0 ? -sample : sample);
    }
    return peak;
}
