// The visualization file of a whole WAV file.
#include "encode/DatFileMaker.h"

#include "app/StringIds.h"
#include "decode/WavBlockCopy.h"
#include "decode/WavReader.h"
#include "encode/DatFileEncoder.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstdlib>
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
    // The lowest and highest samples in lanes of a fixed width, which the compiler turns into
    // vector instructions; the few samples behind the last full lane group one by one.
    constexpr uint32_t kLanes = 16;
    const auto* p = static_cast<const uint8_t*>(data);
    const uint32_t count = bytes / 2;
    std::array<int16_t, kLanes> low{}, high{};
    uint32_t i = 0;
    for (; i + kLanes <= count; i += kLanes) {
        std::array<int16_t, kLanes> samples;
        qFromLittleEndian<int16_t>(p + size_t(i) * 2, kLanes, samples.data());
        for (uint32_t j = 0; j < kLanes; ++j) {
            low[j] = std::min(low[j], samples[j]);
            high[j] = std::max(high[j], samples[j]);
        }
    }
    int peak = 0;
    for (uint32_t j = 0; j < kLanes; ++j)
        peak = std::max({peak, int(high[j]), -int(low[j])});
    for (; i < count; ++i)
        peak = std::max(peak, std::abs(int(qFromLittleEndian<int16_t>(p + size_t(i) * 2))));
    return peak;
}
