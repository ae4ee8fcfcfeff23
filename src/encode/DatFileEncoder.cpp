// Writes the visualization file.
#include "encode/DatFileEncoder.h"

#include "app/OxaException.h"
#include "app/StringIds.h"
#include "app/Trace.h"
#include "util/SystemError.h"

#include <vector>

CDatFileEncoder::CDatFileEncoder(const QString& fileName, const WAVEFORMATEX* format) {
    if (!format)
        throw COxaEncoderException(StringId{IDS_DAT_NO_FORMAT});
    m_format = *format;
    m_position = 0;
    m_step = m_format.nSamplesPerSec / 100;
    open(fileName);
}

CDatFileEncoder::~CDatFileEncoder() {
    closeFile(m_handle);
}

void CDatFileEncoder::open(const QString& fileName) {
    if (fileName.isEmpty())
        throw COxaEncoderException(StringId{IDS_DAT_NO_FILE_NAME});
    m_fileName = fileName + QStringLiteral(".dat");
    m_handle = createFile(m_fileName);
    if (m_handle < 0) {
        Trace(TRACE_ERROR, "Error creating DAT file %s, error: %s", m_fileName,
              SystemErrorText(int(m_errorCode)));
        throw COxaEncoderException(FormatUserText(IDS_DAT_CANNOT_CREATE, m_fileName));
    }
}

void CDatFileEncoder::encode(const void* data, uint32_t bytes) {
    if (m_handle < 0)
        throw COxaEncoderException(StringId{IDS_DAT_INVALID_STATE});
    const uint32_t frameSize = uint32_t(m_format.nChannels) * 2;
    const uint32_t frames = frameSize > 0 ? bytes / frameSize : 0;
    // Rates below 100 Hz are never given; one value per frame keeps the loop finite for them.
    const uint32_t step = m_step > 0 ? m_step : 1;
    const auto* pcm = static_cast<const uint8_t*>(data);
    std::vector<int8_t> values;
    values.reserve(frames / step + 1);
    while (m_position < frames) {
        const uint8_t* frame = pcm + size_t(m_position) * frameSize;
        if (m_format.nChannels >= 2)
            values.push_back(int8_t((int8_t(frame[1]) + int8_t(frame[3])) >> 1));
        else
            values.push_back(int8_t(frame[1]));
        m_position += step;
    }
    m_position -= frames;
    if (!values.empty())
        writeToFile(m_handle, values.data(), uint32_t(values.size()), true);
}

void CDatFileEncoder::switchFile(const QString& fileName) {
    if (m_handle < 0)
        throw COxaEncoderException(StringId{IDS_DAT_INVALID_STATE});
    closeFile(m_handle);
    open(fileName);
}
