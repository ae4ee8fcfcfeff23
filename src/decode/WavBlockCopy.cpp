// The block loop of the whole-file steps, and the conversion of 8-bit PCM.
#include "decode/WavBlockCopy.h"

#include "app/IOpProgress.h"
#include "app/OpResult.h"
#include "app/OxaException.h"
#include "app/StringIds.h"
#include "app/Trace.h"
#include "decode/WavReader.h"
#include "decode/WavWriter.h"
#include "util/SystemError.h"

#include <QFile>
#include <algorithm>
#include <new>
#include <vector>

int CWavBlockCopy::run(CWavReader& reader, IOpProgress& progress, UserText& errorText) {
    std::vector<uint8_t> buffer;
    try {
        reserve();
        buffer.resize(size_t(kBlockBytes));
    } catch (const std::bad_alloc&) {
        Trace(TRACE_ERROR, "%s: out of memory", m_step.name);
        return OpFailed;
    }
    progress.SetTextId(m_step.textId);
    progress.SetRange(uint32_t(reader.getDataSize()));
    progress.Show(true);

    int result = OpSuccess;
    try {
        begin(*reader.getFormat());
        int64_t remaining = reader.getDataSize();
        while (remaining > 0) {
            if (progress.IsCanceled()) {
                Trace(TRACE_DEBUG, "%s canceled", m_step.name);
                result = OpCancelled;
                break;
            }
            const int64_t got = readBlock(reader, buffer.data(), std::min(remaining, kBlockBytes));
            if (got < 0) {
                result = OpFailed;
                break;
            }
            if (got == 0)
                break;
            if (!consume(buffer.data(), uint32_t(got), errorText)) {
                result = OpFailed;
                break;
            }
            remaining -= got;
            progress.Step(uint32_t(got));
        }
    } catch (const COxaException& e) {
        Trace(TRACE_ERROR, "error %s: %s", m_step.doing, e.traceMessage());
        errorText = e.text();
        result = OpFailed;
    }
    result = finish(result, errorText);
    if (result != OpSuccess)
        QFile::remove(m_step.destination);
    return result;
}

int64_t CWavBlockCopy::readBlock(CWavReader& reader, uint8_t* buffer, int64_t bytes) {
    if (!m_step.quietReadErrors) {
        const int64_t got = reader.read(buffer, bytes);
        if (got < 0)
            throw COxaException(StringId{IDS_WAV_READ_ERROR});
        return got;
    }
    int64_t got = -1;
    try {
        got = reader.read(buffer, bytes);
    } catch (const COxaException&) {
        got = -1;
    }
    if (got < 0)
        Trace(TRACE_ERROR, "%s: error reading from wav file", m_step.name);
    return got;
}

namespace {

// 8-bit unsigned PCM into 16-bit signed PCM of the same channels and rate.
class CEightBitConversion : public CWavBlockCopy {
public:
    explicit CEightBitConversion(const QString& destination)
        : CWavBlockCopy(
              {"convertWavFrom8Bit", "converting wav file", IDS_CONVERTING, true, destination}),
          m_destination(destination) {}

private:
    void reserve() override { m_output.resize(size_t(2 * kBlockBytes)); }

    void begin(const WAVEFORMATEX& source) override {
        const WAVEFORMATEX format = MakePcmFormat(source.nChannels, source.nSamplesPerSec, 16);
        if (!m_writer.create(m_destination, format))
            throw COxaException(StringId{IDS_WAV_CANNOT_CREATE_DESTINATION});
    }

    bool consume(const uint8_t* data, uint32_t bytes, UserText& errorText) override {
        for (uint32_t i = 0; i < bytes; ++i) {
            const uint16_t sample = uint16_t(int16_t((int(data[i]) - 128) * 256));
            m_output[2 * i] = uint8_t(sample);
            m_output[2 * i + 1] = uint8_t(sample >> 8);
        }
        if (m_writer.write(m_output.data(), 2 * bytes))
            return true;
        Trace(TRACE_ERROR, "convertWavFrom8Bit: error writing to wav file");
        errorText = UserText(SystemErrorText(int(m_writer.getErrorCode())));
        return false;
    }

    int finish(int result, UserText& errorText) override {
        if (!m_writer.close() && result == OpSuccess) {
            errorText = UserText(SystemErrorText(int(m_writer.getErrorCode())));
            return OpFailed;
        }
        return result;
    }

    QString m_destination;
    std::vector<uint8_t> m_output;
    CWavWriter m_writer;
};

} // namespace

int convertWavFrom8Bit(CWavReader& reader, const QString& destination, IOpProgress& progress,
                       UserText& errorText) {
    CEightBitConversion conversion(destination);
    return conversion.run(reader, progress, errorText);
}
